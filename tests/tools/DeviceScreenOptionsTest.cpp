// The words of `tessra device show` and `tessra device snapshot`, and the keys the window turns into hardware.
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tools/tessra/DeviceScreenOptions.h"
#include "tools/tessra/DeviceWindow.h"

namespace tessra::cli {
namespace {

class DeviceScreenOptionsTest : public ::testing::Test {
 protected:
  std::optional<DeviceScreenOptions> parse(std::vector<std::string> args, size_t words) {
    err_.str("");
    Invocation invocation;
    invocation.args = std::move(args);
    invocation.out = &out_;
    invocation.err = &err_;
    return DeviceScreenOptions::parse(invocation, "device show", words);
  }
  std::string folder_ = std::filesystem::temp_directory_path().string();
  std::ostringstream out_, err_;
};

TEST_F(DeviceScreenOptionsTest, TheFolderTheWordsAndTheScaleAreRead) {
  auto options = parse({folder_, "--scale", "2.5", "shot.png"}, 1);
  ASSERT_TRUE(options) << err_.str();
  EXPECT_EQ(options->root, std::filesystem::path(folder_).lexically_normal());
  EXPECT_EQ(options->words, std::vector<std::string>{"shot.png"});
  EXPECT_EQ(options->scale, 2.5);
  auto plain = parse({folder_}, 0);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->scale, 0);
}

TEST_F(DeviceScreenOptionsTest, BadWordsAreRefusedWithAMessage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "expected a device folder"},
      {{folder_, "extra"}, "expected a device folder"},
      {{folder_, "--scale"}, "--scale needs a number"},
      {{folder_, "--scale", "0.1"}, "from 0.25 to 4"},
      {{folder_, "--scale", "2x"}, "not \"2x\""},
      {{folder_, "--scale", "nan"}, "from 0.25 to 4"},
      {{folder_, "--fast"}, "unknown option --fast"},
      {{folder_ + "/no-such-device"}, "no device at"},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_FALSE(parse(args, 0));
    EXPECT_NE(err_.str().find(message), std::string::npos) << err_.str();
  }
}

TEST(DeviceWindowKeysTest, KeysActAsTheHardware) {
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_h, KMOD_NONE), platform::DisplayKey::Home);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_l, KMOD_NONE), platform::DisplayKey::Lock);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_s, KMOD_NONE), platform::DisplayKey::Siri);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_f, KMOD_NONE), platform::DisplayKey::Spotlight);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_UP, KMOD_NONE), platform::DisplayKey::VolumeUp);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_DOWN, KMOD_NONE), platform::DisplayKey::VolumeDown);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_DOWN, KMOD_LSHIFT), platform::DisplayKey::VolumeBoth);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_UP, KMOD_RCTRL), platform::DisplayKey::VolumeBoth);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_SPACE, KMOD_NONE), platform::DisplayKey::Side);
  EXPECT_EQ(DeviceWindow::keyFor(SDLK_q, KMOD_NONE), std::nullopt);
}

}  // namespace
}  // namespace tessra::cli
