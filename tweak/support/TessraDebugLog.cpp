#include "tweak/support/TessraDebugLog.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"

namespace {

platform::Ref<platform::Object>& client() {
  static auto* value = new platform::Ref<platform::Object>();
  return *value;
}

platform::Ref<platform::Object>& secondClient() {
  static auto* value = new platform::Ref<platform::Object>();
  return *value;
}

platform::plist::Value clientOptions() {
  using platform::plist::Value;
  return Value(platform::plist::Dictionary{
      {"tweakBundleId", Value("com.kelvane.tessra2")},
      {"mail", Value("tessra-bugs@kelvane.dev")},
      {"mailObject", Value("Tessra 2 Bugreport")},
      {"showToasts", Value(true)},
  });
}

}  // namespace

bool TessraDebugLog::serverInstalled() {
  auto path = platform::DevicePaths::resolve(kServerLibraryPath);
  std::error_code ec;
  return path && std::filesystem::exists(*path, ec);
}

platform::Ref<platform::Object> TessraDebugLog::makeClient(const char* identifier) {
  platform::Class* cls = platform::objc_getClass("KLDebugClient");
  if (!cls || !serverInstalled()) return nullptr;
  return platform::msgSend<platform::Ref<platform::Object>, std::string>(cls, SELECTOR("clientWithIdentifier:"),
                                                                         std::string(identifier));
}

void TessraDebugLog::setUp() {
  if (auto path = platform::DevicePaths::resolve(kClientLibraryPath)) dlopen(path->c_str(), RTLD_LAZY | RTLD_GLOBAL);
  client() = makeClient(kClientIdentifier);
  platform::msgSend<void, platform::plist::Value>(client(), SELECTOR("configureWithOptions:"), clientOptions());
  secondClient() = makeClient(kSecondClientIdentifier);
  platform::msgSend<void, platform::plist::Value>(secondClient(), SELECTOR("configureWithOptions:"), clientOptions());
}

void TessraDebugLog::log(const std::string& line) {
  if (!client() || !platform::objc_getClass("KLDebugClient") || !serverInstalled()) return;
  platform::msgSend<void, std::string>(client(), SELECTOR("logMessage:"), line);
}

void TessraDebugLog::logf(const char* format, ...) {
  if (!client()) return;
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  log(buffer);
}
