#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/SpringBoard/host/PluginAdmission.h"
#include "tweak/plugin/PluginAbi.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;

class PluginAdmissionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tessra-admission-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // A copy of the built plug-in whose interface note names `version` instead.
  fs::path pluginBuiltFor(uint32_t version) {
    std::string bytes = read(TESSRA2_DYLIB);
    const uint32_t header[3] = {7, 4, plugin_abi::kNoteType};
    std::string note(reinterpret_cast<const char*>(header), sizeof header);
    note.append("Tessra\0\0", 8);
    // The note's bytes, wherever they stand (the note section; debug information may repeat them).
    size_t found = 0;
    for (size_t at = bytes.find(note); at != std::string::npos; at = bytes.find(note, at + 1), ++found)
      std::memcpy(bytes.data() + at + note.size(), &version, sizeof version);
    EXPECT_GE(found, 1u);
    fs::path copy = folder_ / "Tessra2.dylib";
    std::ofstream(copy, std::ios::binary | std::ios::trunc) << bytes;
    return copy;
  }

  fs::path folder_;
};

TEST_F(PluginAdmissionTest, ThePluginBuiltForThisHostIsAdmitted) {
  EXPECT_EQ(PluginAdmission::refusal(TESSRA2_DYLIB), std::nullopt);
  EXPECT_EQ(PluginAdmission::refusal(pluginBuiltFor(plugin_abi::kVersion)), std::nullopt);
}

TEST_F(PluginAdmissionTest, APluginBuiltForAnotherVersionIsRefusedWithTheVersions) {
  EXPECT_EQ(PluginAdmission::refusal(pluginBuiltFor(plugin_abi::kVersion + 1)),
            "Tessra2.dylib was built for version " + std::to_string(plugin_abi::kVersion + 1) +
                " of the home-screen interface; this SpringBoard runs version " + std::to_string(plugin_abi::kVersion));
}

TEST_F(PluginAdmissionTest, OtherMakersLibrariesLoadButTessra2MustNameItsVersion) {
  EXPECT_EQ(PluginAdmission::refusal(OTHER_PLUGIN_DYLIB), std::nullopt);
  fs::copy_file(OTHER_PLUGIN_DYLIB, folder_ / "Tessra2.dylib");
  EXPECT_EQ(PluginAdmission::refusal(folder_ / "Tessra2.dylib"),
            "Tessra2.dylib names no version of the home-screen interface");
}

// The exported entry answers the version the note carries.
TEST_F(PluginAdmissionTest, TheLoadedPluginAnswersItsVersion) {
  void* handle = dlopen(TESSRA2_DYLIB, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto entry = reinterpret_cast<uint32_t (*)()>(dlsym(handle, plugin_abi::kEntrySymbol));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(), plugin_abi::kVersion);
}

}  // namespace
}  // namespace tessra::device
