#pragma once

#include <mutex>

namespace platform::detail {

// The lock every change to a class (methods, fields, subclasses, tables) is
// made under. Message sends never take it. Recursive, because defining a
// class's methods may look up other methods on the way.
std::recursive_mutex& runtimeWriteLock();

}  // namespace platform::detail
