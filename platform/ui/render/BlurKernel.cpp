#include "platform/ui/render/BlurKernel.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

inline uint32_t channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// One box pass along rows (horizontal) of `in` into `out`, with clamped edges.
// Transposes while writing so the second call (on the transposed buffer) runs
// along columns with the same cache-friendly row walk.
void boxPassTransposed(const uint32_t* in, int width, int height, int radius, uint32_t* out) {
  const int window = 2 * radius + 1;
  // Reciprocal in 16.16 fixed point: sum * inv >> 16 ~ sum / window.
  const uint32_t inv = static_cast<uint32_t>((65536 + window / 2) / window);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = in + static_cast<size_t>(y) * width;
    uint32_t sa = 0, sr = 0, sg = 0, sb = 0;
    // Prime the window centred on x = 0 with clamped samples.
    for (int k = -radius; k <= radius; ++k) {
      uint32_t p = row[std::clamp(k, 0, width - 1)];
      sa += channel(p, 24);
      sr += channel(p, 16);
      sg += channel(p, 8);
      sb += channel(p, 0);
    }
    for (int x = 0; x < width; ++x) {
      uint32_t a = (sa * inv + 32768) >> 16, r = (sr * inv + 32768) >> 16, g = (sg * inv + 32768) >> 16,
               b = (sb * inv + 32768) >> 16;
      a = std::min(a, 255u);
      r = std::min(r, a);
      g = std::min(g, a);
      b = std::min(b, a);
      out[static_cast<size_t>(x) * height + y] = (a << 24) | (r << 16) | (g << 8) | b;
      uint32_t leaving = row[std::max(x - radius, 0)];
      uint32_t entering = row[std::min(x + radius + 1, width - 1)];
      sa += channel(entering, 24) - channel(leaving, 24);
      sr += channel(entering, 16) - channel(leaving, 16);
      sg += channel(entering, 8) - channel(leaving, 8);
      sb += channel(entering, 0) - channel(leaving, 0);
    }
  }
}

}  // namespace

void BlurKernel::downsample(const uint32_t* src, int width, int height, int stride, int factor, PixelBuffer& out) {
  factor = std::max(factor, 1);
  out.width = (width + factor - 1) / factor;
  out.height = (height + factor - 1) / factor;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
  std::vector<uint32_t> sums(static_cast<size_t>(out.width) * 4);
  for (int by = 0; by < out.height; ++by) {
    std::fill(sums.begin(), sums.end(), 0);
    const int y0 = by * factor, y1 = std::min(y0 + factor, height);
    for (int y = y0; y < y1; ++y) {
      const uint32_t* row = src + static_cast<size_t>(y) * stride;
      for (int bx = 0; bx < out.width; ++bx) {
        const int x0 = bx * factor, x1 = std::min(x0 + factor, width);
        uint32_t a = 0, r = 0, g = 0, b = 0;
        for (int x = x0; x < x1; ++x) {
          uint32_t p = row[x];
          a += channel(p, 24);
          r += channel(p, 16);
          g += channel(p, 8);
          b += channel(p, 0);
        }
        uint32_t* s = &sums[static_cast<size_t>(bx) * 4];
        s[0] += a;
        s[1] += r;
        s[2] += g;
        s[3] += b;
      }
    }
    for (int bx = 0; bx < out.width; ++bx) {
      const int x0 = bx * factor, x1 = std::min(x0 + factor, width);
      const uint32_t count = static_cast<uint32_t>((x1 - x0) * (y1 - y0));
      const uint32_t* s = &sums[static_cast<size_t>(bx) * 4];
      uint32_t a = (s[0] + count / 2) / count, r = (s[1] + count / 2) / count, g = (s[2] + count / 2) / count,
               b = (s[3] + count / 2) / count;
      out.pixels[static_cast<size_t>(by) * out.width + bx] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
}

void BlurKernel::boxBlur(PixelBuffer& buffer, int radius, std::vector<uint32_t>& scratch) {
  if (radius <= 0 || buffer.width == 0 || buffer.height == 0) return;
  scratch.resize(buffer.pixels.size());
  // Rows into the transposed scratch, then the scratch's rows (the columns) back.
  boxPassTransposed(buffer.pixels.data(), buffer.width, buffer.height, radius, scratch.data());
  boxPassTransposed(scratch.data(), buffer.height, buffer.width, radius, buffer.pixels.data());
}

int BlurKernel::boxRadiusForSigma(double sigma) {
  // Three passes of width w add up to a variance of 3 (w^2 - 1) / 12.
  double width = std::sqrt(4.0 * sigma * sigma + 1.0);
  int radius = static_cast<int>(std::lround((width - 1.0) / 2.0));
  return std::max(radius, 0);
}

void BlurKernel::gaussianApproximation(PixelBuffer& buffer, double sigma, std::vector<uint32_t>& scratch) {
  int radius = boxRadiusForSigma(sigma);
  for (int pass = 0; pass < 3; ++pass) boxBlur(buffer, radius, scratch);
}

void BlurKernel::saturate(PixelBuffer& buffer, double amount) {
  if (amount == 1.0) return;
  // Luminance weights (Rec. 709) in 8.8 fixed point, as integers for speed.
  const int s = static_cast<int>(std::lround(amount * 256));
  for (uint32_t& p : buffer.pixels) {
    int a = static_cast<int>(channel(p, 24));
    if (a == 0) continue;
    int r = static_cast<int>(channel(p, 16)), g = static_cast<int>(channel(p, 8)), b = static_cast<int>(channel(p, 0));
    int lum = (54 * r + 183 * g + 19 * b) >> 8;
    auto adjust = [&](int c) { return std::clamp(lum + (((c - lum) * s) >> 8), 0, a); };
    p = (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(adjust(r)) << 16) |
        (static_cast<uint32_t>(adjust(g)) << 8) | static_cast<uint32_t>(adjust(b));
  }
}

}  // namespace platform
