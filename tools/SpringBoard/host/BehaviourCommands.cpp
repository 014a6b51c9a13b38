#include "tools/SpringBoard/host/BehaviourCommands.h"

#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SystemAlerts.h"
#include "tools/SpringBoard/host/BannerIcon.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"

namespace tessra::device {
namespace {

using platform::springboard::PresentationState;
using Status = ScriptOutcome::Status;

constexpr const char* kHomeButtonEvent = "home button";

ScriptOutcome done() { return {Status::Done, {}}; }
ScriptOutcome refused(std::string why) { return {Status::Refused, std::move(why)}; }
ScriptOutcome failed(std::string what) { return {Status::ExpectFailed, std::move(what)}; }

std::string quotedOrNil(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "nil"; }

const char* shownOrHidden(bool shown) { return shown ? "shown" : "hidden"; }

ScriptOutcome expectPresentation(const char* what, PresentationState state, bool shown) {
  if (state == PresentationState::None) return failed(std::string("expected a ") + what + ", none was shown yet");
  const bool isShown = state == PresentationState::Shown;
  if (isShown == shown) return done();
  return failed(std::string("expected the last ") + what + " " + shownOrHidden(shown) + ", found it " +
                shownOrHidden(isShown));
}

}  // namespace

BehaviourCommands::BehaviourCommands(platform::springboard::DeviceModel& model)
    : model_(model),
      toasts_(model.state().eventLog()),
      homePressesBefore_(model.state().eventLog().count(kHomeButtonEvent)) {}

BehaviourCommands::~BehaviourCommands() = default;

void BehaviourCommands::beginScript() {
  homePressesBefore_ = model_.state().eventLog().count(kHomeButtonEvent);
  lastAttempt_.clear();
}

ScriptOutcome BehaviourCommands::execute(const ScriptCommand& c) {
  switch (c.verb) {
    case ScriptVerb::ActivatorSetup:
      if (c.on != model_.state().configuration().activatorInstalled)
        return refused(std::string("activator: Activator is ") + (c.on ? "absent" : "installed") +
                       " on this device; an activator line only chooses it for a dry run's new device");
      return done();
    case ScriptVerb::ControlCenter:
    case ScriptVerb::NotificationCenter:
    case ScriptVerb::Reachability: return pullDown(c);
    case ScriptVerb::Button:
    case ScriptVerb::Buttons: {
      std::vector<platform::springboard::ButtonPress> presses;
      for (const auto& [type, force] : c.presses) presses.push_back({type, force});
      model_.pressButtons(presses);
      return done();
    }
    case ScriptVerb::Activator:
      if (!model_.sendActivatorEvent(c.name)) return refused("activator: Activator is not installed on this device");
      return done();
    case ScriptVerb::Banner: {
      const platform::springboard::InstalledApp* sender = model_.state().apps().installedApp(c.name);
      if (!sender) return refused("banner: no app '" + c.name + "' is installed");
      platform::springboard::BannerRequest request{c.name, c.texts.at(0), c.texts.at(1), c.texts.at(2),
                                                   BannerIcon::imageFor(*sender)};
      if (!platform::springboard::NotificationBanners::post(std::move(request)))
        return refused("banner: this device shows no banners");
      return done();
    }
    case ScriptVerb::SystemAlert: {
      std::string error = platform::springboard::SystemAlerts::raise(c.name, c.texts.at(0), c.texts.at(1));
      if (!error.empty()) return refused("systemalert: " + error);
      return done();
    }
    case ScriptVerb::ExpectToast: return expectToast(c);
    case ScriptVerb::ExpectToasts:
      if (toasts_.count() == static_cast<size_t>(c.number)) return done();
      return failed("expected " + std::to_string(static_cast<size_t>(c.number)) + " toasts shown or waiting, found " +
                    std::to_string(toasts_.count()));
    case ScriptVerb::ExpectBanner:
      return expectPresentation("banner", platform::springboard::NotificationBanners::lastBanner(), c.on);
    case ScriptVerb::ExpectSystemAlert:
      return expectPresentation("system alert", platform::springboard::SystemAlerts::lastAlert(), c.on);
    case ScriptVerb::ExpectOverlay: return expectOverlay(c);
    case ScriptVerb::Orientation: model_.state().display().setOrientation(static_cast<long>(c.number)); return done();
    case ScriptVerb::ExpectHomePressed: {
      const size_t all = model_.state().eventLog().count(kHomeButtonEvent);
      const size_t presses = all >= homePressesBefore_ ? all - homePressesBefore_ : all;  // the log was cleared
      if (presses == static_cast<size_t>(c.number)) return done();
      return failed("expected the home button pressed " + std::to_string(static_cast<size_t>(c.number)) +
                    " times, found " + std::to_string(presses));
    }
    default: return refused("not a command about behaviours");
  }
}

ScriptOutcome BehaviourCommands::pullDown(const ScriptCommand& c) {
  auto& apps = model_.state().apps();
  if (c.verb == ScriptVerb::Reachability) {
    if (model_.state().configuration().kind == platform::springboard::DeviceKind::Tablet)
      return refused("reachability: tablets have no Reachability");
    lastAttempt_["reachability"] = model_.activateReachability();
    return done();
  }
  if (c.verb == ScriptVerb::NotificationCenter) {
    if (apps.locked())
      return refused("notificationcenter: the device is locked; the lock screen shows the notifications");
    if (apps.notificationCenterVisible()) model_.dismissSystemOverlays();
    lastAttempt_["notificationcenter"] = model_.openNotificationCenter();
    return done();
  }
  if (apps.controlCenterVisible()) model_.dismissSystemOverlays();
  lastAttempt_["controlcenter"] = model_.openControlCenter();
  return done();
}

ScriptOutcome BehaviourCommands::expectToast(const ScriptCommand& c) {
  const std::vector<ToastWatcher::Toast> toasts = toasts_.visibleOrQueued();
  if (c.on) {
    if (toasts_.count() == 0) return done();
    return failed("expected no toast, found " + (toasts.empty() ? std::to_string(toasts_.count()) + " toasts"
                                                                : ToastWatcher::describe(toasts.front())));
  }
  for (const auto& toast : toasts)
    if (toast.title == c.texts.at(0) && toast.message == c.texts.at(1)) return done();
  std::string wanted = quotedOrNil(c.texts.at(0)) + " " + quotedOrNil(c.texts.at(1));
  if (toasts.empty()) return failed("expected the toast " + wanted + ", found none");
  std::string found;
  for (const auto& toast : toasts) found += (found.empty() ? "" : ", ") + ToastWatcher::describe(toast);
  return failed("expected the toast " + wanted + ", found " + found);
}

ScriptOutcome BehaviourCommands::expectOverlay(const ScriptCommand& c) {
  auto attempt = lastAttempt_.find(c.name);
  if (attempt == lastAttempt_.end())
    return failed("expected " + c.name + " " + (c.on ? "opened" : "blocked") + ", but it was never pulled down");
  if (attempt->second == c.on) return done();
  return failed("expected " + c.name + " " + (c.on ? "opened" : "blocked") + ", found it " +
                (attempt->second ? "opened" : "blocked"));
}

}  // namespace tessra::device
