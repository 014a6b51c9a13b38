#include "platform/prefs/DeferredDurability.h"

#include <string>
#include <utility>

#include "platform/foundation/Log.h"
#include "platform/prefs/PreferenceDomain.h"

namespace platform {

namespace {

thread_local DeferredDurability* innermost = nullptr;

}  // namespace

DeferredDurability::DeferredDurability() : outer_(innermost) { innermost = this; }

DeferredDurability::~DeferredDurability() {
  complete();
  innermost = outer_;
}

bool DeferredDurability::active() { return innermost != nullptr; }

DeferredDurability* DeferredDurability::current() { return innermost; }

void DeferredDurability::owe(FileFlush flush, std::weak_ptr<PreferenceDomain> domain) {
  if (!innermost) return;  // `flush` completes as it goes
  innermost->owed_.push_back({std::move(flush), std::move(domain)});
}

bool DeferredDurability::complete() {
  bool durable = true;
  std::vector<Owed> owed = std::move(owed_);
  owed_.clear();
  for (Owed& item : owed) {
    std::string error;
    if (item.flush.complete(&error)) continue;
    Log::write("HBPreferences: " + error + "; writing it again");
    auto domain = item.domain.lock();
    if (!domain || !domain->rewriteDurably()) durable = false;
  }
  return durable;
}

}  // namespace platform
