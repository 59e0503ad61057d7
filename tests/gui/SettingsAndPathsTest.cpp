// The settings file as an INI file, the recent list keeping any bytes, and paths that are not
// UTF-8 coming in from a drop, the recent list and the Open dialog.
#include <sys/stat.h>

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "GuiTestSupport.h"
#include "gui/shell/AppSettings.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/LocalPaths.h"
#include "gui/shell/SoundFile.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

namespace {

const std::string kDoll = "\x90\x6C\x8C\x60";  // 人形 in Shift_JIS
const std::string kCel = "\x95\x5C.cel";       // 表.cel, its second byte 0x5C

std::string ReadText(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class SettingsAndPathsTest : public test::AppTestCase {
  Q_OBJECT

 private:
  void WriteSettings(const std::string& text) {
    std::filesystem::create_directories(QFile::encodeName(settingsDir_->Path()).toStdString() +
                                        "/tavro");
    std::ofstream(QFile::encodeName(settingsDir_->IniPath()).toStdString()) << text;
  }

  // A set in a folder named in Shift_JIS, its cel named so too.
  std::string JapaneseSet() {
    const auto folder = dir_->Path() / kDoll;
    std::filesystem::create_directories(folder);
    const test::SetFiles japanese(folder);
    japanese.OldPalette("pal.kcf");
    japanese.SolidCel(kCel, 8, 8, 3);
    japanese.WriteText("set.cnf", "(90,70)\n%pal.kcf\n#0 " + kCel + " :0\n$0 1,1\n");
    return (folder / "set.cnf").string();
  }

 private slots:
  void init() { BeginFolders(); }
  void cleanup() { End(); }

  void NamesIgnoreCaseAndValuesAreTakenAsWritten() {
    WriteSettings(
        "[Option]\ntmpdir = /tmp/a,b\\c\nToolBar=0\n[recent file list]\nfile1=/x/a.cnf\n");
    AppSettings settings;
    QCOMPARE(settings.TmpDir(), std::string("/tmp/a,b\\c"));
    QCOMPARE(settings.ReadToolbar(), 0);
    QCOMPARE(settings.RecentFiles(), std::vector<std::string>{"/x/a.cnf"});
  }

  void TheRecentListKeepsAnyBytesUnderItsOwnSectionName() {
    const std::vector<std::string> paths = {"/x/" + kDoll + "/" + kCel, "/x/new\nline.cnf",
                                            "/x/a&b %41.cnf"};
    {
      AppSettings settings;
      for (const std::string& path : paths) settings.AddRecentFile(path);
    }
    const std::string text = ReadText(settingsDir_->IniPath());
    QVERIFY(text.find("[Recent File List]\n") != std::string::npos);
    QVERIFY(text.find("File1=/x/a&b %41.cnf\n") != std::string::npos);  // readable as it is
    AppSettings reread;
    QCOMPARE(reread.RecentFiles(), (std::vector<std::string>{paths[2], paths[1], paths[0]}));
  }

  void TheFileIsReplacedSafelyKeepingItsModeAndItsLink() {
    // Kept elsewhere and linked in, private, as people keep their settings.
    WriteSettings("");
    const std::string ini = QFile::encodeName(settingsDir_->IniPath()).toStdString();
    const std::string kept = dir_->Str() + "/kept.ini";
    std::ofstream(kept) << "; mine\n[OPTION]\nTOOLBAR=1\n";
    ::chmod(kept.c_str(), 0600);
    std::filesystem::remove(ini);
    std::filesystem::create_symlink(kept, ini);
    {
      AppSettings settings;
      settings.WriteToolbar(0);
    }
    QVERIFY(std::filesystem::is_symlink(ini));
    QCOMPARE(ReadText(QString::fromStdString(kept)), std::string("; mine\n[OPTION]\nTOOLBAR=0\n"));
    QCOMPARE(std::filesystem::status(kept).permissions(),
             std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ini).parent_path()))
      QVERIFY2(entry.path().filename() == "tavro.ini", entry.path().c_str());
  }

