#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PreferenceFileStore.h"

namespace platform {

// The in-process state of one preference domain, shared by every
// HBPreferences object of that domain (a process holds at most one per
// domain file, alive while some object uses it). It keeps the values, the
// fields bound to keys and the change blocks, writes through its
// PreferenceFileStore, and reloads when "<domain>/ReloadPrefs" is posted.
//
// Values are an immutable snapshot: the file's values with this process's
// unsaved writes laid over them. A write is applied in memory at once and then
// saved; a write that could not be saved stays pending, is retried by the next
// write or synchronize(), and keeps its value in this process across reloads,
// unless another process saves that key meanwhile (its value then wins).
// A save under a DeferredDurability of the saving thread is published at once
// and flushed when that scope completes. Thread-safe; bound fields are written
// and change blocks run on the thread that writes or reloads.
class PreferenceDomain : public std::enable_shared_from_this<PreferenceDomain> {
 public:
  // The domain of `identifier` for this process, created (and loaded) when none is alive.
  static std::shared_ptr<PreferenceDomain> forIdentifier(const std::string& identifier);
  // The live domain of `identifier`, or null.
  static std::shared_ptr<PreferenceDomain> existing(std::string_view identifier);
  // Whether `identifier` can name a file: not empty, no '/', not "." or "..", no NUL.
  static bool isValidIdentifier(std::string_view identifier);

  ~PreferenceDomain();
  PreferenceDomain(const PreferenceDomain&) = delete;
  PreferenceDomain& operator=(const PreferenceDomain&) = delete;

  const std::string& identifier() const { return identifier_; }
  // The notification that reloads this domain.
  std::string reloadNotificationName() const { return identifier_ + "/ReloadPrefs"; }

  // The value under `key`, or null.
  plist::Value objectForKey(std::string_view key) const;
  // All values as one dictionary snapshot.
  plist::Value snapshot() const;
  // Sets (or, for null, removes) `key` in memory and saves it; false when the save failed (logged).
  bool setObject(plist::Value value, std::string key);
  // Saves every pending write; false when that failed (logged).
  bool synchronize();
  // Read-modify-write of one key against the file itself: under the domain's lock, `edit` gets the key's value
  // as the file holds it now (null when absent) and its result (null removes the key) is saved with every
  // pending write, so that a value another process saved meanwhile is never overwritten unseen. Returns the
  // stored value afterwards (null when removed), or nothing when the save failed (logged; nothing changed).
  std::optional<plist::Value> updateObject(std::string key,
                                           const std::function<plist::Value(const plist::Value& stored)>& edit);
  // Writes the file again from what it holds now, flushed before it replaces the old one (a deferred flush of
  // this domain's file failed); false when that failed too (logged).
  bool rewriteDurably();
  // Number of writes not yet saved.
  size_t pendingCount() const;
  // Why the domain's file could not be used when last read (the domain then reads as empty); empty when it was
  // read or there is none.
  std::string fileProblem() const;
  // Why the last save failed (a value refused, the file locked, unreadable or not replaceable); empty after one
  // that succeeded.
  std::string saveProblem() const;

  // Re-reads the file: values, bound fields and change blocks follow.
  void reload();
  // Reloads when the file no longer holds what this process last read or wrote.
  void reloadIfChanged();

  // Binds `*field` (owned by `owner`) to `key`; it takes its value at once.
  void bindBool(const void* owner, bool* field, bool def, std::string key);
  void bindInteger(const void* owner, int64_t* field, int64_t def, std::string key);
  // Runs `block` after every reload and every write of this process.
  void addChangeBlock(const void* owner, std::function<void()> block);
  // Drops the bindings and blocks of `owner`.
  void removeOwner(const void* owner);

 private:
  struct Passkey {};

 public:
  PreferenceDomain(Passkey, std::string identifier);

 private:
  struct Binding {
    const void* owner;
    bool* boolField = nullptr;
    int64_t* integerField = nullptr;
    int64_t def = 0;
    std::string key;
  };
  struct ChangeBlock {
    const void* owner;
    std::shared_ptr<std::function<void()>> block;
  };

  // Loads the file; with `onlyIfChanged`, does nothing (and returns false) when it is unchanged.
  bool load(bool onlyIfChanged);
  bool flush(const PreferenceFileStore::KeyEdit* keyEdit = nullptr);
  void rebuildValuesLocked();
  // Drops the unsaved writes of keys whose stored value another process changed since this one last read the
  // file (`fresh` is what it holds now): the newer, announced value wins over a retry of an older one.
  void dropPendingWritesOverwrittenLocked(const plist::Dictionary& fresh);
  void applyBindingLocked(const Binding& binding) const;
  void runChangeBlocks();

  const std::string identifier_;
  const bool valid_;
  PreferenceFileStore store_;
  uint64_t observerToken_ = 0;

  std::mutex ioMutex_;  // serializes file access; taken before mutex_
  mutable std::mutex mutex_;
  plist::Dictionary diskValues_;                              // what the file held when last read or written
  std::string diskBytes_;                                     // its bytes
  std::map<std::string, plist::Value, std::less<>> pending_;  // unsaved writes; null removes
  std::string fileProblem_;                                   // why the file could not be used, when so
  std::string saveProblem_;                                   // why the last save failed, when it did
  bool lastFlushRefusedContent_ = false;                      // under ioMutex_, read by the thread that flushed
  plist::Value values_;                                       // diskValues_ with pending_ laid over
  std::vector<Binding> bindings_;
  std::vector<ChangeBlock> blocks_;
};

}  // namespace platform
