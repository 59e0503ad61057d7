// Playing in the whole window: Help > Information and Option > Adjust Object with their
// enabling, and alarms that go on firing while a script's message box is open.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class PlayWindowTest : public test::AppTestCase {
  Q_OBJECT

 private:
  // A 448 x 320 set: object 0 in sets 0, 1 and 2 at 10,10, 60,60 and 70,70, with a second cel
  // that fails to load unless `script` is given.
  void OpenSet(const std::string& script = "") {
    const std::string brokenCel = script.empty() ? "#0 b.cel :0\n" : "";
    files_->WriteText("w.cnf", "(448,320)\n%pal.kcf\n#0 a.cel :0 1 2\n" + brokenCel +
                                   "$0 10,10\n$1 60,60\n$2 70,70\n" + script);
    QVERIFY(app_->OpenByPath(QString::fromStdString(files_->Path("w.cnf").string())) != nullptr);
    app_->Frame().UpdateActions();
  }
  bool Enabled(int id) { return app_->Frame().Action(id)->isEnabled(); }
  const ObjectEntry& Object0() {
    return app_->Doc().Set().ObjectTable()[app_->Doc().Set().SlotOf(0)];
  }

 private slots:
  void init() {
    BeginFolders();
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 8, 8, 3);
    files_->Write("b.cel", {});  // fails to load: not a used cell
    StartApp();
  }
  void cleanup() { End(); }

  void InformationAndAdjustObjectNeedALoadedSet() {
    QVERIFY(!Enabled(cmd::kInformation));
    QVERIFY(!Enabled(cmd::kAdjustObject));
    QVERIFY(!app_->Frame().Commands().Execute(cmd::kInformation));
    OpenSet();
    messages_.clear();  // the broken cel's load message
    QVERIFY(Enabled(cmd::kInformation));
    QVERIFY(Enabled(cmd::kAdjustObject));
    app_->Frame().Action(cmd::kFileNew)->trigger();
    app_->Frame().UpdateActions();
    QVERIFY(!Enabled(cmd::kInformation));
    QVERIFY(!Enabled(cmd::kAdjustObject));
    QVERIFY(messages_.empty());
  }

  void CtrlIShowsTheInformationBox() {
    OpenSet();
    messages_.clear();
    app_->Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app_->Frame()));
    QTest::keyClick(&app_->View(), Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(messages_.size(), size_t{1});
    QCOMPARE(messages_[0].Caption, std::string());  // the application title
    QVERIFY(messages_[0].Icon == MessageIcon::None);
    QCOMPARE(messages_[0].Text, std::string("map size : 448 x 320\n"
                                            "used memory (MAP) : 140 Kbytes\n"
                                            "used memory (CEL) : 0 Kbytes\n"
                                            "used cells : 1\n"
                                            "used objects : 1\n"
                                            "used palette : 1 files 16 colors\n"));
  }

  void AdjustObjectGivesTheObjectItsHomeSetPosition() {
    OpenSet();
    app_->View().SelectSet(1);
    QCOMPARE(Object0().X, 60);
    app_->Frame().Action(cmd::kAdjustObject)->trigger();
    // Set 1 is not the cel's home set: the object jumps to its set-0 place, everywhere.
    QCOMPARE(Object0().X, 10);
    QCOMPARE(Object0().SetX[2], 10);
    app_->View().SelectSet(2);
    QCOMPARE(Object0().Y, 10);
  }

  void AnAlarmThatSwitchesSetsMovesTheToolbarsCheckAtOnce() {
    OpenSet(";@initialize() timer(1,20)\n;@alarm(1) changeset(2)\n");
    QVERIFY(app_->Frame().Action(cmd::kFirstSet)->isChecked());
    QTRY_COMPARE(app_->Doc().Set().CurrentSet(), 2);
    QVERIFY(app_->Frame().Action(cmd::kFirstSet + 2)->isChecked());
    QVERIFY(!app_->Frame().Action(cmd::kFirstSet)->isChecked());
  }

  void MessageBoxesShowTheirTextsAsWritten() {
    app_->HostImpl().SetMessageSink({});  // real, modal boxes
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(50, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        format = box->textFormat();
        box->accept();
      }
    });
    app_->HostImpl().ShowMessage("0 : <b>hat</b>\n1 : <img src=\"x.png\">\n", "Object No.0",
                                 MessageIcon::None);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, QStringLiteral("0 : <b>hat</b>\n1 : <img src=\"x.png\">\n"));
  }

  void AlarmsGoOnWhileADebugBoxIsOpen() {
    app_->HostImpl().SetMessageSink({});  // real, modal boxes
    OpenSet(
        ";@initialize() timer(1,10) timer(2,40)\n"
        ";@alarm(1) timer(1,10) move(#0,1,0)\n"
        ";@alarm(2) debug(\"hold\")\n");
    int xWhileOpen = -1;
    int xLaterWhileOpen = -1;
    QString caption;
    QTimer::singleShot(250, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        caption = box->windowTitle();
        xWhileOpen = Object0().X;
      }
    });
    QTimer::singleShot(500, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        xLaterWhileOpen = Object0().X;
        box->accept();
      }
    });
    QTRY_VERIFY_WITH_TIMEOUT(xLaterWhileOpen >= 0, 5000);
    QCOMPARE(caption, QStringLiteral("TAVRO32"));
    // About 25 periods passed between the two looks; demand far fewer so a busy machine passes.
    QVERIFY2(xLaterWhileOpen - xWhileOpen >= 5,
             qPrintable(QStringLiteral("%1 -> %2").arg(xWhileOpen).arg(xLaterWhileOpen)));
    // After the box the alarm goes on from where it is.
    const int afterBox = Object0().X;
    QTRY_VERIFY(Object0().X > afterBox);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::PlayWindowTest)
#include "PlayWindowTest.moc"
