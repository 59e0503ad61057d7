// Help > Load Report in the window: when it is offered, what the title bar says, and the dialog's
// rows, sorting and Copy button.
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/LoadReportDialog.h"

namespace tavro {

class LoadReportWindowTest : public test::AppTestCase {
  Q_OBJECT

 private:
  std::string Path() const { return files_->Path("r.cnf").string(); }

  // A set that shows, with a missing cel on line 3, a word that is no keyword on line 4 and a
  // line that starts no kind of line on line 2.
  void OpenDamagedSet() {
    files_->WriteText("r.cnf", "%pal.kcf\nnot a line\n#0 gone.cel :0\n;@Map(#0)\n#0 a.cel :0\n");
    QVERIFY(app_->OpenByPath(QString::fromStdString(Path())) != nullptr);
    app_->Frame().UpdateActions();
  }
  bool Enabled() { return app_->Frame().Action(cmd::kLoadReport)->isEnabled(); }

  // The report as tavro-render --check prints it.
  QString CoreText() {
    QString text;
    for (const LoadProblem& problem : app_->Doc().LastLoad().Problems.All()) {
      text += QString::fromStdString(FormatLoadProblem(problem)) + "\n";
    }
    return text;
  }

 private slots:
  void init() {
    BeginFolders();
    files_->OldPalette("pal.kcf");
    files_->SolidCel("a.cel", 8, 8, 3);
    StartApp();
  }
  void cleanup() { End(); }

  void OfferedOnlyWhileASetIsLoadedAndSaidOnceInTheTitle() {
    QVERIFY(!Enabled());
    QVERIFY(!app_->Frame().Commands().Execute(cmd::kLoadReport));
    OpenDamagedSet();
    QVERIFY(Enabled());
    QCOMPARE(app_->Frame().windowTitle(),
             QStringLiteral("r.cnf - TAVRO32 (3 load problems: Help > Load Report)"));
    // The load's own messages are those it always showed, and no more.
    QCOMPARE(messages_.size(), size_t{1});
    QCOMPARE(messages_[0].Text, std::string("can't load cell file and ignored"));

    files_->WriteText("r.cnf", "%pal.kcf\n#0 a.cel :0\n");
    QVERIFY(app_->OpenByPath(QString::fromStdString(Path())) != nullptr);
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("r.cnf - TAVRO32"));

    app_->Frame().Action(cmd::kFileNew)->trigger();
    app_->Frame().UpdateActions();
    QVERIFY(!Enabled());
  }

  void TheDialogListsTheReportSortsAndCopies() {
    OpenDamagedSet();
    LoadReportDialog dialog(app_->Doc().LastLoad().Problems);
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(dialog.Text(), CoreText());
    QCOMPARE(table->item(0, LoadReportDialog::kLineColumn)->text(), QStringLiteral("2"));

    table->sortByColumn(LoadReportDialog::kKindColumn, Qt::AscendingOrder);
    QCOMPARE(table->item(0, LoadReportDialog::kKindColumn)->text(),
             QStringLiteral("cel not found"));
    QCOMPARE(table->item(2, LoadReportDialog::kKindColumn)->text(), QStringLiteral("unknown word"));
    table->sortByColumn(LoadReportDialog::kLineColumn, Qt::DescendingOrder);
    QCOMPARE(table->item(0, LoadReportDialog::kLineColumn)->text(), QStringLiteral("4"));

    QPushButton* copy = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("Copy")) copy = button;
    }
    QVERIFY(copy != nullptr);
    QGuiApplication::clipboard()->clear();
    copy->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), dialog.Text());
    QVERIFY(dialog.Text().startsWith(QString::fromStdString(Path()) + ":4: unknown word: "));
  }

  void TheMenuOpensTheDialogOverTheWindow() {
    OpenDamagedSet();
    int rows = -1;
    QTimer::singleShot(50, [&] {
      if (auto* dialog = qobject_cast<LoadReportDialog*>(QApplication::activeModalWidget())) {
        rows = dialog->Table()->rowCount();
        dialog->reject();
      }
    });
    QVERIFY(app_->Frame().Commands().Execute(cmd::kLoadReport));
    QCOMPARE(rows, 3);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::LoadReportWindowTest)
#include "LoadReportWindowTest.moc"
