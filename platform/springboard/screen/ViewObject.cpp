#include "platform/springboard/screen/ViewObject.h"

namespace platform::springboard {

UIView* ViewObject::viewOf(const Object* obj) {
  auto* object = dynamic_cast<const ViewObject*>(obj);
  return object ? object->view_ : nullptr;
}

}  // namespace platform::springboard
