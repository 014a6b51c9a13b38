#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace platform {

class PreferenceDomain;

// A preferences object for one domain (Cephei's HBPreferences). Any number of
// objects may exist for a domain in one process; they share one in-memory copy
// of it, so all read the same values. The domain lives in the file
// var/mobile/Library/Preferences/<domain>.plist of the device root.
//
// A write is visible at once in this process and is on disk when setObject
// returns: under an exclusive lock the file is re-read, only this write's key
// is applied, and the result replaces the file atomically, so other processes'
// keys are never lost and a crash leaves either the old or the new file.
// Under a DeferredDurability of the writing thread the new file is in place
// when setObject returns and on disk when that scope completes.
// The Darwin notification "<domain>/ReloadPrefs" reloads the domain in every
// process: bound fields take the stored values (or their defaults) and change
// blocks run.
class HBPreferences {
 public:
  // initWithIdentifier: — the object for `identifier`.
  explicit HBPreferences(std::string identifier);
  ~HBPreferences();
  HBPreferences(const HBPreferences&) = delete;
  HBPreferences& operator=(const HBPreferences&) = delete;

  // The domain name.
  const std::string& identifier() const;

  // Binds `*field` to `key`: it holds the stored value, or `def` while the key is absent or not a number.
  void registerBool(bool* field, bool def, std::string key);
  // Binds an NSInteger field the same way.
  void registerInteger(int64_t* field, int64_t def, std::string key);
  // Runs `block` after every reload of the domain (on the thread that reloads).
  void registerPreferenceChangeBlock(std::function<void()> block);

  // The stored value, or null when absent.
  plist::Value objectForKey(std::string_view key) const;
  // objectForKeyedSubscript: — same as objectForKey.
  plist::Value operator[](std::string_view key) const { return objectForKey(key); }
  // The stored value read as BOOL; NO when absent.
  bool boolForKey(std::string_view key) const;

  // Stores `value` under `key` (null removes it), in memory and on disk; false when the disk write failed
  // (the old file is then intact and the failure is logged).
  bool setObject(plist::Value value, std::string key);
  // Changes `key` from the value the file holds now, under the domain's lock: `edit` gets that value (null when
  // absent) and returns the one to store (null removes). Returns the stored value afterwards, or nothing when it
  // could not be saved (logged; the file unchanged). For writers whose copy of a key may be older than the file.
  std::optional<plist::Value> updateObject(std::string key,
                                           const std::function<plist::Value(const plist::Value& stored)>& edit);
  // Makes sure every write of this process is on disk; false when one failed.
  bool synchronize();
  // Why the domain's file could not be used when last read (the domain then reads as empty, and the file is
  // kept aside at the next write unless it holds a value that cannot be kept); empty when it was read or there is none.
  // For tools that must not mistake a damaged file for an empty domain.
  std::string fileProblem() const;
  // Why the last save of the domain in this process failed; empty when it succeeded. For tools that tell the
  // user why nothing was written.
  std::string saveProblem() const;

  // Re-reads `identifier`'s file in this process: bound fields and change blocks follow (what ReloadPrefs does).
  static void reloadDomain(std::string_view identifier);

 private:
  std::shared_ptr<PreferenceDomain> domain_;
};

}  // namespace platform
