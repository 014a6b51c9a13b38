// A plug-in for the loader tests: when loaded it reports its name to the
// class "PluginProbe" that the test registered, and hooks the probe's
// "greeting" so that the answer shows which plug-ins are in the chain.
#include <cstdint>
#include <string>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"

using namespace platform;

namespace {

// A note the library carries in its file: owner "Test", type 7, its name padded to 8 bytes.
struct NameNote {
  uint32_t nameSize = 5;
  uint32_t descriptionSize = 8;
  uint32_t type = 7;
  char name[8] = "Test";
  char description[8] = TEST_PLUGIN_NAME;
};
[[gnu::used, gnu::section(".note.test"), gnu::aligned(4)]] const NameNote kNameNote{};

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
