// One full frame of the device's home screen, built by DeviceScreen exactly as
// the SpringBoard host shows it (the scene any frame source can reuse):
//   - PhoneHome: the phone's home screen at 2x, nothing changing;
//   - PhoneControlCenterOverMovingHome: Control Center's blur over a home screen
//     whose icons move every frame, so the blur's backdrop changes each time;
//   - TabletControlCenterStatic: the tablet at 2x (2048 x 2732 pixels) under a still blur.
//   - PhoneMovingHome: the same moving home screen without Control Center.
// Goals: the moving-backdrop frame under 4 ms and at most twice PhoneMovingHome;
// the tablet frame under 8.3 ms.
#include <benchmark/benchmark.h>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/ui/UIImage.h"

namespace {

using namespace platform;
using springboard::DeviceKind;

struct Scene {
  explicit Scene(DeviceKind kind) {
    springboard::DeviceConfiguration config;
    config.kind = kind;
    springboard::DeviceModel::shared().configure(config);
    screen = std::make_unique<springboard::DeviceScreen>(springboard::DeviceModel::shared());
    environment.runUntilIdle();
  }
  ManualTaskEnvironment environment;
  std::unique_ptr<springboard::DeviceScreen> screen;
};

void PhoneHome(benchmark::State& state) {
  Scene scene(DeviceKind::Phone);
  for (auto _ : state) benchmark::DoNotOptimize(scene.screen->render(2));
}
BENCHMARK(PhoneHome)->Unit(benchmark::kMillisecond);

// Frames of the phone's home screen whose icons slide a point each frame, with or without
// Control Center's blur over them.
enum class Overlay { None, ControlCenter };
void renderMovingHome(benchmark::State& state, Overlay overlay) {
  Scene scene(DeviceKind::Phone);
  if (overlay == Overlay::ControlCenter) springboard::DeviceModel::shared().openControlCenter();
  auto& pages = scene.screen->home().pages();
  CGRect frame = pages.frame();
  int frameNumber = 0;
  for (auto _ : state) {
    pages.setFrame(CGRectOffset(frame, (frameNumber++ % 40) - 20, 0));
    benchmark::DoNotOptimize(scene.screen->render(2));
  }
}

// The moving home screen without Control Center: the frame the blurred one is compared with.
void PhoneMovingHome(benchmark::State& state) { renderMovingHome(state, Overlay::None); }
BENCHMARK(PhoneMovingHome)->Unit(benchmark::kMillisecond);

void PhoneControlCenterOverMovingHome(benchmark::State& state) { renderMovingHome(state, Overlay::ControlCenter); }
BENCHMARK(PhoneControlCenterOverMovingHome)->Unit(benchmark::kMillisecond);

void TabletControlCenterStatic(benchmark::State& state) {
  Scene scene(DeviceKind::Tablet);
  springboard::DeviceModel::shared().openControlCenter();
  for (auto _ : state) benchmark::DoNotOptimize(scene.screen->render(2));
}
BENCHMARK(TabletControlCenterStatic)->Unit(benchmark::kMillisecond);

}  // namespace
