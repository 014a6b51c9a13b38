#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Object.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIVisualEffectView.h"
#include "tweak/TSSegmentedControl/TSSegmentedControl.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlDataSource.h"
#include "tweak/TSSegmentedControl/TSSegmentedControlDelegate.h"

class Tessra2RingView;
class Tessra2SliderView;

// The customization panel: a full-screen controller presented over the home
// screen or an app, in which the user edits one app's customization — the
// toggles ring, the behaviours ring (one shown at a time, switched by the
// segmented control), the volume and brightness sliders in a disc in the
// middle, the app's name above and a two-line text below. Every edit is
// saved by the control that made it; the controller builds the view tree
// (in viewWillAppear), points the store at the app, picks the visible ring,
// shows the bottom texts and dismisses itself on a tap outside the controls.
// The presenter holds the panel until its onDismiss runs; the panel owns its
// whole view tree. Main thread only.
class Tessra2ViewController : public platform::UIViewController,
                              public TSSegmentedControlDataSource,
                              public TSSegmentedControlDelegate {
 public:
  using DismissBlock = std::function<void()>;

  // How long a ring switch waits before showing the other ring, and how long texts stay.
  static constexpr double kRingSwitchDelay = 0.1;
  static constexpr double kBottomTextDuration = 1.5;
  static constexpr double kBottomTextFade = 0.15;
  // Largest ring side.
  static constexpr double kMaxRingSize = 400;

  Tessra2ViewController();
  ~Tessra2ViewController() override;

  // Keeps the three values and makes the app the store's current one. Call before showing the panel.
  void setupWithBundleId(std::string bundleId, std::string appName, platform::plist::Value dictionary);
  const std::string& bundleId() const { return bundleId_; }
  const std::string& appName() const { return appName_; }
  const platform::plist::Value& dictionary() const { return dictionary_; }
  // The home screen's status bar and floating dock (either may be null), hidden while the panel shows.
  void setSpringboardStatusBar(platform::Ref<platform::Object> statusBar) { statusBar_ = std::move(statusBar); }
  const platform::Ref<platform::Object>& springboardStatusBar() const { return statusBar_; }
  void setSpringboardIpadDock(platform::Ref<platform::Object> dock) { dock_ = std::move(dock); }
  const platform::Ref<platform::Object>& springboardIpadDock() const { return dock_; }
  // Called right after the panel has asked to be dismissed.
  void setOnDismiss(DismissBlock block) { onDismiss_ = std::move(block); }

  void viewDidLoad() override;
  // Builds the view tree and hides the status bar and dock.
  void viewWillAppear(bool animated) override;
  // Hides the visible ring and brings the status bar and dock back.
  void viewWillDisappear(bool animated) override;
  // The platform's dismissal, then onDismiss at once.
  void dismissViewControllerAnimated(bool animated, Completion completion) override;

  // Shows `text` now and clears it after `duration` seconds (older pending clears are dropped).
  void showBottomLabelWithText(const std::string& text, double duration);
  // Cross-fades the bottom label to `text` (nothing clears it).
  void showBottomLabelWithText(const std::optional<std::string>& text);
  // Shows the notification's "bottomLabelText" for 1.5 s.
  void setBottomLabelTextNotificationReceived(const platform::Notification& notification);
  // Switch the visible ring (hide the current one; 0.1 s later show the other).
  void showTogglesRingView();
  void showActionsRingView();
  // Dismisses the panel when the tap was on the backdrop or on the toggles ring.
  void dismissGestureTapped(platform::UIGestureRecognizer& recognizer);
  // Empties the slider whose remove button was tapped.
  void sliderRemoveButtonClicked(platform::UIControl& sender);
  // Places a remove button under its slider.
  void constraintRemoveButton(platform::UIButton* button, Tessra2SliderView* slider);

  // Segmented control answers: two states, "Toggles" and "Behaviors".
  long numberOfStatesInSegmentedControl(TSSegmentedControl& control) override;
  std::optional<std::string> titleForStateAtIndex(TSSegmentedControl& control, long index) override;
  // A tap on a slot switches to its ring when that ring is hidden.
  void didTapAtIndex(TSSegmentedControl& control, long index) override;
  // A scroll past the middle switches to the ring it moves towards.
  using TSSegmentedControlDelegate::didScrollWithXOffset;
  void didScrollWithXOffset(TSSegmentedControl& control, double xOffset, double percent, long leftIndex,
                            long rightIndex) override;
  // A finger starts dragging the selector: where it will rest is not known yet.
  void willChangeStateFromStateAtIndex(TSSegmentedControl& control, long state) override;
  // The selector came to rest on a slot: the ring of that slot is shown, now or once a switch under way ends.
  void didChangeStateFromStateAtIndex(TSSegmentedControl& control, long from, long to) override;

  // The view tree (null until viewWillAppear).
  platform::UIVisualEffectView* blurEffectView() const { return blurEffectView_.get(); }
  Tessra2RingView* togglesRingView() const { return togglesRingView_.get(); }
  Tessra2RingView* actionsRingView() const { return actionsRingView_.get(); }
  Tessra2RingView* currentVisibleRingView() const { return currentVisibleRingView_.get(); }
  bool isAnimatingRingView() const { return isAnimatingRingView_; }
  Tessra2SliderView* volumeSliderView() const { return volumeSliderView_.get(); }
  Tessra2SliderView* brightnessSliderView() const { return brightnessSliderView_.get(); }
  platform::UIView* sliderDiscView() const { return sliderDisc_.get(); }
  platform::UILabel* bottomLabel() const { return bottomLabel_.get(); }
  platform::UILabel* appNameLabel() const { return appNameLabel_.get(); }
  platform::UIView* segmentedControlHolder() const { return segmentedHolder_.get(); }
  TSSegmentedControl* segmentedControl() const { return togglesAndActionsSegmentedControl_.get(); }

  // The last percent any panel's segmented control reported (shared by all panels).
  static double previousPercent();

 private:
  bool darkStyle() const;
  double ringSide() const;
  void addBlurView();
  void addButtonsRingView();
  void addActionsRingView();
  void addSlidersView();
  void addTogglesAndActionsSegmentedControl();
  void addAppNameLabel();
  void addBottomLabel();
  void addDismissGesture();
  std::shared_ptr<platform::UIButton> makeRemoveButton(Tessra2SliderView* slider);
  void switchRing(const std::shared_ptr<Tessra2RingView>& ring, const char* textFormat);
  void followSelector();
  std::shared_ptr<Tessra2ViewController> self();

  std::shared_ptr<platform::UIVisualEffectView> blurEffectView_;
  std::shared_ptr<Tessra2RingView> togglesRingView_;
  std::shared_ptr<Tessra2RingView> actionsRingView_;
  std::shared_ptr<Tessra2SliderView> volumeSliderView_;
  std::shared_ptr<Tessra2SliderView> brightnessSliderView_;
  std::shared_ptr<platform::UILabel> bottomLabel_;
  std::shared_ptr<platform::UIView> segmentedHolder_;
  std::shared_ptr<TSSegmentedControl> togglesAndActionsSegmentedControl_;
  std::shared_ptr<Tessra2RingView> currentVisibleRingView_;
  bool isAnimatingRingView_ = false;
  // The slot the selector rests on; nothing while a finger drags it or it moves after a tap. Taps
  // and scroll reports that arrive while a switch is under way switch nothing; the ring catches up
  // with this slot once the switch has ended.
  std::optional<long> restingState_;
  std::shared_ptr<platform::UIView> sliderDisc_;
  std::shared_ptr<platform::UILabel> appNameLabel_;

  std::string bundleId_;
  std::string appName_;
  platform::plist::Value dictionary_;
  platform::Ref<platform::Object> statusBar_;
  platform::Ref<platform::Object> dock_;
  DismissBlock onDismiss_;
  uint64_t bottomTextObserver_ = 0;
};
