#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform::springboard {

class DeviceState;

// Keeps the device's system state — the switches, the volume, the
// brightness and the battery — outside the home-screen process, as a phone's system does: in
// var/mobile/Library/tessra/state.plist of the device root, an XML property
// list replaced atomically (never through a link) after every change. The
// home screen reads it back when it starts, so a respring, a crash or a stop
// and start of the device keep what the user set. Every change of the device
// goes through its event log, whose observer this file takes while attached;
// the changes of one turn of the main loop are saved together.
// Owned by the host that attaches it; main thread only.
class DeviceStateFile {
 public:
  DeviceStateFile(DeviceState& device, std::filesystem::path root);
  ~DeviceStateFile();
  DeviceStateFile(const DeviceStateFile&) = delete;
  DeviceStateFile& operator=(const DeviceStateFile&) = delete;

  // The file in `root`.
  static std::filesystem::path file(const std::filesystem::path& root);

  // Puts the saved state into the device (its event log is then cleared: the device comes up as it was left)
  // and saves after every later change. A file that cannot be used is kept aside and reported; false then, and
  // the device keeps its defaults.
  bool attach(std::string* problem = nullptr);
  // Stops following the device (a pending save is made first).
  void detach();
  // Writes the device's state now when it differs from what was last written; false when it could not be.
  bool save();

  // The device's state as the file holds it.
  static plist::Value capture(DeviceState& device);
  // Applies a captured state; false (with `error` set, the device unchanged) when it is not one.
  static bool apply(DeviceState& device, const plist::Value& state, std::string* error);

 private:
  void scheduleSave();

  DeviceState& device_;
  std::filesystem::path root_;
  std::string written_;  // the bytes last written
  bool attached_ = false;
  bool saveScheduled_ = false;
  std::shared_ptr<int> aliveToken_ = std::make_shared<int>(0);  // a scheduled save does nothing once it is gone
};

}  // namespace platform::springboard
