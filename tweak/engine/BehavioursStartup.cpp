#include "tweak/engine/BehavioursStartup.h"

#include "platform/foundation/ProcessInfo.h"
#include "tweak/engine/Actions.h"
#include "tweak/engine/ActionsHelper.h"
#include "tweak/engine/TessraStartup.h"
#include "tweak/store/TessraStorageManager.h"

void BehavioursStartup::startUp() {
  if (platform::ProcessInfo::processName() != TessraStartup::kHomeScreenProcessName) return;
  if (!TessraStorageManager::sharedInstance().enabled) return;
  ActionsHelper::installClearAllAppsMethod();
  Actions::installBehaviourHooks();
}
