#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/CALayer.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/LayoutItem.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UITouch.h"
#include "platform/ui/UIViewTypes.h"

namespace platform {

class UIGestureRecognizer;
class UIImage;
class UILayoutGuide;
class UIViewController;
class UIWindow;

// A rectangle on screen that draws through its layer and holds subviews
// (UIView). Views are reference objects held by std::shared_ptr: a superview
// owns its subviews (back to front in subviews()), a subview knows its
// superview by a plain pointer that the superview clears when it lets go.
// Geometry, alpha, background and corner state live in the view's CALayer;
// setting them inside an animation block animates the presented value while
// the model value changes at once. Layout: constraints held by views of a
// tree are solved when the tree is laid out (layoutIfNeeded, or the pass the
// main loop runs after setNeedsLayout); layoutSubviews then places the
// subviews. Touches arrive through UIWindow::sendTouch.
class UIView : public LayoutItem, public std::enable_shared_from_this<UIView> {
 public:
  using Ptr = std::shared_ptr<UIView>;
  using Animations = std::function<void()>;
  using Completion = std::function<void(bool finished)>;

  explicit UIView(const CGRect& frame = CGRectZero);
  ~UIView() override;

  // --- Geometry and look (model values) ---
  // The frame in the superview: the transformed bounds around the centre.
  CGRect frame() const;
  // Sets centre and bounds size (origin of the bounds is kept).
  virtual void setFrame(const CGRect& frame);
  CGRect bounds() const { return layer_->bounds(); }
  virtual void setBounds(const CGRect& bounds);
  CGPoint center() const { return layer_->position(); }
  void setCenter(CGPoint center);
  CGAffineTransform transform() const { return layer_->affineTransform(); }
  void setTransform(const CGAffineTransform& t) { layer_->setAffineTransform(t); }
  double alpha() const { return layer_->opacity(); }
  void setAlpha(double a) { layer_->setOpacity(a); }
  bool isHidden() const { return layer_->isHidden(); }
  virtual void setHidden(bool hidden) { layer_->setHidden(hidden); }
  std::optional<UIColor> backgroundColor() const { return layer_->backgroundColor(); }
  virtual void setBackgroundColor(std::optional<UIColor> c) { layer_->setBackgroundColor(c); }
  // The tint in force: the view's own, else its superview's, else the system blue.
  UIColor tintColor() const;
  // Sets the view's own tint (nil inherits); the view and its subtree are told.
  void setTintColor(std::optional<UIColor> c);
  // Called when the tint in force may have changed.
  virtual void tintColorDidChange() {}
  bool clipsToBounds() const { return layer_->masksToBounds(); }
  void setClipsToBounds(bool c) { layer_->setMasksToBounds(c); }
  bool isUserInteractionEnabled() const { return userInteraction_; }
  void setUserInteractionEnabled(bool e) { userInteraction_ = e; }
  // While this view tracks a touch no other view gets one, and the other way round.
  bool isExclusiveTouch() const { return exclusiveTouch_; }
  void setExclusiveTouch(bool e) { exclusiveTouch_ = e; }
  UIViewAutoresizing autoresizingMask() const { return autoresizing_; }
  void setAutoresizingMask(UIViewAutoresizing m) { autoresizing_ = m; }
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  void setAutoresizesSubviews(bool a) { autoresizesSubviews_ = a; }
  UIViewContentMode contentMode() const { return contentMode_; }
  void setContentMode(UIViewContentMode m) { contentMode_ = m; }
  long tag() const { return tag_; }
  void setTag(long t) { tag_ = t; }
  // The first view of the subtree (this one first) with the tag, or null.
  UIView* viewWithTag(long tag);
  // A name that tests and scripts find the view by (accessibilityIdentifier); empty by default.
  const std::string& accessibilityIdentifier() const { return accessibilityIdentifier_; }
  void setAccessibilityIdentifier(std::string identifier) { accessibilityIdentifier_ = std::move(identifier); }
  UISemanticContentAttribute semanticContentAttribute() const { return semantic_; }
  void setSemanticContentAttribute(UISemanticContentAttribute a);
  // The direction in force: forced by the view or an ancestor, else the application's.
  UIUserInterfaceLayoutDirection effectiveUserInterfaceLayoutDirection() const;
  CALayer& layer() const { return *layer_; }
  const std::shared_ptr<CALayer>& layerPtr() const { return layer_; }

