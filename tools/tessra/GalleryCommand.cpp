// `tessra gallery DIR [--scale N]`: pictures of the segmented control and the
// customization summary strip in the states that matter, with an index.html.
#include <iostream>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/ComponentGallery.h"
#include "tools/tessra/DeviceBuildProducts.h"
#include "tweak/support/BundleHelper.h"

namespace tessra::cli {
namespace {

int runGallery(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  std::string folder;
  double scale = 2;
  for (size_t i = 0; i < invocation.args.size(); ++i) {
    const std::string& arg = invocation.args[i];
    if (arg == "--scale") {
      if (i + 1 >= invocation.args.size()) {
        err << "tessra gallery: --scale needs 1, 2 or 3\n";
        return 2;
      }
      const std::string& value = invocation.args[++i];
      if (value != "1" && value != "2" && value != "3") {
        err << "tessra gallery: --scale must be 1, 2 or 3, not '" << value << "'\n";
        return 2;
      }
      scale = std::stod(value);
    } else if (folder.empty() && !arg.starts_with("--")) {
      folder = arg;
    } else {
      err << "tessra gallery: unexpected argument '" << arg << "'\n";
      return 2;
    }
  }
  if (folder.empty()) {
    err << "tessra gallery: name the folder to write the pictures into\n";
    return 2;
  }
  // The icons come from --root, else from the build's rendered device files.
  if (!invocation.root.empty()) {
    platform::DevicePaths::setRoot(invocation.root);
  } else if (!BundleHelper::getBundle()) {
    if (auto built = DeviceBuildProducts::deviceFiles()) platform::DevicePaths::setRoot(*built);
  }
  if (!BundleHelper::getBundle())
    err << "tessra gallery: no bundle images under " << platform::DevicePaths::root().string()
        << "; the strips show empty squares\n";

  ComponentGallery gallery(scale);
  if (!gallery.write(folder, err)) return 1;
  *invocation.out << "wrote " << gallery.pictures().size() << " pictures and index.html to " << folder << "\n";
  return 0;
}

const CommandRegistration registration{
    {"gallery", "DIR [--scale 1|2|3]: pictures of the segmented control and the summary strip, with index.html",
     runGallery}};

}  // namespace
}  // namespace tessra::cli
