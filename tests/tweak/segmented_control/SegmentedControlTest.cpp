// The segmented control driven the way a person drives it: touches delivered
// through the window (drags, flings, taps), reloads with a changing number of
// states, programmatic moves, and what the delegate hears each time.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIWindow.h"
#include "tests/tweak/segmented_control/SegmentedControlTestSupport.h"
#include "tweak/TSSegmentedControl/TSSegmentedControl.h"

namespace {

using namespace platform;
using Strings = std::vector<std::string>;

// A 300 x 30 control at (50, 20) in a window; two states unless a test changes it.
class SegmentedControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSink_ = Log::setSink([this](const std::string& line) { log.push_back(line); });
    window->makeKeyAndVisible();
    window->addSubview(control);
    control->setDelegate(delegate);
    control->setDataSource(source);
    control->layoutIfNeeded();
    delegate->clear();
  }
  void TearDown() override { Log::setSink(previousSink_); }

  void forward(double s) { env.fastForwardBy(seconds(s)); }
  // A point of the control in window coordinates.
  CGPoint at(double x, double y = 15) { return {50 + x, 20 + y}; }
  double offset() const { return control->scrollView().contentOffset().x; }
  // Finger down at control x0; moves in 10 ms steps (the first 15 points start the drag).
  void press(double x0) {
    window->sendTouch(UITouchPhase::Began, at(x0));
    forward(0.01);
    finger_ = x0 + 15;
    window->sendTouch(UITouchPhase::Moved, at(finger_));
  }
  void moveBy(double dx, int steps = 5) {
    const double from = finger_;
    for (int i = 1; i <= steps; ++i) {
      forward(0.01);
      finger_ = from + dx * i / steps;
      window->sendTouch(UITouchPhase::Moved, at(finger_));
    }
  }
  void lift(double restFirst = 0.2) {
    forward(restFirst);
    window->sendTouch(UITouchPhase::Ended, at(finger_));
  }

  ManualTaskEnvironment env;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 400, 100));
  std::shared_ptr<TSSegmentedControl> control = std::make_shared<TSSegmentedControl>(CGRectMake(50, 20, 300, 30));
  std::shared_ptr<TitlesDataSource> source = std::make_shared<TitlesDataSource>(2);
  std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
  Strings log;

 private:
  Log::Sink previousSink_;
  double finger_ = 0;
};

// --- Building ---

TEST_F(SegmentedControlTest, FirstLayoutShowsStateZeroWithSlotsSideBySide) {
  EXPECT_EQ(control->statesCount(), 2);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(offset(), 150);
  EXPECT_EQ(control->scrollView().contentSize(), CGSizeMake(450, 30));
  EXPECT_EQ(control->selectorView().frame(), CGRectMake(150, 0, 150, 30));
  ASSERT_EQ(control->stateViewContainers().size(), 2u);
  EXPECT_EQ(control->stateViewContainers()[1]->frame(), CGRectMake(150, 0, 150, 30));
  EXPECT_EQ(control->selectedStateViewContainers()[1]->frame(), CGRectMake(150, 0, 150, 30));
  EXPECT_EQ(control->stateViews()[1]->frame(), CGRectMake(0, 0, 150, 30));
  auto* title = dynamic_cast<UILabel*>(control->stateViews()[1].get());
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), "S1");
  EXPECT_EQ(title->textColor(), UIColor::blackColor());
  EXPECT_EQ(dynamic_cast<UILabel*>(control->selectedStateViews()[1].get())->textColor(), UIColor::whiteColor());
  EXPECT_EQ(control->leftLimiterView().frame(), CGRectMake(0, 0, 0, 30));
  EXPECT_EQ(control->rightLimiterView().frame(), CGRectMake(150, 0, 150, 30));
  EXPECT_TRUE(control->selectorViewPath().has_value());
}

