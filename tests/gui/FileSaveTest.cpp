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
  std::shared_ptr<test::PromptScript> prompts_;
  std::vector<std::string> questions_;
  bool answerYes_ = true;

  QString PathOf(const std::string& name) const {
    return QString::fromStdString(files_->Path(name).string());
  }

  // Opens a.cnf and moves object 0 to (20, 10) as a drag would.
  void OpenAndMove() {
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 8, 8, 3);
    files_->WriteText("a.cnf", kSetText);
    QVERIFY(app_->OpenByPath(PathOf("a.cnf")) != nullptr);
    test::SetBuilder(app_->Session().FixtureDoc()).Move(0, 20, 10);
  }

  bool Enabled(int id) {
    app_->Frame().UpdateActions();
    return app_->Frame().Action(id)->isEnabled();
  }

 private slots:
  void init() {
    BeginFolders();  // a fresh recent-file list each time
    prompts_ = std::make_shared<test::PromptScript>();
    questions_.clear();
    answerYes_ = true;
    StartApp(false);
    app_->HostImpl().SetQuestionSink([this](const QtHost::Message& m) {
      questions_.push_back(m.Text);
      return answerYes_;
    });
    app_->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts_));
    app_->InitInstance({});
  }
  void cleanup() { End(); }

  void SavingIsOfferedForALoadedSetNotFromAnArchive() {
    QVERIFY(!Enabled(cmd::kFileSave));
    QVERIFY(!Enabled(cmd::kFileSaveAs));
    QVERIFY(!app_->OnFileSave());
    OpenAndMove();
    QVERIFY(Enabled(cmd::kFileSave));
    QVERIFY(Enabled(cmd::kFileSaveAs));
    QVERIFY(app_->Frame()
                .Action(cmd::kFileSave)
                ->shortcuts()
                .contains(QKeySequence(Qt::CTRL | Qt::Key_S)));
    // The same set out of an archive: its files live in a temporary directory.
    std::string archive;
    for (const char* name : {"a.cnf", "pal.kcf", "a.cel"}) {
      archive += test::StoredLzhMember(name, Read(files_->Path(name)));
    }
    std::ofstream(files_->Path("a.lzh"), std::ios::binary) << archive + '\0';
    QVERIFY(app_->OpenByPath(PathOf("a.lzh")) != nullptr);
    QVERIFY(!Enabled(cmd::kFileSave));
    QVERIFY(!Enabled(cmd::kFileSaveAs));
    QVERIFY(!app_->Frame().Commands().Execute(cmd::kFileSaveAs));
    QVERIFY(prompts_->SaveSuggested.empty());
  }

  void SaveAsksBeforeReplacingTheOpenFile() {
    OpenAndMove();
    answerYes_ = false;
    QVERIFY(!app_->OnFileSave());
    QCOMPARE(questions_, std::vector<std::string>{"上書きしますか？"});
    QCOMPARE(Read(files_->Path("a.cnf")), std::string(kSetText));

    answerYes_ = true;
    QVERIFY(QTest::qWaitForWindowActive(&app_->Frame()));
    QTest::keyClick(&app_->View(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(questions_.size(), size_t{2});
    QVERIFY(prompts_->SaveSuggested.empty());  // no name asked for
    const std::string saved = Read(files_->Path("a.cnf"));
    QVERIFY2(saved.find("$0 20,10\r\n") != std::string::npos, saved.c_str());
    QVERIFY(messages_.empty());
  }

  void SaveOnAMissingFileAsksForANameWithoutAQuestion() {
    OpenAndMove();
    std::filesystem::remove(files_->Path("a.cnf"));
    prompts_->SaveAnswer = PathOf("b.cnf");
    QVERIFY(app_->OnFileSave());
    QCOMPARE(prompts_->SaveSuggested, std::vector<QString>{PathOf("a.cnf")});
    QVERIFY(questions_.empty());
    QVERIFY(Read(files_->Path("b.cnf")).find("$0 20,10") != std::string::npos);
    QVERIFY(!std::filesystem::exists(files_->Path("a.cnf")));
  }

  void SaveOnAReadOnlyFileAsksForANameAndCancelWritesNothing() {
    OpenAndMove();
    ::chmod(files_->Path("a.cnf").c_str(), 0444);
    QVERIFY(!app_->OnFileSave());  // the fake cancels
    QCOMPARE(prompts_->SaveSuggested.size(), size_t{1});
    QVERIFY(questions_.empty());
    QCOMPARE(Read(files_->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("a.cnf - TAVRO32"));
    // Picked again by name in the dialog, it is still not replaced.
    prompts_->SaveAnswer = PathOf("a.cnf");
    QVERIFY(!app_->OnFileSaveAs());
    QCOMPARE(Read(files_->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(messages_.size(), size_t{1});
  }

  void SaveAsRenamesTheDocument() {
    OpenAndMove();
    prompts_->SaveAnswer = PathOf("b.cnf");
    app_->Frame().Action(cmd::kFileSaveAs)->trigger();
    QVERIFY(questions_.empty());  // replacing a chosen file is the dialog's question
    QVERIFY(Read(files_->Path("b.cnf")).find("$0 20,10") != std::string::npos);
    QCOMPARE(Read(files_->Path("a.cnf")), std::string(kSetText));
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("b.cnf - TAVRO32"));
    QCOMPARE(app_->Template().PathName(), PathOf("b.cnf").toStdString());
    const std::vector<std::string> recent = {PathOf("b.cnf").toStdString(),
                                             PathOf("a.cnf").toStdString()};
    QCOMPARE(app_->Settings().RecentFiles(), recent);
    // Save now means the new file, with the question.
    QVERIFY(app_->OnFileSave());
    QCOMPARE(questions_.size(), size_t{1});
    QCOMPARE(prompts_->SaveSuggested.size(), size_t{1});
  }

  void SaveAsDialogOffersConfigurationFilesAndAddsTheExtension() {
    const std::vector<FileFilter> filters = SaveAsFilters();
    QCOMPARE(filters.front().Description, QStringLiteral("Mivo File(*.cnf)"));
    QCOMPARE(filters.back().Description, QStringLiteral("All Files (*.*)"));
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
