#include "platform/bus/SharedFrame.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

bool validSize(int width, int height, std::string* error) {
  if (width >= 1 && height >= 1 && width <= display::kMaxSide && height <= display::kMaxSide) return true;
  if (error)
    *error = "a frame of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is not possible (1 to " +
             std::to_string(display::kMaxSide) + " a side)";
  return false;
}

}  // namespace

SharedFrame::~SharedFrame() {
  if (pixels_) munmap(pixels_, bytes_);
  if (fd_ >= 0) close(fd_);
}

std::unique_ptr<SharedFrame> SharedFrame::create(int width, int height, std::string* error) {
  if (!validSize(width, height, error)) return nullptr;
  std::unique_ptr<SharedFrame> frame(new SharedFrame);
  frame->width_ = width;
  frame->height_ = height;
  frame->bytes_ = static_cast<size_t>(width) * height * 4;
  frame->fd_ = memfd_create("tessra-frame", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (frame->fd_ < 0 || ftruncate(frame->fd_, static_cast<off_t>(frame->bytes_)) != 0) {
    if (error) *error = std::string("cannot make a frame buffer: ") + std::strerror(errno);
    return nullptr;
  }
  // The size is fixed for good, so a viewer's mapping can never lose its pages.
  fcntl(frame->fd_, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL);
  void* map = mmap(nullptr, frame->bytes_, PROT_READ | PROT_WRITE, MAP_SHARED, frame->fd_, 0);
  if (map == MAP_FAILED) {
    if (error) *error = std::string("cannot map a frame buffer: ") + std::strerror(errno);
    return nullptr;
  }
  frame->pixels_ = static_cast<uint32_t*>(map);
  frame->writable_ = true;
  return frame;
}

std::unique_ptr<SharedFrame> SharedFrame::adopt(int fd, int width, int height, std::string* error) {
  if (!validSize(width, height, error)) return nullptr;
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0) {
    if (error) *error = "the frame buffer's descriptor is not open";
    return nullptr;
  }
  const size_t needed = static_cast<size_t>(width) * height * 4;
  if (!S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) < needed) {
    if (error)
      *error =
          "the frame buffer holds " + std::to_string(st.st_size) + " bytes, " + std::to_string(needed) + " are needed";
    return nullptr;
  }
  // A buffer that could still shrink would fault its reader: only a sealed memory file is mapped.
  const int seals = fcntl(fd, F_GET_SEALS);
  if (seals < 0 || !(seals & F_SEAL_SHRINK)) {
    if (error) *error = "the frame buffer is not a sealed memory file";
    return nullptr;
  }
  std::unique_ptr<SharedFrame> frame(new SharedFrame);
  frame->fd_ = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  frame->width_ = width;
  frame->height_ = height;
  frame->bytes_ = needed;
  void* map = frame->fd_ < 0 ? MAP_FAILED : mmap(nullptr, needed, PROT_READ, MAP_SHARED, frame->fd_, 0);
  if (map == MAP_FAILED) {
    if (error) *error = std::string("cannot map the frame buffer: ") + std::strerror(errno);
    return nullptr;
  }
  frame->pixels_ = static_cast<uint32_t*>(map);
  return frame;
}

void SharedFrame::copyFrom(const uint8_t* image, int imageWidth, int imageHeight, int imageStride,
                           const FrameRect& rect) {
  if (!writable_ || !image) return;
  const int x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
  const int x1 = std::min({rect.x + rect.width, imageWidth, width_});
  const int y1 = std::min({rect.y + rect.height, imageHeight, height_});
  if (x1 <= x0 || y1 <= y0) return;
  const size_t rowBytes = static_cast<size_t>(x1 - x0) * 4;
  for (int y = y0; y < y1; ++y)
    std::memcpy(pixels_ + static_cast<size_t>(y) * width_ + x0, image + static_cast<size_t>(y) * imageStride + x0 * 4,
                rowBytes);
}

}  // namespace platform
