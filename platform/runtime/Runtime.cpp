#include "platform/runtime/Runtime.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <unordered_map>

#include "platform/foundation/Log.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/RuntimeLock.h"
#include "platform/runtime/Substrate.h"

namespace platform {

std::recursive_mutex& detail::runtimeWriteLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

namespace {

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

bool respondsToSelectorImp(id self, SEL, SEL sel) { return respondsToSelector(self, sel); }
bool isKindOfClassImp(id self, SEL, Class* cls) { return isKindOfClass(self, cls); }
Class* classImp(id self, SEL) {
  // For a class object, +class answers the class itself.
  if (Class* cls = dynamic_cast<Class*>(self); cls && !cls->isMetaclass()) return cls;
  return object_getClass(self);
}

// The classes of the process. Class objects are never destroyed (hooks and
// objects keep pointers to them); the registry only decides which of them is
// found by name. Deliberately leaked so that it outlives static destructors.
struct Registry {
  std::shared_mutex mutex;
  std::unordered_map<std::string, Class*, StringHash, std::equal_to<>> byName;
  std::atomic<uint64_t> generation{1};
  Class* root = nullptr;
};

Registry& registry();

Class* makeRoot() {
  Class* root = Runtime::allocateClass("NSObject", nullptr, [] { return Ref<Object>(new Object); });
  class_addMethod(root, SELECTOR("respondsToSelector:"), &respondsToSelectorImp, "B@::");
  class_addMethod(root, SELECTOR("isKindOfClass:"), &isKindOfClassImp, "B@:#");
  class_addMethod(root, SELECTOR("class"), &classImp, "#@:");
  return root;
}

Registry& registry() {
  static Registry* r = new Registry;
  return *r;
}

Class*& rootSlot() {
  static Class* root = [] {
    Class* c = makeRoot();
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.byName[c->name()] = c;
    r.generation.fetch_add(1, std::memory_order_acq_rel);
    return c;
  }();
  return root;
}

}  // namespace

Class* Runtime::allocateClass(std::string name, Class* superclass, Class::Factory factory) {
  std::lock_guard lock(detail::runtimeWriteLock());
  auto* cls = new Class(name, superclass, nullptr, false, factory);
  // A root class's metaclass inherits from the root class itself, so classes answer its instance methods.
  Class* metaSuper = superclass ? superclass->meta_ : cls;
  auto* meta = new Class(std::move(name), metaSuper, nullptr, true, nullptr);
  cls->setMetaclass(meta);
  if (superclass) superclass->subclasses_.push_back(cls);
  if (metaSuper) metaSuper->subclasses_.push_back(meta);
  return cls;
}

void Runtime::registerClass(Class* cls) {
  if (!cls || cls->isMetaclass()) return;
  rootSlot();
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  r.byName[cls->name()] = cls;
  r.generation.fetch_add(1, std::memory_order_acq_rel);
}

void Runtime::unregisterClass(std::string_view name) {
  rootSlot();
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  auto it = r.byName.find(name);
  if (it == r.byName.end() || it->second == rootSlot()) return;
  r.byName.erase(it);
  r.generation.fetch_add(1, std::memory_order_acq_rel);
}

Class* Runtime::lookUpClass(std::string_view name) {
  rootSlot();
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  auto it = r.byName.find(name);
  return it == r.byName.end() ? nullptr : it->second;
}

std::vector<std::string> Runtime::registeredClassNames() {
  rootSlot();
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  std::vector<std::string> names;
  for (const auto& [name, cls] : r.byName) names.push_back(name);
  std::sort(names.begin(), names.end());
  return names;
}

uint64_t Runtime::generation() {
  rootSlot();
  return registry().generation.load(std::memory_order_acquire);
}

Class* Runtime::rootClass() { return rootSlot(); }

Class* ClassHandle::get() const {
  uint64_t g = Runtime::generation();
  if (generation_.load(std::memory_order_acquire) == g) return cls_.load(std::memory_order_relaxed);
  Class* cls = Runtime::lookUpClass(name_);
  cls_.store(cls, std::memory_order_relaxed);
  generation_.store(g, std::memory_order_release);
  return cls;
}

const char* class_getName(const Class* cls) { return cls ? cls->name().c_str() : "nil"; }

Method* class_getClassMethod(const Class* cls, SEL sel) {
  return cls && cls->metaclass() ? cls->metaclass()->lookUpMethod(sel) : nullptr;
}

bool respondsToSelector(const Object* obj, SEL sel) { return obj && class_respondsToSelector(obj->isa(), sel); }

bool isKindOfClass(const Object* obj, const Class* cls) { return obj && obj->isa() && obj->isa()->isSubclassOf(cls); }

Ref<Object> class_createInstance(Class* cls) { return cls ? cls->createInstance() : nullptr; }

namespace {

std::string describe(const Class* cls, SEL sel) {
  std::string s = cls && cls->isMetaclass() ? "+[" : "-[";
  s += class_getName(cls);
  s += " ";
  s += sel_getName(sel);
  s += "]";
  return s;
}

}  // namespace

detail::HookResult detail::hookMessage(Class* cls, SEL sel, RawImp hook, const void* signature, std::string types,
                                       const std::function<void(RawImp previous)>& publish) {
  // A class that does not exist on this device: the hook simply has no effect.
  if (!cls || !sel) return HookResult::Refused;
  std::lock_guard lock(detail::runtimeWriteLock());
  Method* own = cls->ownMethod(sel);
  Method* target = own ? own : cls->lookUpMethod(sel);
  if (!target) {
    Log::write("MSHookMessageEx: " + describe(cls, sel) + " not found");
    return HookResult::Refused;
  }
  if (target->signature() != signature) {
    Log::write("MSHookMessageEx: " + describe(cls, sel) + " is " + target->typeEncoding() + ", the hook is " + types);
    return HookResult::Refused;
  }
  const std::vector<RawImp>& history = target->implementationHistory();
  if (std::find(history.begin(), history.end(), hook) != history.end()) {
    Log::write("MSHookMessageEx: " + describe(cls, sel) + " already has this hook");
    return HookResult::AlreadyInstalled;
  }
  publish(target->implementation());
  if (own) {
    own->exchangeImplementation(hook);
    own->noteImplementation(hook);
    return HookResult::Installed;
  }
  // Only inherited: the hook becomes this class's own method, the superclass keeps its own.
  cls->addMethod(sel, hook, signature, target->typeEncoding());
  return HookResult::Installed;
}

void detail::reportSignatureMismatch(const Object* receiver, SEL sel, const Method* method, const std::string& wanted) {
  static std::mutex* mutex = new std::mutex;
  static std::set<std::string>* reported = new std::set<std::string>;
  std::string what =
      describe(object_getClass(receiver), sel) + " sent as " + wanted + " but the method is " + method->typeEncoding();
  {
    std::lock_guard lock(*mutex);
    if (!reported->insert(what).second) return;
  }
  Log::write("message not sent: " + what);
}

}  // namespace platform
