// The application as a person starts and uses it: command line, opening and reopening, drops,
// the recent-file list, File New, the toolbar setting across restarts, fitting the frame.
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolBar>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

// A small set using `sets` (a cel line's set list, for example "0 3"), 100 x 80 unless given.
std::string WriteSet(const test::SetFiles& files, const std::string& name,
                     const std::string& setList, const std::string& size = "(100,80)") {
  files.OldPalette("pal.kcf");
  files.SolidCel("a.cel", 8, 8, 3);
  files.WriteText(name, size + "\n%pal.kcf\n#0 a.cel :" + setList + "\n$0 1,1\n");
  return files.Path(name).string();
}

}  // namespace

class AppLifecycleTest : public test::AppTestCase {
  Q_OBJECT

 private:
  // The application started with `arguments`, as the program is; a running one ends first.
  void Start(const std::vector<std::string>& arguments) {
    StartApp(false);
    app->InitInstance(arguments);
  }

 private slots:
  void init() { BeginFolders(); }
  void cleanup() { End(); }

  void commandLineArgumentsAreOnePathJoinedWithBlanks() {
    QCOMPARE(CommandLineTail({}), std::string());
    QCOMPARE(CommandLineTail({"/tmp/my", "doll", "set.cnf"}), std::string("/tmp/my doll set.cnf"));
    QCOMPARE(CommandLineTail({"\"a b.cnf\""}), std::string("\"a b.cnf\""));
  }

