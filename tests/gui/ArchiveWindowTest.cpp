// Archives opened in the window: every way in, the choice among several configuration files,
// Shift to merge, and the temporary directory going away.
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "FakePrompts.h"
#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/QuitOnSignal.h"
#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const test::Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

class ArchiveWindowTest : public test::AppTestCase {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> extractBase;  // "TMPDIR": where temporary directories go
  std::shared_ptr<test::PromptScript> prompts;

  // An archive of a palette, a cel and the configuration files named, each a set of the size
  // given by its position (first 60 x 40, then 61 x 40, ...).
  std::string MakeArchive(const std::string& name, const std::vector<std::string>& configs) {
    std::vector<test::Rgb> ramp(16, {200, 100, 50});
    std::string archive =
        test::StoredLzhMember("pal.kcf", FileBytes(test::EncodeOldPalette({ramp}))) +
        test::StoredLzhMember("a.cel",
                              FileBytes(test::EncodeOldCel(4, 4, std::vector<uint8_t>(16, 3))));
    int width = 60;
    for (const std::string& config : configs) {
      archive += test::StoredLzhMember(
          config, "(" + std::to_string(width++) + ",40)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n");
    }
    archive += std::string(1, '\0');
    std::ofstream(files->Path(name), std::ios::binary) << archive;
    return files->Path(name).string();
  }

  std::string PlainSet(const std::string& name) {
    files->OldPalette("pal.kcf");
    files->SolidCel("a.cel", 4, 4, 3);
    files->WriteText(name, "(50,40)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n");
    return files->Path(name).string();
  }

  void HoldShift(bool down) {
    if (down) {
      QTest::keyPress(&app->Frame(), Qt::Key_Shift, Qt::ShiftModifier);
    } else {
      QTest::keyRelease(&app->Frame(), Qt::Key_Shift, Qt::NoModifier);
    }
  }

  std::string TempDirectory() const { return app->Doc().Archive().Directory(); }

