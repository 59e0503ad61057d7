// Menu, toolbar and keyboard states of the main frame, empty and with a set shown.
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/view/VirtualKeys.h"
#include "interaction/FixOverride.h"

namespace tavro {

class ToolTipRecorder : public QObject {
 public:
  int Seen = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ToolTip) ++Seen;
    return false;
  }
};

class FrameStateTest : public test::AppTestCase {
  Q_OBJECT

 private:
  bool Enabled(int id) { return app_->Frame().Action(id)->isEnabled(); }
  bool Checked(int id) { return app_->Frame().Action(id)->isChecked(); }

  void ShowSetsZeroTwoFive() {
    test::FillShownSet(app_->Session().FixtureDoc(), {0, 2, 5}, 2);
    app_->Frame().UpdateActions();
  }

 private slots:
  void init() {
    BeginFolders();
    StartApp();
  }
  void cleanup() { End(); }

  void EmptyDocumentDisablesEverySetAndColourCommand() {
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
    for (int n = 0; n < 10; ++n) {
      QVERIFY(!Enabled(cmd::kFirstSet + n));
      QVERIFY(!Checked(cmd::kFirstSet + n));  // CurrentSet is 255
      QVERIFY(!Enabled(cmd::kFirstGroup + n));
      QVERIFY(!Checked(cmd::kFirstGroup + n));
    }
    for (int id : {cmd::kTest, cmd::kColour256, cmd::kTrueColour, cmd::kEditUndo, cmd::kEditCut,
                   cmd::kEditPaste, cmd::kZoomOut, cmd::kNextPane, cmd::kPreviousPane}) {
      QVERIFY2(!Enabled(id), qPrintable(QString::number(id)));
    }
    for (int id : {cmd::kFileOpen, cmd::kZoomIn, cmd::kZoomDialog, cmd::kAppAbout,
                   cmd::kViewToolbar, cmd::kFileNew, cmd::kMinimiseRestore}) {
      QVERIFY2(Enabled(id), qPrintable(QString::number(id)));
    }
    QVERIFY(!Checked(cmd::kColour256));
    QVERIFY(Checked(cmd::kViewToolbar));
    QCOMPARE(app_->Frame().Action(cmd::kZoomDialog)->text(), QStringLiteral("&Zoom... x1"));
  }

  void SetsZeroTwoFiveWithTwoColourGroups() {
    ShowSetsZeroTwoFive();
    for (int n = 0; n < 10; ++n) {
      const bool inUse = n == 0 || n == 2 || n == 5;
      QCOMPARE(Enabled(cmd::kFirstSet + n), inUse);
      QCOMPARE(Checked(cmd::kFirstSet + n), n == 0);
      QCOMPARE(Enabled(cmd::kFirstGroup + n), n < 2);
      QCOMPARE(Checked(cmd::kFirstGroup + n), n == 0);
    }
    QVERIFY(Enabled(cmd::kTest));
    QVERIFY(Enabled(cmd::kColour256) && Checked(cmd::kColour256));
    QVERIFY(Enabled(cmd::kTrueColour) && !Checked(cmd::kTrueColour));
    // Undo, Cut and Paste stay disabled whatever is loaded.
    QVERIFY(!Enabled(cmd::kEditUndo) && !Enabled(cmd::kEditCut) && !Enabled(cmd::kEditPaste));
  }

