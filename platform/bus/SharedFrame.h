#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/bus/DisplayChannel.h"

namespace platform {

// One frame buffer in shared memory: width x height premultiplied ARGB32
// pixels, rows packed, in an anonymous memory file that can be handed to
// another process as a file descriptor. The host creates it writable; a
// viewer adopts the descriptor it received and maps it read-only, after
// checking that it is a memory file large enough for the sizes it was told
// (a bad descriptor or size is refused, never mapped short). Owns its
// descriptor and its mapping.
class SharedFrame {
 public:
  ~SharedFrame();
  SharedFrame(const SharedFrame&) = delete;
  SharedFrame& operator=(const SharedFrame&) = delete;

  // A new writable buffer, cleared; null with a message in `error` for bad sizes or when memory is short.
  static std::unique_ptr<SharedFrame> create(int width, int height, std::string* error);
  // Maps a received descriptor read-only (it is duplicated; the caller keeps its own); null with a message in
  // `error` when it is not a regular memory file of at least width x height pixels.
  static std::unique_ptr<SharedFrame> adopt(int fd, int width, int height, std::string* error);

  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes from one row to the next.
  int stride() const { return width_ * 4; }
  // The descriptor to hand over (owned by this object).
  int fd() const { return fd_; }
  const uint32_t* pixels() const { return pixels_; }
  // Writable pixels; null for an adopted (read-only) buffer.
  uint32_t* mutablePixels() { return writable_ ? pixels_ : nullptr; }

  // Copies `rect` (clipped to both) from an image of `stride` bytes per row laid at the buffer's origin.
  void copyFrom(const uint8_t* image, int imageWidth, int imageHeight, int imageStride, const FrameRect& rect);

 private:
  SharedFrame() = default;

  int fd_ = -1;
  int width_ = 0;
  int height_ = 0;
  size_t bytes_ = 0;
  uint32_t* pixels_ = nullptr;
  bool writable_ = false;
};

}  // namespace platform
