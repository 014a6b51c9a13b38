#include "tweak/toast/TessraToast.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Timer.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIView.h"
#include "tweak/toast/TSToastManager.h"
#include "tweak/toast/ToastAttachments.h"

using platform::CGPoint;
using platform::CGRect;
using platform::CGSize;
using platform::UIView;
using platform::UIViewAnimationOptions;
using platform::UIViewAutoresizing;

namespace {

// UIDeviceOrientation values the toasts turn with.
constexpr long kOrientationLandscapeLeft = 3;
constexpr long kOrientationLandscapeRight = 4;
// The longest a toast may stay; longer (or NaN) durations would never end.
constexpr double kMaxDuration = 24 * 60 * 60;

constexpr UIViewAutoresizing kFlexibleMargins =
    UIViewAutoresizing::FlexibleLeftMargin | UIViewAutoresizing::FlexibleRightMargin |
    UIViewAutoresizing::FlexibleTopMargin | UIViewAutoresizing::FlexibleBottomMargin;

long deviceOrientation() {
  static platform::ClassHandle deviceClass("UIDevice");
  platform::id device = platform::msgSend<platform::id>(deviceClass.get(), SELECTOR("currentDevice"));
  return platform::msgSend<long>(device, SELECTOR("orientation"));
}

double sanitizedDuration(double seconds) {
  if (std::isnan(seconds) || seconds < 0) return 0;
  return std::min(seconds, kMaxDuration);
}

// Gives the toast's box and the spinner's box the style's background, corners and shadow.
void decorate(UIView& box, const TSToastStyle& style) {
  box.setAutoresizingMask(kFlexibleMargins);
  box.layer().setCornerRadius(style.cornerRadius);
  if (style.displayShadow) {
    box.layer().setShadowColor(style.shadowColor);
    box.layer().setShadowOpacity(style.shadowOpacity);
    box.layer().setShadowRadius(style.shadowRadius);
    box.layer().setShadowOffset(style.shadowOffset);
  }
  box.setBackgroundColor(style.backgroundColor);
}

std::shared_ptr<platform::UILabel> makeLabel(const std::string& text, int lines, const platform::UIFont& font,
                                             platform::NSTextAlignment alignment, const platform::UIColor& color,
                                             CGSize maxSize) {
  auto label = std::make_shared<platform::UILabel>();
  label->setNumberOfLines(lines);
  label->setFont(font);
  label->setTextAlignment(alignment);
  label->setLineBreakMode(platform::NSLineBreakMode::ByTruncatingTail);
  label->setTextColor(color);
  label->setBackgroundColor(platform::UIColor::clearColor());
  label->setAlpha(1.0);
  label->setText(text);
  CGSize fit = label->sizeThatFits(maxSize);
  fit.width = std::min(maxSize.width, fit.width);
  fit.height = std::min(maxSize.height, fit.height);
  label->setFrame(CGRect{{0, 0}, fit});
  return label;
}

std::weak_ptr<UIView> weakOf(UIView& view) { return view.weak_from_this(); }

}  // namespace

void TessraToast::ts_makeToast(UIView& host, Text message) {
  ts_makeToast(host, std::move(message), TSToastManager::defaultDuration(), TSToastManager::defaultPosition(), nullptr);
}

void TessraToast::ts_makeToast(UIView& host, Text message, double duration, const ToastPosition& position) {
  ts_makeToast(host, std::move(message), duration, position, nullptr);
}

void TessraToast::ts_makeToast(UIView& host, Text message, double duration, const ToastPosition& position,
                               StylePtr style) {
  ts_showToast(host, ts_toastViewForMessage(host, std::move(message), std::nullopt, nullptr, std::move(style)),
               duration, position, nullptr);
}

void TessraToast::ts_makeToast(UIView& host, Text message, double duration, const ToastPosition& position, Text title,
                               ImagePtr image, StylePtr style, Completion completion) {
  ts_showToast(host,
               ts_toastViewForMessage(host, std::move(message), std::move(title), std::move(image), std::move(style)),
               duration, position, std::move(completion));
}

void TessraToast::showToast(UIView& host, std::shared_ptr<UIView> toast) {
  ts_showToast(host, std::move(toast), TSToastManager::defaultDuration(), TSToastManager::defaultPosition(), nullptr);
}

void TessraToast::ts_showToast(UIView& host, std::shared_ptr<UIView> toast, double duration,
                               const ToastPosition& position, Completion completion) {
  // The host must be shared-owned: the toast's timers and animations outlive this call.
  if (!toast || weakOf(host).expired()) return;
  ToastState& state = ToastAttachments::toast(*toast);
  state.completion = std::move(completion);
  ToastHostState& hostState = ToastAttachments::host(host);
  if (TSToastManager::ts_isQueueEnabled() && !hostState.active.empty()) {
    state.duration = sanitizedDuration(duration);
    state.position = position;
    hostState.queue.push_back(toast);
    announce("queued", *toast);
    return;
  }
  showNow(host, toast, duration, position);
}

