// The program under a light and a dark desktop theme: each toolbar digit stands out from the
// face of its button, and the dialogs keep their grey look with black text.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <map>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/RecordDialog.h"

namespace tavro {
namespace {

// The colours a dark desktop theme hands a program.
QPalette DarkPalette() {
  QPalette dark;
  const QColor face(53, 53, 53);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button}) dark.setColor(role, face);
  dark.setColor(QPalette::Base, QColor(42, 42, 42));
  dark.setColor(QPalette::AlternateBase, face);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    dark.setColor(role, QColor(240, 240, 240));
    dark.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
  }
  dark.setColor(QPalette::Light, QColor(90, 90, 90));
  dark.setColor(QPalette::Midlight, QColor(70, 70, 70));
  dark.setColor(QPalette::Mid, QColor(40, 40, 40));
  dark.setColor(QPalette::Dark, QColor(30, 30, 30));
  dark.setColor(QPalette::Shadow, QColor(10, 10, 10));
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  return dark;
}

int Lightness(QRgb pixel) {
  return (299 * qRed(pixel) + 587 * qGreen(pixel) + 114 * qBlue(pixel)) / 1000;
}

// How many pixels of the button's image area differ in lightness from its face (the commonest
// colour there) by at least `contrast`.
int PixelsStandingOut(QWidget* button, int contrast) {
  const QImage shot = button->grab().toImage();
  const QRect area(shot.width() / 2 - 8, shot.height() / 2 - 7, 16, 15);
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) ++counts[shot.pixel(x, y)];
  QRgb face = 0;
  int most = 0;
  for (const auto& [colour, count] : counts) {
    if (count > most) std::tie(face, most) = std::tie(colour, count);
  }
  int standing = 0;
  for (const auto& [colour, count] : counts) {
    if (std::abs(Lightness(colour) - Lightness(face)) >= contrast) standing += count;
  }
  return standing;
}

}  // namespace

class DarkThemeTest : public test::AppTestCase {
  Q_OBJECT

 private:
  QPalette original_;

 private slots:
  void init() {
    original_ = QApplication::palette();
    BeginFolders();
  }
  void cleanup() {
    End();
    QApplication::setPalette(original_);
  }

  void EveryDigitStandsOutFromItsFace_data() {
    QTest::addColumn<QPalette>("theme");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << DarkPalette();
  }

  // The desktop's theme is in place when the program starts, as it is for a user.
  void EveryDigitStandsOutFromItsFace() {
    QFETCH(QPalette, theme);
    QApplication::setPalette(theme);
    StartApp();
    files_->OldPalette("p.kcf");
    files_->SolidCel("a.cel", 4, 4, 3);
    files_->WriteText("a.cnf", "(40,30)\n%p.kcf\n#0 a.cel :0 1 2 3 4 5 6 7 8 9\n$0 2,2\n");
    QVERIFY(app_->OpenByPath(QString::fromStdString(files_->Path("a.cnf").string())) != nullptr);
    app_->Frame().UpdateActions();
    QVERIFY(QTest::qWaitForWindowExposed(&app_->Frame()));
    auto* bar = app_->Frame().findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(bar != nullptr);
    for (int set = 0; set < 10; ++set) {
      QWidget* button = bar->widgetForAction(app_->Frame().Action(cmd::kFirstSet + set));
      QVERIFY(button != nullptr && button->isEnabled());
      // A bold digit has a few dozen pixels; a clear contrast is well over a third of the
      // lightness scale.
      const int standing = PixelsStandingOut(button, 100);
      QVERIFY2(standing >= 10,
               qPrintable(QStringLiteral("set %1: %2 pixels").arg(set).arg(standing)));
    }
  }

  void DialogsKeepTheirGreyLookWithBlackText() {
    // A theme hands labels and edit fields palettes of their own, besides the application's.
    for (const char* type : {static_cast<const char*>(nullptr), "QLabel", "QLineEdit"})
      QApplication::setPalette(DarkPalette(), type);
    StartApp();
    RecordDialog dialog(1000, QStringLiteral("out.gif"), &app_->Frame());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    QVERIFY(!labels.isEmpty());
    for (QLabel* label : labels)
      QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
      QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::white));
      QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
    }
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::DarkThemeTest)
#include "DarkThemeTest.moc"