// Slot content as views: tagged 10 + i for the plain views, 20 + i for the selected ones.
class ViewsDataSource : public TSSegmentedControlDataSource {
 public:
  long numberOfStatesInSegmentedControl(TSSegmentedControl&) override { return 2; }
  std::optional<std::string> titleForStateAtIndex(TSSegmentedControl&, long index) override {
    return titles ? std::optional<std::string>("T" + std::to_string(index)) : std::nullopt;
  }
  std::optional<std::string> titleForSelectedStateAtIndex(TSSegmentedControl&, long index) override {
    return selectedTitles ? std::optional<std::string>("Selected T" + std::to_string(index)) : std::nullopt;
  }
  std::shared_ptr<UIView> viewForStateAtIndex(TSSegmentedControl&, long index) override {
    if (!views) return nullptr;
    auto view = std::make_shared<UIView>();
    view->setTag(10 + index);
    ++viewsMade;
    return view;
  }
  std::shared_ptr<UIView> viewForSelectedStateAtIndex(TSSegmentedControl&, long index) override {
    if (!selectedViews) return nullptr;
    auto view = std::make_shared<UIView>();
    view->setTag(20 + index);
    return view;
  }
  std::optional<NSAttributedString> attributedTitleForStateAtIndex(TSSegmentedControl&, long index) override {
    if (!attributedTitles) return std::nullopt;
    NSAttributedString title("Bold T" + std::to_string(index));
    title.addFont(UIFont::systemFontOfSize(20, UIFontWeight::Bold), 0, 4);
    title.addForegroundColor(UIColor::redColor(), 0, 4);
    return title;
  }
  std::optional<NSAttributedString> attributedTitleForSelectedStateAtIndex(TSSegmentedControl&, long index) override {
    if (!attributedSelectedTitles) return std::nullopt;
    NSAttributedString title("Bold selected T" + std::to_string(index));
    title.addFont(UIFont::systemFontOfSize(20, UIFontWeight::Bold), 0, 4);
    return title;
  }
  bool titles = false, selectedTitles = false, views = false, selectedViews = false;
  bool attributedTitles = false, attributedSelectedTitles = false;
  int viewsMade = 0;
};

TEST_F(SegmentedControlTest, SlotContentComesFromViewsBeforeTitles) {
  auto views = std::make_shared<ViewsDataSource>();
  views->titles = views->views = views->selectedViews = true;
  control->setDataSource(views);
  EXPECT_EQ(control->stateViews()[1]->tag(), 11);
  EXPECT_EQ(control->selectedStateViews()[1]->tag(), 21);
  EXPECT_EQ(control->stateViews()[1]->superview(), control->stateViewContainers()[1].get());
  EXPECT_EQ(control->stateViews()[1]->frame(), CGRectMake(0, 0, 150, 30));
  EXPECT_EQ(control->selectedStateViews()[1]->frame(), CGRectMake(0, 0, 150, 30));

  // Without selected views the data source is asked for a second plain view.
  views->selectedViews = false;
  views->viewsMade = 0;
  control->reloadData();
  EXPECT_EQ(views->viewsMade, 4);
  EXPECT_EQ(control->selectedStateViews()[0]->tag(), 10);
  EXPECT_NE(control->selectedStateViews()[0], control->stateViews()[0]);
  EXPECT_TRUE(log.empty());
}

TEST_F(SegmentedControlTest, SelectedTitlesWinOverTitlesInTheSelectedLook) {
  auto titles = std::make_shared<ViewsDataSource>();
  titles->titles = titles->selectedTitles = true;
  control->setTextFont(UIFont::systemFontOfSize(11));
  control->setDataSource(titles);
  auto* plain = dynamic_cast<UILabel*>(control->stateViews()[0].get());
  auto* selected = dynamic_cast<UILabel*>(control->selectedStateViews()[0].get());
  ASSERT_TRUE(plain && selected);
  EXPECT_EQ(plain->text(), "T0");
  EXPECT_EQ(selected->text(), "Selected T0");
  EXPECT_EQ(selected->textColor(), UIColor::whiteColor());
  EXPECT_EQ(selected->font().pointSize(), 11);
  EXPECT_EQ(selected->textAlignment(), NSTextAlignment::Center);
}

