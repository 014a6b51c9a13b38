#pragma once

#include <functional>
#include <string>

#include "platform/runtime/Runtime.h"

namespace platform {

namespace detail {

enum class HookResult {
  Installed,
  Refused,           // null class, missing method or other signature: nothing changed
  AlreadyInstalled,  // `hook` is already in the method's chain: nothing changed
};

// Replaces the implementation of `sel` on `cls` by `hook`. When the class only inherits the
// method, a method is added to `cls`. `publish` receives the implementation in force before,
// and runs before the hook becomes visible to any caller. Refused when `cls` is null, nothing
// up the chain answers `sel`, or the signature differs; every failure is logged.
HookResult hookMessage(Class* cls, SEL sel, RawImp hook, const void* signature, std::string types,
                       const std::function<void(RawImp previous)>& publish);

}  // namespace detail

// CydiaSubstrate's MSHookMessageEx: makes `hook` the implementation of `sel` on `cls` and
// stores the implementation in force before in `*previous`, which the hook calls to run the
// system's behaviour. Several hooks on one method chain, the last installed running first.
// A method that `cls` only inherits is added to `cls`, with the inherited implementation as
// the previous one, so the superclass is unchanged. On a null class, a missing method or a
// signature mismatch nothing changes and `*previous` is null.
//
// Installing a hook that is already in the method's chain (a start-up routine run twice)
// would make it its own previous implementation and recurse without end: it is refused
// (and logged), and `*previous` keeps the value the first installation gave it.
// Answers whether the hook was installed now.
template <class R, class... A>
bool MSHookMessageEx(Class* cls, SEL sel, R (*hook)(id, SEL, A...), R (**previous)(id, SEL, A...)) {
  using Fn = R (*)(id, SEL, A...);
  if (!hook) {
    if (previous) *previous = nullptr;
    return false;
  }
  detail::HookResult result = detail::hookMessage(cls, sel, reinterpret_cast<RawImp>(hook), typeKey<Fn>(),
                                                  detail::encodingOf<R, A...>(), [previous](RawImp old) {
                                                    if (previous) *previous = reinterpret_cast<Fn>(old);
                                                  });
  if (result == detail::HookResult::Refused && previous) *previous = nullptr;
  return result == detail::HookResult::Installed;
}

}  // namespace platform
