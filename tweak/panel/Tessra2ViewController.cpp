#include "tweak/panel/Tessra2ViewController.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/runtime/MessageSend.h"
#include "platform/ui/UILayoutGuide.h"
#include "tweak/catalogue/Tessra2Action.h"
#include "tweak/catalogue/Tessra2Slider.h"
#include "tweak/catalogue/Tessra2Toggle.h"
#include "tweak/catalogue/ToggleTexts.h"
#include "tweak/controls/HapticFeedbackHelper.h"
#include "tweak/panel/PanelIdentifiers.h"
#include "tweak/panel/PanelImages.h"
#include "tweak/panel/PanelNotifications.h"
#include "tweak/panel/Tessra2RingView.h"
#include "tweak/panel/Tessra2SliderView.h"
#include "tweak/store/TessraStorageManager.h"

using namespace platform;

namespace {

// The last percent reported by any panel's segmented control while scrolling.
double g_previousPercent = 0.0;

constexpr const char* kTogglesRingText = "Toggles when %@ is running";
constexpr const char* kActionsRingText = "Behaviors when %@ is opening or running";
constexpr const char* kTogglesTitle = "Toggles";
constexpr const char* kActionsTitle = "Behaviors";

// The slider disc's sliders sit this far left and right of its centre.
constexpr double kSliderOffset = 30;

std::vector<std::shared_ptr<Tessra2Toggle>> allToggles() { return Tessra2Toggle::getAllToggles(); }

std::vector<std::shared_ptr<Tessra2Toggle>> allActions() {
  std::vector<std::shared_ptr<Tessra2Toggle>> list;
  for (auto& action : Tessra2Action::getAllActions()) list.push_back(action);
  return list;
}

// A guide owned by `owner`, spanning its width (only its height takes part in the layout).
std::shared_ptr<UILayoutGuide> addSpacingGuide(UIView* owner) {
  auto guide = std::make_shared<UILayoutGuide>();
  owner->addLayoutGuide(guide);
  NSLayoutConstraint::activateConstraints({guide->leadingAnchor().constraintEqualToAnchor(owner->leadingAnchor()),
                                           guide->widthAnchor().constraintEqualToAnchor(owner->widthAnchor(), 1, 0)});
  return guide;
}

// A label in the panel's text style, placed horizontally like every panel label.
std::shared_ptr<UILabel> addPanelLabel(UIView* root, const UIFont& font, int lines, double minimumScale) {
  auto label = std::make_shared<UILabel>();
  label->setTextColor(UIColor::whiteColor());
  label->setTextAlignment(NSTextAlignment::Center);
  label->setFont(font);
  label->setAlpha(0.98);
  label->setNumberOfLines(lines);
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumScaleFactor(minimumScale);
  label->setUserInteractionEnabled(false);
  label->setTranslatesAutoresizingMaskIntoConstraints(false);
  root->addSubview(label);
  NSLayoutConstraint::activateConstraints({label->leadingAnchor().constraintEqualToAnchor(root->leadingAnchor(), 80),
                                           label->centerXAnchor().constraintEqualToAnchor(root->centerXAnchor())});
  return label;
}

// `label` between `top` and `bottom`, the space above it `ratio` times the space below it.
void placeBetween(UIView* root, UILabel* label, const NSLayoutAnchor& top, const NSLayoutAnchor& bottom, double ratio) {
  auto above = addSpacingGuide(root);
  auto below = addSpacingGuide(root);
  NSLayoutConstraint::activateConstraints({
      above->topAnchor().constraintEqualToAnchor(top),
      above->bottomAnchor().constraintEqualToAnchor(label->topAnchor()),
      below->topAnchor().constraintEqualToAnchor(label->bottomAnchor()),
      below->bottomAnchor().constraintEqualToAnchor(bottom),
      above->heightAnchor().constraintEqualToAnchor(below->heightAnchor(), ratio, 0),
  });
}

}  // namespace

Tessra2ViewController::Tessra2ViewController() = default;

// A pending clear of the bottom text refers to the panel weakly and finds it gone. (Nothing here
// may touch the main loop: the last reference can go while the loop destroys a finished task.)
Tessra2ViewController::~Tessra2ViewController() {
  if (bottomTextObserver_) NotificationCenter::defaultCenter().removeObserver(bottomTextObserver_);
}

double Tessra2ViewController::previousPercent() { return g_previousPercent; }

std::shared_ptr<Tessra2ViewController> Tessra2ViewController::self() {
  return std::static_pointer_cast<Tessra2ViewController>(shared_from_this());
}

