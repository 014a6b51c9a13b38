#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/FileFlush.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListLimits.h"

namespace platform::plist {

// Reading and writing property-list files behind our own guards: a size cap
// on every file; XML parsed by our own reader (PropertyListXmlReader), which
// enforces the depth, value and dictionary caps as it goes; binary files
// checked for their structure and expanded size (PropertyListBinaryCheck)
// before our own binary reader (PropertyListBinaryReader) builds them, so that
// every value read keeps its meaning when it is written back. Files are
// written as XML (PropertyListXmlWriter), which people can read, through an
// atomic replace. Stateless; safe from any thread.
class PropertyListFile {
 public:
  // A parse's outcome: the root value when status is Ok, else why it failed.
  struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    Value value;
    std::string message;
    bool ok() const { return status == ReadStatus::Ok; }
  };

  // The raw content of a file, read only when it is a regular file within the size cap.
  struct FileBytes {
    ReadStatus status = ReadStatus::Ok;
    std::string bytes;
    std::string message;
    bool ok() const { return status == ReadStatus::Ok; }
  };

  // Reads the bytes of `path`: Missing, Unreadable (not a regular file, I/O error) or TooLarge instead when so.
  static FileBytes readBytes(const std::filesystem::path& path, size_t maxBytes);
  // readBytes for a file of the device root `root`: opened beneath it, never through a link (BeneathRoot); a
  // link in the way, or a path outside the root, reads as Unreadable with a message that says so.
  static FileBytes readDeviceBytes(const std::filesystem::path& root, const std::filesystem::path& path,
                                   size_t maxBytes);
  // Parses binary or XML property-list bytes under `limits`.
  static ReadResult parse(std::string_view bytes, const Limits& limits = {});
  // readBytes, then parse.
  static ReadResult read(const std::filesystem::path& path, const Limits& limits = {});

  // Ok when `root` can be written under `limits` and read back: within depth, value count and entries per
  // dictionary, no nil inside a container, only text XML carries (PropertyListText), no date outside years 1 to
  // 9999. A refusal names the key the value sits under.
  static CheckResult checkStorable(const Value& root, const Limits& limits = {});
  // The XML rendering of `root`, or nothing (with `error` set) when checkStorable refuses it or the result is
  // over the size cap.
  static std::optional<std::string> toXml(const Value& root, const Limits& limits = {}, std::string* error = nullptr);
  // Renders `root` as XML and writes it with writeAtomically.
  static bool write(const std::filesystem::path& path, const Value& root, const Limits& limits = {},
                    std::string* error = nullptr);
  // Replaces `path` with `bytes` so that a crash at any moment leaves the old file or the new one: a new file
  // beside it is written and flushed, renamed over the old one, and the folder flushed. False (with `error`
  // set, the old file untouched) when a step up to the rename failed; a folder that cannot be flushed after it
  // is only logged, since the new file is already in place.
  static bool writeAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);
  // writeAtomically for a file of the device root `root`: its folder is opened beneath the root, never through a link,
  // and the new file is created and renamed inside that folder.
  static bool writeDeviceFileAtomically(const std::filesystem::path& root, const std::filesystem::path& path,
                                        std::string_view bytes, std::string* error = nullptr);
  // writeDeviceFileAtomically that does not wait for the disk: the new file is written and renamed into place at
  // once (every reader sees either the old bytes or the new ones), and the flush of the file and its folder is
  // returned, to be completed before the caller reports the write done. Nothing (with `error` set, the old file
  // untouched) when a step up to the rename failed.
  static std::optional<FileFlush> replaceDeviceFile(const std::filesystem::path& root,
                                                    const std::filesystem::path& path, std::string_view bytes,
                                                    std::string* error = nullptr);

  // Prefix of the temporary files writeAtomically creates beside `path`; leftovers of a crashed writer carry it.
  static std::string temporaryPrefix(const std::filesystem::path& path);

 private:
  // writeAtomically inside the open folder `folder`; with `deferred`, the flushes are left to it instead (and the
  // folder's descriptor is duplicated into it).
  static bool writeAtomicallyAt(int folder, const std::filesystem::path& path, std::string_view bytes,
                                std::string* error, FileFlush* deferred = nullptr);
};

}  // namespace platform::plist
