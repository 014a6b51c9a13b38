#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/foundation/PropertyList.h"

class TessraStorageManager;

// The seventy settings of the preference domain: each key with its type, its
// default and the field of TessraStorageManager that mirrors it. The table is
// in binding order and is the one place that names the keys: the binding at
// start-up, the `tessra` command's listing and its validation all read it.
enum class SettingType { Bool, Integer };

struct SettingDescription {
  std::string_view key;
  SettingType type = SettingType::Bool;
  int64_t defaultValue = 0;  // 0 or 1 for a BOOL
  bool TessraStorageManager::*boolField = nullptr;
  int64_t TessraStorageManager::*integerField = nullptr;
  // The values an integer setting documents (a BOOL's are 0 and 1). Nothing enforces them at run time.
  int64_t minimum = 0;
  int64_t maximum = 1;

  // The value of the mirroring field of `manager` (a BOOL as 0 or 1).
  int64_t valueIn(const TessraStorageManager& manager) const;
  // What a bound field holds for `stored`: the number it holds, or the default when it is absent or not a number.
  int64_t valueFor(const platform::plist::Value& stored) const;
  // `value` as it is written to the domain: a boolean for a BOOL, an integer otherwise.
  platform::plist::Value storedValue(int64_t value) const;
};

class TessraSettings {
 public:
  // How many settings are bound before showInformationTextOnBottom is set.
  static constexpr size_t kBoundBeforeInformationText = 4;

  // Every setting, in binding order (70 entries).
  static std::span<const SettingDescription> all();
  // The setting named `key` (exact, case-sensitive), or null.
  static const SettingDescription* find(std::string_view key);
};