TEST_F(SegmentedControlTest, AttributedTitlesWinAndTakeTheControlsColours) {
  auto titles = std::make_shared<ViewsDataSource>();
  titles->titles = titles->attributedTitles = true;
  control->setTextFont(UIFont::systemFontOfSize(11));
  control->setDataSource(titles);
  auto* plain = dynamic_cast<UILabel*>(control->stateViews()[1].get());
  auto* selected = dynamic_cast<UILabel*>(control->selectedStateViews()[1].get());
  ASSERT_TRUE(plain && selected);
  EXPECT_EQ(plain->text(), "Bold T1");
  EXPECT_EQ(plain->font().pointSize(), 11);  // the plain title's font, where the attributed one sets none
  EXPECT_EQ(plain->textColor(), UIColor::blackColor());
  // The styled part keeps its font; the colour is the control's over the whole text.
  NSAttributedString expected("Bold T1");
  expected.addFont(UIFont::systemFontOfSize(20, UIFontWeight::Bold), 0, 4);
  EXPECT_EQ(plain->attributedText(), expected);
  // Without selected titles the selected look takes the same titles, in the selected colour.
  EXPECT_EQ(selected->attributedText(), expected);
  EXPECT_EQ(selected->textColor(), UIColor::whiteColor());
  // The bold part makes the title wider than the same text in the plain font.
  UILabel same;
  same.setText("Bold T1");
  same.setFont(UIFont::systemFontOfSize(11));
  EXPECT_GT(plain->intrinsicContentSize().width, same.intrinsicContentSize().width + 5);

  titles->attributedSelectedTitles = true;
  control->reloadData();
  selected = dynamic_cast<UILabel*>(control->selectedStateViews()[0].get());
  EXPECT_EQ(selected->text(), "Bold selected T0");

  // An attributed title alone is enough.
  titles->titles = titles->attributedSelectedTitles = false;
  control->reloadData();
  EXPECT_EQ(dynamic_cast<UILabel*>(control->stateViews()[0].get())->text(), "Bold T0");
  EXPECT_TRUE(log.empty());
}

TEST_F(SegmentedControlTest, ViewsAreOrderedBackToFront) {
  const auto& subs = control->subviews();
  ASSERT_EQ(subs.size(), 9u);
  EXPECT_EQ(subs[0].get(), &control->gradientViewContainer());
  EXPECT_EQ(subs[1].get(), &control->scrollView());
  EXPECT_EQ(subs[2].get(), &control->leftLimiterView());
  EXPECT_EQ(subs[3].get(), &control->rightLimiterView());
  EXPECT_EQ(subs[4].get(), &control->shadowView());
  EXPECT_EQ(subs[5], control->stateViewContainers()[0]);
  EXPECT_EQ(subs[6], control->selectedStateViewContainers()[0]);
  EXPECT_EQ(subs[7], control->stateViewContainers()[1]);
  EXPECT_EQ(subs[8], control->selectedStateViewContainers()[1]);
}

// --- Dragging through touches ---

TEST_F(SegmentedControlTest, DragFromTheFirstStateToTheSecondAndBack) {
  press(75);  // on the selector
  EXPECT_EQ(delegate->events, (Strings{"will 0"}));
  moveBy(100);
  EXPECT_EQ(offset(), 50);  // the selector follows the finger
  EXPECT_DOUBLE_EQ(delegate->edges.back(), 100);
  EXPECT_DOUBLE_EQ(delegate->percents.back(), 100.0 / 150);
  lift();
  forward(2);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(delegate->events, (Strings{"will 0", "scroll", "change 0 1"}));
  EXPECT_EQ(delegate->percents.back(), 1);
  EXPECT_EQ(delegate->lastLeft, 1);
  EXPECT_EQ(delegate->lastRight, 2);
  for (size_t i = 1; i < delegate->percents.size(); ++i) EXPECT_GE(delegate->percents[i], delegate->percents[i - 1]);

  delegate->clear();
  press(225);
  moveBy(-110);
  lift();
  forward(2);
  EXPECT_EQ(offset(), 150);
  EXPECT_EQ(delegate->events, (Strings{"will 1", "scroll", "change 1 0"}));
  EXPECT_EQ(delegate->percents.back(), 0);
}

