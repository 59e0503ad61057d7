// CTavroView: the one view of the one document. Shows the composed map zoomed and scrolled,
// switches sets and colour groups, zooms, scrolls with the arrow keys and fits the frame to the
// picture; turns the mouse into picking, dragging and inspection; drives the script alarms from
// one timer. It owns nothing of the set; it keeps only window state, and it reaches the document
// only through the session, whose every change it applies in one place (Apply).
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include "document/DocumentSession.h"
#include "gui/view/ViewGeometry.h"

namespace tavro {

// What the view needs from the frame around it, so the view does not depend on the shell.
class ViewFrameLink {
 public:
  virtual ~ViewFrameLink() = default;
  // Refresh every menu item's and toolbar button's state now and repaint the frame at once.
  virtual void RefreshCommandStates() = 0;
  // Evaluate every menu item's and toolbar button's state now; what changed repaints in time.
  // Scripts switch sets and colour groups from timers and mouse events, not only commands.
  virtual void UpdateCommandStates() = 0;
  // Is the frame's toolbar shown (not hidden by the user)?
  virtual bool ToolbarShown() const = 0;
  // The toolbar was shown or hidden since the view last looked; remember it as the setting.
  virtual void StoreToolbarVisible(bool visible) = 0;
  // The top-level window the view sits in.
  virtual QWidget* FrameWindow() = 0;
  // A plain modal box (no icon) with an OK button; an empty caption means the application title.
  virtual void ShowPlainBox(const std::string& text, const std::string& caption) = 0;
};

class CTavroView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // `session` and `frame` must outlive the view. Until a set is loaded the view shows a picture
  // of 1 x 1.
  CTavroView(DocumentSession& session, ViewFrameLink& frame, QWidget* parent = nullptr);

  const CTavroDoc& Doc() const { return session_.Doc(); }
  DocumentSession& Session() { return session_; }

  // Shows what one session call changed: repaints, zoom reset, command states, following the
  // held object, the capture's end, arrow scrolling; then schedules the next timer pass. Every
  // session call of the view and the shell goes through here. A person's choice of a set
  // (`choiceShowsAtOnce`) shows on the buttons at once, also when it is the set already shown.
  void Apply(const SessionChange& change, bool choiceShowsAtOnce = false);
  // The whole picture redrawn, scrolled back to the origin. After an open has emptied the
  // document (the open itself returns no change), this shows the grey background until the
  // set starts.
  void RedrawWholeView();

  // Set and colour switching, through the session.
  void SelectSet(int set);
  void SelectGroup(int group);
  // Every set in use in turn, each painted as it comes.
  void TestAllSets();

  // Zoom: window pixels per map pixel side. `factor` is taken as given; callers keep it in
  // range. The scroll keeps the map point at the window's centre where it can.
  int Zoom() const { return zoom_; }
  void SetZoom(int factor);
  // Run after every open or new document: the frame is sized to show the whole picture,
  // never past the screen's right or bottom edge.
  void FitFrameToPlayfield();
  // The zoom, scroll position and client area as they are now: the one conversion between
  // window and map.
  ViewGeometry Geometry() const;

  void RepaintNow();

  // Mouse (ViewMouse.cpp). The left button takes the capture whether or not it picks anything;
  // the capture ends at button up, when the window stops being active, when a move shows that
  // the release went elsewhere, or when the session lets the held object go.
  bool HoldsCapture() const { return captureHeld_; }
  bool SkipsNextMove() const { return skipNextMove_; }
  // Right-button inspection at a point of the viewport: "Object No.%d" and its cel lines.
  void InspectObject(QPoint point);

  // Help > Information and Option > Adjust Object.
  void ShowInformation();
  void AdjustObjects();

  // The script alarms (ViewTimer.cpp). One single-shot timer, armed for when the next pass has
  // something to do; with no slot armed and nothing dirty it is stopped, so an idle window never
  // wakes. Apply schedules it after every session call.
  void ScheduleTimerPass();
  void RunTimerPass();
  const QTimer& AlarmTimer() const { return passTimer_; }

  ViewSize ContentSize() const;
  ScrollPos ScrollPosition() const;
  void ScrollTo(ScrollPos pos);
  int ToolbarHeight() const { return toolbarHeightSeen_; }

  static constexpr int kToolbarHeight = 23;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateScrollSizes();
  void FollowToolbarVisibility();
  void ShrinkFrameToPicture();
  void RepaintMapRect(const MapRect& mapRect);
  void ScrollByArrow(ScrollRequest request);
  MapPoint MapPointAt(QPoint point) const;
  void FollowHeldObject(const SessionChange& change);
  void PressLeft(QPoint point);
  void EndCapture();
  void ScrollForDrag(ScrollPos target);

  DocumentSession& session_;
  ViewFrameLink& frame_;
  int toolbarHeightSeen_ = 0;
  QTimer shrinkTimer_;  // the frame is shrunk after the layout pass that showed the change
  QTimer passTimer_;    // the next timer pass of the script alarms
  bool captureHeld_ = false;
  bool skipNextMove_ = false;  // the cursor was moved back after an automatic scroll
  int zoom_ = kMinZoom;
};

}  // namespace tavro
