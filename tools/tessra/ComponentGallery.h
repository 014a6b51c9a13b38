#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace tessra::cli {

// Draws the panel's two widgets in the states worth looking at and writes
// them as PNG files plus an index.html that lays them out with captions: the
// segmented control in every transition and shape style at rest and half-way,
// its gradient bouncing past either end, with and without shadows, in the
// panel's light and dark configuration; and the customization summary strip
// for apps with nothing, one thing and fourteen things, at 2x and 3x. Uses the
// process-wide store (in memory only: nothing is saved) and the bundle images
// of the current device root. Main thread; runs on a manual clock of its own.
class ComponentGallery {
 public:
  struct Picture {
    std::string file;     // PNG file name inside the folder
    std::string section;  // heading it is shown under
    std::string caption;
    int pixelWidth = 0;
    int pixelHeight = 0;
  };

  // `scale` is the pixels per point of the control pictures (1, 2 or 3).
  explicit ComponentGallery(double scale) : scale_(scale) {}

  // Writes every picture and index.html into `folder` (created when missing). False with a
  // message on `err` when a file cannot be written.
  bool write(const std::filesystem::path& folder, std::ostream& err);
  // What the last write produced, in page order.
  const std::vector<Picture>& pictures() const { return pictures_; }

 private:
  bool writeControls(const std::filesystem::path& folder, std::ostream& err);
  bool writeStrips(const std::filesystem::path& folder, std::ostream& err);
  bool writeIndex(const std::filesystem::path& folder, std::ostream& err) const;

  double scale_;
  std::vector<Picture> pictures_;
};

}  // namespace tessra::cli
