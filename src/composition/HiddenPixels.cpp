// What cels above hide. A deep set draws many more cel pixels than its picture holds, and in
// true colour each costs a lookup and a blend; a pixel that a cel above draws opaque comes out
// the same whatever lay beneath it, so those beneath need not be drawn there at all.
//
// The cels are visited top first over a coverage byte a pixel of the rectangle: each cel row
// keeps the span from its first to its last pixel not yet covered, and an opaque cel then
// covers its pixels within that span. Drawing, lowest first, takes only the spans; a row that
// is covered from end to end costs one look at its coverage.
#include "composition/CelDrawing.h"

namespace tavro::compose {

namespace {

RowBlock CoverageRows(HiddenPixels& work, const MapRect& rect, const CelToDraw& cel, int bytes) {
  uint8_t* coverage = work.Coverage.data() +
                      static_cast<size_t>(cel.Region.MapTop - rect.Top) * rect.Width() +
                      (cel.Region.MapLeft - rect.Left);
  RowBlock rows = CelRows(coverage, rect.Width(), *cel.Cell, cel.Region, bytes);
  rows.Spans = work.Spans.data() + cel.FirstSpan;
  return rows;
}

}  // namespace

void FindSeenSpans(const MapRect& rect, HiddenPixels& work) {
  work.Coverage.assign(static_cast<size_t>(rect.Width()) * rect.Height(), 0);
  size_t rows = 0;
  for (const CelToDraw& cel : work.Cels) rows += static_cast<size_t>(cel.Region.Height);
  work.Spans.resize(rows);
  // The spans lie in drawing order too, so that drawing reads them forward.
  size_t at = rows;
  for (size_t k = work.Cels.size(); k-- > 0;) {
    CelToDraw& cel = work.Cels[k];
    at -= static_cast<size_t>(cel.Region.Height);
    cel.FirstSpan = at;
    RowBlock block = CoverageRows(work, rect, cel, 1);
    auto* coverage = static_cast<const uint8_t*>(block.Destination);
    cel.Seen = false;
    for (int32_t j = 0; j < cel.Region.Height; ++j) {
      const RowSpan span =
          UncoveredSpan(coverage + static_cast<ptrdiff_t>(j) * rect.Width(), cel.Region.Width);
      work.Spans[at + j] = span;
      cel.Seen = cel.Seen || span.Begin < span.End;
    }
    if (!cel.Seen) continue;
    if (cel.Cell->BitsPerPixel == 24) {
      CoverAlphaRows(CoverageRows(work, rect, cel, 4));
    } else if (LevelOf(*cel.Cell) == 0) {
      CoverIndexRows(block);
    }
  }
}

}  // namespace tavro::compose
