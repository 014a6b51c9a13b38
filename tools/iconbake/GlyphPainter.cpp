#include "tools/iconbake/GlyphPainter.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <memory>
#include <stdexcept>

#include "platform/foundation/Utf8.h"

namespace iconbake {

namespace {

constexpr const char* kIconFamily = "Material Design Icons";
constexpr const char* kTextFamily = "Inter";
constexpr int kIconPoints = 30;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct LayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

// A layout holding one glyph of the icon font at `pixels` per em, after
// checking that the font really has it.
Layout glyphLayout(cairo_t* cr, PangoFontMap* map, const IconEntry& entry, double pixels) {
  PangoContext* context = pango_font_map_create_context(map);
  Layout layout(pango_layout_new(context));
  g_object_unref(context);
  pango_cairo_update_layout(cr, layout.get());
  PangoFontDescription* desc = pango_font_description_from_string(kIconFamily);
  pango_font_description_set_absolute_size(desc, pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc);
  pango_font_description_free(desc);
  std::string text = platform::utf8(entry.codepoint);
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  if (pango_layout_get_unknown_glyphs_count(layout.get()) != 0)
    throw std::runtime_error("icon table line " + std::to_string(entry.line) + ": the icon font has no glyph for '" +
                             entry.glyph + "'");
  // The glyph must come from the icon font, not from a fallback font.
  PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
  PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
  bool fromIconFont = false;
  if (run) {
    PangoFontDescription* used = pango_font_describe(run->item->analysis.font);
    fromIconFont = std::string(pango_font_description_get_family(used)) == kIconFamily;
    pango_font_description_free(used);
  }
  pango_layout_iter_free(iter);
  if (!fromIconFont)
    throw std::runtime_error("icon table line " + std::to_string(entry.line) + ": '" + entry.glyph +
                             "' was not drawn from " + kIconFamily);
  return layout;
}

// Draws the glyph in white with its ink centred on (cx, cy).
void drawGlyphCentred(cairo_t* cr, PangoLayout* layout, double cx, double cy) {
  PangoRectangle ink;
  pango_layout_get_extents(layout, &ink, nullptr);
  if (ink.width <= 0 || ink.height <= 0) throw std::runtime_error("glyph has no ink");
  double x = cx - (ink.x + ink.width / 2.0) / PANGO_SCALE;
  double y = cy - (ink.y + ink.height / 2.0) / PANGO_SCALE;
  cairo_move_to(cr, x, y);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  pango_cairo_show_layout(cr, layout);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// The product's gradient: a deep blue going into violet, top-left to bottom-right.
void fillProductGradient(cairo_t* cr, double w, double h) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, w, h);
  cairo_pattern_add_color_stop_rgb(gradient, 0, 0.16, 0.38, 0.96);
  cairo_pattern_add_color_stop_rgb(gradient, 1, 0.56, 0.25, 0.89);
  cairo_set_source(cr, gradient);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
}

void writePng(cairo_surface_t* surface, const std::filesystem::path& file) {
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png(surface, file.c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

GlyphPainter::GlyphPainter(const std::filesystem::path& iconFont) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) throw std::runtime_error("fontconfig could not be initialised");
  if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(iconFont.c_str()))) {
    FcConfigDestroy(config);
    throw std::runtime_error("cannot load icon font " + iconFont.string());
  }
  fontMap_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  if (!fontMap_) {
    FcConfigDestroy(config);
    throw std::runtime_error("no FreeType font map");
  }
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config);
  FcConfigDestroy(config);  // the font map holds its own reference
}

GlyphPainter::~GlyphPainter() { g_object_unref(fontMap_); }

void GlyphPainter::paint(const IconEntry& entry, const std::filesystem::path& folder) const {
  std::vector<std::string> names = IconTable::fileNames(entry);
  switch (entry.style) {
    case Style::Icon:
      for (size_t i = 0; i < names.size(); ++i)
        paintIcon(entry, kIconPoints * static_cast<int>(i + 1), folder / names[i]);
      break;
    case Style::Header: paintHeader(entry, folder / names[0]); break;
    case Style::Tile: paintTile(entry, folder / names[0]); break;
  }
}

void GlyphPainter::paintIcon(const IconEntry& entry, int pixels, const std::filesystem::path& file) const {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels));
  Context cr(cairo_create(surface.get()));
  Layout layout = glyphLayout(cr.get(), fontMap_, entry, pixels);
  drawGlyphCentred(cr.get(), layout.get(), pixels / 2.0, pixels / 2.0);
  writePng(surface.get(), file);
}

void GlyphPainter::paintHeader(const IconEntry& entry, const std::filesystem::path& file) const {
  // 355 x 120 points at 3x: the header picture's size on a phone at rest.
  const int w = 1065, h = 360;
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  Context cr(cairo_create(surface.get()));
  roundedRect(cr.get(), 0, 0, w, h, 42);
  fillProductGradient(cr.get(), w, h);

  Layout glyph = glyphLayout(cr.get(), fontMap_, entry, 200);

  PangoContext* context = pango_font_map_create_context(fontMap_);
  Layout name(pango_layout_new(context));
  g_object_unref(context);
  pango_cairo_update_layout(cr.get(), name.get());
  PangoFontDescription* desc = pango_font_description_from_string(kTextFamily);
  pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
  pango_font_description_set_absolute_size(desc, 120 * PANGO_SCALE);
  pango_layout_set_font_description(name.get(), desc);
  pango_font_description_free(desc);
  pango_layout_set_text(name.get(), "Tessra 2", -1);

  PangoRectangle glyphInk, nameInk;
  pango_layout_get_extents(glyph.get(), &glyphInk, nullptr);
  pango_layout_get_extents(name.get(), &nameInk, nullptr);
  const double gap = 40;
  double glyphW = glyphInk.width / double(PANGO_SCALE);
  double nameW = nameInk.width / double(PANGO_SCALE);
  double left = (w - (glyphW + gap + nameW)) / 2;
  drawGlyphCentred(cr.get(), glyph.get(), left + glyphW / 2, h / 2.0);
  double nx = left + glyphW + gap - nameInk.x / double(PANGO_SCALE);
  double ny = h / 2.0 - (nameInk.y + nameInk.height / 2.0) / PANGO_SCALE;
  cairo_move_to(cr.get(), nx, ny);
  cairo_set_source_rgba(cr.get(), 1, 1, 1, 1);
  pango_cairo_show_layout(cr.get(), name.get());
  writePng(surface.get(), file);
}

void GlyphPainter::paintTile(const IconEntry& entry, const std::filesystem::path& file) const {
  // A 29-point settings icon at 3x with the platform's corner ratio.
  const int side = 87;
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side));
  Context cr(cairo_create(surface.get()));
  roundedRect(cr.get(), 0, 0, side, side, side * 0.2237);
  fillProductGradient(cr.get(), side, side);
  Layout glyph = glyphLayout(cr.get(), fontMap_, entry, side * 0.7);
  drawGlyphCentred(cr.get(), glyph.get(), side / 2.0, side / 2.0);
  writePng(surface.get(), file);
}

}  // namespace iconbake
