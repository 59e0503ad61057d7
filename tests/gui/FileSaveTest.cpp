// File > Save and Save As in the window: when they are offered, the overwrite question, the
// turn into Save As, and what the document is called afterwards.
#include <sys/stat.h>

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "FakePrompts.h"
#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/SaveAsDialog.h"
#include "support/LzhMember.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

constexpr char kSetText[] = "(100,80)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n";

}  // namespace

class FileSaveTest : public test::AppTestCase {
  Q_OBJECT

 private:
  std::shared_ptr<test::PromptScript> prompts;
  std::vector<std::string> questions;
  bool answerYes = true;

  QString PathOf(const std::string& name) const {
    return QString::fromStdString(files->Path(name).string());
  }

  // Opens a.cnf and moves object 0 to (20, 10) as a drag would.
  void OpenAndMove() {
    files->OldPalette("pal.kcf");
    files->SolidCel("a.cel", 8, 8, 3);
    files->WriteText("a.cnf", kSetText);
    QVERIFY(app->OpenByPath(PathOf("a.cnf")) != nullptr);
    test::SetBuilder(app->Session().FixtureDoc()).Move(0, 20, 10);
  }

  bool Enabled(int id) {
    app->Frame().UpdateActions();
    return app->Frame().Action(id)->isEnabled();
  }

 private slots:
  void init() {
    BeginFolders();  // a fresh recent-file list each time
    prompts = std::make_shared<test::PromptScript>();
    questions.clear();
    answerYes = true;
    StartApp(false);
    app->HostImpl().SetQuestionSink([this](const QtHost::Message& m) {
      questions.push_back(m.text);
      return answerYes;
    });
    app->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts));
    app->InitInstance({});
  }
  void cleanup() { End(); }

  void savingIsOfferedForALoadedSetNotFromAnArchive() {
    QVERIFY(!Enabled(cmd::kFileSave));
    QVERIFY(!Enabled(cmd::kFileSaveAs));
    QVERIFY(!app->OnFileSave());
    OpenAndMove();
    QVERIFY(Enabled(cmd::kFileSave));
    QVERIFY(Enabled(cmd::kFileSaveAs));
    QVERIFY(app->Frame()
                .Action(cmd::kFileSave)
                ->shortcuts()
                .contains(QKeySequence(Qt::CTRL | Qt::Key_S)));
    // The same set out of an archive: its files live in a temporary directory.
    std::string archive;
    for (const char* name : {"a.cnf", "pal.kcf", "a.cel"}) {
      archive += test::StoredLzhMember(name, Read(files->Path(name)));
    }
    std::ofstream(files->Path("a.lzh"), std::ios::binary) << archive + '\0';
    QVERIFY(app->OpenByPath(PathOf("a.lzh")) != nullptr);
    QVERIFY(!Enabled(cmd::kFileSave));
    QVERIFY(!Enabled(cmd::kFileSaveAs));
    QVERIFY(!app->Frame().Commands().Execute(cmd::kFileSaveAs));
    QVERIFY(prompts->saveSuggested.empty());
  }

  void saveAsksBeforeReplacingTheOpenFile() {
    OpenAndMove();
    answerYes = false;
    QVERIFY(!app->OnFileSave());
    QCOMPARE(questions, std::vector<std::string>{"上書きしますか？"});
    QCOMPARE(Read(files->Path("a.cnf")), std::string(kSetText));

    answerYes = true;
    QVERIFY(QTest::qWaitForWindowActive(&app->Frame()));
    QTest::keyClick(&app->View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(questions.size(), size_t{2});
    QVERIFY(prompts->saveSuggested.empty());  // no name asked for
    const std::string saved = Read(files->Path("a.cnf"));
    QVERIFY2(saved.find("$0 20,10\r\n") != std::string::npos, saved.c_str());
    QVERIFY(messages.empty());
  }

  void saveOnAMissingFileAsksForANameWithoutAQuestion() {
    OpenAndMove();
    std::filesystem::remove(files->Path("a.cnf"));
    prompts->saveAnswer = PathOf("b.cnf");
    QVERIFY(app->OnFileSave());
    QCOMPARE(prompts->saveSuggested, std::vector<QString>{PathOf("a.cnf")});
    QVERIFY(questions.empty());
    QVERIFY(Read(files->Path("b.cnf")).find("$0 20,10") != std::string::npos);
    QVERIFY(!std::filesystem::exists(files->Path("a.cnf")));
  }

  void saveOnAReadOnlyFileAsksForANameAndCancelWritesNothing() {
    OpenAndMove();
    ::chmod(files->Path("a.cnf").c_str(), 0444);
    QVERIFY(!app->OnFileSave());  // the fake cancels
    QCOMPARE(prompts->saveSuggested.size(), size_t{1});
    QVERIFY(questions.empty());
    QCOMPARE(Read(files->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("a.cnf - TAVRO32"));
    // Picked again by name in the dialog, it is still not replaced.
    prompts->saveAnswer = PathOf("a.cnf");
    QVERIFY(!app->OnFileSaveAs());
    QCOMPARE(Read(files->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(messages.size(), size_t{1});
  }

  void saveAsRenamesTheDocument() {
    OpenAndMove();
    prompts->saveAnswer = PathOf("b.cnf");
    app->Frame().Action(cmd::kFileSaveAs)->trigger();
    QVERIFY(questions.empty());  // replacing a chosen file is the dialog's question
    QVERIFY(Read(files->Path("b.cnf")).find("$0 20,10") != std::string::npos);
    QCOMPARE(Read(files->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("b.cnf - TAVRO32"));
    QCOMPARE(app->Template().PathName(), PathOf("b.cnf").toStdString());
    const std::vector<std::string> recent = {PathOf("b.cnf").toStdString(),
                                             PathOf("a.cnf").toStdString()};
    QCOMPARE(app->Settings().RecentFiles(), recent);
    // Save now means the new file, with the question.
    QVERIFY(app->OnFileSave());
    QCOMPARE(questions.size(), size_t{1});
    QCOMPARE(prompts->saveSuggested.size(), size_t{1});
  }

  void saveAsDialogOffersConfigurationFilesAndAddsTheExtension() {
    const std::vector<FileFilter> filters = SaveAsFilters();
    QCOMPARE(filters.front().description, QStringLiteral("Mivo File(*.cnf)"));
    QCOMPARE(filters.back().description, QStringLiteral("All Files (*.*)"));
    QString seenTitle;
    QString seenFilter;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      seenTitle = dialog->windowTitle();
      seenFilter = dialog->selectedNameFilter();
      dialog->selectFile(PathOf("doll"));
      static_cast<QDialog*>(dialog)->accept();  // the file dialog hides its own
    });
    QString path = PathOf("a.cnf");
    QVERIFY(SavePromptFileName(nullptr, path));
    QCOMPARE(seenTitle, QStringLiteral("Save As"));
    QCOMPARE(seenFilter, QStringLiteral("Mivo File(*.cnf)"));
    QCOMPARE(path, PathOf("doll.cnf"));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::FileSaveTest)
#include "FileSaveTest.moc"
