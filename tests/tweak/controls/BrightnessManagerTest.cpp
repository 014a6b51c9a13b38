#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/foundation/OperationQueue.h"
#include "tests/tweak/controls/ControlsTestDevice.h"
#include "tweak/controls/BrightnessManager.h"

namespace {

const platform::Duration kStep = platform::seconds(1.0 / 60.0);

class BrightnessManagerTest : public ::testing::TestWithParam<const char*> {
 protected:
  BrightnessManagerTest() : device_(GetParam()) {}

  platform::springboard::DisplayState& display() { return ControlsTestDevice::model().state().display(); }
  BrightnessManager& manager() { return BrightnessManager::sharedInstance(); }

  // Runs the glide one step period at a time and checks that each expected
  // value appears exactly at its step, the screen keeping the previous value
  // until then; then checks that nothing more happens.
  void expectStepsFromNow(const std::vector<double>& expected) {
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "step " << i + 1);
      const double before = display().brightness();
      device_.tasks.fastForwardBy(kStep - platform::Duration(1));
      EXPECT_EQ(display().brightness(), before);
      device_.tasks.fastForwardBy(platform::Duration(1));
      EXPECT_NEAR(display().brightness(), expected[i], 1e-6);
    }
    const size_t entries = ControlsTestDevice::model().state().eventLog().size();
    device_.tasks.fastForwardBy(platform::seconds(1));
    EXPECT_EQ(ControlsTestDevice::model().state().eventLog().size(), entries);
    EXPECT_EQ(manager().brightnessQueue().operationCount(), 0u);
  }

  ControlsTestDevice device_;
};

// --- Not animated

TEST_P(BrightnessManagerTest, WithoutAnimationTheBrightnessIsSetAtOnceAndTheQueueIsUntouched) {
  manager().setBrightness(0.8, false);
  EXPECT_NEAR(display().brightness(), 0.8, 1e-6);
  EXPECT_EQ(manager().brightnessQueue().operationCount(), 0u);
  EXPECT_EQ(device_.tasks.nextPendingDelay(), std::nullopt);
}

TEST_P(BrightnessManagerTest, TheEngineEntryFollowsTheAnimationSetting) {
  BrightnessManager::applyBrightness(0.7);
  EXPECT_NEAR(display().brightness(), 0.7, 1e-6);

  ControlsTestDevice::settings().brightnessAnimated = true;
  BrightnessManager::applyBrightness(0.3);
  EXPECT_NEAR(display().brightness(), 0.7, 1e-6);
  EXPECT_GT(manager().brightnessQueue().operationCount(), 1u);
  device_.tasks.fastForwardUntilNoTasksRemain();
  EXPECT_NEAR(display().brightness(), 0.3, 1e-6);
}

// --- Glides, step by step

TEST_P(BrightnessManagerTest, AFullSweepTakesTwentySixCoarseStepsAndTheExactTarget) {
  display().setBrightness(0.0, false);
  manager().setBrightness(1.0, true);
  EXPECT_EQ(manager().brightnessQueue().operationCount(), 27u);
  EXPECT_EQ(display().brightness(), 0.0);  // nothing happens before the first step period

  std::vector<double> expected;
  for (int i = 0; i <= 25; ++i) expected.push_back(std::min(1.0, 0.04 * i));
  expected.push_back(1.0);
  expectStepsFromNow(expected);
  EXPECT_EQ(device_.elapsed(), 27 * kStep + platform::seconds(1));
}

TEST_P(BrightnessManagerTest, GoingDownASmallDistanceUsesFineStepsThenTheExactTarget) {
  display().setBrightness(0.5, false);
  manager().setBrightness(0.45, true);
  expectStepsFromNow({0.5, 0.492, 0.484, 0.476, 0.468, 0.46, 0.452, 0.444, 0.45});
}

TEST_P(BrightnessManagerTest, ARiseOfATenthTakesFourteenFineStepsAndMayPassTheTarget) {
  display().setBrightness(0.3, false);
  manager().setBrightness(0.4, true);
  std::vector<double> expected;
  for (int i = 0; i < 14; ++i) expected.push_back(0.3 + 0.008 * i);
  expected.push_back(0.4);
  ASSERT_NEAR(expected[13], 0.404, 1e-9);  // just past the target, within the overshoot
  expectStepsFromNow(expected);
}

