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
  void ShowUrl(const QUrl& url) { shown_.append(url); }

 private:
  QList<QUrl> shown_;
  QString guide_ = UserGuidePath(QCoreApplication::applicationFilePath());

 private slots:
  void init() {
    shown_.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "ShowUrl");
    BeginFolders();
    StartApp();
  }
  void cleanup() {
    End();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  }

  void TheGuideIsFoundInThePrefixAndShownByMenuAndF1() {
    QVERIFY2(QFile::exists(guide_), qPrintable(guide_));
    QVERIFY(guide_.endsWith(QStringLiteral("/share/doc/tavro/guide.html")));
    app_->Frame().Action(cmd::kHelpContents)->trigger();
    QCOMPARE(shown_, QList<QUrl>{QUrl::fromLocalFile(guide_)});
    QVERIFY(messages_.empty());
    QVERIFY(
        app_->Frame().Action(cmd::kHelpContents)->shortcuts().contains(QKeySequence(Qt::Key_F1)));
    app_->Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app_->Frame()));
    QTest::keyClick(&app_->Frame(), Qt::Key_F1);
    QCOMPARE(shown_.size(), 2);
  }

  void AMissingGuideIsReportedWithWhereItWasLookedFor() {
    const QString away = guide_ + QStringLiteral(".away");
    QVERIFY(QFile::rename(guide_, away));
    app_->Frame().Action(cmd::kHelpContents)->trigger();
    QFile::rename(away, guide_);
    QVERIFY(shown_.isEmpty());
    QCOMPARE(messages_.size(), size_t{1});
    QCOMPARE(QString::fromStdString(messages_[0].Text),
             QStringLiteral("The help file %1 was not found.").arg(guide_));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::HelpContentsTest)
#include "HelpContentsTest.moc"
