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
void CoverIndexRowsVector(const RowBlock& block) { scalar::CoverIndexRows(block); }
void CoverAlphaRowsVector(const RowBlock& block) { scalar::CoverAlphaRows(block); }
RowSpan UncoveredSpanVector(const uint8_t* coverage, int32_t count) {
  return scalar::UncoveredSpan(coverage, count);
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

// Row j's span of the block: the whole row when the block has no spans.
HWY_INLINE RowSpan SpanOf(const RowBlock& block, int32_t j) {
  return block.Spans != nullptr ? block.Spans[j]
                                : RowSpan{0, static_cast<uint16_t>(std::max(block.Count, 0))};
}

// Each row's span through `run(destination, source, count)`, both at the span's first pixel;
// `bytes` a source pixel, `destinationBytes` a destination one.
template <typename Destination, class Run>
HWY_INLINE void EachRow(const RowBlock& block, int32_t bytes, const Run& run,
                        int32_t destinationBytes = sizeof(Destination)) {
  auto* destination = static_cast<uint8_t*>(block.Destination);
  for (int32_t j = 0; j < block.Rows; ++j) {
    const uint8_t* source = block.Source + j * block.SourceStride;
    if (j + kSourceRowsAhead < block.Rows) {
      const RowSpan ahead = SpanOf(block, j + kSourceRowsAhead);
      if (ahead.Begin < ahead.End) {
        PrefetchRow(source + kSourceRowsAhead * block.SourceStride + ahead.Begin * bytes,
                    (ahead.End - ahead.Begin) * bytes);
      }
    }
    if (sizeof(Destination) == 4 && j + kWorkRowsAhead < block.Rows) {
      const RowSpan ahead = SpanOf(block, j + kWorkRowsAhead);
      if (ahead.Begin < ahead.End) {
        PrefetchRow(destination + (j + kWorkRowsAhead) * block.DestinationStride + 4 * ahead.Begin,
                    4 * (ahead.End - ahead.Begin));
      }
    }
    const RowSpan span = SpanOf(block, j);
    if (span.End <= span.Begin) continue;
    run(reinterpret_cast<Destination*>(destination + j * block.DestinationStride +
                                       span.Begin * destinationBytes),
        source + span.Begin * bytes, static_cast<int32_t>(span.End - span.Begin));
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
  EachRow<uint8_t>(
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

// Coverage: whole vectors, then the scalar rule for the rest of the row.
void CoverIndexRowsVector(const RowBlock& block) {
  const hn::ScalableTag<uint8_t> d;
  const size_t lanes = hn::Lanes(d);
  EachRow<uint8_t>(
      block, 1, [&](uint8_t* HWY_RESTRICT coverage, const uint8_t* source, int32_t count) {
        const auto n = static_cast<size_t>(count);
        const auto covered = hn::Set(d, 255);
        size_t x = 0;
        for (; x + lanes <= n; x += lanes) {
          const auto empty = hn::Eq(hn::LoadU(d, source + x), hn::Zero(d));
          hn::StoreU(hn::IfThenElse(empty, hn::LoadU(d, coverage + x), covered), d, coverage + x);
        }
        scalar::CoverIndexRun(coverage + x, source + x, count - static_cast<int32_t>(x));
      });
}

void CoverAlphaRowsVector(const RowBlock& block) {
  const hn::ScalableTag<uint8_t> d;
  const size_t lanes = hn::Lanes(d);
  EachRow<uint8_t>(
      block, 4, [&](uint8_t* HWY_RESTRICT coverage, const uint8_t* source, int32_t count) {
        const auto n = static_cast<size_t>(count);
        const auto covered = hn::Set(d, 255);
        size_t x = 0;
        for (; x + lanes <= n; x += lanes) {
          hn::Vec<decltype(d)> blue, green, red, alpha;
          hn::LoadInterleaved4(d, source + 4 * x, blue, green, red, alpha);
          const auto opaque = hn::Eq(alpha, covered);
          hn::StoreU(hn::IfThenElse(opaque, covered, hn::LoadU(d, coverage + x)), d, coverage + x);
        }
        scalar::CoverAlphaRun(coverage + x, source + 4 * x, count - static_cast<int32_t>(x));
      });
}

// The first 0 from the left and the last from the right, a vector at a time; the vector that
// holds either is searched byte by byte.
RowSpan UncoveredSpanVector(const uint8_t* coverage, int32_t count) {
  const hn::ScalableTag<uint8_t> d;
  const auto lanes = static_cast<int32_t>(hn::Lanes(d));
  const auto hasGap = [&](int32_t x) {
    return !hn::AllFalse(d, hn::Eq(hn::LoadU(d, coverage + x), hn::Zero(d)));
  };
  int32_t begin = 0;
  while (begin + lanes <= count && !hasGap(begin)) begin += lanes;
  while (begin < count && coverage[begin] != 0) ++begin;
  if (begin == count) return {};
  int32_t end = count;
  while (end - lanes > begin && !hasGap(end - lanes)) end -= lanes;
  while (coverage[end - 1] != 0) --end;
  return {static_cast<uint16_t>(begin), static_cast<uint16_t>(end)};
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
HWY_EXPORT(UncoveredSpanVector);

void OverlayIndexRows(const RowBlock& block) {
  HWY_DYNAMIC_DISPATCH(OverlayIndexRowsVector)(block);
}
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level) {
  HWY_DYNAMIC_DISPATCH(LevelColourRowsVector)(block, words, level);
}
void AlphaRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(AlphaRowsVector)(block); }
void PackRgbRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(PackRgbRowsVector)(block); }
void PackBgrRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(PackBgrRowsVector)(block); }
void CoverIndexRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(CoverIndexRowsVector)(block); }
void CoverAlphaRows(const RowBlock& block) { HWY_DYNAMIC_DISPATCH(CoverAlphaRowsVector)(block); }
RowSpan UncoveredSpan(const uint8_t* coverage, int32_t count) {
  return HWY_DYNAMIC_DISPATCH(UncoveredSpanVector)(coverage, count);
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
void CoverIndexRows(const RowBlock& block) { scalar::CoverIndexRows(block); }
void CoverAlphaRows(const RowBlock& block) { scalar::CoverAlphaRows(block); }
RowSpan UncoveredSpan(const uint8_t* coverage, int32_t count) {
  return scalar::UncoveredSpan(coverage, count);
}
void AskForRows(const uint8_t*, ptrdiff_t, int32_t, int32_t) {}
void ForEachRunTarget(const std::function<void(const char* name)>& body) { body("scalar"); }

}  // namespace tavro::compose

#endif  // TAVRO_SIMD
