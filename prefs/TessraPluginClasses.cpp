#include "prefs/TessraPluginClasses.h"

#include <dlfcn.h>

#include <mutex>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "prefs/TessraPrefsNames.h"

using namespace platform;

namespace {

// The plug-in's shared store object, or null.
id storageManager() {
  Class* cls = objc_getClass(TessraPluginClasses::kStorageManagerClass);
  return cls ? msgSend<id>(cls, "sharedInstance") : nullptr;
}

}  // namespace

void TessraPluginClasses::loadPluginLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto path = DevicePaths::resolve(tessra::prefs::kPluginPath);
    if (path && dlopen(path->c_str(), RTLD_LAZY | RTLD_GLOBAL)) return;
    const char* why = path ? dlerror() : "no device path";
    Log::write(std::string("Tessra2Prefs: the plug-in library could not be loaded: ") + (why ? why : "unknown"));
  });
}

void TessraPluginClasses::loadDictionaryFromStorage() { msgSend<void>(storageManager(), "loadDictionaryFromStorage"); }

int64_t TessraPluginClasses::getNbCustomizedThingsForBundleId(const std::string& bundleId) {
  return msgSend<int64_t, std::string>(storageManager(), "getNbCustomizedThingsForBundleId:", bundleId);
}

std::shared_ptr<UIView> TessraPluginClasses::summaryView(CGRect frame, const std::string& bundleId, UIColor color) {
  Class* cls = objc_getClass(kSummaryViewClass);
  if (!cls) return nullptr;
  return msgSend<std::shared_ptr<UIView>, CGRect, std::string, UIColor>(cls, "initWithFrame:bundleId:uiColor:", frame,
                                                                        bundleId, color);
}
