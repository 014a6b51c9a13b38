#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/prefs/HBPreferences.h"
#include "platform/prefs/PreferenceDomain.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"
#include "tests/platform/prefs/PrefsTestSupport.h"

namespace platform {
namespace {

using plist::Array;
using plist::Dictionary;
using plist::Value;

std::string nestedXml(size_t levels) {
  std::string xml = "<plist version=\"1.0\">";
  for (size_t i = 0; i < levels; ++i) xml += "<array>";
  for (size_t i = 0; i < levels; ++i) xml += "</array>";
  return xml + "</plist>";
}

std::string referenceBomb() {
  plist::testing::BinaryPlistBuilder b;
  for (size_t i = 0; i < 9; ++i) b.addArray(std::vector<size_t>(14, i + 1));
  b.addBool(true);
  return b.build(0);
}

struct BadFile {
  const char* name;
  std::string bytes;
};

class PreferenceFileGuardTest : public testing::PrefsTest {
 protected:
  std::string goodXml() const {
    return *plist::PropertyListFile::toXml(
        Value(Dictionary{{"enabled", Value(false)}, {"customizedApps", Value(Dictionary{})}}));
  }
  std::vector<BadFile> badFiles() const {
    std::string xml = goodXml();
    return {
        {"garbage", "this is not a property list at all"},
        {"truncated", xml.substr(0, xml.size() / 2)},
        {"wrong root", *plist::PropertyListFile::toXml(Value(Array{Value(1), Value(2)}))},
        {"oversized", std::string(5 * 1024 * 1024, ' ')},
        {"deeply nested", nestedXml(100000)},
        {"reference bomb", referenceBomb()},
        {"empty", ""},
    };
  }
};

// ---- Bad files ----

TEST_F(PreferenceFileGuardTest, BadFileReadsAsDefaultsStaysInPlaceAndIsReportedOnce) {
  for (const BadFile& bad : badFiles()) {
    SCOPED_TRACE(bad.name);
    std::filesystem::remove_all(folder());
    log_.clear();
    putFile(bad.bytes);
    {
      HBPreferences prefs(kDomain);
      bool enabled = false;
      prefs.registerBool(&enabled, true, "enabled");
      EXPECT_TRUE(enabled);
      EXPECT_TRUE(prefs.objectForKey("customizedApps").isNull());
      EXPECT_FALSE(prefs.fileProblem().empty());
      HBPreferences another(kDomain);
      HBPreferences::reloadDomain(kDomain);
    }
    HBPreferences later(kDomain);  // a new domain object reads it again
    // Reading never moves the file: a tool that only looks must not disturb it.
    EXPECT_TRUE(keptAside().empty());
    EXPECT_EQ(contents(domainFile()), bad.bytes);
    EXPECT_EQ(log_.size(), 1u);
    EXPECT_EQ(logLinesContaining("could not be used"), 1u);
  }
}

TEST_F(PreferenceFileGuardTest, WriteOverABadFileKeepsItAsideFirst) {
  putFile("corrupt");
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(true), "enabled"));
  EXPECT_TRUE(prefs.fileProblem().empty());
  // Another process put a bad file back after this one wrote.
  putFile("corrupt again");
  ASSERT_TRUE(prefs.setObject(Value(false), "enabled"));
  auto kept = keptAside();
  ASSERT_EQ(kept.size(), 2u);  // two kept files, neither overwriting the other
  std::set<std::string> keptContents{contents(kept[0]), contents(kept[1])};
  EXPECT_EQ(keptContents, (std::set<std::string>{"corrupt", "corrupt again"}));
  EXPECT_EQ(logLinesContaining("kept aside as"), 2u);
  EXPECT_EQ(onDisk(), Value(Dictionary{{"enabled", Value(false)}}));
}

TEST_F(PreferenceFileGuardTest, FileThatCannotBeReadIsNeitherReplacedNorKeptAside) {
  std::filesystem::create_directories(domainFile());  // a folder where the file should be
  HBPreferences prefs(kDomain);
  bool enabled = false;
  prefs.registerBool(&enabled, true, "enabled");
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(prefs.setObject(Value(false), "enabled"));
  EXPECT_TRUE(std::filesystem::is_directory(domainFile()));
  EXPECT_TRUE(keptAside().empty());
  HBPreferences::reloadDomain(kDomain);
  EXPECT_EQ(logLinesContaining("cannot read " + domainFile().string()), 1u);  // reported once
  EXPECT_EQ(logLinesContaining("could not save domain"), 1u);
}

