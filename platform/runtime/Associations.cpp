#include "platform/runtime/Associations.h"

#include <algorithm>

namespace platform {

AssociationTable& AssociationTable::of(Object& obj) {
  if (!obj.associations_) obj.associations_ = std::make_unique<AssociationTable>();
  return *obj.associations_;
}

AssociationTable* AssociationTable::find(const Object& obj) { return obj.associations_.get(); }

void AssociationTable::set(Entry entry) {
  bool empty = !entry.strong && !entry.weak && !entry.value;
  Entry replaced;  // released after the lock is dropped: a released value may touch this table
  {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == entry.key; });
    if (it != entries_.end()) {
      replaced = std::move(*it);
      if (empty) {
        entries_.erase(it);
      } else {
        *it = std::move(entry);
      }
    } else if (!empty) {
      entries_.push_back(std::move(entry));
    }
  }
}

AssociationTable::Entry AssociationTable::get(const void* key) const {
  std::lock_guard lock(mutex_);
  for (const Entry& e : entries_) {
    if (e.key == key) return e;
  }
  return {};
}

void AssociationTable::clear() {
  std::vector<Entry> old;
  {
    std::lock_guard lock(mutex_);
    old.swap(entries_);
  }
}

void objc_setAssociatedObject(Object* obj, const void* key, Object* value, AssociationPolicy policy) {
  if (!obj) return;
  AssociationTable::Entry e;
  e.key = key;
  if (policy == AssociationPolicy::Retain) {
    e.strong = value;
  } else {
    e.weak = value;
  }
  AssociationTable::of(*obj).set(std::move(e));
}

id objc_getAssociatedObject(const Object* obj, const void* key) {
  if (!obj) return nullptr;
  const AssociationTable* table = AssociationTable::find(*obj);
  if (!table) return nullptr;
  AssociationTable::Entry e = table->get(key);
  return e.strong ? e.strong.get() : e.weak;
}

void objc_removeAssociatedObjects(Object* obj) {
  if (!obj) return;
  if (AssociationTable* table = AssociationTable::find(*obj)) table->clear();
}

}  // namespace platform
