#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"

namespace tessra::device {

// The script lines that act on the Settings app and read its pages:
//
//   settings                                 open the Settings app on the Tessra 2 page
//   settings tap "TITLE"                     a row, a link, a button or a bar button
//   settings switch "TITLE" on|off
//   settings slider "TITLE" V
//   settings segment "TITLE" "SEGMENT"
//   settings back
//   expect page "TITLE"
//   expect row "TITLE" enabled|disabled|absent
//   expect rows "SECTION" "TITLE" "TITLE" ...  a section's rows, in order
//   expect setting KEY VALUE                   the domain's value now
//
// A command becomes ScriptVerb::Settings with `name` set to the Settings
// screen's verb (SettingsAppDriver's: "settings", "tap", "switch", "slider",
// "segment", "back", "expect-page", "expect-row", "expect-rows") or
// "expect-setting"; the arguments are re-read from the line. Stateless.
class SettingsCommandParser {
 public:
  // Whether `words` is an `expect` line of this family (page, row, rows, setting).
  static bool isSettingsExpectation(const std::vector<std::string>& words);
  // Parses `words` into `command`; an error message, or empty when understood.
  static std::string parse(const std::vector<std::string>& words, const ScriptVocabulary& vocabulary,
                           ScriptCommand& command);
  // The arguments of a parsed command (the words after the verb and sub-verb).
  static std::vector<std::string> arguments(const ScriptCommand& command);
  // The two settings that the pages keep although the plug-in reads neither.
  static bool isPageOnlySetting(std::string_view key);
};

}  // namespace tessra::device
