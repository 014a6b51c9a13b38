// `tessra snapshot FILE.png [--scale N] [--version X.Y] [--kind phone|tablet] [--language CODE]`:
// draws the home screen of a fresh device (by default the default phone) as
// its screen shows it, and writes it as a PNG.
#include <iostream>
#include <memory>
#include <string>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/tessra/Command.h"

namespace tessra::cli {
namespace {

using namespace platform;

int runSnapshot(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  std::string file;
  double scale = 0;
  springboard::DeviceConfiguration config;
  springboard::DeviceScreen::Options options;
  const auto& args = invocation.args;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--scale" || arg == "--version" || arg == "--kind" || arg == "--language") {
      if (i + 1 >= args.size()) {
        err << "tessra snapshot: " << arg << " needs a value\n";
        return 2;
      }
      const std::string& value = args[++i];
      if (arg == "--scale") {
        if (value != "1" && value != "2" && value != "3") {
          err << "tessra snapshot: --scale must be 1, 2 or 3, not '" << value << "'\n";
          return 2;
        }
        scale = std::stod(value);
      } else if (arg == "--version") {
        if (!device::ScriptParser::isSupportedVersion(value)) {
          err << "tessra snapshot: --version expects a system version from 11.0 to 13.x, not '" << value << "'\n";
          return 2;
        }
        config.systemVersion = value;
      } else if (arg == "--kind") {
        if (value != "phone" && value != "tablet") {
          err << "tessra snapshot: --kind must be phone or tablet, not '" << value << "'\n";
          return 2;
        }
        config.kind = value == "tablet" ? springboard::DeviceKind::Tablet : springboard::DeviceKind::Phone;
      } else {
        options.language = value;
      }
    } else if (file.empty() && !arg.starts_with("--")) {
      file = arg;
    } else {
      err << "tessra snapshot: unexpected argument '" << arg << "'\n";
      return 2;
    }
  }
  if (file.empty()) {
    err << "tessra snapshot: name the PNG file to write\n";
    return 2;
  }

  ManualTaskEnvironment environment;
  auto& model = springboard::DeviceModel::shared();
  model.configure(std::move(config));
  springboard::DeviceScreen screen(model, std::move(options));
  environment.runUntilIdle();
  ViewRenderer::installSnapshotProvider(scale ? scale : screen.scale());
  auto image = screen.render(scale ? scale : screen.scale());
  std::string error;
  if (!ViewRenderer::writePng(*image, file, &error)) {
    err << "tessra snapshot: " << error << "\n";
    return 1;
  }
  *invocation.out << "wrote " << file << " (" << image->pixelWidth() << " x " << image->pixelHeight() << ")\n";
  return 0;
}

const CommandRegistration registration{
    {"snapshot",
     "FILE.png [--scale 1|2|3] [--version X.Y] [--kind phone|tablet] [--language CODE]: draws the home screen of a "
     "fresh device",
     runSnapshot}};

}  // namespace
}  // namespace tessra::cli
