// The composer's inner loops in vector code, one source for every instruction set the build
// knows; each processor gets the widest it has (or the one the build was fixed to, where the
// platform cannot choose at run time). Every lane computes exactly what the scalar rule does.
//
// True-colour blends work on the four bytes of each pixel as two 16-bit lanes per pair of
// channels (blue with red, green with the spare byte): a channel times a weight, plus another
// channel times the other weight, stays below 65,536, so nothing carries between lanes.
//
// A row that is not a whole number of vectors ends with one more vector that overlaps the one
// before. That last vector is computed before any store, from the map as it was, so the pixels
// it shares with the others come out the same and are never blended twice.
#include "composition/PixelRuns.h"

#if TAVRO_SIMD

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "composition/VectorRuns.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace tavro::compose::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
// One lane cannot be split into channels: processors without vectors take the scalar rules.
void OverlayIndexRunVector(uint8_t* destination, const uint8_t* source, int32_t count) {
  scalar::OverlayIndexRun(destination, source, count);
}
void OpaqueColourRunVector(uint32_t* destination, const uint8_t* source, int32_t count,
                           const uint32_t* words) {
  scalar::OpaqueColourRun(destination, source, count, words);
}
void LevelColourRunVector(uint32_t* destination, const uint8_t* source, int32_t count,
                          const uint32_t* words, uint32_t level) {
  scalar::LevelColourRun(destination, source, count, words, level);
}
void AlphaRunVector(uint32_t* destination, const uint8_t* source, int32_t count) {
  scalar::AlphaRun(destination, source, count);
}
void ExpandRunVector(uint32_t* destination, const uint8_t* source, int32_t count) {
  scalar::ExpandRun(destination, source, count);
}
void PackRunVector(uint8_t* destination, const uint32_t* source, int32_t count) {
  scalar::PackRun(destination, source, count);
}
#else

// Runs `step(d, x)` over [0, count) in vectors of descriptor `d`, storing with `store`; false
// (nothing done) when the row is shorter than one vector.
template <class D, class Step, class Store>
HWY_INLINE bool OverlappedRun(D d, size_t count, const Step& step, const Store& store) {
  const size_t lanes = hn::Lanes(d);
  if (count < lanes) return false;
  const auto last = step(d, count - lanes);
  for (size_t x = 0; x + lanes <= count; x += lanes) store(d, x, step(d, x));
  store(d, count - lanes, last);
  return true;
}

// The widest vector that fits the row, then 128 bits, then 64; shorter rows are left to the
// scalar rule.
template <typename T, class Step, class Store>
HWY_INLINE bool AnyWidthRun(size_t count, const Step& step, const Store& store) {
  if (OverlappedRun(hn::ScalableTag<T>(), count, step, store)) return true;
  if (OverlappedRun(hn::CappedTag<T, 16 / sizeof(T)>(), count, step, store)) return true;
  return OverlappedRun(hn::CappedTag<T, 8 / sizeof(T)>(), count, step, store);
}

// (a * wa + b * wb) >> 8 in each byte of 32-bit lanes, the spare byte cleared; `wa` and `wb`
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
  return hn::And(joined, hn::Set(d, 0x00FFFFFFu));
}

template <class D>
HWY_INLINE hn::Vec<D> LoadIndices(D d, const uint8_t* source) {
  return hn::PromoteTo(d, hn::LoadU(hn::Rebind<uint8_t, D>(), source));
}

template <class D>
HWY_INLINE hn::Vec<D> LookUp(D d, hn::Vec<D> indices, const uint32_t* words) {
  return hn::GatherIndex(d, words, hn::BitCast(hn::RebindToSigned<D>(), indices));
}

void OverlayIndexRunVector(uint8_t* HWY_RESTRICT destination, const uint8_t* HWY_RESTRICT source,
                           int32_t count) {
  const auto step = [&](auto d, size_t x) {
    const auto cel = hn::LoadU(d, source + x);
    return hn::IfThenElse(hn::Eq(cel, hn::Zero(d)), hn::LoadU(d, destination + x), cel);
  };
  const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
  if (!AnyWidthRun<uint8_t>(static_cast<size_t>(count), step, store)) {
    scalar::OverlayIndexRun(destination, source, count);
  }
}

void OpaqueColourRunVector(uint32_t* HWY_RESTRICT destination, const uint8_t* HWY_RESTRICT source,
                           int32_t count, const uint32_t* HWY_RESTRICT words) {
  const auto step = [&](auto d, size_t x) {
    const auto indices = LoadIndices(d, source + x);
    return hn::IfThenElse(hn::Eq(indices, hn::Zero(d)), hn::LoadU(d, destination + x),
                          LookUp(d, indices, words));
  };
  const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
  if (!AnyWidthRun<uint32_t>(static_cast<size_t>(count), step, store)) {
    scalar::OpaqueColourRun(destination, source, count, words);
  }
}

