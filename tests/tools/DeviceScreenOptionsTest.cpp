// The words of `tessra device show` and `tessra device snapshot`, the keys the window turns into hardware, and the
// library the window alone loads.
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/tessra/DeviceScreenOptions.h"
#include "tools/tessra/DeviceWindow.h"
#include "tools/tessra/SdlLibrary.h"

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

// Every command runs in this process beside the window's code; SDL2 (and the libraries it pulls) is mapped only
// once a window asks for it, so no other command pays for loading it.
TEST(DeviceWindowLibraryTest, SdlIsLoadedOnlyWhenAWindowNeedsIt) {
  auto sdlMapped = [] {
    std::ifstream maps("/proc/self/maps");
    const std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    return text.find("libSDL2") != std::string::npos;
  };
  EXPECT_FALSE(sdlMapped());
  std::string error;
  const SdlLibrary* sdl = SdlLibrary::load(&error);
  ASSERT_NE(sdl, nullptr) << error;
  EXPECT_TRUE(sdlMapped());
  EXPECT_EQ(SdlLibrary::load(nullptr), sdl);
  EXPECT_NE(sdl->GetTicks, nullptr);
}

}  // namespace
}  // namespace tessra::cli
