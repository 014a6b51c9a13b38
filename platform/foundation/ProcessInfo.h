#pragma once

#include <string>

namespace platform {

class ProcessInfoTestApi;

// The running process as the system sees it (NSProcessInfo): its name decides
// whether the plug-in starts ("SpringBoard") or stays passive.
class ProcessInfo {
 public:
  // The process name: the executable's file name unless a host or test set another.
  static std::string processName();

 private:
  friend class ProcessInfoTestApi;
  static void setProcessName(std::string name);
};

// Lets tests pretend to be another process.
class ProcessInfoTestApi {
 public:
  static void setProcessName(std::string name) { ProcessInfo::setProcessName(std::move(name)); }
};

}  // namespace platform