void Tessra2ViewController::setupWithBundleId(std::string bundleId, std::string appName, plist::Value dictionary) {
  bundleId_ = std::move(bundleId);
  appName_ = std::move(appName);
  dictionary_ = std::move(dictionary);
  auto& store = TessraStorageManager::sharedInstance();
  store.setCurrentBundleId(bundleId_);
  store.setCurrentAppName(appName_);
}

bool Tessra2ViewController::darkStyle() const {
  return TessraStorageManager::sharedInstance().getInterfaceColorStyle() == 0;
}

double Tessra2ViewController::ringSide() const {
  CGSize size = const_cast<Tessra2ViewController*>(this)->view()->bounds().size;
  return std::min(std::trunc(std::min(size.width, size.height)), kMaxRingSize);
}

// --- Life cycle ---

void Tessra2ViewController::viewDidLoad() {
  UIViewController::viewDidLoad();
  view()->setAccessibilityIdentifier(std::string(panel_identifiers::kPanel));
  addBlurView();
  std::weak_ptr<UIViewController> weakSelf = weak_from_this();
  bottomTextObserver_ = NotificationCenter::defaultCenter().addObserver(
      std::string(panel_notifications::kSetBottomLabelText), nullptr, [weakSelf](const Notification& notification) {
        if (auto strong = std::static_pointer_cast<Tessra2ViewController>(weakSelf.lock()))
          strong->setBottomLabelTextNotificationReceived(notification);
      });
}

void Tessra2ViewController::viewWillAppear(bool animated) {
  UIViewController::viewWillAppear(animated);
  // The tree is built once: a panel is presented once and then discarded.
  if (!togglesRingView_) {
    addButtonsRingView();
    currentVisibleRingView_ = togglesRingView_;
    addActionsRingView();
    addSlidersView();
    addTogglesAndActionsSegmentedControl();
    addAppNameLabel();
    addBottomLabel();
    addDismissGesture();
  }
  if (statusBar_) msgSend<void, bool>(statusBar_.get(), SELECTOR("tessra_hideStatusBar:"), true);
  if (dock_) msgSend<void, bool>(dock_.get(), SELECTOR("tessra_hideIpadDock:"), true);
}

void Tessra2ViewController::viewWillDisappear(bool animated) {
  UIViewController::viewWillDisappear(animated);
  if (currentVisibleRingView_) currentVisibleRingView_->hideAnimated(true);
  if (statusBar_) msgSend<void, bool>(statusBar_.get(), SELECTOR("tessra_hideStatusBar:"), false);
  if (dock_) msgSend<void, bool>(dock_.get(), SELECTOR("tessra_hideIpadDock:"), false);
}

void Tessra2ViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
  auto keepAlive = self();  // onDismiss may drop the presenter's reference
  UIViewController::dismissViewControllerAnimated(animated, std::move(completion));
  if (onDismiss_) onDismiss_();
}

// --- Building ---

void Tessra2ViewController::addBlurView() {
  UIView* root = view();
  blurEffectView_ = std::make_shared<UIVisualEffectView>(
      UIBlurEffect::effectWithStyle(darkStyle() ? UIBlurEffectStyle::Dark : UIBlurEffectStyle::Light));
  blurEffectView_->setFrame(root->bounds());
  blurEffectView_->setAccessibilityIdentifier(std::string(panel_identifiers::kBackdrop));
  blurEffectView_->setAutoresizingMask(UIViewAutoresizing::FlexibleWidth | UIViewAutoresizing::FlexibleHeight);
  root->addSubview(blurEffectView_);
}

void Tessra2ViewController::addButtonsRingView() {
  UIView* root = view();
  const double side = ringSide();
  togglesRingView_ = Tessra2RingView::create(allToggles(), CGRectMake(0, 0, side, side));
  togglesRingView_->setAccessibilityIdentifier(std::string(panel_identifiers::kTogglesRing));
  togglesRingView_->setCenter({CGRectGetMidX(root->bounds()), CGRectGetMidY(root->bounds())});
  root->addSubview(togglesRingView_);
}

void Tessra2ViewController::addActionsRingView() {
  UIView* root = view();
  const double side = ringSide();
  actionsRingView_ = Tessra2RingView::create(allActions(), CGRectMake(0, 0, side, side));
  actionsRingView_->setAccessibilityIdentifier(std::string(panel_identifiers::kActionsRing));
  actionsRingView_->hideAnimated(false);
  actionsRingView_->setCenter({CGRectGetMidX(root->bounds()), CGRectGetMidY(root->bounds())});
  root->addSubview(actionsRingView_);
}

