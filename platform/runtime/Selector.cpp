#include "platform/runtime/Selector.h"

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace platform {
namespace {

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Every selector of the process. Selectors are never freed, so the pointers
// handed out stay valid; the table itself is deliberately never destroyed
// because selectors are used from static destructors too.
struct SelectorTable {
  std::shared_mutex mutex;
  std::unordered_map<std::string, std::unique_ptr<Selector>, StringHash, std::equal_to<>> byName;
};

SelectorTable& table() {
  static SelectorTable* t = new SelectorTable;
  return *t;
}

}  // namespace

SEL sel_registerName(std::string_view name) {
  SelectorTable& t = table();
  {
    std::shared_lock lock(t.mutex);
    auto it = t.byName.find(name);
    if (it != t.byName.end()) return it->second.get();
  }
  std::unique_lock lock(t.mutex);
  auto it = t.byName.find(name);
  if (it != t.byName.end()) return it->second.get();
  auto sel = std::make_unique<Selector>(Selector{std::string(name)});
  SEL result = sel.get();
  t.byName.emplace(std::string(name), std::move(sel));
  return result;
}

const char* sel_getName(SEL sel) { return sel ? sel->name.c_str() : ""; }

}  // namespace platform
