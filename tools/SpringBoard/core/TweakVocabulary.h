#pragma once

#include "tools/SpringBoard/core/ScriptVocabulary.h"
#include "tweak/store/TessraSettings.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::device {

// The vocabulary read from the plug-in's catalogue and settings tables. It is
// inline on purpose: each program that uses it brings the tables its own way
// (the `tessra` command through the plug-in's static library; the SpringBoard
// host, which must never link that library since it loads the plug-in itself,
// through the two table sources compiled on their own).
inline ScriptVocabulary tweakVocabulary() {
  ScriptVocabulary vocabulary;
  for (const auto& toggle : switchDescriptions()) vocabulary.addSwitch(std::string(toggle.name), toggle.type);
  for (const auto& action : actionDescriptions()) vocabulary.addAction(std::string(action.name), action.type);
  for (const auto& setting : TessraSettings::all()) {
    ScriptVocabulary::SettingRule rule;
    rule.type = setting.type == SettingType::Bool ? ScriptVocabulary::SettingType::Bool
                                                  : ScriptVocabulary::SettingType::Integer;
    rule.minimum = setting.minimum;
    rule.maximum = setting.maximum;
    vocabulary.addSetting(std::string(setting.key), rule);
  }
  return vocabulary;
}

}  // namespace tessra::device
