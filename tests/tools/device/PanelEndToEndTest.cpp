// End-to-end: the customization panel on a started device (its bus and its
// SpringBoard host with the real plug-in), worked by live scripts as a finger
// would — a long press on an icon, the "Tessra" row, the ring's buttons, the
// volume slider, the backdrop — and what the running plug-in and `tessra apps`
// make of it afterwards. The device follows a gesture on its own clock, so
// each step is checked by asking the device again until it agrees (or a
// generous deadline passes), never by sleeping a fixed time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/foundation/PropertyListFile.h"
#include "tests/tools/device/StartedDeviceTest.h"
#include "tools/SpringBoard/core/HostFiles.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::contains;
using testing::ProcessResult;
using testing::readFile;
using testing::StartedDeviceTest;
using Clock = std::chrono::steady_clock;

constexpr auto kDeadline = std::chrono::seconds(30);

class PanelEndToEndTest : public StartedDeviceTest {
 protected:
  PanelEndToEndTest() : StartedDeviceTest("tpe2e") {}
  void SetUp() override {
    StartedDeviceTest::SetUp();
    startDevice();
  }

  // Runs `text` as a live script on the device, from a file of its own.
  ProcessResult live(const std::string& text) {
    fs::path path = scratch_ / ("step" + std::to_string(++scripts_) + ".txt");
    std::ofstream(path) << text;
    lastScript_ = path;
    return tessra({"device", "run", path.string(), "--root", root_.string()});
  }
  // Runs `text` again until the device accepts all of it — a gesture's touches arrive, an animation
  // ends — or the deadline passes; the last result. For lines that change nothing when they fail.
  ProcessResult liveUntil(const std::string& text) {
    const auto deadline = Clock::now() + kDeadline;
    ProcessResult result = live(text);
    while (result.status != 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      result = live(text);
    }
    return result;
  }
  std::string debugLog() { return readFile(root_ / "var/log/KLDebug/com.kelvane.tessra2.log"); }
  // The store's domain on disk, as the plug-in and the `tessra` command read it.
  platform::plist::Value storedApps() {
    auto domain =
        platform::plist::PropertyListFile::read(root_ / "var/mobile/Library/Preferences/com.kelvane.tessra2.plist");
    return domain.ok() ? domain.value["customizedApps"] : platform::plist::Value();
  }
  // Opens the panel of `bundleId` as a person does: a long press on its icon, then the "Tessra" row.
  void openPanelWithTouches(const std::string& bundleId, const std::string& menu) {
    ProcessResult press = live("press icon " + bundleId + "\n");
    ASSERT_EQ(press.status, 0) << press.out << press.err;
    ProcessResult shown = liveUntil("expect menu " + menu + "\n");
    ASSERT_EQ(shown.status, 0) << shown.out << shown.err;
    ProcessResult tap = live("tap \"Tessra\"\n");
    ASSERT_EQ(tap.status, 0) << tap.out << tap.err;
    ProcessResult open = liveUntil("expect panel open\nexpect ring toggles\n");
    ASSERT_EQ(open.status, 0) << open.out << open.err << hostLog();
  }

  fs::path lastScript_;
  int scripts_ = 0;
};

const char* const kMapsMenu = "\"Mark My Location\" \"Send My Location\" \"Share App\" \"Edit Home Screen\" \"Tessra\"";

