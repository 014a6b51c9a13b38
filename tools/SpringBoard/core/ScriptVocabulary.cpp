#include "tools/SpringBoard/core/ScriptVocabulary.h"

namespace tessra::device {

int ScriptVocabulary::switchType(std::string_view name) const {
  auto it = switches_.find(name);
  return it == switches_.end() ? -1 : it->second;
}

const ScriptVocabulary::SettingRule* ScriptVocabulary::setting(std::string_view key) const {
  auto it = settings_.find(key);
  return it == settings_.end() ? nullptr : &it->second;
}

}  // namespace tessra::device
