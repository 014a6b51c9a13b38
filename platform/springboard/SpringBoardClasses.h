#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace platform::springboard {

class SystemProfile;

// Registers the home screen's classes in the object runtime for one device,
// and helps each stand-in class define itself. A class that does not exist on
// the device (SBVolumeControl below 13.0, SBFloatingDockView on a phone,
// _LAActivator without Activator) is simply not registered, so looking it up
// by name answers null. UIKit classes that another layer may already have
// registered (UIApplication, UIScreen, UIDevice, UIImpactFeedbackGenerator)
// are reused when present: the home screen only adds its methods to them.
class SpringBoardClasses {
 public:
  // Registers every class that exists on `profile`'s device; answers the names it
  // registered, which unregisterAll() removes again.
  static std::vector<std::string> registerAll(const SystemProfile& profile);
  // Makes every class in `names` absent.
  static void unregisterAll(const std::vector<std::string>& names);

  // Defines and registers a class named `name` whose instances are C++ objects of type T,
  // under the registered class `superclassName` (the root class when that is absent).
  template <class T>
  static Class* define(std::string name, std::string_view superclassName = "NSObject") {
    Class* cls = Runtime::allocateClass<T>(name, superclassFor(superclassName));
    Runtime::registerClass(cls);
    noteRegistered(std::move(name));
    return cls;
  }
  // Registers `cls`, made with Runtime::allocateClass, as one of the device's classes.
  static void add(Class* cls) {
    Runtime::registerClass(cls);
    noteRegistered(cls->name());
  }
  // The registered class `name`, or a new one (instances are plain objects) registered under NSObject.
  static Class* ensure(std::string name);

  // The implementation of the class method sharedInstance (and its kin): the device's
  // shared object of the receiving class.
  static id sharedInstanceImp(id cls, SEL);
  // The implementation of `_setBrightnessLevel:showHUD:`, which both brightness controllers answer: sets the
  // display's brightness, with or without its indicator.
  static void setBrightnessLevelImp(id, SEL, float level, bool showHUD);

 private:
  static Class* superclassFor(std::string_view name);
  static void noteRegistered(std::string name);
};

}  // namespace platform::springboard
