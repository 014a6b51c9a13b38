#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/prefs/HBPreferences.h"
#include "tests/platform/prefs/PrefsTestSupport.h"

namespace platform {
namespace {

using plist::Dictionary;
using plist::Value;

// Real processes sharing one device root. Children are forks of the test
// program that run one body and leave with its exit code.
class PreferenceProcessesTest : public testing::PrefsTest {
 protected:
  // Starts a child that waits until release() before running `body`.
  pid_t spawn(std::function<int()> body) {
    if (gate_[0] < 0) {
      EXPECT_EQ(::pipe(gate_), 0);
    }
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(gate_[1]);
      char c;
      while (::read(gate_[0], &c, 1) < 0) {
      }
      ::_exit(body());
    }
    return pid;
  }
  // Lets every waiting child go.
  void release() {
    ::close(gate_[0]);
    ::close(gate_[1]);
    gate_[0] = gate_[1] = -1;
  }
  static int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  int runChild(std::function<int()> body) {
    pid_t pid = spawn(std::move(body));
    release();
    return exitCode(pid);
  }

  int gate_[2] = {-1, -1};
};

Dictionary storeOf(int apps, int64_t stamp) {
  Dictionary store;
  for (int i = 0; i < apps; ++i) {
    Dictionary toggles{{"wifi", Value(i % 2)}, {"dnd", Value(1)}, {"stamp", Value(stamp)}};
    store.set("com.example.app" + std::to_string(i),
              Value(Dictionary{{"toggles", Value(toggles)}, {"volume", Value(0.5)}}));
  }
  return store;
}

TEST_F(PreferenceProcessesTest, NewObjectReadsAValueAnotherProcessSaved) {
  HBPreferences settings(kDomain);  // this process already holds the domain
  int code = runChild([] {
    HBPreferences prefs(kDomain);
    bool ok = prefs.setObject(Value(storeOf(3, 7)), "customizedApps") && prefs.synchronize();
    return ok ? 0 : 1;
  });
  ASSERT_EQ(code, 0);
  HBPreferences loader(kDomain);
  EXPECT_EQ(loader.objectForKey("customizedApps")["com.example.app2"]["toggles"]["stamp"].integerValue(), 7);
}

TEST_F(PreferenceProcessesTest, BoundFieldFollowsAWriteOfAnotherProcessOnItsNotification) {
  HBPreferences settings(kDomain);
  bool restoreWifi = true;
  int changes = 0;
  settings.registerBool(&restoreWifi, true, "restorePreviousWifiOnAppExit");
  settings.registerPreferenceChangeBlock([&] { ++changes; });
  ASSERT_EQ(runChild([] {
              HBPreferences page(kDomain);
              return page.setObject(Value(false), "restorePreviousWifiOnAppExit") ? 0 : 1;
            }),
            0);
  EXPECT_TRUE(restoreWifi);
  // The bus hands the other process's post to this one.
  DarwinNotificationCenter::shared().deliverRemote(std::string(kDomain) + "/ReloadPrefs");
  env_.runUntilIdle();
  EXPECT_FALSE(restoreWifi);
  EXPECT_EQ(changes, 1);
}

TEST_F(PreferenceProcessesTest, TwoProcessesWritingDifferentKeysLoseNothing) {
  constexpr int kWrites = 40;
  auto writer = [](std::string prefix) {
    return [prefix] {
      HBPreferences prefs(kDomain);
      for (int i = 0; i < kWrites; ++i) {
        if (!prefs.setObject(Value(i), prefix + std::to_string(i))) return 1;
        if (!prefs.setObject(Value(i), prefix + "counter")) return 2;
      }
      return 0;
    };
  };
  pid_t a = spawn(writer("a"));
  pid_t b = spawn(writer("b"));
  release();
  ASSERT_EQ(exitCode(a), 0);
  ASSERT_EQ(exitCode(b), 0);
  Value disk = onDisk();
  EXPECT_EQ(disk.dictionary().size(), size_t{2 * kWrites + 2});
  for (const char* prefix : {"a", "b"}) {
    for (int i = 0; i < kWrites; ++i) EXPECT_EQ(disk[prefix + std::to_string(i)].integerValue(), i) << prefix << i;
    EXPECT_EQ(disk[std::string(prefix) + "counter"].integerValue(), kWrites - 1);
  }
}

TEST_F(PreferenceProcessesTest, WriterKilledAtRandomMomentsNeverLeavesAnUnreadableFile) {
  std::mt19937 random(20240611);
  int64_t lastAcknowledged = -1;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    int acks[2];
    ASSERT_EQ(::pipe(acks), 0);
    pid_t child = spawn([acks, round] {
      ::close(acks[0]);
      HBPreferences prefs(kDomain);
      for (int64_t i = int64_t{round} * 1000000;; ++i) {
        if (!prefs.setObject(Value(storeOf(200, i)), "customizedApps")) return 1;
        if (!prefs.setObject(Value(i), "counter")) return 2;
        if (::write(acks[1], &i, sizeof i) != sizeof i) return 3;
      }
    });
    ::close(acks[1]);
    release();
    // Wait for a few saves, then kill the writer wherever it happens to be.
    const int saves = 1 + static_cast<int>(random() % 3);
    for (int n = 0; n < saves; ++n) {
      int64_t i = 0;
      ASSERT_EQ(::read(acks[0], &i, sizeof i), static_cast<ssize_t>(sizeof i));
      lastAcknowledged = i;
    }
    volatile uint32_t spin = random() % 2000000;
    while (spin > 0) spin = spin - 1u;
    ::kill(child, SIGKILL);
    EXPECT_EQ(exitCode(child), 128 + SIGKILL);
    ::close(acks[0]);

    auto read = plist::PropertyListFile::read(domainFile());
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_TRUE(read.value.isDictionary());
    // Every acknowledged save is on disk.
    EXPECT_GE(read.value["counter"].integerValue(), lastAcknowledged);
    EXPECT_EQ(read.value["customizedApps"].dictionary().size(), 200u);
  }
  EXPECT_TRUE(keptAside().empty());
}

}  // namespace
}  // namespace platform
