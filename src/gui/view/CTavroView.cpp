#include "gui/view/CTavroView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "gui/view/MapDisplay.h"
#include "gui/view/VirtualKeys.h"
#include "interaction/FixOverride.h"

namespace tavro {

CTavroView::CTavroView(CTavroDoc& doc, ViewFrameLink& frame, QWidget* parent)
    : QAbstractScrollArea(parent), Doc(doc), Frame(frame), Session(doc, doc.host(), doc.notices()) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  QPalette grey = viewport()->palette();
  grey.setColor(QPalette::Window, kBackgroundGrey);
  grey.setColor(QPalette::Base, kBackgroundGrey);
  viewport()->setPalette(grey);
  viewport()->setBackgroundRole(QPalette::Window);
  viewport()->setAutoFillBackground(true);
  ShrinkTimer.setSingleShot(true);
  ShrinkTimer.setInterval(0);
  connect(&ShrinkTimer, &QTimer::timeout, this, &CTavroView::ShrinkFrameToPicture);
  PassTimer.setSingleShot(true);
  // Alarms are due to the millisecond; a coarse timer would add its slack to every period.
  PassTimer.setTimerType(Qt::PreciseTimer);
  connect(&PassTimer, &QTimer::timeout, this, &CTavroView::RunTimerPass);
  Session.FollowEachChange([this](const SessionChange& change) { FollowSessionChange(change); });
  UpdateScrollSizes();
}

// Any call may have armed or stopped alarms (a set's "set(" actions, a press's events) and may
// have switched the set or the colour group (scripts do both from timers and mouse events).
void CTavroView::FollowSessionChange(const SessionChange& change) {
  // The switched set's buttons show at once, with the picture.
  if (change.SetSwitched) Frame.RefreshCommandStates();
  ScheduleTimerPass();
  Frame.UpdateCommandStates();
}

ViewSize CTavroView::ContentSize() const {
  if (!Doc.IsSetLoaded()) return {1, 1};
  return {zoom_ * Doc.Set().PlayfieldWidth(), zoom_ * Doc.Set().PlayfieldHeight()};
}

ScrollPos CTavroView::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CTavroView::ScrollTo(ScrollPos pos) {
  horizontalScrollBar()->setValue(pos.x);
  verticalScrollBar()->setValue(pos.y);
}

void CTavroView::UpdateScrollSizes() {
  const ViewSize total = ContentSize();
  // Scroll bars shown for a smaller window would keep themselves (they narrow the viewport);
  // a picture that fits the view without them needs none.
  const bool fitsWithoutBars = total.width <= width() && total.height <= height();
  const QSize client = fitsWithoutBars ? size() : viewport()->size();
  const ScrollPos limit = MaxScroll(total, {client.width(), client.height()});
  horizontalScrollBar()->setRange(0, limit.x);
  verticalScrollBar()->setRange(0, limit.y);
  // A page is a tenth of the picture, a line a hundredth, as arrow keys and clicks expect.
  horizontalScrollBar()->setPageStep(std::max(1, total.width / 10));
  verticalScrollBar()->setPageStep(std::max(1, total.height / 10));
  horizontalScrollBar()->setSingleStep(std::max(1, total.width / 100));
  verticalScrollBar()->setSingleStep(std::max(1, total.height / 100));
}

void CTavroView::SelectSet(int set) {
  if (!Session.IsSetAvailable(set)) return;
  Frame.RefreshCommandStates();
  // The document repaints the switched set at once through the notices.
  Session.SelectSet(set);
}

void CTavroView::SelectGroup(int group) { Session.SelectGroup(group); }

void CTavroView::TestAllSets() {
  for (int set = 0; set < kSetCount; ++set) SelectSet(set);
}

void CTavroView::SetZoom(int factor) {
  const QSize client = viewport()->size();
  const int oldZoom = zoom_;
  const ScrollPos target =
      ZoomScrollTarget({client.width(), client.height()}, ScrollPosition(), oldZoom, factor,
                       {Doc.Set().PlayfieldWidth(), Doc.Set().PlayfieldHeight()});
  zoom_ = factor;
  viewport()->update();
  UpdateScrollSizes();
  ScrollTo(target);
}

void CTavroView::FitFrameToPlayfield() {
  ShrinkTimer.stop();
  ToolbarHeightSeen = Frame.ToolbarShown() ? kToolbarHeight : 0;
  QWidget* frame = Frame.FrameWindow();
  if (frame->layout() != nullptr) frame->layout()->activate();
  // Chrome is everything of the frame that is not the view: decorations, menu bar, toolbar.
  const QRect outer = frame->frameGeometry();
  const QSize decorations = outer.size() - frame->size();
  const QSize chrome = outer.size() - size();
  const ViewSize content{Doc.Set().PlayfieldWidth() * zoom_, Doc.Set().PlayfieldHeight() * zoom_};
  ViewSize room{INT32_MAX / 2, INT32_MAX / 2};
  if (QScreen* screen = frame->screen()) {
    const QRect area = screen->geometry();
    room = {area.right() + 1 - outer.left(), area.bottom() + 1 - outer.top()};
  }
  const ViewSize fitted = FitFrameSize(content, {chrome.width(), chrome.height()}, room);
  frame->resize(std::max(1, fitted.width - decorations.width()),
                std::max(1, fitted.height - decorations.height()));
  UpdateScrollSizes();
  viewport()->update();
}

