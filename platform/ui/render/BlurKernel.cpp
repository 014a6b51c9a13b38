#include "platform/ui/render/BlurKernel.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace platform {

namespace {

inline uint32_t channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// Pixels are summed two channels at a time: (p & 0x00FF00FF) holds red and
// blue, (p >> 8) & 0x00FF00FF alpha and green, each in a 16-bit lane; sums of
// up to 257 pixels fit a lane.
inline uint32_t lowPair(uint32_t p) { return p & 0x00FF00FFu; }
inline uint32_t highPair(uint32_t p) { return (p >> 8) & 0x00FF00FFu; }

// Divides both 16-bit lanes of a pair sum by the window (16.16 reciprocal, rounded).
inline uint32_t dividePair(uint32_t sum, uint32_t inv) {
  const uint32_t lo = ((sum & 0xFFFF) * inv + 32768) >> 16;
  const uint32_t hi = ((sum >> 16) * inv + 32768) >> 16;
  return (std::min(hi, 255u) << 16) | std::min(lo, 255u);
}

inline uint32_t join(uint32_t high, uint32_t low) {
  // Rounding may leave a colour a hair above its alpha: keep premultiplied values valid.
  const uint32_t a = high >> 16, g = high & 0xFF, r = low >> 16, b = low & 0xFF;
  return (a << 24) | (std::min(r, a) << 16) | (std::min(g, a) << 8) | std::min(b, a);
}

#if defined(__SSE2__)
// The four channels of a pixel as 32-bit lanes.
inline __m128i widen(uint32_t p) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), zero), zero);
}

// Channel sums divided by the window, rounded, packed back into a pixel. Rounding keeps the order of values,
// so colour stays within alpha.
inline uint32_t narrow(__m128i sum, __m128 reciprocal) {
  __m128i q = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(sum), reciprocal));
  q = _mm_packs_epi32(q, q);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(q, q)));
}

// One box pass along each row, edges clamped, in place (`line` holds a copy of the row).
void boxPassRows(PixelBuffer& buffer, int radius, std::vector<uint32_t>& line) {
  const int width = buffer.width;
  const __m128 reciprocal = _mm_set1_ps(1.0f / static_cast<float>(2 * radius + 1));
  line.resize(static_cast<size_t>(width));
  for (int y = 0; y < buffer.height; ++y) {
    uint32_t* row = &buffer.pixels[static_cast<size_t>(y) * width];
    std::copy(row, row + width, line.begin());
    __m128i sum = _mm_setzero_si128();
    for (int k = -radius; k <= radius; ++k)
      sum = _mm_add_epi32(sum, widen(line[static_cast<size_t>(std::clamp(k, 0, width - 1))]));
    for (int x = 0; x < width; ++x) {
      row[x] = narrow(sum, reciprocal);
      const uint32_t leaving = line[static_cast<size_t>(std::max(x - radius, 0))];
      const uint32_t entering = line[static_cast<size_t>(std::min(x + radius + 1, width - 1))];
      sum = _mm_add_epi32(sum, _mm_sub_epi32(widen(entering), widen(leaving)));
    }
  }
}

