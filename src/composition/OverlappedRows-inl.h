// Rows in vectors of a fixed width, for instruction sets without masked loads and stores: a row
// that is not a whole number of vectors ends with one more vector that overlaps the one before,
// computed before any store from the map as it was. Rows shorter than the narrowest vector take
// the scalar rule.
//
// Included by VectorRuns.cpp into each such target's namespace, once per target: no include
// guard.

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

// The widest vector that fits the row, then 128 bits, then 64.
template <typename T, class Step, class Store>
HWY_INLINE bool AnyWidthRun(size_t count, const Step& step, const Store& store) {
  if (OverlappedRun(hn::ScalableTag<T>(), count, step, store)) return true;
  if (OverlappedRun(hn::CappedTag<T, 16 / sizeof(T)>(), count, step, store)) return true;
  return OverlappedRun(hn::CappedTag<T, 8 / sizeof(T)>(), count, step, store);
}

template <class D>
HWY_INLINE hn::Vec<D> LoadIndices(D d, const uint8_t* source) {
  return hn::PromoteTo(d, hn::LoadU(hn::Rebind<uint8_t, D>(), source));
}

// The colours of the indices at `source` (`indices` holds them widened), fourth bytes 255.
//
// Put straight into the lanes from scalar loads rather than gathered: WebAssembly has no gather
// (Highway's stand-in stores the indices and loads the colours back through memory), and on
// the processors measured here AVX2's gather took 0.46 to 0.51 ns a pixel where the same loop
// with the lanes set from loads took 0.35.
template <class D>
HWY_INLINE hn::Vec<D> LookUp(D d, const uint8_t* source, hn::Vec<D> indices,
                             const uint32_t* words) {
  const auto opaque = hn::Set(d, 0xFF000000u);
  // Unused on the targets that gather (Highway's emulated one among them).
  [[maybe_unused]] const auto at = [&](int i) { return words[source[i]]; };
  [[maybe_unused]] constexpr size_t kBytes = hn::MaxLanes(D()) * sizeof(uint32_t);
#if HWY_TARGET == HWY_WASM
  if constexpr (kBytes == 16) {
    return hn::Or(hn::Vec<D>{wasm_u32x4_make(at(0), at(1), at(2), at(3))}, opaque);
  }
#elif HWY_TARGET == HWY_SSSE3 || HWY_TARGET == HWY_SSE4 || HWY_TARGET == HWY_AVX2
  const auto lane = [&](int i) { return static_cast<int>(at(i)); };
#if HWY_TARGET == HWY_AVX2
  if constexpr (kBytes == 32) {
    return hn::Or(hn::Vec<D>{_mm256_setr_epi32(lane(0), lane(1), lane(2), lane(3), lane(4), lane(5),
                                               lane(6), lane(7))},
                  opaque);
  }
#endif
  if constexpr (kBytes == 16) {
    return hn::Or(hn::Vec<D>{_mm_setr_epi32(lane(0), lane(1), lane(2), lane(3))}, opaque);
  }
#endif
  return hn::Or(hn::GatherIndex(d, words, hn::BitCast(hn::RebindToSigned<D>(), indices)), opaque);
}

void OverlayIndexRowsVector(const RowBlock& block) {
  EachRow<uint8_t, false>(
      block, 1, [&](uint8_t* HWY_RESTRICT destination, const uint8_t* source, int32_t count) {
        const auto step = [&](auto d, size_t x) {
          const auto cel = hn::LoadU(d, source + x);
          return hn::IfThenElse(hn::Eq(cel, hn::Zero(d)), hn::LoadU(d, destination + x), cel);
        };
        const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
        if (!AnyWidthRun<uint8_t>(static_cast<size_t>(count), step, store)) {
          scalar::OverlayIndexRun(destination, source, count);
        }
      });
}

void LevelColourRowsVector(const RowBlock& block, const uint32_t* words, uint32_t level) {
  EachRow<uint32_t, true>(
      block, 1, [&](uint32_t* HWY_RESTRICT destination, const uint8_t* source, int32_t count) {
        const auto step = [&](auto d, size_t x) {
          const auto indices = LoadIndices(d, source + x);
          const auto beneath = hn::LoadU(d, destination + x);
          const auto colour = LookUp(d, source + x, indices, words);
          const auto drawn = level == 0 ? colour : BlendLevel(d, colour, beneath, level);
          return hn::IfThenElse(hn::Eq(indices, hn::Zero(d)), beneath, drawn);
        };
        const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
        if (!AnyWidthRun<uint32_t>(static_cast<size_t>(count), step, store)) {
          scalar::LevelColourRun(destination, source, count, words, level);
        }
      });
}

void AlphaRowsVector(const RowBlock& block) {
  EachRow<uint32_t, true>(
      block, 4, [&](uint32_t* HWY_RESTRICT destination, const uint8_t* source, int32_t count) {
        const auto step = [&](auto d, size_t x) {
          const auto cel =
              hn::BitCast(d, hn::LoadU(hn::Repartition<uint8_t, decltype(d)>(), source + 4 * x));
          const auto beneath = hn::LoadU(d, destination + x);
          const auto transparent = hn::Eq(hn::ShiftRight<24>(cel), hn::Zero(d));
          return hn::IfThenElse(transparent, beneath, BlendAlpha(d, cel, beneath));
        };
        const auto store = [&](auto d, size_t x, auto v) { hn::StoreU(v, d, destination + x); };
        if (!AnyWidthRun<uint32_t>(static_cast<size_t>(count), step, store)) {
          scalar::AlphaRun(destination, source, count);
        }
      });
}
