#include "platform/foundation/PropertyListFile.h"

#include <fcntl.h>
#include <plist/plist.h>
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
#include "platform/foundation/PropertyListCalendar.h"
#include "platform/foundation/PropertyListXmlReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

namespace platform::plist {

namespace {

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

struct MallocFree {
  void operator()(void* p) const { std::free(p); }
};

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

// Counts values and nesting of a libplist tree without recursion: the tree
// is only trusted after this check has passed.
CheckResult checkTree(plist_t root, const Limits& limits) {
  struct Item {
    plist_t node;
    size_t depth;
  };
  std::vector<Item> pending{{root, 1}};
  size_t values = 0;
  while (!pending.empty()) {
    Item item = pending.back();
    pending.pop_back();
    if (++values > limits.maxNodes)
      return CheckResult::fail(ReadStatus::TooComplex,
                               "property list with more than " + std::to_string(limits.maxNodes) + " values");
    if (item.depth > limits.maxDepth)
      return CheckResult::fail(ReadStatus::TooComplex,
                               "property list nested deeper than " + std::to_string(limits.maxDepth) + " levels");
    plist_type type = plist_get_node_type(item.node);
    if (type == PLIST_ARRAY) {
      uint32_t n = plist_array_get_size(item.node);
      for (uint32_t i = 0; i < n; ++i) pending.push_back({plist_array_get_item(item.node, i), item.depth + 1});
    } else if (type == PLIST_DICT) {
      plist_dict_iter iter = nullptr;
      plist_dict_new_iter(item.node, &iter);
      for (;;) {
        plist_t value = nullptr;
        plist_dict_next_item(item.node, iter, nullptr, &value);  // no key: libplist copies it otherwise
        if (!value) break;
        pending.push_back({value, item.depth + 1});
      }
      std::free(iter);
    }
  }
  return {};
}

// Builds a Value from a libplist tree that passed checkTree (so recursion is bounded).
bool fromPlist(plist_t node, Value& out, std::string& error) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      out = Value(b != 0);
      return true;
    }
    case PLIST_UINT: {
      uint64_t v = 0;
      plist_get_uint_val(node, &v);
      out = Value(static_cast<int64_t>(v));  // the file's signed 64-bit integer, as libplist keeps it
      return true;
    }
    case PLIST_REAL: {
      double v = 0;
      plist_get_real_val(node, &v);
      out = Value(v);
      return true;
    }
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      out = Value(std::string(s ? s : "", s ? static_cast<size_t>(length) : 0));
      return true;
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* d = plist_get_data_ptr(node, &length);
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(d);
      out = Value(d ? Data(bytes, bytes + length) : Data());
      return true;
    }
    case PLIST_DATE: {
      int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      // libplist truncates toward zero and hands out the fraction without its sign.
      const double fraction = static_cast<double>(usec) / 1e6;
      // Dates beyond its 32-bit seconds (1933 to 2069) come out of libplist clamped to them.
      out = Value(Date{sec < 0 ? static_cast<double>(sec) - fraction : static_cast<double>(sec) + fraction});
      return true;
    }
    case PLIST_ARRAY: {
      Array items;
      uint32_t n = plist_array_get_size(node);
      items.reserve(n);
      for (uint32_t i = 0; i < n; ++i) {
        Value item;
        if (!fromPlist(plist_array_get_item(node, i), item, error)) return false;
        items.push_back(std::move(item));
      }
      out = Value(std::move(items));
      return true;
    }
    case PLIST_DICT: {
      Dictionary dict;
      plist_dict_iter iter = nullptr;
      plist_dict_new_iter(node, &iter);
      bool ok = true;
      for (;;) {
        char* rawKey = nullptr;
        plist_t child = nullptr;
        plist_dict_next_item(node, iter, &rawKey, &child);
        std::unique_ptr<char, MallocFree> key(rawKey);
        if (!child) break;
        Value value;
        if (!fromPlist(child, value, error)) {
          ok = false;
          break;
        }
        dict.set(key ? std::string(key.get()) : std::string(), std::move(value));
      }
      std::free(iter);
      if (ok) out = Value(std::move(dict));
      return ok;
    }
    default: error = "property list holds a kind of value that preferences cannot hold"; return false;
  }
}

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
  plist_t raw = nullptr;
  plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
  PlistPtr tree(raw);
  if (!tree) return fail(CheckResult::fail(ReadStatus::Malformed, "libplist could not parse the property list"));
  if (CheckResult check = checkTree(tree.get(), limits); !check.ok()) return fail(check);
  if (limits.dictionaryRoot && plist_get_node_type(tree.get()) != PLIST_DICT)
    return fail(CheckResult::fail(ReadStatus::Malformed, "property list whose root is not a dictionary"));
  std::string error;
  if (!fromPlist(tree.get(), result.value, error)) {
    result.value = Value();
    return fail(CheckResult::fail(ReadStatus::Malformed, error));
  }
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
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    uint32_t code = 0;
    size_t length = 0;
    if (lead < 0x80) {
      code = lead;
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      code = lead & 0x1F;
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      code = lead & 0x0F;
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      code = lead & 0x07;
      length = 4;
    } else {
      return "bytes that are not UTF-8";
    }
    if (i + length > size) return "bytes that are not UTF-8";
    for (size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return "bytes that are not UTF-8";
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8 either.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return "bytes that are not UTF-8";
    if ((code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D) || code == 0xFFFE || code == 0xFFFF) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
      return std::string("the character ") + name + ", which XML cannot carry";
    }
    i += length;
  }
  return std::nullopt;
}

// A key as a message may show it: control bytes and non-UTF-8 escaped.
std::string printableKey(std::string_view key) {
  std::string out;
  for (unsigned char c : key) {
    if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
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
                        "the text" + (item.key ? " under the key \"" + printableKey(*item.key) + "\"" : std::string()) +
                            " holds " + *why + "; it cannot be stored");
        break;
      case Type::Date:
        if (!(v.date().secondsSince2001 >= kFirstWritableSecond && v.date().secondsSince2001 < kEndOfWritableSeconds))
          return refuse(ReadStatus::Malformed, "date outside the years 1 to 9999 cannot be stored");
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
            return refuse(ReadStatus::Malformed,
                          "the key \"" + printableKey(key) + "\" holds " + *why + "; it cannot be stored");
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
