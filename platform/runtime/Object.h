#pragma once

#include <atomic>
#include <memory>

#include "platform/runtime/Ref.h"
#include "platform/runtime/TypeEncoding.h"

namespace platform {

class AssociationTable;

// The root of every runtime object (NSObject's storage): a pointer to the
// object's class, which decides how it answers messages, an intrusive
// reference count, and the table of associated values attached at run time.
// Objects are created by their class (Class::createInstance) or by
// makeObject<T>(cls, ...); they are owned through Ref<> and destroyed when the
// last reference goes, together with every value associated with them.
// Reference counting is thread-safe; associated values are meant to be set on
// the main thread.
class Object {
 public:
  Object();
  virtual ~Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // The object's class (null for an object whose class was never set: it answers no message).
  Class* isa() const { return isa_; }

  // Adds one strong reference.
  void retain() const { refCount_.fetch_add(1, std::memory_order_relaxed); }
  // Drops one strong reference; the object is destroyed when none is left.
  void release() const;
  // The current number of strong references (for tests and diagnostics).
  long retainCount() const { return refCount_.load(std::memory_order_relaxed); }

 private:
  friend class Class;
  friend class AssociationTable;
  template <class T, class... Args>
  friend Ref<T> makeObject(Class* cls, Args&&... args);

  Class* isa_ = nullptr;
  mutable std::atomic<long> refCount_{0};
  std::unique_ptr<AssociationTable> associations_;
};

// Creates a C++ object of type T whose runtime class is `cls` (may be null).
template <class T, class... Args>
Ref<T> makeObject(Class* cls, Args&&... args) {
  Ref<T> obj(new T(std::forward<Args>(args)...));
  static_cast<Object*>(obj.get())->isa_ = cls;
  return obj;
}

// The class of `obj` (object_getClass); null for null. For a class object it is its metaclass.
Class* object_getClass(const Object* obj);
// The name of `obj`'s class ("nil" for null).
const char* object_getClassName(const Object* obj);

}  // namespace platform
