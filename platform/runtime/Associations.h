#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

// How an associated object is held (objc_AssociationPolicy).
enum class AssociationPolicy {
  Assign,  // a plain pointer: the value must outlive its use
  Retain,  // a strong reference, released when the owner dies or the value is replaced
};

// The values attached to one object at run time, keyed by address. Owned by
// the object and destroyed with it, which releases every value it holds.
class AssociationTable {
 public:
  struct Entry {
    const void* key = nullptr;
    Ref<Object> strong;           // Retain policy
    Object* weak = nullptr;       // Assign policy
    std::shared_ptr<void> value;  // a C++ value (setAssociatedValue)
    const void* type = nullptr;   // typeKey of the C++ value's type
  };

  // The table of `obj`, created on first use.
  static AssociationTable& of(Object& obj);
  // The table of `obj` if it has one.
  static AssociationTable* find(const Object& obj);

  // Sets or, when the entry is empty, removes the entry for `entry.key`.
  void set(Entry entry);
  // A copy of the entry for `key` (empty when absent).
  Entry get(const void* key) const;
  // Drops every entry.
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

// Attaches `value` to `obj` under `key` (objc_setAssociatedObject); null removes it. Nothing for a null `obj`.
void objc_setAssociatedObject(Object* obj, const void* key, Object* value,
                              AssociationPolicy policy = AssociationPolicy::Retain);
// The object attached under `key`, or null (objc_getAssociatedObject).
id objc_getAssociatedObject(const Object* obj, const void* key);
// Removes every value attached to `obj`.
void objc_removeAssociatedObjects(Object* obj);

// Attaches a C++ value (a record, a dictionary) to `obj` under `key`; it lives as long as `obj`
// unless replaced. A null value removes the entry.
template <class T>
void setAssociatedValue(Object* obj, const void* key, std::shared_ptr<T> value) {
  if (!obj) return;
  AssociationTable::Entry e;
  e.key = key;
  e.type = value ? typeKey<T>() : nullptr;
  e.value = std::move(value);
  AssociationTable::of(*obj).set(std::move(e));
}

// The C++ value attached under `key` when it is a T, else null.
template <class T>
std::shared_ptr<T> getAssociatedValue(const Object* obj, const void* key) {
  if (!obj) return nullptr;
  const AssociationTable* table = AssociationTable::find(*obj);
  if (!table) return nullptr;
  AssociationTable::Entry e = table->get(key);
  if (!e.value || e.type != typeKey<T>()) return nullptr;
  return std::static_pointer_cast<T>(e.value);
}

}  // namespace platform