  // --- Hierarchy ---
  UIView* superview() const { return superview_; }
  const std::vector<Ptr>& subviews() const { return subviews_; }
  // The window at the root of this view's tree, or null.
  UIWindow* window() const;
  // Adds on top of the other subviews (moving it from any previous superview).
  void addSubview(Ptr view);
  // Inserts at a position among the subviews (clamped to the ends).
  void insertSubview(Ptr view, long index);
  // Inserts directly above / below a sibling (on top / at the back when it is not a subview).
  void insertSubviewAbove(Ptr view, const UIView* sibling);
  void insertSubviewBelow(Ptr view, const UIView* sibling);
  // Leaves the superview; constraints that tie the view's subtree to the rest are removed.
  void removeFromSuperview();
  void bringSubviewToFront(const UIView* view);
  void sendSubviewToBack(const UIView* view);
  // Whether `view` is this view or one of its ancestors.
  bool isDescendantOfView(const UIView* view) const;
  // The controller whose root view this is, if any.
  UIViewController* viewController() const { return controller_; }

  // Hooks of the hierarchy (after the change).
  virtual void didAddSubview(UIView*) {}
  virtual void willRemoveSubview(UIView*) {}
  virtual void didMoveToSuperview() {}
  virtual void didMoveToWindow() {}

  // --- Coordinates (model geometry; null means the window) ---
  CGPoint convertPoint(CGPoint p, const UIView* toView) const;
  CGPoint convertPointFrom(CGPoint p, const UIView* fromView) const;
  CGRect convertRect(const CGRect& r, const UIView* toView) const;
  CGRect convertRectFrom(const CGRect& r, const UIView* fromView) const;

  // --- Touches ---
  // The deepest visible, interactive view under the point (in this view's coordinates), or null.
  virtual UIView* hitTest(CGPoint p, UIEvent* event);
  // Whether the point counts as inside; by default the bounds.
  virtual bool pointInside(CGPoint p, UIEvent* event);
  virtual void touchesBegan(const std::vector<UITouch*>& touches, UIEvent* event);
  virtual void touchesMoved(const std::vector<UITouch*>& touches, UIEvent* event);
  virtual void touchesEnded(const std::vector<UITouch*>& touches, UIEvent* event);
  virtual void touchesCancelled(const std::vector<UITouch*>& touches, UIEvent* event);
  void addGestureRecognizer(std::shared_ptr<UIGestureRecognizer> g);
  void removeGestureRecognizer(UIGestureRecognizer* g);
  const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const { return gestures_; }
  // Whether a recogniser on this view or an ancestor may begin for a touch on this view.
  virtual bool gestureRecognizerShouldBegin(UIGestureRecognizer& g);

  // --- Layout ---
  void setNeedsLayout();
  bool needsLayout() const { return needsLayout_; }
  // Lays out the whole tree this view is in, if anything in it needs it.
  void layoutIfNeeded();
  // Places the subviews: the base applies the solved constraint frames.
  virtual void layoutSubviews();
  // The size that fits in `size`; by default the current size.
  virtual CGSize sizeThatFits(CGSize size);
  // Resizes to sizeThatFits(bounds size), keeping the frame's origin.
  void sizeToFit();
  // The natural size (UIViewNoIntrinsicMetric where there is none).
  static constexpr double UIViewNoIntrinsicMetric = -1;
  virtual CGSize intrinsicContentSize() const { return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric}; }
  void invalidateIntrinsicContentSize();
  bool translatesAutoresizingMaskIntoConstraints() const { return tamic_; }
  void setTranslatesAutoresizingMaskIntoConstraints(bool t);
  UILayoutPriority contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const;
  void setContentHuggingPriority(UILayoutPriority p, UILayoutConstraintAxis axis);
  // Installs a constraint on this view (it must name only this view's subtree).
  void addConstraint(const NSLayoutConstraint::Ptr& c);
  void addConstraints(const std::vector<NSLayoutConstraint::Ptr>& cs);
  void removeConstraint(const NSLayoutConstraint::Ptr& c);
  void removeConstraints(const std::vector<NSLayoutConstraint::Ptr>& cs);
  // Constraints held by this view.
  const std::vector<NSLayoutConstraint::Ptr>& constraints() const { return constraints_; }
  void addLayoutGuide(const std::shared_ptr<UILayoutGuide>& g);
  void removeLayoutGuide(const UILayoutGuide* g);
  const std::vector<std::shared_ptr<UILayoutGuide>>& layoutGuides() const { return guides_; }
  // The guide fixed to the bounds less safeAreaInsets().
  UILayoutGuide& safeAreaLayoutGuide();
  // How far the window's safe area (UIWindow::setSafeAreaInsets) reaches into this view.
  UIEdgeInsets safeAreaInsets() const;

