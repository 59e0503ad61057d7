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

namespace tavro {

CTavroView::CTavroView(DocumentSession& session, ViewFrameLink& frame, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session), frame_(frame) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  QPalette grey = viewport()->palette();
  grey.setColor(QPalette::Window, kBackgroundGrey);
  grey.setColor(QPalette::Base, kBackgroundGrey);
  viewport()->setPalette(grey);
  viewport()->setBackgroundRole(QPalette::Window);
  viewport()->setAutoFillBackground(true);
  shrinkTimer_.setSingleShot(true);
  shrinkTimer_.setInterval(0);
  connect(&shrinkTimer_, &QTimer::timeout, this, &CTavroView::ShrinkFrameToPicture);
  passTimer_.setSingleShot(true);
  // Alarms are due to the millisecond; a coarse timer would add its slack to every period.
  passTimer_.setTimerType(Qt::PreciseTimer);
  connect(&passTimer_, &QTimer::timeout, this, &CTavroView::RunTimerPass);
  UpdateScrollSizes();
}

// The step of a drag is painted before the view follows the object, so the picture never shows
// the object where it was after scrolling. Any call may have armed or stopped alarms (a set's
// "set(" actions, a press's events), hence the timer pass is scheduled after every one.
void CTavroView::Apply(const SessionChange& change, bool choiceShowsAtOnce) {
  if (change.NewSet) zoom_ = kMinZoom;
  if (change.WholeView) RedrawWholeView();
  if (!change.Repaint.IsEmpty()) RepaintMapRect(change.Repaint);
  if (change.SetSwitched || (choiceShowsAtOnce && change.CommandsChanged)) {
    frame_.RefreshCommandStates();
  } else if (change.CommandsChanged) {
    frame_.UpdateCommandStates();
  }
  if (change.HeldMoved) FollowHeldObject(change);
  // A press that let an unseen release's object go may have picked up another: that one keeps
  // the capture the press took.
  if (change.Released && !session_.HoldsObject()) EndCapture();
  if (change.Scroll != ScrollRequest::None) ScrollByArrow(change.Scroll);
  ScheduleTimerPass();
}

void CTavroView::RedrawWholeView() {
  UpdateScrollSizes();
  ScrollTo({0, 0});
  viewport()->update();
}

ViewSize CTavroView::ContentSize() const {
  if (!Doc().IsSetLoaded()) return {1, 1};
  return {zoom_ * Doc().Set().PlayfieldWidth(), zoom_ * Doc().Set().PlayfieldHeight()};
}

ScrollPos CTavroView::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CTavroView::ScrollTo(ScrollPos pos) {
  horizontalScrollBar()->setValue(pos.X);
  verticalScrollBar()->setValue(pos.Y);
}

ViewGeometry CTavroView::Geometry() const {
  const QSize client = viewport()->size();
  return ViewGeometry(zoom_, ScrollPosition(), {client.width(), client.height()});
}

void CTavroView::UpdateScrollSizes() {
  const ViewSize total = ContentSize();
  // Scroll bars shown for a smaller window would keep themselves (they narrow the viewport);
  // a picture that fits the view without them needs none.
  const bool fitsWithoutBars = total.Width <= width() && total.Height <= height();
  const QSize client = fitsWithoutBars ? size() : viewport()->size();
  const ScrollPos limit = MaxScroll(total, {client.width(), client.height()});
  horizontalScrollBar()->setRange(0, limit.X);
  verticalScrollBar()->setRange(0, limit.Y);
  // A page is a tenth of the picture, a line a hundredth, as arrow keys and clicks expect.
  horizontalScrollBar()->setPageStep(std::max(1, total.Width / 10));
  verticalScrollBar()->setPageStep(std::max(1, total.Height / 10));
  horizontalScrollBar()->setSingleStep(std::max(1, total.Width / 100));
  verticalScrollBar()->setSingleStep(std::max(1, total.Height / 100));
}

void CTavroView::SelectSet(int set) { Apply(session_.SelectSet(set), true); }

void CTavroView::SelectGroup(int group) { Apply(session_.SelectGroup(group)); }

// One set at a time rather than the session's TestAllSets, which hands back the changes of all
// ten at once: each set is painted and its button shown as it comes.
void CTavroView::TestAllSets() {
  for (int set = 0; set < kSetCount; ++set) SelectSet(set);
}

