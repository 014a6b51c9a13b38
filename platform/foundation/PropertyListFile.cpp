#include "platform/foundation/PropertyListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListBinaryCheck.h"
#include "platform/foundation/PropertyListBinaryReader.h"
#include "platform/foundation/PropertyListCalendar.h"
#include "platform/foundation/PropertyListText.h"
#include "platform/foundation/PropertyListXmlReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

namespace platform::plist {

namespace {

std::string errnoText(const char* what, int error) { return std::string(what) + ": " + std::strerror(error); }

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the result (a late write error can surface here).
  int close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }
  // Hands the descriptor over, still open.
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

namespace {

// Reads an open file within the size cap (readBytes without the opening).
PropertyListFile::FileBytes readOpenFile(int descriptor, size_t maxBytes);

}  // namespace

PropertyListFile::FileBytes PropertyListFile::readBytes(const std::filesystem::path& path, size_t maxBytes) {
  FileBytes result;
  // Non-blocking so that a FIFO planted at the path cannot hang the reader.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    int error = errno;
    result.status = error == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    result.message = errnoText("cannot open the file", error);
    return result;
  }
  return readOpenFile(fd, maxBytes);
}

PropertyListFile::FileBytes PropertyListFile::readDeviceBytes(const std::filesystem::path& root,
                                                              const std::filesystem::path& path, size_t maxBytes) {
  BeneathRoot::File file = BeneathRoot::open(root, path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (!file.ok()) {
    FileBytes result;
    result.status = file.errorNumber() == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    result.message = "cannot open the file " + file.error();
    return result;
  }
  return readOpenFile(file.release(), maxBytes);
}

namespace {

PropertyListFile::FileBytes readOpenFile(int descriptor, size_t maxBytes) {
  using FileBytes = PropertyListFile::FileBytes;
  FileBytes result;
  Fd fd(descriptor);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result.status = ReadStatus::Unreadable;
    result.message = "not a regular file";
    return result;
  }
  auto tooLarge = [&](uint64_t size) {
    result.status = ReadStatus::TooLarge;
    result.message = "file of " + std::to_string(size) + " bytes (limit " + std::to_string(maxBytes) + ")";
    result.bytes.clear();
    return result;
  };
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return tooLarge(static_cast<uint64_t>(st.st_size));
  // The file may grow while we read: read at most one byte over the cap.
  result.bytes.resize(static_cast<size_t>(st.st_size) + 1);
  size_t filled = 0;
  for (;;) {
    if (filled == result.bytes.size()) {
      if (filled > maxBytes) return tooLarge(filled);
      result.bytes.resize(std::min(maxBytes + 1, filled * 2 + 4096));
    }
    ssize_t n = ::read(fd.get(), result.bytes.data() + filled, result.bytes.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      result.status = ReadStatus::Unreadable;
      result.message = errnoText("cannot read the file", error);
      result.bytes.clear();
      return result;
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  if (filled > maxBytes) return tooLarge(filled);
  result.bytes.resize(filled);
  return result;
}

}  // namespace

PropertyListFile::ReadResult PropertyListFile::parse(std::string_view bytes, const Limits& limits) {
  ReadResult result;
  auto fail = [&](CheckResult check) {
    result.status = check.status;
    result.message = std::move(check.message);
    return result;
  };
  if (bytes.size() > limits.maxBytes)
    return fail(CheckResult::fail(
        ReadStatus::TooLarge, std::to_string(bytes.size()) + " bytes (limit " + std::to_string(limits.maxBytes) + ")"));
  if (bytes.empty()) return fail(CheckResult::fail(ReadStatus::Malformed, "empty file"));

  if (!PropertyListBinaryCheck::looksBinary(bytes)) {
    if (CheckResult check = PropertyListXmlReader::read(bytes, limits, result.value); !check.ok()) return fail(check);
    return result;
  }
  if (CheckResult check = PropertyListBinaryCheck::check(bytes, limits); !check.ok()) return fail(check);
  if (CheckResult built = PropertyListBinaryReader::read(bytes, result.value); !built.ok()) return fail(built);
  return result;
}

PropertyListFile::ReadResult PropertyListFile::read(const std::filesystem::path& path, const Limits& limits) {
  FileBytes file = readBytes(path, limits.maxBytes);
  if (!file.ok()) return {file.status, Value(), std::move(file.message)};
  return parse(file.bytes, limits);
}

namespace {

// Why XML cannot carry `text` faithfully (not UTF-8, or a character XML 1.0 forbids), or nothing when it can.
std::optional<std::string> xmlCannotCarry(std::string_view text) {
  std::optional<PropertyListText::Fault> fault = PropertyListText::findFault(text);
  if (!fault) return std::nullopt;
  return std::move(fault->why);
}

// ` under the key "KEY"` for a message, or nothing at the root.
std::string underKey(const std::string* key) {
  return key ? " under the key \"" + PropertyListText::printable(*key) + "\"" : std::string();
}

}  // namespace

CheckResult PropertyListFile::checkStorable(const Value& root, const Limits& limits) {
  // Without recursion: the value may be deeper than the stack allows.
  struct Item {
    const Value* value;
    size_t depth;
    const std::string* key = nullptr;  // the key the value sits under, nearest first
  };
  std::vector<Item> pending{{&root, 1}};
  size_t values = 0;
  auto refuse = [](ReadStatus status, std::string why) { return CheckResult::fail(status, std::move(why)); };
  while (!pending.empty()) {
    Item item = pending.back();
    pending.pop_back();
    if (++values > limits.maxNodes)
      return refuse(ReadStatus::TooComplex,
                    "property list with more than " + std::to_string(limits.maxNodes) + " values");
    if (item.depth > limits.maxDepth)
      return refuse(ReadStatus::TooComplex,
                    "property list nested deeper than " + std::to_string(limits.maxDepth) + " levels");
    const Value& v = *item.value;
    switch (v.type()) {
      case Type::Null: return refuse(ReadStatus::Malformed, "nil cannot be stored inside a property list");
      case Type::String:
        if (v.string().find('\0') != std::string::npos)
          return refuse(ReadStatus::Malformed, "text with a NUL character cannot be stored");
        if (auto why = xmlCannotCarry(v.string()))
          return refuse(ReadStatus::Malformed,
                        "the text" + underKey(item.key) + " holds " + *why + "; it cannot be stored");
        break;
      case Type::Date:
        if (!(v.date().secondsSince2001 >= kFirstWritableSecond && v.date().secondsSince2001 < kEndOfWritableSeconds))
          return refuse(ReadStatus::Malformed, "the date" + underKey(item.key) + " (" + v.describe() +
                                                   ") lies outside the years 1 to 9999; it cannot be stored");
        break;
      case Type::Array:
        for (const Value& child : v.array()) pending.push_back({&child, item.depth + 1, item.key});
        break;
      case Type::Dictionary:
        if (v.dictionary().size() > limits.maxDictionaryEntries)
          return refuse(ReadStatus::TooComplex, "property list with a dictionary of more than " +
                                                    std::to_string(limits.maxDictionaryEntries) + " entries");
        for (const auto& [key, child] : v.dictionary()) {
          if (key.find('\0') != std::string::npos)
            return refuse(ReadStatus::Malformed, "key with a NUL character cannot be stored");
          if (auto why = xmlCannotCarry(key))
            return refuse(ReadStatus::Malformed, "the key \"" + PropertyListText::printable(key) + "\" holds " + *why +
                                                     "; it cannot be stored");
          pending.push_back({&child, item.depth + 1, &key});
        }
        break;
      default: break;
    }
  }
  return {};
}

std::optional<std::string> PropertyListFile::toXml(const Value& root, const Limits& limits, std::string* error) {
  std::string why;
  std::optional<std::string> xml;
  if (CheckResult check = checkStorable(root, limits); !check.ok()) {
    why = check.message;
  } else {
    xml = PropertyListXmlWriter::write(root);
  }
  if (xml && xml->size() > limits.maxBytes) {
    why = "rendered property list of " + std::to_string(xml->size()) + " bytes is over the limit of " +
          std::to_string(limits.maxBytes);
    xml.reset();
  }
  if (!xml && error) *error = why;
  return xml;
}

bool PropertyListFile::write(const std::filesystem::path& path, const Value& root, const Limits& limits,
                             std::string* error) {
  std::optional<std::string> xml = toXml(root, limits, error);
  return xml && writeAtomically(path, *xml, error);
}

std::string PropertyListFile::temporaryPrefix(const std::filesystem::path& path) {
  return path.filename().string() + ".tmp.";
}

bool PropertyListFile::writeAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
  const std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) {
    // Its folder cannot hold a new file.
    if (error) *error = errnoText("cannot create a temporary file", errno);
    return false;
  }
  return writeAtomicallyAt(dir.get(), path, bytes, error);
}

