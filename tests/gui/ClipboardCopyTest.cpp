// Edit > Copy in the window: when it is offered, and what lands on the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "GuiTestSupport.h"
#include "composition/ClipboardBitmap.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/view/ClipboardExport.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class ClipboardCopyTest : public test::AppTestCase {
  Q_OBJECT

 private:
  // A 45 x 30 set: a 16-colour palette, or a new-form palette of `colours` colours; one cel of
  // colour 3 at (5, 4).
  void OpenSet(int colours) {
    if (colours <= 16) {
      files_->OldPalette("p.kcf");
    } else {
      std::vector<test::Rgb> ramp;
      for (int i = 0; i < colours; ++i) {
        ramp.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 40});
      }
      files_->Write("p.kcf", test::EncodeNewPalette(24, colours, {ramp}));
    }
    files_->SolidCel("a.cel", 6, 6, 3);
    files_->WriteText("s.cnf", "(45,30)\n%p.kcf\n#0 a.cel :0\n$0 5,4\n");
    QVERIFY(app_->OpenByPath(QString::fromStdString(files_->Path("s.cnf").string())) != nullptr);
    QCOMPARE(app_->Doc().Set().Palettes().ColourCount, colours);
  }

  QByteArray ClipboardBmp() const {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime == nullptr ? QByteArray() : mime->data(kBmpMimeType);
  }

  static QByteArray CoreBytes(const CTavroDoc& doc) {
    const std::vector<uint8_t> bmp =
        MakeClipboardBmpFile({doc.Map(), doc.Set().PlayfieldWidth(), doc.Set().PlayfieldHeight(),
                              doc.Set().Palettes().ColourCount});
    return {reinterpret_cast<const char*>(bmp.data()), static_cast<qsizetype>(bmp.size())};
  }

  static int BitCount(const QByteArray& bmp) {
    return static_cast<uint8_t>(bmp.at(28)) | static_cast<uint8_t>(bmp.at(29)) << 8;
  }

  // The picture as the clipboard's image, checked against the map pixel by pixel at a few places.
  void CheckClipboardImage() {
    const QImage image = QGuiApplication::clipboard()->image();
    QCOMPARE(image.size(), QSize(45, 30));
    const CTavroDoc& doc = app_->Doc();
    const RgbQuad cel = doc.Map().Colours()[3];
    const RgbQuad background = doc.Map().Colours()[0];
    QCOMPARE(image.pixel(5, 4), qRgb(cel.Red, cel.Green, cel.Blue));
    QCOMPARE(image.pixel(10, 9), qRgb(cel.Red, cel.Green, cel.Blue));
    QCOMPARE(image.pixel(4, 4), qRgb(background.Red, background.Green, background.Blue));
    QCOMPARE(image.pixel(44, 29), qRgb(background.Red, background.Green, background.Blue));
  }

 private slots:
  void init() {
    BeginFolders();
    StartApp();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  }
  void cleanup() { End(); }

  void CopyIsOfferedOnlyWhileASetIsShown() {
    QAction* copy = app_->Frame().Action(cmd::kEditCopy);
    QVERIFY(!copy->isEnabled());
    QVERIFY(!app_->Frame().Commands().Execute(cmd::kEditCopy));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    OpenSet(16);
    QVERIFY(copy->isEnabled());
    app_->OnFileNew();
    QVERIFY(!copy->isEnabled());
  }

  void CtrlCAndCtrlInsertBothCopy() {
    const QList<QKeySequence> keys = app_->Frame().Action(cmd::kEditCopy)->shortcuts();
    QVERIFY(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_C)));
    QVERIFY(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Insert)));
    OpenSet(16);
    QVERIFY(QTest::qWaitForWindowActive(&app_->Frame()));
    QTest::keyClick(&app_->View(), Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(ClipboardBmp(), CoreBytes(app_->Doc()));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(&app_->View(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardBmp(), CoreBytes(app_->Doc()));
  }

  void SixteenColoursGoAsFourBitsWithTheImageBeside() {
    OpenSet(16);
    app_->Frame().Action(cmd::kEditCopy)->trigger();
    const QByteArray bmp = ClipboardBmp();
    QCOMPARE(bmp, CoreBytes(app_->Doc()));
    QCOMPARE(BitCount(bmp), 4);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());
    CheckClipboardImage();
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor is gone again
  }

  void MoreColoursGoAsEightBitsAndTrueColourAsTwentyFour() {
    OpenSet(200);
    app_->Frame().Action(cmd::kEditCopy)->trigger();
    QCOMPARE(BitCount(ClipboardBmp()), 8);
    QCOMPARE(ClipboardBmp(), CoreBytes(app_->Doc()));
    CheckClipboardImage();

    app_->Frame().Action(cmd::kTrueColour)->trigger();
    app_->Frame().Action(cmd::kEditCopy)->trigger();
    QCOMPARE(BitCount(ClipboardBmp()), 24);
    QCOMPARE(ClipboardBmp(), CoreBytes(app_->Doc()));
    CheckClipboardImage();
  }

  void TheCopiedColoursAreThoseOfTheGroupShown() {
    files_->OldPalette("p.kcf",
                       {{{0, 0, 0}, {}, {}, {0, 0, 255}}, {{0, 0, 0}, {}, {}, {255, 0, 0}}});
    files_->SolidCel("a.cel", 6, 6, 3);
    files_->WriteText("s.cnf", "(45,30)\n%p.kcf\n#0 a.cel :0\n$1 5,4\n");
    app_->OpenByPath(QString::fromStdString(files_->Path("s.cnf").string()));
    QCOMPARE(app_->Doc().Set().CurrentGroup(), 1);
    app_->Frame().Action(cmd::kEditCopy)->trigger();
    const QRgb red = QGuiApplication::clipboard()->image().pixel(6, 5);
    QVERIFY(qRed(red) > 200 && qBlue(red) == 0);
    app_->Frame().Action(cmd::kFirstGroup)->trigger();
    app_->Frame().Action(cmd::kEditCopy)->trigger();
    const QRgb blue = QGuiApplication::clipboard()->image().pixel(6, 5);
    QVERIFY(qBlue(blue) > 200 && qRed(blue) == 0);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ClipboardCopyTest)
#include "ClipboardCopyTest.moc"