  void DigitKeysChooseOnlySetsInUse() {
    ShowSetsZeroTwoFive();
    CTavroView& view = app_->View();
    for (Qt::Key key : {Qt::Key_1, Qt::Key_3, Qt::Key_4, Qt::Key_6, Qt::Key_9}) {
      QTest::keyClick(&view, key);
      QCOMPARE(app_->Doc().Set().CurrentSet(), 0);
    }
    QTest::keyClick(&view, Qt::Key_5);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 5);
    // The keypad's digits choose sets too.
    QTest::keyClick(&view, Qt::Key_2, Qt::KeypadModifier);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 2);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstSet + 2));
    QVERIFY(!Checked(cmd::kFirstSet + 5));
  }

  void TestCommandEndsOnTheHighestSetInUse() {
    ShowSetsZeroTwoFive();
    app_->Frame().Action(cmd::kTest)->trigger();
    QCOMPARE(app_->Doc().Set().CurrentSet(), 5);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstSet + 5));
  }

  void SetCommandsOfUnusedSetsDoNothingEvenWhenForced() {
    ShowSetsZeroTwoFive();
    app_->Frame().Action(cmd::kFirstSet + 7)->trigger();
    QCOMPARE(app_->Doc().Set().CurrentSet(), 0);
    app_->View().SelectSet(12);
    app_->View().SelectSet(-1);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 0);
  }

  void ColourCommandsFollowTheGroup() {
    ShowSetsZeroTwoFive();
    app_->Frame().Action(cmd::kFirstGroup + 1)->trigger();
    QCOMPARE(app_->Doc().Set().CurrentGroup(), 1);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstGroup + 1));
    QVERIFY(!Checked(cmd::kFirstGroup + 0));
  }

  void ZoomItemsFollowTheFactor() {
    ShowSetsZeroTwoFive();
    app_->View().SetZoom(kMaxZoom);
    app_->Frame().UpdateActions();
    QVERIFY(!Enabled(cmd::kZoomIn));
    QVERIFY(Enabled(cmd::kZoomOut));
    QCOMPARE(app_->Frame().Action(cmd::kZoomDialog)->text(), QStringLiteral("&Zoom... x16"));
    app_->Frame().Action(cmd::kZoomOut)->trigger();
    QCOMPARE(app_->View().Zoom(), 15);
  }

  void KeypadPlusAndMinusZoomOneStepEach() {
    ShowSetsZeroTwoFive();
    QTest::keyClick(&app_->View(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(app_->View().Zoom(), 2);
    QTest::keyClick(&app_->View(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&app_->View(), Qt::Key_Minus, Qt::KeypadModifier);  // already at 1
    QCOMPARE(app_->View().Zoom(), 1);
    // The main keyboard's plus is no accelerator.
    QTest::keyClick(&app_->View(), Qt::Key_Plus);
    QCOMPARE(app_->View().Zoom(), 1);
  }

  void TheKeySequenceCountsOnlyLettersTypedInARow() {
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app_->View();
    QTest::keyClicks(&view, "ZOR");
    QCOMPARE(state.Value(), 3);
    QTest::keyClick(&view, Qt::Key_Shift);  // a modifier is a key of its own
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "zorv");
    QTest::keyClick(&view, Qt::Key_E, Qt::ShiftModifier);  // Shift goes down first
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "zorve");  // lower case: the same keys
    QVERIFY(state.Active());
    app_->Frame().Action(cmd::kFileNew)->trigger();
    QTest::keyClick(&view, Qt::Key_Q);
    QVERIFY(state.Active());  // for the rest of the run
    state.Reset();
  }

  void CtrlCombinationsThatAreNoAcceleratorsReachTheKeyHandling() {
    ShowSetsZeroTwoFive();
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app_->View();
    QTest::keyClick(&view, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 2);
    // F6 is an accelerator that does nothing: the sequence goes on across it.
    QTest::keyClicks(&view, "ZOR");
    QTest::keyClick(&view, Qt::Key_F6);
    QTest::keyClicks(&view, "VE");
    QVERIFY(state.Active());
    state.Reset();
  }

  void AltCombinationsAndDisabledAcceleratorsNeverReachTheKeyHandling() {
    ShowSetsZeroTwoFive();
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app_->View();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // Undo, disabled: not a Z
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "ZOR");
    QTest::keyClick(&view, Qt::Key_5, Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_Alt);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 0);
    // Nothing came in between.
    QCOMPARE(state.Value(), 3);
    QTest::keyClick(&view, Qt::Key_Control);  // the Ctrl key alone is a key
    QCOMPARE(state.Value(), 0);
    state.Reset();
  }

  void MainKeyboardDigitsAreKnownByTheirPosition() {
    // AZERTY's unshifted top row, QWERTY's shifted one: the key's position gives the digit.
    QCOMPARE(VirtualKeyCode(Qt::Key_Ampersand, Qt::NoModifier, 10), '1');
    QCOMPARE(VirtualKeyCode(Qt::Key_Agrave, Qt::NoModifier, 19), '0');
    QCOMPARE(VirtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier, 10), '1');
    QCOMPARE(VirtualKeyCode(Qt::Key_A, Qt::NoModifier, 24), 'A');
    QCOMPARE(VirtualKeyCode(Qt::Key_7, Qt::KeypadModifier, 16), kVkNumpad0 + 7);
  }

  void ColourModeCommandsRepaintOnce() {
    ShowSetsZeroTwoFive();
    QCoreApplication::processEvents();
    test::PaintRecorder paints(app_->View().viewport());
    app_->Frame().Action(cmd::kTrueColour)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(paints.Events, 1);
  }

  void MenuBarHasTheDesignedMenusAndTexts() {
    QStringList titles;
    for (QAction* menu : app_->Frame().menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles,
             (QStringList{"&File", "&Edit", "&View", "&Set", "&Color", "&Option", "&Help"}));
    QCOMPARE(app_->Frame().Action(cmd::kFileOpen)->text(), QStringLiteral("&Open...\tCtrl+O"));
    QCOMPARE(app_->Frame().Action(cmd::kZoomIn)->text(), QStringLiteral("Zoom &In\t+"));
    QCOMPARE(app_->Frame().Action(cmd::kFileOpen)->data().toInt(), cmd::kFileOpen);
    QCOMPARE(app_->Frame().Action(cmd::kEditCopy)->shortcuts().size(), 2);
    QVERIFY(app_->Frame().findChild<QStatusBar*>() == nullptr);
  }

  void ToolbarHasEighteenEntriesAndNoToolTips() {
    QToolBar* bar = app_->Frame().ToolBar();
    QCOMPARE(bar->windowTitle(), QStringLiteral("ToolBar"));
    QCOMPARE(bar->actions().size(), 18);
    QCOMPARE(bar->height(), 23);
    QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
    QVERIFY(bar->isFloatable());
    int separators = 0;
    for (QAction* a : bar->actions()) separators += a->isSeparator() ? 1 : 0;
    QCOMPARE(separators, 4);
    QCOMPARE(bar->actions().last()->data().toInt(), cmd::kAppAbout);
    // A tool tip event on a button is swallowed before the button can show its text; a tool
    // tip anywhere else still gets through.
    QWidget* button = bar->widgetForAction(bar->actions().first());
    ToolTipRecorder onButton, onView;
    button->installEventFilter(&onButton);
    app_->View().installEventFilter(&onView);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &tip);
    QHelpEvent viewTip(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
    QCoreApplication::sendEvent(&app_->View(), &viewTip);
    QCOMPARE(onButton.Seen, 0);
    QCOMPARE(onView.Seen, 1);
  }

  void ToolbarSetButtonsShareTheSetRules() {
    ShowSetsZeroTwoFive();
    QToolBar* bar = app_->Frame().ToolBar();
    auto* three = qobject_cast<QToolButton*>(bar->widgetForAction(app_->Frame().Action(104)));
    auto* zero = qobject_cast<QToolButton*>(bar->widgetForAction(app_->Frame().Action(101)));
    QVERIFY(three && zero);
    QVERIFY(!three->isEnabled());
    QVERIFY(zero->isEnabled() && zero->isChecked());
  }

  void ToolbarCommandHidesAndShowsTheToolbar() {
    app_->Frame().Action(cmd::kViewToolbar)->trigger();
    QVERIFY(app_->Frame().ToolBar()->isHidden());
    QCoreApplication::processEvents();
    QVERIFY(!Checked(cmd::kViewToolbar));
    app_->Frame().Action(cmd::kViewToolbar)->trigger();
    QVERIFY(!app_->Frame().ToolBar()->isHidden());
  }

  void SpaceMinimisesAndRestores() {
    CMainFrame& frame = app_->Frame();
    frame.Action(cmd::kMinimiseRestore)->trigger();
    QTRY_VERIFY(frame.isMinimized());
    frame.Action(cmd::kMinimiseRestore)->trigger();
    QTRY_VERIFY(!frame.isMinimized());
    // A maximised frame comes back maximised.
    frame.showMaximized();
    QTRY_VERIFY(frame.isMaximized());
    frame.Action(cmd::kMinimiseRestore)->trigger();
    QTRY_VERIFY(frame.isMinimized());
    frame.Action(cmd::kMinimiseRestore)->trigger();
    QTRY_VERIFY(!frame.isMinimized());
    QVERIFY(frame.isMaximized());
  }

  void ArrowKeysScrollByATenth() {
    test::FillShownSet(app_->Session().FixtureDoc(), {0}, 1, 1000, 100);
    app_->Frame().resize(400, 400);
    app_->View().RedrawWholeView();
    QCoreApplication::processEvents();
    QTest::keyClick(&app_->View(), Qt::Key_Right);
    QCOMPARE(app_->View().ScrollPosition().X, 100);
    QTest::keyClick(&app_->View(), Qt::Key_Left);
    QTest::keyClick(&app_->View(), Qt::Key_Left);
    QCOMPARE(app_->View().ScrollPosition().X, 0);
    QTest::keyClick(&app_->View(), Qt::Key_Down);
    QCOMPARE(app_->View().ScrollPosition().Y, 0);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::FrameStateTest)
#include "FrameStateTest.moc"
