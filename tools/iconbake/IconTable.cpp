#include "tools/iconbake/IconTable.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace iconbake {

namespace {

[[noreturn]] void fail(int line, const std::string& what) {
  throw std::runtime_error("icon table line " + std::to_string(line) + ": " + what);
}

char32_t parseCodepoint(const std::string& hex, int line) {
  if (hex.empty() || hex.size() > 6) fail(line, "codepoint '" + hex + "' is not 1 to 6 hex digits");
  char32_t value = 0;
  for (char c : hex) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      fail(line, "codepoint '" + hex + "' is not hexadecimal");
    value = value * 16 + static_cast<char32_t>(digit);
  }
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    fail(line, "codepoint '" + hex + "' is not a character");
  return value;
}

}  // namespace

IconTable IconTable::parse(std::string_view text) {
  IconTable table;
  std::set<std::pair<Bundle, std::string>> seen;
  std::istringstream in{std::string(text)};
  std::string raw;
  int line = 0;
  while (std::getline(in, raw)) {
    ++line;
    std::istringstream words(raw);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    if (fields.empty() || fields[0][0] == '#') continue;
    if (fields.size() != 5)
      fail(line, "expected 5 columns (name bundle style glyph codepoint), got " + std::to_string(fields.size()));
    IconEntry entry;
    entry.line = line;
    entry.name = fields[0];
    if (entry.name.find('/') != std::string::npos || entry.name.find("..") != std::string::npos)
      fail(line, "name '" + entry.name + "' must be a plain file name");
    if (fields[1] == "plugin")
      entry.bundle = Bundle::Plugin;
    else if (fields[1] == "prefs")
      entry.bundle = Bundle::Prefs;
    else
      fail(line, "unknown bundle '" + fields[1] + "' (plugin or prefs)");
    if (fields[2] == "icon")
      entry.style = Style::Icon;
    else if (fields[2] == "header")
      entry.style = Style::Header;
    else if (fields[2] == "tile")
      entry.style = Style::Tile;
    else
      fail(line, "unknown style '" + fields[2] + "' (icon, header or tile)");
    entry.glyph = fields[3];
    entry.codepoint = parseCodepoint(fields[4], line);
    if (!seen.insert({entry.bundle, entry.name}).second) fail(line, "'" + entry.name + "' appears twice");
    table.entries_.push_back(std::move(entry));
  }
  if (table.entries_.empty()) throw std::runtime_error("icon table has no rows");
  return table;
}

IconTable IconTable::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read icon table " + file.string());
  std::stringstream buffer;
  buffer << in.rdbuf();
  return parse(buffer.str());
}

std::vector<std::string> IconTable::fileNames(const IconEntry& entry) {
  if (entry.style != Style::Icon) return {entry.name + ".png"};
  return {entry.name + ".png", entry.name + "@2x.png", entry.name + "@3x.png"};
}

}  // namespace iconbake
