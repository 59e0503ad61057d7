// The Zoom dialog's checks, the "Select CNF File" dialog, the open dialog's filters and the
// decoding of texts for display.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "gui/shell/AboutDialog.h"
#include "gui/shell/AppSettings.h"
#include "gui/shell/OpenFileDialog.h"
#include "gui/shell/QtHost.h"
#include "gui/shell/SelectCnfDialog.h"
#include "gui/shell/ZoomDialog.h"
#include "support/FakeHost.h"

namespace tavro {

class DialogTest : public QObject {
  Q_OBJECT

 private:
  test::ScopedSettingsDir settingsDir_;  // nothing here touches the user's own settings

 private slots:
  void ZoomDialogRefusesZeroThirtyTwoAndText() {
    const struct {
      const char* Typed;
      const char* Message;
    } refused[] = {
        {"0", "Please enter an integer between 1 and 31."},
        {"32", "Please enter an integer between 1 and 31."},
        {"99999999999", "Please enter an integer between 1 and 31."},
        {"abc", "Please enter an integer."},
        {"", "Please enter an integer."},
        {"-3", "Please enter an integer."},
        {"2x", "Please enter an integer."},
    };
    for (const auto& c : refused) {
      std::vector<std::string> told;
      ZoomDialog dialog([&told](const std::string& message) { told.push_back(message); }, 3);
      dialog.Field()->setText(QString::fromLatin1(c.Typed));
      dialog.accept();
      QVERIFY2(dialog.result() != QDialog::Accepted, c.Typed);
      QCOMPARE(dialog.Factor(), 3);
      QCOMPARE(told, std::vector<std::string>{c.Message});
      QCOMPARE(dialog.Field()->selectedText(), dialog.Field()->text());
    }
  }

  void ZoomDialogTakesOneToThirtyOne() {
    for (const char* typed : {"1", "31", " 7 "}) {
      std::vector<std::string> told;
      ZoomDialog dialog([&told](const std::string& message) { told.push_back(message); }, 3);
      QCOMPARE(dialog.Field()->text(), QStringLiteral("3"));
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Zoom"));
      dialog.Field()->setText(QString::fromLatin1(typed));
      dialog.accept();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.Factor(), QString::fromLatin1(typed).trimmed().toInt());
      QVERIFY(told.empty());
    }
  }

  void SelectCnfListsNamesUnsortedWithTheFirstSelected() {
    SelectCnfDialog dialog({"b.cnf", "a.cnf", "C.CNF"});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select CNF File"));
    QListWidget* list = dialog.List();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("b.cnf"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("a.cnf"));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(dialog.ChosenRow(), -1);
    dialog.accept();
    QCOMPARE(dialog.ChosenRow(), 0);
  }

  void SelectCnfDoubleClickChoosesAtOnce() {
    SelectCnfDialog dialog({"b.cnf", "a.cnf"});
    dialog.show();
    QListWidget* list = dialog.List();
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenRow(), 1);
  }

  void SelectCnfOkOnAnEmptyListGivesAnEmptyName() {
    SelectCnfDialog dialog({});
    QCOMPARE(dialog.List()->currentRow(), -1);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenRow(), -1);
  }

  void SelectCnfCancelKeepsTheNameEmpty() {
    SelectCnfDialog dialog({"a.cnf"});
    dialog.reject();
    QCOMPARE(dialog.ChosenRow(), -1);
  }

  void ChooserHandsBackTheNameAsTheDirectoryGaveIt() {
    AppSettings settings;
    QtHost host(settings);
    const std::string japanese = "\x82\xA0.cnf";  // Shift_JIS, shown decoded
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<SelectCnfDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->List()->item(1)->text(), QString(QChar(0x3042)) + ".cnf");
      dialog->List()->setCurrentRow(1);
      dialog->accept();
    });
    std::string chosen;
    QVERIFY(host.ChooseConfigFile({"b.cnf", japanese}, chosen));
    QCOMPARE(chosen, japanese);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    chosen = "left over";
    QVERIFY(!host.ChooseConfigFile({"b.cnf"}, chosen));
    QVERIFY(chosen.empty());
  }

  void OpenFiltersOfferArchivesFirstAndAllFilesLast() {
    const std::vector<FileFilter> filters = OpenFileFilters();
    QCOMPARE(filters.size(), size_t{5});
    QCOMPARE(filters[0].Patterns, QStringLiteral("*.cnf;*.lzh;*.lha;*.zip"));
    QCOMPARE(filters[2].Patterns, QStringLiteral("*.lzh;*.lha"));
    QCOMPARE(filters[4].Description, QStringLiteral("All Files (*.*)"));
    // As the Qt dialog reads them: blanks between patterns, so every kind matches.
    const QStringList qt = QtNameFilters(filters);
    QCOMPARE(qt[0], QStringLiteral("Mivo File(*.cnf;*.lzh;*.lha;*.zip) (*.cnf *.lzh *.lha *.zip)"));
    QCOMPARE(qt[4], QStringLiteral("All Files (*.*) (*)"));
  }

  void OpenDialogShowsTheFiltersExactlyAsWritten() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SetUpOpenDialog(dialog);
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(combo != nullptr);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown.append(combo->itemText(i));
    QCOMPARE(shown, (QStringList{"Mivo File(*.cnf;*.lzh;*.lha;*.zip)", "Mivo File(*.cnf)",
                                 "LZH File(*.lzh;*.lha)", "ZIP File(*.zip)", "All Files (*.*)"}));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Open"));
  }

  void AboutBoxHasItsCaptionAndAnOkButton() {
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("TAVRO"));
    auto* ok = about.findChild<QPushButton*>();
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    QVERIFY(ok->isDefault());
    QCOMPARE(about.findChildren<QLabel*>().size(), 4);  // the icon and three lines
  }

  void TextsAreDecodedForDisplay() {
    QCOMPARE(DecodeForDisplay("plain"), QStringLiteral("plain"));
    QCOMPARE(DecodeForDisplay("\xE3\x81\x82"), QString(QChar(0x3042)));  // UTF-8
    QCOMPARE(DecodeForDisplay("\x82\xA0"), QString(QChar(0x3042)));      // Shift_JIS
    // Neither: one character a byte.
    QCOMPARE(DecodeForDisplay("\xFF\xFE").size(), 2);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::DialogTest)
#include "DialogTest.moc"
