// The maker's debug-log library, as installed on the device at
// /usr/lib/KLDebugClient.dylib. Loading it registers the runtime class
// "KLDebugClient": `clientWithIdentifier:` makes a client, `configureWithOptions:`
// takes its options, and `logMessage:` appends one time-stamped line to
// var/log/KLDebug/<identifier>.log in the device root. Each line is also
// announced in-process ("KLDebugClientDidLogNotification", user info "line"),
// so a host can show it in its trace as it happens.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/foundation/DevicePaths.h"
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
    std::filesystem::path dir = platform::DevicePaths::root() / "var/log/KLDebug";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::ofstream out(dir / (client->identifier + ".log"), std::ios::app);
    out << line << '\n';
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
  platform::class_addMethod(cls->metaclass(), platform::sel_registerName("clientWithIdentifier:"), &clientWithIdentifier);
  platform::class_addMethod(cls, platform::sel_registerName("configureWithOptions:"), &configureWithOptions);
  platform::class_addMethod(cls, platform::sel_registerName("logMessage:"), &logMessage);
  platform::Runtime::registerClass(cls);
}

}  // namespace
