#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/runtime/Ref.h"
#include "platform/runtime/Selector.h"

namespace platform {

class Object;
class Class;

// `id`: any runtime object, borrowed (the callee does not take ownership).
using id = Object*;

// An array of objects as methods pass them (NSArray of objects).
using ObjectArray = std::vector<Ref<Object>>;

namespace detail {

// The Objective-C type-encoding character of one C++ type, used to describe
// methods ("v@:" is void (id, SEL)) and to check a declared encoding against
// the implementation it comes with. Types without a letter encode as '?',
// which the check treats as matching anything.
template <class T, class = void>
struct Encoding {
  static constexpr char value = '?';
};
// clang-format off
template <> struct Encoding<void> { static constexpr char value = 'v'; };
template <> struct Encoding<bool> { static constexpr char value = 'B'; };
template <> struct Encoding<char> { static constexpr char value = 'c'; };
template <> struct Encoding<signed char> { static constexpr char value = 'c'; };
template <> struct Encoding<unsigned char> { static constexpr char value = 'C'; };
template <> struct Encoding<short> { static constexpr char value = 's'; };
template <> struct Encoding<unsigned short> { static constexpr char value = 'S'; };
template <> struct Encoding<int> { static constexpr char value = 'i'; };
template <> struct Encoding<unsigned> { static constexpr char value = 'I'; };
template <> struct Encoding<long> { static constexpr char value = 'q'; };
template <> struct Encoding<unsigned long> { static constexpr char value = 'Q'; };
template <> struct Encoding<long long> { static constexpr char value = 'q'; };
template <> struct Encoding<unsigned long long> { static constexpr char value = 'Q'; };
template <> struct Encoding<float> { static constexpr char value = 'f'; };
template <> struct Encoding<double> { static constexpr char value = 'd'; };
template <> struct Encoding<SEL> { static constexpr char value = ':'; };
template <> struct Encoding<Class*> { static constexpr char value = '#'; };
template <> struct Encoding<const char*> { static constexpr char value = '*'; };
template <> struct Encoding<std::string> { static constexpr char value = '@'; };
// clang-format on
template <class T>
struct Encoding<T*, std::enable_if_t<std::is_base_of_v<Object, T> && !std::is_same_v<T, Class>>> {
  static constexpr char value = '@';
};
template <class T>
struct Encoding<T, std::enable_if_t<std::is_enum_v<T>>> {
  static constexpr char value = Encoding<std::underlying_type_t<T>>::value;
};
// clang-format off
template <class T> struct Encoding<Ref<T>> { static constexpr char value = '@'; };
template <class T> struct Encoding<std::vector<T>> { static constexpr char value = '@'; };
template <class K, class V> struct Encoding<std::map<K, V>> { static constexpr char value = '@'; };
// clang-format on

// The encoding of a method implementation R (*)(id, SEL, A...), e.g. "v@:f".
template <class R, class... A>
std::string encodingOf() {
  return std::string{Encoding<std::remove_cv_t<R>>::value, '@', ':',
                     Encoding<std::remove_cv_t<std::remove_reference_t<A>>>::value...};
}

// Interns the mangled name of a C++ function type so that signatures compare
// by pointer, also across shared objects.
const void* internSignature(const char* mangledName);

}  // namespace detail

// A process-wide identity for the C++ type `T` (a function type for method
// signatures, any type for associated values). Cheap after the first call.
template <class T>
const void* typeKey() {
  static const void* key = detail::internSignature(typeid(T).name());
  return key;
}

// Whether the declared encoding `declared` ("v@:") fits the implementation's
// own encoding `actual`; digits (frame offsets) are ignored and '?' matches anything.
bool encodingsMatch(std::string_view declared, std::string_view actual);

}  // namespace platform
