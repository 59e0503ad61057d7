// The view's alarm timer on a fake clock: passes fire due alarms lowest slot first and repaint
// what they changed; the timer sleeps exactly until the next due slot and is stopped when none
// is armed.
#include <QTest>

#include "GuiTestSupport.h"
#include "document/DocumentScriptTarget.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class ViewTimerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::SetFiles> files_;
  test::FakeHost host_;
  std::unique_ptr<DocumentSession> session_;
  const CTavroDoc* doc_ = nullptr;
  test::StubFrameLink frame_;
  std::unique_ptr<CTavroView> view_;

  // A 100 x 80 set with object 0 (a solid 10 x 10 cel) at 10,10 in sets 0 and 1, and `script`.
  void Load(const std::string& script) {
    files_->WriteText("t.cnf", "(100,80)\n%pal.kcf\n#0 a.cel :0 1\n$0 10,10\n$1 10,10\n" + script);
    QVERIFY(test::OpenInView(*view_, host_, files_->Path("t.cnf").string()).Opened);
    QVERIFY(doc_->IsSetLoaded());
  }
  const QTimer& Timer() { return view_->AlarmTimer(); }
  void ExpectTimerIn(int ms) {
    QVERIFY(Timer().isActive());
    QCOMPARE(Timer().interval(), ms);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    files_ = std::make_unique<test::SetFiles>(dir_->Path());
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 10, 10, 3);
    host_.Messages.clear();
    host_.Tick = 1000;
    session_ = std::make_unique<DocumentSession>(host_, host_);
    doc_ = &session_->Doc();
    view_ = test::MakeStandaloneView(*session_, frame_);
    view_->resize(200, 160);
    view_->show();
  }
  void cleanup() {
    view_.reset();
    session_.reset();
    files_.reset();
    dir_.reset();
  }

  void DueAlarmsFireLowestSlotFirstAndTheirChangesArePainted() {
    Load(
        ";@initialize() timer(2,50) timer(1,50)\n"
        ";@alarm(1) debug(\"one\") move(#0,5,0)\n"
        ";@alarm(2) debug(\"two\")\n");
    QCoreApplication::processEvents();
    ExpectTimerIn(50);
    test::PaintRecorder paints(view_->viewport());
    host_.Tick = 1060;
    // The real timer fires (after 50 ms) and the pass reads the fake clock.
    QTRY_COMPARE(host_.Messages.size(), size_t{2});
    QCOMPARE(host_.MessageTexts(), (std::vector<std::string>{"one", "two"}));
    QCOMPARE(doc_->Set().ObjectTable()[doc_->Set().SlotOf(0)].X, 15);
    // The flushed area, old and new place of the object, was painted at once.
    QVERIFY(paints.Painted.contains(QRect(10, 10, 15, 10)));
    QVERIFY(!paints.Painted.intersects(QRect(30, 30, 50, 50)));
    QVERIFY(!doc_->Map().Dirty());
    QVERIFY(!Timer().isActive());  // nothing left armed: no more wakeups
  }

  void ASelfRearmingAlarmKeepsItsPeriodFromItsDueTime() {
    Load(";@initialize() timer(1,100)\n;@alarm(1) timer(1,100)\n");
    ExpectTimerIn(100);  // due at 1100
    host_.Tick = 1130;
    view_->RunTimerPass();
    ExpectTimerIn(70);  // due at 1200, not 1230
    host_.Tick = 1260;
    view_->RunTimerPass();
    ExpectTimerIn(40);
    // Noticed a whole period late: it comes again on the next pass.
    host_.Tick = 1420;
    view_->RunTimerPass();
    ExpectTimerIn(1);
  }

  void NoTimerRunsWhileNothingIsArmed() {
    QVERIFY(!Timer().isActive());  // nothing loaded
    Load("");
    QCoreApplication::processEvents();
    QVERIFY(!Timer().isActive());
    // A press and a drop that arm nothing leave it asleep too.
    QTest::mousePress(view_->viewport(), Qt::LeftButton, {}, QPoint(12, 12));
    QTest::mouseMove(view_->viewport(), QPoint(20, 20));
    QTest::mouseRelease(view_->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!Timer().isActive());
    view_->SelectSet(1);
    QCoreApplication::processEvents();
    QVERIFY(!Timer().isActive());
  }

  void EverythingThatRaisesEventsReschedules() {
    Load(
        ";@initialize() timer(1,100)\n"
        ";@press(#0) timer(1,0)\n"
        ";@release(#0) timer(1,30)\n"
        ";@set(1) timer(3,70)\n");
    ExpectTimerIn(100);
    QTest::mousePress(view_->viewport(), Qt::LeftButton, {}, QPoint(12, 12));
    QVERIFY(!Timer().isActive());  // "timer(" 0 cancelled the only slot
    QTest::mouseRelease(view_->viewport(), Qt::LeftButton, {}, QPoint(12, 12));
    ExpectTimerIn(30);
    host_.Tick = 1010;
    QTest::keyClick(view_.get(), Qt::Key_1);  // set 1's "set(" arms slot 3 for 1080
    QCOMPARE(doc_->Set().CurrentSet(), 1);
    ExpectTimerIn(20);  // slot 1 at 1030 comes first
    // A reload disarms every slot; a set without alarms stops the timer.
    Load("");
    QVERIFY(!Timer().isActive());
  }

  void ADirtyMapIsFlushedOnTheNextPass() {
    Load("");
    QCoreApplication::processEvents();
    CTavroDoc& edited = session_->FixtureDoc();
    DocumentScriptTarget(edited, edited.EditSet(), edited.EditMap())
        .MoveObject(0, 30, 0);  // as a script action outside any pass would
    view_->ScheduleTimerPass();
    ExpectTimerIn(0);
    test::PaintRecorder paints(view_->viewport());
    QTRY_VERIFY(!doc_->Map().Dirty());
    QVERIFY(paints.Painted.contains(QRect(10, 10, 40, 10)));
    QVERIFY(!Timer().isActive());
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ViewTimerTest)
#include "ViewTimerTest.moc"
