#include <gtest/gtest.h>

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/AudioToolbox.h"
#include "platform/springboard/CurrentDevice.h"
#include "platform/springboard/ImpactFeedbackGenerator.h"
#include "platform/springboard/MainScreen.h"
#include "platform/springboard/MediaRemote.h"
#include "platform/springboard/PSBrightnessSettingsDetail.h"
#include "platform/springboard/SBApplication.h"
#include "platform/springboard/SBBrightnessController.h"
#include "platform/springboard/SBDisplayBrightnessController.h"
#include "platform/springboard/SBHomeGrabberView.h"
#include "platform/springboard/SBMainSwitcherViewController.h"
#include "platform/springboard/SBMediaController.h"
#include "platform/springboard/SBVolumeControl.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

using springboard::CurrentDevice;
using springboard::ImpactFeedbackGenerator;
using springboard::MainScreen;

class VolumeTest : public test::DeviceFixture {};

TEST_F(VolumeTest, TheMediaControllerSetsTheVolumeWithItsIndicator) {
  SBMediaController* media = SBMediaController::sharedInstance();
  ASSERT_NE(media, nullptr);
  media->setVolume(0.4f);
  EXPECT_FLOAT_EQ(media->volume(), 0.4f);
  EXPECT_EQ(device().state().audio().volumeHudShows(), 1);

  media->setSuppressHUD(true);
  media->setVolume(0.7f);
  EXPECT_EQ(device().state().audio().volumeHudShows(), 1);
  media->setSuppressHUD(false);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"volume -> 0.40 (hud)", "volume hud suppressed -> yes",
                                                     "volume -> 0.70", "volume hud suppressed -> no"}));
}

TEST_F(VolumeTest, ChangesAreClampedToTheVolumeRange) {
  SBMediaController* media = SBMediaController::sharedInstance();
  media->_changeVolumeBy(0.8f);
  EXPECT_FLOAT_EQ(media->volume(), 1.0f);
  media->setVolume(-0.2f);
  EXPECT_FLOAT_EQ(media->volume(), 0.0f);
}

TEST_F(VolumeTest, TheVolumeControlOf13SetsTheMediaCategoryOnly) {
  SBVolumeControl* control = SBVolumeControl::sharedInstance();
  ASSERT_NE(control, nullptr);
  control->setVolume(0.3f, "Audio/Video");
  EXPECT_FLOAT_EQ(control->_getMediaVolumeForIAP(), 0.3f);
  EXPECT_FLOAT_EQ(SBMediaController::sharedInstance()->volume(), 0.3f);
  control->setVolume(0.9f, "Ringtone");
  EXPECT_FLOAT_EQ(control->_getMediaVolumeForIAP(), 0.3f);
  control->changeVolumeByDelta(0.25f);
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.55f);

  // The suppression set on the media controller holds for the volume control too.
  SBMediaController::sharedInstance()->setSuppressHUD(true);
  int shows = device().state().audio().volumeHudShows();
  control->setVolume(0.1f, "Audio/Video");
  EXPECT_EQ(device().state().audio().volumeHudShows(), shows);
}

TEST_F(VolumeTest, BelowThirteenTheVolumeControlIsAbsentAndItsHooksHaveNoEffect) {
  configure("12.4");
  EXPECT_EQ(SBVolumeControl::sharedInstance(), nullptr);
  static void (*previous)(id, SEL, float, std::string) = nullptr;
  auto hook = +[](id, SEL, float, std::string) {};
  EXPECT_FALSE(MSHookMessageEx(objc_getClass("SBVolumeControl"), SELECTOR("setVolume:forCategory:"), hook, &previous));
  // Sent by name, the messages go to nothing.
  msgSend<void, float, std::string>(msgSend<id>(objc_getClass("SBVolumeControl"), SELECTOR("sharedInstance")),
                                    SELECTOR("setVolume:forCategory:"), 0.9f, "Audio/Video");
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5f);
  // The media controller still sets it.
  SBMediaController::sharedInstance()->setVolume(0.2f);
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.2f);
}

TEST_F(VolumeTest, MediaRemoteCommandsPlayAndPause) {
  EXPECT_FALSE(SBMediaController::sharedInstance()->isPlaying());
  EXPECT_EQ(SBMediaController::sharedInstance()->nowPlayingApplication(), nullptr);
  MRMediaRemoteSendCommand(kMRPlay);
  EXPECT_TRUE(SBMediaController::sharedInstance()->isPlaying());
  auto* playing = dynamic_cast<SBApplication*>(SBMediaController::sharedInstance()->nowPlayingApplication());
  ASSERT_NE(playing, nullptr);
  EXPECT_EQ(playing->bundleIdentifier(), "com.apple.Music");
  MRMediaRemoteSendCommand(kMRPause);
  EXPECT_FALSE(SBMediaController::sharedInstance()->isPlaying());
  EXPECT_EQ(device().state().audio().mediaRemoteCommands(), (std::vector<int>{0, 1}));
}

TEST_F(VolumeTest, TheNowPlayingAppIsTheOneThatStartedPlaying) {
  device().startPlaying("com.spotify.client");
  auto* playing = dynamic_cast<SBApplication*>(SBMediaController::sharedInstance()->nowPlayingApplication());
  ASSERT_NE(playing, nullptr);
  EXPECT_EQ(playing->displayName(), "Spotify");
  MRMediaRemoteSendCommand(kMRPause);
  MRMediaRemoteSendCommand(kMRPlay);
  EXPECT_EQ(device().state().audio().nowPlayingBundleIdentifier(), "com.spotify.client");
}

