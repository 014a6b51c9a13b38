#pragma once

// The second load-time routine: installs what the behaviours need while an
// app runs, under the same two conditions as the main start-up (the
// home-screen process, the plug-in enabled): the switcher's kill-all method
// used by "Kill All Running Apps" and the hooks that enforce the behaviours.
class BehavioursStartup {
 public:
  // The load-time routine; runs after TessraStartup::mainStartUp.
  static void startUp();
};
