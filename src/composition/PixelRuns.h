// The composer's inner loops: a block of rows of one cel drawn into rows of the map. The vector
// code the composer calls is in compose::; compose::scalar:: holds the rules one row and one
// pixel at a time, which the vector code must match bit for bit and which runs where the build
// has no vector code.
//
// True-colour rows are the map's words: red, green, blue and a fourth byte. Every pixel a run
// draws comes out with its fourth byte 255; a pixel left alone keeps what it had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tavro::compose {

// The columns [Begin, End) of one row that a run touches; empty when End <= Begin.
struct RowSpan {
  uint16_t Begin = 0;
  uint16_t End = 0;
};

// `rows` rows of `count` pixels. Each destination row begins `destinationStride` bytes after the
// one before, and each source row `sourceStride` bytes after its own (negative for a cel, whose
// rows are stored bottom-up). The vector code asks for source rows from memory some rows before
// it draws them.
//
// With `Spans` (one a row, within [0, count)), the true-colour drawing and the covering runs
// touch only each row's span and skip rows whose span is empty; the 256-colour overlay and
// packing take whole rows.
struct RowBlock {
  void* Destination = nullptr;
  ptrdiff_t DestinationStride = 0;
  const uint8_t* Source = nullptr;
  ptrdiff_t SourceStride = 0;
  int32_t Count = 0;
  int32_t Rows = 0;
  const RowSpan* Spans = nullptr;
};

// Non-zero cel indices replace the map's; 0 leaves it alone.
void OverlayIndexRows(const RowBlock& block);
// Non-zero cel indices become their colour word in `words` (256 entries of red, green, blue; the
// fourth byte is not read), blended as (colour * (256 - level) + beneath * level) >> 8 a channel,
// `level` 0..255 (0: the colour itself); 0 leaves the map alone.
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level);
// 32-bit cel pixels (blue, green, red, alpha: the cel file's order) blended by their alpha: 0
// leaves the map alone, 255 copies the cel's colour, others blend as
// (cel * alpha + beneath * (255 - alpha)) >> 8 a channel.
void AlphaRows(const RowBlock& block);
// Coverage rows, one bit a map pixel (bit x of a row in bit x % 8 of its byte x / 8, the rows
// 64-bit words long with at least one word to spare after the last): 0 where nothing opaque has
// been found yet, 1 where a cel hides what lies beneath. The destination is the first coverage
// row, the source a cel's pixels, indexed (non-zero covers) or 32-bit (alpha 255 covers); the
// block's column 0 is bit `firstBit` of each row. Other bits keep what they had.
void CoverIndexRows(const RowBlock& block, int32_t firstBit);
void CoverAlphaRows(const RowBlock& block, int32_t firstBit);
// Bits [first, first + count) of a coverage row: the columns (counted from `first`) from the
// first 0 to the last 0, both included; empty when every bit is 1.
RowSpan UncoveredSpan(const uint64_t* coverage, int32_t first, int32_t count);

// Map words into 3-byte pixels for what leaves the program: red, green, blue (pictures and
// recordings) or blue, green, red (the clipboard's bitmap).
void PackRgbRows(const RowBlock& block);
void PackBgrRows(const RowBlock& block);

// Asks memory for `rows` rows of `bytes` bytes, each `stride` bytes after the one before, without
// waiting for them. A hint: it reads nothing and never faults.
void AskForRows(const uint8_t* first, ptrdiff_t stride, int32_t bytes, int32_t rows);

// Calls `body` once for each instruction set the runs were built for that this processor has,
// with the runs using it, and leaves the best one chosen afterwards. Builds without vector code
// call it once, "scalar".
void ForEachRunTarget(const std::function<void(const char* name)>& body);

namespace scalar {
void OverlayIndexRun(uint8_t* destination, const uint8_t* source, int32_t count);
void OpaqueColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                     const uint32_t* words);
void LevelColourRun(uint32_t* destination, const uint8_t* source, int32_t count,
                    const uint32_t* words, uint32_t level);
void AlphaRun(uint32_t* destination, const uint8_t* source, int32_t count);
void PackRgbRun(uint8_t* destination, const uint8_t* source, int32_t count);
void PackBgrRun(uint8_t* destination, const uint8_t* source, int32_t count);
void CoverIndexRun(uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count);
void CoverAlphaRun(uint8_t* coverage, int32_t bit, const uint8_t* source, int32_t count);

// The runs above over each row of a block, in order.
void OverlayIndexRows(const RowBlock& block);
void LevelColourRows(const RowBlock& block, const uint32_t* words, uint32_t level);
void AlphaRows(const RowBlock& block);
void PackRgbRows(const RowBlock& block);
void PackBgrRows(const RowBlock& block);
void CoverIndexRows(const RowBlock& block, int32_t firstBit);
void CoverAlphaRows(const RowBlock& block, int32_t firstBit);
}  // namespace scalar

}  // namespace tavro::compose