// One box pass down each column, edges clamped, walking rows so memory is read in order.
void boxPassColumns(PixelBuffer& buffer, int radius, std::vector<uint32_t>& scratch) {
  const int width = buffer.width, height = buffer.height;
  const __m128 reciprocal = _mm_set1_ps(1.0f / static_cast<float>(2 * radius + 1));
  scratch.assign(buffer.pixels.begin(), buffer.pixels.end());
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 4, 0);  // per column, four 32-bit channel sums
  auto sumAt = [&sums](int x) { return reinterpret_cast<__m128i*>(&sums[static_cast<size_t>(x) * 4]); };
  auto row = [&](int y) { return &scratch[static_cast<size_t>(std::clamp(y, 0, height - 1)) * width]; };
  for (int k = -radius; k <= radius; ++k) {
    const uint32_t* r = row(k);
    for (int x = 0; x < width; ++x) _mm_storeu_si128(sumAt(x), _mm_add_epi32(_mm_loadu_si128(sumAt(x)), widen(r[x])));
  }
  for (int y = 0; y < height; ++y) {
    uint32_t* out = &buffer.pixels[static_cast<size_t>(y) * width];
    const uint32_t* leaving = row(y - radius);
    const uint32_t* entering = row(y + radius + 1);
    for (int x = 0; x < width; ++x) {
      const __m128i sum = _mm_loadu_si128(sumAt(x));
      out[x] = narrow(sum, reciprocal);
      _mm_storeu_si128(sumAt(x), _mm_add_epi32(sum, _mm_sub_epi32(widen(entering[x]), widen(leaving[x]))));
    }
  }
}
#else
// One box pass along each row, edges clamped, in place (`line` holds a copy of the row).
void boxPassRows(PixelBuffer& buffer, int radius, std::vector<uint32_t>& line) {
  const int width = buffer.width;
  const uint32_t window = static_cast<uint32_t>(2 * radius + 1);
  const uint32_t inv = (65536 + window / 2) / window;
  line.resize(static_cast<size_t>(width));
  for (int y = 0; y < buffer.height; ++y) {
    uint32_t* row = &buffer.pixels[static_cast<size_t>(y) * width];
    std::copy(row, row + width, line.begin());
    uint32_t low = 0, high = 0;
    for (int k = -radius; k <= radius; ++k) {
      const uint32_t p = line[static_cast<size_t>(std::clamp(k, 0, width - 1))];
      low += lowPair(p);
      high += highPair(p);
    }
    for (int x = 0; x < width; ++x) {
      row[x] = join(dividePair(high, inv), dividePair(low, inv));
      const uint32_t leaving = line[static_cast<size_t>(std::max(x - radius, 0))];
      const uint32_t entering = line[static_cast<size_t>(std::min(x + radius + 1, width - 1))];
      low += lowPair(entering) - lowPair(leaving);
      high += highPair(entering) - highPair(leaving);
    }
  }
}

// One box pass down each column, edges clamped, walking rows so memory is read in order.
void boxPassColumns(PixelBuffer& buffer, int radius, std::vector<uint32_t>& scratch) {
  const int width = buffer.width, height = buffer.height;
  const uint32_t window = static_cast<uint32_t>(2 * radius + 1);
  const uint32_t inv = (65536 + window / 2) / window;
  // The source rows are read from a copy; running sums per column.
  scratch.assign(buffer.pixels.begin(), buffer.pixels.end());
  std::vector<uint32_t> low(static_cast<size_t>(width), 0), high(static_cast<size_t>(width), 0);
  auto row = [&](int y) { return &scratch[static_cast<size_t>(std::clamp(y, 0, height - 1)) * width]; };
  for (int k = -radius; k <= radius; ++k) {
    const uint32_t* r = row(k);
    for (int x = 0; x < width; ++x) {
      low[x] += lowPair(r[x]);
      high[x] += highPair(r[x]);
    }
  }
  for (int y = 0; y < height; ++y) {
    uint32_t* out = &buffer.pixels[static_cast<size_t>(y) * width];
    const uint32_t* leaving = row(y - radius);
    const uint32_t* entering = row(y + radius + 1);
    for (int x = 0; x < width; ++x) {
      out[x] = join(dividePair(high[x], inv), dividePair(low[x], inv));
      low[x] += lowPair(entering[x]) - lowPair(leaving[x]);
      high[x] += highPair(entering[x]) - highPair(leaving[x]);
    }
  }
}
#endif

// Mixes two pixels, `weight` (0 to 256) of the second; both pairs of channels at once, rounded.
inline uint32_t mix(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t low = (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight + 0x00800080u) >> 8) & 0x00FF00FFu;
  const uint32_t high =
      (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight + 0x00800080u) & 0xFF00FF00u;
  return low | high;
}

// Mixes two rows of pixels into `out`, `weight` (0 to 256) of the second: the scaling's inner loop, which
// writes every pixel of a blurred frame.
using RowBlender = void (*)(const uint32_t* a, const uint32_t* b, uint32_t* out, int width, uint32_t weight);

