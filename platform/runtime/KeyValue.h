#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/runtime/MessageSend.h"

namespace platform {

// Private fields and key-value reads. A class declares its named fields
// ("_gestureManager") with a getter of the field's type; callers read them by
// name with the type they expect. A read of a missing field, of a null
// object, or with another type answers the zero value.

// Declares the private field `name` of `cls`, read by `getter`. NO when `cls` is null.
template <class T>
bool class_addIvar(Class* cls, std::string name, T (*getter)(id)) {
  if (!cls || !getter) return false;
  cls->addIvar(
      Ivar{std::move(name), typeKey<T (*)(id)>(), detail::Encoding<T>::value, reinterpret_cast<RawImp>(getter)});
  return true;
}

namespace detail {

// Reads a getter of type Src (*)(id[, SEL]) whose signature key is `sig` into the number R, when the types fit.
template <class R, class Src, bool WithSel>
bool readAs(const void* sig, RawImp fn, Object* self, SEL sel, R* out) {
  if constexpr (WithSel) {
    using Fn = Src (*)(id, SEL);
    if (sig != typeKey<Fn>()) return false;
    *out = static_cast<R>(reinterpret_cast<Fn>(fn)(self, sel));
  } else {
    using Fn = Src (*)(id);
    if (sig != typeKey<Fn>()) return false;
    (void)sel;
    *out = static_cast<R>(reinterpret_cast<Fn>(fn)(self));
  }
  return true;
}

template <class R, bool WithSel>
bool readArithmetic(const void* sig, RawImp fn, Object* self, SEL sel, R* out) {
  return readAs<R, bool, WithSel>(sig, fn, self, sel, out) || readAs<R, int, WithSel>(sig, fn, self, sel, out) ||
         readAs<R, unsigned, WithSel>(sig, fn, self, sel, out) || readAs<R, long, WithSel>(sig, fn, self, sel, out) ||
         readAs<R, unsigned long, WithSel>(sig, fn, self, sel, out) ||
         readAs<R, long long, WithSel>(sig, fn, self, sel, out) || readAs<R, float, WithSel>(sig, fn, self, sel, out) ||
         readAs<R, double, WithSel>(sig, fn, self, sel, out);
}

// Reads the field `ivar` of `self` as R: exact type, or any number converted when R is a number.
template <class R>
R readIvar(const Ivar* ivar, Object* self) {
  if (!ivar) return zeroValue<R>();
  if (ivar->signature == typeKey<R (*)(id)>()) return reinterpret_cast<R (*)(id)>(ivar->getter)(self);
  if constexpr (std::is_arithmetic_v<R>) {
    R out{};
    if (readArithmetic<R, false>(ivar->signature, ivar->getter, self, nullptr, &out)) return out;
  }
  return zeroValue<R>();
}

}  // namespace detail

// The private field `name` of `obj` (object_getIvar by name), as T; zero when absent.
template <class T>
T object_getIvar(const Object* obj, std::string_view name) {
  if (!obj || !obj->isa()) return detail::zeroValue<T>();
  return detail::readIvar<T>(obj->isa()->ivar(name), const_cast<Object*>(obj));
}

// valueForKey: — the method named `key` taking no argument when the object answers it, else the
// field "_key", else the field "key". Numbers convert to a numeric T as key-value coding boxes
// and unboxes them; anything else must be read with its own type. Zero when nothing matches.
template <class T>
T valueForKey(const Object* obj, std::string_view key) {
  if (!obj || !obj->isa()) return detail::zeroValue<T>();
  Object* self = const_cast<Object*>(obj);
  const Class* cls = obj->isa();
  SEL sel = sel_registerName(key);
  if (const Method* m = cls->lookUpMethod(sel)) {
    if (m->signature() == typeKey<T (*)(id, SEL)>())
      return reinterpret_cast<T (*)(id, SEL)>(m->implementation())(self, sel);
    if constexpr (std::is_arithmetic_v<T>) {
      T out{};
      if (detail::readArithmetic<T, true>(m->signature(), m->implementation(), self, sel, &out)) return out;
    }
    return detail::zeroValue<T>();
  }
  std::string underscored = "_" + std::string(key);
  if (const Ivar* ivar = cls->ivar(underscored)) return detail::readIvar<T>(ivar, self);
  return detail::readIvar<T>(cls->ivar(key), self);
}

}  // namespace platform
