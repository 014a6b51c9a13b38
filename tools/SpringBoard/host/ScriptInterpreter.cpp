#include "tools/SpringBoard/host/ScriptInterpreter.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/SBAppLayout.h"
#include "platform/springboard/SBMainSwitcherViewController.h"
#include "platform/ui/UIApplication.h"
#include "tools/SpringBoard/host/AlertScreen.h"
#include "tools/SpringBoard/host/BehaviourCommands.h"
#include "tools/SpringBoard/host/DeviceStateReport.h"
#include "tools/SpringBoard/host/PanelCommands.h"
#include "tools/SpringBoard/host/ScreenCommands.h"
#include "tools/SpringBoard/host/SettingsCommandRunner.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::device {
namespace {

using platform::FSSwitchState;
using platform::plist::Dictionary;
using platform::plist::Value;
using Status = ScriptOutcome::Status;

ScriptOutcome done(std::string output = {}) { return {Status::Done, std::move(output)}; }
ScriptOutcome refused(std::string why) { return {Status::Refused, std::move(why)}; }
ScriptOutcome failed(std::string what) { return {Status::ExpectFailed, std::move(what)}; }

// The reason the switcher gives for an app the user swiped away.
constexpr long kSwitcherQuitReason = 1;

std::string fraction(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

const char* stateName(FSSwitchState state) {
  switch (state) {
    case FSSwitchState::On: return "on";
    case FSSwitchState::Off: return "off";
    default: return "indeterminate";
  }
}

// A level of the store: the percentage as the panel stores it, a fraction.
Value storedLevel(double percent) { return Value(percent / 100.0); }

}  // namespace

ScriptInterpreter::ScriptInterpreter(platform::springboard::DeviceModel& model, const ScriptVocabulary& vocabulary,
                                     AlertScreen* alerts, Waiter waiter)
    : model_(model),
      vocabulary_(vocabulary),
      alerts_(alerts),
      waiter_(std::move(waiter)),
      switches_(model),
      behaviours_(std::make_unique<BehaviourCommands>(model)) {
  panel_ = std::make_unique<PanelCommands>(
      [this](platform::UITouchPhase phase, platform::CGPoint p) {
        return screen_ ? screen_->touch(phase, p) : platform::UIApplication::sharedApplication().sendTouch(phase, p);
      },
      waiter_);
}

ScriptInterpreter::~ScriptInterpreter() = default;

void ScriptInterpreter::beginScript() { behaviours_->beginScript(); }

ScriptOutcome ScriptInterpreter::execute(const ScriptCommand& c) {
  switch (c.verb) {
    case ScriptVerb::Version:
    case ScriptVerb::Kind: return checkDeviceSetup(c);
    case ScriptVerb::App: return checkApp(c);
    case ScriptVerb::Switch: {
      int type = vocabulary_.switchType(c.name);
      auto state = static_cast<FSSwitchState>(c.switchState);
      if (state == FSSwitchState::Indeterminate && !DeviceSwitchAccess::hasIndeterminateState(type))
        return refused("switch: " + c.name + " is either on or off");
      if (!switches_.setState(type, state)) return refused("switch: " + c.name + " cannot be set on this device");
      return done();
    }
    case ScriptVerb::Volume: model_.state().audio().setVolume(static_cast<float>(c.number)); return done();
    case ScriptVerb::Brightness: model_.state().display().setBrightness(c.number, false); return done();
    case ScriptVerb::Battery:
      model_.state().battery().set(static_cast<int>(c.number), c.on ? platform::springboard::BatteryCharging::Yes
                                                                    : platform::springboard::BatteryCharging::No);
      return done();
    case ScriptVerb::Dark:
      switches_.setState(ToggleTypeDarkMode, c.on ? FSSwitchState::On : FSSwitchState::Off);
      return done();
    case ScriptVerb::MediaPlaying:
      if (!model_.state().apps().installedApp(c.name)) return refused("media: no app '" + c.name + "' is installed");
      model_.startPlaying(c.name);
      return done();
    case ScriptVerb::MediaStopped: model_.stopPlaying(); return done();
    case ScriptVerb::Customize: return customize(c);
    case ScriptVerb::Setting: return setting(c);
    case ScriptVerb::Open: return open(c);
    case ScriptVerb::Quit: return quit(c);
    case ScriptVerb::Home:
      if (model_.state().apps().locked()) return refused("home: the device is locked; unlock it first");
      model_.goHome();
      return done();
    case ScriptVerb::Siri:
      if (model_.state().apps().locked()) return refused("siri: the device is locked; unlock it first");
      c.on ? model_.showSiri() : model_.dismissSiri();
      return done();
    case ScriptVerb::Spotlight:
      if (model_.state().apps().locked()) return refused("spotlight: the device is locked; unlock it first");
      c.on ? model_.showSpotlight() : model_.dismissSpotlight();
      return done();
    case ScriptVerb::Lock: model_.lock(); return done();
    case ScriptVerb::Unlock: model_.unlock(); return done();
    case ScriptVerb::Wait:
      if (!waiter_) return refused("wait: time passes in the runner, not in the device");
      waiter_(platform::seconds(c.number));
      return done();
    case ScriptVerb::Answer: return answer(c);
    case ScriptVerb::Settings: return SettingsCommandRunner::execute(c, model_);
    case ScriptVerb::ExpectSwitch: return expectSwitch(c);
    case ScriptVerb::ExpectVolume: return expectLevel("volume", model_.state().audio().volume(), c.number);
    case ScriptVerb::ExpectBrightness:
      return expectLevel("brightness", model_.state().display().brightness(), c.number);
    case ScriptVerb::ExpectAlert: return expectAlert(c);
    case ScriptVerb::State: return done(DeviceStateReport::render(model_, vocabulary_, alerts_));
    case ScriptVerb::PanelTap: return panel_->execute(c);
    case ScriptVerb::PanelSegment: return panel_->execute(c);
    case ScriptVerb::PanelScroll: return panel_->execute(c);
    case ScriptVerb::PanelSlider: return panel_->execute(c);
    case ScriptVerb::PanelDismiss: return panel_->execute(c);
    case ScriptVerb::ExpectPanel: return panel_->execute(c);
    case ScriptVerb::ExpectRing: return panel_->execute(c);
    case ScriptVerb::ExpectBottom: return panel_->execute(c);
    case ScriptVerb::ExpectButton: return panel_->execute(c);
    case ScriptVerb::ExpectSlider: return panel_->execute(c);
    case ScriptVerb::ExpectStored: return panel_->execute(c);
    // Behaviours, buttons, banners, alerts and toasts.
    case ScriptVerb::ActivatorSetup:
    case ScriptVerb::ControlCenter:
    case ScriptVerb::NotificationCenter:
    case ScriptVerb::Reachability:
    case ScriptVerb::Button:
    case ScriptVerb::Buttons:
    case ScriptVerb::Activator:
    case ScriptVerb::Banner:
    case ScriptVerb::SystemAlert:
    case ScriptVerb::ExpectToast:
    case ScriptVerb::ExpectToasts:
    case ScriptVerb::ExpectBanner:
    case ScriptVerb::ExpectSystemAlert:
    case ScriptVerb::ExpectOverlay:
    case ScriptVerb::ExpectHomePressed: return behaviours_->execute(c);
    case ScriptVerb::Orientation: return behaviours_->execute(c);
    default:
      if (ScreenCommands::handles(c.verb)) return screen_ ? screen_->execute(c) : refused("this device has no screen");
  }
  return refused("unknown command");
}

ScriptOutcome ScriptInterpreter::checkDeviceSetup(const ScriptCommand& c) {
  const auto& config = model_.state().configuration();
  bool tablet = config.kind == platform::springboard::DeviceKind::Tablet;
  if (c.verb == ScriptVerb::Version && c.name != config.systemVersion)
    return refused("version: this device runs " + config.systemVersion +
                   "; a version line only chooses the "
                   "system of a dry run's new device");
  if (c.verb == ScriptVerb::Kind && c.on != tablet)
    return refused(std::string("kind: this device is a ") + (tablet ? "tablet" : "phone") +
                   "; a kind line only chooses the kind of a dry run's new device");
  return done();
}

ScriptOutcome ScriptInterpreter::checkApp(const ScriptCommand& c) {
  // Apps are installed when the device is made (a dry run installs a script's apps into its new
  // device); on a running device the line only confirms that the app is there.
  if (!model_.state().apps().installedApp(c.name))
    return refused("app: " + c.name +
                   " is not installed on this running device; apps are installed when a "
                   "device is created");
  return done();
}

ScriptOutcome ScriptInterpreter::open(const ScriptCommand& c) {
  if (!model_.state().apps().installedApp(c.name)) return refused("open: no app '" + c.name + "' is installed");
  if (c.name == "com.apple.siri" || c.name == "com.apple.Spotlight")
    return refused("open: Siri and Spotlight come over an app with 'siri on' and 'spotlight on'");
  if (model_.state().apps().locked()) return refused("open: the device is locked; unlock it first");
  model_.openApp(c.name);
  return done();
}

ScriptOutcome ScriptInterpreter::quit(const ScriptCommand& c) {
  if (!model_.state().apps().installedApp(c.name)) return refused("quit: no app '" + c.name + "' is installed");
  if (model_.state().apps().locked()) return refused("quit: the device is locked; unlock it first");
  if (!model_.state().apps().isRunning(c.name)) return refused("quit: " + c.name + " is not running");
  // Swiped away in the switcher: through the switcher's own quit method of this system version, which a plug-in
  // may hook, with the app's layout as the switcher lists it.
  auto* switcher = platform::SBMainSwitcherViewController::sharedInstance();
  platform::Ref<platform::Object> layout;
  if (switcher)
    for (const auto& item : switcher->appLayouts())
      if (auto* appLayout = dynamic_cast<platform::SBAppLayout*>(item.get());
          appLayout && appLayout->primaryBundleIdentifier() == c.name)
        layout = item;
  if (!layout) return refused("quit: the switcher does not list " + c.name);
  switch (model_.state().profile().quitMethod()) {
    case platform::springboard::SwitcherQuitMethod::QuitAppsRepresentedByAppLayout:
      switcher->_quitAppsRepresentedByAppLayout(layout.get(), kSwitcherQuitReason);
      break;
    case platform::springboard::SwitcherQuitMethod::DeleteAppLayout:
      switcher->_deleteAppLayout(layout.get(), kSwitcherQuitReason);
      break;
    case platform::springboard::SwitcherQuitMethod::DeleteAppLayoutsMatchingBundleIdentifier:
      switcher->_deleteAppLayoutsMatchingBundleIdentifier(c.name);
      break;
  }
  // An app with a process of its own loses it with the app.
  SettingsCommandRunner::stopUnlessRunning(model_);
  if (model_.state().apps().isRunning(c.name)) return refused("quit: " + c.name + " is still running");
  return done();
}

ScriptOutcome ScriptInterpreter::customize(const ScriptCommand& c) {
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  Value stored = preferences.objectForKey(kCustomizedAppsKey);
  if (!stored.isNull() && !stored.isDictionary())
    return refused("customize: the stored \"customizedApps\" is not a dictionary (" + stored.describe() +
                   "); nothing was changed");
  Dictionary apps = stored.isDictionary() ? stored.dictionary() : Dictionary{};
  const Value* existing = apps.find(c.name);
  if (existing && !existing->isDictionary())
    return refused("customize: the stored entry of " + c.name + " is not a dictionary; nothing was changed");
  Dictionary entry = existing ? existing->dictionary() : Dictionary{};
  // A copy: the entry changes below, which may move what a pointer into it shows.
  std::optional<Value> storedToggles;
  if (const Value* toggles = entry.find(kTogglesKey)) storedToggles = *toggles;
  if (storedToggles && !storedToggles->isDictionary())
    return refused("customize: the stored toggles of " + c.name + " are not a dictionary; nothing was changed");

  // The panel writes a value by setting its key and "none" by removing it; an app gets an entry
  // only when something is set for it.
  bool setsSomething = false;
  for (auto [level, key] : {std::pair{&c.volume, kVolumeKey}, std::pair{&c.brightness, kBrightnessKey}}) {
    if (!*level) continue;
    if ((*level)->remove) {
      entry.remove(key);
    } else {
      entry.set(std::string(key), storedLevel((*level)->percent));
      setsSomething = true;
    }
  }
  if (!c.toggles.empty()) {
    Dictionary toggles = storedToggles ? storedToggles->dictionary() : Dictionary{};
    for (const auto& toggle : c.toggles) {
      if (toggle.state) {
        toggles.set(toggle.name, Value(*toggle.state));
        setsSomething = true;
      } else {
        toggles.remove(toggle.name);
      }
    }
    if (storedToggles || setsSomething) entry.set(std::string(kTogglesKey), Value(std::move(toggles)));
  }
  if (!existing && !setsSomething) return done();  // nothing to remove, and no entry to create
  apps.set(c.name, Value(std::move(entry)));
  if (!preferences.setObject(Value(std::move(apps)), std::string(kCustomizedAppsKey)))
    return refused("customize: the preference domain could not be written; nothing was changed");
  platform::DarwinNotificationCenter::shared().postNotification(std::string(kClearAppCustomizationCacheNotification));
  return done();
}

ScriptOutcome ScriptInterpreter::setting(const ScriptCommand& c) {
  const ScriptVocabulary::SettingRule* rule = vocabulary_.setting(c.name);
  if (!rule) return refused("setting: unknown setting key '" + c.name + "'");
  Value value = rule->type == ScriptVocabulary::SettingType::Bool ? Value(c.on) : Value(static_cast<int64_t>(c.number));
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  if (!preferences.setObject(value, c.name))
    return refused("setting: the preference domain could not be written; nothing was changed");
  platform::DarwinNotificationCenter::shared().postNotification(std::string(kReloadPrefsNotification));
  return done();
}

ScriptOutcome ScriptInterpreter::expectSwitch(const ScriptCommand& c) {
  auto state = switches_.state(vocabulary_.switchType(c.name));
  if (!state) return refused("expect: " + c.name + " cannot be read on this device");
  FSSwitchState wanted = c.on ? FSSwitchState::On : FSSwitchState::Off;
  if (*state == wanted) return done();
  return failed("expected " + c.name + " " + stateName(wanted) + ", found " + stateName(*state));
}

ScriptOutcome ScriptInterpreter::expectLevel(const char* what, double actual, double expected) {
  if (std::fabs(actual - expected) <= kTolerance) return done();
  return failed(std::string("expected ") + what + " " + fraction(expected) + ", found " + fraction(actual));
}

ScriptOutcome ScriptInterpreter::expectAlert(const ScriptCommand& c) {
  if (!alerts_) return refused("expect alert: this device shows no alerts");
  auto alert = alerts_->visibleAlert();
  if (c.on) {
    if (!alert) return done();
    return failed("expected no alert, found \"" + alert->message + "\"");
  }
  if (!alert) return failed("expected the alert \"" + c.value + "\", found none");
  if (alert->message != c.value)
    return failed("expected the alert \"" + c.value + "\", found \"" + alert->message + "\"");
  return done();
}

ScriptOutcome ScriptInterpreter::answer(const ScriptCommand& c) {
  if (SettingsCommandRunner::answersInSettings(model_)) return SettingsCommandRunner::answer(c.name);
  if (!alerts_) return refused("answer: this device shows no alerts");
  auto alert = alerts_->visibleAlert();
  if (!alert) return refused("answer: no alert is shown");
  if (!alerts_->tapButton(c.name)) {
    std::string buttons;
    for (const auto& button : alert->buttons) buttons += (buttons.empty() ? "\"" : ", \"") + button + "\"";
    return refused("answer: the alert \"" + alert->title + "\" has no button \"" + c.name + "\" (it has " + buttons +
                   ")");
  }
  return done();
}

}  // namespace tessra::device