void blendRowsPortable(const uint32_t* a, const uint32_t* b, uint32_t* out, int width, uint32_t weight) {
  int x = 0;
#if defined(__SSE2__)
  // Four pixels at a time, each channel in a 16-bit lane: (a (256 - w) + b w + 128) / 256 fits 16 bits.
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
  const __m128i keep = _mm_set1_epi16(static_cast<short>(256 - weight)),
                take = _mm_set1_epi16(static_cast<short>(weight));
  for (; x + 4 <= width; x += 4) {
    const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
    const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    auto blend = [&](__m128i ca, __m128i cb) {
      return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(ca, keep), _mm_mullo_epi16(cb, take)), half),
                            8);
    };
    const __m128i low = blend(_mm_unpacklo_epi8(pa, zero), _mm_unpacklo_epi8(pb, zero));
    const __m128i high = blend(_mm_unpackhi_epi8(pa, zero), _mm_unpackhi_epi8(pb, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(low, high));
  }
#endif
  for (; x < width; ++x) out[x] = mix(a[x], b[x], weight);
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same with eight pixels at a time, on processors that have AVX2 (chosen when the program runs); the
// arithmetic is the same, so the pixels are too.
__attribute__((target("avx2"))) inline __m256i blendLanes(__m256i ca, __m256i cb, __m256i keep, __m256i take) {
  return _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(ca, keep), _mm256_mullo_epi16(cb, take)),
                       _mm256_set1_epi16(128)),
      8);
}

__attribute__((target("avx2"))) void blendRowsAvx2(const uint32_t* a, const uint32_t* b, uint32_t* out, int width,
                                                   uint32_t weight) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i keep = _mm256_set1_epi16(static_cast<short>(256 - weight));
  const __m256i take = _mm256_set1_epi16(static_cast<short>(weight));
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    const __m256i pa = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + x));
    const __m256i pb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + x));
    const __m256i low = blendLanes(_mm256_unpacklo_epi8(pa, zero), _mm256_unpacklo_epi8(pb, zero), keep, take);
    const __m256i high = blendLanes(_mm256_unpackhi_epi8(pa, zero), _mm256_unpackhi_epi8(pb, zero), keep, take);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_packus_epi16(low, high));
  }
  for (; x < width; ++x) out[x] = mix(a[x], b[x], weight);
}
#endif

RowBlender rowBlender() {
#if defined(__x86_64__) && defined(__GNUC__)
  static const RowBlender chosen = __builtin_cpu_supports("avx2") ? blendRowsAvx2 : blendRowsPortable;
  return chosen;
#else
  return blendRowsPortable;
#endif
}

// Where output pixel `i` falls between two source pixels when scaling `size` pixels up by `factor`:
// the first source pixel and the weight (0 to 256) of the second, with pixel centres aligned and edges repeated.
struct Tap {
  int first = 0;
  int second = 0;
  uint32_t weight = 0;
};

Tap tapFor(int i, double span, int size) {
  const double at = (i + 0.5) / span - 0.5;
  const int first = static_cast<int>(std::floor(at));
  Tap tap;
  tap.first = std::clamp(first, 0, size - 1);
  tap.second = std::clamp(first + 1, 0, size - 1);
  tap.weight = static_cast<uint32_t>(std::lround((at - first) * 256));
  return tap;
}

}  // namespace

