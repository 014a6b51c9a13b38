#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/FileFlush.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListLimits.h"

namespace platform {

// The file of one preference domain and the rules for touching it. Reads need
// no lock: every write replaces the file by a rename, so a reader sees the old
// or the new one. Writes (and keeping a bad file aside) happen under an
// exclusive lock on "<file>.lock", shared by every process of the device: the
// file is read again, only the caller's changes are applied to what it holds,
// and the result replaces it atomically. A file that cannot be parsed, whose
// root is not a dictionary or that breaks the limits reads as an empty domain
// and is reported once in the log; it stays where it is (a reader never moves
// it) until a write is about to replace it, which first renames it to
// "<file>.bad-<UTC time>". A sound file that holds a value with no faithful
// form here (a 128-bit integer beyond 64 bits, a lone surrogate) reads as
// empty too, but is never replaced: a write is refused and names the value.
// A write is flushed to disk before its rename, or — Durability::Deferred —
// renamed at once and flushed by the caller through the FileFlush it returns.
// Owned by its PreferenceDomain; not thread-safe on its own (the domain
// serializes calls).
class PreferenceFileStore {
 public:
  // What a load found.
  enum class Outcome {
    Loaded,      // the file was read and parsed
    Unchanged,   // the file holds exactly the bytes the caller already knows
    Missing,     // no file: the domain is empty
    Unusable,    // a bad file, left in place (until a write keeps it aside, when it can): the domain reads as empty
    Unreadable,  // the file exists but cannot be read; nothing was changed
  };
  struct LoadResult {
    Outcome outcome = Outcome::Missing;
    plist::Dictionary values;  // when Loaded
    std::string bytes;         // the file's bytes when Loaded or Unchanged
    std::string problem;       // why the file could not be used, when Unusable or Unreadable
  };
  struct WriteResult {
    bool ok = false;
    plist::Dictionary values;     // what the file holds now, when ok
    std::string bytes;            // its bytes, when ok
    std::string error;            // why not, otherwise
    bool refusedContent = false;  // not ok because the values cannot be written (too large or too complex)
    FileFlush flush;              // when ok and deferred: the flush still owed to the new file
  };
  // When a write reaches the disk.
  enum class Durability {
    BeforeReturning,  // the new file is flushed before it replaces the old one
    Deferred,         // it replaces the old one at once; the caller completes WriteResult::flush
  };
  // A change of one key: a null value removes it.
  using Change = std::pair<std::string, plist::Value>;
  // A change computed from what the file holds under the lock: `edit` gets the key's stored value (null when
  // absent) and returns the value to store (null removes it).
  struct KeyEdit {
    std::string key;
    std::function<plist::Value(const plist::Value& stored)> edit;
  };

  // How long a write waits for another process's lock before it gives up.
  static constexpr std::chrono::milliseconds kLockTimeout{3000};

  PreferenceFileStore(std::string domain, std::filesystem::path file, plist::Limits limits = {});

  // Reads the file. `knownBytes` are the bytes the caller last loaded or wrote (Unchanged when equal).
  LoadResult load(const std::string& knownBytes);
  // Applies `changes` to the file under the lock. `knownBytes`/`knownValues` spare a parse when the file still
  // holds what the caller last saw. On failure the file is as it was.
  WriteResult update(const std::vector<Change>& changes, const std::string& knownBytes,
                     const plist::Dictionary& knownValues, const KeyEdit* keyEdit = nullptr,
                     Durability durability = Durability::BeforeReturning);

  const std::filesystem::path& file() const { return file_; }
  // The lock file beside the domain's file.
  std::filesystem::path lockFile() const;

 private:
  // Unkeepable: a sound file holding a value this process cannot hold as it is (ReadStatus::Unrepresentable).
  enum class Verdict { Good, Missing, Bad, Unkeepable, Unreadable };
  struct Reading {
    Verdict verdict = Verdict::Missing;
    bool unchanged = false;  // Good, and the bytes are the caller's known ones (values left empty)
    plist::Dictionary values;
    std::string bytes;
    std::string problem;
  };
  Reading read(const std::string& knownBytes);
  // Under the lock: renames the bad file aside and logs it; false (logged) when that failed.
  bool keepAside(const Reading& bad, std::string& error);
  // Logs `line` unless it is the last line logged for this version of the file in this process.
  void reportOnce(const std::string& line);
  // The file is fine again: its next problem is reported.
  void forgetReports();

  std::string domain_;
  std::filesystem::path file_;
  std::filesystem::path root_;  // the device root when the store was made: nothing is opened outside it
  plist::Limits limits_;
};

}  // namespace platform
