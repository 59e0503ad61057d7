// Cels into the true-colour map: indexed cels through the current group's colours, opaque or
// blended by their transparency level, and 32-bit cels blended by their alpha channel. All
// blending is integer arithmetic with a shift by 8.
//
// Drawing happens in the work area of 4-byte pixels, where a pixel's channels sit as 16-bit
// lanes once widened: a channel times a weight stays below 65,536, so one multiplication blends
// all channels, and the choice between old and new pixel needs no branch on a cel's many holes.
#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "composition/CelDrawing.h"

namespace tavro::compose {

namespace {

// Blue, green, red (and the spare byte) of a work-area pixel as 16-bit lanes, and back.
uint64_t Widen(uint32_t pixel) {
  const uint64_t p = pixel;
  return (p & 0xFF) | (p & 0xFF00) << 8 | (p & 0xFF0000) << 16 | (p & 0xFF000000) << 24;
}

uint32_t Narrow(uint64_t lanes) {
  return static_cast<uint32_t>((lanes & 0xFF) | (lanes >> 8 & 0xFF00) | (lanes >> 16 & 0xFF0000));
}

constexpr uint64_t kLaneBytes = 0x00FF00FF00FF00FFULL;

// lanes[i] holds colour i already multiplied by 256 - level (256 for opaque drawing), so the
// per-pixel work is one multiply-add.
void WeighColours(const RgbQuad* colours, uint32_t weight, uint64_t* lanes) {
  for (int32_t i = 0; i < kPaletteColours; ++i) {
    const uint32_t bgr = colours[i].Blue | colours[i].Green << 8 | colours[i].Red << 16;
    lanes[i] = Widen(bgr) * weight;
  }
}

uint32_t BlendIndexed(uint32_t beneath, uint8_t index, const uint64_t* weighed, uint32_t level) {
  const uint64_t blended = ((weighed[index] + Widen(beneath) * level) >> 8) & kLaneBytes;
  return index != 0 ? Narrow(blended) : beneath;
}

// The weights add up to 255, not 256, so a nearly opaque pixel comes out a shade darker; the
// pictures of existing sets were made to look right that way.
uint32_t BlendAlpha(uint32_t beneath, uint32_t cel) {
  const uint32_t alpha = cel >> 24;
  const uint64_t blended =
      ((Widen(cel) * alpha + Widen(beneath) * (255 - alpha)) >> 8) & kLaneBytes;
  const uint32_t chosen = alpha == 255 ? cel : Narrow(blended);
  return alpha == 0 ? beneath : chosen;
}

#ifdef __SSE2__
// Two pixels a step, eight 16-bit lanes.
int32_t IndexedPairs(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint64_t* weighed, uint32_t level) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i levels = _mm_set1_epi16(static_cast<int16_t>(level));
  int32_t x = 0;
  for (; x + 2 <= count; x += 2) {
    auto* at = reinterpret_cast<__m128i*>(destination + x);
    const __m128i beneath = _mm_loadl_epi64(at);
    const __m128i products = _mm_set_epi64x(static_cast<int64_t>(weighed[source[x + 1]]),
                                            static_cast<int64_t>(weighed[source[x]]));
    const __m128i sum =
        _mm_add_epi16(products, _mm_mullo_epi16(_mm_unpacklo_epi8(beneath, zero), levels));
    const __m128i blended = _mm_packus_epi16(_mm_srli_epi16(sum, 8), zero);
    const __m128i keep = _mm_set_epi32(0, 0, source[x + 1] == 0 ? -1 : 0, source[x] == 0 ? -1 : 0);
    _mm_storel_epi64(at,
                     _mm_or_si128(_mm_and_si128(keep, beneath), _mm_andnot_si128(keep, blended)));
  }
  return x;
}

int32_t AlphaPairs(uint32_t* destination, const uint8_t* source, int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  int32_t x = 0;
  for (; x + 2 <= count; x += 2) {
    auto* at = reinterpret_cast<__m128i*>(destination + x);
    const __m128i beneath = _mm_unpacklo_epi8(_mm_loadl_epi64(at), zero);
    const __m128i cel =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + 4 * x)), zero);
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(cel, 0xFF), 0xFF);
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(cel, alpha),
                                      _mm_mullo_epi16(beneath, _mm_sub_epi16(full, alpha)));
    const __m128i opaque = _mm_cmpeq_epi16(alpha, full);
    const __m128i clear = _mm_cmpeq_epi16(alpha, zero);
    __m128i result =
        _mm_or_si128(_mm_and_si128(opaque, cel), _mm_andnot_si128(opaque, _mm_srli_epi16(sum, 8)));
    result = _mm_or_si128(_mm_and_si128(clear, beneath), _mm_andnot_si128(clear, result));
    _mm_storel_epi64(at, _mm_packus_epi16(result, zero));
  }
  return x;
}
#else
int32_t IndexedPairs(uint32_t*, const uint8_t*, int32_t, const uint64_t*, uint32_t) { return 0; }
int32_t AlphaPairs(uint32_t*, const uint8_t*, int32_t) { return 0; }
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// The same arithmetic four (or eight) pixels a step, on processors that have the wider lanes.
// Chosen at run time, so the program still runs on processors without them.
const bool kWideLanes = [] {
  __builtin_cpu_init();  // this may run before the runtime's own start-up has asked the processor
  return __builtin_cpu_supports("avx2") != 0;
}();

