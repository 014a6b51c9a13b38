#include "platform/prefs/PreferenceFileStore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {

namespace {

using plist::PropertyListFile;
using plist::ReadStatus;

// Holds the exclusive lock of a domain for its lifetime.
class DomainLock {
 public:
  DomainLock(const std::filesystem::path& root, const std::filesystem::path& lockFile) {
    BeneathRoot::File file = BeneathRoot::open(root, lockFile, O_RDWR | O_CREAT | O_NOCTTY, 0644);
    if (!file.ok()) {
      error_ = "cannot open the lock file " + file.error();
      return;
    }
    fd_ = file.release();
    // A writer holds the lock for a few milliseconds: one that keeps it for seconds is stuck (or stopped), and
    // waiting on it forever would hang every writer of the device.
    const auto deadline = std::chrono::steady_clock::now() + PreferenceFileStore::kLockTimeout;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (error == EINTR) continue;
      if (error == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
        ::usleep(5000);
        continue;
      }
      error_ =
          error == EWOULDBLOCK
              ? "another process has held the lock " + lockFile.string() + " for more than " +
                    std::to_string(
                        std::chrono::duration_cast<std::chrono::seconds>(PreferenceFileStore::kLockTimeout).count()) +
                    " s; gave up waiting"
              : "cannot lock the domain (" + lockFile.string() + "): " + std::strerror(error);
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
  ~DomainLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  DomainLock(const DomainLock&) = delete;
  DomainLock& operator=(const DomainLock&) = delete;
  bool held() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

std::string utcStamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
  return buf;
}

// Renames `from` to `to` unless `to` exists; errno EEXIST when it does.
bool renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without RENAME_NOREPLACE: link() refuses an existing name too.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

PreferenceFileStore::PreferenceFileStore(std::string domain, std::filesystem::path file, plist::Limits limits)
    : domain_(std::move(domain)), file_(std::move(file)), root_(DevicePaths::root()), limits_(limits) {
  limits_.dictionaryRoot = true;
}

std::filesystem::path PreferenceFileStore::lockFile() const {
  std::filesystem::path lock = file_;
  lock += ".lock";
  return lock;
}

PreferenceFileStore::Reading PreferenceFileStore::read(const std::string& knownBytes) {
  Reading r;
  PropertyListFile::FileBytes raw = PropertyListFile::readDeviceBytes(root_, file_, limits_.maxBytes);
  switch (raw.status) {
    case ReadStatus::Ok: break;
    case ReadStatus::Missing: r.verdict = Verdict::Missing; return r;
    case ReadStatus::Unreadable:
      r.verdict = Verdict::Unreadable;
      r.problem = raw.message;
      return r;
    default:
      r.verdict = Verdict::Bad;
      r.problem = std::string(plist::describeStatus(raw.status)) + ": " + raw.message;
      return r;
  }
  r.bytes = std::move(raw.bytes);
  if (!knownBytes.empty() && r.bytes == knownBytes) {
    r.verdict = Verdict::Good;
    r.unchanged = true;
    return r;
  }
  PropertyListFile::ReadResult parsed = PropertyListFile::parse(r.bytes, limits_);
  if (!parsed.ok()) {
    r.verdict = parsed.status == ReadStatus::Unrepresentable ? Verdict::Unkeepable : Verdict::Bad;
    r.problem = std::string(plist::describeStatus(parsed.status)) + ": " + parsed.message;
    return r;
  }
  if (!parsed.value.isDictionary()) {
    r.verdict = Verdict::Bad;
    r.problem = "its root is not a dictionary";
    return r;
  }
  r.verdict = Verdict::Good;
  r.values = parsed.value.dictionary();
  return r;
}

bool PreferenceFileStore::keepAside(const Reading& bad, std::string& error) {
  const std::string base = file_.string() + ".bad-" + utcStamp();
  std::filesystem::path aside = base;
  for (int attempt = 2; !renameNoReplace(file_, aside); ++attempt) {
    if (errno != EEXIST || attempt > 1000) {
      error = "the unreadable file " + file_.string() + " (" + bad.problem +
              ") could not be kept aside: " + std::strerror(errno);
      reportOnce("HBPreferences: domain " + domain_ + ": " + error + "; the domain reads as empty and is not saved");
      return false;
    }
    aside = base + "-" + std::to_string(attempt);
  }
  Log::write("HBPreferences: domain " + domain_ + ": the file " + file_.string() + " could not be used (" +
             bad.problem + "); kept aside as " + aside.filename().string() + ", the domain reads as empty");
  return true;
}

namespace {

// The last problem reported for each file, with the version of the file it was about; for the whole process.
struct ReportMemory {
  std::mutex mutex;
  std::map<std::string, std::string, std::less<>> lastReports;
};

ReportMemory& reportMemory() {
  static ReportMemory* memory = new ReportMemory();  // never destroyed: domains may report during exit
  return *memory;
}

}  // namespace

void PreferenceFileStore::reportOnce(const std::string& line) {
  // Per file for the whole process, and per version of the file: each new domain object would otherwise report
  // the same bad file again, while a file replaced by another bad one is news.
  std::error_code ec;
  const auto stamp = std::filesystem::last_write_time(file_, ec).time_since_epoch().count();
  const std::string seen =
      line + '\n' + std::to_string(stamp) + '\n' + std::to_string(std::filesystem::file_size(file_, ec));
  ReportMemory& memory = reportMemory();
  {
    std::lock_guard lock(memory.mutex);
    std::string& last = memory.lastReports[file_.string()];
    if (seen == last) return;
    last = seen;
  }
  Log::write(line);
}

void PreferenceFileStore::forgetReports() {
  // On every good load: no file system call here.
  ReportMemory& memory = reportMemory();
  std::lock_guard lock(memory.mutex);
  if (!memory.lastReports.empty()) memory.lastReports.erase(file_.string());
}

PreferenceFileStore::LoadResult PreferenceFileStore::load(const std::string& knownBytes) {
  LoadResult result;
  Reading r = read(knownBytes);
  switch (r.verdict) {
    case Verdict::Good:
      forgetReports();
      result.outcome = r.unchanged ? Outcome::Unchanged : Outcome::Loaded;
      result.values = std::move(r.values);
      result.bytes = std::move(r.bytes);
      break;
    case Verdict::Bad:
      // Left in place: only a write, which would replace it, keeps it aside.
      reportOnce("HBPreferences: domain " + domain_ + ": the file " + file_.string() + " could not be used (" +
                 r.problem + "); the domain reads as empty, and the file is kept aside before it is replaced");
      result.outcome = Outcome::Unusable;
      result.problem = std::move(r.problem);
      break;
    case Verdict::Unkeepable:
      // Sound, but not something this process can hold as it is: never kept aside, never replaced.
      reportOnce("HBPreferences: domain " + domain_ + ": the file " + file_.string() + " could not be used (" +
                 r.problem + "); the domain reads as empty, and the file is left as it is");
      result.outcome = Outcome::Unusable;
      result.problem = std::move(r.problem);
      break;
    case Verdict::Unreadable:
      reportOnce("HBPreferences: domain " + domain_ + ": cannot read " + file_.string() + ": " + r.problem);
      result.outcome = Outcome::Unreadable;
      result.problem = std::move(r.problem);
      break;
    case Verdict::Missing:
      forgetReports();
      result.outcome = Outcome::Missing;
      break;
  }
  return result;
}

PreferenceFileStore::WriteResult PreferenceFileStore::update(const std::vector<Change>& changes,
                                                             const std::string& knownBytes,
                                                             const plist::Dictionary& knownValues,
                                                             const KeyEdit* keyEdit, Durability durability) {
  WriteResult result;
  std::error_code ec;
  if (std::string why; !BeneathRoot::createFolders(root_, file_.parent_path(), &why)) {
    result.error = "cannot create the folder " + why;
    return result;
  }
  DomainLock lock(root_, lockFile());
  if (!lock.held()) {
    result.error = lock.error();
    return result;
  }
  // Any temporary file of this domain is a crashed writer's leftover: writers hold the lock.
  const std::string prefix = PropertyListFile::temporaryPrefix(file_);
  for (const auto& entry : std::filesystem::directory_iterator(file_.parent_path(), ec)) {
    // Exactly the prefix and the six characters mkostemp adds: "a.plist.tmp.x.plist" is another domain's file.
    const std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix)) std::filesystem::remove(entry.path(), ec);
  }