void BlurKernel::downsample(const uint32_t* src, int width, int height, int stride, int factor, PixelBuffer& out) {
  // A block's channel sums must fit 16 bits: at most 257 pixels.
  factor = std::clamp(factor, 1, 16);
  out.width = (width + factor - 1) / factor;
  out.height = (height + factor - 1) / factor;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
#if defined(__SSE2__)
  // Each block's channel sums in 16-bit lanes, four pixels a step, then divided in floating point (a rounding
  // that keeps the order of values, so colour stays within alpha).
  const __m128i zero = _mm_setzero_si128();
  for (int by = 0; by < out.height; ++by) {
    const int y0 = by * factor, y1 = std::min(y0 + factor, height);
    uint32_t* target = &out.pixels[static_cast<size_t>(by) * out.width];
    for (int bx = 0; bx < out.width; ++bx) {
      const int x0 = bx * factor, x1 = std::min(x0 + factor, width);
      __m128i sum = zero;
      for (int y = y0; y < y1; ++y) {
        const uint32_t* row = src + static_cast<size_t>(y) * stride;
        int x = x0;
        for (; x + 4 <= x1; x += 4) {
          const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
          sum = _mm_add_epi16(sum, _mm_add_epi16(_mm_unpacklo_epi8(p, zero), _mm_unpackhi_epi8(p, zero)));
        }
        for (; x < x1; ++x)
          sum = _mm_add_epi16(sum, _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(row[x])), zero));
      }
      sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
      const __m128 reciprocal = _mm_set1_ps(1.0f / static_cast<float>((x1 - x0) * (y1 - y0)));
      __m128i q = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(sum, zero)), reciprocal));
      q = _mm_packs_epi32(q, q);
      target[bx] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(q, q)));
    }
  }
#else
  std::vector<uint32_t> low(static_cast<size_t>(out.width)), high(static_cast<size_t>(out.width));
  for (int by = 0; by < out.height; ++by) {
    std::fill(low.begin(), low.end(), 0);
    std::fill(high.begin(), high.end(), 0);
    const int y0 = by * factor, y1 = std::min(y0 + factor, height);
    for (int y = y0; y < y1; ++y) {
      const uint32_t* row = src + static_cast<size_t>(y) * stride;
      for (int bx = 0; bx < out.width; ++bx) {
        const int x0 = bx * factor, x1 = std::min(x0 + factor, width);
        uint32_t l = 0, h = 0;
        for (int x = x0; x < x1; ++x) {
          l += lowPair(row[x]);
          h += highPair(row[x]);
        }
        low[bx] += l;
        high[bx] += h;
      }
    }
    for (int bx = 0; bx < out.width; ++bx) {
      const int x0 = bx * factor, x1 = std::min(x0 + factor, width);
      const uint32_t count = static_cast<uint32_t>((x1 - x0) * (y1 - y0));
      auto average = [count](uint32_t pair) {
        const uint32_t lo = ((pair & 0xFFFF) + count / 2) / count, hi = ((pair >> 16) + count / 2) / count;
        return (hi << 16) | lo;
      };
      const uint32_t h = average(high[bx]), l = average(low[bx]);
      out.pixels[static_cast<size_t>(by) * out.width + bx] = (h << 8) | l;
    }
  }
#endif
}

void BlurKernel::boxBlur(PixelBuffer& buffer, int radius, std::vector<uint32_t>& scratch) {
  if (radius <= 0 || buffer.width == 0 || buffer.height == 0) return;
  // Sums of a window must fit a 16-bit lane: 257 pixels of 255.
  radius = std::min(radius, 128);
  boxPassRows(buffer, radius, scratch);
  boxPassColumns(buffer, radius, scratch);
}

