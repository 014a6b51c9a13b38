#pragma once

#include <memory>

#include "platform/runtime/Object.h"

namespace platform {

class UIView;

namespace springboard {

// The runtime side of a screen view: the object that messages and hooks
// reach (an SBIconView, a _UIContextMenuActionView...). The C++ view owns its
// object and tells it when it goes away; the object knows its view by a plain
// pointer, so an object kept alive by someone else (a delayed block of a
// plug-in) answers null. A view made by an init message of the runtime is
// held by its object until the code that sent the message adopts it.
class ViewObject final : public Object {
 public:
  // The view of `obj` when it is a screen view's object; null otherwise.
  static UIView* viewOf(const Object* obj);

  UIView* view() const { return view_; }
  // Binds the object to its view (the view calls this; null when it goes away).
  void bind(UIView* view) { view_ = view; }
  // Keeps a view made by an init message alive until adopt().
  void hold(std::shared_ptr<UIView> view) { held_ = std::move(view); }
  // Hands over the view an init message made (null when none is held).
  std::shared_ptr<UIView> adopt() { return std::move(held_); }

 private:
  UIView* view_ = nullptr;
  std::shared_ptr<UIView> held_;
};

}  // namespace springboard
}  // namespace platform
