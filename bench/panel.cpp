// The customization panel on a 375 x 812 phone, with the bundle's images and
// every toggle shown. Goals (medians): building the whole panel (both rings,
// the sliders, the segmented control, the labels and their constraints)
// under 2 ms; each frame of the opening animation at 2x with the blurred
// backdrop under 8.3 ms (also measured without the blur, for the ratio); a
// tap on a toggle button until the store is saved and the notification
// posted under 1 ms, the flush to disk excluded (device root on tmpfs).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/ui/Animator.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/panel/Tessra2RingView.h"
#include "tweak/panel/Tessra2ToggleButton.h"
#include "tweak/panel/Tessra2ViewController.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

using namespace platform;

// A device root on tmpfs with the bundle's images, a phone, the settings bound.
class PanelBench {
 public:
  PanelBench() {
    std::string pattern = "/dev/shm/tessra-panel-bench-XXXXXX";
    root_ = mkdtemp(pattern.data());
    DevicePaths::setRoot(root_);
    std::filesystem::path bundle = root_ / "Library/Application Support/Tessra2Bundle.bundle";
    std::filesystem::create_directories(bundle.parent_path());
    std::filesystem::copy(TESSRA_PLUGIN_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
    HBPreferences::reloadDomain(tessra::kPreferencesDomain);
    springboard::DeviceConfiguration config;
    config.feedbackSupportLevel = 2;
    springboard::DeviceModel::shared().configure(config);
    UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 375, 812));
    auto& store = TessraStorageManager::sharedInstance();
    store.bindSettings();
    store.interfaceColorStyle = 1;
    store.loadDictionaryFromStorage();
    window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 812));
    presenter = std::make_shared<UIViewController>();
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
  }
  ~PanelBench() {
    window->setHidden(true);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::shared_ptr<Tessra2ViewController> makePanel() {
    auto panel = std::make_shared<Tessra2ViewController>();
    panel->setupWithBundleId("com.example.maps", "Maps", plist::Dictionary{});
    panel->view()->setFrame(presenter->view()->frame());
    panel->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
    panel->setModalTransitionStyle(UIModalTransitionStyle::CrossDissolve);
    return panel;
  }
  void dismiss() {
    presenter->dismissViewControllerAnimated(false, nullptr);
    tasks.fastForwardBy(seconds(2));
  }

  ManualTaskEnvironment tasks;
  std::shared_ptr<UIWindow> window;
  std::shared_ptr<UIViewController> presenter;

 private:
  std::filesystem::path root_;
};

void BM_BuildWholePanel(benchmark::State& state) {
  PanelBench bench;
  for (auto _ : state) {
    auto panel = bench.makePanel();
    panel->viewWillAppear(false);
    panel->view()->layoutIfNeeded();
    benchmark::DoNotOptimize(panel->bottomLabel()->frame());
    state.PauseTiming();
    panel.reset();
    bench.tasks.fastForwardBy(seconds(1));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildWholePanel)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One frame of the opening animation (the cross-dissolve and the buttons' fly-out): the clock moves
// 1/120 s, the animations step, the screen is drawn at 2x. A new panel opens every 42 frames.
void openingFrame(benchmark::State& state, bool blurred) {
  PanelBench bench;
  ViewRenderer renderer;
  const Duration frame = seconds(Animator::kFrameInterval);
  const int framesPerOpening = static_cast<int>(UIViewController::kTransitionDuration / Animator::kFrameInterval);
  int frameIndex = framesPerOpening;
  std::shared_ptr<Tessra2ViewController> panel;
  for (auto _ : state) {
    if (frameIndex == framesPerOpening) {
      state.PauseTiming();
      if (panel) bench.dismiss();
      panel = bench.makePanel();
      bench.presenter->showViewController(panel, bench.presenter.get());
      panel->view()->layoutIfNeeded();
      if (!blurred) panel->blurEffectView()->setEffect(std::nullopt);
      frameIndex = 0;
      state.ResumeTiming();
    }
    bench.tasks.advance(frame);
    Animator::shared().tick();
    auto image = renderer.renderScreen(2);
    benchmark::DoNotOptimize(image);
    ++frameIndex;
  }
}
void BM_OpeningFrameBlurred(benchmark::State& state) { openingFrame(state, true); }
void BM_OpeningFrameWithoutBlur(benchmark::State& state) { openingFrame(state, false); }
BENCHMARK(BM_OpeningFrameBlurred)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpeningFrameWithoutBlur)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A tap on the Wi-Fi button: touch down and up through the window, the state advanced and
// restyled, the haptic impact, the store written and saved, the reload notification posted.
void BM_TapToggleButtonToSaved(benchmark::State& state) {
  PanelBench bench;
  UIView::setSnapshotProvider(nullptr);  // as in the device's host: cross-dissolves fade without a snapshot
  int posted = 0;
  uint64_t token = DarwinNotificationCenter::shared().addObserver(std::string(tessra::kReloadPrefsNotification),
                                                                  [&posted](const std::string&) { ++posted; });
  auto panel = bench.makePanel();
  bench.presenter->showViewController(panel, bench.presenter.get());
  bench.tasks.fastForwardBy(seconds(1));
  Tessra2ToggleButton& wifi = *panel->togglesRingView()->buttonsArray()[3];
  const CGRect r = wifi.convertRect(wifi.bounds(), nullptr);
  const CGPoint centre{r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
  for (auto _ : state) {
    bench.window->sendTouch(UITouchPhase::Began, centre);
    bench.window->sendTouch(UITouchPhase::Ended, centre);
    state.PauseTiming();
    bench.tasks.fastForwardBy(seconds(0.3));  // the pop and the badge's fade end before the next tap
    state.ResumeTiming();
  }
  if (posted != static_cast<int>(state.iterations())) state.SkipWithError("not every tap saved and posted");
  DarwinNotificationCenter::shared().removeObserver(token);
}
BENCHMARK(BM_TapToggleButtonToSaved)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
