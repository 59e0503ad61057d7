// Opening in the window: the load's messages before the set's own boxes, the progress dialog
// gone before any box, Cancel, and the window left alone meanwhile.
#include <QApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/view/MapDisplay.h"
#include "support/LzhMember.h"

namespace tavro {
namespace {

QProgressDialog* ShownProgress() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QProgressDialog*>(widget);
    if (dialog != nullptr && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

struct TimerEventCounter : QObject {
  int Events = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    Events += event->type() == QEvent::Timer;
    return false;
  }
};

}  // namespace

class OpenProgressTest : public test::AppTestCase {
  Q_OBJECT

  test::TempDir extractBase_;  // "TMPDIR"

  // `cels` cels and a line naming one more, and a palette line naming a missing file: the load
  // has two things to say.
  std::string MakeArchive(const std::string& name, int cels) {
    const test::Bytes cel = test::EncodeOldCel(4, 4, std::vector<uint8_t>(16, 3));
    std::string archive, config = "(80,60)\n%gone.kcf\n";
    for (int n = 0; n <= cels; ++n) {
      const std::string celName = "c" + std::to_string(n) + ".cel";
      if (n < cels) archive += test::StoredLzhMember(celName, {cel.begin(), cel.end()});
      config += "#" + std::to_string(n) + " " + celName + "\n";
    }
    std::ofstream(files_->Path(name), std::ios::binary)
        << archive << test::StoredLzhMember("doll.cnf", config) << '\0';
    return files_->Path(name).string();
  }

 private slots:
  void init() {
    BeginFolders();
    QSettings(settingsDir_->IniPath(), QSettings::IniFormat)
        .setValue("OPTION/TMPDIR", QString::fromStdString(extractBase_.Str()));
    StartApp(true);
    app_->OpenProgressDelayMs = 0;
  }
  void cleanup() { End(); }

  // A set with a missing palette file, a missing cel and boxes of its own in "initialize(" and
  // "begin(": the load's messages come first, then the set's. While the load's messages are up
  // the old set is gone, and the alarm that "initialize(" arms counts from the set's start, not
  // from the open, however long the person takes over them.
  void TheLoadsMessagesComeBeforeTheSetsOwnBoxes() {
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 4, 4, 3);
    const std::string shown = files_->Path("shown.cnf").string();
    files_->WriteText("shown.cnf", "(40,30)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n");
    files_->WriteText("boxes.cnf",
                      "(40,30)\n%pal.kcf\n%gone.kcf\n#0 a.cel :0\n#1 missing.cel :0\n$0 1,1\n"
                      ";@initialize() debug(\"init\") timer(1,200)\n;@begin() debug(\"begin\")\n"
                      ";@alarm(1) debug(\"alarm\")\n");
    QVERIFY(app_->OpenByPath(shown) != nullptr);
    QRgb behindTheMessages = 0;
    app_->HostImpl().SetMessageSink([&](const QtHost::Message& m) {
      messages_.push_back(m);
      if (messages_.size() != 1) return;
      behindTheMessages = app_->View().viewport()->grab().toImage().pixel(2, 2);
      QTest::qWait(300);  // the person reads
    });
    QVERIFY(app_->OpenByPath(files_->Path("boxes.cnf").string()) != nullptr);
    const int32_t delay = app_->Session().NextTimerPassDelay(app_->HostImpl().TickCount());
    std::vector<std::string> texts;
    for (const QtHost::Message& m : messages_) texts.push_back(m.Text);
    QCOMPARE(texts,
             (std::vector<std::string>{"palette file (gone.kcf) is not found",
                                       "can't load cell file and ignored", "init", "begin"}));
    QCOMPARE(behindTheMessages, kBackgroundGrey.rgb());
    QVERIFY2(delay > 100, std::to_string(delay).c_str());
    QTRY_COMPARE(messages_.size(), size_t{5});
    QCOMPARE(messages_.back().Text, std::string("alarm"));
  }

