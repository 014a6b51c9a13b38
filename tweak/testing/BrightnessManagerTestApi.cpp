#include "tweak/testing/BrightnessManagerTestApi.h"

#include "platform/foundation/OperationQueue.h"

void BrightnessManagerTestApi::resetQueue() {
  auto& manager = BrightnessManager::sharedInstance();
  manager.brightnessQueue_->cancelAllOperations();
  manager.brightnessQueue_ = platform::OperationQueue::create("BrightnessManager.brightnessQueue");
}
