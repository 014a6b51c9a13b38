#include "platform/springboard/screen/ViewControllerObject.h"

#include <map>

#include "platform/ui/UIViewController.h"

namespace platform::springboard {

namespace {

// The object of each bound controller.
std::map<const UIViewController*, ViewControllerObject*>& objects() {
  static auto* map = new std::map<const UIViewController*, ViewControllerObject*>();
  return *map;
}

}  // namespace

ViewControllerObject::~ViewControllerObject() {
  auto it = objects().find(bound_);
  if (it != objects().end() && it->second == this) objects().erase(it);
}

UIViewController* ViewControllerObject::controllerOf(const Object* obj) {
  auto* object = dynamic_cast<const ViewControllerObject*>(obj);
  return object ? object->controller_.lock().get() : nullptr;
}

id ViewControllerObject::objectOf(const UIViewController* controller) {
  if (!controller) return nullptr;
  auto it = objects().find(controller);
  return it != objects().end() && controllerOf(it->second) == controller ? it->second : nullptr;
}

void ViewControllerObject::bind(const std::shared_ptr<UIViewController>& controller) {
  controller_ = controller;
  bound_ = controller.get();
  objects()[bound_] = this;
}

}  // namespace platform::springboard