TEST_F(PanelEndToEndTest, APanelWorkedWithTouchesIsAppliedWhenTheAppOpensAndListedByTessraApps) {
  ASSERT_NO_FATAL_FAILURE(openPanelWithTouches("com.apple.Maps", kMapsMenu));

  // Do Not Disturb on; Wi-Fi on, then off. A tap while the buttons still fly out is refused: tap again.
  ASSERT_EQ(liveUntil("panel tap dnd\n").status, 0);
  ProcessResult dnd = liveUntil("expect button dnd \"On\"\nexpect stored com.apple.Maps dnd 1\n");
  ASSERT_EQ(dnd.status, 0) << dnd.out << dnd.err;
  ASSERT_EQ(liveUntil("panel tap wifi\n").status, 0);
  ASSERT_EQ(liveUntil("expect button wifi \"On\"\n").status, 0);
  ASSERT_EQ(liveUntil("panel tap wifi\n").status, 0);
  ProcessResult wifi = liveUntil("expect button wifi \"Off\"\nexpect stored com.apple.Maps wifi 0\n");
  ASSERT_EQ(wifi.status, 0) << wifi.out << wifi.err;

  // The volume slider dragged to 30 %: stored when the finger lifts.
  ProcessResult drag = live("panel slider volume 30\n");
  ASSERT_EQ(drag.status, 0) << drag.out << drag.err;
  ProcessResult volume = liveUntil("expect slider volume \"30%\"\nexpect stored com.apple.Maps volume 0.3\n");
  ASSERT_EQ(volume.status, 0) << volume.out << volume.err;

  // A tap on the backdrop closes the panel and brings the status bar back; nothing is applied yet.
  ASSERT_EQ(live("panel dismiss\n").status, 0);
  ProcessResult closed = liveUntil("expect panel closed\n");
  ASSERT_EQ(closed.status, 0) << closed.out << closed.err;
  EXPECT_FALSE(contains(debugLog(), "com.apple.Maps : Set")) << debugLog();

  // The app opens with what the panel stored.
  ProcessResult opened = live("open com.apple.Maps\n");
  ASSERT_EQ(opened.status, 0) << opened.out << opened.err;
  ProcessResult applied = liveUntil("expect volume 0.3\nexpect wifi off\nexpect dnd on\n");
  EXPECT_EQ(applied.status, 0) << applied.out << applied.err << debugLog();
  const auto deadline = Clock::now() + kDeadline;
  auto logged = [&] {
    const std::string log = debugLog();
    return contains(log, "com.apple.Maps : Set volume 0.300000") &&
           contains(log, "com.apple.Maps : Set toggle wifi to 0") &&
           contains(log, "com.apple.Maps : Set toggle dnd to 1");
  };
  while (!logged() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(logged()) << debugLog();
  ProcessResult log = tessra({"device", "log", root_.string()});
  EXPECT_TRUE(contains(log.out, "com.apple.Maps : Set volume 0.300000")) << log.out;

  // `tessra apps`, a process of its own on the same device root, lists what the panel stored.
  ProcessResult apps = tessra({"apps", "--root", root_.string()});
  ASSERT_EQ(apps.status, 0) << apps.err;
  EXPECT_TRUE(contains(apps.out, "com.apple.Maps: ")) << apps.out;
  EXPECT_TRUE(contains(apps.out, "  volume 30%\n")) << apps.out;
  EXPECT_TRUE(contains(apps.out, "  Wi-Fi (wifi): Off\n")) << apps.out;
  EXPECT_TRUE(contains(apps.out, "  Do Not Disturb (dnd): On\n")) << apps.out;
  EXPECT_FALSE(contains(apps.out, "brightness")) << apps.out;
}

TEST_F(PanelEndToEndTest, BadPanelLinesAreRefusedWithTheirLineAndWriteNothing) {
  // No panel open: refused at its line, nothing after it runs.
  ProcessResult closed = live("expect panel closed\npanel slider volume 30\npanel tap wifi\n");
  EXPECT_EQ(closed.status, 2);
  EXPECT_EQ(closed.err, lastScript_.string() + ":2: panel slider: no customization panel is open\n");
  ProcessResult noRing = live("expect ring toggles\n");
  EXPECT_EQ(noRing.err, lastScript_.string() + ":1: expect ring: no customization panel is open\n");

  ASSERT_NO_FATAL_FAILURE(openPanelWithTouches("com.apple.Maps", kMapsMenu));
  // Unknown names and numbers out of range: the whole script is refused before anything runs.
  ProcessResult bad = live(
      "panel tap dnd\n"
      "panel tap wlan\n"
      "panel slider volume 101\n"
      "panel slider brightness -5\n"
      "panel scroll 1.5\n");
  EXPECT_EQ(bad.status, 2);
  for (const char* line : {":2: panel tap: unknown toggle or behaviour name 'wlan'\n",
                           ":3: panel slider: expected a percentage from 0 to 100 or reset, got '101'\n",
                           ":4: panel slider: expected a percentage from 0 to 100 or reset, got '-5'\n",
                           ":5: panel scroll: expected a position from 0 to 1, got '1.5'\n"})
    EXPECT_TRUE(contains(bad.err, lastScript_.string() + line)) << line << "\n" << bad.err;
  EXPECT_TRUE(contains(bad.err, "nothing was run")) << bad.err;
  EXPECT_FALSE(contains(bad.out, "event: tap")) << bad.out;

  // A behaviour while the toggles ring is shown: refused when its line runs, and nothing is touched.
  ASSERT_EQ(liveUntil("expect ring toggles\n").status, 0);
  ProcessResult behaviour = live("panel tap action_disableNC\n");
  EXPECT_EQ(behaviour.status, 2);
  EXPECT_EQ(behaviour.err,
            lastScript_.string() + ":1: panel tap: action_disableNC has no button on the toggles ring\n");
  ProcessResult still = live("expect panel open\nexpect ring toggles\nexpect bottom none\nexpect button dnd none\n");
  EXPECT_EQ(still.status, 0) << still.out << still.err;
  EXPECT_FALSE(storedApps().find("com.apple.Maps")) << storedApps().describe();
}

}  // namespace
}  // namespace tessra::device