TEST_F(SegmentedControlTest, TouchesOnTheScreenReachItThroughTheApplication) {
  auto& app = UIApplication::sharedApplication();
  app.sendTouch(UITouchPhase::Began, at(60));
  for (double x = 60; x <= 240; x += 20) {
    forward(0.01);
    app.sendTouch(UITouchPhase::Moved, at(x));
  }
  forward(0.2);
  app.sendTouch(UITouchPhase::Ended, at(240));
  forward(2);
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(delegate->events, (Strings{"will 0", "scroll", "change 0 1"}));
  app.sendTouch(UITouchPhase::Began, at(30));
  app.sendTouch(UITouchPhase::Ended, at(30));
  forward(1);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(delegate->events.back(), "change 1 0");
}

TEST_F(SegmentedControlTest, FlingEndsExactlyOnAState) {
  control->setCurrentState(0);
  press(75);
  moveBy(40, 2);  // fast: 2000 points per second
  window->sendTouch(UITouchPhase::Ended, at(75 + 15 + 40));
  forward(3);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(delegate->events.back(), "change 0 1");
}

TEST_F(SegmentedControlTest, ReleaseExactlyHalfWaySnapsBackToTheFirstState) {
  press(75);
  moveBy(75);
  EXPECT_EQ(offset(), 75);
  EXPECT_EQ(delegate->percents.back(), 0.5);
  lift();
  forward(2);
  EXPECT_EQ(offset(), 150);
  EXPECT_EQ(delegate->events, (Strings{"will 0", "scroll", "change 0 0"}));
}

TEST_F(SegmentedControlTest, ReleaseAtRestOnAStateCommitsIt) {
  press(75);
  moveBy(150);
  EXPECT_EQ(offset(), 0);
  lift(0.3);  // no speed left: nothing decelerates
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(delegate->events, (Strings{"will 0", "scroll", "change 0 1"}));
}

TEST_F(SegmentedControlTest, DraggedPastTheFirstStateOnlyThatSlotChangesAndItSpringsBack) {
  press(75);
  moveBy(-40);
  EXPECT_GT(offset(), 150);
  EXPECT_LT(delegate->percents.back(), 0);
  EXPECT_EQ(delegate->lastLeft, -1);
  for (const auto& [index, s] : delegate->setups) EXPECT_NE(index, -1);
  lift();
  forward(3);
  EXPECT_EQ(offset(), 150);
  EXPECT_EQ(control->currentState(), 0);
}

TEST_F(SegmentedControlTest, DraggedPastTheLastStateOnlyThatSlotChangesAndItSpringsBack) {
  control->setCurrentState(1);
  delegate->clear();
  press(225);
  moveBy(40);
  EXPECT_LT(offset(), 0);
  EXPECT_GT(delegate->percents.back(), 1);
  EXPECT_EQ(delegate->lastLeft, 1);
  EXPECT_EQ(delegate->lastRight, 2);
  for (const auto& [index, s] : delegate->setups) EXPECT_LT(index, 2);
  lift();
  forward(3);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(delegate->percents.back(), 1);
  EXPECT_EQ(delegate->events, (Strings{"will 1", "scroll", "change 1 1"}));
}

TEST_F(SegmentedControlTest, ReloadInTheMiddleOfADragKeepsEverythingInRange) {
  press(75);
  moveBy(60);
  source->count = 3;
  control->reloadData();
  EXPECT_EQ(control->statesCount(), 3);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(control->stateViewContainers().size(), 3u);
  EXPECT_DOUBLE_EQ(offset(), 200);
  moveBy(30);
  lift();
  forward(3);
  ASSERT_FALSE(delegate->events.empty());
  const std::string last = delegate->events.back();
  EXPECT_TRUE(last == "change 0 0" || last == "change 0 1" || last == "change 0 2") << last;
  EXPECT_DOUBLE_EQ(offset(), control->geometry().offsetFromState(control->currentState()).x);
}

// --- Taps ---

