// The composer's inner loops in vector code, one source for every instruction set the build
// knows; each processor gets the widest it has (or the one the build was fixed to, where the
// platform cannot choose at run time). Every lane computes exactly what the scalar rule does.
//
// True-colour blends work on the four bytes of each pixel as two 16-bit lanes per pair of
// channels (blue with red, green with the spare byte): a channel times a weight, plus another
// channel times the other weight, stays below 65,536, so nothing carries between lanes.
//
// With AVX-512 a row's last, partial vector is loaded and stored under a mask, and only the
// pixels a cel draws are stored at all. Elsewhere a row that is not a whole number of vectors
// ends with one more vector that overlaps the one before. That last vector is computed before
// any store, from the map as it was, so the pixels it shares with the others come out the same
// and are never blended twice.
#include <algorithm>
#include <cstring>

#include "composition/PixelRuns.h"

#if TAVRO_SIMD

// The byte permutes of AVX-512 VBMI look 64 colours up at once in registers (ColourPlanes-inl.h);
// Highway builds that instruction set only when asked.
#ifndef HWY_WANT_AVX3_DL
#define HWY_WANT_AVX3_DL
#endif
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "composition/VectorRuns.cpp"
#include <hwy/cache_control.h>
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace tavro::compose::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
// One lane cannot be split into channels: processors without vectors take the scalar rules.
void OverlayIndexRowsVector(const RowBlock& block) { scalar::OverlayIndexRows(block); }
void LevelColourRowsVector(const RowBlock& block, const uint32_t* words, uint32_t level) {
  scalar::LevelColourRows(block, words, level);
}
void AlphaRowsVector(const RowBlock& block) { scalar::AlphaRows(block); }
void PackRgbRowsVector(const RowBlock& block) { scalar::PackRgbRows(block); }
void PackBgrRowsVector(const RowBlock& block) { scalar::PackBgrRows(block); }
void CoverIndexRowsVector(const RowBlock& block, int32_t firstBit) {
  scalar::CoverIndexRows(block, firstBit);
}
void CoverAlphaRowsVector(const RowBlock& block, int32_t firstBit) {
  scalar::CoverAlphaRows(block, firstBit);
}
#else

// Cel pixels mostly come from memory rather than the caches, and each cel is a stream of its own
// that the processor's prefetching finds only after a while: each row asks for the source row
// this many rows further on. The true-colour map is larger than the caches as well, and its rows
// are asked for a little ahead too; the 256-colour map is only written, and asking for it slows
// the drawing down.
constexpr int32_t kSourceRowsAhead = 16;
constexpr int32_t kWorkRowsAhead = 4;

HWY_INLINE void PrefetchRow(const uint8_t* row, int32_t bytes) {
  for (int32_t x = 0; x < bytes; x += 64) hwy::Prefetch(row + x);
  hwy::Prefetch(row + bytes - 1);
}

// Each row of the block through `run(destination, source, count)`; `bytes` a source pixel,
// `destinationBytes` a destination one. With `HonourSpans` (true-colour drawing, whose map rows are
// asked for ahead too), only each row's span, both pointers at its first pixel. Without, the
// spans are not looked at: a 256-colour row costs so little that even a look at an absent span
// shows in its time.
template <typename Destination, bool HonourSpans, class Run>
HWY_INLINE void EachRow(const RowBlock& block, int32_t bytes, const Run& run,
                        int32_t destinationBytes = sizeof(Destination)) {
  auto* destination = static_cast<uint8_t*>(block.Destination);
  if constexpr (!HonourSpans) {
    for (int32_t j = 0; j < block.Rows; ++j) {
      const uint8_t* source = block.Source + j * block.SourceStride;
      if (j + kSourceRowsAhead < block.Rows) {
        PrefetchRow(source + kSourceRowsAhead * block.SourceStride, block.Count * bytes);
      }
      run(reinterpret_cast<Destination*>(destination + j * block.DestinationStride), source,
          block.Count);
    }
    return;
  }
  const bool spans = block.Spans != nullptr;
  for (int32_t j = 0; j < block.Rows; ++j) {
    const uint8_t* source = block.Source + j * block.SourceStride;
    if (j + kSourceRowsAhead < block.Rows) {
      const RowSpan ahead = spans ? block.Spans[j + kSourceRowsAhead]
                                  : RowSpan{0, static_cast<uint16_t>(block.Count)};
      if (!HonourSpans || ahead.Begin < ahead.End) {
        PrefetchRow(source + kSourceRowsAhead * block.SourceStride + ahead.Begin * bytes,
                    (ahead.End - ahead.Begin) * bytes);
      }
    }
    if (j + kWorkRowsAhead < block.Rows) {
      const RowSpan ahead =
          spans ? block.Spans[j + kWorkRowsAhead] : RowSpan{0, static_cast<uint16_t>(block.Count)};
      if (ahead.Begin < ahead.End) {
        PrefetchRow(destination + (j + kWorkRowsAhead) * block.DestinationStride + 4 * ahead.Begin,
                    4 * (ahead.End - ahead.Begin));
      }
    }
    int32_t begin = 0;
    int32_t count = block.Count;
    if (spans) {
      begin = block.Spans[j].Begin;
      count = block.Spans[j].End - begin;
      if (count <= 0) continue;
    }
    run(reinterpret_cast<Destination*>(destination + j * block.DestinationStride +
                                       begin * destinationBytes),
        source + begin * bytes, count);
  }
}

