#include "platform/bus/DisplayChannel.h"

#include <array>
#include <utility>

namespace platform::display {

namespace {

constexpr std::array<std::pair<DisplayKey, std::string_view>, 8> kNames{{
    {DisplayKey::Home, "home"},
    {DisplayKey::Lock, "lock"},
    {DisplayKey::Siri, "siri"},
    {DisplayKey::Spotlight, "spotlight"},
    {DisplayKey::VolumeUp, "volume-up"},
    {DisplayKey::VolumeDown, "volume-down"},
    {DisplayKey::VolumeBoth, "volume-both"},
    {DisplayKey::Side, "side"},
}};

}  // namespace

std::string_view keyName(DisplayKey key) {
  for (const auto& [k, name] : kNames)
    if (k == key) return name;
  return "";
}

std::optional<DisplayKey> keyNamed(std::string_view name) {
  for (const auto& [k, n] : kNames)
    if (n == name) return k;
  return std::nullopt;
}

}  // namespace platform::display
