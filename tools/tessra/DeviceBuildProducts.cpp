#include "tools/tessra/DeviceBuildProducts.h"

#include <string>

namespace tessra::cli {
namespace {

std::optional<std::filesystem::path> ifExists(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return path;
  return std::nullopt;
}

}  // namespace

std::filesystem::path DeviceBuildProducts::binDirectory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::filesystem::path DeviceBuildProducts::libDirectory() { return binDirectory().parent_path() / "lib"; }

std::optional<std::filesystem::path> DeviceBuildProducts::springBoard() {
  return ifExists(binDirectory() / "SpringBoard");
}

std::optional<std::filesystem::path> DeviceBuildProducts::library(const std::string& fileName) {
  return ifExists(libDirectory() / fileName);
}

std::optional<std::filesystem::path> DeviceBuildProducts::deviceFiles() {
  return ifExists(binDirectory().parent_path() / "device-files");
}

}  // namespace tessra::cli