__attribute__((target("avx2"))) __m128i PackFourPixels(__m256i lanes) {
  const __m256i packed = _mm256_packus_epi16(lanes, _mm256_setzero_si256());
  return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
}

__attribute__((target("avx2"))) __m128i ZeroIndexMask(const uint8_t* source) {
  uint32_t four;
  std::memcpy(&four, source, 4);
  const __m128i indices = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(four)));
  return _mm_cmpeq_epi32(indices, _mm_setzero_si128());
}

__attribute__((target("avx2"))) int32_t IndexedQuads(uint32_t* destination, const uint8_t* source,
                                                     int32_t count, const uint64_t* weighed,
                                                     uint32_t level) {
  const __m256i levels = _mm256_set1_epi16(static_cast<int16_t>(level));
  int32_t x = 0;
  for (; x + 4 <= count; x += 4) {
    auto* at = reinterpret_cast<__m128i*>(destination + x);
    const __m128i beneath = _mm_loadu_si128(at);
    const __m256i products = _mm256_set_epi64x(
        static_cast<int64_t>(weighed[source[x + 3]]), static_cast<int64_t>(weighed[source[x + 2]]),
        static_cast<int64_t>(weighed[source[x + 1]]), static_cast<int64_t>(weighed[source[x]]));
    const __m256i sum =
        _mm256_add_epi16(products, _mm256_mullo_epi16(_mm256_cvtepu8_epi16(beneath), levels));
    const __m128i blended = PackFourPixels(_mm256_srli_epi16(sum, 8));
    _mm_storeu_si128(at, _mm_blendv_epi8(blended, beneath, ZeroIndexMask(source + x)));
  }
  return x;
}

__attribute__((target("avx2"))) int32_t OpaqueOctets(uint32_t* destination, const uint8_t* source,
                                                     int32_t count, const uint32_t* words) {
  int32_t x = 0;
  for (; x + 8 <= count; x += 8) {
    auto* at = reinterpret_cast<__m256i*>(destination + x);
    const __m256i indices =
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + x)));
    const __m256i colours = _mm256_i32gather_epi32(reinterpret_cast<const int*>(words), indices, 4);
    const __m256i keep = _mm256_cmpeq_epi32(indices, _mm256_setzero_si256());
    _mm256_storeu_si256(at, _mm256_blendv_epi8(colours, _mm256_loadu_si256(at), keep));
  }
  return x;
}

__attribute__((target("avx2"))) int32_t AlphaQuads(uint32_t* destination, const uint8_t* source,
                                                   int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(255);
  int32_t x = 0;
  for (; x + 4 <= count; x += 4) {
    auto* at = reinterpret_cast<__m128i*>(destination + x);
    const __m128i below = _mm_loadu_si128(at);
    const __m256i beneath = _mm256_cvtepu8_epi16(below);
    const __m256i cel =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * x)));
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(cel, 0xFF), 0xFF);
    const __m256i sum = _mm256_add_epi16(
        _mm256_mullo_epi16(cel, alpha), _mm256_mullo_epi16(beneath, _mm256_sub_epi16(full, alpha)));
    const __m256i opaque = _mm256_cmpeq_epi16(alpha, full);
    const __m256i clear = _mm256_cmpeq_epi16(alpha, zero);
    __m256i result = _mm256_blendv_epi8(_mm256_srli_epi16(sum, 8), cel, opaque);
    result = _mm256_blendv_epi8(result, beneath, clear);
    _mm_storeu_si128(at, PackFourPixels(result));
  }
  return x;
}
#else
constexpr bool kWideLanes = false;
int32_t IndexedQuads(uint32_t*, const uint8_t*, int32_t, const uint64_t*, uint32_t) { return 0; }
int32_t OpaqueOctets(uint32_t*, const uint8_t*, int32_t, const uint32_t*) { return 0; }
int32_t AlphaQuads(uint32_t*, const uint8_t*, int32_t) { return 0; }
#endif

