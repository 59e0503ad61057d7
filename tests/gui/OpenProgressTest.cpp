// A long open in the window: the progress dialog, Cancel, and the window left alone meanwhile.
#include <QApplication>
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
  int events = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    events += event->type() == QEvent::Timer;
    return false;
  }
};

}  // namespace

class OpenProgressTest : public test::AppTestCase {
  Q_OBJECT

  test::TempDir extractBase;  // "TMPDIR"

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
    std::ofstream(files->Path(name), std::ios::binary)
        << archive << test::StoredLzhMember("doll.cnf", config) << '\0';
    return files->Path(name).string();
  }

 private slots:
  void init() {
    BeginFolders();
    QSettings(settingsDir->IniPath(), QSettings::IniFormat)
        .setValue("OPTION/TMPDIR", QString::fromStdString(extractBase.str()));
    StartApp(true);
    app->OpenProgressDelayMs = 0;
  }
  void cleanup() { End(); }

  // An open under the dialog says what it always said, in the same order. Then a second one:
  // the window paints behind the dialog and ignores every way in that would touch the document
  // (keys, drops, clicks, closing, alarm passes); Cancel ends the open as a cancelled "Select
  // CNF File" does, and the unpacked files are gone.
  void progressKeepsTheMessagesAndCancelLeavesNothing() {
    const std::string first = MakeArchive("first.lzh", 2);
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = ShownProgress() != nullptr; });
    QVERIFY(app->OpenByPath(first) != nullptr);
    QVERIFY(shown);
    QCOMPARE(messages.size(), size_t{2});
    QCOMPARE(messages[0].text, std::string("palette file (gone.kcf) is not found"));
    QCOMPARE(messages[1].text, std::string("can't load cell file and ignored"));
    const QString title = app->Frame().windowTitle();
    messages.clear();
    test::PaintRecorder paints(app->View().viewport());
    TimerEventCounter alarmPasses;
    auto& alarmTimer = const_cast<QTimer&>(app->View().AlarmTimer());
    alarmTimer.installEventFilter(&alarmPasses);
    int paintsBehind = 0, passesBehind = -1;
    QTimer::singleShot(0, [&] {
      QProgressDialog* dialog = ShownProgress();
      if (dialog == nullptr) return;
      alarmTimer.start(0);
      QTest::keyClick(&app->Frame(), Qt::Key_N, Qt::ControlModifier);
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first))});
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&app->Frame(), &drop);
      QTest::mouseClick(app->View().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
      app->Frame().close();
      QTest::qWait(50);  // events flow while the dialog shows: a drop would open now
      paintsBehind = paints.events;
      passesBehind = alarmPasses.events;
      QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    QVERIFY(app->OpenByPath(MakeArchive("big.lzh", 200)) == nullptr);
    QVERIFY(paintsBehind > 0);
    QCOMPARE(passesBehind, 0);
    QVERIFY(ShownProgress() == nullptr && app->Frame().isVisible());
    QVERIFY(!app->Doc().IsSetLoaded());
    QCOMPARE(app->Frame().windowTitle(), title);
    QVERIFY(std::filesystem::is_empty(extractBase.path()));
    QVERIFY(messages.empty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::OpenProgressTest)
#include "OpenProgressTest.moc"