// (a * wa + b * wb) >> 8 in each byte of 32-bit lanes, the fourth byte set to 255; `wa` and `wb`
// are 16-bit lanes whose sum is at most 256 and which are never both 256.
template <class D, class V16>
HWY_INLINE hn::Vec<D> BlendChannels(D d, hn::Vec<D> a, V16 wa, hn::Vec<D> b, V16 wb) {
  const hn::Repartition<uint16_t, D> d16;
  const auto low = hn::Set(d16, 0x00FF);
  const auto a16 = hn::BitCast(d16, a);
  const auto b16 = hn::BitCast(d16, b);
  const auto even =
      hn::ShiftRight<8>(hn::Add(hn::Mul(hn::And(a16, low), wa), hn::Mul(hn::And(b16, low), wb)));
  const auto odd = hn::ShiftRight<8>(
      hn::Add(hn::Mul(hn::ShiftRight<8>(a16), wa), hn::Mul(hn::ShiftRight<8>(b16), wb)));
  const auto joined = hn::BitCast(d, hn::Or(even, hn::ShiftLeft<8>(odd)));
  return hn::Or(joined, hn::Set(d, 0xFF000000u));
}

// A colour blended with what lies beneath by the level's weights.
template <class D>
HWY_INLINE hn::Vec<D> BlendLevel(D d, hn::Vec<D> colour, hn::Vec<D> beneath, uint32_t level) {
  const hn::Repartition<uint16_t, D> d16;
  return BlendChannels(d, colour, hn::Set(d16, static_cast<uint16_t>(256 - level)), beneath,
                       hn::Set(d16, static_cast<uint16_t>(level)));
}

// A cel pixel (blue, green, red, alpha) blended by its own alpha; its colour whole where opaque
// (transparent ones are never stored).
template <class D>
HWY_INLINE hn::Vec<D> BlendAlpha(D d, hn::Vec<D> celInFileOrder, hn::Vec<D> beneath) {
  const hn::Repartition<uint16_t, D> d16;
  const hn::Repartition<uint8_t, D> d8;
  // One byte shuffle within each pixel puts red first (a permute within 128-bit blocks, which
  // every instruction set has and which costs less than masking and rotating).
  alignas(16) static constexpr uint8_t kRedFirst[16] = {2,  1, 0, 3,  6,  5,  4,  7,
                                                        10, 9, 8, 11, 14, 13, 12, 15};
  const auto order = hn::LoadDup128(d8, kRedFirst);
  const auto cel = hn::BitCast(d, hn::TableLookupBytes(hn::BitCast(d8, celInFileOrder), order));
  const auto alpha = hn::ShiftRight<24>(cel);
  const auto weight = hn::BitCast(d16, hn::Or(alpha, hn::ShiftLeft<16>(alpha)));
  const auto blended = BlendChannels(d, cel, weight, beneath, hn::Sub(hn::Set(d16, 255), weight));
  return hn::IfThenElse(hn::Eq(alpha, hn::Set(d, 255u)), cel, blended);
}

#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
#include "composition/MaskedRows-inl.h"
#else
#include "composition/OverlappedRows-inl.h"
#endif

// Map words into 3-byte pixels, channels First, Second, Third of each word (0 red, 1 green, 2
// blue) in that order.
template <int First, int Second, int Third>
HWY_INLINE void PackRowsInOrder(const RowBlock& block) {
  const hn::ScalableTag<uint8_t> d;
  const size_t lanes = hn::Lanes(d);
  EachRow<uint8_t, false>(
      block, 4,
      [&](uint8_t* destination, const uint8_t* source, int32_t count) {
        const auto n = static_cast<size_t>(count);
        if (n < lanes) {
          return First == 0 ? scalar::PackRgbRun(destination, source, count)
                            : scalar::PackBgrRun(destination, source, count);
        }
        const auto one = [&](size_t x) {
          hn::Vec<decltype(d)> channel[4];
          hn::LoadInterleaved4(d, source + 4 * x, channel[0], channel[1], channel[2], channel[3]);
          hn::StoreInterleaved3(channel[First], channel[Second], channel[Third], d,
                                destination + 3 * x);
        };
        for (size_t x = 0; x + lanes <= n; x += lanes) one(x);
        if (n % lanes != 0) one(n - lanes);
      },
      3);
}

