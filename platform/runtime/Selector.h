#pragma once

#include <string>
#include <string_view>

namespace platform {

// A selector: the name of a message ("setVolume:forCategory:"), interned so
// that two selectors with the same name are the same pointer. Comparing and
// hashing selectors never touches the characters. Selectors live for the
// whole process.
struct Selector {
  std::string name;
};
using SEL = const Selector*;

// The unique selector named `name` (created on first use; thread-safe).
SEL sel_registerName(std::string_view name);
// The name of `sel` ("" for null).
const char* sel_getName(SEL sel);

}  // namespace platform

// A selector interned once per call site: later calls cost one guarded load,
// so hot paths never hash the name. Usage: SELECTOR("setVolume:").
#define SELECTOR(literal)                                                          \
  ([]() -> ::platform::SEL {                                                       \
    static const ::platform::SEL interned = ::platform::sel_registerName(literal); \
    return interned;                                                               \
  }())
