#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Geometry.h"
#include "platform/ui/UIColor.h"

namespace platform {
class UIView;
}

// The two classes of the plug-in library that the apps page uses, reached as
// the settings bundle reaches them on the phone: the library is loaded into
// the Settings app (dlopen of /Library/MobileSubstrate/DynamicLibraries/
// Tessra2.dylib, lazy binding, result ignored) and the classes are looked up
// by name in the object runtime. What the page sends, and the exact C++
// signatures the library's methods must have:
//
//   TessraStorageManager  +sharedInstance                       id (*)(id, SEL)
//                         -loadDictionaryFromStorage            void (*)(id, SEL)
//                         -getNbCustomizedThingsForBundleId:    int64_t (*)(id, SEL, std::string)
//   TSCustomizedThingsView +initWithFrame:bundleId:uiColor:     std::shared_ptr<platform::UIView>
//                                                               (*)(id, SEL, platform::CGRect, std::string,
//                                                                   platform::UIColor)
//
// A class or method that is missing (library not installed, older library)
// yields no object: counts are 0 and no summary view is made. Stateless.
class TessraPluginClasses {
 public:
  static constexpr const char* kStorageManagerClass = "TessraStorageManager";
  static constexpr const char* kSummaryViewClass = "TSCustomizedThingsView";

  // Loads the plug-in library into this process (once; later calls do nothing).
  static void loadPluginLibrary();
  // Has the plug-in's store read the domain again (nothing without the class).
  static void loadDictionaryFromStorage();
  // The plug-in store's number of customized things of an app (0 without the class).
  static int64_t getNbCustomizedThingsForBundleId(const std::string& bundleId);
  // A new summary strip for an app, or null without the class.
  static std::shared_ptr<platform::UIView> summaryView(platform::CGRect frame, const std::string& bundleId,
                                                       platform::UIColor color);
};
