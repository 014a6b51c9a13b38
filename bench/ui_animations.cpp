// Stepping running view animations by one display frame. Goal: 200 running
// animations stepped in under 50 µs.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/Animator.h"
#include "platform/ui/UIView.h"

namespace {

using namespace platform;

void BM_StepRunningAnimations(benchmark::State& state) {
  ManualTaskEnvironment env;
  const int count = static_cast<int>(state.range(0));
  std::vector<std::shared_ptr<UIView>> views;
  for (int i = 0; i < count; ++i) {
    auto v = std::make_shared<UIView>(CGRectMake(0, 0, 50, 50));
    views.push_back(v);
    // Half fade (ease-in-out), half fly as springs: one animation each, running for hours.
    if (i % 2 == 0) {
      v->setAlpha(0);
      UIView::animateWithDuration(1e5, 0, UIViewAnimationOptions::CurveEaseInOut, [&] { v->setAlpha(1); });
    } else {
      UIView::animateWithDuration(1e5, 0, 0.3, 7, UIViewAnimationOptions::None, [&] { v->setCenter({300, 300}); });
    }
  }
  Animator& animator = Animator::shared();
  const Duration frame = seconds(Animator::kFrameInterval);
  for (auto _ : state) {
    env.advance(frame);
    animator.tick();
  }
  if (animator.runningCount() != static_cast<size_t>(count)) state.SkipWithError("animations ended early");
  state.counters["animations"] = static_cast<double>(count);
}
BENCHMARK(BM_StepRunningAnimations)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
