#include <gtest/gtest.h>

#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewController.h"
#include "tests/tweak/toast/ToastFixture.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/toast/TessraToast.h"
#include "tweak/toast/ToastHelper.h"

namespace tessra::testing {
namespace {

using platform::UILabel;

class ToastHelperTest : public ToastFixture {
 protected:
  ToastHelperTest() {
    controller = std::make_shared<platform::UIViewController>();
    window->setRootViewController(controller);
  }
  // The texts of the labels of the toast on screen, title first.
  std::vector<std::string> shownTexts() {
    std::vector<std::string> texts;
    auto& subviews = controller->view()->subviews();
    if (subviews.empty()) return texts;
    for (const auto& view : subviews.back()->subviews())
      if (auto* label = dynamic_cast<UILabel*>(view.get())) texts.push_back(label->text());
    return texts;
  }

  std::shared_ptr<platform::UIViewController> controller;
};

TEST_F(ToastHelperTest, WithoutAnImageATitleOrAMessageAloneMakesAPlainToast) {
  ToastHelper::showToastWithTitle("Only the title", std::nullopt, 3.0, nullptr, controller);
  EXPECT_TRUE(shownTexts().empty());  // posted to the main queue
  env.runUntilIdle();
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Only the title"});
  auto* label = dynamic_cast<UILabel*>(controller->view()->subviews().back()->subviews().front().get());
  EXPECT_EQ(label->font().weight(), platform::UIFontWeight::Regular);  // shown as a message
  EXPECT_TRUE(TSToastManager::ts_isQueueEnabled());                    // the product style turned queueing on
}

TEST_F(ToastHelperTest, TitleAndMessageTogetherMakeAFullToastAndNothingMakesNone) {
  ToastHelper::showToastWithTitle("Title", "Message", 3.0, nullptr, controller);
  ToastHelper::showToastWithTitle(std::nullopt, std::nullopt, 3.0, nullptr, controller);
  ToastHelper::showToastWithTitle("Title", "Message", 3.0, nullptr, nullptr);
  env.runUntilIdle();
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{"Title", "Message"}));
  EXPECT_EQ(controller->view()->subviews().size(), 1u);
  forward(3.5);
  EXPECT_TRUE(controller->view()->subviews().empty());  // nothing waited behind it
}

TEST_F(ToastHelperTest, TheShortToastMakesOneAndAHalfSecondsTheDefault) {
  ToastHelper::showToast("Saved", controller);
  env.runUntilIdle();
  EXPECT_EQ(TSToastManager::defaultDuration(), 1.5);
  forward(0.2 + 1.5 + 0.2 + 0.01);
  EXPECT_TRUE(controller->view()->subviews().empty());
}

TEST_F(ToastHelperTest, TheDebugToastShowsOnlyWithDebugInformationOn) {
  bool& debug = TessraStorageManager::sharedInstance().debugInformationEnabled;
  debug = false;
  ToastHelper::showToast("debug line");
  env.runUntilIdle();
  EXPECT_TRUE(controller->view()->subviews().empty());
  debug = true;
  ToastHelper::showToast("debug line");  // over the top-most controller, the key window's root here
  env.runUntilIdle();
  debug = false;
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"debug line"});
}

TEST_F(ToastHelperTest, RemovingConstraintsFromASubtreeTakesOnlyThoseAsked) {
  auto parent = std::make_shared<platform::UIView>();
  auto child = std::make_shared<platform::UIView>();
  parent->addSubview(child);
  auto width = child->widthAnchor().constraintEqualToConstant(10);
  auto height = child->heightAnchor().constraintEqualToConstant(20);
  child->addConstraints({width, height});
  TessraToast::lun_removeConstraintsFromSubTree(*parent, {width});
  EXPECT_EQ(child->constraints(), (std::vector<platform::NSLayoutConstraint::Ptr>{height}));
}

}  // namespace
}  // namespace tessra::testing
