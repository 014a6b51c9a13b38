#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/runtime/Class.h"

namespace platform {

namespace detail {

// Logs (once per class and selector) a send whose C++ signature differs from the method's.
void reportSignatureMismatch(const Object* receiver, SEL sel, const Method* method, const std::string& wanted);

template <class R>
R zeroValue() {
  if constexpr (!std::is_void_v<R>) return R{};
}

}  // namespace detail

// Sends the message `sel` to `self` (objc_msgSend) and answers the method's result.
//
// The method's implementation is called as R (*)(id, SEL, A...). The argument
// types A are deduced from the arguments unless given explicitly, and must be
// exactly the method's parameter types: msgSend<void, float>(ctl, SELECTOR("setVolume:"), 0.4)
// passes a float. Objects travel as `id`.
//
// As in Objective-C, sending to null, to an object whose class lacks the
// method, or with a signature that does not fit the method (which is also
// logged) does nothing and answers the zero value: NO, 0, nil, an empty string.
template <class R = void, class... A>
R msgSend(const Object* self, SEL sel, A... args) {
  if (!self) return detail::zeroValue<R>();
  const Class* cls = self->isa();
  if (!cls) return detail::zeroValue<R>();
  const Method* m = cls->lookUpMethod(sel);
  if (!m) return detail::zeroValue<R>();
  using Fn = R (*)(id, SEL, A...);
  if (m->signature() != typeKey<Fn>()) [[unlikely]] {
    detail::reportSignatureMismatch(self, sel, m, detail::encodingOf<R, A...>());
    return detail::zeroValue<R>();
  }
  return reinterpret_cast<Fn>(m->implementation())(const_cast<Object*>(self), sel, std::move(args)...);
}

// The same, naming the selector by its text (interned on each call: keep it off hot paths).
template <class R = void, class... A>
R msgSend(const Object* self, std::string_view selectorName, A... args) {
  return msgSend<R, A...>(self, sel_registerName(selectorName), std::move(args)...);
}

}  // namespace platform
