// Rows with AVX-512: whole vectors, then the row's last, partial vector loaded and stored under
// a mask. Only the pixels a cel draws are stored, so a transparent pixel's map word is not even
// read. With VBMI's byte permutes, colours are looked up in registers, 64 at a time, instead of
// being gathered from memory a word at a time.
//
// Included by VectorRuns.cpp into each AVX-512 target's namespace, once per target: no include
// guard.

using Words512 = hn::Full512<uint32_t>;

// Of a group of `lanes` (16 or 64) pixels beginning at x, the ones inside a row of `count`.
HWY_INLINE uint64_t LanesInRow(int32_t count, int32_t x, int32_t lanes) {
  const int32_t left = count - x;
  if (left >= 64) return ~uint64_t{0};
  return left >= lanes ? (uint64_t{1} << lanes) - 1 : (uint64_t{1} << left) - 1;
}

// Stores 16 colour words where `drawn`, blended with the map beneath unless `level` is 0.
HWY_INLINE void PutColours(uint32_t* at, __mmask16 drawn, __m512i colours, uint32_t level) {
  if (level != 0) {
    const Words512 d;
    const hn::Vec512<uint32_t> beneath{_mm512_maskz_loadu_epi32(drawn, at)};
    colours = BlendLevel(d, hn::Vec512<uint32_t>{colours}, beneath, level).raw;
  }
  _mm512_mask_storeu_epi32(at, drawn, colours);
}

void OverlayIndexRowsVector(const RowBlock& block) {
  EachRow<uint8_t, false>(
      block, 1, [&](uint8_t* destination, const uint8_t* source, int32_t count) {
        for (int32_t x = 0; x < count; x += 64) {
          const __m512i cel = _mm512_maskz_loadu_epi8(LanesInRow(count, x, 64), source + x);
          _mm512_mask_storeu_epi8(destination + x, _mm512_test_epi8_mask(cel, cel), cel);
        }
      });
}

void AlphaRowsVector(const RowBlock& block) {
  const Words512 d;
  const __m512i alphaByte = _mm512_set1_epi32(static_cast<int32_t>(0xFF000000u));
  EachRow<uint32_t, true>(
      block, 4, [&](uint32_t* destination, const uint8_t* source, int32_t count) {
        for (int32_t x = 0; x < count; x += 16) {
          const auto inRow = static_cast<__mmask16>(LanesInRow(count, x, 16));
          const hn::Vec512<uint32_t> cel{_mm512_maskz_loadu_epi32(inRow, source + 4 * x)};
          const __mmask16 drawn = _mm512_test_epi32_mask(cel.raw, alphaByte);
          const hn::Vec512<uint32_t> beneath{_mm512_maskz_loadu_epi32(drawn, destination + x)};
          _mm512_mask_storeu_epi32(destination + x, drawn, BlendAlpha(d, cel, beneath).raw);
        }
      });
}

#if HWY_TARGET == HWY_AVX3_DL

// The 256 colour words as three byte planes (red, green, blue) of four registers each: a
// two-register byte permute looks up 128 entries, and the index's top bit picks the half.
struct ColourPlanes {
  __m512i Plane[3][4];
};

HWY_INLINE ColourPlanes SplitColours(const uint32_t* words) {
  const hn::Full512<uint8_t> d;
  ColourPlanes planes;
  for (int quarter = 0; quarter < 4; ++quarter) {
    hn::Vec512<uint8_t> red, green, blue, fourth;
    hn::LoadInterleaved4(d, reinterpret_cast<const uint8_t*>(words + 64 * quarter), red, green,
                         blue, fourth);
    planes.Plane[0][quarter] = red.raw;
    planes.Plane[1][quarter] = green.raw;
    planes.Plane[2][quarter] = blue.raw;
  }
  return planes;
}

