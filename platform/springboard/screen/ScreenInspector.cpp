#include "platform/springboard/screen/ScreenInspector.h"

#include <functional>

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"

namespace platform::springboard {

namespace {

bool drawsSomething(const UIView& view) {
  if (auto color = view.backgroundColor(); color && color->alpha() > 0) return true;
  if (auto* label = dynamic_cast<const UILabel*>(&view)) return !label->text().empty();
  if (auto* image = dynamic_cast<const UIImageView*>(&view)) return image->image() != nullptr;
  return dynamic_cast<const UIVisualEffectView*>(&view) != nullptr;
}

// Visits the visible views of the visible windows in drawing order (back to front).
void forEachDrawn(const std::function<void(UIView&)>& visit) {
  std::function<void(UIView&)> walk = [&](UIView& view) {
    if (view.isHidden() || view.alpha() <= 0) return;
    visit(view);
    for (const auto& sub : view.subviews()) walk(*sub);
  };
  for (UIWindow* window : UIApplication::sharedApplication().windows()) walk(*window);
}

}  // namespace

std::string ScreenInspector::textOf(const UIView& view) {
  if (auto* label = dynamic_cast<const UILabel*>(&view)) return label->text();
  if (auto* button = dynamic_cast<const UIButton*>(&view)) return button->currentTitle();
  return {};
}

CGRect ScreenInspector::screenFrame(const UIView& view) { return view.convertRect(view.bounds(), nullptr); }

UIView* ScreenInspector::topDrawnViewAt(CGPoint screenPoint) {
  UIView* top = nullptr;
  forEachDrawn([&](UIView& view) {
    if (drawsSomething(view) && CGRectContainsPoint(screenFrame(view), screenPoint)) top = &view;
  });
  return top;
}

bool ScreenInspector::isVisible(UIView& view, CGSize screenSize) {
  for (const UIView* v = &view; v; v = v->superview()) {
    if (v->isHidden() || v->alpha() <= 0) return false;
  }
  const CGRect frame = screenFrame(view);
  const CGPoint center{CGRectGetMidX(frame), CGRectGetMidY(frame)};
  if (!CGRectContainsPoint(CGRectMake(0, 0, screenSize.width, screenSize.height), center)) return false;
  UIView* top = topDrawnViewAt(center);
  // Drawn over by nothing, or only by its own subviews (a button's title over the button).
  return top == &view || (top && top->isDescendantOfView(&view));
}

UIView* ScreenInspector::findVisibleText(const std::string& text, CGSize screenSize) {
  std::vector<UIView*> matches;
  forEachDrawn([&](UIView& view) {
    if (textOf(view) == text) matches.push_back(&view);
  });
  for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
    if (isVisible(**it, screenSize)) return *it;
  }
  return nullptr;
}

}  // namespace platform::springboard
