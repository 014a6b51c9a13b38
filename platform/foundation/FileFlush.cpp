#include "platform/foundation/FileFlush.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/foundation/Log.h"

namespace platform {

FileFlush::FileFlush(int file, int folder, std::string name) : file_(file), folder_(folder), name_(std::move(name)) {}

FileFlush::~FileFlush() {
  std::string error;
  if (owed() && !complete(&error)) Log::write("file flush: " + error);
}

FileFlush::FileFlush(FileFlush&& other) noexcept
    : file_(std::exchange(other.file_, -1)), folder_(std::exchange(other.folder_, -1)), name_(std::move(other.name_)) {}

FileFlush& FileFlush::operator=(FileFlush&& other) noexcept {
  if (this != &other) {
    std::string error;
    if (owed() && !complete(&error)) Log::write("file flush: " + error);
    close();
    file_ = std::exchange(other.file_, -1);
    folder_ = std::exchange(other.folder_, -1);
    name_ = std::move(other.name_);
  }
  return *this;
}

bool FileFlush::complete(std::string* error) {
  if (!owed()) return true;
  bool flushed = true;
  if (::fsync(file_) != 0) {
    flushed = false;
    if (error) *error = name_ + " replaced, but its bytes could not be flushed: " + std::strerror(errno);
  } else if (folder_ >= 0 && ::fsync(folder_) != 0 && errno != EINVAL) {
    Log::write("property list: " + name_ + " replaced, but its folder could not be flushed: " + std::strerror(errno));
  }
  close();
  return flushed;
}

void FileFlush::close() {
  if (file_ >= 0) ::close(file_);
  if (folder_ >= 0) ::close(folder_);
  file_ = folder_ = -1;
}

}  // namespace platform
