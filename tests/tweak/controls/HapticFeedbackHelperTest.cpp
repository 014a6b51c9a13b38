#include <gtest/gtest.h>

#include "platform/runtime/Runtime.h"
#include "tests/tweak/controls/ControlsTestDevice.h"
#include "tweak/controls/HapticFeedbackHelper.h"

namespace {

platform::springboard::DeviceConfiguration withFeedbackLevel(long level) {
  platform::springboard::DeviceConfiguration config;
  config.feedbackSupportLevel = level;
  return config;
}

platform::springboard::HapticsState& haptics() { return ControlsTestDevice::model().state().haptics(); }

TEST(HapticFeedbackHelperTest, ADeviceWithoutFeedbackSupportGivesNone) {
  ControlsTestDevice device("13.3", withFeedbackLevel(0));
  HapticFeedbackHelper::sendImpact();
  HapticFeedbackHelper::sendImpactWithStyle(HapticFeedbackHelper::kStyleHeavy);
  EXPECT_TRUE(haptics().systemSoundsPlayed().empty());
  EXPECT_TRUE(haptics().impacts().empty());
}

TEST(HapticFeedbackHelperTest, SystemSoundDevicesPopForHeavyImpactsAndPeekOtherwise) {
  ControlsTestDevice device("12.4", withFeedbackLevel(1));
  HapticFeedbackHelper::sendImpact();
  HapticFeedbackHelper::sendImpactWithStyle(HapticFeedbackHelper::kStyleMedium);
  HapticFeedbackHelper::sendImpactWithStyle(HapticFeedbackHelper::kStyleHeavy);
  EXPECT_EQ(haptics().systemSoundsPlayed(), (std::vector<uint32_t>{1519, 1519, 1520}));
  EXPECT_TRUE(haptics().impacts().empty());
}

TEST(HapticFeedbackHelperTest, ImpactDevicesProduceOneImpactOfTheAskedStyle) {
  ControlsTestDevice device("13.3", withFeedbackLevel(2));
  HapticFeedbackHelper::sendImpact();
  HapticFeedbackHelper::sendImpactWithStyle(HapticFeedbackHelper::kStyleHeavy);
  EXPECT_EQ(haptics().impacts(), (std::vector<long>{0, 2}));
  EXPECT_TRUE(haptics().systemSoundsPlayed().empty());
}

TEST(HapticFeedbackHelperTest, WithoutTheGeneratorClassImpactDevicesGiveNone) {
  ControlsTestDevice device("13.3", withFeedbackLevel(2));
  platform::Runtime::unregisterClass("UIImpactFeedbackGenerator");
  HapticFeedbackHelper::sendImpact();
  EXPECT_TRUE(haptics().impacts().empty());
  EXPECT_TRUE(haptics().systemSoundsPlayed().empty());
}

}  // namespace