class BrightnessTest : public test::DeviceFixture {};

TEST_F(BrightnessTest, TheDisplayControllerOf13IsMadeFreshAndSetsTheScreen) {
  Ref<SBDisplayBrightnessController> a = SBDisplayBrightnessController::create();
  Ref<SBDisplayBrightnessController> b = SBDisplayBrightnessController::create();
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(SBBrightnessController::sharedBrightnessController(), nullptr);

  a->_setBrightnessLevel(0.55f, true);
  b->_setBrightnessLevel(0.25f, false);
  EXPECT_NEAR(MainScreen::brightness(MainScreen::mainScreen()), 0.25, 1e-6);
  EXPECT_FLOAT_EQ(PSBrightnessSettingsDetail::currentValue(), 0.25f);
  EXPECT_EQ(device().state().display().brightnessHudShows(), 1);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"brightness -> 0.55 (hud)", "brightness -> 0.25"}));
}

TEST_F(BrightnessTest, BelowThirteenTheSharedControllerSetsIt) {
  configure("11.4");
  EXPECT_FALSE(SBDisplayBrightnessController::create());
  SBBrightnessController* controller = SBBrightnessController::sharedBrightnessController();
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(SBBrightnessController::sharedBrightnessController(), controller);
  controller->_setBrightnessLevel(0.8f, false);
  EXPECT_NEAR(device().state().display().brightness(), 0.8, 1e-6);
  EXPECT_EQ(device().state().display().brightnessHudShows(), 0);
}

TEST_F(BrightnessTest, TheUserSettingTheScreenShowsNoIndicator) {
  MainScreen::setBrightness(MainScreen::mainScreen(), 1.3);
  EXPECT_DOUBLE_EQ(device().state().display().brightness(), 1.0);
  EXPECT_EQ(device().state().display().brightnessHudShows(), 0);
}

class HomeGrabberTest : public test::DeviceFixture {};

TEST_F(HomeGrabberTest, TheGrabberIsReachedThroughTheSwitchersGestureManager) {
  id manager = valueForKey<id>(SBMainSwitcherViewController::sharedInstance(), "_gestureManager");
  ASSERT_NE(manager, nullptr);
  id grabber = msgSend<id>(manager, SELECTOR("currentHomeGrabberView"));
  ASSERT_NE(grabber, nullptr);
  EXPECT_EQ(msgSend<id>(manager, SELECTOR("currentHomeGrabberView")), grabber);
  EXPECT_DOUBLE_EQ(msgSend<double>(grabber, SELECTOR("alpha")), 1.0);

  msgSend<void, double>(grabber, SELECTOR("setAlpha:"), 0.0);
  EXPECT_DOUBLE_EQ(device().state().display().homeGrabberAlpha(), 0.0);
  EXPECT_DOUBLE_EQ(device().state().display().homeGrabberAnimationDuration(), 0.0);
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"home grabber alpha -> 0.00"}));
}

TEST_F(HomeGrabberTest, AChangeInsideAnAnimationTakesItsDuration) {
  // A UI layer that is animating for 0.2 s.
  Class* view = Runtime::allocateClass("UIView", Runtime::rootClass());
  class_addMethod(
      view->metaclass(), SELECTOR("inheritedAnimationDuration"), +[](id, SEL) { return 0.2; });
  Runtime::registerClass(view);
  auto* grabber = dynamic_cast<SBHomeGrabberView*>(
      msgSend<id>(valueForKey<id>(SBMainSwitcherViewController::sharedInstance(), "_gestureManager"),
                  SELECTOR("currentHomeGrabberView")));
  ASSERT_NE(grabber, nullptr);
  grabber->setAlpha(0.0);
  Runtime::unregisterClass("UIView");
  EXPECT_DOUBLE_EQ(device().state().display().homeGrabberAnimationDuration(), 0.2);
  EXPECT_TRUE(log().contains("home grabber alpha -> 0.00 over 0.20 s"));
}

class HapticsTest : public test::DeviceFixture {};

TEST_F(HapticsTest, TheDeviceReportsItsFeedbackLevelAndRecordsFeedback) {
  EXPECT_EQ(CurrentDevice::_feedbackSupportLevel(CurrentDevice::currentDevice()), 2);
  EXPECT_EQ(valueForKey<long>(CurrentDevice::currentDevice(), "_feedbackSupportLevel"), 2);

  Ref<Object> heavy = ImpactFeedbackGenerator::create(2);
  ASSERT_TRUE(heavy);
  ImpactFeedbackGenerator::impactOccurred(heavy);
  ImpactFeedbackGenerator::impactOccurred(ImpactFeedbackGenerator::create(0));
  AudioServicesPlaySystemSound(1519);
  EXPECT_EQ(device().state().haptics().impacts(), (std::vector<long>{2, 0}));
  EXPECT_EQ(device().state().haptics().systemSoundsPlayed(), (std::vector<uint32_t>{1519}));
  EXPECT_EQ(log().texts(), (std::vector<std::string>{"impact style 2", "impact style 0", "system sound 1519"}));

  springboard::DeviceConfiguration config;
  config.feedbackSupportLevel = 0;
  device().configure(config);
  EXPECT_EQ(CurrentDevice::_feedbackSupportLevel(CurrentDevice::currentDevice()), 0);
}

}  // namespace
}  // namespace platform