// Each row's span of a coverage block through `row(coverage row, bit, source, count)`, asking
// for source rows ahead as the drawing does.
template <class Row>
HWY_INLINE void EachCoverageRow(const RowBlock& block, int32_t bytes, int32_t firstBit,
                                const Row& row) {
  const auto spanOf = [&](int32_t j) {
    return block.Spans != nullptr ? block.Spans[j] : RowSpan{0, static_cast<uint16_t>(block.Count)};
  };
  for (int32_t j = 0; j < block.Rows; ++j) {
    const uint8_t* source = block.Source + j * block.SourceStride;
    if (j + kSourceRowsAhead < block.Rows) {
      const RowSpan ahead = spanOf(j + kSourceRowsAhead);
      if (ahead.Begin < ahead.End) {
        PrefetchRow(source + kSourceRowsAhead * block.SourceStride + ahead.Begin * bytes,
                    (ahead.End - ahead.Begin) * bytes);
      }
    }
    const RowSpan span = spanOf(j);
    if (span.End <= span.Begin) continue;
    row(static_cast<uint8_t*>(block.Destination) + j * block.DestinationStride,
        firstBit + span.Begin, source + span.Begin * bytes,
        static_cast<int32_t>(span.End - span.Begin));
  }
}

// Sets the bits of `lanes` in the coverage row from bit `bit` on: whole words, read and written
// where they lie, so that the next chunk's read takes what this one wrote straight from the
// store.
HWY_INLINE void CoverBits(uint8_t* coverage, int32_t bit, uint64_t lanes) {
  const auto orInto = [&](int32_t word, uint64_t bits) {
    uint64_t held;
    std::memcpy(&held, coverage + 8 * word, 8);
    held |= bits;
    std::memcpy(coverage + 8 * word, &held, 8);
  };
  const int32_t shift = bit & 63;
  orInto(bit >> 6, lanes << shift);
  if (shift != 0) orInto((bit >> 6) + 1, lanes >> (64 - shift));
}

// One bit a lane of a mask, lane 0 in bit 0.
template <class D>
HWY_INLINE uint64_t BitsOf(D d, hn::Mask<D> mask) {
#if HWY_TARGET == HWY_WASM
  // Highway's own goes through memory and a multiplication; WebAssembly has an instruction.
  if constexpr (hn::MaxLanes(D()) * sizeof(hn::TFromD<D>) == 16) {
    if constexpr (sizeof(hn::TFromD<D>) == 1) {
      return static_cast<uint32_t>(wasm_i8x16_bitmask(mask.raw));
    } else if constexpr (sizeof(hn::TFromD<D>) == 4) {
      return static_cast<uint32_t>(wasm_i32x4_bitmask(mask.raw));
    }
  }
#endif
  uint8_t bytes[8] = {};
  hn::StoreMaskBits(d, mask, bytes);
  uint64_t bits;
  std::memcpy(&bits, bytes, 8);
  return bits;
}

// Covers a row of `count` pixels from bit `bit` on, where `covers(x)` gives the mask of the
// vector of pixels from x on: 64 pixels a word, a row that is not a whole number of words ending
// with a word that overlaps the one before (covering a pixel twice does no harm), rows shorter
// than a word put together from vectors the same way, rows shorter than a vector left to
// `scalarRun`.
template <class D, class Covers, class ScalarRun>
HWY_INLINE void CoverRow(D d, uint8_t* coverage, int32_t bit, int32_t count, const Covers& covers,
                         const ScalarRun& scalarRun) {
  const auto lanes = static_cast<int32_t>(hn::Lanes(d));
  if (count < lanes) {
    scalarRun(coverage, bit, 0, count);
    return;
  }
  const auto word = [&](int32_t x, int32_t pixels) {
    uint64_t bits = 0;
    for (int32_t k = 0; k + lanes <= pixels; k += lanes) bits |= BitsOf(d, covers(x + k)) << k;
    if (pixels % lanes != 0) {
      bits |= BitsOf(d, covers(x + pixels - lanes)) << (pixels - lanes);
    }
    return bits;
  };
  if (count < 64) {
    CoverBits(coverage, bit, word(0, count));
    return;
  }
  for (int32_t x = 0; x + 64 <= count; x += 64) CoverBits(coverage, bit + x, word(x, 64));
  if (count % 64 != 0) CoverBits(coverage, bit + count - 64, word(count - 64, 64));
}

