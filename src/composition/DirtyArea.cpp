// The area that script actions have changed and that waits to be recomposed. Actions only mark;
// whoever raised the event flushes and repaints, so a burst of actions composes once.
#include "composition/Composer.h"
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::MarkDirty(const MapRect& rect) { Composed.MarkDirty(rect); }

void CTavroDoc::MarkPlayfieldDirty() { MarkDirty({0, 0, PlayfieldWidth, PlayfieldHeight}); }

void CTavroDoc::FlushDirtyRect() {
  const MapRect area = Composed.TakeDirtyArea();
  if (!area.IsEmpty()) compose::ComposeRect(*this, Composed, area, Pointing.HeldSlot());
}

void CTavroDoc::ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::ComposeRect(*this, Composed, compose::RectOfSpan(left, top, width, height),
                       Pointing.HeldSlot());
}

void CTavroDoc::DrawCellsInRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  compose::DrawCellsInRect(*this, Composed, compose::RectOfSpan(left, top, width, height));
}

}  // namespace tavro