  // LayoutItem.
  UIView* layoutContainer() const override { return superview_; }
  CGRect layoutRect() const override;
  UIView* asView() override { return this; }

  // --- Animations (values stepped by the clock of the environment in force) ---
  // Changes made by `animations` animate over `duration` seconds (ease-in-out).
  static void animateWithDuration(double duration, const Animations& animations, Completion completion = {});
  // ... after `delay` seconds, with options (curve, begin from current state, interaction).
  static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                  const Animations& animations, Completion completion = {});
  // ... as a spring (usingSpringWithDamping:initialSpringVelocity:).
  static void animateWithDuration(double duration, double delay, double dampingRatio, double velocity,
                                  UIViewAnimationOptions options, const Animations& animations,
                                  Completion completion = {});
  // Changes made by `animations` apply at once; with TransitionCrossDissolve the view's old
  // look fades into the new one over `duration` (transitionWithView:duration:options:...).
  static void transitionWithView(UIView* view, double duration, UIViewAnimationOptions options,
                                 const Animations& animations, Completion completion = {});
  // Runs `changes` with no animation even inside an animation block.
  static void performWithoutAnimation(const Animations& changes);
  // Installed by the renderer: draws a view into an image, for the old look of transitions.
  using SnapshotProvider = std::function<std::shared_ptr<UIImage>(UIView&)>;
  static void setSnapshotProvider(SnapshotProvider provider);
  static const SnapshotProvider& snapshotProvider();

 protected:
  // For subclasses backed by a layer subclass (CAGradientLayer, ...).
  UIView(const CGRect& frame, std::shared_ptr<CALayer> layer);

 private:
  friend class UIViewController;
  friend class LayoutSolver;
  friend class LayoutPass;
  friend class NSLayoutConstraint;
  friend class UIWindow;

  void insertAt(Ptr view, size_t index);
  void detachSubview(UIView* view);
  void geometryChanged(CGSize oldSize);
  void autoresizeSubviews(CGSize oldSize);
  void notifyTintChanged();
  void moveToWindow(UIWindow* oldWindow);
  void removeConstraintsCrossing(UIView* subtreeRoot);

  std::shared_ptr<CALayer> layer_;
  UIView* superview_ = nullptr;
  std::vector<Ptr> subviews_;
  UIViewController* controller_ = nullptr;
  std::optional<UIColor> tint_;
  bool userInteraction_ = true;
  bool exclusiveTouch_ = false;
  UIViewAutoresizing autoresizing_ = UIViewAutoresizing::None;
  bool autoresizesSubviews_ = true;
  UIViewContentMode contentMode_ = UIViewContentMode::ScaleToFill;
  long tag_ = 0;
  std::string accessibilityIdentifier_;
  UISemanticContentAttribute semantic_ = UISemanticContentAttribute::Unspecified;
  std::vector<std::shared_ptr<UIGestureRecognizer>> gestures_;
  bool needsLayout_ = true;
  bool subtreeNeedsLayout_ = true;
  bool tamic_ = true;
  UILayoutPriority hugging_[2] = {UILayoutPriorityDefaultLow, UILayoutPriorityDefaultLow};
  std::vector<NSLayoutConstraint::Ptr> constraints_;
  std::vector<std::shared_ptr<UILayoutGuide>> guides_;
  std::shared_ptr<UILayoutGuide> safeAreaGuide_;
  std::optional<CGRect> solvedRect_;  // set by the solver, applied by the superview's layoutSubviews
  bool isWindow_ = false;
};

}  // namespace platform
