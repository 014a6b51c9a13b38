#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/foundation/Log.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"

// Installs one method hook of the plug-in. A method is hooked once per class:
// hooking it again with the same replacement would make the replacement its
// own previous implementation. `cls` null (a class the device does not have)
// installs nothing. Main thread; used by the start-up only.
template <class Fn>
void installTessraHook(platform::Class* cls, const char* selector, Fn replacement, Fn* previous) {
  static std::map<std::pair<platform::Class*, std::string>, bool> hooked;
  if (!cls) return;
  bool& done = hooked[{cls, selector}];
  if (done) return;
  if (!platform::MSHookMessageEx(cls, platform::sel_registerName(selector), replacement, previous)) {
    platform::Log::write(std::string("Tessra: could not hook ") + platform::class_getName(cls) + " " + selector);
    return;
  }
  done = true;
}

// The same for the class registered as `className`.
template <class Fn>
void installTessraHook(const char* className, const char* selector, Fn replacement, Fn* previous) {
  installTessraHook(platform::objc_getClass(className), selector, replacement, previous);
}
