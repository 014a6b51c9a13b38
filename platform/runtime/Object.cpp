#include "platform/runtime/Object.h"

#include "platform/runtime/Associations.h"
#include "platform/runtime/Class.h"

namespace platform {

Object::Object() = default;

// Out of line so that AssociationTable is complete where the table is destroyed.
Object::~Object() = default;

void Object::release() const {
  if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

Class* object_getClass(const Object* obj) { return obj ? obj->isa() : nullptr; }

const char* object_getClassName(const Object* obj) {
  if (!obj) return "nil";
  return obj->isa() ? obj->isa()->name().c_str() : "nil";
}

}  // namespace platform
