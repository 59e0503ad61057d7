// Help > Contents and F1 show the user guide in the desktop's browser. This program is built into
// a prefix of its own (bin/ beside share/doc/tavro/guide.html), as the installed viewer is.
#include <QDesktopServices>
#include <QFile>
#include <QTest>
#include <QUrl>

#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/HelpFile.h"

namespace tavro {

class HelpContentsTest : public test::AppTestCase {
  Q_OBJECT

 public slots:
  // Stands in for the desktop's browser.
  void ShowUrl(const QUrl& url) { shown.append(url); }

 private:
  QList<QUrl> shown;
  QString guide = UserGuidePath(QCoreApplication::applicationFilePath());

 private slots:
  void init() {
    shown.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "ShowUrl");
    BeginFolders();
    StartApp();
  }
  void cleanup() {
    End();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  }

  void theGuideIsFoundInThePrefixAndShownByMenuAndF1() {
    QVERIFY2(QFile::exists(guide), qPrintable(guide));
    QVERIFY(guide.endsWith(QStringLiteral("/share/doc/tavro/guide.html")));
    app->Frame().Action(cmd::kHelpContents)->trigger();
    QCOMPARE(shown, QList<QUrl>{QUrl::fromLocalFile(guide)});
    QVERIFY(messages.empty());
    QVERIFY(
        app->Frame().Action(cmd::kHelpContents)->shortcuts().contains(QKeySequence(Qt::Key_F1)));
    app->Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app->Frame()));
    QTest::keyClick(&app->Frame(), Qt::Key_F1);
    QCOMPARE(shown.size(), 2);
  }

  void aMissingGuideIsReportedWithWhereItWasLookedFor() {
    const QString away = guide + QStringLiteral(".away");
    QVERIFY(QFile::rename(guide, away));
    app->Frame().Action(cmd::kHelpContents)->trigger();
    QFile::rename(away, guide);
    QVERIFY(shown.isEmpty());
    QCOMPARE(messages.size(), size_t{1});
    QCOMPARE(QString::fromStdString(messages[0].text),
             QStringLiteral("The help file %1 was not found.").arg(guide));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::HelpContentsTest)
#include "HelpContentsTest.moc"