  // The old freeze: a set whose "initialize(" shows a box, opened with the progress dialog up
  // at once. The dialog and the wait cursor are gone when the real box shows, the box takes its
  // Return key, and the set shows after it.
  void ABoxOfTheSetsStartTakesItsKeysAfterTheProgressIsGone() {
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 4, 4, 3);
    files_->WriteText("hello.cnf",
                      "(40,30)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n;@initialize() debug(\"hello\")\n");
    app_->HostImpl().SetMessageSink({});  // real, modal boxes
    bool frozen = false, sawProgress = false, progressAtBox = true, cursorAtBox = true,
         loadedAtBox = true;
    QString boxText;
    QTimer look;
    look.setInterval(0);
    connect(&look, &QTimer::timeout, [&] {
      sawProgress = sawProgress || ShownProgress() != nullptr;
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      look.stop();
      boxText = box->text();
      progressAtBox = ShownProgress() != nullptr;
      cursorAtBox = QApplication::overrideCursor() != nullptr;
      loadedAtBox = app_->Doc().IsSetLoaded();
      QTest::keyClick(box, Qt::Key_Return);
      // Return went nowhere: the window is frozen. Hidden, not closed: a close would go nowhere
      // too.
      if (box->isVisible()) {
        frozen = true;
        box->hide();
      }
    });
    look.start();
    QVERIFY(app_->OpenByPath(files_->Path("hello.cnf").string()) != nullptr);
    QVERIFY(!frozen);
    QVERIFY(sawProgress);
    QCOMPARE(boxText, QStringLiteral("hello"));
    QVERIFY(!progressAtBox);
    QVERIFY(!cursorAtBox);
    QVERIFY(!loadedAtBox);  // the set starts showing only after its start's boxes
    QVERIFY(app_->Doc().IsSetLoaded());
  }

  // An open under the dialog says what it always said, in the same order. Then a second one:
  // the window paints behind the dialog and ignores every way in that would touch the document
  // (keys, drops, clicks, closing, alarm passes); Cancel ends the open as a cancelled "Select
  // CNF File" does, and the unpacked files are gone.
  void ProgressKeepsTheMessagesAndCancelLeavesNothing() {
    const std::string first = MakeArchive("first.lzh", 2);
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = ShownProgress() != nullptr; });
    QVERIFY(app_->OpenByPath(first) != nullptr);
    QVERIFY(shown);
    QCOMPARE(messages_.size(), size_t{2});
    QCOMPARE(messages_[0].Text, std::string("palette file (gone.kcf) is not found"));
    QCOMPARE(messages_[1].Text, std::string("can't load cell file and ignored"));
    const QString title = app_->Frame().windowTitle();
    messages_.clear();
    test::PaintRecorder paints(app_->View().viewport());
    TimerEventCounter alarmPasses;
    auto& alarmTimer = const_cast<QTimer&>(app_->View().AlarmTimer());
    alarmTimer.installEventFilter(&alarmPasses);
    int paintsBehind = 0, passesBehind = -1;
    QTimer::singleShot(0, [&] {
      QProgressDialog* dialog = ShownProgress();
      if (dialog == nullptr) return;
      alarmTimer.start(0);
      QTest::keyClick(&app_->Frame(), Qt::Key_N, Qt::ControlModifier);
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first))});
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&app_->Frame(), &drop);
      QTest::mouseClick(app_->View().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
      app_->Frame().close();
      QTest::qWait(50);  // events flow while the dialog shows: a drop would open now
      paintsBehind = paints.Events;
      passesBehind = alarmPasses.Events;
      QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    QVERIFY(app_->OpenByPath(MakeArchive("big.lzh", 200)) == nullptr);
    QVERIFY(paintsBehind > 0);
    QCOMPARE(passesBehind, 0);
    QVERIFY(ShownProgress() == nullptr && app_->Frame().isVisible());
    QVERIFY(!app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Frame().windowTitle(), title);
    QVERIFY(std::filesystem::is_empty(extractBase_.Path()));
    QVERIFY(messages_.empty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::OpenProgressTest)
#include "OpenProgressTest.moc"