TEST_F(SegmentedControlTest, TapOnEachSlotMovesThereWithAnAnimation) {
  source->count = 3;
  control->reloadData();
  delegate->clear();
  window->tap(at(250));
  EXPECT_EQ(delegate->events, (Strings{"tap 2"}));
  EXPECT_FALSE(control->isUserInteractionEnabled());
  window->tap(at(20));  // ignored while the selector moves
  forward(0.15);
  EXPECT_GT(offset(), 0);
  EXPECT_LT(offset(), 200);
  forward(0.2);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(delegate->events, (Strings{"tap 2", "scroll", "change 0 2"}));
  EXPECT_TRUE(control->isUserInteractionEnabled());

  delegate->clear();
  window->tap(at(150));
  forward(0.5);
  EXPECT_EQ(delegate->events, (Strings{"tap 1", "scroll", "change 2 1"}));
  delegate->clear();
  window->tap(at(10));
  forward(0.5);
  EXPECT_EQ(delegate->events, (Strings{"tap 0", "scroll", "change 1 0"}));
  EXPECT_EQ(offset(), 200);
}

TEST_F(SegmentedControlTest, AControlGoneWhileAFingerIsDownOnItIsNotCalled) {
  window->sendTouch(UITouchPhase::Began, at(250));
  control->removeFromSuperview();
  control.reset();
  window->sendTouch(UITouchPhase::Ended, at(250));
  forward(1);
  EXPECT_TRUE(delegate->events.empty());
}

TEST_F(SegmentedControlTest, TapOnTheSelectedSlotDoesNothing) {
  window->tap(at(75));
  forward(1);
  EXPECT_TRUE(delegate->events.empty());
  EXPECT_TRUE(control->isUserInteractionEnabled());
}

TEST_F(SegmentedControlTest, ReloadDuringATapsMoveGivesTouchesBack) {
  window->tap(at(250));
  forward(0.1);
  control->reloadData();
  EXPECT_TRUE(control->isUserInteractionEnabled());
  forward(1);
  EXPECT_EQ(offset(), 150);
  EXPECT_EQ(control->currentState(), 0);
}

// --- Programmatic moves ---

TEST_F(SegmentedControlTest, MoveWithoutAnimationReportsScrollingOnly) {
  control->setCurrentState(1);
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(delegate->events, (Strings{"scroll"}));
  control->setCurrentState(0, true);
  EXPECT_EQ(control->currentState(), 1);
  forward(0.4);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(delegate->events, (Strings{"scroll", "change 1 0"}));
}

TEST_F(SegmentedControlTest, ReloadOfALaidOutControlGoesBackToStateZero) {
  control->setCurrentState(1);
  control->reloadData();
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(offset(), 150);
}

TEST_F(SegmentedControlTest, ProgrammerErrorsAreReportedAndChangeNothing) {
  control->setCurrentState(2);
  control->setCurrentState(-1, true);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_EQ(offset(), 150);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0],
            "*** Assertion failure in TSSegmentedControl: Unable to set state 2. Segmented control has only 2 "
            "states from 0 to 1.");
  source->titles = false;
  control->reloadData();
  EXPECT_EQ(log.back(),
            "*** Assertion failure in TSSegmentedControl: Data source should provide titles/attribute "
            "titles or views.");
  EXPECT_EQ(control->stateViews().size(), 2u);
}

TEST_F(SegmentedControlTest, WithoutADataSourceNothingMoves) {
  auto bare = std::make_shared<TSSegmentedControl>(CGRectMake(0, 0, 200, 30));
  bare->reloadData();
  bare->setCurrentState(1, true);
  EXPECT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Can't reload segmented control data without specified data source.");
  EXPECT_TRUE(log[1].starts_with("Warning! Data source of segmented control:<TSSegmentedControl: "));
  EXPECT_TRUE(log[1].ends_with("> wasn't set. In order to use segmented control set its data source."));
  EXPECT_EQ(bare->currentState(), 0);
}

// --- Fewer than two states, and N changing ---

