// The customization summary strip: which icons it shows for an app's stored
// entry, in what order, with which badges and sizes, and how a process that
// only loaded the plug-in finds it by class name.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/panel/TSCustomizedThingsView.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/testing/TessraStorageManagerTestApi.h"
#include "tweak/vocabulary/ToggleType.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;
using Dict = plist::Dictionary;

// A device with a bundle of 4 x 4 white icons and an in-memory store.
class CustomizedThingsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = DevicePaths::root();
    previousSink_ = Log::setSink([this](const std::string& line) { log.push_back(line); });
    root_ = fs::temp_directory_path() / ("tessra-strip-test-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    const fs::path bundle = root_ / "Library/Application Support/Tessra2Bundle.bundle";
    fs::create_directories(bundle);
    for (const char* name : {"volume", "brightness", "wifi", "bluetooth", "dnd", "action_disableNC"}) {
      cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
      cairo_t* cr = cairo_create(s);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_paint(cr);
      cairo_destroy(cr);
      cairo_surface_write_to_png(s, (bundle / (std::string(name) + "Icon.png")).c_str());
      cairo_surface_destroy(s);
    }
    DevicePaths::setRoot(root_);
    TessraStorageManagerTestApi::reset();
  }
  void TearDown() override {
    TessraStorageManagerTestApi::reset();
    DevicePaths::setRoot(previousRoot_);
    Log::setSink(previousSink_);
    fs::remove_all(root_);
  }
  void store(Dict apps) {
    TessraStorageManager::sharedInstance().setWholeStorageDictionary(plist::Value(std::move(apps)));
  }
  std::shared_ptr<TSCustomizedThingsView> strip(const std::string& id, CGRect frame = CGRectMake(0, 0, 200, 16),
                                                UIColor color = UIColor::blackColor()) {
    return std::make_shared<TSCustomizedThingsView>(frame, id, color);
  }
  static std::vector<TSCustomizedThingImageView*> icons(const TSCustomizedThingsView& view) {
    std::vector<TSCustomizedThingImageView*> out;
    for (const auto& v : view.thingViews()) {
      EXPECT_EQ(v->superview(), view.togglesStackView());
      out.push_back(v.get());
    }
    return out;
  }
  static std::vector<std::string> names(const TSCustomizedThingsView& view) {
    std::vector<std::string> out;
    for (auto* icon : icons(view)) out.push_back(icon->toggleName());
    return out;
  }
  static std::vector<std::string> badges(const TSCustomizedThingsView& view) {
    std::vector<std::string> out;
    for (auto* icon : icons(view)) out.push_back(icon->badgeLabel() ? icon->badgeLabel()->text() : "-");
    return out;
  }
  size_t layoutConflicts() const {
    return static_cast<size_t>(
        std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.starts_with("Layout:"); }));
  }

  ManualTaskEnvironment env;
  std::vector<std::string> log;

 private:
  fs::path root_, previousRoot_;
  Log::Sink previousSink_;
};

// --- What it shows ---

TEST_F(CustomizedThingsViewTest, VolumeBrightnessThenSwitchesThenBehaviours) {
  store(
      {{"app", plist::Value(Dict{
                   {"toggles", plist::Value(Dict{{"action_disableNC", 1}, {"wifi", 1}, {"dnd", -1}, {"bluetooth", 0}})},
                   {"brightness", 1.0},
                   {"volume", 0.4}})}});
  auto view = strip("app");
  EXPECT_EQ(names(*view), (std::vector<std::string>{"volume", "brightness", "wifi", "bluetooth", "action_disableNC"}));
  EXPECT_EQ(badges(*view), (std::vector<std::string>{"40%", "100%", "On", "Off", "On"}));
  for (auto* icon : icons(*view)) {
    EXPECT_EQ(icon->alpha(), 0.65);
    EXPECT_EQ(icon->tintColor(), UIColor::blackColor());
    EXPECT_EQ(icon->badgeLabel()->textColor(), UIColor::blackColor());
    EXPECT_EQ(icon->badgeLabel()->font().pointSize(), 9);
    EXPECT_NE(icon->image(), nullptr);
  }
  EXPECT_EQ(icons(*view)[2]->currentState(), 1);
  EXPECT_EQ(icons(*view)[3]->currentState(), 0);
  EXPECT_EQ(layoutConflicts(), 0u);
}

TEST_F(CustomizedThingsViewTest, PercentagesRoundHalvesAwayFromZero) {
  store({{"a", plist::Value(Dict{{"volume", 0.125}, {"brightness", 0.375}})},
         {"b", plist::Value(Dict{{"volume", 0.0}, {"brightness", 0.999}})}});
  EXPECT_EQ(badges(*strip("a")), (std::vector<std::string>{"13%", "38%"}));
  EXPECT_EQ(badges(*strip("b")), (std::vector<std::string>{"0%", "100%"}));
}

