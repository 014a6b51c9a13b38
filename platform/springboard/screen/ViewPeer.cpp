#include "platform/springboard/screen/ViewPeer.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/screen/ViewObject.h"

namespace platform::springboard {

ViewPeer::ViewPeer(UIView* view, std::string_view className, Ref<Object> existing) : object_(std::move(existing)) {
  if (!object_) object_ = class_createInstance(objc_getClass(className));
  if (auto* peer = dynamic_cast<ViewObject*>(object_.get())) {
    peer->bind(view);
  } else {
    object_ = nullptr;  // a class that is not a view's: no runtime side
  }
}

ViewPeer::~ViewPeer() {
  if (auto* peer = dynamic_cast<ViewObject*>(object_.get())) peer->bind(nullptr);
}

void ViewPeer::layoutSubviews(RuntimeLayout& own) {
  if (object_) {
    msgSend<void>(object_.get(), SELECTOR("layoutSubviews"));
  } else {
    own.layoutOwnSubviews();
  }
}

}  // namespace platform::springboard
