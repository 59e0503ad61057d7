// The area that script actions have changed and that waits to be recomposed. Actions only mark;
// whoever raised the event flushes and repaints, so a burst of actions composes once.
#include "document/CTavroDoc.h"

namespace tavro {

void CTavroDoc::MarkDirty(const MapRect& rect) {
  DirtyRect = UnionRect(DirtyRect, rect);
  DirtyFlag = true;
}

void CTavroDoc::MarkPlayfieldDirty() { MarkDirty({0, 0, PlayfieldWidth, PlayfieldHeight}); }

void CTavroDoc::FlushDirtyRect() {
  if (!DirtyRect.IsEmpty()) {
    ComposeRect(DirtyRect.left, DirtyRect.top, DirtyRect.Width(), DirtyRect.Height());
  }
  DirtyFlag = false;
  DirtyRect = {};
}

}  // namespace tavro
