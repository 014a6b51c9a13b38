#pragma once

#include <string_view>

#include "platform/runtime/Object.h"

namespace platform {

class UIView;

namespace springboard {

// What the runtime's layoutSubviews of a screen view runs: the C++ view's own layout.
class RuntimeLayout {
 public:
  virtual ~RuntimeLayout() = default;
  // The view's own placing of its subviews (the base UIView layout first).
  virtual void layoutOwnSubviews() = 0;
};

// The runtime object of one screen view, as a member of the view: made from
// the registered class `className` (or taken over from an init message),
// bound to the view while it lives. When the class does not exist on the
// device the view has no object and lays itself out directly.
class ViewPeer {
 public:
  ViewPeer(UIView* view, std::string_view className, Ref<Object> existing = {});
  ~ViewPeer();
  ViewPeer(const ViewPeer&) = delete;
  ViewPeer& operator=(const ViewPeer&) = delete;

  // The runtime object (null when the class is absent).
  id object() const { return object_.get(); }
  // Sends layoutSubviews through the runtime, so hooks on it run; without an object, lays out directly.
  void layoutSubviews(RuntimeLayout& own);

 private:
  Ref<Object> object_;
};

}  // namespace springboard
}  // namespace platform
