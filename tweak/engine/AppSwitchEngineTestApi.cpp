#include "tweak/engine/AppSwitchEngineTestApi.h"

void AppSwitchEngineTestApi::reset() {
  AppSwitchEngine& engine = AppSwitchEngine::shared();
  engine.lastForegroundApp_ = nullptr;
  engine.frontBundleId_.reset();
  engine.lastForegroundAppBundleId_.clear();
  engine.coversheetIsPresented_ = false;
  engine.sbAppWhenCoversheetWasPresented_ = nullptr;
  ++engine.frontGeneration_;
  engine.inCheck_ = false;
  engine.recheckPosted_ = false;
  engine.requestedVolume_.reset();
  engine.deferredVolume_.reset();
  engine.deferredScheduled_ = false;
  engine.cachedController_ = nullptr;
  engine.siriApp_ = nullptr;
  engine.spotlightApp_ = nullptr;
}
