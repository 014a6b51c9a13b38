// The display channel between the home-screen host and its windows: shared
// frame buffers, the rectangles that changed, and frames, touches and keys
// over a real device bus, with several viewers, a viewer that vanishes and
// buffers that must be refused.
#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>
#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "BusTestSupport.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDisplayClient.h"
#include "platform/bus/BusDisplayServer.h"
#include "platform/bus/BusNames.h"
#include "platform/bus/FrameDamage.h"
#include "platform/bus/SharedFrame.h"

namespace platform {
namespace {

using bustest::Inbox;
using bustest::kWait;

// --- Shared buffers

TEST(SharedFrameTest, AnAdoptedBufferSeesWhatTheCreatorWrites) {
  std::string error;
  auto frame = SharedFrame::create(4, 3, &error);
  ASSERT_TRUE(frame) << error;
  auto view = SharedFrame::adopt(frame->fd(), 4, 3, &error);
  ASSERT_TRUE(view) << error;
  EXPECT_EQ(view->mutablePixels(), nullptr);
  const uint32_t image[2] = {0xFF112233u, 0xFF445566u};
  frame->copyFrom(reinterpret_cast<const uint8_t*>(image), 2, 1, 8, {1, 0, 5, 5});  // clipped to the image
  EXPECT_EQ(view->pixels()[0], 0u);
  EXPECT_EQ(view->pixels()[1], 0xFF445566u);
  EXPECT_EQ(view->pixels()[4], 0u);
}

TEST(SharedFrameTest, BadDescriptorsAndSizesAreRefused) {
  std::string error;
  EXPECT_FALSE(SharedFrame::create(0, 10, &error));
  EXPECT_FALSE(SharedFrame::create(10, display::kMaxSide + 1, &error));
  EXPECT_NE(error.find("not possible"), std::string::npos);

  auto frame = SharedFrame::create(4, 4, &error);
  ASSERT_TRUE(frame);
  EXPECT_FALSE(SharedFrame::adopt(-1, 4, 4, &error));
  EXPECT_NE(error.find("not open"), std::string::npos);
  // Claiming more pixels than the buffer holds.
  EXPECT_FALSE(SharedFrame::adopt(frame->fd(), 4, 5, &error));
  EXPECT_NE(error.find("are needed"), std::string::npos);
  EXPECT_FALSE(SharedFrame::adopt(frame->fd(), -4, 4, &error));
  // A memory file that could shrink under its reader.
  int loose = memfd_create("loose", MFD_CLOEXEC);
  ASSERT_GE(loose, 0);
  ASSERT_EQ(ftruncate(loose, 64), 0);
  EXPECT_FALSE(SharedFrame::adopt(loose, 4, 4, &error));
  EXPECT_NE(error.find("sealed"), std::string::npos);
  close(loose);
  // Not a file at all.
  int pipes[2];
  ASSERT_EQ(pipe(pipes), 0);
  EXPECT_FALSE(SharedFrame::adopt(pipes[0], 1, 1, &error));
  close(pipes[0]);
  close(pipes[1]);
}

// --- What changed

class FrameDamageTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 100, kHeight = 70;  // partial tiles at the right and bottom
  std::vector<uint32_t> before = std::vector<uint32_t>(kWidth * kHeight, 0xFF000000u);
  std::vector<uint32_t> after = before;
  std::vector<FrameRect> damage() {
    return FrameDamage::between(reinterpret_cast<const uint8_t*>(before.data()),
                                reinterpret_cast<const uint8_t*>(after.data()), kWidth, kHeight, kWidth * 4);
  }
  void change(int x, int y) { after[static_cast<size_t>(y) * kWidth + x] = 0xFFFFFFFFu; }
};

TEST_F(FrameDamageTest, TheSameFrameHasNothingChanged) { EXPECT_TRUE(damage().empty()); }

TEST_F(FrameDamageTest, OnePixelMarksItsTileClippedToTheFrame) {
  change(40, 5);
  EXPECT_EQ(damage(), (std::vector<FrameRect>{{32, 0, 32, 32}}));
  after = before;
  change(99, 69);
  EXPECT_EQ(damage(), (std::vector<FrameRect>{{96, 64, 4, 6}}));
}

TEST_F(FrameDamageTest, NeighbouringTilesJoinAndSeparateChangesStaySeparate) {
  change(0, 0);
  change(33, 40);  // row 1, column 1
  change(33, 0);   // row 0, column 1: joins column 0 in row 0
  change(96, 40);
  EXPECT_EQ(damage(), (std::vector<FrameRect>{{0, 0, 64, 32}, {32, 32, 32, 32}, {96, 32, 4, 32}}));
  after = before;
  change(40, 10);
  change(40, 40);
  change(40, 69);  // one column over three tile rows: one rectangle
  EXPECT_EQ(damage(), (std::vector<FrameRect>{{32, 0, 32, 70}}));
}

TEST_F(FrameDamageTest, TooManyRectanglesBecomeTheirBounds) {
  std::vector<FrameRect> many;
  for (int i = 0; i < static_cast<int>(display::kMaxRects) + 1; ++i) many.push_back({i * 2, i, 1, 1});
  std::vector<FrameRect> into;
  FrameDamage::add(into, many);
  EXPECT_EQ(into, (std::vector<FrameRect>{
                      {0, 0, 2 * static_cast<int>(display::kMaxRects) + 1, static_cast<int>(display::kMaxRects) + 1}}));
}

TEST(DisplayClientTest, AnnouncedRectanglesAreClippedToTheBuffer) {
  EXPECT_EQ(BusDisplayClient::clipped({{-5, -5, 10, 10}, {90, 90, 100, 100}, {200, 0, 5, 5}, {0, 0, -3, 4}}, 100, 100),
            (std::vector<FrameRect>{{0, 0, 5, 5}, {90, 90, 10, 10}}));
  EXPECT_EQ(BusDisplayClient::clipped({{2147483600, 0, 2147483600, 10}}, 100, 100), std::vector<FrameRect>{});
}

// --- Over the bus

// The host's screen as the tests want it: buffers of a fixed size, or a bad descriptor.
class FakeScreen : public DisplayServerDelegate {
 public:
  Attached attachViewer(uint64_t viewer, double scale) override {
    std::lock_guard lock(mutex);
    Attached attached;
    if (badFd >= 0) {
      attached.fd = badFd;
      attached.width = attached.height = 8;
      return attached;
    }
    auto frame = SharedFrame::create(4, 2, &attached.error);
    frame->mutablePixels()[0] = 0xFF00FF00u;
    attached.fd = frame->fd();
    attached.width = 4;
    attached.height = 2;
    frames[viewer] = std::move(frame);
    scales.push(scale);
    attachedViewers.push(viewer);
    return attached;
  }
  void detachViewer(uint64_t viewer) override { detached.push(viewer); }
  void frameShown(uint64_t viewer, uint32_t sequence) override { shown.push({viewer, sequence}); }
  void touch(uint64_t viewer, int phase, double x, double y) override {
    touches.push(std::to_string(viewer) + " " + std::to_string(phase) + " " + std::to_string(x) + " " +
                 std::to_string(y));
  }
  void key(uint64_t viewer, DisplayKey key, bool down) override {
    keys.push(std::to_string(viewer) + " " + std::string(display::keyName(key)) + (down ? " down" : " up"));
  }