void TessraToast::showNow(UIView& host, const std::shared_ptr<UIView>& toast, double duration,
                          const ToastPosition& position) {
  const long orientation = deviceOrientation();
  // The home screen stays in portrait, so the toast turns with the device.
  if (orientation == kOrientationLandscapeRight)
    toast->setTransform(platform::CGAffineTransformMakeRotation(kLandscapeRightRotation));
  else if (orientation == kOrientationLandscapeLeft)
    toast->setTransform(platform::CGAffineTransformMakeRotation(kLandscapeLeftRotation));
  toast->setCenter(ts_centerPointForPosition(host, position, *toast));
  toast->setAlpha(0.0);

  std::weak_ptr<UIView> weakHost = weakOf(host);
  std::weak_ptr<UIView> weakToast = toast;
  if (TSToastManager::isTapToDismissEnabled()) {
    // ts_handleToastTapped:
    toast->addGestureRecognizer(
        std::make_shared<platform::UITapGestureRecognizer>([weakHost, weakToast](platform::UIGestureRecognizer&) {
          auto host = weakHost.lock();
          auto tapped = weakToast.lock();
          if (!host || !tapped) return;
          if (ToastState* state = ToastAttachments::findToast(*tapped); state && state->timer)
            state->timer->invalidate();
          ts_hideToast(*host, tapped, true);
        }));
    toast->setUserInteractionEnabled(true);
    toast->setExclusiveTouch(true);
  }

  ToastState& state = ToastAttachments::toast(*toast);
  state.duration = sanitizedDuration(duration);
  ToastAttachments::host(host).active.push_back(toast);
  host.addSubview(toast);
  announce("shown", *toast);

  const TSToastStyle& style = *TSToastManager::sharedStyle();
  UIView::animateWithDuration(
      style.fadeDuration, 0.0, UIViewAnimationOptions::CurveEaseOut | UIViewAnimationOptions::AllowUserInteraction,
      [toast] { toast->setAlpha(1.0); },
      [weakHost, weakToast](bool) {
        auto shown = weakToast.lock();
        ToastState* shownState = shown ? ToastAttachments::findToast(*shown) : nullptr;
        if (!shownState || shownState->hiding) return;
        // ts_toastTimerDidFinish:
        shownState->timer = platform::Timer::scheduledTimer(
            platform::seconds(shownState->duration), platform::Repeats::No, [weakHost, weakToast](platform::Timer&) {
              auto host = weakHost.lock();
              auto toast = weakToast.lock();
              if (host && toast) ts_hideToast(*host, toast, false);
            });
      });
}

void TessraToast::ts_hideToast(UIView& host, const std::shared_ptr<UIView>& toast, bool fromTap) {
  ToastState* state = ToastAttachments::findToast(*toast);
  // A toast already fading out is not hidden twice: its completion runs once.
  if (!state || state->hiding) return;
  state->hiding = true;
  if (state->timer) state->timer->invalidate();

  std::weak_ptr<UIView> weakHost = weakOf(host);
  const TSToastStyle& style = *TSToastManager::sharedStyle();
  UIView::animateWithDuration(
      style.fadeDuration, 0.0, UIViewAnimationOptions::CurveEaseIn | UIViewAnimationOptions::BeginFromCurrentState,
      [toast] { toast->setAlpha(0.0); },
      [weakHost, toast, fromTap](bool) {
        toast->removeFromSuperview();
        auto host = weakHost.lock();
        if (ToastHostState* hostState = host ? ToastAttachments::findHost(*host) : nullptr)
          std::erase(hostState->active, toast);
        Completion completion;
        if (ToastState* gone = ToastAttachments::findToast(*toast)) completion = std::move(gone->completion);
        announce("hidden", *toast);
        ToastAttachments::forgetToast(*toast);
        if (completion) completion(fromTap);

        ToastHostState* hostState = host ? ToastAttachments::findHost(*host) : nullptr;
        if (!hostState || hostState->queue.empty()) return;
        std::shared_ptr<UIView> next = hostState->queue.front();
        hostState->queue.pop_front();
        ToastState& nextState = ToastAttachments::toast(*next);
        showNow(*host, next, nextState.duration, nextState.position.value_or(ToastPosition(ToastPositionBottom)));
      });
}

