// iconbake: draws the images of the device's bundles from the icon table.
//   iconbake TABLE FONT PLUGIN_BUNDLE_DIR PREFS_BUNDLE_DIR
#include <filesystem>
#include <iostream>

#include "tools/iconbake/GlyphPainter.h"
#include "tools/iconbake/IconTable.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: iconbake TABLE FONT PLUGIN_BUNDLE_DIR PREFS_BUNDLE_DIR\n";
    return 2;
  }
  try {
    iconbake::IconTable table = iconbake::IconTable::load(argv[1]);
    iconbake::GlyphPainter painter(argv[2]);
    std::filesystem::path plugin = argv[3], prefs = argv[4];
    std::filesystem::create_directories(plugin);
    std::filesystem::create_directories(prefs);
    for (const auto& entry : table.entries())
      painter.paint(entry, entry.bundle == iconbake::Bundle::Plugin ? plugin : prefs);
  } catch (const std::exception& e) {
    std::cerr << "iconbake: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