void CTavroView::RepaintNow() {
  viewport()->update();
  viewport()->repaint();
}

void CTavroView::InvalidateWholeView(bool scrollToOrigin) {
  UpdateScrollSizes();
  if (scrollToOrigin) ScrollTo({0, 0});
  viewport()->update();
  // Called after every load and File New: the new set's alarms start, or the old ones stop.
  ScheduleTimerPass();
  Frame.UpdateCommandStates();
}

void CTavroView::RepaintMapRect(const MapRect& mapRect) {
  const int z = zoom_;
  const ScrollPos scroll = ScrollPosition();
  const QRect device(mapRect.left * z - scroll.x, mapRect.top * z - scroll.y, mapRect.Width() * z,
                     mapRect.Height() * z);
  const QRect visible = device.intersected(viewport()->rect());
  // Only the changed rectangle, and now: a drag step must show before the next move arrives.
  if (!visible.isEmpty()) viewport()->repaint(visible);
}

void CTavroView::InvalidateMapRect(const std::optional<MapRect>& mapRect) {
  if (mapRect) RepaintMapRect(*mapRect);
}

// The document hands the flushed rectangle to the Host, which passes it back to RepaintMapRect.
void CTavroView::FlushAndRepaint() { Session.Flush(); }

void CTavroView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const ScrollPos scroll = ScrollPosition();
  const QRect logicalClip = event->rect().translated(scroll.x, scroll.y);
  DrawCompositeMap(painter, Doc, zoom_, logicalClip, QPoint(-scroll.x, -scroll.y));
  DrawBackgroundStrips(painter, Doc, zoom_, viewport()->size(), QPoint(scroll.x, scroll.y));
}

void CTavroView::resizeEvent(QResizeEvent* event) {
  UpdateScrollSizes();
  FollowToolbarVisibility();
  QAbstractScrollArea::resizeEvent(event);
}

void CTavroView::FollowToolbarVisibility() {
  const int seen = Frame.ToolbarShown() ? kToolbarHeight : 0;
  if (seen == ToolbarHeightSeen) return;
  Frame.StoreToolbarVisible(seen != 0);
  ToolbarHeightSeen = seen;
  // Resizing the frame from inside its own layout pass would nest; do it right after.
  ShrinkTimer.start();
  viewport()->update();
}

void CTavroView::ShrinkFrameToPicture() {
  QWidget* frame = Frame.FrameWindow();
  const int chromeHeight = frame->height() - height();
  const int wanted = chromeHeight + Doc.Set().PlayfieldHeight() * zoom_;
  if (wanted < frame->height()) frame->resize(frame->width(), std::max(1, wanted));
}

void CTavroView::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (!ReachesKeyHandling(event->key(), event->modifiers())) return;
  const int32_t code = VirtualKeyCode(*event);
  int set = -1;
  if (code >= '0' && code <= '9') set = code - '0';
  if (code >= kVkNumpad0 && code <= kVkNumpad0 + 9) set = code - kVkNumpad0;
  if (Session.IsSetAvailable(set)) Frame.RefreshCommandStates();
  // The session feeds the key sequence that lifts fixing and switches sets on digits.
  Session.Key(code);
  if (set < 0) ScrollByArrow(code);
}

bool CTavroView::ScrollByArrow(int32_t virtualKey) {
  ArrowKey arrow;
  switch (virtualKey) {
    case kVkLeft:
      arrow = ArrowKey::Left;
      break;
    case kVkUp:
      arrow = ArrowKey::Up;
      break;
    case kVkRight:
      arrow = ArrowKey::Right;
      break;
    case kVkDown:
      arrow = ArrowKey::Down;
      break;
    default:
      return false;
  }
  const QSize client = viewport()->size();
  ScrollTo(
      ArrowScrollTarget(arrow, {client.width(), client.height()}, ScrollPosition(), ContentSize()));
  return true;
}

void CTavroView::scrollContentsBy(int, int) { viewport()->update(); }

// Help > Information and Option > Adjust Object, as the view runs them.
void CTavroView::ShowInformation() {
  // An empty caption shows the application title.
  Frame.ShowPlainBox(Doc.InformationText(), std::string());
}

void CTavroView::AdjustObjects() {
  // The document raises the current set's "set(" and repaints the whole picture itself.
  Session.AdjustObjects();
}

}  // namespace tavro
