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
#include <algorithm>

#include "gui/view/CTavroView.h"

namespace tavro {

// Division truncates toward zero, as the view always did; the session holds the point within
// where the pointer may go.
QPoint CTavroView::MapPointAt(QPoint point) const {
  const ScrollPos scroll = ScrollPosition();
  const int zoom = std::max(1, zoom_);
  return {(point.x() + scroll.x) / zoom, (point.y() + scroll.y) / zoom};
}

// The view scrolls by the held object's step when the object reaches past the visible part in
// the direction it moved. (Which step counts at a fixed object's limit is decided here.)
void CTavroView::FollowHeldObject(const SessionChange &change) {
  if (!change.HeldMoved) return;
  const int zoom = std::max(1, zoom_);
  const ScrollPos scroll = ScrollPosition();
  const QSize client = viewport()->size();
  const MapRect shown{scroll.x / zoom, scroll.y / zoom, (scroll.x + client.width()) / zoom,
                      (scroll.y + client.height()) / zoom};
  const MapRect &box = change.ObjectBox;
  const bool leaves = (box.left < shown.left && change.StepX < 0) ||
                      (box.right > shown.right && change.StepX > 0) ||
                      (box.top < shown.top && change.StepY < 0) ||
                      (box.bottom > shown.bottom && change.StepY > 0);
  if (leaves) ScrollForDrag(change.StepX * zoom, change.StepY * zoom);
}

void CTavroView::mousePressEvent(QMouseEvent *event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    InspectObject(point);
  } else if (event->button() == Qt::LeftButton) {
    PressLeft(point);
  }
  event->accept();
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
  const QPoint at = MapPointAt(point);
  ++MouseHandlerDepth;
  Session.Press(at.x(), at.y());
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
  const QPoint at = MapPointAt(event->position().toPoint());
  const bool held = Session.HoldsObject();
  // The session repaints the step at once through the notices.
  const SessionChange step = Session.Move(at.x(), at.y());
  if (!held) return;
  if (step.LimitReached) {
    // A fixed object pulled further than it gives: it is let go at once and
    // springs back; the real button-up later finds no capture. The spring-back
    // is the last step of the drag, so it, not the pull, decides the scroll.
    ReleaseCapture();
    FollowHeldObject(DropHeld());
  } else {
    FollowHeldObject(step);
  }
}

void CTavroView::mouseReleaseEvent(QMouseEvent *event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !CaptureHeld) return;
  // The drop happens where the last move left the pointer; the release point is
  // not tracked.
  ReleaseCapture();
  DropHeld();
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
}

void CTavroView::ReleaseCapture() {
  CaptureHeld = false;
  viewport()->setMouseTracking(false);
}

SessionChange CTavroView::DropHeld() {
  if (!Session.HoldsObject()) return {};
  ++MouseHandlerDepth;
  const SessionChange drop = Session.Release();
  --MouseHandlerDepth;
  return drop;
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
  const QPoint at = MapPointAt(point);
  std::string caption;
  std::string text;
  if (!Session.Inspect(at.x(), at.y(), caption, text)) return;
  Frame.ShowPlainBox(text, caption);
}

}  // namespace tavro
