#include "tools/tessra/DeviceInstaller.h"

#include <ostream>

#include "platform/foundation/PropertyListFile.h"
#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/tessra/DeviceBuildProducts.h"

namespace tessra::cli {
namespace {

namespace fs = std::filesystem;

// A word for /bin/sh in single quotes.
std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool copyInto(const fs::path& from, const fs::path& to, std::ostream& err) {
  std::error_code ec;
  fs::create_directories(to.parent_path(), ec);
  if (!ec) fs::copy(from, to, fs::copy_options::overwrite_existing | fs::copy_options::recursive, ec);
  if (ec) {
    err << "tessra device create: cannot copy " << from.string() << " to " << to.string() << ": " << ec.message()
        << "\n";
    return false;
  }
  return true;
}

}  // namespace

std::string DeviceInstaller::killallScript(const fs::path& root, const fs::path& tessra) {
  return "#!/bin/sh\n"
         "# killall of this device: restarts the device's home screen, never a process of the machine\n"
         "# it runs on. SpringBoard and backboardd restart SpringBoard; other names are not known here.\n"
         "root=" +
         shellQuoted(root.string()) +
         "\n"
         "tessra=" +
         shellQuoted(tessra.string()) +
         "\n"
         "status=0\n"
         "for name in \"$@\"; do\n"
         "  case \"$name\" in\n"
         "    -*) ;;\n"
         "    SpringBoard|backboardd) \"$tessra\" device restart \"$root\" || status=1 ;;\n"
         "    *) echo \"killall: no process named $name on this device\" >&2; status=1 ;;\n"
         "  esac\n"
         "done\n"
         "exit $status\n";
}

bool DeviceInstaller::create(const fs::path& root, const Options& options, std::ostream& err, std::ostream* notes) {
  std::error_code ec;
  if (fs::exists(root, ec) && !(fs::is_directory(root, ec) && fs::is_empty(root, ec))) {
    err << "tessra device create: " << root.string() << " exists and is not an empty folder; nothing was changed\n";
    return false;
  }
  if (!device::ScriptParser::isSupportedVersion(options.systemVersion)) {
    err << "tessra device create: unsupported system version '" << options.systemVersion << "' (11.x, 12.x or 13.x)\n";
    return false;
  }
  for (const char* folder :
       {"Library/MobileSubstrate/DynamicLibraries", "Library/Application Support", "Library/PreferenceBundles",
        "var/mobile/Library/Preferences", "var/log/KLDebug", "var/run", "usr/lib", "usr/bin"}) {
    fs::create_directories(root / folder, ec);
    if (ec) {
      err << "tessra device create: cannot create " << (root / folder).string() << ": " << ec.message() << "\n";
      return false;
    }
  }

  struct Library {
    const char* file;
    const char* place;
  };
  for (const Library& library : {Library{"Tessra2.dylib", "Library/MobileSubstrate/DynamicLibraries"},
                                 Library{"KLDebugServer.dylib", "Library/MobileSubstrate/DynamicLibraries"},
                                 Library{"KLDebugClient.dylib", "usr/lib"}}) {
    auto built = DeviceBuildProducts::library(library.file);
    if (!built) {
      if (notes) *notes << "note: " << library.file << " is not built; the device has none\n";
      continue;
    }
    if (!copyInto(*built, root / library.place / library.file, err)) return false;
  }
  if (auto files = DeviceBuildProducts::deviceFiles()) {
    if (!copyInto(*files, root, err)) return false;
  } else if (notes) {
    *notes << "note: no rendered device files in the build; the device has no bundle images\n";
  }

  std::vector<platform::springboard::InstalledApp> apps = device::DeviceFiles::defaultApps();
  for (const auto& extra : options.extraApps) {
    bool replaced = false;
    for (auto& app : apps)
      if (app.bundleIdentifier == extra.bundleIdentifier) {
        app = extra;
        replaced = true;
      }
    if (!replaced) apps.push_back(extra);
  }
  std::string error;
  fs::path absoluteRoot = fs::absolute(root, ec);
  if (!device::DeviceFiles::writeConfiguration(root, options.systemVersion, options.kind, &error, options.activator) ||
      !device::DeviceFiles::writeApps(root, apps, &error) ||
      !platform::plist::PropertyListFile::writeAtomically(
          root / "usr/bin/killall", killallScript(absoluteRoot, DeviceBuildProducts::binDirectory() / "tessra"),
          &error)) {
    err << "tessra device create: " << error << "\n";
    return false;
  }
  fs::permissions(root / "usr/bin/killall",
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                      fs::perms::others_exec,
                  ec);
  return true;
}

}  // namespace tessra::cli
