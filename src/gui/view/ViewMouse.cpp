// The view's mouse: the left button picks up, drags and drops objects; the
// right button inspects.
//
// Qt's implicit grab keeps the moves and the release with the view while the
// left button is down, also outside the window; CaptureHeld is the view's own
// record of whether that capture still counts. A drop must happen exactly once
// for each pick, whichever way the capture ends, or the object would stay held
// with the pointer confined to its narrowed bounds.
#include <QCursor>
#include <QMouseEvent>

#include "gui/view/CTavroView.h"

namespace tavro {

void CTavroView::TrackPointerAt(QPoint point) {
  const ScrollPos scroll = ScrollPosition();
  Doc.Pointer().Track(point.x(), point.y(), scroll.x, scroll.y);
}

MapRect CTavroView::VisibleZoomedRect() const {
  const ScrollPos scroll = ScrollPosition();
  const QSize client = viewport()->size();
  return {scroll.x, scroll.y, scroll.x + client.width(), scroll.y + client.height()};
}

void CTavroView::mousePressEvent(QMouseEvent *event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    InspectObject(point);
  } else if (event->button() == Qt::LeftButton) {
    PressLeft(point);
  }
  event->accept();
  ScheduleTimerPass();
  Frame.UpdateCommandStates();
}

// A quick second click is a click like any other: each one tugs at a fixed
// object and raises its events, however fast the user clicks.
void CTavroView::mouseDoubleClickEvent(QMouseEvent *event) { mousePressEvent(event); }

void CTavroView::PressLeft(QPoint point) {
  // A press while the capture still counts means its release went somewhere
  // else.
  if (CaptureHeld) LoseCapture();
  CaptureHeld = true;
  // Moves without the button reach the view only while it tracks them; one of
  // those means the release went elsewhere.
  viewport()->setMouseTracking(true);
  TrackPointerAt(point);
  ++MouseHandlerDepth;
  Doc.PressAtPointer();
  FlushAndRepaint();
  --MouseHandlerDepth;
  // A press action's "debug(" box can take the window's activity, and the
  // capture with it, before the object is even held; it is dropped as soon as
  // the press is done.
  if (!CaptureHeld) DropHeld();
}

void CTavroView::mouseMoveEvent(QMouseEvent *event) {
  event->accept();
  if (SkipNextMove) {
    // This move is the cursor jump of the last automatic scroll, not the
    // user's.
    SkipNextMove = false;
    return;
  }
  if (!CaptureHeld) return;
  if (!event->buttons().testFlag(Qt::LeftButton)) {
    LoseCapture();
    return;
  }
  TrackPointerAt(event->position().toPoint());
  if (Doc.Pointer().HeldSlot() == 0) return;
  const CTavroDoc::DragResult step = Doc.DragStep(CTavroDoc::DragPhase::Move, VisibleZoomedRect());
  InvalidateMapRect(step.redraw);
  if (step.limitReached) {
    // A fixed object pulled further than it gives: it is let go at once and
    // springs back; the real button-up later finds no capture.
    ReleaseCapture();
    DropHeld();
  }
  if (step.scroll) ScrollForDrag(step.scrollX, step.scrollY);
  ScheduleTimerPass();
}

void CTavroView::mouseReleaseEvent(QMouseEvent *event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !CaptureHeld) return;
  // The drop happens where the last move left the pointer; the release point is
  // not tracked.
  ReleaseCapture();
  DropHeld();
  ScheduleTimerPass();
  Frame.UpdateCommandStates();
}

void CTavroView::changeEvent(QEvent *event) {
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) LoseCapture();
  QAbstractScrollArea::changeEvent(event);
}

void CTavroView::LoseCapture() {
  if (!CaptureHeld) return;
  ReleaseCapture();
  // Inside a press or a drop (a script's message box is open) the handler drops
  // when it ends.
  if (MouseHandlerDepth > 0) return;
  DropHeld();
  ScheduleTimerPass();
  Frame.UpdateCommandStates();
}

void CTavroView::ReleaseCapture() {
  CaptureHeld = false;
  viewport()->setMouseTracking(false);
}

void CTavroView::DropHeld() {
  if (Doc.Pointer().HeldSlot() == 0) return;
  ++MouseHandlerDepth;
  InvalidateMapRect(Doc.DropHeldObject().redraw);
  FlushAndRepaint();
  --MouseHandlerDepth;
}

void CTavroView::ScrollForDrag(int32_t dx, int32_t dy) {
  const ScrollPos before = ScrollPosition();
  ScrollTo({before.x + dx, before.y + dy});  // the scroll bars keep it within their range
  const ScrollPos after = ScrollPosition();
  const QPoint scrolled(after.x - before.x, after.y - before.y);
  if (scrolled.isNull()) return;
  // The cursor goes back by as much as the picture moved, so it stays on the
  // same map point (also where the scroll stopped short at the picture's edge).
  QCursor::setPos(QCursor::pos() - scrolled);
  SkipNextMove = true;
}

void CTavroView::InspectObject(QPoint point) {
  TrackPointerAt(point);
  std::string caption;
  std::string text;
  if (!Doc.InspectAtPointer(caption, text)) return;
  Frame.ShowPlainBox(text, caption);
}

}  // namespace tavro