void Tessra2ViewController::addSlidersView() {
  UIView* root = view();
  const double disc = ringSide() / 2;
  const bool dark = darkStyle();
  sliderDisc_ = std::make_shared<UIView>(CGRectMake(0, 0, disc, disc));
  sliderDisc_->setCenter({CGRectGetMidX(root->bounds()), CGRectGetMidY(root->bounds())});
  sliderDisc_->setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(dark ? 0.25 : 0.15));
  sliderDisc_->layer().setCornerRadius(disc / 2);
  sliderDisc_->setAccessibilityIdentifier(std::string(panel_identifiers::kSliderDisc));
  root->addSubview(sliderDisc_);

  const CGRect sliderFrame = CGRectMake(0, 0, disc / 5, disc / 1.6);
  const CGPoint discCentre{disc / 2, disc / 2};
  volumeSliderView_ = Tessra2SliderView::create(sliderFrame, "volumeIcon");
  volumeSliderView_->setSlider(std::make_shared<Tessra2Slider>(Tessra2Slider::SliderTypeVolume));
  volumeSliderView_->setCenter({discCentre.x - kSliderOffset, discCentre.y});
  volumeSliderView_->setAccessibilityIdentifier(std::string(panel_identifiers::kVolumeSlider));
  brightnessSliderView_ = Tessra2SliderView::create(sliderFrame, "brightnessIcon");
  brightnessSliderView_->setSlider(std::make_shared<Tessra2Slider>(Tessra2Slider::SliderTypeBrightness));
  brightnessSliderView_->setCenter({discCentre.x + kSliderOffset, discCentre.y});
  brightnessSliderView_->setAccessibilityIdentifier(std::string(panel_identifiers::kBrightnessSlider));
  sliderDisc_->addSubview(volumeSliderView_);
  sliderDisc_->addSubview(brightnessSliderView_);

  if (TessraStorageManager::sharedInstance().useCrossInsteadOfLongPressGestureForSliders) {
    for (Tessra2SliderView* slider : {volumeSliderView_.get(), brightnessSliderView_.get()}) {
      auto button = makeRemoveButton(slider);
      sliderDisc_->addSubview(button);
      constraintRemoveButton(button.get(), slider);
    }
  }

  auto& store = TessraStorageManager::sharedInstance();
  const double volume = store.getVolumeForCurrentBundleId();
  if (volume >= 0) volumeSliderView_->setPercentValue(volume * 100);
  const double brightness = store.getBrightnessForCurrentBundleId();
  if (brightness >= 0) brightnessSliderView_->setPercentValue(brightness * 100);
}

std::shared_ptr<UIButton> Tessra2ViewController::makeRemoveButton(Tessra2SliderView* slider) {
  auto button = UIButton::buttonWithType(UIButtonType::System);
  button->setImage(PanelImages::named("removeIcon"), UIControlState::Normal);
  button->setTintColor(UIColor::whiteColor());
  button->setHidden(true);
  button->setAccessibilityIdentifier(std::string(slider == volumeSliderView_.get()
                                                     ? panel_identifiers::kVolumeRemoveButton
                                                     : panel_identifiers::kBrightnessRemoveButton));
  button->addTarget(
      this, [this](UIControl& sender) { sliderRemoveButtonClicked(sender); }, UIControlEvents::TouchUpInside);
  slider->setRemoveButton(button);
  return button;
}

void Tessra2ViewController::constraintRemoveButton(UIButton* button, Tessra2SliderView* slider) {
  if (!button || !slider) return;
  button->setTranslatesAutoresizingMaskIntoConstraints(false);
  NSLayoutConstraint::activateConstraints({
      button->widthAnchor().constraintEqualToAnchor(slider->widthAnchor(), 0.55, 0),
      button->heightAnchor().constraintEqualToAnchor(button->widthAnchor(), 1, 0),
      button->centerXAnchor().constraintEqualToAnchor(slider->centerXAnchor()),
      button->topAnchor().constraintEqualToAnchor(slider->bottomAnchor(), 2),
  });
}

