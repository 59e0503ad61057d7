// What the view paints: the zoomed map with whole pixels, rows the right way up, grey around
// it; and how zooming moves the scroll position.
#include <QScrollBar>
#include <QTest>

#include "GuiTestSupport.h"
#include "gui/view/MapDisplay.h"
#include "support/FakeHost.h"
#include "support/MapEdit.h"

namespace tavro {

class ViewDrawTest : public QObject {
  Q_OBJECT

 private:
  test::FakeHost host_;
  std::unique_ptr<DocumentSession> session_;
  CTavroDoc* doc_ = nullptr;  // built by hand, as if a set had loaded
  test::StubFrameLink frame_;
  std::unique_ptr<CTavroView> view_;

  QImage Paint(int width, int height) {
    view_->resize(width, height);
    view_->show();
    QCoreApplication::processEvents();
    return view_->viewport()->grab().toImage();
  }
  // The factor alone, the picture's top left corner at the window's.
  void Zoom(int factor) {
    view_->SetZoom(factor);
    view_->ScrollTo({0, 0});
  }

 private slots:
  void init() {
    session_ = std::make_unique<DocumentSession>(host_, host_);
    doc_ = &session_->FixtureDoc();
    view_ = test::MakeStandaloneView(*session_, frame_);
  }
  void cleanup() {
    view_.reset();
    session_.reset();
  }

  void NothingLoadedIsAllGrey() {
    const QImage shot = Paint(300, 200);
    for (QPoint p : {QPoint(0, 0), QPoint(150, 100), QPoint(299, 199)}) {
      QCOMPARE(shot.pixel(p), kBackgroundGrey.rgb());
    }
  }

  void GreyStripsAtZoomTwoInAThousandBySixHundred() {
    test::FillShownSet(*doc_, {0}, 1);
    Zoom(2);
    const QImage shot = Paint(1000, 600);
    QCOMPARE(shot.size(), QSize(1000, 600));
    QCOMPARE(shot.pixel(895, 300), test::kPictureColour);
    QCOMPARE(shot.pixel(896, 300), kBackgroundGrey.rgb());
    QCOMPARE(shot.pixel(999, 0), kBackgroundGrey.rgb());
    QCOMPARE(shot.pixel(999, 599), kBackgroundGrey.rgb());
    // 640 reaches past 600: no strip below.
    QCOMPARE(shot.pixel(10, 599), test::kPictureColour);
  }

  void TopRowIsDrawnAtTheTopWithWholePixels() {
    test::FillShownSet(*doc_, {0}, 1, 20, 10);
    Zoom(3);
    const QImage shot = Paint(100, 60);
    // The map's top row (stored last) fills window rows 0 to 2, and only those.
    for (int y = 0; y < 3; ++y) QCOMPARE(shot.pixel(30, y), test::kTopRowColour);
    QCOMPARE(shot.pixel(30, 3), test::kPictureColour);
    QCOMPARE(shot.pixel(59, 29), test::kPictureColour);
    QCOMPARE(shot.pixel(60, 29), kBackgroundGrey.rgb());
    QCOMPARE(shot.pixel(30, 30), kBackgroundGrey.rgb());
  }

  void IndicesPastTheSetsColoursAreBlackWhateverTheTableKeeps() {
    test::FillShownSet(*doc_, {0}, 1, 20, 10);
    test::SetBuilder(*doc_).ColourCount(2);  // index 2 of the top row is left from an earlier set
    const QImage shot = Paint(30, 20);
    QCOMPARE(shot.pixel(5, 0), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(5, 1), test::kPictureColour);
  }

  void TrueColourMapIsReadAsRedGreenBlue() {
    // 5 pixels wide: the stride counts 8 pixels, so each row holds 32 bytes.
    test::FillShownSet(*doc_, {0}, 1, 5, 2);
    QCOMPARE(doc_->Map().Stride(), 8);
    test::EditMap(*doc_, [](ComposedMap& map) {
      map.Allocate(/*trueColour=*/true);
      uint8_t* bottom = map.MutableRow(1);
      for (int x = 0; x < 5; ++x) {
        bottom[x * 4 + 0] = 30;  // red 30, green 20, blue 10
        bottom[x * 4 + 1] = 20;
        bottom[x * 4 + 2] = 10;
      }
      map.MutableRow(0)[4 * 4] = 200;  // top row, last pixel: red 200
      QCOMPARE(map.MutableRow(1) - map.MutableRow(0), 32);
    });
    const QImage shot = Paint(10, 10);
    QCOMPARE(shot.pixel(0, 1), qRgb(30, 20, 10));
    QCOMPARE(shot.pixel(4, 1), qRgb(30, 20, 10));
    QCOMPARE(shot.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(4, 0), qRgb(200, 0, 0));
    QCOMPARE(shot.pixel(5, 0), kBackgroundGrey.rgb());
  }

