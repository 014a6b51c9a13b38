#pragma once

#include <filesystem>
#include <string>

#include "tools/iconbake/IconTable.h"

typedef struct _PangoFontMap PangoFontMap;

namespace iconbake {

// Draws the rows of the icon table into PNG files with Cairo and Pango. It
// owns a font map whose fontconfig configuration has the icon font file
// added explicitly, so the build uses exactly the font it was pointed at;
// text ("Tessra 2") uses Inter from the system's fonts.
class GlyphPainter {
 public:
  // Loads the icon font; throws std::runtime_error when the file cannot be used.
  explicit GlyphPainter(const std::filesystem::path& iconFont);
  ~GlyphPainter();
  GlyphPainter(const GlyphPainter&) = delete;
  GlyphPainter& operator=(const GlyphPainter&) = delete;

  // Writes every file of `entry` into `folder`; throws when the glyph is missing from the font.
  void paint(const IconEntry& entry, const std::filesystem::path& folder) const;

 private:
  void paintIcon(const IconEntry& entry, int pixels, const std::filesystem::path& file) const;
  void paintHeader(const IconEntry& entry, const std::filesystem::path& file) const;
  void paintTile(const IconEntry& entry, const std::filesystem::path& file) const;

  PangoFontMap* fontMap_ = nullptr;
};

}  // namespace iconbake