  void TheFileDialogWritesNoSettingsFileOfItsOwn() {
    AppSettings settings;
    {
      QFileDialog dialog;
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      dialog.setDirectory(QString::fromStdString(dir_->Str()));
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      dialog.reject();
    }
    QDirIterator it(settingsDir_->Path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) QVERIFY2(!it.next().endsWith("QtProject.conf"), qPrintable(it.filePath()));
  }

  void RecentEntriesShowAnAmpersandAsItselfAndJapaneseDecoded() {
    StartApp();
    app_->Settings().AddRecentFile("/x/" + kDoll + ".cnf");
    app_->Settings().AddRecentFile("/x/a&b.cnf");
    app_->Frame().RebuildRecentFiles();
    QStringList texts;
    for (QAction* action : app_->Frame().FileMenu()->actions()) {
      const int id = action->data().toInt();
      if (id >= cmd::kFirstRecentFile && id < cmd::kFirstRecentFile + cmd::kRecentFileCount) {
        texts.append(action->text());
      }
    }
    QCOMPARE(texts, (QStringList{"&1 /x/a&&b.cnf", QStringLiteral("&2 /x/人形.cnf")}));
  }

  void ADroppedPathThatIsNotUtf8Opens() {
    const std::string path = JapaneseSet();
    StartApp();
    QMimeData mime;
    const QByteArray escaped = QByteArray::fromStdString(path).toPercentEncoding("/");
    mime.setUrls({QUrl(QStringLiteral("file://") + QString::fromLatin1(escaped))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(app_->Frame()).event(&drop);
    QTRY_COMPARE(app_->Template().PathName(), path);
    QVERIFY(app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Doc().LastLoad().LoadedCels, 1);
    QCOMPARE(app_->Settings().RecentFiles(), std::vector<std::string>{path});
    QVERIFY(messages_.empty());

    // Back from the recent list, after something else was opened.
    app_->OnFileNew();
    for (QAction* action : app_->Frame().FileMenu()->actions()) {
      if (action->data().toInt() == cmd::kFirstRecentFile) action->trigger();
    }
    QVERIFY(app_->Doc().IsSetLoaded());
    QCOMPARE(app_->Template().PathName(), path);
  }

  void APathAsQtShowsItLeadsBackToItsBytes() {
    const std::string path = JapaneseSet();
    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    QVERIFY(shown.contains(QChar::ReplacementCharacter));
    QCOMPARE(PathFromShown(shown), path);
    StartApp();
    QVERIFY(app_->OpenByPath(shown) != nullptr);
    QVERIFY(app_->Doc().IsSetLoaded());
  }

  void ASoundWhoseNameIsNotUtf8ReachesThePlayer() {
    test::TempDir sounds;
    const std::string ascii = sounds.Str() + "/chime.wav";
    const std::string japanese = sounds.Str() + "/" + kDoll + "\x95\x5C.wav";
    std::ofstream(ascii, std::ios::binary) << "RIFF-ascii";
    std::ofstream(japanese, std::ios::binary) << "RIFF-japanese";

    SoundFile plain;
    QVERIFY(plain.Open(ascii));
    QVERIFY(!plain.ThroughDescriptor());
    QCOMPARE(ReadText(plain.PlayerPath()), std::string("RIFF-ascii"));

    SoundFile named;
    QVERIFY(named.Open(japanese));
    QVERIFY(named.ThroughDescriptor());
    QCOMPARE(ReadText(named.PlayerPath()), std::string("RIFF-japanese"));

    SoundFile missing;
    QVERIFY(!missing.Open(sounds.Str() + "/nothing.wav"));
    QVERIFY(!missing.Open(sounds.Str()));  // a folder is no sound
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::SettingsAndPathsTest)
#include "SettingsAndPathsTest.moc"
