#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Method.h"
#include "platform/runtime/Object.h"

namespace platform {

// A named private field of a class, read through a getter of the field's type
// (object_getIvar / key-value reads of "_name").
struct Ivar {
  std::string name;
  const void* signature = nullptr;  // typeKey of the getter's function type T (*)(id)
  char encoding = '?';
  RawImp getter = nullptr;
};

// A class of the object runtime (objc_class). It has a name, a superclass, a
// metaclass holding its class methods, its own methods and private fields,
// and a factory that makes the C++ object behind each instance.
//
// Message lookup goes through a flattened table of every method the class
// answers (own and inherited), rebuilt whenever a method is added anywhere up
// the chain; readers load the table with one atomic read, so a send costs a
// pointer-hash probe with no lock, no string work and no allocation. Old
// tables are kept until the class dies, so a reader never sees freed memory.
//
// Classes are created by Runtime::allocateClass and live for the whole
// process (hooks keep pointers to their methods); a class that should be
// absent is unregistered from its name, not destroyed.
class Class final : public Object {
 public:
  using Factory = Ref<Object> (*)();

  ~Class() override;

  const std::string& name() const { return name_; }
  Class* superclass() const { return superclass_; }
  // The metaclass, whose methods are this class's class methods (null for a metaclass).
  Class* metaclass() const { return meta_; }
  bool isMetaclass() const { return isMeta_; }
  // Whether this class is `other` or inherits from it.
  bool isSubclassOf(const Class* other) const;

  // The method answering `sel`, own or inherited, or null. Lock-free.
  Method* lookUpMethod(SEL sel) const {
    const Table* t = table_.load(std::memory_order_acquire);
    uintptr_t h = (reinterpret_cast<uintptr_t>(sel) >> 4) * 0x9E3779B97F4A7C15ull;
    for (uint32_t i = static_cast<uint32_t>(h >> 40) & t->mask;; i = (i + 1) & t->mask) {
      const Slot& s = t->slots[i];
      if (s.sel == sel) return s.method;
      if (!s.sel) return nullptr;
    }
  }
  // Whether instances answer `sel` (class_respondsToSelector).
  bool respondsTo(SEL sel) const { return lookUpMethod(sel) != nullptr; }
  // The method this class itself defines for `sel` (not inherited), or null.
  Method* ownMethod(SEL sel) const;

  // Adds a method; false (and nothing changes) when this class already defines `sel`.
  bool addMethod(SEL sel, RawImp imp, const void* signature, std::string types);
  // Sets the implementation of `sel` on this class, adding the method when it is only
  // inherited or missing. Answers the implementation in force before for this class
  // (the inherited one when the method was added here), or null when there was none
  // or the signature differs (then nothing changes).
  RawImp replaceMethod(SEL sel, RawImp imp, const void* signature, std::string types, bool* ok);

  // Declares a private field read by `getter`.
  void addIvar(Ivar ivar);
  // The field named `name` of this class or a superclass, or null.
  const Ivar* ivar(std::string_view name) const;

  // Makes a new instance: the nearest factory up the chain builds it and its class is set to this one.
  // Null for a metaclass or when no class of the chain has a factory.
  Ref<Object> createInstance();

 private:
  friend class Runtime;
  struct Slot {
    SEL sel = nullptr;
    Method* method = nullptr;
  };
  struct Table {
    uint32_t mask = 0;
    std::unique_ptr<Slot[]> slots;
  };

  Class(std::string name, Class* superclass, Class* meta, bool isMeta, Factory factory);
  void setMetaclass(Class* meta) {
    meta_ = meta;
    isa_ = meta;
  }
  // Rebuilds this class's table and those of every subclass; caller holds the runtime's write lock.
  void rebuildTables();
  void rebuildOwnTable();

  std::string name_;
  Class* superclass_;
  Class* meta_;
  bool isMeta_;
  Factory factory_;
  std::deque<Method> methods_;
  std::vector<Ivar> ivars_;
  std::vector<Class*> subclasses_;
  std::atomic<const Table*> table_{nullptr};
  std::vector<std::unique_ptr<Table>> tables_;  // current one last; older ones kept for racing readers
};

}  // namespace platform
