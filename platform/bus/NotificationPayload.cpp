#include "platform/bus/NotificationPayload.h"

#include "platform/foundation/PropertyListFile.h"

namespace platform {

namespace {

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

plist::Limits NotificationPayload::limits() {
  plist::Limits caps;
  caps.maxBytes = 1024 * 1024;
  caps.maxDepth = 32;
  caps.maxNodes = 10000;
  caps.maxExpandedBytes = 1024 * 1024;
  return caps;
}

std::optional<std::string> NotificationPayload::encode(const plist::Value& userInfo, std::string* error) {
  if (userInfo.isNull()) return std::string();
  if (!userInfo.isDictionary()) {
    setError(error, "the user info is not a dictionary");
    return std::nullopt;
  }
  std::string why;
  auto xml = plist::PropertyListFile::toXml(userInfo, limits(), &why);
  if (!xml) {
    setError(error, "the user info cannot be sent: " + why);
    return std::nullopt;
  }
  if (xml->size() > limits().maxBytes) {
    setError(error, "the user info is larger than " + std::to_string(limits().maxBytes) + " bytes");
    return std::nullopt;
  }
  return xml;
}

std::optional<plist::Value> NotificationPayload::decode(std::string_view text, std::string* error) {
  if (text.empty()) return plist::Value();
  // Only XML travels on the bus; a binary list (or anything else) is not what a peer sends.
  size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text[start] != '<') {
    setError(error, "not XML property-list text");
    return std::nullopt;
  }
  auto result = plist::PropertyListFile::parse(text, limits());
  if (!result.ok()) {
    setError(error, std::string(plist::describeStatus(result.status)) + ": " + result.message);
    return std::nullopt;
  }
  if (!result.value.isDictionary()) {
    setError(error, "not a dictionary");
    return std::nullopt;
  }
  return result.value;
}

}  // namespace platform