// Unpacking bytes into words works within 128-bit blocks: byte 16b + 4q + e of the looked-up
// planes ends up as word 4b + e of output vector q. Indices are put in that order first, so
// that output vector q holds pixels 16q to 16q + 15 in order.
struct UnpackOrder {
  alignas(64) uint8_t At[64];
};
constexpr UnpackOrder MakeUnpackOrder() {
  UnpackOrder order{};
  for (int p = 0; p < 64; ++p)
    order.At[p] = static_cast<uint8_t>(16 * (p / 4 % 4) + 4 * (p / 16) + p % 4);
  return order;
}

// The colour words of 64 indices, 16 pixels to a vector, in order; fourth bytes 255.
HWY_INLINE void LookUp64(const ColourPlanes& planes, __m512i order, __m512i indices,
                         __m512i colours[4]) {
  const __m512i ordered = _mm512_permutexvar_epi8(order, indices);
  const __mmask64 upperHalf = _mm512_movepi8_mask(ordered);
  __m512i channel[3];
  for (int k = 0; k < 3; ++k) {
    const __m512i lower = _mm512_permutex2var_epi8(planes.Plane[k][0], ordered, planes.Plane[k][1]);
    const __m512i upper = _mm512_permutex2var_epi8(planes.Plane[k][2], ordered, planes.Plane[k][3]);
    channel[k] = _mm512_mask_blend_epi8(upperHalf, lower, upper);
  }
  const __m512i opaque = _mm512_set1_epi8(-1);
  const __m512i redGreenLow = _mm512_unpacklo_epi8(channel[0], channel[1]);
  const __m512i redGreenHigh = _mm512_unpackhi_epi8(channel[0], channel[1]);
  const __m512i blueLow = _mm512_unpacklo_epi8(channel[2], opaque);
  const __m512i blueHigh = _mm512_unpackhi_epi8(channel[2], opaque);
  colours[0] = _mm512_unpacklo_epi16(redGreenLow, blueLow);
  colours[1] = _mm512_unpackhi_epi16(redGreenLow, blueLow);
  colours[2] = _mm512_unpacklo_epi16(redGreenHigh, blueHigh);
  colours[3] = _mm512_unpackhi_epi16(redGreenHigh, blueHigh);
}

void LevelColourRowsVector(const RowBlock& block, const uint32_t* words, uint32_t level) {
  static constexpr UnpackOrder kOrder = MakeUnpackOrder();
  const ColourPlanes planes = SplitColours(words);
  const __m512i order = _mm512_load_si512(kOrder.At);
  EachRow<uint32_t, true>(
      block, 1, [&](uint32_t* destination, const uint8_t* source, int32_t count) {
        for (int32_t x = 0; x < count; x += 64) {
          const __m512i indices = _mm512_maskz_loadu_epi8(LanesInRow(count, x, 64), source + x);
          const __mmask64 drawn = _mm512_test_epi8_mask(indices, indices);
          if (drawn == 0) continue;
          __m512i colours[4];
          LookUp64(planes, order, indices, colours);
          for (int q = 0; q < 4; ++q) {
            const auto drawnHere = static_cast<__mmask16>(drawn >> (16 * q));
            if (drawnHere != 0) PutColours(destination + x + 16 * q, drawnHere, colours[q], level);
          }
        }
      });
}

#else  // AVX-512 without VBMI: colours gathered from memory

void LevelColourRowsVector(const RowBlock& block, const uint32_t* words, uint32_t level) {
  EachRow<uint32_t, true>(
      block, 1, [&](uint32_t* destination, const uint8_t* source, int32_t count) {
        for (int32_t x = 0; x < count; x += 16) {
          const auto inRow = static_cast<__mmask16>(LanesInRow(count, x, 16));
          const __m512i indices = _mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(inRow, source + x));
          const __mmask16 drawn = _mm512_test_epi32_mask(indices, indices);
          const __m512i colours = _mm512_or_si512(
              _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), drawn, indices, words, 4),
              _mm512_set1_epi32(static_cast<int32_t>(0xFF000000u)));
          PutColours(destination + x, drawn, colours, level);
        }
      });
}

#endif  // HWY_TARGET == HWY_AVX3_DL