void CoverIndexRowsVector(const RowBlock& block, int32_t firstBit) {
  // No more lanes than a word has bits.
  const hn::CappedTag<uint8_t, 64> d;
  EachCoverageRow(block, 1, firstBit,
                  [&](uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count) {
                    const auto covers = [&](int32_t x) {
                      return hn::Not(hn::Eq(hn::LoadU(d, source + x), hn::Zero(d)));
                    };
                    CoverRow(d, coverage, bit, count, covers,
                             [&](uint8_t* row, int32_t at, int32_t x, int32_t n) {
                               scalar::CoverIndexRun(row, at + x, source + x, n);
                             });
                  });
}

void CoverAlphaRowsVector(const RowBlock& block, int32_t firstBit) {
  const hn::CappedTag<uint32_t, 64> d;
  EachCoverageRow(block, 4, firstBit,
                  [&](uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count) {
                    const hn::Repartition<uint8_t, decltype(d)> d8;
                    const auto covers = [&](int32_t x) {
                      const auto cel = hn::BitCast(d, hn::LoadU(d8, source + 4 * x));
                      return hn::Eq(hn::ShiftRight<24>(cel), hn::Set(d, 255u));
                    };
                    CoverRow(d, coverage, bit, count, covers,
                             [&](uint8_t* row, int32_t at, int32_t x, int32_t n) {
                               scalar::CoverAlphaRun(row, at + x, source + 4 * x, n);
                             });
                  });
}

void PackRgbRowsVector(const RowBlock& block) { PackRowsInOrder<0, 1, 2>(block); }
void PackBgrRowsVector(const RowBlock& block) { PackRowsInOrder<2, 1, 0>(block); }

#endif  // HWY_TARGET == HWY_SCALAR

}  // namespace tavro::compose::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tavro::compose {

HWY_EXPORT(OverlayIndexRowsVector);
HWY_EXPORT(LevelColourRowsVector);
HWY_EXPORT(AlphaRowsVector);
HWY_EXPORT(PackRgbRowsVector);
HWY_EXPORT(PackBgrRowsVector);
HWY_EXPORT(CoverIndexRowsVector);
HWY_EXPORT(CoverAlphaRowsVector);

void OverlayIndexRows(const RowBlock& block) {
  HWY_DYNAMIC_DISPATCH(OverlayIndexRowsVector)(block);
}
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level) {
  HWY_DYNAMIC_DISPATCH(LevelColourRowsVector)(block, words, level);
}
void AlphaRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(AlphaRowsVector)(block); }
void PackRgbRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(PackRgbRowsVector)(block); }
void PackBgrRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(PackBgrRowsVector)(block); }
void CoverIndexRows(const RowBlock& block, int32_t firstBit) {
  HWY_DYNAMIC_DISPATCH(CoverIndexRowsVector)(block, firstBit);
}
void CoverAlphaRows(const RowBlock& block, int32_t firstBit) {
  HWY_DYNAMIC_DISPATCH(CoverAlphaRowsVector)(block, firstBit);
}

void AskForRows(const uint8_t* first, ptrdiff_t stride, int32_t bytes, int32_t rows) {
  for (int32_t j = 0; j < rows; ++j) {
    const uint8_t* row = first + j * stride;
    for (int32_t x = 0; x < bytes; x += 64) hwy::Prefetch(row + x);
    hwy::Prefetch(row + bytes - 1);
  }
}

#ifdef HWY_COMPILE_ONLY_STATIC
void ForEachRunTarget(const std::function<void(const char* name)>& body) {
  body(hwy::TargetName(HWY_STATIC_TARGET));
}
#else
void ForEachRunTarget(const std::function<void(const char* name)>& body) {
  for (const int64_t target : hwy::SupportedAndGeneratedTargets()) {
    hwy::SetSupportedTargetsForTest(target);
    body(hwy::TargetName(target));
  }
  hwy::SetSupportedTargetsForTest(0);
}
#endif

}  // namespace tavro::compose
#endif  // HWY_ONCE

#else  // no vector code: the scalar rules are the runs

namespace tavro::compose {

void OverlayIndexRows(const RowBlock& block) { scalar::OverlayIndexRows(block); }
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level) {
  scalar::LevelColourRows(block, words, level);
}
void AlphaRows(const RowBlock& block) { scalar::AlphaRows(block); }
void PackRgbRows(const RowBlock& block) { scalar::PackRgbRows(block); }
void PackBgrRows(const RowBlock& block) { scalar::PackBgrRows(block); }
void CoverIndexRows(const RowBlock& block, int32_t firstBit) {
  scalar::CoverIndexRows(block, firstBit);
}
void CoverAlphaRows(const RowBlock& block, int32_t firstBit) {
  scalar::CoverAlphaRows(block, firstBit);
}
void AskForRows(const uint8_t*, ptrdiff_t, int32_t, int32_t) {}
void ForEachRunTarget(const std::function<void(const char* name)>& body) { body("scalar"); }

}  // namespace tavro::compose

#endif  // TAVRO_SIMD
