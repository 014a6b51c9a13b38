#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListLimits.h"

namespace platform {

// The user info of a distributed notification as it travels over the device
// bus: XML property-list text of the dictionary, or "" when there is none.
// What arrives comes from another process and is untrusted: it is parsed
// under tight caps (a notification's user info is a few keys), and anything
// but a dictionary is refused. Dates travel to the whole second, as XML
// property lists write them. Stateless.
class NotificationPayload {
 public:
  // The caps on a payload, whichever way it goes.
  static plist::Limits limits();

  // The text for `userInfo` (null gives ""); nothing, with `error` set, when it is not a dictionary or
  // breaks the caps.
  static std::optional<std::string> encode(const plist::Value& userInfo, std::string* error = nullptr);
  // The user info in `text` ("" gives null); nothing, with `error` set, when it is malformed, too large or
  // not a dictionary.
  static std::optional<plist::Value> decode(std::string_view text, std::string* error = nullptr);
};

}  // namespace platform
