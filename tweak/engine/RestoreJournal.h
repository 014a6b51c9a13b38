#pragma once

#include <optional>
#include <string>

#include "platform/foundation/PropertyList.h"

// What the engine will put back when the app in front leaves, kept on disk so
// that it outlives the home-screen process. When the engine applies an app's
// customization it first writes the values it replaces (the switches, the
// volume, the brightness) to /var/mobile/Library/Tessra2/RestoreJournal.plist
// of the device root, atomically and never through a link; when it restores
// them it clears the journal. A journal found at start-up was left by a home
// screen that ended (a crash, a kill, a respring) with an app's customization
// in force: it is replayed as the restore rules and settings say, then
// cleared. A journal that cannot be trusted is set aside, reported, and not
// replayed. Main thread only; stateless (the file is the state).
class RestoreJournal {
 public:
  // Where the journal lives, as a device path.
  static constexpr const char* kPath = "/var/mobile/Library/Tessra2/RestoreJournal.plist";

  // Records what restoring `bundleId` will put back; false (logged) when it could not be written.
  static bool record(const std::string& bundleId, std::optional<double> volumeBefore,
                     std::optional<double> brightnessBefore, const platform::plist::Dictionary& togglesBefore);
  // Removes the journal: the values it held are back.
  static void clear();
  // Replays and clears a journal left behind; true when one was replayed.
  static bool replayLeftover();
  // The journal as it is on disk (null when there is none or it cannot be read). For tests and tools.
  static platform::plist::Value current();
};
