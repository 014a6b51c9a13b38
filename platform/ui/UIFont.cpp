#include "platform/ui/UIFont.h"

#include <pango/pangocairo.h>

#include "platform/ui/TextLayout.h"

namespace platform {

const std::string& UIFont::familyName() {
  static const std::string name = "Inter";
  return name;
}

UIFont::PangoDescriptionPtr UIFont::pangoDescription() const {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, familyName().c_str());
  PangoWeight w = PANGO_WEIGHT_NORMAL;
  switch (weight_) {
    case UIFontWeight::Light: w = PANGO_WEIGHT_LIGHT; break;
    case UIFontWeight::Regular: w = PANGO_WEIGHT_NORMAL; break;
    case UIFontWeight::Medium: w = PANGO_WEIGHT_MEDIUM; break;
    case UIFontWeight::Semibold: w = PANGO_WEIGHT_SEMIBOLD; break;
    case UIFontWeight::Bold: w = PANGO_WEIGHT_BOLD; break;
  }
  pango_font_description_set_weight(d, w);
  pango_font_description_set_absolute_size(d, size_ * PANGO_SCALE);
  return PangoDescriptionPtr(d, pango_font_description_free);
}

double UIFont::lineHeight() const {
  TextLayout layout("Ag", TextLayout::Style{*this, NSTextAlignment::Left, 1, NSLineBreakMode::ByClipping}, -1);
  return layout.size().height;
}

}  // namespace platform
