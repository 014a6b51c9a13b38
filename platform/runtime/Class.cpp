#include "platform/runtime/Class.h"

#include <algorithm>
#include <bit>
#include <map>

#include "platform/runtime/RuntimeLock.h"

namespace platform {

Class::Class(std::string name, Class* superclass, Class* meta, bool isMeta, Factory factory)
    : name_(std::move(name)), superclass_(superclass), meta_(meta), isMeta_(isMeta), factory_(factory) {
  // Classes are never released: the one reference taken here is never given back.
  retain();
  rebuildOwnTable();
}

Class::~Class() = default;

bool Class::isSubclassOf(const Class* other) const {
  if (!other) return false;
  for (const Class* c = this; c; c = c->superclass_) {
    if (c == other) return true;
    if (c->superclass_ == c) break;
  }
  return false;
}

Method* Class::ownMethod(SEL sel) const {
  std::lock_guard lock(detail::runtimeWriteLock());
  for (const Method& m : methods_) {
    if (m.name() == sel) return const_cast<Method*>(&m);
  }
  return nullptr;
}

bool Class::addMethod(SEL sel, RawImp imp, const void* signature, std::string types) {
  if (!sel || !imp) return false;
  std::lock_guard lock(detail::runtimeWriteLock());
  if (ownMethod(sel)) return false;
  methods_.emplace_back(this, sel, imp, signature, std::move(types));
  rebuildTables();
  return true;
}

RawImp Class::replaceMethod(SEL sel, RawImp imp, const void* signature, std::string types, bool* ok) {
  *ok = false;
  if (!sel || !imp) return nullptr;
  std::lock_guard lock(detail::runtimeWriteLock());
  if (Method* own = ownMethod(sel)) {
    if (own->signature() != signature) return nullptr;
    *ok = true;
    own->noteImplementation(imp);
    return own->exchangeImplementation(imp);
  }
  RawImp inherited = nullptr;
  if (Method* m = lookUpMethod(sel)) {
    if (m->signature() != signature) return nullptr;
    inherited = m->implementation();
  }
  methods_.emplace_back(this, sel, imp, signature, std::move(types));
  rebuildTables();
  *ok = true;
  return inherited;
}

void Class::addIvar(Ivar ivar) {
  std::lock_guard lock(detail::runtimeWriteLock());
  auto it = std::find_if(ivars_.begin(), ivars_.end(), [&](const Ivar& i) { return i.name == ivar.name; });
  if (it != ivars_.end()) {
    *it = std::move(ivar);
  } else {
    ivars_.push_back(std::move(ivar));
  }
}

const Ivar* Class::ivar(std::string_view name) const {
  std::lock_guard lock(detail::runtimeWriteLock());
  for (const Class* c = this; c; c = c->superclass_) {
    for (const Ivar& i : c->ivars_) {
      if (i.name == name) return &i;
    }
    if (c->superclass_ == c) break;
  }
  return nullptr;
}

Ref<Object> Class::createInstance() {
  if (isMeta_) return nullptr;
  for (const Class* c = this; c; c = c->superclass_) {
    if (c->factory_) {
      Ref<Object> obj = c->factory_();
      if (obj) obj->isa_ = this;
      return obj;
    }
  }
  return nullptr;
}

void Class::rebuildTables() {
  rebuildOwnTable();
  for (Class* sub : subclasses_) {
    if (sub != this) sub->rebuildTables();
  }
}

void Class::rebuildOwnTable() {
  // Gather the chain root first, so that a subclass's method replaces its superclass's.
  std::vector<const Class*> chain;
  for (const Class* c = this; c; c = c->superclass_) {
    if (std::find(chain.begin(), chain.end(), c) != chain.end()) break;  // the root metaclass loops to its class
    chain.push_back(c);
  }
  std::map<SEL, Method*> all;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const Method& m : (*it)->methods_) all[m.name()] = const_cast<Method*>(&m);
  }
  auto table = std::make_unique<Table>();
  uint32_t size = std::bit_ceil(static_cast<uint32_t>(std::max<size_t>(2 * all.size(), 4)));
  table->mask = size - 1;
  table->slots = std::make_unique<Slot[]>(size);
  for (const auto& [sel, method] : all) {
    uintptr_t h = (reinterpret_cast<uintptr_t>(sel) >> 4) * 0x9E3779B97F4A7C15ull;
    uint32_t i = static_cast<uint32_t>(h >> 40) & table->mask;
    while (table->slots[i].sel) i = (i + 1) & table->mask;
    table->slots[i] = Slot{sel, method};
  }
  table_.store(table.get(), std::memory_order_release);
  tables_.push_back(std::move(table));
}

}  // namespace platform