TEST_F(CustomizedThingsViewTest, NothingToShowGivesAnEmptyStrip) {
  store({{"empty", plist::Value(Dict{})},
         {"broken", plist::Value("not a dictionary")},
         {"oddValues", plist::Value(Dict{{"volume", "loud"}, {"toggles", plist::Value("wifi")}})},
         {"oddStates", plist::Value(Dict{{"toggles", plist::Value(Dict{{"wifi", "on"}, {"dnd", -1}})}})}});
  for (const char* id : {"empty", "broken", "oddValues", "oddStates", "com.example.absent"}) {
    auto view = strip(id);
    EXPECT_TRUE(view->thingViews().empty()) << id;
    EXPECT_TRUE(view->togglesStackView()->subviews().empty()) << id;
    EXPECT_EQ(view->togglesStackView()->frame(), CGRectMake(0, 0, 200, 16)) << id;
  }
  EXPECT_EQ(layoutConflicts(), 0u);
}

TEST_F(CustomizedThingsViewTest, TheStoreIsReadOnceWhenTheStripIsMade) {
  store({{"app", plist::Value(Dict{{"volume", 0.5}})}});
  auto view = strip("app");
  store({{"app", plist::Value(Dict{{"volume", 0.5}, {"brightness", 0.2}})}});
  EXPECT_EQ(names(*view), (std::vector<std::string>{"volume"}));
}

// --- Sizes ---

TEST_F(CustomizedThingsViewTest, IconSideFollowsTheNumberOfThings) {
  store({});
  auto view = strip("none", CGRectMake(0, 0, 200, 16));
  EXPECT_EQ(view->getThingViewSizeForTotalNbThings(1), 200);
  EXPECT_DOUBLE_EQ(view->getThingViewSizeForTotalNbThings(12), 200.0 / 12 - 4);
  EXPECT_EQ(view->getThingViewSizeForTotalNbThings(3), 30);
  EXPECT_EQ(strip("none", CGRectMake(0, 0, 64, 16))->getThingViewSizeForTotalNbThings(3), 64.0 / 3 - 4);
  EXPECT_EQ(strip("none", CGRectMake(0, 0, 40, 16))->getThingViewSizeForTotalNbThings(14), 0);  // never negative
  EXPECT_EQ(view->getThingViewSizeForTotalNbThings(0), 30);
}

TEST_F(CustomizedThingsViewTest, OneThingIsAsWideAsTheStrip) {
  store({{"app", plist::Value(Dict{{"toggles", plist::Value(Dict{{"wifi", 1}})}})}});
  auto view = strip("app", CGRectMake(0, 0, 16, 16));
  ASSERT_EQ(icons(*view).size(), 1u);
  TSCustomizedThingImageView* icon = icons(*view)[0];
  EXPECT_EQ(icon->viewSize(), 16);
  EXPECT_EQ(icon->frame(), CGRectMake(0, 0, 16, 16));
  // The badge hangs under the icon, one point over its bottom edge, as wide as the icon.
  EXPECT_EQ(icon->badgeLabel()->frame(), CGRectMake(0, 15, 16, 12));
  EXPECT_EQ(layoutConflicts(), 0u);
}

TEST_F(CustomizedThingsViewTest, ManyThingsShareTheWidthWithEqualGaps) {
  Dict toggles;
  for (const char* name : {"wifi", "bluetooth", "dnd", "action_disableNC"}) toggles.set(name, plist::Value(1));
  store({{"app", plist::Value(Dict{{"volume", 0.3}, {"brightness", 0.6}, {"toggles", plist::Value(toggles)}})}});
  auto view = strip("app", CGRectMake(0, 0, 136, 16));  // 24 n - 8 for six things
  auto list = icons(*view);
  ASSERT_EQ(list.size(), 6u);
  const double side = 136.0 / 6 - 4;
  const double gap = (136 - 6 * side) / 5;
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_NEAR(list[i]->frame().origin.x, static_cast<double>(i) * (side + gap), 1e-9) << i;
    EXPECT_NEAR(list[i]->frame().size.width, side, 1e-9);
    EXPECT_NEAR(list[i]->frame().origin.y, (16 - side) / 2, 1e-9);  // centred across
  }
  EXPECT_EQ(layoutConflicts(), 0u);
}

