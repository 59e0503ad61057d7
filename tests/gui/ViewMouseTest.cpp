// The mouse in the view: what a drag repaints, every way the capture ends (the session decides
// what the drop does; its rules are tested with the session), scrolling along with a dragged
// object, and right-button inspection.
#include <QCursor>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "GuiTestSupport.h"
#include "interaction/FixOverride.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

// 100 x 80 playfield. Object 0 (a.cel) at 10,10; object 1 (f.cel, fix value 8) at 50,10;
// object 2 (c.cel, with a comment) at 38,30. Every cel is a solid 10 x 10 square.
constexpr const char* kSetText =
    "(100,80)\n"
    "%pal.kcf\n"
    "#0 a.cel :0\n"
    "#1.8 f.cel :0\n"
    "#2 c.cel :0 ;red hat\n"
    "$0 10,10 50,10 38,30\n"
    ";@drop(#0) debug(\"drop0\")\n"
    ";@drop(#1) debug(\"drop1\")\n"
    ";@fixdrop(#1) debug(\"fixdrop1\")\n"
    ";@drop(#2) debug(\"drop2\")\n";

}  // namespace

class ViewMouseTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> dir_;
  test::FakeHost host_;
  std::unique_ptr<DocumentSession> session_;
  const CTavroDoc* doc_ = nullptr;
  test::StubFrameLink frame_;
  std::unique_ptr<CTavroView> view_;
  std::unique_ptr<test::PaintRecorder> paints_;
  FixOverrideState keySequence_;

  QWidget* Port() { return view_->viewport(); }
  const ObjectEntry& Object(int number) {
    return doc_->Set().ObjectTable()[doc_->Set().SlotOf(number)];
  }
  std::vector<std::string> Messages() { return host_.MessageTexts(); }

  // The viewport point over map point `map` at the current zoom and scroll.
  QPoint At(QPoint map) {
    const ScrollPos scroll = view_->ScrollPosition();
    return map * view_->Zoom() - QPoint(scroll.X, scroll.Y);
  }
  void Press(QPoint map) { QTest::mousePress(Port(), Qt::LeftButton, {}, At(map)); }
  void MoveTo(QPoint map) { QTest::mouseMove(Port(), At(map)); }
  void Release(QPoint map) { QTest::mouseRelease(Port(), Qt::LeftButton, {}, At(map)); }
  // A move that reaches the view although the left button is no longer down.
  void MoveWithoutButton(QPoint map) {
    const QPoint local = At(map);
    QMouseEvent move(QEvent::MouseMove, local, Port()->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Port(), &move);
  }

  void ShowView(int width, int height, int zoom) {
    view_->resize(width, height);
    view_->show();
    view_->SetZoom(zoom);
    view_->ScrollTo({0, 0});
    QCoreApplication::processEvents();
  }

  void ExpectIdle() {
    QVERIFY(!view_->HoldsCapture());
    QCOMPARE(doc_->Pointer().HeldSlot(), 0);
    QCOMPARE(doc_->Pointer().Bounds(), (MapRect{0, 0, 99, 79}));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    test::SetFiles files(dir_->Path());
    files.OldPalette("pal.kcf");
    for (const char* cel : {"a.cel", "f.cel", "c.cel"}) files.SolidCel(cel, 10, 10, 3);
    files.WriteText("play.cnf", kSetText);
    host_.Messages.clear();
    session_ = std::make_unique<DocumentSession>(host_, host_);
    doc_ = &session_->Doc();
    session_->FixtureDoc().Pointer().UseFixOverride(&keySequence_);
    keySequence_.Reset();
    view_ = test::MakeStandaloneView(*session_, frame_);
    QVERIFY(test::OpenInView(*view_, host_, files.Path("play.cnf").string()).Opened);
    QVERIFY(doc_->IsSetLoaded());
    QVERIFY(host_.Messages.empty());
    paints_ = std::make_unique<test::PaintRecorder>(Port());
  }
  void cleanup() {
    paints_.reset();
    view_.reset();
    session_.reset();
    dir_.reset();
  }

  void DragStepsRepaintOnlyTheSweptRectangleZoomedAndScrolled() {
    ShowView(150, 120, 2);
    view_->ScrollTo({6, 4});
    QCoreApplication::processEvents();
    Press({12, 12});
    QVERIFY(view_->HoldsCapture());
    QVERIFY(doc_->Pointer().HeldSlot() != 0);
    QCoreApplication::processEvents();
    paints_->Clear();
    MoveTo({15, 14});
    // Old box (10,10)-(20,20) and new box (13,12)-(23,22): map (10,10)-(23,22), at zoom 2
    // minus the scroll, painted at once and nothing else.
    QCOMPARE(paints_->Painted, QRegion(QRect(14, 16, 26, 24)));
    QCOMPARE(paints_->Events, 1);
    QCOMPARE(Object(0).X, 13);
    QCOMPARE(Object(0).Y, 12);
    // The drop paints nothing new (the object is already there) and raises the drop events.
    Release({40, 40});
    QCOMPARE(Object(0).X, 13);
    QCOMPARE(Messages(), (std::vector<std::string>{"drop0"}));
    ExpectIdle();
  }

  // The one conversion from window to map: (window + scroll) / zoom, truncated.
  void WindowPointsMapThroughScrollAndZoomAndALoadUnzooms() {
    ShowView(150, 120, 3);
    view_->ScrollTo({5, 40});
    QCoreApplication::processEvents();
    QTest::mousePress(Port(), Qt::LeftButton, {}, QPoint(11, 22));
    QCOMPARE(doc_->Pointer().X(), 5);
    QCOMPARE(doc_->Pointer().Y(), 20);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(11, 22));
    ExpectIdle();
    const std::string path = test::SetFiles(dir_->Path()).Path("play.cnf").string();
    QVERIFY(test::OpenInView(*view_, host_, path).Opened);
    QCOMPARE(view_->Zoom(), 1);
    QCOMPARE(view_->ScrollPosition(), (ScrollPos{0, 0}));
  }

  void TheCaptureIsTakenOverNothingAndEndsAtButtonUp() {
    ShowView(200, 160, 1);
    Press({90, 70});  // transparent: nothing picked, the capture still taken
    QVERIFY(view_->HoldsCapture());
    QCOMPARE(doc_->Pointer().HeldSlot(), 0);
    MoveTo({95, 75});
    Release({95, 75});
    ExpectIdle();
    QVERIFY(Messages().empty());
  }

  void ALostReleaseDropsTheObjectExactlyOnce() {
    ShowView(200, 160, 1);
    // A move arriving with the button already up: the release went elsewhere.
    Press({12, 12});
    MoveTo({20, 15});
    MoveWithoutButton({30, 30});
    ExpectIdle();
    QCOMPARE(Object(0).X, 18);  // dropped where the last tracked move left it
    QCOMPARE(Messages(), (std::vector<std::string>{"drop0"}));
    Release({30, 30});  // a late release finds no capture
    QCOMPARE(Messages().size(), size_t{1});

    // A second press while the first is still held: the first object goes, and the second,
    // picked by the same press, keeps the capture that press took.
    host_.Messages.clear();
    QTest::mousePress(Port(), Qt::LeftButton, {}, At({40, 32}));
    QTest::mousePress(Port(), Qt::LeftButton, {}, At({20, 15}));
    QCOMPARE(Messages(), (std::vector<std::string>{"drop2"}));
    QCOMPARE(doc_->Pointer().HeldSlot(), static_cast<int32_t>(doc_->Set().SlotOf(0)));
    QVERIFY(view_->HoldsCapture());
    Release({20, 15});
    QCOMPARE(Messages(), (std::vector<std::string>{"drop2", "drop0"}));
    ExpectIdle();
  }

  void LosingTheActiveWindowDropsTheHeldObject() {
    ShowView(200, 160, 1);
    view_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view_.get()));
    Press({12, 12});
    MoveTo({22, 12});
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    QTRY_VERIFY(!view_->isActiveWindow());
    ExpectIdle();
    QCOMPARE(Object(0).X, 20);
    QCOMPARE(Messages(), (std::vector<std::string>{"drop0"}));
    Release({22, 12});
    QCOMPARE(Messages().size(), size_t{1});
  }

  // The session lets a fixed object pulled too far go in the middle of a move: the capture
  // ends with it, and the real release later does nothing.
  void AFixedObjectPulledTooFarEndsTheCaptureAtOnce() {
    ShowView(200, 160, 1);
    Press({55, 15});
    MoveTo({57, 15});  // within the wobble threshold: nothing happens
    QVERIFY(view_->HoldsCapture());
    MoveTo({58, 15});
    ExpectIdle();
    QCOMPARE(Messages(), (std::vector<std::string>{"fixdrop1", "drop1"}));
    MoveTo({70, 15});
    Release({70, 15});
    QCOMPARE(Messages().size(), size_t{2});
  }

  void AQuickSecondClickTugsAsTheFirstDid() {
    ShowView(200, 160, 1);
    Press({55, 15});
    MoveTo({55, 11});  // past 3 pixels: wears 8 -> 7, let go at once
    Release({55, 11});
    // The second press arrives as a double-click, as the window system delivers it.
    const QPoint local = At({55, 15});
    QMouseEvent second(QEvent::MouseButtonDblClick, local, Port()->mapToGlobal(local),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Port(), &second);
    const QPoint up = At({55, 11});
    QMouseEvent pull(QEvent::MouseMove, up, Port()->mapToGlobal(up), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(Port(), &pull);
    QCOMPARE(Object(1).FixRemaining, 4);
    QCOMPARE(Messages(), (std::vector<std::string>{"fixdrop1", "drop1", "fixdrop1", "drop1"}));
    Release({55, 11});
  }

  void DraggingPastTheVisibleEdgeScrollsAndMovesTheCursorBack() {
    ShowView(100, 80, 2);  // 50 x 40 map pixels visible of 100 x 80
    const QPoint cursor(400, 300);
    QCursor::setPos(cursor);
    QCoreApplication::processEvents();
    Press({40, 32});
    MoveTo({45, 32});  // object 2's right edge 53 passes the visible right edge 50
    QCOMPARE(Object(2).X, 43);
    QCOMPARE(view_->ScrollPosition().X, 10);  // the step times the zoom
    QCOMPARE(view_->ScrollPosition().Y, 0);
    QCOMPARE(QCursor::pos(), cursor - QPoint(10, 0));
    QVERIFY(view_->SkipsNextMove());
    // The move caused by the cursor jump is not the user's: it is ignored once.
    QTest::mouseMove(Port(), QPoint(60, 64));
    QCOMPARE(Object(2).X, 43);
    QVERIFY(!view_->SkipsNextMove());
    QTest::mouseMove(Port(), QPoint(60, 64));  // map (35, 32)
    QCOMPARE(Object(2).X, 33);
    Release({35, 32});
    ExpectIdle();
  }

  void AScrollStoppedByThePictureEdgeMovesTheCursorOnlyAsFar() {
    ShowView(100, 80, 2);
    view_->ScrollTo({96, 0});  // four zoomed pixels short of the farthest position
    QCoreApplication::processEvents();
    QCursor::setPos(QPoint(400, 300));
    QCoreApplication::processEvents();
    test::SetBuilder(session_->FixtureDoc())
        .Move(2, 85, doc_->Set().ObjectTable()[doc_->Set().SlotOf(2)].Y);  // into the visible part
    Press({87, 32});
    QVERIFY(doc_->Pointer().HeldSlot() != 0);
    MoveTo({92, 32});  // asks for 10, only 4 are left
    QCOMPARE(view_->ScrollPosition().X, 100);
    QCOMPARE(QCursor::pos(), QPoint(396, 300));
    Release({92, 32});
  }

  void RightClickShowsTheObjectsCelLinesWithTheirComments() {
    ShowView(200, 160, 1);
    QTest::mousePress(Port(), Qt::RightButton, {}, At({40, 32}));
    QVERIFY(!view_->HoldsCapture());  // the right button captures nothing
    QCOMPARE(frame_.Boxes.size(), size_t{1});
    QCOMPARE(frame_.Boxes[0].first, std::string("Object No.2"));
    QCOMPARE(frame_.Boxes[0].second, std::string("2 : red hat\n"));
    QTest::mouseRelease(Port(), Qt::RightButton, {}, At({40, 32}));

    QTest::mousePress(Port(), Qt::RightButton, {}, At({12, 12}));
    QCOMPARE(frame_.Boxes.size(), size_t{2});
    QCOMPARE(frame_.Boxes[1].first, std::string("Object No.0"));
    QCOMPARE(frame_.Boxes[1].second, std::string("0 : \n"));
    QTest::mouseRelease(Port(), Qt::RightButton, {}, At({12, 12}));

    // A transparent spot, and a spot beside the picture whose nearest edge point is
    // transparent: nothing to show.
    QTest::mousePress(Port(), Qt::RightButton, {}, At({90, 70}));
    QTest::mouseRelease(Port(), Qt::RightButton, {}, At({90, 70}));
    QTest::mousePress(Port(), Qt::RightButton, {}, QPoint(150, 150));
    QCOMPARE(frame_.Boxes.size(), size_t{2});
    ExpectIdle();
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ViewMouseTest)
#include "ViewMouseTest.moc"
