#include "platform/springboard/SBApplication.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

namespace {

SBApplication& app(id obj) { return *static_cast<SBApplication*>(obj); }

}  // namespace

std::string SBApplication::bundleIdentifier() const { return msgSend<std::string>(this, SELECTOR("bundleIdentifier")); }

std::string SBApplication::displayName() const { return msgSend<std::string>(this, SELECTOR("displayName")); }

id SBApplication::processState() const { return msgSend<id>(this, SELECTOR("processState")); }

void SBApplication::_updateProcess(id process, id state) {
  msgSend<void, id, id>(this, SELECTOR("_updateProcess:withState:"), process, state);
}

bool SBApplication::suppressesControlCenter() const { return msgSend<bool>(this, SELECTOR("suppressesControlCenter")); }

bool SBApplication::suppressesCoverSheetGesture() const {
  return msgSend<bool>(this, SELECTOR("suppressesCoverSheetGesture"));
}

void SBApplication::registerClass(const springboard::SystemProfile&) {
  Class* cls = springboard::SpringBoardClasses::define<SBApplication>("SBApplication");
  class_addMethod(
      cls, SELECTOR("bundleIdentifier"), +[](id obj, SEL) { return app(obj).bundleIdentifier_; }, "@@:");
  class_addMethod(
      cls, SELECTOR("displayName"), +[](id obj, SEL) { return app(obj).displayName_; }, "@@:");
  class_addMethod(
      cls, SELECTOR("processState"), +[](id obj, SEL) -> id { return app(obj).processState_; }, "@@:");
  class_addMethod(
      cls, SELECTOR("_updateProcess:withState:"),
      +[](id obj, SEL, id, id state) {
        app(obj).processState_ = state;
        // SpringBoard reconsiders which app is in front after every process-state change.
        if (SpringBoard* springBoard = SpringBoard::sharedApplication())
          springBoard->_accessibilityFrontMostApplication();
      },
      "v@:@@");
  class_addMethod(
      cls, SELECTOR("suppressesControlCenter"), +[](id, SEL) { return false; }, "B@:");
  class_addMethod(
      cls, SELECTOR("suppressesCoverSheetGesture"), +[](id, SEL) { return false; }, "B@:");
}

}  // namespace platform
