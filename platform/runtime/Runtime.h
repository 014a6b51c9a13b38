#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Class.h"

namespace platform {

// The process-wide registry of classes by name, and the operations that
// change classes (adding methods, hooking). One process may switch the set of
// classes it offers, as a device of another system version would: a class is
// made absent by unregistering its name; the class object itself stays alive
// for pointers still held to it. Thread-safe; lookups by name take a shared
// lock, message sends take none.
//
// The root class "NSObject" is always registered; it answers
// "respondsToSelector:" (BOOL, SEL), "isKindOfClass:" (BOOL, Class) and
// "class" (Class).
class Runtime {
 public:
  // A new class named `name` under `superclass` (null: a root class), with its metaclass.
  // `factory` builds the C++ object of each instance (null: the superclass's).
  // The class is not visible by name until registerClass.
  static Class* allocateClass(std::string name, Class* superclass, Class::Factory factory = nullptr);
  // A new class whose instances are C++ objects of type T (default-constructed).
  template <class T>
  static Class* allocateClass(std::string name, Class* superclass) {
    return allocateClass(std::move(name), superclass, [] { return Ref<Object>(new T); });
  }
  // Makes `cls` the class registered under its name, replacing any earlier one.
  static void registerClass(Class* cls);
  // Makes the class named `name` absent (objc_getClass answers null from now on).
  static void unregisterClass(std::string_view name);
  // The class registered under `name`, or null (objc_getClass).
  static Class* lookUpClass(std::string_view name);
  // The names of every registered class, sorted.
  static std::vector<std::string> registeredClassNames();
  // A counter bumped by every registration change, so callers can cache lookups by name.
  static uint64_t generation();
  // The root class NSObject.
  static Class* rootClass();
};

// A class looked up by name, cached until the set of registered classes changes.
class ClassHandle {
 public:
  explicit constexpr ClassHandle(std::string_view name) : name_(name) {}
  // The registered class, or null when absent.
  Class* get() const;

 private:
  std::string_view name_;
  mutable std::atomic<uint64_t> generation_{0};
  mutable std::atomic<Class*> cls_{nullptr};
};

// The Objective-C runtime functions the system uses, by their usual names.

// The class named `name`, or null when it does not exist on this device.
inline Class* objc_getClass(std::string_view name) { return Runtime::lookUpClass(name); }
// The superclass of `cls` (null for a root class or null).
inline Class* class_getSuperclass(const Class* cls) { return cls ? cls->superclass() : nullptr; }
// The name of `cls` ("nil" for null).
const char* class_getName(const Class* cls);
// The instance method of `cls` for `sel`, own or inherited, or null.
inline Method* class_getInstanceMethod(const Class* cls, SEL sel) { return cls ? cls->lookUpMethod(sel) : nullptr; }
// The class method of `cls` for `sel`, or null.
Method* class_getClassMethod(const Class* cls, SEL sel);
// Whether instances of `cls` answer `sel`; NO for a null class.
inline bool class_respondsToSelector(const Class* cls, SEL sel) { return cls && cls->respondsTo(sel); }
// Whether `obj` answers `sel` (respondsToSelector:); NO for null. For a class object it asks its class methods.
bool respondsToSelector(const Object* obj, SEL sel);
// Whether `obj`'s class is `cls` or a subclass of it (isKindOfClass:).
bool isKindOfClass(const Object* obj, const Class* cls);
// A new instance of `cls` (class_createInstance / +new); null for a null class.
Ref<Object> class_createInstance(Class* cls);

// Adds a method to `cls` with the type encoding `types` ("v@:"). Answers NO and changes nothing
// when `cls` is null, already defines `sel`, or `types` does not fit the implementation's own signature.
template <class R, class... A>
bool class_addMethod(Class* cls, SEL sel, R (*imp)(id, SEL, A...), std::string_view types) {
  if (!cls || !imp) return false;
  std::string own = detail::encodingOf<R, A...>();
  if (!encodingsMatch(types, own)) return false;
  return cls->addMethod(sel, reinterpret_cast<RawImp>(imp), typeKey<R (*)(id, SEL, A...)>(), std::string(types));
}
// Adds a method whose encoding is derived from its C++ signature.
template <class R, class... A>
bool class_addMethod(Class* cls, SEL sel, R (*imp)(id, SEL, A...)) {
  return class_addMethod(cls, sel, imp, detail::encodingOf<R, A...>());
}
// Sets `sel` on `cls` to `imp` (adding it when missing); answers the previous implementation
// for that class, or null when there was none or the signature differs (then nothing changes).
template <class R, class... A>
auto class_replaceMethod(Class* cls, SEL sel, R (*imp)(id, SEL, A...)) -> R (*)(id, SEL, A...) {
  if (!cls || !imp) return nullptr;
  bool ok = false;
  RawImp old = cls->replaceMethod(sel, reinterpret_cast<RawImp>(imp), typeKey<R (*)(id, SEL, A...)>(),
                                  detail::encodingOf<R, A...>(), &ok);
  return reinterpret_cast<R (*)(id, SEL, A...)>(old);
}

}  // namespace platform
