#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"

namespace tessra::device {

// Reads the script lines that work the customization panel and check it:
//   panel tap NAME · panel segment Toggles|Behaviors · panel scroll P (0 to 1) ·
//   panel slider volume|brightness P (0 to 100) · panel slider volume|brightness reset · panel dismiss ·
//   expect panel open|closed · expect ring toggles|behaviors · expect bottom "TEXT"|none ·
//   expect button NAME "BADGE"|none · expect slider volume|brightness "TEXT" ·
//   expect stored BUNDLE NAME VALUE|none (NAME: a toggle, a behaviour, volume or brightness).
// Names are checked against the vocabulary and numbers against their ranges.
// Each function answers an error text, or an empty one with the command filled in.
class PanelCommandParser {
 public:
  PanelCommandParser() = delete;

  // A "panel ..." line.
  static std::string parsePanel(const std::vector<std::string>& words, ScriptCommand& command,
                                const ScriptVocabulary& vocabulary);
  // Whether "expect WHAT ..." is one of the panel's expectations.
  static bool isPanelExpectation(std::string_view what);
  // An "expect panel|ring|bottom|button|slider|stored ..." line.
  static std::string parseExpect(const std::vector<std::string>& words, ScriptCommand& command,
                                 const ScriptVocabulary& vocabulary);
};

}  // namespace tessra::device
