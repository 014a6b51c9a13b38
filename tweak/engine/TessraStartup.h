#pragma once

#include <cstdint>
#include <string>

// The plug-in's main start-up, run when the library is loaded: it does
// nothing outside the home-screen process; there it binds the settings and,
// when the plug-in is enabled, registers the Darwin observers, loads the
// store, installs the engine's hooks and connects the debug log. Also owns the
// observer of the settings bundle's requests to customize an app.
// Process-wide; main thread only.
class TessraStartup {
 public:
  static constexpr const char* kHomeScreenProcessName = "SpringBoard";
  static constexpr const char* kShowInterfaceNotification = "tessra2.showTessraInterfaceWithBundleId";
  static constexpr const char* kBundleIdKey = "bundleId";

  // The main load-time routine.
  static void mainStartUp();
  // Whether mainStartUp found the home-screen process with the plug-in enabled.
  static bool isRunning();

  // (Re)installs the observer of "tessra2.showTessraInterfaceWithBundleId" on the distributed centre.
  static void addShowTessraInterfaceFromSettingsObserver();
  // Opens the customization panel for `bundleId` (presented from the settings bundle or not).
  static void openPanel(const std::string& bundleId, bool fromSettings);

 private:
  static void registerDarwinObservers();
  static void installEngineHooks();
};