  void AShortMapIsNeverRead() {
    test::FillShownSet(*doc_, {0}, 1, 40, 30);
    const auto complete = [this] {
      return doc_->Map().IsComplete(doc_->Set().PlayfieldWidth(), doc_->Set().PlayfieldHeight());
    };
    test::EditMap(*doc_, [](ComposedMap& map) {
      map.SetSize(40, 2);
      map.Allocate(/*trueColour=*/false);
      map.SetSize(40, 30);  // less than stride x height: refused, not over-read
    });
    QVERIFY(!complete());
    test::EditMap(*doc_, [](ComposedMap& map) { map.Allocate(/*trueColour=*/true); });
    QVERIFY(complete());
    test::EditMap(*doc_,
                  [](ComposedMap& map) { map.SetSize(36, 30); });  // narrower than the picture
    QVERIFY(!complete());
    const QImage shot = Paint(60, 40);
    QCOMPARE(shot.pixel(45, 35), kBackgroundGrey.rgb());
  }

  void ZoomKeepsTheCentreAndNeverScrollsNegative() {
    test::FillShownSet(*doc_, {0}, 1);
    Paint(200, 160);
    view_->RedrawWholeView();
    view_->SetZoom(2);  // centre map (100, 80) stays at the centre
    QCOMPARE(view_->ScrollPosition(), (ScrollPos{100, 80}));
    QCOMPARE(view_->horizontalScrollBar()->maximum(), 896 - 200);
    view_->ScrollTo({696, 480});
    view_->SetZoom(1);  // past the content: the content's far edge meets the window's
    QCOMPARE(view_->ScrollPosition(), (ScrollPos{248, 160}));
    view_->resize(1000, 800);
    view_->SetZoom(2);
    QCOMPARE(view_->ScrollPosition(), (ScrollPos{0, 0}));
    QCOMPARE(view_->Zoom(), 2);
  }

  void APictureThatFitsNeedsNoScrollBarsAfterASmallerWindow() {
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    test::FillShownSet(*doc_, {0}, 1, 300, 200);
    Paint(200, 150);
    QVERIFY(view_->horizontalScrollBar()->maximum() > 0);
    Paint(300, 200);
    QCOMPARE(view_->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view_->verticalScrollBar()->maximum(), 0);
    QCOMPARE(view_->viewport()->size(), QSize(300, 200));
  }

  void RepaintingAMapRectCoversItsZoomedArea() {
    test::FillShownSet(*doc_, {0}, 1, 50, 50);
    Zoom(2);
    Paint(200, 200);
    test::FillMap(*doc_, uint8_t{2});
    SessionChange change;
    change.Repaint = {10, 10, 20, 20};
    view_->Apply(change);
    const QImage shot = view_->viewport()->grab().toImage();
    QCOMPARE(shot.pixel(25, 25), test::kTopRowColour);
  }

  void SelectingASetRefreshesTheFrameEvenWhenNothingChanges() {
    test::FillShownSet(*doc_, {0, 3}, 1);
    Paint(100, 100);
    frame_.Refreshes = 0;
    view_->SelectSet(0);
    QCOMPARE(frame_.Refreshes, 1);
    QCOMPARE(doc_->Set().CurrentSet(), 0);
    view_->SelectSet(4);  // not in use: no refresh at all
    QCOMPARE(frame_.Refreshes, 1);
    view_->SelectSet(3);
    QCOMPARE(doc_->Set().CurrentSet(), 3);
  }

  void ToolbarChangeIsStoredAsTheSetting() {
    Paint(100, 100);
    frame_.ToolbarVisible = true;
    view_->resize(100, 77);
    QCOMPARE(frame_.StoredToolbar, 1);
    QCOMPARE(view_->ToolbarHeight(), 23);
    frame_.ToolbarVisible = false;
    view_->resize(100, 100);
    QCOMPARE(frame_.StoredToolbar, 0);
    QCOMPARE(view_->ToolbarHeight(), 0);
    // A resize without a toolbar change leaves the setting alone.
    frame_.StoredToolbar = -1;
    view_->resize(120, 100);
    QCOMPARE(frame_.StoredToolbar, -1);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ViewDrawTest)
#include "ViewDrawTest.moc"