  void startsOnAPathWithBlanks() {
    const std::string path = WriteSet(*files, "my doll set.cnf", "0");
    std::vector<std::string> words;
    for (const QString& word : QString::fromStdString(path).split(' ')) {
      words.push_back(word.toStdString());
    }
    Start(words);
    QCOMPARE(app->Template().PathName(), path);
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("my doll set.cnf - TAVRO32"));
    QVERIFY(app->Doc().IsSetLoaded());
    QVERIFY(messages.empty());
  }

  void theSamePathInQuotesDoesNotOpen() {
    const std::string path = WriteSet(*files, "my doll set.cnf", "0");
    Start({"\"" + path + "\""});
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
    QVERIFY(!app->Doc().IsSetLoaded());
    QCOMPARE(messages.size(), size_t{1});
  }

  void noArgumentsGiveAnEmptyUntitledDocument() {
    Start({});
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
    QVERIFY(!app->Doc().IsSetLoaded());
    QVERIFY(!app->Frame().ToolBar()->isHidden());  // no settings file: toolbar shown
  }

  void toolbarSettingSurvivesARestart() {
    {
      Start({});
      app->Frame().Action(cmd::kViewToolbar)->trigger();
      QTRY_COMPARE(app->ToolbarVisible, 0);
      app.reset();  // the program writes its settings as it ends
    }
    QSettings ini(settingsDir->IniPath(), QSettings::IniFormat);
    QCOMPARE(ini.value("OPTION/TOOLBAR").toString(), QStringLiteral("0"));
    {
      Start({});
      QVERIFY(app->Frame().ToolBar()->isHidden());
      QVERIFY(!app->Frame().Action(cmd::kViewToolbar)->isChecked());
      app->Frame().Action(cmd::kViewToolbar)->trigger();
      QTRY_COMPARE(app->ToolbarVisible, 1);
      app.reset();
    }
    QSettings again(settingsDir->IniPath(), QSettings::IniFormat);
    QCOMPARE(again.value("OPTION/TOOLBAR").toInt(), 1);
  }

  void threeDroppedFilesOpenInOrderAndStepThroughTheirSets() {
    const std::string a = WriteSet(*files, "a.cnf", "0 3");
    const std::string b = WriteSet(*files, "b.cnf", "1 4 6");
    const std::string c = WriteSet(*files, "c.cnf", "2 7");
    Start({});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(b)),
                  QUrl::fromLocalFile(QString::fromStdString(c))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the frame's event handler, as the platform's drop delivers it.
    static_cast<QObject&>(app->Frame()).event(&drop);
    QVERIFY(drop.isAccepted());
    // The files open once the drop event has returned, not inside it.
    QVERIFY(!app->Doc().IsSetLoaded());
    QTRY_COMPARE(app->Template().PathName(), c);
    QCOMPARE(app->Doc().Set().CurrentSet(), 7);
    QCOMPARE(app->Settings().RecentFiles(), (std::vector<std::string>{c, b, a}));
  }

  void droppingTheOpenFileReadsItAgain() {
    const std::string a = WriteSet(*files, "a.cnf", "0");
    Start({a});
    QVERIFY(!app->Doc().Set().IsSetInUse(5));
    files->WriteText("a.cnf", "(100,80)\n%pal.kcf\n#0 a.cel :0 5\n$0 1,1\n");
    app->Frame().OpenDroppedFiles({a});
    QVERIFY(app->Doc().Set().IsSetInUse(5));
    QCOMPARE(app->Doc().Set().CurrentSet(), 0);  // one file: opened and painted, no stepping
  }

  void aRecentEntryWhoseFileHasGoneStays() {
    const std::string a = WriteSet(*files, "a.cnf", "0");
    const std::string b = WriteSet(*files, "b.cnf", "0");
    Start({a});
    app->OpenByPath(QString::fromStdString(b));
    std::filesystem::remove(a);
    QAction* entry = nullptr;
    for (QAction* action : app->Frame().FileMenu()->actions()) {
      if (action->data().toInt() == cmd::kFirstRecentFile + 1) entry = action;
    }
    QVERIFY(entry != nullptr);
    QVERIFY(entry->text().endsWith(QString::fromStdString(a)));
    entry->trigger();
    QCOMPARE(messages.size(), size_t{1});
    QCOMPARE(app->Settings().RecentFiles(), (std::vector<std::string>{b, a}));
  }

  void recentListKeepsFourMostRecentFirst() {
    Start({});
    for (int i = 0; i < 6; ++i) {
      app->Settings().AddRecentFile("/x/" + std::to_string(i) + ".cnf");
    }
    app->Settings().AddRecentFile("/x/3.cnf");
    QCOMPARE(app->Settings().RecentFiles(),
             (std::vector<std::string>{"/x/3.cnf", "/x/5.cnf", "/x/4.cnf", "/x/2.cnf"}));
    AppSettings reread;
    QCOMPARE(reread.RecentFiles(), app->Settings().RecentFiles());
  }

  void ctrlNEmptiesTheDocument() {
    const std::string a = WriteSet(*files, "a.cnf", "0");
    Start({a});
    QVERIFY(app->Doc().IsSetLoaded());
    app->Frame().Action(cmd::kFileNew)->trigger();
    QVERIFY(!app->Doc().IsSetLoaded());
    QCOMPARE(app->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
  }

  void openingFitsTheFrameToThePicture() {
    const std::string a = WriteSet(*files, "a.cnf", "0", "(300,200)");
    Start({a});
    QCoreApplication::processEvents();
    QCOMPARE(app->View().size(), QSize(300, 200));
    app->View().SetZoom(2);  // later zooms never refit
    QCOMPARE(app->View().size(), QSize(300, 200));
    app->OpenByPath(QString::fromStdString(a));  // the load puts the factor back to 1
    QCOMPARE(app->View().Zoom(), 1);
    QCOMPARE(app->View().size(), QSize(300, 200));
  }

  void helpContentsWithoutAHelpFileSaysSo() {
    Start({});
    app->Frame().Action(cmd::kHelpContents)->trigger();
    QCOMPARE(messages.size(), size_t{1});
    QVERIFY(messages[0].text.find("help file") != std::string::npos);
    QVERIFY(messages[0].text.find("guide.html") != std::string::npos);
  }

  void aHugePictureStaysOnTheScreen() {
    const std::string a = WriteSet(*files, "a.cnf", "0", "(1280,1024)");
    Start({a});
    QCoreApplication::processEvents();
    const QRect screen = app->Frame().screen()->geometry();
    const QRect outer = app->Frame().frameGeometry();
    QVERIFY(outer.right() <= screen.right());
    QVERIFY(outer.bottom() <= screen.bottom());
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::AppLifecycleTest)
#include "AppLifecycleTest.moc"
