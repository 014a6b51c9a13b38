#include "tools/tessra/DeviceRootOption.h"

#include <filesystem>
#include <ostream>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/DeviceArguments.h"
#include "tweak/store/TessraKeys.h"

namespace tessra::cli {

bool useDeviceRoot(const Invocation& invocation, std::string_view command) {
  if (invocation.root.empty()) {
    *invocation.err << "tessra " << command << ": --root DIR (the device root) is required\n";
    return false;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(invocation.root, error)) {
    *invocation.err << "tessra " << command << ": the device root '" << invocation.root << "' is not a folder\n";
    return false;
  }
  if (!isDeviceRoot(invocation.root)) {
    *invocation.err << "tessra " << command << ": " << notADeviceMessage(invocation.root) << "\n";
    return false;
  }
  platform::DevicePaths::setRoot(invocation.root);
  platform::HBPreferences::reloadDomain(kPreferencesDomain);
  return true;
}

bool reportDamagedPreferences(const Invocation& invocation, std::string_view command, std::string_view consequence) {
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  const std::string problem = preferences.fileProblem();
  if (problem.empty()) return false;
  *invocation.err << "tessra " << command << ": the preferences file of the device could not be used (" << problem
                  << "); " << consequence << "\n";
  return true;
}

}  // namespace tessra::cli
