#pragma once

// The fixture of the script parser's tests: one line parsed with the plug-in's
// vocabulary, either understood or refused with a reason.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"

namespace tessra::device {

class ScriptLineTest : public ::testing::Test {
 protected:
  // The command of a line that must be understood; numbered `lineNumber_`.
  ScriptCommand parseOk(std::string_view line) {
    auto result = parser_.parseLine(line, lineNumber_);
    EXPECT_TRUE(result.error.empty()) << line << ": " << result.error;
    EXPECT_TRUE(result.command.has_value()) << line;
    return result.command.value_or(ScriptCommand{});
  }
  // The reason a line is refused.
  std::string errorOf(std::string_view line) {
    auto result = parser_.parseLine(line, 1);
    EXPECT_FALSE(result.command.has_value()) << line;
    return result.error;
  }

  size_t lineNumber_ = 3;
  ScriptVocabulary vocabulary_ = tweakVocabulary();
  ScriptParser parser_{vocabulary_};
};

}  // namespace tessra::device