void Tessra2ViewController::addTogglesAndActionsSegmentedControl() {
  UIView* root = view();
  segmentedHolder_ = std::make_shared<UIView>();
  segmentedHolder_->setTranslatesAutoresizingMaskIntoConstraints(false);
  root->addSubview(segmentedHolder_);
  NSLayoutConstraint::activateConstraints({
      segmentedHolder_->widthAnchor().constraintEqualToConstant(200),
      segmentedHolder_->heightAnchor().constraintEqualToConstant(60),
      segmentedHolder_->centerXAnchor().constraintEqualToAnchor(root->centerXAnchor()),
      segmentedHolder_->bottomAnchor().constraintEqualToAnchor(root->bottomAnchor(), -25),
  });

  const bool dark = darkStyle();
  auto control = std::make_shared<TSSegmentedControl>();
  togglesAndActionsSegmentedControl_ = control;
  control->setAccessibilityIdentifier(std::string(panel_identifiers::kSegmentedControl));
  control->selectorView().setAccessibilityIdentifier(std::string(panel_identifiers::kSegmentedSelector));
  control->setTranslatesAutoresizingMaskIntoConstraints(false);
  segmentedHolder_->addSubview(control);
  UIView* holder = segmentedHolder_.get();
  NSLayoutConstraint::activateConstraints({
      control->leadingAnchor().constraintEqualToAnchor(holder->leadingAnchor(), 15),
      control->trailingAnchor().constraintEqualToAnchor(holder->trailingAnchor(), -15),
      control->topAnchor().constraintEqualToAnchor(holder->topAnchor(), 15),
      control->bottomAnchor().constraintEqualToAnchor(holder->bottomAnchor(), -15),
  });
  control->setTextColor(dark ? UIColor::colorWithRed(0.549, 0.545, 0.545, 0.9)
                             : UIColor::colorWithRed(0.845, 0.845, 0.845, 0.9));
  control->setSelectedStateTextColor(UIColor::darkGrayColor());
  control->setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(dark ? 0.25 : 0.15));
  control->setSelectorViewColor(UIColor::whiteColor());
  control->setApplyCornerRadiusToSelectorView(true);
  control->setCornerRadius(15);
  control->setTransitionStyle(TSSegmentedControlTransitionStyle::Mask);
  control->setShadowsEnabled(false);
  control->setGradientBounceColor(UIColor::whiteColor());
  control->setDelegate(self());
  control->setDataSource(self());
}

void Tessra2ViewController::addAppNameLabel() {
  UIView* root = view();
  appNameLabel_ = addPanelLabel(root, UIFont::systemFontOfSize(40, UIFontWeight::Medium), 1, 0.5);
  appNameLabel_->setText(appName_);
  appNameLabel_->setAccessibilityIdentifier(std::string(panel_identifiers::kAppNameLabel));
  placeBetween(root, appNameLabel_.get(), root->topAnchor(), togglesRingView_->topAnchor(), 1.5);
}

void Tessra2ViewController::addBottomLabel() {
  UIView* root = view();
  bottomLabel_ = addPanelLabel(root, UIFont::systemFontOfSize(15, UIFontWeight::Light), 2, 0.7);
  bottomLabel_->setAccessibilityIdentifier(std::string(panel_identifiers::kBottomLabel));
  placeBetween(root, bottomLabel_.get(), togglesRingView_->bottomAnchor(),
               togglesAndActionsSegmentedControl_->topAnchor(), 0.5);
}

void Tessra2ViewController::addDismissGesture() {
  for (UIView* target : {static_cast<UIView*>(blurEffectView_.get()), static_cast<UIView*>(togglesRingView_.get())}) {
    auto tap = std::make_shared<UITapGestureRecognizer>([this](UIGestureRecognizer& g) { dismissGestureTapped(g); });
    target->addGestureRecognizer(tap);
  }
}

// --- Bottom texts ---

void Tessra2ViewController::showBottomLabelWithText(const std::optional<std::string>& text) {
  if (!bottomLabel_) return;
  UILabel* label = bottomLabel_.get();
  std::string shown = text.value_or("");
  UIView::transitionWithView(label, kBottomTextFade, UIViewAnimationOptions::TransitionCrossDissolve,
                             [label, &shown] { label->setText(shown); });
}

void Tessra2ViewController::showBottomLabelWithText(const std::string& text, double duration) {
  showBottomLabelWithText(std::optional<std::string>(text));
  cancelPreviousPerformRequests(this);
  std::weak_ptr<UIViewController> weakSelf = weak_from_this();
  performAfterDelay(this, seconds(duration), [weakSelf] {
    if (auto strong = std::static_pointer_cast<Tessra2ViewController>(weakSelf.lock()))
      strong->showBottomLabelWithText(std::nullopt);
  });
}

void Tessra2ViewController::setBottomLabelTextNotificationReceived(const Notification& notification) {
  const plist::Value& text = notification.userInfo[panel_notifications::kBottomLabelTextKey];
  showBottomLabelWithText(text.isString() ? text.string() : std::string(), kBottomTextDuration);
}