void IndexedRun(uint32_t* destination, const uint8_t* source, int32_t count,
                const uint64_t* weighed, uint32_t level) {
  int32_t x = kWideLanes ? IndexedQuads(destination, source, count, weighed, level) : 0;
  x += IndexedPairs(destination + x, source + x, count - x, weighed, level);
  for (; x < count; ++x) {
    destination[x] = BlendIndexed(destination[x], source[x], weighed, level);
  }
}

void OpaqueRun(uint32_t* __restrict destination, const uint8_t* __restrict source, int32_t count,
               const uint32_t* words) {
  for (int32_t x = kWideLanes ? OpaqueOctets(destination, source, count, words) : 0; x < count;
       ++x) {
    const uint8_t index = source[x];
    destination[x] = index != 0 ? words[index] : destination[x];
  }
}

void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  int32_t x = kWideLanes ? AlphaQuads(destination, source, count) : 0;
  x += AlphaPairs(destination + x, source + 4 * x, count - x);
  for (; x < count; ++x) {
    uint32_t cel;
    std::memcpy(&cel, source + 4 * x, 4);
    destination[x] = BlendAlpha(destination[x], cel);
  }
}

}  // namespace

void ExpandToWords(const MapView& map, const MapRect& rect) {
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    const uint8_t* from = map.At(rect.left, y);
    uint32_t* to = map.WordAt(rect.left, y);
    for (int32_t x = 0; x < rect.Width(); ++x, from += 3) {
      to[x] = from[0] | from[1] << 8 | from[2] << 16;
    }
  }
}

void PackFromWords(const MapView& map, const MapRect& rect) {
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    const uint32_t* from = map.WordAt(rect.left, y);
    uint8_t* to = map.At(rect.left, y);
    for (int32_t x = 0; x < rect.Width(); ++x, to += 3) {
      to[0] = static_cast<uint8_t>(from[x]);
      to[1] = static_cast<uint8_t>(from[x] >> 8);
      to[2] = static_cast<uint8_t>(from[x] >> 16);
    }
  }
}

void DrawIndexedIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region,
                         const RgbQuad* colours) {
  // Levels outside 0..255 come unchecked from the configuration; below 0 draws opaque, above
  // 255 as nearly invisible.
  const auto level = static_cast<uint32_t>(std::clamp<int32_t>(cell.Transparency, 0, 255));
  if (level == 0) {
    // Opaque: the blend would give the colour itself, so it is looked up and nothing weighed.
    uint32_t words[kPaletteColours];
    for (int32_t i = 0; i < kPaletteColours; ++i) {
      words[i] = colours[i].Blue | colours[i].Green << 8 | colours[i].Red << 16;
    }
    for (int32_t j = 0; j < region.height; ++j) {
      const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
      OpaqueRun(map.WordAt(region.mapLeft, region.mapTop + j), source, region.width, words);
    }
    return;
  }
  uint64_t weighed[kPaletteColours];
  WeighColours(colours, 256 - level, weighed);
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 1);
    IndexedRun(map.WordAt(region.mapLeft, region.mapTop + j), source, region.width, weighed, level);
  }
}

void DrawAlphaIntoTrue(const MapView& map, const CellEntry& cell, const CelRegion& region) {
  for (int32_t j = 0; j < region.height; ++j) {
    const uint8_t* source = CelRow(cell, CelStoredRow(cell, region, j), region.skipX, 4);
    AlphaRun(map.WordAt(region.mapLeft, region.mapTop + j), source, region.width);
  }
}

}  // namespace tavro::compose
