#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::plist {

// The one definition of the text a property list may hold: UTF-8 made of the
// characters XML 1.0 allows (tab, line feed, carriage return, U+0020 to
// U+D7FF, U+E000 to U+FFFD, U+10000 to U+10FFFF). The XML writer refuses
// what breaks it before anything is written and the XML reader refuses it in
// a file, so both sides agree with each other and with standard XML readers.
// Also renders text for messages. Stateless.
class PropertyListText {
 public:
  // Where text first breaks the rule, and how.
  struct Fault {
    size_t offset = 0;  // byte offset of the offending sequence
    std::string why;    // "bytes that are not UTF-8" or "the character U+0001, which XML cannot carry"
  };

  // Whether XML 1.0 allows the character `code`.
  static bool isXmlCharacter(uint32_t code);
  // The first place where `text` is not UTF-8 or holds a character XML forbids; nothing when it is fine.
  static std::optional<Fault> findFault(std::string_view text);
  // `text` as a message may show it: control bytes, DEL and bytes that are not UTF-8 as \xNN, never raw.
  static std::string printable(std::string_view text);
  // "U+0001": a character's code point as people write it.
  static std::string codePointName(uint32_t code);
};

}  // namespace platform::plist
