#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"

namespace platform {

// A text with attributes over ranges of it (NSAttributedString), here the two
// that a label draws: the font and the foreground colour. Ranges count bytes
// of the UTF-8 text (the platform counts UTF-16 units) and are kept within the
// text. Where no run sets an attribute, the label's own font and colour apply.
// A plain value.
class NSAttributedString {
 public:
  // One attribute range; a later run wins where runs overlap.
  struct Run {
    size_t location = 0;
    size_t length = 0;
    std::optional<UIFont> font;
    std::optional<UIColor> foregroundColor;
    bool operator==(const Run&) const = default;
  };

  NSAttributedString() = default;
  explicit NSAttributedString(std::string string) : string_(std::move(string)) {}

  const std::string& string() const { return string_; }
  const std::vector<Run>& runs() const { return runs_; }
  // Sets the font over [location, location + length), cut to the text.
  void addFont(const UIFont& font, size_t location, size_t length);
  // Sets the foreground colour over [location, location + length), cut to the text.
  void addForegroundColor(const UIColor& color, size_t location, size_t length);

  bool operator==(const NSAttributedString&) const = default;

 private:
  void addRun(Run run);

  std::string string_;
  std::vector<Run> runs_;
};

}  // namespace platform