TEST_F(SegmentedControlTest, OneStateFillsTheControlAndCannotMove) {
  source->count = 1;
  control->reloadData();
  EXPECT_EQ(control->selectorView().frame(), CGRectMake(0, 0, 300, 30));
  EXPECT_EQ(offset(), 0);
  press(150);
  moveBy(80);
  lift();
  window->tap(at(150));
  forward(1);
  EXPECT_EQ(offset(), 0);
  EXPECT_EQ(control->currentState(), 0);
  EXPECT_TRUE(control->isUserInteractionEnabled());
}

TEST_F(SegmentedControlTest, NoStatesShowsNothingAndTakesTouchesSafely) {
  source->count = 0;
  control->reloadData();
  EXPECT_EQ(control->statesCount(), 0);
  EXPECT_TRUE(control->stateViewContainers().empty());
  EXPECT_EQ(control->gradientView().gradientLayer().colors().size(), 0u);
  press(150);
  moveBy(80);
  lift();
  window->tap(at(10));
  forward(1);
  EXPECT_EQ(control->currentState(), 0);
  source->count = -4;  // nonsense counts as none
  control->reloadData();
  EXPECT_EQ(control->statesCount(), 0);
}

TEST_F(SegmentedControlTest, TheNumberOfStatesMayChangeBetweenReloads) {
  for (long n : {4L, 1L, 3L, 0L, 2L, 5L}) {
    source->count = n;
    control->setCurrentState(n > 0 ? n - 1 : 0);
    control->reloadData();
    EXPECT_EQ(control->stateViewContainers().size(), static_cast<size_t>(n));
    EXPECT_EQ(control->currentState(), 0) << n;
    if (n > 0) {
      EXPECT_DOUBLE_EQ(control->stateViewContainers().back()->frame().origin.x,
                       300.0 * static_cast<double>(n - 1) / static_cast<double>(n));
      EXPECT_DOUBLE_EQ(offset(), control->geometry().offsetFromState(0).x);
    }
  }
  window->tap(at(290));
  forward(1);
  EXPECT_EQ(control->currentState(), 4);
}

// Reloads from inside the delegate's scroll report, with a new N each time.
class ReloadingDelegate : public RecordingDelegate {
 public:
  explicit ReloadingDelegate(std::shared_ptr<TitlesDataSource> source) : source_(std::move(source)) {}
  void didScrollWithXOffset(TSSegmentedControl& control, double x, double p, long l, long r) override {
    RecordingDelegate::didScrollWithXOffset(control, x, p, l, r);
    if (reloads_++ < 20) {
      source_->count = 1 + reloads_ % 4;
      control.reloadData();
    }
  }

 private:
  std::shared_ptr<TitlesDataSource> source_;
  int reloads_ = 0;
};

TEST_F(SegmentedControlTest, ADelegateThatReloadsWhileScrollingLeavesItSound) {
  auto reloading = std::make_shared<ReloadingDelegate>(source);
  control->setDelegate(reloading);
  press(75);
  moveBy(60);
  lift();
  window->tap(at(280));
  forward(3);
  EXPECT_GE(control->currentState(), 0);
  EXPECT_LT(control->currentState(), control->statesCount());
  EXPECT_EQ(control->stateViewContainers().size(), static_cast<size_t>(control->statesCount()));
  EXPECT_DOUBLE_EQ(offset(), control->geometry().offsetFromState(control->currentState()).x);
  EXPECT_TRUE(control->isUserInteractionEnabled());
}

TEST_F(SegmentedControlTest, ResizingKeepsTheCurrentState) {
  control->setCurrentState(1);
  control->setFrame(CGRectMake(50, 20, 200, 30));
  control->layoutIfNeeded();
  EXPECT_EQ(control->currentState(), 1);
  EXPECT_EQ(offset(), 0);
  control->setCurrentState(0);
  control->setFrame(CGRectMake(50, 20, 240, 30));
  control->layoutIfNeeded();
  EXPECT_EQ(offset(), 120);
  EXPECT_EQ(control->selectorView().frame(), CGRectMake(120, 0, 120, 30));
}

}  // namespace