// ---- Failed writes ----

TEST_F(PreferenceFileGuardTest, FailedWriteLeavesTheOldFileAndStaysPendingUntilSaved) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "interfaceColorStyle"));
  const std::string before = contents(domainFile());
  auto domain = PreferenceDomain::existing(kDomain);
  {
    testing::FileSizeLimit full(64);
    EXPECT_FALSE(prefs.setObject(Value(Dictionary{{"com.apple.Maps", Value(Dictionary{})}}), "customizedApps"));
    EXPECT_FALSE(prefs.synchronize());
  }
  EXPECT_EQ(contents(domainFile()), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()), {}), 2);  // file and lock, no temporary
  EXPECT_EQ(logLinesContaining("could not save domain com.kelvane.tessra2"), 2u);
  // Readable at once in this process, and kept across a reload.
  EXPECT_TRUE(prefs.objectForKey("customizedApps").isDictionary());
  HBPreferences::reloadDomain(kDomain);
  EXPECT_TRUE(prefs.objectForKey("customizedApps").isDictionary());
  EXPECT_EQ(domain->pendingCount(), 1u);

  EXPECT_TRUE(prefs.synchronize());
  EXPECT_EQ(domain->pendingCount(), 0u);
  EXPECT_TRUE(onDisk()["customizedApps"].isDictionary());
  EXPECT_EQ(onDisk()["interfaceColorStyle"].integerValue(), 1);
}

TEST_F(PreferenceFileGuardTest, AnUnsavedWriteGivesWayToAnotherProcesssNewerValue) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(Dictionary{{"com.apple.Maps", Value(Dictionary{})}}), "customizedApps"));
  {
    testing::FileSizeLimit full(64);
    EXPECT_FALSE(prefs.setObject(Value(Dictionary{{"com.apple.Notes", Value(Dictionary{})}}), "customizedApps"));
    EXPECT_FALSE(prefs.setObject(Value(2), "interfaceColorStyle"));
  }
  // The other process resets the store (as the apps page does) and announces it.
  ASSERT_TRUE(plist::PropertyListFile::write(
      domainFile(), Value(Dictionary{{"customizedApps", Value(Dictionary{})}, {"enabled", Value(true)}})));
  HBPreferences::reloadDomain(kDomain);
  EXPECT_EQ(prefs.objectForKey("customizedApps"), Value(Dictionary{}));
  EXPECT_EQ(logLinesContaining("\"customizedApps\" was saved by another process"), 1u);
  // The write of a key nobody else touched is still retried, and the reset is not undone.
  EXPECT_TRUE(prefs.synchronize());
  EXPECT_EQ(onDisk(),
            Value(Dictionary{
                {"customizedApps", Value(Dictionary{})}, {"enabled", Value(true)}, {"interfaceColorStyle", Value(2)}}));
}

TEST_F(PreferenceFileGuardTest, ValueTooBigForTheFileIsWithdrawnAndLaterWritesSave) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "interfaceColorStyle"));
  // Fine on its own, over the size cap once rendered into the file.
  EXPECT_FALSE(prefs.setObject(Value(plist::Data(5 * 1024 * 1024, 7)), "blob"));
  EXPECT_TRUE(prefs.objectForKey("blob").isNull());
  EXPECT_EQ(PreferenceDomain::existing(kDomain)->pendingCount(), 0u);
  EXPECT_TRUE(prefs.setObject(Value(true), "enabled"));
  EXPECT_EQ(onDisk(), Value(Dictionary{{"interfaceColorStyle", Value(1)}, {"enabled", Value(true)}}));
  // Depth counts where the value sits: one level below the file's root.
  Value deep = Value(Array{});
  for (int i = 1; i < 32; ++i) deep = Value(Array{deep});
  EXPECT_FALSE(prefs.setObject(deep, "deep"));
  EXPECT_TRUE(prefs.setObject(deep.array()[0], "deep"));
}

