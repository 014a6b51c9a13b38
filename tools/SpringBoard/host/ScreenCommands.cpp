#include "tools/SpringBoard/host/ScreenCommands.h"

#include <cstdio>

#include "platform/foundation/Dispatch.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/ScreenInspector.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/render/ViewRenderer.h"

namespace tessra::device {
namespace {

using platform::CGPoint;
using platform::UITouchPhase;
using Status = ScriptOutcome::Status;

ScriptOutcome done() { return {Status::Done, {}}; }
ScriptOutcome refused(std::string why) { return {Status::Refused, std::move(why)}; }
ScriptOutcome failed(std::string what) { return {Status::ExpectFailed, std::move(what)}; }

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string listed(const std::vector<std::string>& titles) {
  std::string out;
  for (const auto& title : titles) out += (out.empty() ? "\"" : " \"") + title + "\"";
  return out.empty() ? "none" : out;
}

CGPoint center(const platform::CGRect& r) { return {platform::CGRectGetMidX(r), platform::CGRectGetMidY(r)}; }

}  // namespace

ScreenCommands::ScreenCommands(platform::springboard::DeviceScreen& screen, Waiter waiter,
                               std::filesystem::path scriptFolder)
    : screen_(screen), waiter_(std::move(waiter)), scriptFolder_(std::move(scriptFolder)) {}

bool ScreenCommands::handles(ScriptVerb verb) {
  switch (verb) {
    case ScriptVerb::TapPoint:
    case ScriptVerb::LongPress:
    case ScriptVerb::Drag:
    case ScriptVerb::TapIcon:
    case ScriptVerb::PressIcon:
    case ScriptVerb::TapText:
    case ScriptVerb::Swipe:
    case ScriptVerb::Snapshot:
    case ScriptVerb::ExpectText:
    case ScriptVerb::ExpectMenu: return true;
    default: return false;
  }
}

bool ScreenCommands::touch(UITouchPhase phase, CGPoint point) { return screen_.touch(phase, point); }

void ScreenCommands::perform(const std::vector<Step>& steps) {
  if (waiter_) {
    for (const Step& step : steps) {
      if (step.delay > 0) waiter_(platform::seconds(step.delay));
      screen_.touch(step.phase, step.point);
    }
    return;
  }
  // Live: the first step now, the others on the main loop at their times.
  double at = 0;
  platform::springboard::DeviceScreen* screen = &screen_;
  for (const Step& step : steps) {
    at += step.delay;
    if (at <= 0) {
      screen_.touch(step.phase, step.point);
      continue;
    }
    platform::dispatch_after(platform::seconds(at), platform::dispatch_get_main_queue(),
                             [screen, step] { screen->touch(step.phase, step.point); });
  }
}

std::vector<ScreenCommands::Step> ScreenCommands::dragSteps(CGPoint from, CGPoint to, double duration) {
  constexpr int kMoves = 10;
  std::vector<Step> steps{{0, UITouchPhase::Began, from}};
  for (int i = 1; i <= kMoves; ++i) {
    CGPoint p{from.x + (to.x - from.x) * i / kMoves, from.y + (to.y - from.y) * i / kMoves};
    steps.push_back({duration / kMoves, UITouchPhase::Moved, p});
  }
  steps.push_back({0, UITouchPhase::Ended, to});
  return steps;
}

std::optional<std::string> ScreenCommands::outside(const std::string& verb, CGPoint p) const {
  platform::CGSize size = screen_.size();
  if (p.x >= 0 && p.y >= 0 && p.x < size.width && p.y < size.height) return std::nullopt;
  return verb + ": (" + number(p.x) + ", " + number(p.y) + ") is outside the screen (" + number(size.width) + " x " +
         number(size.height) + " points)";
}

ScriptOutcome ScreenCommands::execute(const ScriptCommand& c) {
  screen_.update();
  const CGPoint from{c.points.x1, c.points.y1}, to{c.points.x2, c.points.y2};
  switch (c.verb) {
    case ScriptVerb::TapPoint:
      if (auto error = outside("tap", from)) return refused(*error);
      perform({{0, UITouchPhase::Began, from}, {0, UITouchPhase::Ended, from}});
      return done();
    case ScriptVerb::LongPress:
      if (auto error = outside("longpress", from)) return refused(*error);
      perform({{0, UITouchPhase::Began, from}, {c.number, UITouchPhase::Ended, from}});
      return done();
    case ScriptVerb::Drag:
      if (auto error = outside("drag", from)) return refused(*error);
      if (auto error = outside("drag", to)) return refused(*error);
      perform(dragSteps(from, to, c.number));
      return done();
    case ScriptVerb::TapIcon: return icon(c, false);
    case ScriptVerb::PressIcon: return icon(c, true);
    case ScriptVerb::TapText: return tapText(c);
    case ScriptVerb::Swipe: return swipe(c);
    case ScriptVerb::Snapshot: return snapshot(c);
    case ScriptVerb::ExpectText: return expectText(c);
    case ScriptVerb::ExpectMenu: return expectMenu(c);
    default: return refused("not a screen command");
  }
}

ScriptOutcome ScreenCommands::icon(const ScriptCommand& c, bool press) {
  const std::string verb = press ? "press icon" : "tap icon";
  auto& home = screen_.home();
  platform::springboard::IconView* icon = home.iconFor(c.name);
  if (!icon) return refused(verb + ": '" + c.name + "' has no icon on the home screen");
  // An icon on another page is brought into view first, as a person would swipe to it.
  auto& pages = home.pages();
  int page = pages.pageOf(c.name);
  platform::UIView* tile =
      icon->subviews().empty() ? static_cast<platform::UIView*>(icon) : icon->subviews().front().get();
  if (page >= 0 && page != pages.currentPage()) {
    int previous = pages.currentPage();
    pages.setCurrentPage(page, false);
    screen_.update();
    if (!platform::springboard::ScreenInspector::isVisible(*tile, screen_.size())) {
      pages.setCurrentPage(previous, false);
      screen_.update();
      return refused(verb + ": the icon of " + c.name + " cannot be seen now");
    }
  }
  if (!platform::springboard::ScreenInspector::isVisible(*tile, screen_.size()))
    return refused(verb + ": the icon of " + c.name + " cannot be seen now");
  CGPoint p = center(icon->convertRect(icon->iconFrame(), nullptr));
  perform({{0, UITouchPhase::Began, p}, {press ? 1.0 : 0.0, UITouchPhase::Ended, p}});
  return done();
}

ScriptOutcome ScreenCommands::tapText(const ScriptCommand& c) {
  platform::UIView* view = platform::springboard::ScreenInspector::findVisibleText(c.name, screen_.size());
  if (!view) return refused("tap: no visible \"" + c.name + "\" on the screen");
  CGPoint p = center(platform::springboard::ScreenInspector::screenFrame(*view));
  perform({{0, UITouchPhase::Began, p}, {0, UITouchPhase::Ended, p}});
  return done();
}

ScriptOutcome ScreenCommands::swipe(const ScriptCommand& c) {
  const platform::CGSize size = screen_.size();
  const bool mirrored =
      screen_.home().effectiveUserInterfaceLayoutDirection() == platform::UIUserInterfaceLayoutDirection::RightToLeft;
  if (c.name == "home") {
    perform(dragSteps({size.width / 2, size.height - 4}, {size.width / 2, size.height * 0.6}, 0.3));
  } else {
    bool leading = c.name == "notifications";
    double x = (leading != mirrored) ? size.width * 0.25 : size.width * 0.75;
    perform(dragSteps({x, 4}, {x, size.height * 0.5}, 0.3));
  }
  return done();
}

ScriptOutcome ScreenCommands::snapshot(const ScriptCommand& c) {
  std::filesystem::path file = c.name;
  if (file.is_relative() && !scriptFolder_.empty()) file = scriptFolder_ / file;
  std::error_code ec;
  std::filesystem::path folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  if (!std::filesystem::is_directory(folder, ec))
    return refused("snapshot: the folder " + folder.string() + " does not exist");
  if (std::filesystem::is_directory(file, ec)) return refused("snapshot: " + file.string() + " is a folder");
  // A link in the file's place could send the picture anywhere: it is left alone.
  if (std::filesystem::is_symlink(file, ec))
    return refused("snapshot: " + file.string() + " is a link; nothing written");
  double scale = c.number > 0 ? c.number : screen_.scale();
  auto image = screen_.render(scale);
  std::string error;
  if (!platform::ViewRenderer::writePng(*image, file.string(), &error)) return refused("snapshot: " + error);
  return done();
}

ScriptOutcome ScreenCommands::expectText(const ScriptCommand& c) {
  bool visible = platform::springboard::ScreenInspector::findVisibleText(c.name, screen_.size()) != nullptr;
  if (visible == !c.on) return done();
  return failed(c.on ? "expected no visible \"" + c.name + "\", found it on the screen"
                     : "expected \"" + c.name + "\" on the screen, found no visible such text");
}

ScriptOutcome ScreenCommands::expectMenu(const ScriptCommand& c) {
  auto& menu = screen_.home().menu();
  std::vector<std::string> titles = menu.isOpen() ? menu.titles() : std::vector<std::string>{};
  if (c.on) {
    if (!menu.isOpen()) return done();
    return failed("expected no quick-action menu, found " + listed(titles));
  }
  if (!menu.isOpen()) return failed("expected the menu " + listed(c.titles) + ", found no quick-action menu");
  if (titles == c.titles) return done();
  return failed("expected the menu " + listed(c.titles) + ", found " + listed(titles));
}

}  // namespace tessra::device
