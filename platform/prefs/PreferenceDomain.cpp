#include "platform/prefs/PreferenceDomain.h"

#include <algorithm>
#include <unordered_map>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/prefs/DeferredDurability.h"

namespace platform {

namespace {

struct Registry {
  std::mutex mutex;
  // Keyed by the domain's file, so that a change of device root gives new domains.
  std::unordered_map<std::string, std::weak_ptr<PreferenceDomain>> domains;
};

Registry& registry() {
  static Registry* r = new Registry();
  return *r;
}

std::filesystem::path fileFor(std::string_view identifier) {
  return PreferenceDomain::isValidIdentifier(identifier) ? DevicePaths::preferencesFile(identifier)
                                                         : std::filesystem::path();
}

}  // namespace

bool PreferenceDomain::isValidIdentifier(std::string_view identifier) {
  return !identifier.empty() && identifier != "." && identifier != ".." &&
         identifier.find('/') == std::string_view::npos && identifier.find('\0') == std::string_view::npos;
}

std::shared_ptr<PreferenceDomain> PreferenceDomain::forIdentifier(const std::string& identifier) {
  const std::string key = fileFor(identifier).string() + '\n' + identifier;
  Registry& r = registry();
  std::shared_ptr<PreferenceDomain> domain;
  {
    std::lock_guard lock(r.mutex);
    std::erase_if(r.domains, [](const auto& entry) { return entry.second.expired(); });
    if (auto it = r.domains.find(key); it != r.domains.end()) domain = it->second.lock();
    if (!domain) {
      domain = std::make_shared<PreferenceDomain>(Passkey{}, identifier);
      r.domains[key] = domain;
      // Observe first, then load: a write posted in between is then reloaded, never missed.
      std::weak_ptr<PreferenceDomain> weak = domain;
      domain->observerToken_ =
          DarwinNotificationCenter::shared().addObserver(domain->reloadNotificationName(), [weak](const std::string&) {
            if (auto live = weak.lock()) live->reload();
          });
      domain->load(false);
      return domain;
    }
  }
  // A new object reads what was last saved, even when nobody posted the reload notification.
  domain->reloadIfChanged();
  return domain;
}

std::shared_ptr<PreferenceDomain> PreferenceDomain::existing(std::string_view identifier) {
  const std::string key = fileFor(identifier).string() + '\n' + std::string(identifier);
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.domains.find(key);
  return it == r.domains.end() ? nullptr : it->second.lock();
}

PreferenceDomain::PreferenceDomain(Passkey, std::string identifier)
    : identifier_(std::move(identifier)),
      valid_(isValidIdentifier(identifier_)),
      store_(identifier_, fileFor(identifier_)),
      values_(plist::Dictionary{}) {
  if (!valid_) Log::write("HBPreferences: invalid domain name \"" + identifier_ + "\"; nothing will be saved");
}

PreferenceDomain::~PreferenceDomain() {
  if (observerToken_) DarwinNotificationCenter::shared().removeObserver(observerToken_);
}

plist::Value PreferenceDomain::objectForKey(std::string_view key) const {
  std::lock_guard lock(mutex_);
  const plist::Value* found = values_.find(key);
  return found ? *found : plist::Value();
}

plist::Value PreferenceDomain::snapshot() const {
  std::lock_guard lock(mutex_);
  return values_;
}

std::string PreferenceDomain::fileProblem() const {
  std::lock_guard lock(mutex_);
  return fileProblem_;
}

std::string PreferenceDomain::saveProblem() const {
  std::lock_guard lock(mutex_);
  return saveProblem_;
}

size_t PreferenceDomain::pendingCount() const {
  std::lock_guard lock(mutex_);
  return pending_.size();
}

bool PreferenceDomain::setObject(plist::Value value, std::string key) {
  // A value the file cannot hold would block every later save: refuse it here, checked where it will sit (one
  // level below the file's root).
  if (!value.isNull()) {
    plist::CheckResult storable = plist::PropertyListFile::checkStorable(plist::Value(plist::Dictionary{{key, value}}));
    if (!storable.ok()) {
      const std::string why = "the value for key \"" + key + "\" cannot be stored: " + storable.message;
      Log::write("HBPreferences: domain " + identifier_ + ": " + why);
      std::lock_guard lock(mutex_);
      saveProblem_ = why;
      return false;
    }
  }
  {
    std::lock_guard lock(mutex_);
    plist::Dictionary updated = values_.dictionary();
    if (value.isNull())
      updated.remove(key);
    else
      updated.set(key, value);
    values_ = plist::Value(std::move(updated));
    pending_[key] = std::move(value);
    for (const Binding& binding : bindings_)
      if (binding.key == key) applyBindingLocked(binding);
  }
  bool saved = flush();
  if (!saved && lastFlushRefusedContent_) {
    // Too large for the file once beside the other keys: the write is withdrawn, or it would be retried (and
    // refused) by every later save of this process.
    std::lock_guard lock(mutex_);
    pending_.erase(key);
    rebuildValuesLocked();
  }
  runChangeBlocks();
  return saved;
}

bool PreferenceDomain::synchronize() { return flush(); }

std::optional<plist::Value> PreferenceDomain::updateObject(
    std::string key, const std::function<plist::Value(const plist::Value& stored)>& edit) {
  PreferenceFileStore::KeyEdit keyEdit{
      key, [&](const plist::Value& stored) {
        plist::Value edited = edit(stored);
        // Refused here rather than by the whole file: the message names the key.
        if (!edited.isNull()) {
          plist::CheckResult storable =
              plist::PropertyListFile::checkStorable(plist::Value(plist::Dictionary{{key, edited}}));
          if (!storable.ok()) {
            Log::write("HBPreferences: domain " + identifier_ + ": the value for key \"" + key +
                       "\" cannot be stored: " + storable.message);
            return stored;
          }
        }
        return edited;
      }};
  {
    // A pending write of this key is superseded by the edit.
    std::lock_guard lock(mutex_);
    pending_.erase(key);
  }
  if (!flush(&keyEdit)) {
    std::lock_guard lock(mutex_);
    rebuildValuesLocked();
    return std::nullopt;
  }
  plist::Value stored = objectForKey(key);
  runChangeBlocks();
  return stored;
}

bool PreferenceDomain::flush(const PreferenceFileStore::KeyEdit* keyEdit) {
  std::lock_guard io(ioMutex_);
  std::vector<PreferenceFileStore::Change> changes;
  std::string knownBytes;
  plist::Dictionary knownValues;
  {
    std::lock_guard lock(mutex_);
    if (pending_.empty() && !keyEdit) return true;
    for (const auto& [key, value] : pending_)
      if (!keyEdit || key != keyEdit->key) changes.emplace_back(key, value);
    knownBytes = diskBytes_;
    knownValues = diskValues_;
  }
  if (!valid_) {
    Log::write("HBPreferences: cannot save domain \"" + identifier_ + "\": invalid domain name");
    std::lock_guard lock(mutex_);
    saveProblem_ = "invalid domain name";
    return false;
  }
  PreferenceFileStore::WriteResult written =
      store_.update(changes, knownBytes, knownValues, keyEdit,
                    DeferredDurability::active() ? PreferenceFileStore::Durability::Deferred
                                                 : PreferenceFileStore::Durability::BeforeReturning);
  lastFlushRefusedContent_ = written.refusedContent;
  if (!written.ok) {
    Log::write("HBPreferences: could not save domain " + identifier_ + " (" + written.error +
               "); the file on disk is unchanged");
    std::lock_guard lock(mutex_);
    saveProblem_ = std::move(written.error);
    return false;
  }
  if (written.flush.owed()) DeferredDurability::owe(std::move(written.flush), weak_from_this());
  std::lock_guard lock(mutex_);
  saveProblem_.clear();
  // Writes made by other threads while this one was saving stay pending.
  for (const auto& [key, value] : changes)
    if (auto it = pending_.find(key); it != pending_.end() && it->second.sameContent(value)) pending_.erase(it);
  diskValues_ = std::move(written.values);
  diskBytes_ = std::move(written.bytes);
  fileProblem_.clear();  // a bad file was kept aside and replaced
  rebuildValuesLocked();
  return true;
}

bool PreferenceDomain::rewriteDurably() {
  std::lock_guard io(ioMutex_);
  if (!valid_) return false;
  std::string knownBytes;
  plist::Dictionary knownValues;
  {
    std::lock_guard lock(mutex_);
    knownBytes = diskBytes_;
    knownValues = diskValues_;
  }
  // No change: the file's present content (this process's save, or a later one of another) is written anew.
  PreferenceFileStore::WriteResult written = store_.update({}, knownBytes, knownValues);
  if (!written.ok) {
    Log::write("HBPreferences: could not write domain " + identifier_ + " again (" + written.error + ")");
    return false;
  }
  std::lock_guard lock(mutex_);
  diskValues_ = std::move(written.values);
  diskBytes_ = std::move(written.bytes);
  rebuildValuesLocked();
  return true;
}

bool PreferenceDomain::load(bool onlyIfChanged) {
  {
    std::lock_guard io(ioMutex_);
    if (!valid_) return false;
    // diskBytes_ and diskValues_ only change under ioMutex_, which this thread holds.
    PreferenceFileStore::LoadResult loaded = store_.load(diskBytes_);
    using Outcome = PreferenceFileStore::Outcome;
    if (loaded.outcome == Outcome::Unreadable) return false;  // keep what we have
    if (onlyIfChanged && loaded.outcome == Outcome::Unchanged) return false;
    const bool empty = loaded.outcome == Outcome::Missing || loaded.outcome == Outcome::Unusable;
    if (onlyIfChanged && empty && diskBytes_.empty() && diskValues_.empty()) {
      std::lock_guard lock(mutex_);
      fileProblem_ = std::move(loaded.problem);
      return false;
    }
    std::lock_guard lock(mutex_);
    fileProblem_ = std::move(loaded.problem);
    if (loaded.outcome != Outcome::Unchanged) {
      dropPendingWritesOverwrittenLocked(loaded.values);
      diskValues_ = std::move(loaded.values);
      diskBytes_ = std::move(loaded.bytes);
      rebuildValuesLocked();
    }
  }
  return true;
}

void PreferenceDomain::dropPendingWritesOverwrittenLocked(const plist::Dictionary& fresh) {
  for (auto it = pending_.begin(); it != pending_.end();) {
    const plist::Value* before = diskValues_.find(it->first);
    const plist::Value* after = fresh.find(it->first);
    const bool savedMeanwhile = (before == nullptr) != (after == nullptr) || (before && !(*before == *after));
    if (!savedMeanwhile) {
      ++it;
      continue;
    }
    Log::write("HBPreferences: domain " + identifier_ + ": \"" + it->first +
               "\" was saved by another process; the write this process could not save is dropped");
    it = pending_.erase(it);
  }
}

void PreferenceDomain::reload() {
  load(false);
  runChangeBlocks();
}

void PreferenceDomain::reloadIfChanged() {
  if (load(true)) runChangeBlocks();
}

void PreferenceDomain::rebuildValuesLocked() {
  if (pending_.empty()) {
    values_ = plist::Value(diskValues_);
  } else {
    plist::Dictionary merged = diskValues_;
    for (const auto& [key, value] : pending_) {
      if (value.isNull())
        merged.remove(key);
      else
        merged.set(key, value);
    }
    values_ = plist::Value(std::move(merged));
  }
  for (const Binding& binding : bindings_) applyBindingLocked(binding);
}

void PreferenceDomain::applyBindingLocked(const Binding& binding) const {
  const plist::Value* stored = values_.find(binding.key);
  // Only a number counts: a value of another kind reads as the default.
  const bool usable = stored && stored->isNumber();
  if (binding.boolField) *binding.boolField = usable ? stored->boolValue() : binding.def != 0;
  if (binding.integerField) *binding.integerField = usable ? stored->integerValue() : binding.def;
}

void PreferenceDomain::bindBool(const void* owner, bool* field, bool def, std::string key) {
  if (!field) return;
  std::lock_guard lock(mutex_);
  bindings_.push_back({owner, field, nullptr, def ? 1 : 0, std::move(key)});
  applyBindingLocked(bindings_.back());
}

void PreferenceDomain::bindInteger(const void* owner, int64_t* field, int64_t def, std::string key) {
  if (!field) return;
  std::lock_guard lock(mutex_);
  bindings_.push_back({owner, nullptr, field, def, std::move(key)});
  applyBindingLocked(bindings_.back());
}

void PreferenceDomain::addChangeBlock(const void* owner, std::function<void()> block) {
  if (!block) return;
  std::lock_guard lock(mutex_);
  blocks_.push_back({owner, std::make_shared<std::function<void()>>(std::move(block))});
}

void PreferenceDomain::removeOwner(const void* owner) {
  std::lock_guard lock(mutex_);
  std::erase_if(bindings_, [owner](const Binding& b) { return b.owner == owner; });
  std::erase_if(blocks_, [owner](const ChangeBlock& b) { return b.owner == owner; });
}

void PreferenceDomain::runChangeBlocks() {
  // Blocks may read, write or create preferences objects: run them without any lock held.
  std::vector<std::shared_ptr<std::function<void()>>> blocks;
  {
    std::lock_guard lock(mutex_);
    for (const ChangeBlock& b : blocks_) blocks.push_back(b.block);
  }
  for (const auto& block : blocks) (*block)();
}

}  // namespace platform