  Reading current = read(knownBytes);
  plist::Dictionary values;
  switch (current.verdict) {
    case Verdict::Good: values = current.unchanged ? knownValues : std::move(current.values); break;
    case Verdict::Missing: break;
    case Verdict::Bad:
      if (!keepAside(current, result.error)) return result;
      break;
    case Verdict::Unreadable:
      result.error = "cannot read the current file, so it is not replaced: " + current.problem;
      return result;
    case Verdict::Unkeepable:
      // Rewriting it would change or drop a value nobody asked to change.
      result.error = "the current file " + current.problem + ", so it is not replaced";
      return result;
  }
  for (const auto& [key, value] : changes) {
    if (value.isNull())
      values.remove(key);
    else
      values.set(key, value);
  }
  if (keyEdit) {
    const plist::Value* stored = values.find(keyEdit->key);
    plist::Value edited = keyEdit->edit(stored ? *stored : plist::Value());
    if (edited.isNull())
      values.remove(keyEdit->key);
    else
      values.set(keyEdit->key, std::move(edited));
  }
  plist::Value root(std::move(values));
  std::optional<std::string> xml = PropertyListFile::toXml(root, limits_, &result.error);
  if (!xml) {
    result.refusedContent = true;
    return result;
  }
  if (durability == Durability::Deferred) {
    std::optional<FileFlush> flush = PropertyListFile::replaceDeviceFile(root_, file_, *xml, &result.error);
    if (!flush) return result;
    result.flush = std::move(*flush);
  } else if (!PropertyListFile::writeDeviceFileAtomically(root_, file_, *xml, &result.error)) {
    return result;
  }
  result.ok = true;
  result.values = root.dictionary();
  result.bytes = std::move(*xml);
  return result;
}

}  // namespace platform