void LevelColourRunVector(uint32_t* HWY_RESTRICT destination, const uint8_t* HWY_RESTRICT source,
                          int32_t count, const uint32_t* HWY_RESTRICT words, uint32_t level) {
  if (level == 0) {
    OpaqueColourRunVector(destination, source, count, words);
    return;
  }
  const auto step = [&](auto d, size_t x) {
    const hn::Repartition<uint16_t, decltype(d)> d16;
    const auto indices = LoadIndices(d, source + x);
    const auto beneath = hn::LoadU(d, destination + x);
    const auto blended = BlendChannels(d, LookUp(d, indices, words),
                                       hn::Set(d16, static_cast<uint16_t>(256 - level)), beneath,
                                       hn::Set(d16, static_cast<uint16_t>(level)));
    return hn::IfThenElse(hn::Eq(indices, hn::Zero(d)), beneath, blended);
  };
  const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
  if (!AnyWidthRun<uint32_t>(static_cast<size_t>(count), step, store)) {
    scalar::LevelColourRun(destination, source, count, words, level);
  }
}

void AlphaRunVector(uint32_t* HWY_RESTRICT destination, const uint8_t* HWY_RESTRICT source,
                    int32_t count) {
  const auto step = [&](auto d, size_t x) {
    const hn::Repartition<uint16_t, decltype(d)> d16;
    const auto cel =
        hn::BitCast(d, hn::LoadU(hn::Repartition<uint8_t, decltype(d)>(), source + 4 * x));
    const auto beneath = hn::LoadU(d, destination + x);
    const auto alpha = hn::ShiftRight<24>(cel);
    const auto weight = hn::BitCast(d16, hn::Or(alpha, hn::ShiftLeft<16>(alpha)));
    const auto blended = BlendChannels(d, cel, weight, beneath, hn::Sub(hn::Set(d16, 255), weight));
    const auto chosen = hn::IfThenElse(hn::Eq(alpha, hn::Set(d, 255u)), cel, blended);
    return hn::IfThenElse(hn::Eq(alpha, hn::Zero(d)), beneath, chosen);
  };
  const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
  if (!AnyWidthRun<uint32_t>(static_cast<size_t>(count), step, store)) {
    scalar::AlphaRun(destination, source, count);
  }
}

void ExpandRunVector(uint32_t* HWY_RESTRICT destination, const uint8_t* HWY_RESTRICT source,
                     int32_t count) {
  const hn::ScalableTag<uint8_t> d;
  const size_t lanes = hn::Lanes(d);
  const auto n = static_cast<size_t>(count);
  if (n < lanes) {
    scalar::ExpandRun(destination, source, count);
    return;
  }
  auto* bytes = reinterpret_cast<uint8_t*>(destination);
  const auto one = [&](size_t x) {
    hn::Vec<decltype(d)> blue, green, red;
    hn::LoadInterleaved3(d, source + 3 * x, blue, green, red);
    hn::StoreInterleaved4(blue, green, red, hn::Zero(d), d, bytes + 4 * x);
  };
  for (size_t x = 0; x + lanes <= n; x += lanes) one(x);
  if (n % lanes != 0) one(n - lanes);
}

void PackRunVector(uint8_t* HWY_RESTRICT destination, const uint32_t* HWY_RESTRICT source,
                   int32_t count) {
  const hn::ScalableTag<uint8_t> d;
  const size_t lanes = hn::Lanes(d);
  const auto n = static_cast<size_t>(count);
  if (n < lanes) {
    scalar::PackRun(destination, source, count);
    return;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(source);
  const auto one = [&](size_t x) {
    hn::Vec<decltype(d)> blue, green, red, spare;
    hn::LoadInterleaved4(d, bytes + 4 * x, blue, green, red, spare);
    hn::StoreInterleaved3(blue, green, red, d, destination + 3 * x);
  };
  for (size_t x = 0; x + lanes <= n; x += lanes) one(x);
  if (n % lanes != 0) one(n - lanes);
}

#endif  // HWY_TARGET == HWY_SCALAR

}  // namespace tavro::compose::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tavro::compose {

HWY_EXPORT(OverlayIndexRunVector);
HWY_EXPORT(OpaqueColourRunVector);
HWY_EXPORT(LevelColourRunVector);
HWY_EXPORT(AlphaRunVector);
HWY_EXPORT(ExpandRunVector);
HWY_EXPORT(PackRunVector);

void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  HWY_DYNAMIC_DISPATCH(OverlayIndexRunVector)(destination, source, count);
}
void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words) {
  HWY_DYNAMIC_DISPATCH(OpaqueColourRunVector)(destination, source, count, words);
}
void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level) {
  HWY_DYNAMIC_DISPATCH(LevelColourRunVector)(destination, source, count, words, level);
}
void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  HWY_DYNAMIC_DISPATCH(AlphaRunVector)(destination, source, count);
}
void ExpandRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  HWY_DYNAMIC_DISPATCH(ExpandRunVector)(destination, source, count);
}
void PackRun(uint8_t* destination, const uint32_t* source, int32_t count) {
  HWY_DYNAMIC_DISPATCH(PackRunVector)(destination, source, count);
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

void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count) {
  scalar::OverlayIndexRun(destination, source, count);
}
void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words) {
  scalar::OpaqueColourRun(destination, source, count, words);
}
void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level) {
  scalar::LevelColourRun(destination, source, count, words, level);
}
void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  scalar::AlphaRun(destination, source, count);
}
void ExpandRun(uint32_t* destination, const uint8_t* source, int32_t count) {
  scalar::ExpandRun(destination, source, count);
}
void PackRun(uint8_t* destination, const uint32_t* source, int32_t count) {
  scalar::PackRun(destination, source, count);
}
void ForEachRunTarget(const std::function<void(const char* name)>& body) { body("scalar"); }

}  // namespace tavro::compose

#endif  // TAVRO_SIMD