 private slots:
  void init() {
    BeginFolders();
    extractBase = std::make_unique<test::TempDir>();
    prompts = std::make_shared<test::PromptScript>();
    {
      QSettings ini(settingsDir->IniPath(), QSettings::IniFormat);
      ini.setValue("OPTION/TMPDIR", QString::fromStdString(extractBase->str()));
    }
    StartApp(false);
    app->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts));
  }
  void cleanup() {
    if (app) HoldShift(false);
    app.reset();
    extractBase.reset();
    End();
  }

  void anArchiveOnTheCommandLineOpensItsOnlySet() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app->InitInstance({archive});
    QVERIFY(app->Doc().IsSetLoaded());
    QCOMPARE(app->Doc().Set().PlayfieldWidth(), 60);
    QVERIFY(prompts->offered.empty());
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("DOLL.LZH - TAVRO32"));
    QCOMPARE(app->Template().PathName(), archive);
    QCOMPARE(app->Settings().RecentFiles(), std::vector<std::string>{archive});
    QVERIFY(fs::path(TempDirectory()).parent_path() == extractBase->path());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(messages.empty());
  }

  void severalSetsAskWhichOneAndCancelShowsNone() {
    const std::string archive = MakeArchive("two.lzh", {"b.cnf", "a.cnf"});
    app->InitInstance({});
    prompts->choice = QStringLiteral("a.cnf");
    prompts->openAnswer = QString::fromStdString(archive);
    app->Frame().Action(cmd::kFileOpen)->trigger();
    QCOMPARE(prompts->offered.size(), size_t{1});
    QStringList offered = prompts->offered[0];
    offered.sort();
    QCOMPARE(offered, (QStringList{"a.cnf", "b.cnf"}));
    QVERIFY(app->Doc().IsSetLoaded());
    QCOMPARE(app->Doc().Set().PlayfieldWidth(), 61);

    // Opened again: nothing is unpacked anew, the question comes again, Cancel shows nothing.
    const std::string temp = TempDirectory();
    prompts->chooseOk = false;
    app->OpenByPath(archive);
    QCOMPARE(prompts->offered.size(), size_t{2});
    QCOMPARE(TempDirectory(), temp);
    QVERIFY(!app->Doc().IsSetLoaded());
    QTRY_VERIFY(!app->Frame().Action(cmd::kEditCopy)->isEnabled());
    QVERIFY(messages.empty());
  }

  // The same name in Shift_JIS and in UTF-8 reads alike in the list: the row chosen, not the
  // text, says which file opens.
  void namesThatReadAlikeOpenByTheRowChosen() {
    const std::string archive = MakeArchive("alike.lzh", {"\x91\xCC.cnf", "\xE4\xBD\x93.cnf"});
    app->InitInstance({});
    std::vector<int32_t> widths;
    for (int row : {0, 1}) {
      prompts->choiceRow = row;
      QVERIFY(app->OpenByPath(archive) != nullptr);
      QCOMPARE(prompts->offered.back()[0], prompts->offered.back()[1]);
      widths.push_back(app->Doc().Set().PlayfieldWidth());
    }
    QCOMPARE(widths.size(), size_t{2});
    QVERIFY2(widths[0] != widths[1], "both rows opened the same file");
  }

  void droppedAndRecentArchivesOpenToo() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    const std::string plain = PlainSet("plain.cnf");
    app->InitInstance({});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(archive))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(app->Frame()).event(&drop);
    QTRY_COMPARE(app->Doc().Set().PlayfieldWidth(), 60);
    QVERIFY(!app->Frame().Action(cmd::kFileSave)->isEnabled());

    app->OpenByPath(plain);
    QCOMPARE(app->Doc().Set().PlayfieldWidth(), 50);
    QAction* entry = nullptr;
    for (QAction* action : app->Frame().FileMenu()->actions()) {
      if (action->data().toInt() == cmd::kFirstRecentFile + 1) entry = action;
    }
    QVERIFY(entry != nullptr && entry->text().endsWith(QString::fromStdString(archive)));
    entry->trigger();
    QCOMPARE(app->Doc().Set().PlayfieldWidth(), 60);
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("DOLL.LZH - TAVRO32"));
  }

  void aPlainOpenRemovesTheTemporaryFilesAndShiftKeepsThem() {
    const std::string first = MakeArchive("first.lzh", {"one.cnf"});
    const std::string plain = PlainSet("plain.cnf");
    const std::string other = PlainSet("other.cnf");
    app->InitInstance({first});
    const std::string temp = TempDirectory();
    QVERIFY(fs::exists(fs::path(temp) / "one.cnf"));

    HoldShift(true);
    app->OpenByPath(plain);
    HoldShift(false);
    QVERIFY(fs::exists(temp));
    QVERIFY(!app->Frame().Action(cmd::kFileSave)->isEnabled());  // the directory is still in use
    app->OpenByPath(plain);  // the same file again is a repeat: nothing changes
    QVERIFY(fs::exists(temp));

    app->OpenByPath(other);
    QVERIFY(!fs::exists(temp));
    QCOMPARE(EntriesIn(extractBase->path()), size_t{0});
    QVERIFY(app->Frame().Action(cmd::kFileSave)->isEnabled());
  }

  void shiftMergesASecondArchiveIntoTheSameDirectory() {
    const std::string first = MakeArchive("first.lzh", {"one.cnf"});
    const std::string second = MakeArchive("second.lzh", {"two.cnf"});
    app->InitInstance({first});
    const std::string temp = TempDirectory();
    HoldShift(true);
    prompts->choice = QStringLiteral("two.cnf");
    app->OpenByPath(second);
    HoldShift(false);
    QCOMPARE(TempDirectory(), temp);
    QCOMPARE(prompts->offered.size(), size_t{1});  // both sets now sit side by side
    QCOMPARE(prompts->offered[0].size(), 2);
    QVERIFY(app->Doc().IsSetLoaded());
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("SECOND.LZH - TAVRO32"));
    QCOMPARE(EntriesIn(extractBase->path()), size_t{1});
  }

  void theTemporaryDirectoryGoesWithTheApplication() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app->InitInstance({archive});
    const std::string temp = TempDirectory();
    QVERIFY(fs::exists(temp));
    app->OnFileNew();  // an empty document keeps it
    QVERIFY(fs::exists(temp));
    app.reset();
    QVERIFY(!fs::exists(temp));
    QCOMPARE(EntriesIn(extractBase->path()), size_t{0});
  }

  void aTerminationSignalEndsTheProgramInOrder() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app->InitInstance({archive});
    const std::string temp = TempDirectory();
    QuitEventLoopOnSignals(qApp);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // the signal got lost
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(QuitRequested());  // kept for a request that comes before the main loop runs
    app.reset();
    QVERIFY(!fs::exists(temp));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ArchiveWindowTest)
#include "ArchiveWindowTest.moc"
