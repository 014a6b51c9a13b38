#include "tweak/toast/ToastAttachments.h"

#include <unordered_map>

#include "platform/ui/UIView.h"

namespace {

struct Entry {
  std::weak_ptr<platform::UIView> owner;
  bool tracked = false;  // whether the view was shared-owned when the entry was made
  std::unique_ptr<ToastHostState> host;
  std::unique_ptr<ToastState> toast;
};

std::unordered_map<const platform::UIView*, Entry>& entries() {
  static auto* table = new std::unordered_map<const platform::UIView*, Entry>();
  return *table;
}

bool isStale(const Entry& entry) { return entry.tracked && entry.owner.expired(); }

// Drops the entries of views that are gone.
void sweep() {
  std::erase_if(entries(), [](const auto& item) { return isStale(item.second); });
}

Entry& entryFor(platform::UIView& view) {
  auto& table = entries();
  auto found = table.find(&view);
  if (found != table.end() && !isStale(found->second)) return found->second;
  if (found != table.end()) table.erase(found);
  sweep();
  Entry entry;
  entry.owner = view.weak_from_this();
  entry.tracked = !entry.owner.expired();
  return table.emplace(&view, std::move(entry)).first->second;
}

Entry* findEntry(const platform::UIView& view) {
  auto found = entries().find(&view);
  if (found == entries().end() || isStale(found->second)) return nullptr;
  return &found->second;
}

}  // namespace

ToastHostState& ToastAttachments::host(platform::UIView& view) {
  Entry& entry = entryFor(view);
  if (!entry.host) entry.host = std::make_unique<ToastHostState>();
  return *entry.host;
}

ToastHostState* ToastAttachments::findHost(const platform::UIView& view) {
  Entry* entry = findEntry(view);
  return entry ? entry->host.get() : nullptr;
}

ToastState& ToastAttachments::toast(platform::UIView& view) {
  Entry& entry = entryFor(view);
  if (!entry.toast) entry.toast = std::make_unique<ToastState>();
  return *entry.toast;
}

ToastState* ToastAttachments::findToast(const platform::UIView& view) {
  Entry* entry = findEntry(view);
  return entry ? entry->toast.get() : nullptr;
}

void ToastAttachments::forgetToast(const platform::UIView& view) {
  auto found = entries().find(&view);
  if (found == entries().end()) return;
  found->second.toast.reset();
  if (!found->second.host) entries().erase(found);
}

size_t ToastAttachments::visibleCount() {
  size_t count = 0;
  for (const auto& [view, entry] : entries())
    if (entry.host && !isStale(entry)) count += entry.host->active.size();
  return count;
}

size_t ToastAttachments::queuedCount() {
  size_t count = 0;
  for (const auto& [view, entry] : entries())
    if (entry.host && !isStale(entry)) count += entry.host->queue.size();
  return count;
}
