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

#include "FakePrompts.h"
#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const test::Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

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
    if (event->type() == QEvent::Timer) ++events;
    return false;
  }
};

}  // namespace

class OpenProgressTest : public test::AppTestCase {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> extractBase;
  std::shared_ptr<test::PromptScript> prompts;

  // A palette and `cels` cels, the configuration naming one cel more than the archive holds
  // and a palette it lacks, so the load has something to say.
  std::string MakeArchive(const std::string& name, int cels) {
    std::vector<test::Rgb> ramp(16, {200, 100, 50});
    std::string archive =
        test::StoredLzhMember("pal.kcf", FileBytes(test::EncodeOldPalette({ramp})));
    std::string config = "(80,60)\n%pal.kcf\n%gone.kcf\n";
    const std::string cel = FileBytes(test::EncodeOldCel(4, 4, std::vector<uint8_t>(16, 3)));
    for (int n = 0; n <= cels; ++n) {
      const std::string celName = "c" + std::to_string(n) + ".cel";
      if (n < cels) archive += test::StoredLzhMember(celName, cel);
      config += "#" + std::to_string(n) + " " + celName + "\n";
    }
    archive += test::StoredLzhMember("doll.cnf", config + "$0 *\n") + std::string(1, '\0');
    std::ofstream(files->Path(name), std::ios::binary) << archive;
    return files->Path(name).string();
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const QtHost::Message& message : messages) texts.push_back(message.text);
    return texts;
  }

 private slots:
  void init() {
    BeginFolders();
    extractBase = std::make_unique<test::TempDir>();
    prompts = std::make_shared<test::PromptScript>();
    {
      QSettings ini(settingsDir->IniPath(), QSettings::IniFormat);
      ini.setValue("OPTION/TMPDIR", QString::fromStdString(extractBase->str()));
    }
    StartApp(true);
    app->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts));
  }
  void cleanup() {
    app.reset();
    extractBase.reset();
    End();
  }

  // The dialog shows at once (no wait), the window paints behind it and ignores every way in
  // that would touch the document; Cancel then ends the open as a cancelled "Select CNF File"
  // does, and the extracted files are gone.
  void cancelLeavesNoSetAndNoTemporaryFolder() {
    files->OldPalette("pal.kcf");
    files->SolidCel("a.cel", 4, 4, 3);
    files->WriteText("plain.cnf", "(50,40)\n%pal.kcf\n#0 a.cel\n$0 1,1\n");
    const QString plain = QString::fromStdString(files->Path("plain.cnf").string());
    QVERIFY(app->OpenByPath(plain) != nullptr);
    const QString title = app->Frame().windowTitle();
    const std::string archive = MakeArchive("big.lzh", 200);
    prompts->openAnswer = plain;  // what a File > Open that got through would open

    test::PaintRecorder paints(app->View().viewport());
    // An alarm pass falling due while the dialog shows must wait for the open to end.
    TimerEventCounter alarmPasses;
    auto& alarmTimer = const_cast<QTimer&>(app->View().AlarmTimer());
    alarmTimer.installEventFilter(&alarmPasses);
    bool sawDialog = false;
    int paintsBehindDialog = 0;
    int passesBehindDialog = -1;
    QTimer::singleShot(0, [&] {
      QProgressDialog* dialog = ShownProgress();
      sawDialog = dialog != nullptr;
      if (dialog == nullptr) return;
      alarmTimer.start(0);
      QTest::keyClick(&app->Frame(), Qt::Key_O, Qt::ControlModifier);
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(plain)});
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&app->Frame(), &drop);
      QTest::mouseClick(app->View().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
      app->Frame().close();
      QTest::qWait(50);  // events flow while the dialog shows: a drop would open now
      paintsBehindDialog = paints.events;
      passesBehindDialog = alarmPasses.events;
      QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    app->OpenProgressDelayMs = 0;
    QVERIFY(app->OpenByPath(archive) == nullptr);

    QVERIFY(sawDialog);
    QVERIFY(paintsBehindDialog > 0);
    QCOMPARE(passesBehindDialog, 0);
    QVERIFY(ShownProgress() == nullptr);
    QVERIFY(!app->Doc().IsSetLoaded());
    QVERIFY(app->Frame().isVisible());
    QCOMPARE(app->Frame().windowTitle(), title);
    QVERIFY(fs::is_empty(extractBase->path()));
    QVERIFY(!app->Doc().Archive().Extracted());
    QVERIFY(messages.empty());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Nothing of the cancelled open lingers: the same archive opens in full afterwards.
    app->OpenProgressDelayMs = 1000000;
    QVERIFY(app->OpenByPath(archive) != nullptr);
    QCOMPARE(app->Doc().LastLoad().LoadedCels, 200);
  }

  // With or without the dialog, an open says the same things in the same order and shows the
  // same set.
  void anUncancelledOpenSaysWhatItSaidBefore() {
    const std::string archive = MakeArchive("doll.lzh", 30);
    app->OpenProgressDelayMs = 1000000;
    QVERIFY(app->OpenByPath(archive) != nullptr);
    const QString title = app->Frame().windowTitle();
    const std::vector<std::string> quiet = MessageTexts();
    QCOMPARE(quiet.size(), size_t{2});  // the palette, then the cel
    const int loaded = app->Doc().LastLoad().LoadedCels;

    app->Doc().RemoveTempDirectory();  // so the archive is unpacked again
    messages.clear();
    bool sawDialog = false;
    QTimer::singleShot(0, [&] { sawDialog = ShownProgress() != nullptr; });
    app->OpenProgressDelayMs = 0;
    QVERIFY(app->OpenByPath(archive) != nullptr);
    QVERIFY(sawDialog);
    QVERIFY(MessageTexts() == quiet);
    QCOMPARE(app->Doc().LastLoad().LoadedCels, loaded);
    QCOMPARE(app->Frame().windowTitle(), title);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::OpenProgressTest)
#include "OpenProgressTest.moc"
