// CTavroView: the one view of the one document. Shows the composed map zoomed and scrolled,
// switches sets and colour groups, zooms, scrolls with the arrow keys and fits the frame to the
// picture; turns the mouse into picking, dragging and inspection; drives the script alarms from
// one timer. It owns nothing of the set; it keeps only window state.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <functional>

#include "document/CTavroDoc.h"
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
  // Until a set is loaded the view shows a picture of 1 x 1.
  CTavroView(CTavroDoc& doc, ViewFrameLink& frame, QWidget* parent = nullptr);

  CTavroDoc& doc() { return Doc; }
  // Everything the person does goes to the document through this session.
  DocumentSession& session() { return Session; }

  // Set and colour switching.
  void SelectSet(int set);
  void SelectGroup(int group);
  void TestAllSets();

  // Zoom: whole map pixels per window pixel side. `factor` is taken as given; callers keep it in
  // range. The scroll keeps the map point at the window's centre where it can.
  int Zoom() const { return zoom_; }
  void SetZoom(int factor);
  // Every newly loaded set starts unzoomed; the scroll is left to the repaint that follows.
  void ResetZoom() { zoom_ = 1; }
  // Run after every open or new document: the frame is sized to show the whole picture,
  // never past the screen's right or bottom edge.
  void FitFrameToPlayfield();

  // Repaints.
  void RepaintNow();
  void InvalidateWholeView(bool scrollToOrigin);
  void RepaintMapRect(const MapRect& mapRect);

  // Zoomed picture size; 1 x 1 with nothing loaded.
  // A map rectangle (none: nothing) repainted at once, zoomed and scrolled.
  void InvalidateMapRect(const std::optional<MapRect>& mapRect);
  // Recomposes what event actions left dirty and repaints exactly that, at once.
  void FlushAndRepaint();

  // Mouse (ViewMouse.cpp). The left button takes the capture whether or not it picks anything;
  // the capture ends at button up, when the window stops being active, when a press or a move
  // shows that the release went elsewhere, or at once when a fixed object is pulled too far.
  bool HoldsCapture() const { return CaptureHeld; }
  bool SkipsNextMove() const { return SkipNextMove; }
  // Right-button inspection at a point of the viewport: "Object No.%d" and its cel lines.
  void InspectObject(QPoint point);

  // Help > Information and Option > Adjust Object (ViewInspection.cpp).
  void ShowInformation();
  void AdjustObjects();

  // The script alarms (ViewTimer.cpp). One single-shot timer, armed for when the next pass has
  // something to do; with no slot armed and nothing dirty it is stopped, so an idle window never
  // wakes. Call ScheduleTimerPass after anything that may arm a slot or dirty the map.
  void ScheduleTimerPass();
  void RunTimerPass();
  const QTimer& AlarmTimer() const { return PassTimer; }

  ViewSize ContentSize() const;
  ScrollPos ScrollPosition() const;
  void ScrollTo(ScrollPos pos);
  int ToolbarHeight() const { return ToolbarHeightSeen; }

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
  bool ScrollByArrow(int32_t virtualKey);
  // The map point under a point of the viewport: the one conversion from window to map.
  QPoint MapPointAt(QPoint point) const;
  // Follows a held object that left the visible part by the step it took.
  void FollowHeldObject(const SessionChange& change);
  void FollowSessionChange(const SessionChange& change);
  void PressLeft(QPoint point);
  SessionChange DropHeld();
  void LoseCapture();
  void ReleaseCapture();
  void ScrollForDrag(int32_t dx, int32_t dy);

  CTavroDoc& Doc;
  ViewFrameLink& Frame;
  DocumentSession Session;
  int ToolbarHeightSeen = 0;
  QTimer ShrinkTimer;  // the frame is shrunk after the layout pass that showed the change
  QTimer PassTimer;    // the next timer pass of the script alarms
  bool CaptureHeld = false;
  bool SkipNextMove = false;  // the cursor was moved back after an automatic scroll
  int MouseHandlerDepth = 0;  // a press or a drop whose script events are running
  int zoom_ = 1;
};

}  // namespace tavro
