#include "platform/springboard/screen/AppIconStyle.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <map>
#include <tuple>

#include "platform/foundation/Utf8.h"
#include "platform/ui/UIImage.h"

namespace platform::springboard {

namespace {

constexpr const char* kIconFamily = "Material Design Icons";

// The glyphs of the apps the device knows (the font's names in comments).
const std::map<std::string_view, char32_t>& glyphTable() {
  static const std::map<std::string_view, char32_t> table{
      {"com.apple.Preferences", 0xF493},      // settings
      {"com.apple.mobilesafari", 0xF18B},     // compass
      {"com.apple.Music", 0xF387},            // music-note
      {"com.apple.Maps", 0xF34D},             // map
      {"com.apple.MobileSMS", 0xF369},        // message-text
      {"com.apple.camera", 0xF100},           // camera
      {"com.apple.mobilephone", 0xF3F2},      // phone
      {"com.apple.mobilemail", 0xF1EE},       // email
      {"com.apple.mobilecal", 0xF0ED},        // calendar
      {"com.apple.mobileslideshow", 0xF2E9},  // image
      {"com.apple.mobiletimer", 0xF150},      // clock
      {"com.apple.calculator", 0xF0EC},       // calculator
      {"com.google.Maps", 0xF5F5},            // google-maps
      {"com.waze.iphone", 0xF10B},            // car
      {"com.spotify.client", 0xF4C7},         // spotify
      {"com.netflix.Netflix", 0xF502},        // television
      {"com.supercell.clashroyale", 0xF1A5},  // crown
  };
  return table;
}

// FNV-1a: a stable hash, the same on every machine.
uint32_t stableHash(std::string_view text) {
  uint32_t h = 2166136261u;
  for (unsigned char c : text) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

UIColor fromHsv(double hue, double saturation, double value) {
  double c = value * saturation, x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2) - 1)), m = value - c;
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(hue / 60.0) % 6) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
  }
  return UIColor(r + m, g + m, b + m, 1);
}

// Whether the font that Pango picked for the layout's first run is the icon font.
bool drawnWithIconFont(PangoLayout* layout) {
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
  bool ok = false;
  if (run && run->item && run->item->analysis.font) {
    PangoFontDescription* used = pango_font_describe(run->item->analysis.font);
    const char* family = pango_font_description_get_family(used);
    ok = family && std::string_view(family) == kIconFamily;
    pango_font_description_free(used);
  }
  pango_layout_iter_free(iter);
  return ok;
}

std::shared_ptr<UIImage> drawGlyph(char32_t codepoint, double points, double scale) {
  const int pixels = std::max(1, static_cast<int>(std::lround(points * scale)));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = pango_font_description_from_string(kIconFamily);
  pango_font_description_set_absolute_size(desc, pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  const std::string text = platform::utf8(codepoint);
  pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  std::shared_ptr<UIImage> image;
  if (drawnWithIconFont(layout)) {
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    // The glyph's ink box centred in the square.
    cairo_move_to(cr, (pixels - ink.width) / 2.0 - ink.x, (pixels - ink.height) / 2.0 - ink.y);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(surface);
    image = UIImage::imageWithSurface(surface, scale);
    if (image) image = image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
  }
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return image;
}

}  // namespace

UIColor AppIconStyle::colorFor(std::string_view bundleIdentifier) {
  uint32_t h = stableHash(bundleIdentifier);
  double hue = (h % 360);
  double saturation = 0.55 + ((h >> 9) % 30) / 100.0;
  double value = 0.72 + ((h >> 17) % 20) / 100.0;
  return fromHsv(hue, saturation, value);
}

char32_t AppIconStyle::glyphFor(std::string_view bundleIdentifier) {
  auto it = glyphTable().find(bundleIdentifier);
  return it == glyphTable().end() ? 0 : it->second;
}

std::string AppIconStyle::initialOf(std::string_view displayName) {
  if (displayName.empty()) return "?";
  unsigned char first = static_cast<unsigned char>(displayName[0]);
  if (first < 0x80) return std::string(1, static_cast<char>(std::toupper(first)));
  size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
  return std::string(displayName.substr(0, std::min(length, displayName.size())));
}

std::shared_ptr<UIImage> AppIconStyle::glyphImage(char32_t codepoint, double points, double scale) {
  static std::map<std::tuple<char32_t, double, double>, std::shared_ptr<UIImage>> cache;
  auto key = std::make_tuple(codepoint, points, scale);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  auto image = drawGlyph(codepoint, points, scale);
  cache.emplace(key, image);
  return image;
}

}  // namespace platform::springboard
