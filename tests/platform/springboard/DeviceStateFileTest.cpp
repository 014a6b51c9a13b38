// The device's system state kept in the device root: what the user set
// survives a new home-screen process, and a damaged file is set aside.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/DeviceStateFile.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform::test {
namespace {

using springboard::DeviceStateFile;

class DeviceStateFileTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    char pattern[] = "/tmp/device-state-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    previousSink_ = Log::setSink([this](const std::string& line) { logLines_.push_back(line); });
  }
  void TearDown() override {
    Log::setSink(previousSink_);
    std::filesystem::remove_all(root_);
  }
  // What a new home-screen process does: a fresh model, then the file attached.
  void restartHomeScreen() {
    configure("13.3");
    DeviceStateFile file(device().state(), root_);
    EXPECT_TRUE(file.attach());
  }
  static constexpr const char* kWifi = "com.a3tweaks.switch.wifi";

  std::filesystem::path root_;
  std::vector<std::string> logLines_;
  Log::Sink previousSink_;
};

TEST_F(DeviceStateFileTest, SwitchesVolumeAndBrightnessSurviveANewHomeScreen) {
  {
    DeviceStateFile file(device().state(), root_);
    ASSERT_TRUE(file.attach());
    device().state().switches().setState(kWifi, FSSwitchState::Off);
    device().state().switches().setBluetoothEnabled(false);
    device().state().audio().setVolume(0.3f);
    device().state().display().setBrightness(0.8, false);
    env_.runUntilIdle();
  }
  restartHomeScreen();
  EXPECT_EQ(device().state().switches().state(kWifi), FSSwitchState::Off);
  EXPECT_FALSE(device().state().switches().bluetoothEnabled());
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.3f);
  EXPECT_DOUBLE_EQ(device().state().display().brightness(), 0.8);
  // Coming back is not an event of the device, and shows no indicator.
  EXPECT_EQ(log().size(), 0u);
  EXPECT_EQ(device().state().audio().volumeHudShows(), 0);
}

TEST_F(DeviceStateFileTest, ChangesOfOneTurnAreWrittenOnceAndEachLaterChangeIsWritten) {
  DeviceStateFile file(device().state(), root_);
  ASSERT_TRUE(file.attach());
  device().state().switches().setState(kWifi, FSSwitchState::Off);
  device().state().audio().setVolume(0.2f);
  EXPECT_FALSE(std::filesystem::exists(DeviceStateFile::file(root_)));
  env_.runUntilIdle();
  auto firstWrite = std::filesystem::last_write_time(DeviceStateFile::file(root_));
  EXPECT_EQ(DeviceStateFile::capture(device().state())["volume"].doubleValue(), static_cast<double>(0.2f));
  device().state().switches().setState(kWifi, FSSwitchState::On);
  env_.runUntilIdle();
  EXPECT_GE(std::filesystem::last_write_time(DeviceStateFile::file(root_)), firstWrite);
  file.detach();
  restartHomeScreen();
  EXPECT_EQ(device().state().switches().state(kWifi), FSSwitchState::On);
  EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.2f);
}

TEST_F(DeviceStateFileTest, TheBatterySurvivesANewHomeScreen) {
  {
    DeviceStateFile file(device().state(), root_);
    ASSERT_TRUE(file.attach());
    device().state().battery().set(17, springboard::BatteryCharging::Yes);
    env_.runUntilIdle();
  }
  restartHomeScreen();
  EXPECT_EQ(device().state().battery().percent(), 17);
  EXPECT_TRUE(device().state().battery().isCharging());
  // A file from before the device had a battery leaves it full.
  std::ofstream(DeviceStateFile::file(root_)) << "<plist><dict><key>volume</key><real>0.4</real></dict></plist>";
  restartHomeScreen();
  EXPECT_EQ(device().state().battery().percent(), 100);
  EXPECT_FALSE(device().state().battery().isCharging());
}

TEST_F(DeviceStateFileTest, ABatteryOutOfRangeIsRefusedWithNothingChanged) {
  for (const char* battery :
       {"<key>batteryPercent</key><integer>101</integer>", "<key>batteryPercent</key><integer>-1</integer>",
        "<key>batteryPercent</key><real>0.5</real>", "<key>batteryCharging</key><string>yes</string>"}) {
    configure("13.3");
    std::string error;
    auto state = plist::PropertyListFile::parse(std::string("<plist><dict><key>volume</key><real>0.2</real>") +
                                                battery + "</dict></plist>");
    ASSERT_TRUE(state.ok()) << battery;
    EXPECT_FALSE(DeviceStateFile::apply(device().state(), state.value, &error)) << battery;
    EXPECT_NE(error.find("battery"), std::string::npos) << error;
    EXPECT_EQ(device().state().battery().percent(), 100);
    EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5f) << "nothing is applied";
  }
}

TEST_F(DeviceStateFileTest, ADamagedFileIsSetAsideReportedAndTheDefaultsKept) {
  std::filesystem::create_directories(DeviceStateFile::file(root_).parent_path());
  for (const std::string& bytes :
       {std::string("not a property list"),
        std::string(
            "<plist><dict><key>volume</key><real>7</real><key>brightness</key><real>0.9</real></dict></plist>")}) {
    std::ofstream(DeviceStateFile::file(root_)) << bytes;
    configure("13.3");
    DeviceStateFile file(device().state(), root_);
    std::string problem;
    EXPECT_FALSE(file.attach(&problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_FALSE(std::filesystem::exists(DeviceStateFile::file(root_)));
    EXPECT_FLOAT_EQ(device().state().audio().volume(), 0.5f);
    EXPECT_DOUBLE_EQ(device().state().display().brightness(), 0.5);
  }
  size_t aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(DeviceStateFile::file(root_).parent_path()))
    if (entry.path().filename().string().starts_with("state.plist.bad-")) ++aside;
  EXPECT_GE(aside, 1u);
  EXPECT_EQ(logLines_.size(), 2u);
}

}  // namespace
}  // namespace platform::test