void CTavroView::SetZoom(int factor) {
  const QSize client = viewport()->size();
  const ScrollPos target =
      ZoomScrollTarget({client.width(), client.height()}, ScrollPosition(), zoom_, factor,
                       {Doc().Set().PlayfieldWidth(), Doc().Set().PlayfieldHeight()});
  zoom_ = factor;
  viewport()->update();
  UpdateScrollSizes();
  ScrollTo(target);
}

void CTavroView::FitFrameToPlayfield() {
  shrinkTimer_.stop();
  toolbarHeightSeen_ = frame_.ToolbarShown() ? kToolbarHeight : 0;
  QWidget* frame = frame_.FrameWindow();
  if (frame->layout() != nullptr) frame->layout()->activate();
  // Chrome is everything of the frame that is not the view: decorations, menu bar, toolbar.
  const QRect outer = frame->frameGeometry();
  const QSize decorations = outer.size() - frame->size();
  const QSize chrome = outer.size() - size();
  const ViewSize content{Doc().Set().PlayfieldWidth() * zoom_,
                         Doc().Set().PlayfieldHeight() * zoom_};
  ViewSize room{INT32_MAX / 2, INT32_MAX / 2};
  if (QScreen* screen = frame->screen()) {
    const QRect area = screen->geometry();
    room = {area.right() + 1 - outer.left(), area.bottom() + 1 - outer.top()};
  }
  const ViewSize fitted = FitFrameSize(content, {chrome.width(), chrome.height()}, room);
  frame->resize(std::max(1, fitted.Width - decorations.width()),
                std::max(1, fitted.Height - decorations.height()));
  UpdateScrollSizes();
  viewport()->update();
}

void CTavroView::RepaintNow() {
  viewport()->update();
  viewport()->repaint();
}

void CTavroView::RepaintMapRect(const MapRect& mapRect) {
  const WindowRect shown = Geometry().WindowRectOf(mapRect);
  // Only the changed rectangle, and now: a drag step must show before the next move arrives.
  if (!shown.IsEmpty())
    viewport()->repaint(QRect(shown.Left, shown.Top, shown.Width(), shown.Height()));
}

void CTavroView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const ViewGeometry geometry = Geometry();
  const QRect clip = event->rect();
  DrawCompositeMap(painter, Doc(), geometry,
                   {clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1});
  DrawBackgroundStrips(painter, Doc(), geometry);
}

void CTavroView::resizeEvent(QResizeEvent* event) {
  UpdateScrollSizes();
  FollowToolbarVisibility();
  QAbstractScrollArea::resizeEvent(event);
}

void CTavroView::FollowToolbarVisibility() {
  const int seen = frame_.ToolbarShown() ? kToolbarHeight : 0;
  if (seen == toolbarHeightSeen_) return;
  frame_.StoreToolbarVisible(seen != 0);
  toolbarHeightSeen_ = seen;
  // Resizing the frame from inside its own layout pass would nest; do it right after.
  shrinkTimer_.start();
  viewport()->update();
}

void CTavroView::ShrinkFrameToPicture() {
  QWidget* frame = frame_.FrameWindow();
  const int chromeHeight = frame->height() - height();
  const int wanted = chromeHeight + Doc().Set().PlayfieldHeight() * zoom_;
  if (wanted < frame->height()) frame->resize(frame->width(), std::max(1, wanted));
}

// Digits choose their set, with the buttons shown at once, and arrows come back as a scroll.
void CTavroView::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (!ReachesKeyHandling(event->key(), event->modifiers())) return;
  Apply(session_.Key(VirtualKeyCode(*event)), true);
}

void CTavroView::ScrollByArrow(ScrollRequest request) {
  ArrowKey arrow = ArrowKey::Left;
  switch (request) {
    case ScrollRequest::None:
      return;
    case ScrollRequest::Left:
      arrow = ArrowKey::Left;
      break;
    case ScrollRequest::Up:
      arrow = ArrowKey::Up;
      break;
    case ScrollRequest::Right:
      arrow = ArrowKey::Right;
      break;
    case ScrollRequest::Down:
      arrow = ArrowKey::Down;
      break;
  }
  const QSize client = viewport()->size();
  ScrollTo(
      ArrowScrollTarget(arrow, {client.width(), client.height()}, ScrollPosition(), ContentSize()));
}

void CTavroView::scrollContentsBy(int, int) { viewport()->update(); }

void CTavroView::ShowInformation() {
  // An empty caption shows the application title.
  frame_.ShowPlainBox(session_.InformationText(), std::string());
}

void CTavroView::AdjustObjects() { Apply(session_.AdjustObjects()); }

}  // namespace tavro
