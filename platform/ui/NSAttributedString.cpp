#include "platform/ui/NSAttributedString.h"

#include <algorithm>

namespace platform {

void NSAttributedString::addFont(const UIFont& font, size_t location, size_t length) {
  addRun({location, length, font, std::nullopt});
}

void NSAttributedString::addForegroundColor(const UIColor& color, size_t location, size_t length) {
  addRun({location, length, std::nullopt, color});
}

void NSAttributedString::addRun(Run run) {
  if (run.location >= string_.size()) return;
  run.length = std::min(run.length, string_.size() - run.location);
  if (run.length == 0) return;
  runs_.push_back(std::move(run));
}

}  // namespace platform