  std::mutex mutex;
  int badFd = -1;
  std::map<uint64_t, std::unique_ptr<SharedFrame>> frames;
  Inbox<double> scales;
  Inbox<uint64_t> attachedViewers;
  Inbox<uint64_t> detached;
  Inbox<std::pair<uint64_t, uint32_t>> shown;
  Inbox<std::string> touches;
  Inbox<std::string> keys;
};

// One window's end: its own connection and what reached it.
struct Viewer {
  Viewer(const std::filesystem::path& root, double scale) : bus(root, bustest::fastBackoff()) {
    client = std::make_unique<BusDisplayClient>(
        bus, scale,
        BusDisplayClient::Handlers{
            .attached = [this](std::shared_ptr<const SharedFrame> f) { frames.push(std::move(f)); },
            .frame =
                [this](uint32_t sequence, std::vector<FrameRect> changed) {
                  announced.push({sequence, std::move(changed)});
                },
            .lost = [this](std::string reason) { lost.push(std::move(reason)); }});
    bus.start();
  }
  ~Viewer() {
    client.reset();
    bus.stop();
  }
  BusConnection bus;
  std::unique_ptr<BusDisplayClient> client;
  Inbox<std::shared_ptr<const SharedFrame>> frames;
  Inbox<std::pair<uint32_t, std::vector<FrameRect>>> announced;
  Inbox<std::string> lost;
};

class DisplayChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.startBus();
    hostBus = std::make_unique<BusConnection>(device.root(), bustest::fastBackoff());
    server = std::make_unique<BusDisplayServer>(*hostBus, mainLoop.env().mainLoop(), screen);
    hostBus->start();
    ASSERT_TRUE(hostBus->waitFor(BusConnection::State::Connected, kWait));
    // The display object is in place once the host owns its name.
    hostBus->post([](sdbus::IConnection* c) {
      if (c) c->requestName(bus::kSpringBoardBusName);
    });
  }
  void TearDown() override {
    server.reset();
    hostBus.reset();
  }

  bustest::MainLoopThread mainLoop;
  bustest::TempDevice device;
  FakeScreen screen;
  std::unique_ptr<BusConnection> hostBus;
  std::unique_ptr<BusDisplayServer> server;
};

