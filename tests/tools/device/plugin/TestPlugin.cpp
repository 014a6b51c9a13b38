// A small plug-in for testing the SpringBoard host without the real one. It is
// built twice under two names; each copy, when loaded into a process named
// SpringBoard, writes through the device's debug client that it was loaded,
// and the first copy also hooks SpringBoard's frontmost-application question
// and reports every answer, so a test sees the load order and each time the
// home screen asks the question.
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/PluginLoader.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"

namespace {

using platform::id;
using platform::SEL;

platform::Ref<platform::Object> g_client;
id (*g_previousFrontMost)(id, SEL) = nullptr;

void debugLine(const std::string& message) {
  platform::msgSend<void, std::string>(g_client.get(), SELECTOR("logMessage:"), message);
}

id frontMost(id self, SEL sel) {
  id app = g_previousFrontMost ? g_previousFrontMost(self, sel) : nullptr;
  std::string name = app ? platform::msgSend<std::string>(app, SELECTOR("bundleIdentifier")) : "home screen";
  debugLine(std::string(TEST_PLUGIN_NAME) + " : front " + name);
  return app;
}

__attribute__((constructor)) void start() {
  if (platform::ProcessInfo::processName() != "SpringBoard") return;
  if (auto library = platform::DevicePaths::resolve("/usr/lib/KLDebugClient.dylib"))
    platform::PluginLoader::load(*library);
  platform::Class* cls = platform::objc_getClass("KLDebugClient");
  if (!cls) return;
  g_client = platform::msgSend<platform::Ref<platform::Object>, std::string>(cls, SELECTOR("clientWithIdentifier:"),
                                                                             "com.kelvane.tessra2");
  debugLine(std::string(TEST_PLUGIN_NAME) + " : loaded");
  if (TEST_PLUGIN_HOOKS)
    platform::MSHookMessageEx(platform::objc_getClass("SpringBoard"), SELECTOR("_accessibilityFrontMostApplication"),
                              &frontMost, &g_previousFrontMost);
}

}  // namespace
