#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace tessra::device {

// The names a script may use for what the plug-in knows: switch names with
// their toggle types, behaviour names, and the setting keys with the values
// each accepts. It is plain data filled from the plug-in's own tables
// (TweakVocabulary.h), so scripts accept exactly the names the plug-in stores.
class ScriptVocabulary {
 public:
  enum class SettingType { Bool, Integer };
  struct SettingRule {
    SettingType type = SettingType::Bool;
    int64_t minimum = 0;
    int64_t maximum = 1;
  };

  // Adds a switch name with its toggle type.
  void addSwitch(std::string name, int type) { switches_[std::move(name)] = type; }
  // Adds a behaviour name.
  void addAction(std::string name, int type) { actions_[std::move(name)] = type; }
  // Adds a setting key.
  void addSetting(std::string key, SettingRule rule) { settings_[std::move(key)] = rule; }

  // The toggle type of switch `name`, or -1 when it names no switch.
  int switchType(std::string_view name) const;
  bool isSwitch(std::string_view name) const { return switchType(name) >= 0; }
  bool isAction(std::string_view name) const { return actions_.find(name) != actions_.end(); }
  // The rule of setting `key`, or null when no such setting exists.
  const SettingRule* setting(std::string_view key) const;

  const std::map<std::string, int, std::less<>>& switches() const { return switches_; }
  const std::map<std::string, int, std::less<>>& actions() const { return actions_; }

 private:
  std::map<std::string, int, std::less<>> switches_;
  std::map<std::string, int, std::less<>> actions_;
  std::map<std::string, SettingRule, std::less<>> settings_;
};

}  // namespace tessra::device