TEST_F(DisplayChannelTest, ViewersGetTheirOwnBufferFramesAndSendInputBack) {
  Viewer first(device.root(), 2), second(device.root(), 0);
  ASSERT_TRUE(first.frames.waitForCount(1)) << (first.lost.items().empty() ? "" : first.lost.items()[0]);
  ASSERT_TRUE(second.frames.waitForCount(1));
  EXPECT_EQ(first.frames.items()[0]->pixels()[0], 0xFF00FF00u);
  ASSERT_TRUE(screen.scales.waitForCount(2));
  const auto viewers = screen.attachedViewers.items();
  ASSERT_EQ(viewers.size(), 2u);
  const bool firstIsA = screen.scales.items()[0] == 2;
  const uint64_t a = firstIsA ? viewers[0] : viewers[1], b = firstIsA ? viewers[1] : viewers[0];

  // A frame reaches its viewer alone, its rectangles clipped to the buffer.
  server->sendFrame(a, 7, {{1, 0, 10, 10}});
  ASSERT_TRUE(first.announced.waitForCount(1));
  EXPECT_EQ(first.announced.items()[0].first, 7u);
  EXPECT_EQ(first.announced.items()[0].second, (std::vector<FrameRect>{{1, 0, 3, 2}}));
  server->sendFrame(b, 1, {});
  ASSERT_TRUE(second.announced.waitForCount(1));
  EXPECT_EQ(first.announced.items().size(), 1u);

  first.client->shown(7);
  first.client->touch(0, 12.5, 40);
  first.client->key(DisplayKey::VolumeBoth, true);
  ASSERT_TRUE(screen.shown.waitForCount(1));
  EXPECT_EQ(screen.shown.items()[0], std::make_pair(a, 7u));
  ASSERT_TRUE(screen.touches.waitForCount(1));
  EXPECT_EQ(screen.touches.items()[0], std::to_string(a) + " 0 12.500000 40.000000");
  ASSERT_TRUE(screen.keys.waitForCount(1));
  EXPECT_EQ(screen.keys.items()[0], std::to_string(a) + " volume-both down");
}

TEST_F(DisplayChannelTest, AViewerThatLeavesOrVanishesIsDetached) {
  auto leaving = std::make_unique<Viewer>(device.root(), 1);
  auto vanishing = std::make_unique<Viewer>(device.root(), 1);
  ASSERT_TRUE(leaving->frames.waitForCount(1));
  ASSERT_TRUE(vanishing->frames.waitForCount(1));
  leaving.reset();  // says goodbye
  ASSERT_TRUE(screen.detached.waitForCount(1));
  vanishing->bus.stop();  // its connection just closes, as when the window's process dies
  ASSERT_TRUE(screen.detached.waitForCount(2));
  EXPECT_NE(screen.detached.items()[0], screen.detached.items()[1]);
}

TEST_F(DisplayChannelTest, ABadBufferOrScaleIsRefusedWithAReason) {
  Viewer tooLarge(device.root(), 9);
  ASSERT_TRUE(tooLarge.lost.waitForCount(1));
  EXPECT_NE(tooLarge.lost.items()[0].find("scale"), std::string::npos) << tooLarge.lost.items()[0];

  // A host that hands out a buffer smaller than it says.
  int small = memfd_create("small", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  ASSERT_EQ(ftruncate(small, 16), 0);
  {
    std::lock_guard lock(screen.mutex);
    screen.badFd = small;
  }
  Viewer misled(device.root(), 1);
  ASSERT_TRUE(misled.lost.waitForCount(1));
  EXPECT_NE(misled.lost.items()[0].find("refused"), std::string::npos) << misled.lost.items()[0];
  EXPECT_TRUE(misled.frames.items().empty());
  close(small);
}

}  // namespace
}  // namespace platform
