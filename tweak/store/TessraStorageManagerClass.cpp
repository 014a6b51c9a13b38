#include "tweak/store/TessraStorageManagerClass.h"

#include <cstdint>
#include <string>

#include "platform/runtime/Runtime.h"
#include "tweak/store/TessraStorageManager.h"

using namespace platform;

namespace {

// The one runtime object that stands for the store.
id sharedInstanceImp(id cls, SEL) {
  static Ref<Object> instance = class_createInstance(static_cast<Class*>(cls));
  return instance.get();
}

void loadDictionaryFromStorageImp(id, SEL) { TessraStorageManager::sharedInstance().loadDictionaryFromStorage(); }

int64_t getNbCustomizedThingsImp(id, SEL, std::string bundleId) {
  return TessraStorageManager::sharedInstance().getNbCustomizedThingsForBundleId(bundleId);
}

}  // namespace

void TessraStorageManagerClass::registerClass() {
  Class* cls = Runtime::allocateClass(kClassName, Runtime::rootClass());
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &sharedInstanceImp, "@@:");
  class_addMethod(cls, SELECTOR("loadDictionaryFromStorage"), &loadDictionaryFromStorageImp, "v@:");
  class_addMethod(cls, SELECTOR("getNbCustomizedThingsForBundleId:"), &getNbCustomizedThingsImp);
  Runtime::registerClass(cls);
}

// In the plug-in library (linked whole) the class exists as soon as the library is loaded.
__attribute__((constructor)) static void registerTessraStorageManagerClass() {
  TessraStorageManagerClass::registerClass();
}
