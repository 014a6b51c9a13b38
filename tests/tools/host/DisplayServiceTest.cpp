// The display of the home-screen host without a bus: what it draws for the windows that look, and when.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "platform/bus/BusConnection.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/screen/BannerView.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "tools/SpringBoard/host/DisplayInput.h"
#include "tools/SpringBoard/host/DisplayService.h"

namespace tessra::device {
namespace {

using platform::springboard::DeviceModel;

class DisplayServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeviceModel::shared().configure();
    screen_ = std::make_unique<platform::springboard::DeviceScreen>(DeviceModel::shared());
    input_ = std::make_unique<DisplayInput>(*screen_, DeviceModel::shared());
    display_ = std::make_unique<DisplayService>(bus_, env_.mainLoop(), *screen_, *input_);
    env_.runUntilIdle();
  }
  void TearDown() override {
    display_.reset();
    screen_.reset();
  }
  // A task of the main loop, as the bus or a timer posts one, run now.
  void runTask(std::function<void()> task) {
    env_.mainLoop().post(std::move(task));
    env_.runUntilIdle();
  }
  void pressLock() {
    runTask([this] { display_->key(1, platform::DisplayKey::Lock, true); });
  }

  platform::ManualTaskEnvironment env_;
  platform::BusConnection bus_{[] { return std::optional<std::string>(); }};  // never started: no bus
  std::unique_ptr<platform::springboard::DeviceScreen> screen_;
  std::unique_ptr<DisplayInput> input_;
  std::unique_ptr<DisplayService> display_;
};

TEST_F(DisplayServiceTest, WithNoWindowTheViewsFollowTheDeviceButNothingIsDrawn) {
  env_.fastForwardBy(platform::seconds(1));
  runTask([] {
    platform::springboard::NotificationBanners::post({"com.apple.MobileSMS", "Anna", "Hi", std::nullopt, nullptr});
  });
  // The banner started sliding in with the task that posted it.
  EXPECT_TRUE(screen_->home().banner().isPresented());
  pressLock();
  env_.fastForwardBy(platform::seconds(2));
  EXPECT_EQ(display_->framesDrawn(), 0u);
  EXPECT_EQ(env_.mainLoop().pendingCount(), 0u) << "idle: nothing scheduled";
}

TEST_F(DisplayServiceTest, AnInputAfterAQuietSpellIsDrawnAtOnceAndChangesAreCappedAtTheFrameRate) {
  ASSERT_TRUE(display_->attachViewer(1, 1).error.empty());
  env_.runUntilIdle();
  EXPECT_EQ(display_->framesDrawn(), 1u) << "the first frame at once";
  env_.fastForwardBy(platform::seconds(1));
  const uint64_t before = display_->framesDrawn();
  // Nothing drawn in the last frame interval: the key's frame comes without waiting for a tick.
  pressLock();
  EXPECT_EQ(display_->framesDrawn(), before + 1);
  // A change right after waits for the end of the frame interval, and is drawn then.
  pressLock();
  EXPECT_EQ(display_->framesDrawn(), before + 1);
  env_.fastForwardBy(platform::seconds(1.0 / DisplayService::kFramesPerSecond));
  EXPECT_EQ(display_->framesDrawn(), before + 2);
  display_->detachViewer(1);
  pressLock();
  env_.fastForwardBy(platform::seconds(1));
  EXPECT_EQ(display_->framesDrawn(), before + 2) << "no window, no frame";
}

}  // namespace
}  // namespace tessra::device
