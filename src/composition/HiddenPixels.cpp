// What cels above hide. A deep set draws many more cel pixels than its picture holds, and in
// true colour each costs a lookup and a blend; a pixel that a cel above draws opaque comes out
// the same whatever lay beneath it, so those beneath need not be drawn there at all.
//
// The cels are visited top first over a coverage bit a pixel of the rectangle (small enough to
// stay in the caches): each cel row keeps the span from its first to its last pixel not yet
// covered, and an opaque cel then covers its pixels within that span. Drawing, lowest first,
// takes only the spans; a row that is covered from end to end costs a look at a few words.
#include "composition/CelDrawing.h"

namespace tavro::compose {

void FindSeenSpans(const MapRect& rect, HiddenPixels& work) {
  // A word to spare after each row, so that the covering runs may write a word at any bit.
  const auto rowWords = static_cast<size_t>(rect.Width()) / 64 + 2;
  const auto rowBytes = static_cast<ptrdiff_t>(rowWords * 8);
  work.Coverage.assign(rowWords * rect.Height(), 0);
  size_t rows = 0;
  for (const CelToDraw& cel : work.Cels) rows += static_cast<size_t>(cel.Region.Height);
  work.Spans.resize(rows);
  // The spans lie in drawing order too, so that drawing reads them forward.
  size_t at = rows;
  for (size_t k = work.Cels.size(); k-- > 0;) {
    CelToDraw& cel = work.Cels[k];
    at -= static_cast<size_t>(cel.Region.Height);
    cel.FirstSpan = at;
    const int32_t firstBit = cel.Region.MapLeft - rect.Left;
    uint64_t* coverage =
        work.Coverage.data() + static_cast<size_t>(cel.Region.MapTop - rect.Top) * rowWords;
    cel.Seen = false;
    for (int32_t j = 0; j < cel.Region.Height; ++j) {
      const RowSpan span = UncoveredSpan(coverage + j * rowWords, firstBit, cel.Region.Width);
      work.Spans[at + j] = span;
      cel.Seen = cel.Seen || span.Begin < span.End;
    }
    const bool alpha = cel.Cell->BitsPerPixel == 24;
    if (!cel.Seen || (!alpha && LevelOf(*cel.Cell) != 0)) continue;
    RowBlock block = CelRows(coverage, rowBytes, *cel.Cell, cel.Region, alpha ? 4 : 1);
    block.Spans = work.Spans.data() + at;
    if (alpha) {
      CoverAlphaRows(block, firstBit);
    } else {
      CoverIndexRows(block, firstBit);
    }
  }
}

}  // namespace tavro::compose
