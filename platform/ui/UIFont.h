#pragma once

#include <memory>
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace platform {

// The weights of the system font that the device uses.
enum class UIFontWeight { Light, Regular, Medium, Semibold, Bold };

// The system font at one size and weight (UIFont). The device's system font
// is the "Inter" family; the Pango description it hands out is what both the
// label measurement and the renderer use, so text is drawn exactly as measured.
// A plain value.
class UIFont {
 public:
  UIFont() = default;
  UIFont(double pointSize, UIFontWeight weight) : size_(pointSize), weight_(weight) {}

  // systemFontOfSize: (regular weight).
  static UIFont systemFontOfSize(double size) { return {size, UIFontWeight::Regular}; }
  // systemFontOfSize:weight:.
  static UIFont systemFontOfSize(double size, UIFontWeight weight) { return {size, weight}; }
  // boldSystemFontOfSize:.
  static UIFont boldSystemFontOfSize(double size) { return {size, UIFontWeight::Bold}; }

  // The same font at another size (fontWithSize:).
  UIFont fontWithSize(double size) const { return {size, weight_}; }

  double pointSize() const { return size_; }
  UIFontWeight weight() const { return weight_; }
  // The family name ("Inter").
  static const std::string& familyName();

  using PangoDescriptionPtr = std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)>;
  // A new Pango description of this font: family, weight and absolute size in points.
  PangoDescriptionPtr pangoDescription() const;
  // Height of one line of text (ascent + descent as Pango measures it), in points.
  double lineHeight() const;

  bool operator==(const UIFont&) const = default;

 private:
  double size_ = 17;
  UIFontWeight weight_ = UIFontWeight::Regular;
};

}  // namespace platform
