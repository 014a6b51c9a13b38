#include "platform/foundation/BeneathRoot.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/foundation/BeneathRootTestApi.h"
#include "platform/foundation/DevicePaths.h"

namespace platform {

namespace {

// Set by tests to take the path of kernels without openat2.
std::atomic<bool> g_walkOnly{false};

std::string reason(int error) {
  if (error == ELOOP || error == EXDEV)
    return "a symbolic link is in the way, and nothing of the device is read or written through a link";
  return std::strerror(error);
}

BeneathRoot::File failure(const std::filesystem::path& path, int error) {
  BeneathRoot::File file(-1, path.string() + ": " + reason(error));
  return file;
}

// Closes a descriptor on every path out of a walk.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::vector<std::string> componentsOf(const std::filesystem::path& relative) {
  std::vector<std::string> parts;
  for (const auto& part : relative)
    if (!part.empty() && part != ".") parts.push_back(part.string());
  return parts;
}

}  // namespace

BeneathRoot::File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

BeneathRoot::File::File(File&& other) noexcept
    : fd_(other.release()), errorNumber_(other.errorNumber_), error_(std::move(other.error_)) {}

BeneathRoot::File& BeneathRoot::File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
    errorNumber_ = other.errorNumber_;
    error_ = std::move(other.error_);
  }
  return *this;
}

int BeneathRoot::File::release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

std::optional<std::filesystem::path> BeneathRoot::relativeInside(const std::filesystem::path& root,
                                                                 const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::absolute(root, ec).lexically_normal();
  const std::filesystem::path full = std::filesystem::absolute(path, ec).lexically_normal();
  std::filesystem::path relative = full.lexically_relative(base);
  if (relative.empty()) return std::nullopt;
  for (const auto& part : relative)
    if (part == "..") return std::nullopt;
  return relative;
}

BeneathRoot::File BeneathRoot::openRelative(int rootFd, const std::filesystem::path& relative, int flags, mode_t mode) {
  flags |= O_NOFOLLOW | O_CLOEXEC;
  struct open_how how {};
  how.flags = static_cast<uint64_t>(flags);
  how.mode = ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) ? mode : 0;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  long fd = g_walkOnly ? -1 : ::syscall(SYS_openat2, rootFd, relative.c_str(), &how, sizeof how);
  if (fd >= 0) return File(static_cast<int>(fd), {});
  if (g_walkOnly) errno = ENOSYS;
  if (errno != ENOSYS && errno != EPERM && errno != E2BIG) {
    File file;
    file.errorNumber_ = errno;
    return file;
  }
  // No openat2 here: one component at a time, none of them a link.
  std::vector<std::string> parts = componentsOf(relative);
  FdGuard dir(::dup(rootFd));
  File file;
  if (dir.get() < 0) {
    file.errorNumber_ = errno;
    return file;
  }
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] == "..") {
      file.errorNumber_ = EXDEV;
      return file;
    }
    int next = ::openat(dir.get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      file.errorNumber_ = errno == ENOTDIR ? ELOOP : errno;
      // A link to a folder reads as "not a folder" with O_NOFOLLOW: say what it is.
      struct stat st {};
      if (errno == ENOTDIR && ::fstatat(dir.get(), parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          !S_ISLNK(st.st_mode))
        file.errorNumber_ = ENOTDIR;
      return file;
    }
    dir.reset(next);
  }
  if (parts.empty()) return File(dir.release(), {});
  if (parts.back() == "..") {
    file.errorNumber_ = EXDEV;
    return file;
  }
  int last = ::openat(dir.get(), parts.back().c_str(), flags, mode);
  if (last < 0) {
    file.errorNumber_ = errno;
    return file;
  }
  return File(last, {});
}

BeneathRoot::File BeneathRoot::open(const std::filesystem::path& root, const std::filesystem::path& path, int flags,
                                    mode_t mode) {
  std::optional<std::filesystem::path> relative = relativeInside(root, path);
  if (!relative) {
    File file = failure(path, EXDEV);
    file.errorNumber_ = EXDEV;
    file.error_ = path.string() + ": outside the device root " + root.string();
    return file;
  }
  FdGuard rootFd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (rootFd.get() < 0) {
    int error = errno;
    File file = failure(root, error);
    file.errorNumber_ = error;
    return file;
  }
  File file = openRelative(rootFd.get(), *relative, flags, mode);
  if (!file.ok()) {
    int error = file.errorNumber_;
    file = failure(path, error);
    file.errorNumber_ = error;
  }
  return file;
}

BeneathRoot::File BeneathRoot::openDeviceFile(const std::filesystem::path& path, int flags, mode_t mode) {
  const std::filesystem::path root = DevicePaths::root();
  if (relativeInside(root, path)) return open(root, path, flags, mode);
  int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd >= 0) return File(fd, {});
  int error = errno;
  File file = failure(path, error);
  file.errorNumber_ = error;
  return file;
}

bool BeneathRoot::createFolders(const std::filesystem::path& root, const std::filesystem::path& folder,
                                std::string* error) {
  auto fail = [&](const std::filesystem::path& where, int code) {
    if (error) *error = where.string() + ": " + reason(code);
    return false;
  };
  std::optional<std::filesystem::path> relative = relativeInside(root, folder);
  if (!relative) {
    if (error) *error = folder.string() + ": outside the device root " + root.string();
    return false;
  }
  FdGuard dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return fail(root, errno);
  std::filesystem::path reached = root;
  for (const std::string& part : componentsOf(*relative)) {
    reached /= part;
    if (part == "..") return fail(reached, EXDEV);
    if (::mkdirat(dir.get(), part.c_str(), 0755) != 0 && errno != EEXIST) return fail(reached, errno);
    int next = ::openat(dir.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      struct stat st {};
      int code = errno;
      if (::fstatat(dir.get(), part.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) code = ELOOP;
      return fail(reached, code);
    }
    dir.reset(next);
  }
  return true;
}

void BeneathRootTestApi::setComponentWalkOnly(bool walkOnly) { g_walkOnly = walkOnly; }

}  // namespace platform