// --- Rings ---

void Tessra2ViewController::switchRing(const std::shared_ptr<Tessra2RingView>& ring, const char* textFormat) {
  if (!ring || !currentVisibleRingView_) return;
  isAnimatingRingView_ = true;
  std::weak_ptr<UIViewController> weakSelf = weak_from_this();
  currentVisibleRingView_->hideAnimated(true, [weakSelf] {
    if (auto strong = std::static_pointer_cast<Tessra2ViewController>(weakSelf.lock())) strong->followSelector();
  });
  auto strong = self();
  dispatch_after(seconds(kRingSwitchDelay), dispatch_get_main_queue(), [strong, ring] {
    ring->showAnimated(true);
    strong->currentVisibleRingView_ = ring;
    strong->isAnimatingRingView_ = false;
    strong->followSelector();
  });
  showBottomLabelWithText(toggle_texts::fill(textFormat, {appName_}), kBottomTextDuration);
  HapticFeedbackHelper::sendImpact();
}

// Shows the ring of the slot the selector rests on, once no switch is under way and that ring has
// finished hiding; called when the selector comes to rest and at each step of a switch.
void Tessra2ViewController::followSelector() {
  if (!restingState_ || isAnimatingRingView_ || isBeingDismissed()) return;
  if (!togglesRingView_ || !actionsRingView_) return;
  const std::shared_ptr<Tessra2RingView>& wanted = *restingState_ == 1 ? actionsRingView_ : togglesRingView_;
  if (wanted == currentVisibleRingView_ || !wanted->isHidden()) return;
  if (wanted == actionsRingView_)
    showActionsRingView();
  else
    showTogglesRingView();
}

void Tessra2ViewController::showTogglesRingView() { switchRing(togglesRingView_, kTogglesRingText); }

void Tessra2ViewController::showActionsRingView() { switchRing(actionsRingView_, kActionsRingText); }

// --- Segmented control ---

long Tessra2ViewController::numberOfStatesInSegmentedControl(TSSegmentedControl&) { return 2; }

std::optional<std::string> Tessra2ViewController::titleForStateAtIndex(TSSegmentedControl&, long index) {
  if (index == 0) return kTogglesTitle;
  if (index == 1) return kActionsTitle;
  return std::nullopt;
}

void Tessra2ViewController::didTapAtIndex(TSSegmentedControl& control, long index) {
  // The selector moves to the slot and tells when it rests there (it told already when it was there).
  if (control.currentState() != index) restingState_.reset();
  if (index == 1 && actionsRingView_ && actionsRingView_->isHidden())
    showActionsRingView();
  else if (index == 0 && togglesRingView_ && togglesRingView_->isHidden())
    showTogglesRingView();
}

void Tessra2ViewController::didScrollWithXOffset(TSSegmentedControl&, double, double percent, long, long) {
  const double previous = g_previousPercent;
  if (percent > 0.5 && previous < percent) {
    if (actionsRingView_ && actionsRingView_->isHidden() && !isAnimatingRingView_) showActionsRingView();
  } else if (percent < 0.5 && !(previous < percent)) {
    if (togglesRingView_ && togglesRingView_->isHidden() && !isAnimatingRingView_) showTogglesRingView();
  }
  g_previousPercent = percent;
}

void Tessra2ViewController::willChangeStateFromStateAtIndex(TSSegmentedControl&, long) { restingState_.reset(); }

void Tessra2ViewController::didChangeStateFromStateAtIndex(TSSegmentedControl&, long, long to) {
  if (to != 0 && to != 1) return;
  restingState_ = to;
  followSelector();
}

// --- Dismissal and remove buttons ---

void Tessra2ViewController::dismissGestureTapped(UIGestureRecognizer& recognizer) {
  UIView* tapped = recognizer.view();
  if (tapped != blurEffectView_.get() && tapped != togglesRingView_.get()) return;
  auto strong = self();
  dispatch_async(dispatch_get_main_queue(), [strong] { strong->dismissViewControllerAnimated(true, nullptr); });
}

void Tessra2ViewController::sliderRemoveButtonClicked(UIControl& sender) {
  if (volumeSliderView_ && volumeSliderView_->removeButton().get() == &sender) {
    volumeSliderView_->setNoPercent();
  } else if (brightnessSliderView_ && brightnessSliderView_->removeButton().get() == &sender) {
    brightnessSliderView_->setNoPercent();
  }
}