void TessraToast::hideToast(UIView& host) {
  ToastHostState* state = ToastAttachments::findHost(host);
  if (state && !state->active.empty()) ts_hideToast(host, state->active.front(), false);
}

void TessraToast::hideToast(UIView& host, const UIView* toast) {
  ToastHostState* state = ToastAttachments::findHost(host);
  if (!state || !toast) return;
  auto found = std::find_if(state->active.begin(), state->active.end(),
                            [toast](const std::shared_ptr<UIView>& view) { return view.get() == toast; });
  if (found != state->active.end()) ts_hideToast(host, std::shared_ptr<UIView>(*found), false);
}

void TessraToast::hideAllToasts(UIView& host) { hideAllToasts(host, false, true); }

void TessraToast::hideAllToasts(UIView& host, bool includeActivity, bool clearQueue) {
  if (clearQueue) clearToastQueue(host);
  if (ToastHostState* state = ToastAttachments::findHost(host)) {
    const std::vector<std::shared_ptr<UIView>> active = state->active;  // hiding changes the list later
    for (const auto& toast : active) ts_hideToast(host, toast, false);
  }
  if (includeActivity) hideToastActivity(host);
}

void TessraToast::clearToastQueue(UIView& host) {
  ToastHostState* state = ToastAttachments::findHost(host);
  if (!state) return;
  std::deque<std::shared_ptr<UIView>> dropped;
  dropped.swap(state->queue);
  for (const auto& toast : dropped) {
    announce("unqueued", *toast);
    ToastAttachments::forgetToast(*toast);
  }
}

void TessraToast::makeToastActivity(UIView& host, const ToastPosition& position) {
  if (weakOf(host).expired()) return;
  ToastHostState& state = ToastAttachments::host(host);
  if (state.activity) return;
  const TSToastStyle& style = *TSToastManager::sharedStyle();
  auto box = std::make_shared<UIView>(CGRect{{0, 0}, style.activitySize});
  decorate(*box, style);
  box->setCenter(ts_centerPointForPosition(host, position, *box));
  auto spinner =
      std::make_shared<platform::UIActivityIndicatorView>(platform::UIActivityIndicatorViewStyle::WhiteLarge);
  spinner->setCenter({style.activitySize.width / 2, style.activitySize.height / 2});
  box->addSubview(spinner);
  spinner->startAnimating();
  box->setAlpha(0.0);
  state.activity = box;
  host.addSubview(box);
  UIView::animateWithDuration(style.fadeDuration, 0.0, UIViewAnimationOptions::CurveEaseOut,
                              [box] { box->setAlpha(1.0); });
}

void TessraToast::hideToastActivity(UIView& host) {
  ToastHostState* state = ToastAttachments::findHost(host);
  if (!state || !state->activity) return;
  std::shared_ptr<UIView> box = state->activity;
  std::weak_ptr<UIView> weakHost = weakOf(host);
  UIView::animateWithDuration(
      TSToastManager::sharedStyle()->fadeDuration, 0.0,
      UIViewAnimationOptions::CurveEaseIn | UIViewAnimationOptions::BeginFromCurrentState,
      [box] { box->setAlpha(0.0); },
      [weakHost, box](bool) {
        box->removeFromSuperview();
        auto host = weakHost.lock();
        ToastHostState* hostState = host ? ToastAttachments::findHost(*host) : nullptr;
        if (hostState && hostState->activity == box) hostState->activity = nullptr;
      });
}