void BlurKernel::upscale(const PixelBuffer& small, double spanX, double spanY, uint32_t* out, int width, int height,
                         int stride, std::vector<uint32_t>& rows) {
  if (small.width <= 0 || small.height <= 0 || width <= 0 || height <= 0 || !(spanX > 0) || !(spanY > 0)) return;
  // Every source row widened once; each output row then mixes two of them.
  std::vector<Tap> columns(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) columns[static_cast<size_t>(x)] = tapFor(x, spanX, small.width);
  rows.resize(static_cast<size_t>(width) * small.height);
#if defined(__SSE2__)
  // The weights of each group of four columns, each repeated over its pixel's four channels.
  const int groups = width / 4;
  std::vector<uint16_t> weights(static_cast<size_t>(groups) * 16);
  for (int g = 0; g < groups; ++g)
    for (int i = 0; i < 4; ++i)
      for (int c = 0; c < 4; ++c)
        weights[static_cast<size_t>(g) * 16 + i * 4 + c] =
            static_cast<uint16_t>(columns[static_cast<size_t>(g * 4 + i)].weight);
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128), full = _mm_set1_epi16(256);
#endif
  for (int y = 0; y < small.height; ++y) {
    const uint32_t* src = &small.pixels[static_cast<size_t>(y) * small.width];
    uint32_t* wide = &rows[static_cast<size_t>(y) * width];
    int x = 0;
#if defined(__SSE2__)
    for (int g = 0; g < groups; ++g, x += 4) {
      const Tap* t = &columns[static_cast<size_t>(x)];
      const __m128i pa = _mm_set_epi32(static_cast<int>(src[t[3].first]), static_cast<int>(src[t[2].first]),
                                       static_cast<int>(src[t[1].first]), static_cast<int>(src[t[0].first]));
      const __m128i pb = _mm_set_epi32(static_cast<int>(src[t[3].second]), static_cast<int>(src[t[2].second]),
                                       static_cast<int>(src[t[1].second]), static_cast<int>(src[t[0].second]));
      const auto* w = reinterpret_cast<const __m128i*>(&weights[static_cast<size_t>(g) * 16]);
      auto blend = [&](__m128i ca, __m128i cb, __m128i take) {
        const __m128i keep = _mm_sub_epi16(full, take);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(ca, keep), _mm_mullo_epi16(cb, take)), half),
                              8);
      };
      const __m128i low = blend(_mm_unpacklo_epi8(pa, zero), _mm_unpacklo_epi8(pb, zero), _mm_loadu_si128(w));
      const __m128i high = blend(_mm_unpackhi_epi8(pa, zero), _mm_unpackhi_epi8(pb, zero), _mm_loadu_si128(w + 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(wide + x), _mm_packus_epi16(low, high));
    }
#endif
    for (; x < width; ++x) {
      const Tap& t = columns[static_cast<size_t>(x)];
      wide[x] = mix(src[t.first], src[t.second], t.weight);
    }
  }
  const auto blendRows = rowBlender();
  for (int y = 0; y < height; ++y) {
    const Tap t = tapFor(y, spanY, small.height);
    const uint32_t* a = &rows[static_cast<size_t>(t.first) * width];
    const uint32_t* b = &rows[static_cast<size_t>(t.second) * width];
    uint32_t* row = out + static_cast<size_t>(y) * stride;
    if (t.weight == 0 || t.first == t.second)
      std::copy(a, a + width, row);
    else
      blendRows(a, b, row, width, t.weight);
  }
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

void BlurKernel::tint(PixelBuffer& buffer, const UIColor& color) {
  const double alpha = std::clamp(color.alpha(), 0.0, 1.0);
  if (alpha <= 0) return;
  // out = colour * alpha + pixel * (1 - alpha), premultiplied, in 8.8 fixed point.
  const uint32_t keep = static_cast<uint32_t>(std::lround((1 - alpha) * 256));
  const uint32_t a = static_cast<uint32_t>(std::lround(alpha * 255));
  const uint32_t r = static_cast<uint32_t>(std::lround(std::clamp(color.red(), 0.0, 1.0) * alpha * 255));
  const uint32_t g = static_cast<uint32_t>(std::lround(std::clamp(color.green(), 0.0, 1.0) * alpha * 255));
  const uint32_t b = static_cast<uint32_t>(std::lround(std::clamp(color.blue(), 0.0, 1.0) * alpha * 255));
  for (uint32_t& p : buffer.pixels) {
    auto mix = [keep](uint32_t add, uint32_t c) { return std::min(add + ((c * keep + 128) >> 8), 255u); };
    p = (mix(a, channel(p, 24)) << 24) | (mix(r, channel(p, 16)) << 16) | (mix(g, channel(p, 8)) << 8) |
        mix(b, channel(p, 0));
  }
}

bool BlurKernel::isOpaque(const PixelBuffer& buffer) {
  return std::all_of(buffer.pixels.begin(), buffer.pixels.end(), [](uint32_t p) { return (p >> 24) == 0xFF; });
}

}  // namespace platform
