// `tessra device show DIR [--scale N]`: a window on a running device's screen (see DeviceWindow).
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceScreenOptions.h"
#include "tools/tessra/DeviceWindow.h"

namespace tessra::cli {
namespace {

int runShow(const Invocation& invocation) {
  auto options = DeviceScreenOptions::parse(invocation, "device show", 0);
  if (!options) return 2;
  DeviceWindow window(options->root, options->scale > 0 ? options->scale : 1);
  return window.run(*invocation.err);
}

const CommandRegistration show{
    {"device show",
     "DIR [--scale N]: a window on the running device's screen (mouse: finger; H home, L lock, "
     "S Siri, F Spotlight, arrows volume, Space side button)",
     runShow}};

}  // namespace
}  // namespace tessra::cli
