#include "tools/SpringBoard/host/PanelCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tweak/panel/PanelIdentifiers.h"
#include "tweak/store/TessraKeys.h"

namespace tessra::device {
namespace {

using platform::CGPoint;
using platform::CGRect;
using platform::UIView;
using platform::plist::Value;
using Status = ScriptOutcome::Status;
namespace ids = panel_identifiers;

ScriptOutcome done(std::string output = {}) { return {Status::Done, std::move(output)}; }
ScriptOutcome refused(std::string why) { return {Status::Refused, std::move(why)}; }
ScriptOutcome failed(std::string what) { return {Status::ExpectFailed, std::move(what)}; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The first view of the subtree (depth first, the view itself first) with `identifier`.
UIView* findIdentified(UIView* view, std::string_view identifier) {
  if (!view) return nullptr;
  if (view->accessibilityIdentifier() == identifier) return view;
  for (const auto& sub : view->subviews())
    if (UIView* found = findIdentified(sub.get(), identifier)) return found;
  return nullptr;
}

CGRect screenFrame(const UIView& view) { return view.convertRect(view.bounds(), nullptr); }

CGPoint centreOf(const UIView& view) {
  CGRect r = screenFrame(view);
  return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
}

bool shown(const UIView* view) { return view && !view->isHidden() && view->alpha() > 0; }

// The ring on screen: "toggles" or "behaviors"; "switching" while both show.
std::string visibleRing(UIView* panel) {
  const bool toggles = shown(findIdentified(panel, ids::kTogglesRing));
  const bool behaviours = shown(findIdentified(panel, ids::kActionsRing));
  if (toggles && behaviours) return "switching";
  if (toggles) return "toggles";
  if (behaviours) return "behaviors";
  return "none";
}

UIView* visibleRingView(UIView* panel) {
  UIView* toggles = findIdentified(panel, ids::kTogglesRing);
  UIView* behaviours = findIdentified(panel, ids::kActionsRing);
  if (shown(behaviours) && !shown(toggles)) return behaviours;
  if (shown(toggles) && !shown(behaviours)) return toggles;
  return nullptr;
}

std::string_view sliderIdentifier(const std::string& name) {
  return name == "volume" ? ids::kVolumeSlider : ids::kBrightnessSlider;
}

std::string labelText(UIView* view) {
  auto* label = dynamic_cast<platform::UILabel*>(view);
  return label ? label->text() : std::string();
}

// The percentage a slider's fill shows (its height over the slider's).
double fillPercent(UIView& slider) {
  UIView* fill = findIdentified(&slider, ids::kSliderFill);
  const double h = slider.bounds().size.height;
  return fill && h > 0 ? fill->frame().size.height / h * 100 : 0;
}

// The command's own words, "panel tap" or "expect ring", to begin its messages with.
std::string verbOf(const ScriptCommand& c) {
  std::string words;
  size_t at = 0;
  for (int word = 0; word < 2; ++word) {
    const size_t start = c.text.find_first_not_of(" \t", at);
    if (start == std::string::npos) break;
    const size_t end = std::min(c.text.find_first_of(" \t", start), c.text.size());
    if (!words.empty()) words += ' ';
    words += c.text.substr(start, end - start);
    at = end;
  }
  return words;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

}  // namespace

bool PanelCommands::handles(ScriptVerb verb) {
  switch (verb) {
    case ScriptVerb::PanelTap:
    case ScriptVerb::PanelSegment:
    case ScriptVerb::PanelScroll:
    case ScriptVerb::PanelSlider:
    case ScriptVerb::PanelDismiss:
    case ScriptVerb::ExpectPanel:
    case ScriptVerb::ExpectRing:
    case ScriptVerb::ExpectBottom:
    case ScriptVerb::ExpectButton:
    case ScriptVerb::ExpectSlider:
    case ScriptVerb::ExpectStored: return true;
    default: return false;
  }
}

UIView* PanelCommands::openPanel() {
  for (platform::UIWindow* window : platform::UIApplication::sharedApplication().windows()) {
    if (window->isHidden()) continue;
    UIView* panel = findIdentified(window, ids::kPanel);
    if (!panel || !panel->window()) continue;
    platform::UIViewController* controller = panel->viewController();
    if (controller && controller->isBeingDismissed()) continue;
    return panel;
  }
  return nullptr;
}

ScriptOutcome PanelCommands::execute(const ScriptCommand& c) {
  if (c.verb == ScriptVerb::ExpectPanel) {
    const bool open = openPanel() != nullptr;
    if (open == c.on) return done();
    return failed(std::string("the panel is ") + (open ? "open" : "closed"));
  }
  if (c.verb == ScriptVerb::ExpectStored) return expectStored(c);
  UIView* panel = openPanel();
  if (!panel) return refused(verbOf(c) + ": no customization panel is open");
  switch (c.verb) {
    case ScriptVerb::PanelTap: return tap(c);
    case ScriptVerb::PanelSegment: return segment(c);
    case ScriptVerb::PanelScroll: return scroll(c);
    case ScriptVerb::PanelSlider: return slider(c);
    case ScriptVerb::PanelDismiss: return dismiss();
    case ScriptVerb::ExpectRing: return expectRing(c);
    case ScriptVerb::ExpectBottom: {
      std::string text = labelText(findIdentified(panel, ids::kBottomLabel));
      if (text == c.value) return done();
      return failed(text.empty() ? std::string("the bottom text is empty") : "the bottom text is " + quoted(text));
    }
    case ScriptVerb::ExpectButton: return expectButton(c);
    case ScriptVerb::ExpectSlider: return expectSlider(c);
    default: return refused("not a panel command");
  }
}

void PanelCommands::perform(const std::vector<Step>& steps) {
  if (waiter_) {
    for (const Step& step : steps) {
      if (step.delay > 0) waiter_(platform::seconds(step.delay));
      touch_(step.phase, step.point);
    }
    return;
  }
  double at = 0;
  for (const Step& step : steps) {
    at += step.delay;
    if (at <= 0) {
      touch_(step.phase, step.point);
      continue;
    }
    platform::dispatch_after(platform::seconds(at), platform::dispatch_get_main_queue(),
                             [touch = touch_, step] { touch(step.phase, step.point); });
  }
}

void PanelCommands::tapAt(CGPoint point) {
  perform({{0, platform::UITouchPhase::Began, point}, {kTapHold, platform::UITouchPhase::Ended, point}});
}

void PanelCommands::holdAt(CGPoint point, double seconds) {
  perform({{0, platform::UITouchPhase::Began, point}, {seconds, platform::UITouchPhase::Ended, point}});
}

void PanelCommands::dragAlong(CGPoint from, const std::vector<CGPoint>& path) {
  constexpr int kStepsPerLeg = 8;
  std::vector<Step> steps{{0, platform::UITouchPhase::Began, from}};
  CGPoint at = from;
  for (CGPoint to : path) {
    for (int i = 1; i <= kStepsPerLeg; ++i)
      steps.push_back({kMoveInterval,
                       platform::UITouchPhase::Moved,
                       {at.x + (to.x - at.x) * i / kStepsPerLeg, at.y + (to.y - at.y) * i / kStepsPerLeg}});
    at = to;
  }
  steps.push_back({0, platform::UITouchPhase::Ended, at});
  perform(steps);
}

ScriptOutcome PanelCommands::tap(const ScriptCommand& c) {
  UIView* ring = visibleRingView(openPanel());
  if (!ring) return refused("panel tap: the rings are switching; wait until one is shown");
  UIView* button = findIdentified(ring, c.name);
  if (!button || button->superview() != ring)
    return refused("panel tap: " + c.name + " has no button on the " +
                   (ring->accessibilityIdentifier() == ids::kTogglesRing ? "toggles" : "behaviors") + " ring");
  // A button still flying out (or a panel still fading in) takes no touch: the tap would be lost.
  const CGPoint centre = centreOf(*button);
  UIView* hit = button->window() ? button->window()->hitTest(centre, nullptr) : nullptr;
  if (!hit || !hit->isDescendantOfView(button))
    return refused("panel tap: the button of " + c.name +
                   " takes no touch yet (it is still moving); wait until it rests");
  tapAt(centre);
  return done();
}

ScriptOutcome PanelCommands::segment(const ScriptCommand& c) {
  UIView* control = findIdentified(openPanel(), ids::kSegmentedControl);
  if (!shown(control)) return refused("panel segment: the panel shows no segmented control");
  const CGRect frame = screenFrame(*control);
  const double slot = c.name == "Toggles" ? 0 : 1;
  tapAt({frame.origin.x + frame.size.width * (slot + 0.5) / 2, frame.origin.y + frame.size.height / 2});
  return done();
}

ScriptOutcome PanelCommands::scroll(const ScriptCommand& c) {
  UIView* panel = openPanel();
  UIView* control = findIdentified(panel, ids::kSegmentedControl);
  UIView* selector = findIdentified(panel, ids::kSegmentedSelector);
  if (!shown(control) || !selector) return refused("panel scroll: the panel shows no segmented control");
  const CGRect frame = screenFrame(*control);
  const CGPoint from = centreOf(*selector);
  const double slot = frame.size.width / 2;
  const CGPoint to{frame.origin.x + slot * (c.number + 0.5), from.y};
  // First a little away from the target, so that the drag begins even for a short way.
  const double lead = to.x >= from.x ? -12 : 12;
  dragAlong(from, {{from.x + lead, from.y}, to});
  return done();
}

ScriptOutcome PanelCommands::slider(const ScriptCommand& c) {
  UIView* panel = openPanel();
  UIView* view = findIdentified(panel, sliderIdentifier(c.name));
  if (!shown(view)) return refused("panel slider: the panel shows no " + c.name + " slider");
  const CGPoint centre = centreOf(*view);
  if (c.on) {
    // The reset gesture the settings chose: the cross under the slider when there is one.
    UIView* cross = findIdentified(panel, c.name == "volume" ? ids::kVolumeRemoveButton : ids::kBrightnessRemoveButton);
    if (cross) {
      if (shown(cross)) tapAt(centreOf(*cross));
      return done();
    }
    holdAt(centre, kLongPressHold);
    return done();
  }
  const double height = view->bounds().size.height;
  const double rise = (c.number - fillPercent(*view)) / 100 * height;
  if (std::fabs(rise) < 1e-9) return done();
  // The fill follows the finger from where it went down; a first move away makes short drags begin.
  const double lead = rise > 0 ? 15 : -15;
  dragAlong(centre, {{centre.x, centre.y + lead}, {centre.x, centre.y - rise}});
  return done();
}

ScriptOutcome PanelCommands::dismiss() {
  UIView* panel = openPanel();
  UIView* backdrop = findIdentified(panel, ids::kBackdrop);
  if (!backdrop || !panel->window()) return refused("panel dismiss: the panel has no backdrop");
  const CGRect bounds = panel->window()->bounds();
  const CGPoint candidates[] = {{bounds.size.width / 2, 12},
                                {12, 12},
                                {bounds.size.width - 12, bounds.size.height - 8},
                                {12, bounds.size.height - 8},
                                {bounds.size.width / 2, bounds.size.height - 8}};
  for (CGPoint p : candidates) {
    UIView* hit = panel->window()->hitTest(p, nullptr);
    if (hit && hit->isDescendantOfView(backdrop)) {
      tapAt(p);
      return done();
    }
  }
  return refused("panel dismiss: no free spot of the backdrop to tap");
}

ScriptOutcome PanelCommands::expectRing(const ScriptCommand& c) {
  const std::string ring = visibleRing(openPanel());
  if (ring == c.name) return done();
  return failed("the ring shown is " + ring);
}

ScriptOutcome PanelCommands::expectButton(const ScriptCommand& c) {
  UIView* panel = openPanel();
  UIView* button = nullptr;
  for (std::string_view ring : {ids::kTogglesRing, ids::kActionsRing}) {
    UIView* ringView = findIdentified(panel, ring);
    if (!ringView) continue;
    for (const auto& sub : ringView->subviews())
      if (sub->accessibilityIdentifier() == c.name) button = sub.get();
  }
  if (!button) return failed(c.name + " has no button on the panel");
  const std::string badge = labelText(findIdentified(button, ids::kBadge));
  if (badge == c.value) return done();
  return failed(c.name + (badge.empty() ? std::string(" has no badge") : " shows " + quoted(badge)));
}

ScriptOutcome PanelCommands::expectSlider(const ScriptCommand& c) {
  UIView* slider = findIdentified(openPanel(), sliderIdentifier(c.name));
  const std::string text = labelText(findIdentified(slider, ids::kPercentLabel));
  if (text == c.value) return done();
  return failed("the " + c.name + " slider shows " + quoted(text));
}

ScriptOutcome PanelCommands::expectStored(const ScriptCommand& c) {
  platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
  const Value entry = preferences.objectForKey(tessra::kCustomizedAppsKey)[c.name];
  const bool level = c.displayName == "volume" || c.displayName == "brightness";
  const Value stored = level ? entry[c.displayName] : entry[tessra::kTogglesKey][c.displayName];
  if (c.on) {
    if (stored.isNull()) return done();
    return failed(c.name + " " + c.displayName + " is stored as " + stored.describe());
  }
  if (!stored.isNumber()) return failed(c.name + " " + c.displayName + " is not stored");
  const double value = stored.doubleValue();
  if (std::fabs(value - c.number) <= ScriptInterpreter::kTolerance) return done();
  return failed(c.name + " " + c.displayName + " is stored as " + number(value));
}

}  // namespace tessra::device
