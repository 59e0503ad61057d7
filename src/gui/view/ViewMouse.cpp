// The view's mouse: the left button picks up, drags and drops objects; the right button
// inspects.
//
// The drag's life is the session's: the view only turns its events into the session's calls
// and keeps what belongs to a window. Qt's implicit grab keeps the moves and the release with
// the view while the left button is down, also outside the window; captureHeld_ is the view's
// own record of whether that capture still counts. Whatever way it ends, the session hears of
// it (Release or PointerLost), so the object is dropped exactly once.
#include <QCursor>
#include <QMouseEvent>

#include "gui/view/CTavroView.h"

namespace tavro {

MapPoint CTavroView::MapPointAt(QPoint point) const {
  return Geometry().MapPointAt({point.x(), point.y()});
}

void CTavroView::FollowHeldObject(const SessionChange& change) {
  const ScrollPos target =
      Geometry().FollowHeldObject(change.ObjectBox, change.StepX, change.StepY);
  if (target != ScrollPosition()) ScrollForDrag(target);
}

void CTavroView::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    InspectObject(point);
  } else if (event->button() == Qt::LeftButton) {
    PressLeft(point);
  }
  event->accept();
}

// A quick second click is a click like any other: each one tugs at a fixed object and raises
// its events, however fast the user clicks.
void CTavroView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CTavroView::PressLeft(QPoint point) {
  captureHeld_ = true;
  // Moves without the button reach the view only while it tracks them; one of those means the
  // release went elsewhere.
  viewport()->setMouseTracking(true);
  const MapPoint at = MapPointAt(point);
  Apply(session_.Press(at.X, at.Y));
}

void CTavroView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (skipNextMove_) {
    // This move is the cursor jump of the last automatic scroll, not the user's.
    skipNextMove_ = false;
    return;
  }
  if (!captureHeld_ || !event->buttons().testFlag(Qt::LeftButton)) {
    EndCapture();
    Apply(session_.PointerLost());
    return;
  }
  const MapPoint at = MapPointAt(event->position().toPoint());
  Apply(session_.Move(at.X, at.Y));
}

void CTavroView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !captureHeld_) return;
  // The drop happens where the last move left the pointer; the release point is not tracked.
  EndCapture();
  Apply(session_.Release());
}

// A window that is no longer active gets no more of the pointer: a script's box took it, or
// the person went to another window.
void CTavroView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
    EndCapture();
    Apply(session_.PointerLost());
  }
  QAbstractScrollArea::changeEvent(event);
}

void CTavroView::EndCapture() {
  captureHeld_ = false;
  viewport()->setMouseTracking(false);
}

void CTavroView::ScrollForDrag(ScrollPos target) {
  const ScrollPos before = ScrollPosition();
  ScrollTo(target);  // the scroll bars keep it within their range
  const ScrollPos after = ScrollPosition();
  const QPoint scrolled(after.X - before.X, after.Y - before.Y);
  if (scrolled.isNull()) return;
  // The cursor goes back by as much as the picture moved, so it stays on the same map point
  // (also where the scroll stopped short at the picture's edge).
  QCursor::setPos(QCursor::pos() - scrolled);
  skipNextMove_ = true;
}

void CTavroView::InspectObject(QPoint point) {
  const MapPoint at = MapPointAt(point);
  std::string caption;
  std::string text;
  if (!session_.Inspect(at.X, at.Y, caption, text)) return;
  frame_.ShowPlainBox(text, caption);
}

}  // namespace tavro
