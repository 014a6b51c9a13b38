#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/SpringBoard/core/ScriptCommand.h"
#include "tools/SpringBoard/core/ScriptVocabulary.h"

namespace tessra::device {

// A line of a script that was not understood, with the reason in words.
struct ScriptError {
  size_t line = 0;
  std::string message;
};

// Reads scenario scripts: one command per line, words separated by blanks,
// double quotes around words with blanks ("Google Maps"; \" and \\ inside),
// blank lines and lines starting with '#' ignored. Every name and number is
// checked against the vocabulary and its range here, so that a script is
// refused as a whole, before anything runs, when any line is wrong. Keeps a
// reference to the vocabulary, which must outlive it.
class ScriptParser {
 public:
  struct LineResult {
    std::optional<ScriptCommand> command;  // nothing for a blank line, a comment or an error
    std::string error;                     // set when the line was not understood
  };
  struct Result {
    std::vector<ScriptCommand> commands;
    std::vector<ScriptError> errors;  // in line order; empty when the whole script is good
    bool ok() const { return errors.empty(); }
  };

  explicit ScriptParser(const ScriptVocabulary& vocabulary) : vocabulary_(vocabulary) {}

  // Parses one line, numbered `line`.
  LineResult parseLine(std::string_view text, size_t line) const;
  // Parses a whole script; also refuses `version` and `kind` after the first other command.
  Result parse(std::string_view text) const;

  // Refuses each `open`, `quit`, `media playing`, `tap icon`, `press icon` and `banner` of an app
  // that is neither in `installed` nor installed by an earlier `app` line.
  static std::vector<ScriptError> checkInstalledApps(const std::vector<ScriptCommand>& commands,
                                                     std::set<std::string, std::less<>> installed);

  // Splits a line into words (quotes removed); false with `error` set when a quote is not closed.
  static bool splitWords(std::string_view text, std::vector<std::string>& words, std::string& error);
  // Whether `text` is a system version a device can have: 11.x, 12.x or 13.x (an optional third part).
  static bool isSupportedVersion(std::string_view text);
  // Whether `text` is usable as a bundle identifier: letters, digits, '.', '-' and '_', not empty.
  static bool isBundleIdentifier(std::string_view text);

 private:
  std::string parseWords(const std::vector<std::string>& words, ScriptCommand& command) const;
  std::string parseCustomize(const std::vector<std::string>& words, ScriptCommand& command) const;
  std::string parseSetting(const std::vector<std::string>& words, ScriptCommand& command) const;
  std::string parseExpect(const std::vector<std::string>& words, ScriptCommand& command) const;

  const ScriptVocabulary& vocabulary_;
};

}  // namespace tessra::device
