#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/runtime/LibraryNotes.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/PluginLoader.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using test::LogCapture;

std::vector<std::string> loadOrder;

// The class the test plug-ins report to when they load.
Class* probeClass() {
  static Class* cls = [] {
    Class* c = Runtime::allocateClass("PluginProbe", Runtime::rootClass());
    class_addMethod(
        c->metaclass(), SELECTOR("record:"), +[](id, SEL, std::string name) { loadOrder.push_back(name); });
    class_addMethod(
        c, SELECTOR("greeting"), +[](id, SEL) { return std::string("system"); });
    Runtime::registerClass(c);
    return c;
  }();
  return cls;
}

class PluginLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    probeClass();
    loadOrder.clear();
    folder_ = fs::temp_directory_path() / ("plugins-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(PluginLoaderTest, EveryLibraryOfTheFolderLoadsInNameOrderAndRunsItsConstructor) {
  // Named so that the file-name order is the reverse of the build order.
  fs::copy_file(TEST_PLUGIN_SECOND, folder_ / "A-Second.dylib");
  fs::copy_file(TEST_PLUGIN_FIRST, folder_ / "B-First.dylib");
  std::ofstream(folder_ / "README.txt") << "not a plug-in";

  std::vector<PluginLoader::Plugin> loaded = PluginLoader::loadFolder(folder_);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].path.filename(), "A-Second.dylib");
  EXPECT_EQ(loaded[1].path.filename(), "B-First.dylib");
  EXPECT_EQ(loadOrder, (std::vector<std::string>{"second", "first"}));

  // Each library's hook chained onto the one before it.
  Ref<Object> probe = class_createInstance(probeClass());
  EXPECT_EQ(msgSend<std::string>(probe, SELECTOR("greeting")), "system+second+first");

  auto name = reinterpret_cast<const char* (*)()>(PluginLoader::symbol(loaded[1].handle, "testPluginName"));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name(), "first");
}

TEST_F(PluginLoaderTest, ALibraryThatFailsToLoadIsReportedAndSkipped) {
  std::ofstream(folder_ / "Broken.dylib") << "this is not an ELF file";
  LogCapture log;
  EXPECT_TRUE(PluginLoader::loadFolder(folder_).empty());
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_NE(log.lines[0].find("Broken.dylib"), std::string::npos);
}

TEST_F(PluginLoaderTest, AMissingFolderLoadsNothing) {
  LogCapture log;
  EXPECT_TRUE(PluginLoader::loadFolder(folder_ / "absent").empty());
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(PluginLoaderTest, ALibraryTheAdmissionRefusesIsNeverLoaded) {
  fs::copy_file(TEST_PLUGIN_FIRST, folder_ / "Admitted.dylib");
  fs::copy_file(TEST_PLUGIN_SECOND, folder_ / "Refused.dylib");
  std::vector<fs::path> asked;
  auto loaded = PluginLoader::loadFolder(folder_, [&asked](const fs::path& file) {
    asked.push_back(file.filename());
    return file.filename() != "Refused.dylib";
  });
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].path.filename(), "Admitted.dylib");
  EXPECT_EQ(asked, (std::vector<fs::path>{"Admitted.dylib", "Refused.dylib"}));
  EXPECT_EQ(loadOrder, (std::vector<std::string>{"first"}));  // the refused library's constructor never ran
}

TEST_F(PluginLoaderTest, NotesAreReadFromTheFileWithoutLoadingIt) {
  EXPECT_EQ(LibraryNotes::find(TEST_PLUGIN_FIRST, "Test", 7), std::string("first\0\0\0", 8));
  EXPECT_EQ(LibraryNotes::find(TEST_PLUGIN_SECOND, "Test", 7), std::string("second\0\0", 8));
  EXPECT_FALSE(LibraryNotes::find(TEST_PLUGIN_FIRST, "Test", 8));
  EXPECT_FALSE(LibraryNotes::find(TEST_PLUGIN_FIRST, "Tes", 7));
  EXPECT_TRUE(loadOrder.empty());
}

TEST_F(PluginLoaderTest, FilesThatAreNoWholeLibraryHaveNoNotes) {
  EXPECT_FALSE(LibraryNotes::find(folder_ / "absent.dylib", "Test", 7));
  EXPECT_FALSE(LibraryNotes::find(folder_, "Test", 7));
  std::ofstream(folder_ / "text.dylib") << "this is not an ELF file";
  EXPECT_FALSE(LibraryNotes::find(folder_ / "text.dylib", "Test", 7));
  // Cut short: the section table (at the end of the file) is gone.
  std::ifstream in(TEST_PLUGIN_FIRST, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (size_t size : {size_t{16}, size_t{64}, bytes.size() / 2}) {
    std::ofstream(folder_ / "cut.dylib", std::ios::binary | std::ios::trunc) << bytes.substr(0, size);
    EXPECT_FALSE(LibraryNotes::find(folder_ / "cut.dylib", "Test", 7)) << size;
  }
}

}  // namespace
}  // namespace platform
