// Opening files of a device root: nothing outside the root is reached, and no
// link inside it is followed, with openat2 and without it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/BeneathRootTestApi.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Runs every case twice: with openat2 and with the component walk of kernels that lack it.
class BeneathRootTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    BeneathRootTestApi::setComponentWalkOnly(GetParam());
    char pattern[] = "/tmp/beneath-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    base_ = pattern;
    root_ = base_ / "device";
    outside_ = base_ / "outside";
    fs::create_directories(root_ / "var/log");
    fs::create_directories(outside_);
    std::ofstream(outside_ / "secret") << "host file";
  }
  void TearDown() override {
    BeneathRootTestApi::setComponentWalkOnly(false);
    fs::remove_all(base_);
  }
  static std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path base_, root_, outside_;
};

TEST_P(BeneathRootTest, OpensAndCreatesFilesInsideTheRoot) {
  BeneathRoot::File created = BeneathRoot::open(root_, root_ / "var/log/a.log", O_WRONLY | O_CREAT | O_APPEND);
  ASSERT_TRUE(created.ok()) << created.error();
  ASSERT_EQ(::write(created.fd(), "x", 1), 1);
  EXPECT_EQ(contents(root_ / "var/log/a.log"), "x");
  std::string error;
  EXPECT_TRUE(BeneathRoot::createFolders(root_, root_ / "var/mobile/Library/Preferences", &error)) << error;
  EXPECT_TRUE(fs::is_directory(root_ / "var/mobile/Library/Preferences"));
  BeneathRoot::File missing = BeneathRoot::open(root_, root_ / "var/log/none", O_RDONLY);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.errorNumber(), ENOENT);
}

TEST_P(BeneathRootTest, ALinkAsTheFileIsNeitherReadNorWrittenNorReplaced) {
  fs::create_symlink(outside_ / "secret", root_ / "var/log/a.log");
  BeneathRoot::File read = BeneathRoot::open(root_, root_ / "var/log/a.log", O_RDONLY);
  EXPECT_FALSE(read.ok());
  EXPECT_NE(read.error().find("symbolic link"), std::string::npos) << read.error();
  EXPECT_FALSE(BeneathRoot::open(root_, root_ / "var/log/a.log", O_WRONLY | O_CREAT | O_APPEND).ok());
  // A dangling link would otherwise create its target.
  fs::create_symlink(outside_ / "created", root_ / "var/log/b.log");
  EXPECT_FALSE(BeneathRoot::open(root_, root_ / "var/log/b.log", O_WRONLY | O_CREAT).ok());
  EXPECT_FALSE(fs::exists(outside_ / "created"));
  EXPECT_EQ(contents(outside_ / "secret"), "host file");
}

TEST_P(BeneathRootTest, ALinkedFolderIsNotEnteredNorCreatedThrough) {
  fs::create_symlink(outside_, root_ / "var/run");
  EXPECT_FALSE(BeneathRoot::open(root_, root_ / "var/run/secret", O_RDONLY).ok());
  std::string error;
  EXPECT_FALSE(BeneathRoot::createFolders(root_, root_ / "var/run/tessra-bus", &error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(outside_ / "tessra-bus"));
  // The atomic writer of device files refuses the linked folder too.
  EXPECT_FALSE(plist::PropertyListFile::writeDeviceFileAtomically(root_, root_ / "var/run/secret", "replaced"));
  auto bytes = plist::PropertyListFile::readDeviceBytes(root_, root_ / "var/run/secret", 1024);
  EXPECT_EQ(bytes.status, plist::ReadStatus::Unreadable);
  EXPECT_EQ(contents(outside_ / "secret"), "host file");
}

TEST_P(BeneathRootTest, PathsOutsideTheRootAreRefused) {
  EXPECT_FALSE(BeneathRoot::open(root_, outside_ / "secret", O_RDONLY).ok());
  EXPECT_FALSE(BeneathRoot::open(root_, root_ / "../outside/secret", O_RDONLY).ok());
  EXPECT_FALSE(BeneathRoot::createFolders(root_, root_ / "../outside/new"));
  EXPECT_FALSE(fs::exists(outside_ / "new"));
}

INSTANTIATE_TEST_SUITE_P(OpenAt2AndComponentWalk, BeneathRootTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ComponentWalk" : "OpenAt2"; });

}  // namespace
}  // namespace platform