TEST_F(CustomizedThingsViewTest, EverySwitchAndBehaviourFitsInsideTheStripInItsOrder) {
  Dict toggles;
  std::vector<std::string> expected{"volume", "brightness"};
  std::vector<std::string> behaviours;
  int i = 0;
  // Behaviours first in the dictionary: the strip still shows them after every switch.
  for (const auto& d : actionDescriptions()) {
    toggles.set(std::string(d.name), plist::Value(i++ % 2));
    behaviours.emplace_back(d.name);
  }
  for (const auto& d : switchDescriptions()) {
    toggles.set(std::string(d.name), plist::Value(i++ % 2));
    expected.emplace_back(d.name);
  }
  expected.insert(expected.end(), behaviours.begin(), behaviours.end());
  store({{"app", plist::Value(Dict{{"volume", 1.0}, {"brightness", 0.0}, {"toggles", plist::Value(toggles)}})}});
  const double width = 275;
  auto view = strip("app", CGRectMake(0, 0, width, 16));
  const double n = static_cast<double>(expected.size());
  EXPECT_EQ(TessraStorageManager::sharedInstance().getNbCustomizedThingsForBundleId("app"),
            static_cast<int64_t>(expected.size()));
  std::vector<std::string> shown = names(*view);
  // The switches keep the dictionary's order among themselves, as do the behaviours.
  ASSERT_EQ(shown.size(), expected.size());
  std::vector<std::string> sortedShown(shown.begin() + 2,
                                       shown.begin() + 2 + static_cast<long>(switchDescriptions().size()));
  std::vector<std::string> sortedExpected(expected.begin() + 2,
                                          expected.begin() + 2 + static_cast<long>(switchDescriptions().size()));
  std::sort(sortedShown.begin(), sortedShown.end());
  std::sort(sortedExpected.begin(), sortedExpected.end());
  EXPECT_EQ(sortedShown, sortedExpected);
  for (size_t k = 2 + switchDescriptions().size(); k < shown.size(); ++k)
    EXPECT_TRUE(shown[k].starts_with("action_")) << k << " " << shown[k];
  double right = 0;
  for (auto* icon : icons(*view)) {
    EXPECT_NEAR(icon->frame().size.width, width / n - 4, 1e-9);
    EXPECT_GE(icon->frame().origin.x, right - 1e-9);  // no overlap
    right = icon->frame().origin.x + icon->frame().size.width;
    EXPECT_NE(icon->badgeLabel(), nullptr);
  }
  EXPECT_NEAR(right, width, 1e-9);
  EXPECT_EQ(layoutConflicts(), 0u);
}

// --- One icon ---

TEST_F(CustomizedThingsViewTest, IconStatesSetAlphaAndBadge) {
  TSCustomizedThingImageView icon;
  icon.setupWithCustomizedThingName("wifi", UIColor::whiteColor());
  EXPECT_EQ(icon.toggleName(), "wifi");
  EXPECT_EQ(icon.currentState(), -1);
  EXPECT_EQ(icon.alpha(), 0.3);
  EXPECT_EQ(icon.badgeLabel(), nullptr);
  icon.setCurrentState(0);
  EXPECT_EQ(icon.alpha(), 0.65);
  EXPECT_EQ(icon.badgeLabel()->text(), "Off");
  icon.setCurrentState(7);  // another state keeps the badge
  EXPECT_EQ(icon.currentState(), 7);
  EXPECT_EQ(icon.badgeLabel()->text(), "Off");
  icon.setCurrentState(1);
  EXPECT_EQ(icon.badgeLabel()->text(), "On");
  icon.setCurrentState(-1);
  EXPECT_EQ(icon.badgeLabel(), nullptr);
  EXPECT_TRUE(icon.subviews().empty());
  TSCustomizedThingImageView big;
  big.setFrame(CGRectMake(0, 0, 30, 30));
  big.setBadgeWithText("55%");
  EXPECT_EQ(big.badgeLabel()->font().pointSize(), 11);
}

TEST_F(CustomizedThingsViewTest, AMissingImageLeavesAnEmptySquare) {
  TSCustomizedThingImageView icon;
  icon.setupWithCustomizedThingName("vpn", UIColor::blackColor());
  EXPECT_EQ(icon.image(), nullptr);
  EXPECT_EQ(icon.toggleName(), "vpn");
}

// --- Found by name ---

TEST_F(CustomizedThingsViewTest, AnotherModuleMakesStripsThroughTheClassName) {
  store({{"app", plist::Value(Dict{{"volume", 0.4}})}});
  Class* cls = objc_getClass(TSCustomizedThingsView::kClassName);
  ASSERT_NE(cls, nullptr);
  auto view = msgSend<std::shared_ptr<UIView>>(cls, sel_registerName(TSCustomizedThingsView::kCreateSelector),
                                               CGRectMake(0, 0, 50, 16), std::string("app"), UIColor::whiteColor());
  auto* strip = dynamic_cast<TSCustomizedThingsView*>(view.get());
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->frame(), CGRectMake(0, 0, 50, 16));
  EXPECT_EQ(strip->uiColor(), UIColor::whiteColor());
  EXPECT_EQ(names(*strip), (std::vector<std::string>{"volume"}));
}

// --- Drawn ---

TEST_F(CustomizedThingsViewTest, IconsAreDrawnInTheColourAtTheirAlpha) {
  store({{"app", plist::Value(Dict{{"toggles", plist::Value(Dict{{"wifi", 1}, {"dnd", 0}})}})}});
  auto view = strip("app", CGRectMake(0, 0, 40, 16), UIColor::redColor());
  ViewRenderer renderer;
  auto image = renderer.renderView(*view, 1);
  const uint32_t p = image->pixelAt(2, 4);  // inside the first icon (40 / 2 - 4 = 16 wide)
  EXPECT_EQ(p >> 24, 166u);                 // 0.65 of full alpha
  EXPECT_EQ((p >> 16) & 0xFF, 255u);        // red
  EXPECT_EQ(p & 0xFFFF, 0u);
}

}  // namespace
