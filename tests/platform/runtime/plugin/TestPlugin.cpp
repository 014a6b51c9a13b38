// A plug-in for the loader tests: when loaded it reports its name to the
// class "PluginProbe" that the test registered, and hooks the probe's
// "greeting" so that the answer shows which plug-ins are in the chain.
#include <string>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"

using namespace platform;

namespace {

std::string (*previousGreeting)(id, SEL) = nullptr;

std::string hookedGreeting(id self, SEL cmd) {
  std::string previous = previousGreeting ? previousGreeting(self, cmd) : "?";
  return previous + "+" TEST_PLUGIN_NAME;
}

__attribute__((constructor)) void pluginLoaded() {
  Class* probe = objc_getClass("PluginProbe");
  msgSend<void, std::string>(probe, SELECTOR("record:"), TEST_PLUGIN_NAME);
  MSHookMessageEx(probe, SELECTOR("greeting"), &hookedGreeting, &previousGreeting);
}

}  // namespace

extern "C" const char* testPluginName() { return TEST_PLUGIN_NAME; }
