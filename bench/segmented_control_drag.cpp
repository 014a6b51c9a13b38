// One frame of a drag on the panel's segmented control (170 x 30, mask
// transition, dribble outline): the touch moves, the scroll view follows, the
// delegate hears the percent, the tree is laid out and the control is drawn
// at 2x. Goal: under 1 ms median per frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/TSSegmentedControl/TSSegmentedControl.h"

namespace {

using namespace platform;

// Answers as the panel does: two titles; watches the percent cross the middle.
class PanelLike : public TSSegmentedControlDataSource, public TSSegmentedControlDelegate {
 public:
  long numberOfStatesInSegmentedControl(TSSegmentedControl&) override { return 2; }
  std::optional<std::string> titleForStateAtIndex(TSSegmentedControl&, long i) override {
    return i == 0 ? "Toggles" : "Behaviors";
  }
  void didScrollWithXOffset(TSSegmentedControl&, double, double percent, long, long) override {
    if (percent > 0.5 && previous < percent)
      ++switches;
    else if (percent < 0.5 && !(previous < percent))
      ++switches;
    previous = percent;
  }
  double previous = 0;
  long switches = 0;
};

void BM_SegmentedControlDragFrame(benchmark::State& state) {
  ManualTaskEnvironment env;
  auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 812));
  window->makeKeyAndVisible();
  auto holder = std::make_shared<UIView>(CGRectMake(87.5, 727, 200, 60));
  window->addSubview(holder);
  auto control = std::make_shared<TSSegmentedControl>(CGRectMake(15, 15, 170, 30));
  holder->addSubview(control);
  auto panel = std::make_shared<PanelLike>();
  control->setTextColor(UIColor(0.845, 0.845, 0.845, 0.9));
  control->setSelectedStateTextColor(UIColor::darkGrayColor());
  control->setBackgroundColor(UIColor(0, 0, 0, 0.15));
  control->setSelectorViewColor(UIColor::whiteColor());
  control->setApplyCornerRadiusToSelectorView(true);
  control->setCornerRadius(15);
  control->setTransitionStyle(TSSegmentedControlTransitionStyle::Mask);
  control->setShadowsEnabled(false);
  control->setGradientBounceColor(UIColor::whiteColor());
  control->setDelegate(panel);
  control->setDataSource(panel);
  window->layoutIfNeeded();

  ViewRenderer renderer;
  const double y = 727 + 30;
  double x = 87.5 + 15 + 42;  // on the selector at state 0
  window->sendTouch(UITouchPhase::Began, {x, y});
  env.fastForwardBy(std::chrono::milliseconds(8));
  x += 12;
  window->sendTouch(UITouchPhase::Moved, {x, y});  // the drag begins
  double step = 2.5;
  for (auto _ : state) {
    env.advance(std::chrono::microseconds(8333));
    x += step;
    if (x > 87.5 + 15 + 150 || x < 87.5 + 15 + 40) step = -step;
    window->sendTouch(UITouchPhase::Moved, {x, y});
    window->layoutIfNeeded();
    auto image = renderer.renderView(*control, 2);
    benchmark::DoNotOptimize(image);
  }
  window->sendTouch(UITouchPhase::Ended, {x, y});
  state.counters["switches"] = static_cast<double>(panel->switches);
}
BENCHMARK(BM_SegmentedControlDragFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
