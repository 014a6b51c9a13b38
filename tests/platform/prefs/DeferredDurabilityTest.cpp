#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/prefs/DeferredDurability.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/prefs/PreferenceDomain.h"
#include "tests/platform/prefs/PrefsTestSupport.h"

namespace platform {

class DeferredDurabilityTestApi {
 public:
  // Flushes the innermost scope of this thread still owes (none without a scope).
  static size_t owed() {
    DeferredDurability* scope = DeferredDurability::current();
    return scope ? scope->owed_.size() : 0;
  }
  // Makes the innermost scope owe a flush that cannot succeed (a pipe cannot be flushed) for `domain`'s file.
  static void oweFailingFlush(const std::shared_ptr<PreferenceDomain>& domain, int pipeEnd) {
    DeferredDurability::owe(FileFlush(pipeEnd, -1, "the test's file"), domain);
  }
};

namespace {

using plist::Value;
using Api = DeferredDurabilityTestApi;

class DeferredDurabilityTest : public testing::PrefsTest {
 protected:
  // A descriptor that cannot be flushed (a pipe's read end, its write end closed), for a flush to own.
  static int unflushable() {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    ::close(ends[1]);
    return ends[0];
  }
  ino_t inode() const {
    struct stat st {};
    EXPECT_EQ(::stat(domainFile().c_str(), &st), 0);
    return st.st_ino;
  }
  // Names in the domain's folder other than the domain's file and its lock: leftovers of a write.
  size_t strayFiles() const {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder())) {
      const std::string name = e.path().filename().string();
      if (name != std::string(kDomain) + ".plist" && name != std::string(kDomain) + ".plist.lock") ++n;
    }
    return n;
  }
};

TEST_F(DeferredDurabilityTest, ASaveInTheScopeIsInTheFileAtOnceAndFlushedWhenTheScopeCompletes) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(true), "enabled"));
  EXPECT_FALSE(DeferredDurability::active());
  EXPECT_EQ(Api::owed(), 0u);
  {
    DeferredDurability durability;
    EXPECT_TRUE(DeferredDurability::active());
    ASSERT_TRUE(prefs.setObject(Value(false), "showVolumeHUD"));
    ASSERT_TRUE(prefs.setObject(Value(int64_t{2}), "interfaceColorStyle"));
    // Another reader sees both saves, whole, and every other key; nothing is left beside the file.
    EXPECT_EQ(onDisk(), Value(plist::Dictionary{{"enabled", Value(true)},
                                                {"showVolumeHUD", Value(false)},
                                                {"interfaceColorStyle", Value(int64_t{2})}}));
    EXPECT_EQ(strayFiles(), 0u);
    EXPECT_EQ(Api::owed(), 2u);
    EXPECT_TRUE(durability.complete());
    EXPECT_EQ(Api::owed(), 0u);
    EXPECT_TRUE(prefs.setObject(Value(true), "showVolumeHUD"));
    EXPECT_EQ(Api::owed(), 1u);  // flushed by the end of the scope
  }
  EXPECT_FALSE(DeferredDurability::active());
  EXPECT_EQ(onDisk()["showVolumeHUD"], Value(true));
  EXPECT_EQ(prefs.objectForKey("interfaceColorStyle"), Value(int64_t{2}));
}

TEST_F(DeferredDurabilityTest, ASaveBelongsToTheInnermostScope) {
  HBPreferences prefs(kDomain);
  DeferredDurability outer;
  {
    DeferredDurability inner;
    ASSERT_TRUE(prefs.setObject(Value(int64_t{1}), "a"));
    EXPECT_EQ(Api::owed(), 1u);
  }
  EXPECT_TRUE(DeferredDurability::active());
  EXPECT_EQ(Api::owed(), 0u);  // the inner scope flushed its own
  ASSERT_TRUE(prefs.setObject(Value(int64_t{2}), "b"));
  EXPECT_EQ(Api::owed(), 1u);
  EXPECT_TRUE(outer.complete());
  EXPECT_EQ(onDisk(), Value(plist::Dictionary{{"a", Value(int64_t{1})}, {"b", Value(int64_t{2})}}));
}

TEST_F(DeferredDurabilityTest, AFlushThatFailsWritesTheFileAgainTheDurableWay) {
  HBPreferences prefs(kDomain);
  {
    DeferredDurability durability;
    ASSERT_TRUE(prefs.setObject(Value(false), "showVolumeHUD"));
    ASSERT_TRUE(durability.complete());
    const ino_t before = inode();
    Api::oweFailingFlush(PreferenceDomain::existing(kDomain), unflushable());
    EXPECT_TRUE(durability.complete());
    EXPECT_NE(inode(), before);  // a new file, flushed before it replaced the old one
    EXPECT_EQ(logLinesContaining("could not be flushed"), 1u);
    EXPECT_EQ(logLinesContaining("writing it again"), 1u);
  }
  EXPECT_EQ(onDisk(), Value(plist::Dictionary{{"showVolumeHUD", Value(false)}}));
  EXPECT_EQ(strayFiles(), 0u);
}

TEST_F(DeferredDurabilityTest, AFlushThatCannotBeMadeGoodIsReportedAndLeavesTheFileWhole) {
  HBPreferences prefs(kDomain);
  DeferredDurability durability;
  ASSERT_TRUE(prefs.setObject(Value(false), "showVolumeHUD"));
  ASSERT_TRUE(durability.complete());
  Api::oweFailingFlush(PreferenceDomain::existing(kDomain), unflushable());
  {
    testing::FileSizeLimit full(16);  // the new file cannot be written either
    EXPECT_FALSE(durability.complete());
  }
  EXPECT_EQ(logLinesContaining("could not write domain " + std::string(kDomain) + " again"), 1u);
  EXPECT_EQ(onDisk(), Value(plist::Dictionary{{"showVolumeHUD", Value(false)}}));
  EXPECT_EQ(strayFiles(), 0u);
}

TEST_F(DeferredDurabilityTest, WithoutAScopeASaveIsFlushedBeforeItReturns) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(int64_t{3}), "a"));
  EXPECT_EQ(Api::owed(), 0u);
  EXPECT_EQ(onDisk()["a"], Value(int64_t{3}));
  // A FileFlush left alone completes when it goes.
  {
    FileFlush flush(unflushable(), -1, "a pipe");
    EXPECT_TRUE(flush.owed());
  }
  EXPECT_EQ(logLinesContaining("a pipe replaced, but its bytes could not be flushed"), 1u);
}

}  // namespace
}  // namespace platform
