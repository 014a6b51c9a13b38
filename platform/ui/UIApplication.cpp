#include "platform/ui/UIApplication.h"

#include <algorithm>
#include <map>

#include "platform/ui/UIWindow.h"

namespace platform {

namespace {
// The process's windows and shared application; outlives any one application object.
struct Registry {
  std::vector<UIWindow*> windows;
  UIWindow* key = nullptr;
  std::shared_ptr<UIApplication> app;
  UIUserInterfaceLayoutDirection direction = UIUserInterfaceLayoutDirection::LeftToRight;
  unsigned long counter = 0;
  std::map<int, UIWindow*> fingerWindow;
};

Registry& registry() {
  static Registry* r = new Registry();
  return *r;
}
}  // namespace

namespace ui_internal {
void registerWindow(UIWindow* w) { registry().windows.push_back(w); }

void unregisterWindow(UIWindow* w) {
  Registry& r = registry();
  r.windows.erase(std::remove(r.windows.begin(), r.windows.end(), w), r.windows.end());
  if (r.key == w) r.key = nullptr;
  for (auto it = r.fingerWindow.begin(); it != r.fingerWindow.end();) {
    it = it->second == w ? r.fingerWindow.erase(it) : std::next(it);
  }
}

void setKeyWindow(UIWindow* w) { registry().key = w; }

unsigned long nextWindowOrder() { return ++registry().counter; }
}  // namespace ui_internal

UIApplication::~UIApplication() = default;

UIApplication& UIApplication::sharedApplication() {
  Registry& r = registry();
  if (!r.app) r.app = std::make_shared<UIApplication>();
  return *r.app;
}

void UIApplication::setSharedApplication(std::shared_ptr<UIApplication> app) { registry().app = std::move(app); }

UIWindow* UIApplication::keyWindow() const { return registry().key; }

std::vector<UIWindow*> UIApplication::windows() const {
  std::vector<UIWindow*> list = registry().windows;
  std::stable_sort(list.begin(), list.end(), [](UIWindow* a, UIWindow* b) {
    if (a->windowLevel() != b->windowLevel()) return a->windowLevel() < b->windowLevel();
    return a->order_ < b->order_;
  });
  return list;
}

UIUserInterfaceLayoutDirection UIApplication::userInterfaceLayoutDirection() const { return registry().direction; }

void UIApplication::setUserInterfaceLayoutDirection(UIUserInterfaceLayoutDirection d) { registry().direction = d; }

bool UIApplication::sendTouch(UITouchPhase phase, CGPoint screenPoint, int finger) {
  Registry& r = registry();
  auto local = [screenPoint](UIWindow* w) {
    CGRect f = w->frame();
    return CGPoint{screenPoint.x - f.origin.x, screenPoint.y - f.origin.y};
  };
  if (phase == UITouchPhase::Began) {
    auto list = windows();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      UIWindow* w = *it;
      if (w->isHidden()) continue;
      if (!w->hitTest(local(w), nullptr)) continue;
      r.fingerWindow[finger] = w;
      return w->sendTouch(phase, local(w), finger);
    }
    return false;
  }
  auto found = r.fingerWindow.find(finger);
  if (found == r.fingerWindow.end()) return false;
  UIWindow* w = found->second;
  if (phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled) r.fingerWindow.erase(found);
  return w->sendTouch(phase, local(w), finger);
}

}  // namespace platform
