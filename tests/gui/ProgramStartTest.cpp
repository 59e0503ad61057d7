// The real program started as a shell starts it: every argument after the program's name is part
// of the path to open, those that look like Qt's own options included.
#include <QProcess>
#include <QTest>
#include <csignal>

#include "GuiTestSupport.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class ProgramStartTest : public QObject {
  Q_OBJECT

 private:
  // Starts the program in `folder` with `arguments` and settings of its own; returns the recent
  // entry it stores on opening a file, or an empty text when it opened nothing within 20 s.
  static QString FirstRecentFile(const QString& folder, const QStringList& arguments) {
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(TAVRO_PROGRAM), arguments);
    if (!program.waitForStarted()) return QStringLiteral("(not started)");
    const QString ini = config.path() + QStringLiteral("/tavro/tavro.ini");
    QString recent;
    for (int waited = 0; waited < 20000 && recent.isEmpty(); waited += 50) {
      QTest::qWait(50);
      QFile file(ini);
      if (!file.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("File1=")) recent = QString::fromUtf8(line.mid(6)).trimmed();
      }
    }
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    if (!program.waitForFinished(10000)) program.kill();
    return recent;
  }

 private slots:
  void ArgumentsThatLookLikeQtOptionsAreThePath() {
    test::TempDir dir;
    const test::SetFiles files(dir.Path());
    files.OldPalette("p.kcf");
    files.SolidCel("a.cel", 4, 4, 3);
    const std::string set = "(20,10)\n%p.kcf\n#0 a.cel :0\n$0 2,2\n";
    files.WriteText("-reverse", set);
    files.WriteText("-style fusion", set);
    const QString folder = QString::fromStdString(dir.Path().string());
    QCOMPARE(FirstRecentFile(folder, {QStringLiteral("-reverse")}),
             folder + QStringLiteral("/-reverse"));
    QCOMPARE(FirstRecentFile(folder, {QStringLiteral("-style"), QStringLiteral("fusion")}),
             folder + QStringLiteral("/-style fusion"));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::ProgramStartTest)
#include "ProgramStartTest.moc"
