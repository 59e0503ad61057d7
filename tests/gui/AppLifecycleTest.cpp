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
    app_->InitInstance(arguments);
  }

  // The toolbar setting as the file holds it now, read from a copy under a name of its own: a
  // QSettings keeps what it read of a path, and a rewrite of the same size within the file
  // system's timestamp granularity looks unchanged to it.
  QString WrittenToolbarSetting(int reading) {
    const QString copy = settingsDir_->IniPath() + QStringLiteral(".read%1").arg(reading);
    QFile::remove(copy);
    if (!QFile::copy(settingsDir_->IniPath(), copy)) return QStringLiteral("(unreadable)");
    return QSettings(copy, QSettings::IniFormat).value("OPTION/TOOLBAR").toString();
  }

 private slots:
  void init() { BeginFolders(); }
  void cleanup() { End(); }

  void CommandLineArgumentsAreOnePathJoinedWithBlanks() {
    QCOMPARE(CommandLineTail({}), std::string());
    QCOMPARE(CommandLineTail({"/tmp/my", "doll", "set.cnf"}), std::string("/tmp/my doll set.cnf"));
    QCOMPARE(CommandLineTail({"\"a b.cnf\""}), std::string("\"a b.cnf\""));
  }

  void StartsOnAPathWithBlanks() {
    const std::string path = WriteSet(*files_, "my doll set.cnf", "0");
    std::vector<std::string> words;
    for (const QString& word : QString::fromStdString(path).split(' ')) {
      words.push_back(word.toStdString());
    }
    Start(words);
    QCOMPARE(app_->Template().PathName(), path);
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("my doll set.cnf - TAVRO32"));
    QVERIFY(app_->Doc().IsSetLoaded());
    QVERIFY(messages_.empty());
  }

  void TheSamePathInQuotesDoesNotOpen() {
    const std::string path = WriteSet(*files_, "my doll set.cnf", "0");
    Start({"\"" + path + "\""});
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
    QVERIFY(!app_->Doc().IsSetLoaded());
    QCOMPARE(messages_.size(), size_t{1});
  }

  void NoArgumentsGiveAnEmptyUntitledDocument() {
    Start({});
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
    QVERIFY(!app_->Doc().IsSetLoaded());
    QVERIFY(!app_->Frame().ToolBar()->isHidden());  // no settings file: toolbar shown
  }

  void ToolbarSettingSurvivesARestart() {
    {
      Start({});
      app_->Frame().Action(cmd::kViewToolbar)->trigger();
      QTRY_COMPARE(app_->ToolbarVisible, 0);
      app_.reset();  // the program writes its settings as it ends
    }
    QCOMPARE(WrittenToolbarSetting(1), QStringLiteral("0"));
    {
      Start({});
      QVERIFY(app_->Frame().ToolBar()->isHidden());
      QVERIFY(!app_->Frame().Action(cmd::kViewToolbar)->isChecked());
      app_->Frame().Action(cmd::kViewToolbar)->trigger();
      QTRY_COMPARE(app_->ToolbarVisible, 1);
      app_.reset();
    }
    QCOMPARE(WrittenToolbarSetting(2), QStringLiteral("1"));
  }

  void ThreeDroppedFilesOpenInOrderAndStepThroughTheirSets() {
    const std::string a = WriteSet(*files_, "a.cnf", "0 3");
    const std::string b = WriteSet(*files_, "b.cnf", "1 4 6");
    const std::string c = WriteSet(*files_, "c.cnf", "2 7");
    Start({});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(b)),
                  QUrl::fromLocalFile(QString::fromStdString(c))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the frame's event handler, as the platform's drop delivers it.
    static_cast<QObject&>(app_->Frame()).event(&drop);
    QVERIFY(drop.isAccepted());
    // The files open once the drop event has returned, not inside it.
    QVERIFY(!app_->Doc().IsSetLoaded());
    QTRY_COMPARE(app_->Template().PathName(), c);
    QCOMPARE(app_->Doc().Set().CurrentSet(), 7);
    QCOMPARE(app_->Settings().RecentFiles(), (std::vector<std::string>{c, b, a}));
  }

  void DroppingTheOpenFileReadsItAgain() {
    const std::string a = WriteSet(*files_, "a.cnf", "0");
    Start({a});
    QVERIFY(!app_->Doc().Set().IsSetInUse(5));
    files_->WriteText("a.cnf", "(100,80)\n%pal.kcf\n#0 a.cel :0 5\n$0 1,1\n");
    app_->Frame().OpenDroppedFiles({a});
    QVERIFY(app_->Doc().Set().IsSetInUse(5));
    QCOMPARE(app_->Doc().Set().CurrentSet(), 0);  // one file: opened and painted, no stepping
  }

  void ARecentEntryWhoseFileHasGoneStays() {
    const std::string a = WriteSet(*files_, "a.cnf", "0");
    const std::string b = WriteSet(*files_, "b.cnf", "0");
    Start({a});
    app_->OpenByPath(QString::fromStdString(b));
    std::filesystem::remove(a);
    QAction* entry = nullptr;
    for (QAction* action : app_->Frame().FileMenu()->actions()) {
      if (action->data().toInt() == cmd::kFirstRecentFile + 1) entry = action;
    }
    QVERIFY(entry != nullptr);
    QVERIFY(entry->text().endsWith(QString::fromStdString(a)));
    entry->trigger();
    QCOMPARE(messages_.size(), size_t{1});
    QCOMPARE(app_->Settings().RecentFiles(), (std::vector<std::string>{b, a}));
  }

  void RecentListKeepsFourMostRecentFirst() {
    Start({});
    for (int i = 0; i < 6; ++i) {
      app_->Settings().AddRecentFile("/x/" + std::to_string(i) + ".cnf");
    }
    app_->Settings().AddRecentFile("/x/3.cnf");
    QCOMPARE(app_->Settings().RecentFiles(),
             (std::vector<std::string>{"/x/3.cnf", "/x/5.cnf", "/x/4.cnf", "/x/2.cnf"}));
    AppSettings reread;
    QCOMPARE(reread.RecentFiles(), app_->Settings().RecentFiles());
  }

  void CtrlNEmptiesTheDocument() {
    const std::string a = WriteSet(*files_, "a.cnf", "0");
    Start({a});
    QVERIFY(app_->Doc().IsSetLoaded());
    app_->Frame().Action(cmd::kFileNew)->trigger();
    QVERIFY(!app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Frame().windowTitle(), QStringLiteral("Untitled - TAVRO32"));
  }

  void OpeningFitsTheFrameToThePicture() {
    const std::string a = WriteSet(*files_, "a.cnf", "0", "(300,200)");
    Start({a});
    QCoreApplication::processEvents();
    QCOMPARE(app_->View().size(), QSize(300, 200));
    app_->View().SetZoom(2);  // later zooms never refit
    QCOMPARE(app_->View().size(), QSize(300, 200));
    app_->OpenByPath(QString::fromStdString(a));  // the load puts the factor back to 1
    QCOMPARE(app_->View().Zoom(), 1);
    QCOMPARE(app_->View().size(), QSize(300, 200));
  }

  void HelpContentsWithoutAHelpFileSaysSo() {
    Start({});
    app_->Frame().Action(cmd::kHelpContents)->trigger();
    QCOMPARE(messages_.size(), size_t{1});
    QVERIFY(messages_[0].Text.find("help file") != std::string::npos);
    QVERIFY(messages_[0].Text.find("guide.html") != std::string::npos);
  }

  void AHugePictureStaysOnTheScreen() {
    const std::string a = WriteSet(*files_, "a.cnf", "0", "(1280,1024)");
    Start({a});
    QCoreApplication::processEvents();
    const QRect screen = app_->Frame().screen()->geometry();
    const QRect outer = app_->Frame().frameGeometry();
    QVERIFY(outer.right() <= screen.right());
    QVERIFY(outer.bottom() <= screen.bottom());
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::AppLifecycleTest)
#include "AppLifecycleTest.moc"
