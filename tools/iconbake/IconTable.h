#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace iconbake {

// Which bundle of the device an image belongs to.
enum class Bundle { Plugin, Prefs };

// How an image is drawn.
enum class Style {
  Icon,    // white glyph on transparent, 30 x 30 points at 1x, 2x and 3x
  Header,  // the settings page's banner: glyph and product name on a gradient
  Tile,    // the settings icon: glyph on a rounded gradient square
};

// One row of the icon table.
struct IconEntry {
  std::string name;  // file name without ".png"
  Bundle bundle = Bundle::Plugin;
  Style style = Style::Icon;
  std::string glyph;       // the glyph's name in the icon font (for people reading the table)
  char32_t codepoint = 0;  // the glyph's character
  int line = 0;            // line in the table, for messages
};

// The table that maps every image name the system uses to a glyph of the
// icon font. Parsing is strict: a malformed row is an error naming its line,
// so a typo never silently drops an image from the build.
class IconTable {
 public:
  // Parses the table's text; throws std::runtime_error naming the first bad line.
  static IconTable parse(std::string_view text);
  // Reads and parses a table file; throws std::runtime_error when unreadable or malformed.
  static IconTable load(const std::filesystem::path& file);

  // The rows in table order.
  const std::vector<IconEntry>& entries() const { return entries_; }

  // The file names one row produces ("wifiIcon.png", "wifiIcon@2x.png", ...).
  static std::vector<std::string> fileNames(const IconEntry& entry);

 private:
  std::vector<IconEntry> entries_;
};

}  // namespace iconbake
