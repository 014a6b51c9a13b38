#pragma once

#include <algorithm>
#include <cstddef>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

// A name given as a template argument: a class name or a selector.
template <size_t N>
struct RuntimeName {
  constexpr RuntimeName(const char (&literal)[N]) { std::copy_n(literal, N, text); }
  char text[N];
};

// The typed accessor of a stand-in class's shared object ("+sharedInstance"
// and its kin): the class is looked up by name and the class method is sent
// through the runtime, so that a hook installed on it takes effect. Null when
// the class does not exist on this device or answers another type. Each
// class's accessor is one line:
//   SBIconController* SBIconController::sharedInstance() {
//     return springboard::sharedInstance<SBIconController, "SBIconController">();
//   }
template <class T, RuntimeName className, RuntimeName selector = "sharedInstance">
T* sharedInstance() {
  static ClassHandle cls(className.text);
  static const SEL sel = sel_registerName(selector.text);
  return dynamic_cast<T*>(msgSend<id>(cls.get(), sel));
}

}  // namespace platform::springboard
