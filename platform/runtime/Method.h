#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/runtime/Selector.h"

namespace platform {

class Class;

// An implementation as stored: a function pointer with its type erased. It is
// only ever called through the exact function type it was registered with,
// which its Method records as a signature key.
using RawImp = void (*)();

// One method of a class: its selector, its type encoding ("v@:f"), the
// signature of its implementation, and the implementation itself. Hooks swap
// the implementation atomically, so a message send racing with a hook calls
// either the old or the new one. Methods are owned by their class and live as
// long as it does (for the whole process).
class Method {
 public:
  Method(Class* owner, SEL sel, RawImp imp, const void* signature, std::string types)
      : owner_(owner), sel_(sel), signature_(signature), types_(std::move(types)), imp_(imp), history_{imp} {}
  Method(const Method&) = delete;
  Method& operator=(const Method&) = delete;

  // The selector (method_getName).
  SEL name() const { return sel_; }
  // The type encoding given when the method was added (method_getTypeEncoding).
  const std::string& typeEncoding() const { return types_; }
  // The signature key of the implementation's C++ function type.
  const void* signature() const { return signature_; }
  // The class that holds this method.
  Class* owner() const { return owner_; }
  // The current implementation (method_getImplementation).
  RawImp implementation() const { return imp_.load(std::memory_order_acquire); }
  // Installs a new implementation of the same signature and returns the previous one (method_setImplementation).
  RawImp exchangeImplementation(RawImp imp) { return imp_.exchange(imp, std::memory_order_acq_rel); }

  // Every implementation this method has had, oldest first (the current one last); kept so that
  // a hook installed twice can be recognised. Changed under the runtime's write lock only.
  const std::vector<RawImp>& implementationHistory() const { return history_; }
  void noteImplementation(RawImp imp) { history_.push_back(imp); }

 private:
  Class* owner_;
  SEL sel_;
  const void* signature_;
  std::string types_;
  std::atomic<RawImp> imp_;
  std::vector<RawImp> history_;
};

}  // namespace platform