bool PropertyListFile::writeDeviceFileAtomically(const std::filesystem::path& root, const std::filesystem::path& path,
                                                 std::string_view bytes, std::string* error) {
  BeneathRoot::File dir = BeneathRoot::open(root, path.parent_path(), O_RDONLY | O_DIRECTORY);
  if (!dir.ok()) {
    if (error) *error = "cannot open the folder " + dir.error();
    return false;
  }
  return writeAtomicallyAt(dir.fd(), path, bytes, error);
}

std::optional<FileFlush> PropertyListFile::replaceDeviceFile(const std::filesystem::path& root,
                                                             const std::filesystem::path& path, std::string_view bytes,
                                                             std::string* error) {
  BeneathRoot::File dir = BeneathRoot::open(root, path.parent_path(), O_RDONLY | O_DIRECTORY);
  if (!dir.ok()) {
    if (error) *error = "cannot open the folder " + dir.error();
    return std::nullopt;
  }
  FileFlush flush;
  if (!writeAtomicallyAt(dir.fd(), path, bytes, error, &flush)) return std::nullopt;
  return flush;
}

bool PropertyListFile::writeAtomicallyAt(int folder, const std::filesystem::path& path, std::string_view bytes,
                                         std::string* error, FileFlush* deferred) {
  auto fail = [&](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  const std::string name = path.filename().string();
  // mkostemp has no form relative to a folder: random names, created exclusively and never through a link.
  std::string temp;
  int created = -1;
  for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    temp = temporaryPrefix(path);
    for (int i = 0; i < 6; ++i) temp += kLetters[random() % (sizeof kLetters - 1)];
    created = ::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (created < 0 && errno != EEXIST) break;
  }
  Fd fd(created);
  if (fd.get() < 0) return fail(errnoText("cannot create a temporary file", errno));

  auto abandon = [&](const char* what, int code) {
    ::unlinkat(folder, temp.c_str(), 0);
    return fail(errnoText(what, code));
  };
  if (::fchmod(fd.get(), 0644) != 0) return abandon("cannot set the temporary file's mode", errno);
  if (!writeAll(fd.get(), bytes)) return abandon("cannot write the temporary file", errno);
  if (deferred) {
    // Visible first, durable later: the caller completes the flush before it reports the write done.
    const int folderCopy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (folderCopy < 0) return abandon("cannot keep the folder open", errno);
    if (::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) {
      const int code = errno;
      ::close(folderCopy);
      return abandon("cannot replace the file", code);
    }
    *deferred = FileFlush(fd.release(), folderCopy, path.string());
    return true;
  }
  if (::fsync(fd.get()) != 0) return abandon("cannot flush the temporary file", errno);
  if (fd.close() != 0) return abandon("cannot close the temporary file", errno);
  if (::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) return abandon("cannot replace the file", errno);

  // The rename is only durable once the folder itself is flushed. The new file is in place either way, so a
  // failure here is logged rather than reported as a failed write (which would claim the old file remains).
  if (::fsync(folder) != 0 && errno != EINVAL)
    Log::write("property list: " + path.string() +
               " replaced, but its folder could not be flushed: " + std::strerror(errno));
  return true;
}

}  // namespace platform::plist
