// File > Record Animation in the window: offered with a set loaded, records the set from its
// present state, and leaves the set playing on where the recording ended.
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "FakePrompts.h"
#include "GuiTestSupport.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/RecordDialog.h"
#include "support/AnimationFiles.h"

namespace tavro {

class RecordWindowTest : public test::AppTestCase {
  Q_OBJECT

 private:
  std::shared_ptr<test::PromptScript> prompts;

  std::string PathOf(const std::string& name) const { return files->Path(name).string(); }

  // Object 0's one cel blinks every tenth of a second.
  void OpenBlinkingSet() {
    files->OldPalette("p.kcf");
    files->SolidCel("a.cel", 4, 4, 3);
    files->WriteText("a.cnf",
                     "(20,10)\n%p.kcf\n#0 a.cel :0\n$0 2,2\n"
                     ";@initialize() timer(1,100)\n;@alarm(1) altmap(\"a.cel\") timer(1,100)\n");
    QVERIFY(app->OpenByPath(QString::fromStdString(PathOf("a.cnf"))) != nullptr);
  }

 private slots:
  void init() {
    BeginFolders();
    prompts = std::make_shared<test::PromptScript>();
    StartApp(false);
    app->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts));
    app->InitInstance({});
  }
  void cleanup() { End(); }

  void recordingIsOfferedOnlyWithASetLoaded() {
    app->Frame().UpdateActions();
    QVERIFY(!app->Frame().Action(cmd::kFileRecord)->isEnabled());
    OpenBlinkingSet();
    app->Frame().UpdateActions();
    QVERIFY(app->Frame().Action(cmd::kFileRecord)->isEnabled());
    QCOMPARE(app->Frame().Action(cmd::kFileRecord)->text(), QStringLiteral("&Record Animation..."));
  }

  void theSetIsRecordedAtTheWindowsZoomAndPlaysOnWithoutAPause() {
    OpenBlinkingSet();
    app->View().SetZoom(2);
    prompts->recordMs = 1000;
    prompts->recordAnswer = QString::fromStdString(PathOf("blink.webp"));
    const uint32_t before = app->HostImpl().TickCount();
    QVERIFY(app->Frame().Commands().Execute(cmd::kFileRecord));
    QCOMPARE(prompts->recordOffered.front(), QString::fromStdString(PathOf("a.gif")));
    // A short note says where the file went and how large it is.
    QCOMPARE(messages.size(), size_t{1});
    QCOMPARE(messages.front().icon, MessageIcon::Information);
    const auto size = std::filesystem::file_size(PathOf("blink.webp"));
    QCOMPARE(QString::fromStdString(messages.front().text),
             QStringLiteral("Recorded 1.0 s into %1 (%2 bytes).")
                 .arg(QString::fromStdString(PathOf("blink.webp")))
                 .arg(size));

    const test::Animation animation = test::ReadAnimation(PathOf("blink.webp"));
    QVERIFY2(animation.ok, animation.error.c_str());
    QCOMPARE(animation.width, 40);
    // From the present state: the first blink comes as soon as it was due when the command ran.
    const std::vector<uint32_t> durations = animation.Durations();
    QCOMPARE(animation.TotalMs(), 1000u);
    QVERIFY(durations.size() >= 10 && durations.front() <= 100);
    for (size_t i = 1; i + 1 < durations.size(); ++i) QCOMPARE(durations[i], 100u);
    // The alarm falls due within its period of the real clock, not a skipped second later.
    const auto wait =
        static_cast<int32_t>(app->Doc().Scripts().AlarmDue(1) - app->HostImpl().TickCount());
    QVERIFY(app->Doc().Scripts().AlarmArmed(1));
    QVERIFY2(wait <= 100 && wait > -static_cast<int32_t>(app->HostImpl().TickCount() - before),
             std::to_string(wait).c_str());
    // The window's document has its own host back.
    QCOMPARE(&app->Session().FixtureDoc().host(), static_cast<Host*>(&app->HostImpl()));
    QCOMPARE(&app->Session().Outside(), static_cast<Host*>(&app->HostImpl()));
  }

  void aSetNamedInShiftJisIsRecordedUnderItsNameAsShown() {
    // 表情 in Shift_JIS (表 ends in 0x5C), in a folder named 人形 in Shift_JIS.
    const std::string folder = PathOf("\x90\x6C\x8C\x60");
    std::filesystem::create_directory(folder);
    const test::SetFiles japanese(folder);
    japanese.OldPalette("p.kcf");
    japanese.SolidCel("a.cel", 4, 4, 3);
    japanese.WriteText("\x95\x5C\x8F\xEE.cnf", "(20,10)\n%p.kcf\n#0 a.cel :0\n$0 2,2\n");
    QVERIFY(app->OpenByPath(folder + "/\x95\x5C\x8F\xEE.cnf") != nullptr);
    prompts->recordMs = 200;
    app->Frame().Commands().Execute(cmd::kFileRecord);  // Cancel, having seen the offer
    const QString offered = prompts->recordOffered.front();
    QVERIFY2(offered.endsWith(QStringLiteral("/表情.gif")), qPrintable(offered));
    prompts->recordAnswer = offered;  // OK with the name offered
    QVERIFY(app->Frame().Commands().Execute(cmd::kFileRecord));
    QVERIFY(std::filesystem::exists(folder + "/表情.gif"));  // the name in UTF-8
    QCOMPARE(messages.size(), size_t{1});
    QVERIFY2(
        QString::fromStdString(messages.front().text).contains(QStringLiteral("/人形/表情.gif")),
        messages.front().text.c_str());
  }

  void okWaitsForAFileName() {
    RecordDialog dialog(1000, QString());
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QLineEdit* file = nullptr;  // the file box, not the spin box's own line
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
      if (edit->parentWidget() == &dialog) file = edit;
    QVERIFY(file != nullptr);
    QVERIFY(!ok->isEnabled());
    file->setText(QStringLiteral("out"));
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.Path(), QStringLiteral("out.gif"));
    file->setText(QStringLiteral("  "));
    QVERIFY(!ok->isEnabled());
  }

  void aFileThatCannotBeWrittenIsReportedAndNothingIsLeft() {
    OpenBlinkingSet();
    prompts->recordMs = 300;
    prompts->recordAnswer = QString::fromStdString(PathOf("missing/blink.gif"));
    app->Frame().Commands().Execute(cmd::kFileRecord);
    QCOMPARE(messages.size(), size_t{1});
    QVERIFY(messages.front().text.find("cannot create") != std::string::npos);
    prompts->recordAnswer.clear();  // Cancel
    app->Frame().Commands().Execute(cmd::kFileRecord);
    QCOMPARE(messages.size(), size_t{1});
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::RecordWindowTest)
#include "RecordWindowTest.moc"
