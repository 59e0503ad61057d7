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
  std::unique_ptr<test::TempDir> extractBase_;  // "TMPDIR": where temporary directories go
  std::shared_ptr<test::PromptScript> prompts_;

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
    std::ofstream(files_->Path(name), std::ios::binary) << archive;
    return files_->Path(name).string();
  }

  std::string PlainSet(const std::string& name) {
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 4, 4, 3);
    files_->WriteText(name, "(50,40)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n");
    return files_->Path(name).string();
  }

  void HoldShift(bool down) {
    if (down) {
      QTest::keyPress(&app_->Frame(), Qt::Key_Shift, Qt::ShiftModifier);
    } else {
      QTest::keyRelease(&app_->Frame(), Qt::Key_Shift, Qt::NoModifier);
    }
  }

  std::string TempDirectory() const { return app_->Doc().Archive().Directory(); }

 private slots:
  void init() {
    BeginFolders();
    extractBase_ = std::make_unique<test::TempDir>();
    prompts_ = std::make_shared<test::PromptScript>();
    {
      QSettings ini(settingsDir_->IniPath(), QSettings::IniFormat);
      ini.setValue("OPTION/TMPDIR", QString::fromStdString(extractBase_->Str()));
    }
    StartApp(false);
    app_->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts_));
  }
  void cleanup() {
    if (app_) HoldShift(false);
    app_.reset();
    extractBase_.reset();
    End();
  }

  void AnArchiveOnTheCommandLineOpensItsOnlySet() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app_->InitInstance({archive});
    QVERIFY(app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Doc().Set().PlayfieldWidth(), 60);
    QVERIFY(prompts_->Offered.empty());
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("DOLL.LZH - TAVRO32"));
    QCOMPARE(app_->Template().PathName(), archive);
    QCOMPARE(app_->Settings().RecentFiles(), std::vector<std::string>{archive});
    QVERIFY(fs::path(TempDirectory()).parent_path() == extractBase_->Path());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(messages_.empty());
  }

  void SeveralSetsAskWhichOneAndCancelShowsNone() {
    const std::string archive = MakeArchive("two.lzh", {"b.cnf", "a.cnf"});
    app_->InitInstance({});
    prompts_->Choice = QStringLiteral("a.cnf");
    prompts_->OpenAnswer = QString::fromStdString(archive);
    app_->Frame().Action(cmd::kFileOpen)->trigger();
    QCOMPARE(prompts_->Offered.size(), size_t{1});
    QStringList offered = prompts_->Offered[0];
    offered.sort();
    QCOMPARE(offered, (QStringList{"a.cnf", "b.cnf"}));
    QVERIFY(app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Doc().Set().PlayfieldWidth(), 61);

    // Opened again: nothing is unpacked anew, the question comes again, Cancel shows nothing.
    const std::string temp = TempDirectory();
    prompts_->ChooseOk = false;
    app_->OpenByPath(archive);
    QCOMPARE(prompts_->Offered.size(), size_t{2});
    QCOMPARE(TempDirectory(), temp);
    QVERIFY(!app_->Doc().IsSetLoaded());
    QTRY_VERIFY(!app_->Frame().Action(cmd::kEditCopy)->isEnabled());
    QVERIFY(messages_.empty());
  }

  // The same name in Shift_JIS and in UTF-8 reads alike in the list: the row chosen, not the
  // text, says which file opens.
  void NamesThatReadAlikeOpenByTheRowChosen() {
    const std::string archive = MakeArchive("alike.lzh", {"\x91\xCC.cnf", "\xE4\xBD\x93.cnf"});
    app_->InitInstance({});
    std::vector<int32_t> widths;
    for (int row : {0, 1}) {
      prompts_->ChoiceRow = row;
      QVERIFY(app_->OpenByPath(archive) != nullptr);
      QCOMPARE(prompts_->Offered.back()[0], prompts_->Offered.back()[1]);
      widths.push_back(app_->Doc().Set().PlayfieldWidth());
    }
    QCOMPARE(widths.size(), size_t{2});
    QVERIFY2(widths[0] != widths[1], "both rows opened the same file");
  }

  void DroppedAndRecentArchivesOpenToo() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    const std::string plain = PlainSet("plain.cnf");
    app_->InitInstance({});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(archive))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(app_->Frame()).event(&drop);
    QTRY_COMPARE(app_->Doc().Set().PlayfieldWidth(), 60);
    QVERIFY(!app_->Frame().Action(cmd::kFileSave)->isEnabled());

    app_->OpenByPath(plain);
    QCOMPARE(app_->Doc().Set().PlayfieldWidth(), 50);
    QAction* entry = nullptr;
    for (QAction* action : app_->Frame().FileMenu()->actions()) {
      if (action->data().toInt() == cmd::kFirstRecentFile + 1) entry = action;
    }
    QVERIFY(entry != nullptr && entry->text().endsWith(QString::fromStdString(archive)));
    entry->trigger();
    QCOMPARE(app_->Doc().Set().PlayfieldWidth(), 60);
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("DOLL.LZH - TAVRO32"));
  }

  void APlainOpenRemovesTheTemporaryFilesAndShiftKeepsThem() {
    const std::string first = MakeArchive("first.lzh", {"one.cnf"});
    const std::string plain = PlainSet("plain.cnf");
    const std::string other = PlainSet("other.cnf");
    app_->InitInstance({first});
    const std::string temp = TempDirectory();
    QVERIFY(fs::exists(fs::path(temp) / "one.cnf"));

    HoldShift(true);
    app_->OpenByPath(plain);
    HoldShift(false);
    QVERIFY(fs::exists(temp));
    QVERIFY(!app_->Frame().Action(cmd::kFileSave)->isEnabled());  // the directory is still in use
    app_->OpenByPath(plain);  // the same file again is a repeat: nothing changes
    QVERIFY(fs::exists(temp));

    app_->OpenByPath(other);
    QVERIFY(!fs::exists(temp));
    QCOMPARE(EntriesIn(extractBase_->Path()), size_t{0});
    QVERIFY(app_->Frame().Action(cmd::kFileSave)->isEnabled());
  }

  void ShiftMergesASecondArchiveIntoTheSameDirectory() {
    const std::string first = MakeArchive("first.lzh", {"one.cnf"});
    const std::string second = MakeArchive("second.lzh", {"two.cnf"});
    app_->InitInstance({first});
    const std::string temp = TempDirectory();
    HoldShift(true);
    prompts_->Choice = QStringLiteral("two.cnf");
    app_->OpenByPath(second);
    HoldShift(false);
    QCOMPARE(TempDirectory(), temp);
    QCOMPARE(prompts_->Offered.size(), size_t{1});  // both sets now sit side by side
    QCOMPARE(prompts_->Offered[0].size(), 2);
    QVERIFY(app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("SECOND.LZH - TAVRO32"));
    QCOMPARE(EntriesIn(extractBase_->Path()), size_t{1});
  }

  void TheTemporaryDirectoryGoesWithTheApplication() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app_->InitInstance({archive});
    const std::string temp = TempDirectory();
    QVERIFY(fs::exists(temp));
    app_->OnFileNew();  // an empty document keeps it
    QVERIFY(fs::exists(temp));
    app_.reset();
    QVERIFY(!fs::exists(temp));
    QCOMPARE(EntriesIn(extractBase_->Path()), size_t{0});
  }

  void ATerminationSignalEndsTheProgramInOrder() {
    const std::string archive = MakeArchive("doll.lzh", {"one.cnf"});
    app_->InitInstance({archive});
    const std::string temp = TempDirectory();
    QuitEventLoopOnSignals(qApp);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // the signal got lost
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(QuitRequested());  // kept for a request that comes before the main loop runs
    app_.reset();
    QVERIFY(!fs::exists(temp));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ArchiveWindowTest)
#include "ArchiveWindowTest.moc"