TEST_P(BrightnessManagerTest, ATargetWithinTheOvershootIsSetInOneStep) {
  display().setBrightness(0.5, false);
  manager().setBrightness(0.505, true);
  EXPECT_EQ(manager().brightnessQueue().operationCount(), 1u);
  expectStepsFromNow({0.505});

  manager().setBrightness(0.505, true);
  expectStepsFromNow({0.505});
}

TEST_P(BrightnessManagerTest, EveryStepShowsTheIndicatorWhenTheSettingAsks) {
  ControlsTestDevice::settings().showBrightnessHUD = true;
  display().setBrightness(0.5, false);
  manager().setBrightness(0.45, true);
  device_.tasks.fastForwardUntilNoTasksRemain();
  EXPECT_EQ(display().brightnessHudShows(), 9);
}

// --- A new target during a glide

TEST_P(BrightnessManagerTest, ASecondGlideCancelsTheFirstAndStartsFromTheScreensBrightness) {
  display().setBrightness(0.0, false);
  manager().setBrightness(1.0, true);
  device_.tasks.fastForwardBy(5 * kStep + kStep / 2);  // 0, 0.04, 0.08, 0.12, 0.16 shown; 0.2 under way
  ASSERT_NEAR(display().brightness(), 0.16, 1e-6);

  manager().setBrightness(0.0, true);
  // The step already under way still lands; then the new glide runs from 0.16.
  device_.tasks.fastForwardBy(kStep - kStep / 2);
  EXPECT_NEAR(display().brightness(), 0.2, 1e-6);
  expectStepsFromNow({0.16, 0.12, 0.08, 0.04, 0.0, 0.0});
}

TEST_P(BrightnessManagerTest, TheMainQueueOnlyReceivesTheSetsThemselves) {
  display().setBrightness(0.0, false);
  manager().setBrightness(1.0, true);
  // While the steps wait on the queue, the main queue has nothing to do.
  EXPECT_EQ(device_.tasks.runUntilIdle(), 0u);
  EXPECT_EQ(device_.tasks.mainLoop().pendingCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(SystemVersions, BrightnessManagerTest, ::testing::Values("12.4", "13.3"),
                         [](const auto& info) { return info.param[1] == '2' ? "iOS12" : "iOS13"; });

// --- The list of steps

TEST(BrightnessGlideStepsTest, AGlideIsCappedAtOneThousandAndOneStepsPlusTheTarget) {
  const auto steps = BrightnessManager::glideSteps(0.0, 100.0);
  ASSERT_EQ(steps.size(), 1002u);
  EXPECT_NEAR(steps[1000], 40.0, 1e-9);
  EXPECT_EQ(steps.back(), 100.0);

  const auto down = BrightnessManager::glideSteps(0.0, -1e9);
  EXPECT_EQ(down.size(), 1002u);
}

TEST(BrightnessGlideStepsTest, TheStepSizeChangesAtADistanceOfFifteenHundredths) {
  const auto fine = BrightnessManager::glideSteps(0.2, 0.34);
  EXPECT_NEAR(fine[1] - fine[0], 0.008, 1e-12);
  const auto coarse = BrightnessManager::glideSteps(0.2, 0.36);
  EXPECT_NEAR(coarse[1] - coarse[0], 0.04, 1e-12);
}

TEST(BrightnessGlideStepsTest, ATargetThatIsNotANumberChangesNothing) {
  ControlsTestDevice device("13.3");
  auto& display = ControlsTestDevice::model().state().display();
  display.setBrightness(0.4, false);
  BrightnessManager::sharedInstance().setBrightness(std::nan(""), true);
  BrightnessManager::sharedInstance().setBrightness(INFINITY, false);
  device.tasks.fastForwardUntilNoTasksRemain();
  EXPECT_EQ(display.brightness(), 0.4);
}

}  // namespace
