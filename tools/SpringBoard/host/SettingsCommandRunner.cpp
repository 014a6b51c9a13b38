#include "tools/SpringBoard/host/SettingsCommandRunner.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIScreen.h"
#include "tools/SpringBoard/core/SettingsCommandParser.h"
#include "tools/SpringBoard/host/SettingsAppLink.h"

namespace tessra::device {

namespace {

using Status = ScriptOutcome::Status;
constexpr const char* kDomain = "com.kelvane.tessra2";

std::unique_ptr<SettingsAppLink>& linkSlot() {
  static auto* slot = new std::unique_ptr<SettingsAppLink>();
  return *slot;
}

ScriptOutcome outcomeOf(const std::pair<int, std::string>& result, const std::string& what) {
  switch (result.first) {
    case 0: return {Status::Done, ""};
    case 1: return {Status::ExpectFailed, what + ": " + result.second};
    default: return {Status::Refused, what + ": " + result.second};
  }
}

}  // namespace

SettingsAppLink& SettingsCommandRunner::link() {
  auto& slot = linkSlot();
  if (!slot) {
    bool dry = dynamic_cast<platform::ManualTaskEnvironment*>(&platform::TaskEnvironment::current()) != nullptr;
    // The app fills the device's screen.
    const platform::UIScreen& screen = platform::UIScreen::mainScreen();
    SettingsAppLink::Screen size{screen.bounds().size.width, screen.bounds().size.height, screen.scale()};
    slot = std::make_unique<SettingsAppLink>(dry ? SettingsAppLink::Mode::Dry : SettingsAppLink::Mode::Live,
                                             platform::DevicePaths::root(), size);
  }
  return *slot;
}

void SettingsCommandRunner::stop() { linkSlot().reset(); }

void SettingsCommandRunner::stopUnlessRunning(platform::springboard::DeviceModel& model) {
  if (linkSlot() && linkSlot()->isRunning() && !model.state().apps().isRunning(kSettingsApp)) linkSlot()->stop();
}

bool SettingsCommandRunner::answersInSettings(platform::springboard::DeviceModel& model) {
  return model.state().apps().frontApp() == kSettingsApp && linkSlot() && linkSlot()->isRunning();
}

ScriptOutcome SettingsCommandRunner::answer(const std::string& title) {
  return outcomeOf(link().execute("answer", {title}), "answer");
}

std::shared_ptr<platform::UIImage> SettingsCommandRunner::sceneContent(platform::springboard::DeviceModel& model,
                                                                       const std::string& bundleIdentifier) {
  if (bundleIdentifier != kSettingsApp || !answersInSettings(model)) return nullptr;
  if (linkSlot()->mode() == SettingsAppLink::Mode::Live) return linkSlot()->sceneImage();
  // A dry run's Settings app draws its screen when asked, at the device's size and scale.
  const platform::UIScreen& screen = platform::UIScreen::mainScreen();
  return settingsScreen(model, screen.bounds().size, screen.scale());
}

bool SettingsCommandRunner::sceneTouch(platform::springboard::DeviceModel& model, int phase, double x, double y) {
  if (!answersInSettings(model)) return false;
  if (linkSlot()->mode() == SettingsAppLink::Mode::Live) return linkSlot()->touchScene(phase, x, y);
  return linkSlot()->execute("touch", {std::to_string(phase), std::to_string(x), std::to_string(y)}).first == 0;
}

std::shared_ptr<platform::UIImage> SettingsCommandRunner::settingsScreen(platform::springboard::DeviceModel& model,
                                                                         platform::CGSize size, double scale) {
  if (!answersInSettings(model)) return nullptr;
  constexpr const char* kFrame = "/var/run/Preferences-frame.png";
  if (link().frame(kFrame, size.width, size.height, scale).first != 0) return nullptr;
  auto path = platform::DevicePaths::resolve(kFrame);
  return path ? platform::UIImage::imageWithContentsOfFile(path->string()) : nullptr;
}

ScriptOutcome SettingsCommandRunner::execute(const ScriptCommand& command, platform::springboard::DeviceModel& model) {
  if (command.name == "expect-setting") return expectSetting(command);
  std::string what =
      command.name == "settings" || command.name.starts_with("expect") ? command.text : "settings " + command.name;
  auto& apps = model.state().apps();
  if (command.name == "settings") {
    if (apps.locked()) return {Status::Refused, "settings: the device is locked; unlock it first"};
    // The app was quit since its process started: that process is gone on a phone.
    stopUnlessRunning(model);
    if (apps.frontApp() != kSettingsApp && !model.openApp(kSettingsApp))
      return {Status::Refused, "settings: the Settings app cannot be opened"};
    if (!link().start()) return {Status::Refused, "settings: the Settings app did not start"};
  } else if (apps.frontApp() != kSettingsApp || !link().isRunning()) {
    return {Status::Refused, what + ": the Settings app is not in front"};
  }
  return outcomeOf(link().execute(command.name, SettingsCommandParser::arguments(command)), what);
}

ScriptOutcome SettingsCommandRunner::expectSetting(const ScriptCommand& command) {
  auto args = SettingsCommandParser::arguments(command);
  if (args.size() != 2) return {Status::Refused, command.text + ": expected KEY VALUE"};
  auto path = platform::DevicePaths::resolve("/var/mobile/Library/Preferences/" + std::string(kDomain) + ".plist");
  auto read = path ? platform::plist::PropertyListFile::read(*path) : platform::plist::PropertyListFile::ReadResult{};
  platform::plist::Value value = read.ok() ? read.value[args[0]] : platform::plist::Value();
  const std::string& wanted = args[1];
  bool same = false;
  if (wanted == "none")
    same = value.isNull();
  else if (wanted == "on" || wanted == "true")
    same = value.isNumber() && value.boolValue();
  else if (wanted == "off" || wanted == "false")
    same = value.isNumber() && !value.boolValue();
  else
    same = value.isNumber() && std::fabs(value.doubleValue() - std::strtod(wanted.c_str(), nullptr)) < 1e-9;
  if (same) return {Status::Done, ""};
  return {Status::ExpectFailed,
          "expect setting: " + args[0] + " is " + (value.isNull() ? "not set" : value.describe())};
}

}  // namespace tessra::device
