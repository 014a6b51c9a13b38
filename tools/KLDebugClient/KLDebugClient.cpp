// The maker's debug-log library, as installed on the device at
// /usr/lib/KLDebugClient.dylib. Loading it registers the runtime class
// "KLDebugClient": `clientWithIdentifier:` makes a client, `configureWithOptions:`
// takes its options, and `logMessage:` appends one time-stamped line to
// var/log/KLDebug/<identifier>.log in the device root. Each line is also
// announced in-process ("KLDebugClientDidLogNotification", user info "line"),
// so a host can show it in its trace as it happens.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/runtime/Runtime.h"

namespace {

using platform::id;
using platform::SEL;

// One client: its identifier and the options it was configured with.
class DebugClient final : public platform::Object {
 public:
  std::string identifier;
  platform::plist::Value options;
};

std::mutex g_fileMutex;

// Lines are stamped in seconds since the library was loaded (the host's
// start), so the log reads like the host's own trace.
platform::TimePoint& loadTime() {
  static platform::TimePoint t = platform::TaskEnvironment::current().clock().now();
  return t;
}

std::string stamp() {
  double t = platform::toSeconds(platform::TaskEnvironment::current().clock().now() - loadTime());
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "[%10.3f]", t);
  return buffer;
}

platform::Ref<platform::Object> clientWithIdentifier(id self, SEL, std::string identifier) {
  auto* cls = static_cast<platform::Class*>(self);
  platform::Ref<platform::Object> client = cls->createInstance();
  if (auto* debugClient = dynamic_cast<DebugClient*>(client.get())) debugClient->identifier = std::move(identifier);
  return client;
}

void configureWithOptions(id self, SEL, platform::plist::Value options) {
  if (auto* client = dynamic_cast<DebugClient*>(self)) client->options = std::move(options);
}

void logMessage(id self, SEL, std::string message) {
  auto* client = dynamic_cast<DebugClient*>(self);
  if (!client) return;
  std::string line = stamp() + " " + message;
  {
    std::lock_guard lock(g_fileMutex);
    // Opened beneath the device root, never through a link: a link planted in place of the log or its folder
    // must not make the client append to a file outside the device.
    const std::filesystem::path root = platform::DevicePaths::root();
    const std::filesystem::path dir = root / "var/log/KLDebug";
    std::string error;
    if (client->identifier.find('/') != std::string::npos || client->identifier.empty()) {
      error = "the identifier \"" + client->identifier + "\" cannot name a log file";
    } else if (platform::BeneathRoot::createFolders(root, dir, &error)) {
      platform::BeneathRoot::File file =
          platform::BeneathRoot::open(root, dir / (client->identifier + ".log"), O_WRONLY | O_CREAT | O_APPEND);
      const std::string text = line + '\n';
      if (!file.ok())
        error = file.error();
      else if (::write(file.fd(), text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        error = "cannot append to the debug log: " + std::string(std::strerror(errno));
    }
    if (!error.empty()) platform::Log::write("KLDebugClient: the line is not logged: " + error);
  }
  platform::plist::Dictionary info{{"line", platform::plist::Value(line)},
                                   {"message", platform::plist::Value(message)}};
  platform::NotificationCenter::defaultCenter().postNotification("KLDebugClientDidLogNotification", nullptr,
                                                                 platform::plist::Value(std::move(info)));
}

__attribute__((constructor)) void registerDebugClientClass() {
  loadTime();
  if (platform::objc_getClass("KLDebugClient")) return;
  platform::Class* cls = platform::Runtime::allocateClass<DebugClient>("KLDebugClient", platform::Runtime::rootClass());
  platform::class_addMethod(cls->metaclass(), platform::sel_registerName("clientWithIdentifier:"),
                            &clientWithIdentifier);
  platform::class_addMethod(cls, platform::sel_registerName("configureWithOptions:"), &configureWithOptions);
  platform::class_addMethod(cls, platform::sel_registerName("logMessage:"), &logMessage);
  platform::Runtime::registerClass(cls);
}

}  // namespace
