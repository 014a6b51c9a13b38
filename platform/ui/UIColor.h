#pragma once

namespace platform {

// A colour in the device's RGB space with alpha, components 0 ... 1 (UIColor).
// A plain value; where UIKit allows "no colour" the API uses std::optional.
class UIColor {
 public:
  constexpr UIColor() = default;
  constexpr UIColor(double r, double g, double b, double a) : r_(r), g_(g), b_(b), a_(a) {}

  // colorWithRed:green:blue:alpha:
  static constexpr UIColor colorWithRed(double r, double g, double b, double a) { return {r, g, b, a}; }
  // colorWithWhite:alpha: (a grey).
  static constexpr UIColor colorWithWhite(double w, double a) { return {w, w, w, a}; }
  static constexpr UIColor blackColor() { return {0, 0, 0, 1}; }
  static constexpr UIColor whiteColor() { return {1, 1, 1, 1}; }
  static constexpr UIColor clearColor() { return {0, 0, 0, 0}; }
  // White 0.333, as the platform's darkGrayColor.
  static constexpr UIColor darkGrayColor() { return colorWithWhite(1.0 / 3.0, 1); }
  static constexpr UIColor lightGrayColor() { return colorWithWhite(2.0 / 3.0, 1); }
  static constexpr UIColor grayColor() { return colorWithWhite(0.5, 1); }
  static constexpr UIColor redColor() { return {1, 0, 0, 1}; }
  static constexpr UIColor greenColor() { return {0, 1, 0, 1}; }
  static constexpr UIColor blueColor() { return {0, 0, 1, 1}; }
  // The default tint of views (the platform's system blue).
  static constexpr UIColor systemBlueColor() { return {0, 122.0 / 255.0, 1, 1}; }

  // The same colour with another alpha (colorWithAlphaComponent:).
  constexpr UIColor colorWithAlphaComponent(double a) const { return {r_, g_, b_, a}; }

  constexpr double red() const { return r_; }
  constexpr double green() const { return g_; }
  constexpr double blue() const { return b_; }
  constexpr double alpha() const { return a_; }

  // Componentwise blend: t = 0 gives `from`, 1 gives `to` (components clamped to 0 ... 1).
  static UIColor interpolate(const UIColor& from, const UIColor& to, double t);

  constexpr bool operator==(const UIColor&) const = default;

 private:
  double r_ = 0, g_ = 0, b_ = 0, a_ = 0;
};

}  // namespace platform
