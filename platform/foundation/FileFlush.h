#pragma once

#include <string>

namespace platform {

// The flush still owed to a file that was renamed into place before its bytes
// reached the disk: every process already reads the new file, and complete()
// makes the replacement durable by flushing the file and then its folder (the
// rename is only kept once the folder is). A FileFlush that is destroyed
// without complete() completes then, so the flush is never skipped. Owns the
// two descriptors; move-only; one thread at a time.
class FileFlush {
 public:
  FileFlush() = default;
  // Takes ownership of the new file's descriptor and of its folder's; `name` is for messages.
  FileFlush(int file, int folder, std::string name);
  ~FileFlush();
  FileFlush(FileFlush&& other) noexcept;
  FileFlush& operator=(FileFlush&& other) noexcept;
  FileFlush(const FileFlush&) = delete;
  FileFlush& operator=(const FileFlush&) = delete;

  // Flushes the file, then the folder, and closes both; false (with `error` set) when the file's bytes may not
  // have reached the disk. A folder that cannot be flushed is only logged, as for a write flushed before its
  // rename. Nothing to do (true) once completed, or for an empty FileFlush.
  bool complete(std::string* error = nullptr);
  // Whether a flush is still owed.
  bool owed() const { return file_ >= 0; }
  const std::string& name() const { return name_; }

 private:
  void close();

  int file_ = -1;
  int folder_ = -1;
  std::string name_;
};

}  // namespace platform
