#include "tools/SpringBoard/host/DeviceStateReport.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/springboard/DeviceModel.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"
#include "tools/SpringBoard/host/AlertScreen.h"
#include "tools/SpringBoard/host/DeviceSwitchAccess.h"

namespace tessra::device {
namespace {

const char* yesNo(bool value) { return value ? "yes" : "no"; }

std::string twoDecimals(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

std::string DeviceStateReport::render(platform::springboard::DeviceModel& model, const ScriptVocabulary& vocabulary,
                                      AlertScreen* alerts) {
  std::ostringstream out;
  const auto& config = model.state().configuration();
  const auto& apps = model.state().apps();
  out << "device: " << (config.kind == platform::springboard::DeviceKind::Tablet ? "tablet" : "phone") << ", system "
      << config.systemVersion << "\n";
  if (apps.frontApp().empty()) {
    out << "front: home screen\n";
  } else {
    const auto* app = apps.installedApp(apps.frontApp());
    out << "front: " << apps.frontApp() << (app ? " (" + app->displayName + ")" : std::string()) << "\n";
  }
  out << "locked: " << yesNo(apps.locked()) << ", siri: " << yesNo(apps.siriVisible())
      << ", spotlight: " << yesNo(apps.spotlightVisible()) << "\n";
  out << "running:";
  if (apps.runningApps().empty()) out << " none";
  for (const auto& bundle : apps.runningApps()) out << " " << bundle;
  out << "\n";
  out << "volume: " << twoDecimals(model.state().audio().volume())
      << ", brightness: " << twoDecimals(model.state().display().brightness()) << "\n";
  out << "battery: " << model.state().battery().percent() << "%"
      << (model.state().battery().isCharging() ? " charging" : "") << "\n";
  out << "media: "
      << (model.state().audio().isPlaying() ? "playing " + model.state().audio().nowPlayingBundleIdentifier()
                                            : std::string("stopped"))
      << "\n";

  // Switches in the catalogue's order (by toggle type).
  std::vector<std::pair<int, std::string>> switches;
  for (const auto& [name, type] : vocabulary.switches()) switches.emplace_back(type, name);
  std::sort(switches.begin(), switches.end());
  DeviceSwitchAccess access(model);
  out << "switches:";
  for (const auto& [type, name] : switches) {
    auto state = access.state(type);
    if (!state) continue;
    out << " " << name << "="
        << (*state == platform::FSSwitchState::On    ? "on"
            : *state == platform::FSSwitchState::Off ? "off"
                                                     : "indeterminate");
  }
  out << "\n";

  std::optional<VisibleAlert> alert = alerts ? alerts->visibleAlert() : std::nullopt;
  if (!alert) {
    out << "alert: none\n";
  } else {
    out << "alert: \"" << alert->title << "\": \"" << alert->message << "\" [";
    for (size_t i = 0; i < alert->buttons.size(); ++i) out << (i ? ", " : "") << alert->buttons[i];
    out << "]\n";
  }
  return out.str();
}

}  // namespace tessra::device
