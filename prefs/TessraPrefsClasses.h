#pragma once

// The page classes of the settings bundle, made available by name to the
// Settings app's link rows when the bundle is loaded ("TSPrefsListController",
// "TSSubPrefsListController", "TSVolumeConfigurationPrefsListController",
// "TSAppsCustomizationPrefsListController"). Stateless.
class TessraPrefsClasses {
 public:
  // The bundle's principal class: the page the Settings app opens first.
  static constexpr const char* kPrincipalClass = "TSPrefsListController";
  // Registers the four page classes (again: replaces them).
  static void registerAll();
};
