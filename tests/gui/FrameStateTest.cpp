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
  int seen = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ToolTip) ++seen;
    return false;
  }
};

class FrameStateTest : public test::AppTestCase {
  Q_OBJECT

 private:
  bool Enabled(int id) { return app->Frame().Action(id)->isEnabled(); }
  bool Checked(int id) { return app->Frame().Action(id)->isChecked(); }

  void ShowSetsZeroTwoFive() {
    test::FillShownSet(app->Session().FixtureDoc(), {0, 2, 5}, 2);
    app->Frame().UpdateActions();
  }

 private slots:
  void init() {
    BeginFolders();
    StartApp();
  }
  void cleanup() { End(); }

  void emptyDocumentDisablesEverySetAndColourCommand() {
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
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
    QCOMPARE(app->Frame().Action(cmd::kZoomDialog)->text(), QStringLiteral("&Zoom... x1"));
  }

  void setsZeroTwoFiveWithTwoColourGroups() {
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

  void digitKeysChooseOnlySetsInUse() {
    ShowSetsZeroTwoFive();
    CTavroView& view = app->View();
    for (Qt::Key key : {Qt::Key_1, Qt::Key_3, Qt::Key_4, Qt::Key_6, Qt::Key_9}) {
      QTest::keyClick(&view, key);
      QCOMPARE(app->Doc().Set().CurrentSet(), 0);
    }
    QTest::keyClick(&view, Qt::Key_5);
    QCOMPARE(app->Doc().Set().CurrentSet(), 5);
    // The keypad's digits choose sets too.
    QTest::keyClick(&view, Qt::Key_2, Qt::KeypadModifier);
    QCOMPARE(app->Doc().Set().CurrentSet(), 2);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstSet + 2));
    QVERIFY(!Checked(cmd::kFirstSet + 5));
  }

  void testCommandEndsOnTheHighestSetInUse() {
    ShowSetsZeroTwoFive();
    app->Frame().Action(cmd::kTest)->trigger();
    QCOMPARE(app->Doc().Set().CurrentSet(), 5);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstSet + 5));
  }

  void setCommandsOfUnusedSetsDoNothingEvenWhenForced() {
    ShowSetsZeroTwoFive();
    app->Frame().Action(cmd::kFirstSet + 7)->trigger();
    QCOMPARE(app->Doc().Set().CurrentSet(), 0);
    app->View().SelectSet(12);
    app->View().SelectSet(-1);
    QCOMPARE(app->Doc().Set().CurrentSet(), 0);
  }

  void colourCommandsFollowTheGroup() {
    ShowSetsZeroTwoFive();
    app->Frame().Action(cmd::kFirstGroup + 1)->trigger();
    QCOMPARE(app->Doc().Set().CurrentGroup(), 1);
    QCoreApplication::processEvents();
    QVERIFY(Checked(cmd::kFirstGroup + 1));
    QVERIFY(!Checked(cmd::kFirstGroup + 0));
  }

  void zoomItemsFollowTheFactor() {
    ShowSetsZeroTwoFive();
    app->View().SetZoom(kMaxZoom);
    app->Frame().UpdateActions();
    QVERIFY(!Enabled(cmd::kZoomIn));
    QVERIFY(Enabled(cmd::kZoomOut));
    QCOMPARE(app->Frame().Action(cmd::kZoomDialog)->text(), QStringLiteral("&Zoom... x16"));
    app->Frame().Action(cmd::kZoomOut)->trigger();
    QCOMPARE(app->View().Zoom(), 15);
  }

  void keypadPlusAndMinusZoomOneStepEach() {
    ShowSetsZeroTwoFive();
    QTest::keyClick(&app->View(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(app->View().Zoom(), 2);
    QTest::keyClick(&app->View(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&app->View(), Qt::Key_Minus, Qt::KeypadModifier);  // already at 1
    QCOMPARE(app->View().Zoom(), 1);
    // The main keyboard's plus is no accelerator.
    QTest::keyClick(&app->View(), Qt::Key_Plus);
    QCOMPARE(app->View().Zoom(), 1);
  }

  void theKeySequenceCountsOnlyLettersTypedInARow() {
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app->View();
    QTest::keyClicks(&view, "ZOR");
    QCOMPARE(state.Value(), 3);
    QTest::keyClick(&view, Qt::Key_Shift);  // a modifier is a key of its own
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "zorv");
    QTest::keyClick(&view, Qt::Key_E, Qt::ShiftModifier);  // Shift goes down first
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "zorve");  // lower case: the same keys
    QVERIFY(state.Active());
    app->Frame().Action(cmd::kFileNew)->trigger();
    QTest::keyClick(&view, Qt::Key_Q);
    QVERIFY(state.Active());  // for the rest of the run
    state.Reset();
  }

  void ctrlCombinationsThatAreNoAcceleratorsReachTheKeyHandling() {
    ShowSetsZeroTwoFive();
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app->View();
    QTest::keyClick(&view, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(app->Doc().Set().CurrentSet(), 2);
    // F6 is an accelerator that does nothing: the sequence goes on across it.
    QTest::keyClicks(&view, "ZOR");
    QTest::keyClick(&view, Qt::Key_F6);
    QTest::keyClicks(&view, "VE");
    QVERIFY(state.Active());
    state.Reset();
  }

  void altCombinationsAndDisabledAcceleratorsNeverReachTheKeyHandling() {
    ShowSetsZeroTwoFive();
    FixOverrideState& state = ProcessFixOverride();
    state.Reset();
    CTavroView& view = app->View();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // Undo, disabled: not a Z
    QCOMPARE(state.Value(), 0);
    QTest::keyClicks(&view, "ZOR");
    QTest::keyClick(&view, Qt::Key_5, Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_Alt);
    QCOMPARE(app->Doc().Set().CurrentSet(), 0);
    // Nothing came in between.
    QCOMPARE(state.Value(), 3);
    QTest::keyClick(&view, Qt::Key_Control);  // the Ctrl key alone is a key
    QCOMPARE(state.Value(), 0);
    state.Reset();
  }

  void mainKeyboardDigitsAreKnownByTheirPosition() {
    // AZERTY's unshifted top row, QWERTY's shifted one: the key's position gives the digit.
    QCOMPARE(VirtualKeyCode(Qt::Key_Ampersand, Qt::NoModifier, 10), '1');
    QCOMPARE(VirtualKeyCode(Qt::Key_Agrave, Qt::NoModifier, 19), '0');
    QCOMPARE(VirtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier, 10), '1');
    QCOMPARE(VirtualKeyCode(Qt::Key_A, Qt::NoModifier, 24), 'A');
    QCOMPARE(VirtualKeyCode(Qt::Key_7, Qt::KeypadModifier, 16), kVkNumpad0 + 7);
  }

  void colourModeCommandsRepaintOnce() {
    ShowSetsZeroTwoFive();
    QCoreApplication::processEvents();
    test::PaintRecorder paints(app->View().viewport());
    app->Frame().Action(cmd::kTrueColour)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(paints.events, 1);
  }

  void menuBarHasTheDesignedMenusAndTexts() {
    QStringList titles;
    for (QAction* menu : app->Frame().menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles,
             (QStringList{"&File", "&Edit", "&View", "&Set", "&Color", "&Option", "&Help"}));
    QCOMPARE(app->Frame().Action(cmd::kFileOpen)->text(), QStringLiteral("&Open...\tCtrl+O"));
    QCOMPARE(app->Frame().Action(cmd::kZoomIn)->text(), QStringLiteral("Zoom &In\t+"));
    QCOMPARE(app->Frame().Action(cmd::kFileOpen)->data().toInt(), cmd::kFileOpen);
    QCOMPARE(app->Frame().Action(cmd::kEditCopy)->shortcuts().size(), 2);
    QVERIFY(app->Frame().findChild<QStatusBar*>() == nullptr);
  }

  void toolbarHasEighteenEntriesAndNoToolTips() {
    QToolBar* bar = app->Frame().ToolBar();
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
    app->View().installEventFilter(&onView);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &tip);
    QHelpEvent viewTip(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
    QCoreApplication::sendEvent(&app->View(), &viewTip);
    QCOMPARE(onButton.seen, 0);
    QCOMPARE(onView.seen, 1);
  }

  void toolbarSetButtonsShareTheSetRules() {
    ShowSetsZeroTwoFive();
    QToolBar* bar = app->Frame().ToolBar();
    auto* three = qobject_cast<QToolButton*>(bar->widgetForAction(app->Frame().Action(104)));
    auto* zero = qobject_cast<QToolButton*>(bar->widgetForAction(app->Frame().Action(101)));
    QVERIFY(three && zero);
    QVERIFY(!three->isEnabled());
    QVERIFY(zero->isEnabled() && zero->isChecked());
  }

  void toolbarCommandHidesAndShowsTheToolbar() {
    app->Frame().Action(cmd::kViewToolbar)->trigger();
    QVERIFY(app->Frame().ToolBar()->isHidden());
    QCoreApplication::processEvents();
    QVERIFY(!Checked(cmd::kViewToolbar));
    app->Frame().Action(cmd::kViewToolbar)->trigger();
    QVERIFY(!app->Frame().ToolBar()->isHidden());
  }

  void spaceMinimisesAndRestores() {
    CMainFrame& frame = app->Frame();
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

  void arrowKeysScrollByATenth() {
    test::FillShownSet(app->Session().FixtureDoc(), {0}, 1, 1000, 100);
    app->Frame().resize(400, 400);
    app->View().RedrawWholeView();
    QCoreApplication::processEvents();
    QTest::keyClick(&app->View(), Qt::Key_Right);
    QCOMPARE(app->View().ScrollPosition().x, 100);
    QTest::keyClick(&app->View(), Qt::Key_Left);
    QTest::keyClick(&app->View(), Qt::Key_Left);
    QCOMPARE(app->View().ScrollPosition().x, 0);
    QTest::keyClick(&app->View(), Qt::Key_Down);
    QCOMPARE(app->View().ScrollPosition().y, 0);
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::FrameStateTest)
#include "FrameStateTest.moc"