TEST_F(PreferenceFileGuardTest, WriteFailsWhenTheDomainCannotBeLocked) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "a"));
  const std::string before = contents(domainFile());
  std::filesystem::remove(domainFile().string() + ".lock");
  std::filesystem::create_directory(domainFile().string() + ".lock");
  EXPECT_FALSE(prefs.setObject(Value(2), "a"));
  EXPECT_EQ(contents(domainFile()), before);
  EXPECT_EQ(logLinesContaining("cannot open the lock file"), 1u);
}

TEST_F(PreferenceFileGuardTest, LeftoverTemporaryFilesOfACrashedWriterAreSweptAway) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "a"));
  std::ofstream(folder() / "com.kelvane.tessra2.plist.tmp.XyZ123") << "half written";
  ASSERT_TRUE(prefs.setObject(Value(2), "a"));
  EXPECT_FALSE(std::filesystem::exists(folder() / "com.kelvane.tessra2.plist.tmp.XyZ123"));
  EXPECT_EQ(onDisk()["a"].integerValue(), 2);
  // Another domain whose name starts like a temporary file of this one is not touched.
  HBPreferences other("com.kelvane.tessra2.plist.tmp.x");
  ASSERT_TRUE(other.setObject(Value(1), "b"));
  ASSERT_TRUE(prefs.setObject(Value(3), "a"));
  EXPECT_EQ(onDisk("com.kelvane.tessra2.plist.tmp.x")["b"].integerValue(), 1);
}

TEST_F(PreferenceFileGuardTest, AWriteGivesUpOnALockHeldTooLongAndNamesIt) {
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "a"));
  const std::string before = contents(domainFile());
  const std::string lock = domainFile().string() + ".lock";
  int holder = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);  // as a stuck process would
  EXPECT_FALSE(prefs.setObject(Value(2), "a"));
  ::close(holder);
  EXPECT_EQ(contents(domainFile()), before);
  EXPECT_EQ(logLinesContaining("held the lock " + lock), 1u);
}

// A link planted inside the device root in place of the domain's file, its lock file or its folder leads
// nowhere: the write fails cleanly and nothing outside the root is created or changed.
TEST_F(PreferenceFileGuardTest, LinksInPlaceOfTheDomainsFilesAreNeverFollowed) {
  char pattern[] = "/tmp/prefs-outside-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::filesystem::path outside = pattern;
  std::ofstream(outside / "host.plist") << "host file";
  HBPreferences prefs(kDomain);
  ASSERT_TRUE(prefs.setObject(Value(1), "a"));
  const std::string before = contents(domainFile());

  const std::filesystem::path lock = domainFile().string() + ".lock";
  std::filesystem::remove(lock);
  std::filesystem::create_symlink(outside / "planted.lock", lock);
  EXPECT_FALSE(prefs.setObject(Value(2), "a"));
  EXPECT_FALSE(std::filesystem::exists(outside / "planted.lock"));
  EXPECT_EQ(contents(domainFile()), before);
  EXPECT_GE(logLinesContaining("symbolic link"), 1u);
  std::filesystem::remove(lock);

  std::filesystem::rename(domainFile(), outside / "moved.plist");
  std::filesystem::create_symlink(outside / "host.plist", domainFile());
  HBPreferences::reloadDomain(kDomain);
  EXPECT_NE(prefs.objectForKey("a"), Value("host file"));
  EXPECT_FALSE(prefs.setObject(Value(3), "a"));
  EXPECT_EQ(contents(outside / "host.plist"), "host file");
  EXPECT_TRUE(std::filesystem::is_symlink(domainFile()));
  std::filesystem::remove(domainFile());

  std::filesystem::remove_all(folder());
  std::filesystem::create_symlink(outside, folder());
  EXPECT_FALSE(prefs.setObject(Value(4), "a"));
  EXPECT_FALSE(std::filesystem::exists(outside / "com.kelvane.tessra2.plist"));
  EXPECT_FALSE(std::filesystem::exists(outside / "com.kelvane.tessra2.plist.lock"));
  std::filesystem::remove(folder());
  std::filesystem::remove_all(outside);
}

}  // namespace
}  // namespace platform