std::shared_ptr<UIView> TessraToast::ts_toastViewForMessage(UIView& host, Text message, Text title, ImagePtr image,
                                                            StylePtr style) {
  if (!message && !title && !image) return nullptr;
  if (!style) style = TSToastManager::sharedStyle();
  const double padH = style->horizontalPadding;
  const double padV = style->verticalPadding;

  auto wrapper = std::make_shared<UIView>();
  decorate(*wrapper, *style);

  std::shared_ptr<platform::UIImageView> imageView;
  CGRect imageRect;
  if (image) {
    imageView = std::make_shared<platform::UIImageView>(image);
    imageView->setContentMode(platform::UIViewContentMode::ScaleAspectFit);
    imageView->setFrame(CGRect{{padH, padV}, style->imageSize});
    imageRect.origin.x = padH;
    imageRect.size = imageView->bounds().size;
  }

  const CGSize hostSize = host.bounds().size;
  const CGSize maxSize{std::max(0.0, hostSize.width * style->maxWidthPercentage() - imageRect.size.width),
                       std::max(0.0, hostSize.height * style->maxHeightPercentage())};
  std::shared_ptr<platform::UILabel> titleLabel;
  std::shared_ptr<platform::UILabel> messageLabel;
  if (title)
    titleLabel = makeLabel(*title, style->titleNumberOfLines, style->titleFont, style->titleAlignment,
                           style->titleColor, maxSize);
  if (message)
    messageLabel = makeLabel(*message, style->messageNumberOfLines, style->messageFont, style->messageAlignment,
                             style->messageColor, maxSize);
  // Both labels take the width of the wider one.
  if (titleLabel && messageLabel) {
    const double width = std::max(titleLabel->bounds().size.width, messageLabel->bounds().size.width);
    titleLabel->setFrame(CGRect{{0, 0}, {width, titleLabel->bounds().size.height}});
    messageLabel->setFrame(CGRect{{0, 0}, {width, messageLabel->bounds().size.height}});
  }

  const double labelX = imageRect.origin.x + imageRect.size.width + padH;
  CGRect titleRect;
  if (titleLabel) titleRect = CGRect{{labelX, padV}, titleLabel->bounds().size};
  CGRect messageRect;
  if (messageLabel) {
    const double y = titleLabel ? titleRect.origin.y + titleRect.size.height + padV * 0.5 : padV;
    messageRect = CGRect{{labelX, y}, messageLabel->bounds().size};
  }

  const double longerWidth = std::max(titleRect.size.width, messageRect.size.width);
  const double longerX = std::max(titleRect.origin.x, messageRect.origin.x);
  const double wrapperWidth = std::max(imageRect.size.width + padH * 2, longerX + longerWidth + padH);
  const double wrapperHeight =
      std::max(messageRect.origin.y + messageRect.size.height + padV, imageRect.size.height + padV * 2);
  wrapper->setFrame(CGRect{{0, 0}, {wrapperWidth, wrapperHeight}});

  if (titleLabel) {
    titleLabel->setFrame(titleRect);
    wrapper->addSubview(titleLabel);
  }
  if (messageLabel) {
    messageLabel->setFrame(messageRect);
    wrapper->addSubview(messageLabel);
  }
  if (imageView) {
    wrapper->addSubview(imageView);
    imageView->setFrame(CGRect{{padH, wrapperHeight / 2 - imageRect.size.height / 2}, imageRect.size});
  }

  ToastState& state = ToastAttachments::toast(*wrapper);
  state.title = std::move(title);
  state.message = std::move(message);
  return wrapper;
}

CGPoint TessraToast::ts_centerPointForPosition(UIView& host, const ToastPosition& position, const UIView& toast) {
  const CGRect bounds = host.bounds();
  const double width = bounds.size.width;
  const double height = bounds.size.height;
  const platform::UIEdgeInsets insets = host.safeAreaInsets();
  const double padV = TSToastManager::sharedStyle()->verticalPadding;
  const CGSize toastSize = toast.frame().size;
  if (position.isTop()) return {width / 2, insets.top + padV + toastSize.height / 2};
  if (position.isCenter()) return {width / 2, height / 2};
  if (const CGPoint* point = position.point()) return *point;
  switch (deviceOrientation()) {
    case kOrientationLandscapeLeft: return {padV + toastSize.width / 2, height / 2};
    case kOrientationLandscapeRight: return {width - toastSize.width / 2 - padV, height / 2};
    default: return {width / 2, height - toastSize.height / 2 - (insets.bottom + padV)};
  }
}

void TessraToast::lun_removeConstraintsFromSubTree(UIView& view,
                                                   const std::set<platform::NSLayoutConstraint::Ptr>& constraints) {
  std::vector<platform::NSLayoutConstraint::Ptr> own;
  for (const auto& constraint : view.constraints())
    if (constraints.contains(constraint)) own.push_back(constraint);
  view.removeConstraints(own);
  const std::vector<UIView::Ptr> subviews = view.subviews();
  for (const auto& subview : subviews) lun_removeConstraintsFromSubTree(*subview, constraints);
}

void TessraToast::announce(const char* event, const UIView& toast) {
  platform::plist::Dictionary info;
  info.set("event", platform::plist::Value(event));
  if (const ToastState* state = ToastAttachments::findToast(toast)) {
    if (state->title) info.set("title", platform::plist::Value(*state->title));
    if (state->message) info.set("message", platform::plist::Value(*state->message));
    info.set("duration", platform::plist::Value(state->duration));
  }
  info.set("visible", platform::plist::Value(static_cast<int64_t>(ToastAttachments::visibleCount())));
  info.set("queued", platform::plist::Value(static_cast<int64_t>(ToastAttachments::queuedCount())));
  platform::NotificationCenter::defaultCenter().postNotification(kDidChangeNotification, nullptr,
                                                                 platform::plist::Value(std::move(info)));
}
