#pragma once

namespace platform {

// Small value types shared by the views (same numeric values as UIKit's).

// Which margins and sizes follow the superview's size (UIViewAutoresizing).
enum class UIViewAutoresizing : unsigned {
  None = 0,
  FlexibleLeftMargin = 1 << 0,
  FlexibleWidth = 1 << 1,
  FlexibleRightMargin = 1 << 2,
  FlexibleTopMargin = 1 << 3,
  FlexibleHeight = 1 << 4,
  FlexibleBottomMargin = 1 << 5,
};

// Options of UIView animations and transitions (UIViewAnimationOptions).
enum class UIViewAnimationOptions : unsigned {
  None = 0,
  AllowUserInteraction = 1 << 1,
  BeginFromCurrentState = 1 << 2,
  CurveEaseInOut = 0 << 16,
  CurveEaseIn = 1 << 16,
  CurveEaseOut = 2 << 16,
  CurveLinear = 3 << 16,
  TransitionCrossDissolve = 5 << 20,
};

// How a view's content fills its bounds (UIViewContentMode).
enum class UIViewContentMode {
  ScaleToFill = 0,
  ScaleAspectFit = 1,
  ScaleAspectFill = 2,
  Redraw = 3,
  Center = 4,
  Top = 5,
  Bottom = 6,
  Left = 7,
  Right = 8,
};

// Reading direction of the interface (UIUserInterfaceLayoutDirection).
enum class UIUserInterfaceLayoutDirection { LeftToRight = 0, RightToLeft = 1 };

// A view's own choice of direction (UISemanticContentAttribute).
enum class UISemanticContentAttribute { Unspecified = 0, ForceLeftToRight = 3, ForceRightToLeft = 4 };

// Axis of a layout priority or a stack (UILayoutConstraintAxis).
enum class UILayoutConstraintAxis { Horizontal = 0, Vertical = 1 };

// Text alignment of labels (NSTextAlignment); Natural follows the layout direction.
enum class NSTextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

// How text that does not fit is cut (NSLineBreakMode).
enum class NSLineBreakMode {
  ByWordWrapping = 0,
  ByCharWrapping = 1,
  ByClipping = 2,
  ByTruncatingHead = 3,
  ByTruncatingTail = 4,
  ByTruncatingMiddle = 5,
};

template <typename E>
constexpr E flagsOr(E a, E b) {
  return static_cast<E>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
template <typename E>
constexpr bool hasFlag(E set, E flag) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

constexpr UIViewAutoresizing operator|(UIViewAutoresizing a, UIViewAutoresizing b) { return flagsOr(a, b); }
constexpr UIViewAnimationOptions operator|(UIViewAnimationOptions a, UIViewAnimationOptions b) { return flagsOr(a, b); }

}  // namespace platform
