#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// Opens the files of a device root without ever leaving it: every component
// of the path is resolved beneath the root and no symbolic link is followed,
// so a link planted inside the root (in place of a log, a lock file, a
// preference file or one of their folders) cannot lead a read or a write to
// a file outside it. Uses openat2 with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS
// where the kernel has it, and otherwise walks the path one component at a
// time with O_NOFOLLOW. Stateless; safe from any thread. File descriptors are
// handed to the caller, who closes them.
class BeneathRoot {
 public:
  // An open file, closed when it goes; or why it could not be opened.
  class File {
   public:
    File() = default;
    File(int fd, std::string error) : fd_(fd), error_(std::move(error)) {}
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // errno of the failure (ELOOP / EXDEV for a link, ENOENT for a missing file), 0 when open.
    int errorNumber() const { return errorNumber_; }
    // A sentence naming the path and why it could not be opened.
    const std::string& error() const { return error_; }
    // Gives up ownership of the descriptor.
    int release();

   private:
    friend class BeneathRoot;
    int fd_ = -1;
    int errorNumber_ = 0;
    std::string error_;
  };

  // `path` relative to `root` when it lies inside it (lexically), else nothing.
  static std::optional<std::filesystem::path> relativeInside(const std::filesystem::path& root,
                                                             const std::filesystem::path& path);
  // Opens `path` (inside `root`) with open(2) `flags` and `mode`; O_NOFOLLOW and O_CLOEXEC are always added.
  // A path outside the root, or reached through a link, is refused.
  static File open(const std::filesystem::path& root, const std::filesystem::path& path, int flags, mode_t mode = 0644);
  // Opens `path` when it lies inside the device root (DevicePaths::root()), else only refuses a link as its last
  // component: the way every file the device owns is opened.
  static File openDeviceFile(const std::filesystem::path& path, int flags, mode_t mode = 0644);
  // Creates `folder` (inside `root`) and its missing parents, never through a link; false with `error` set.
  static bool createFolders(const std::filesystem::path& root, const std::filesystem::path& folder,
                            std::string* error = nullptr);

 private:
  friend class BeneathRootTestApi;
  static File openRelative(int rootFd, const std::filesystem::path& relative, int flags, mode_t mode);
};

}  // namespace platform
