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
  std::shared_ptr<test::PromptScript> prompts_;

  std::string PathOf(const std::string& name) const { return files_->Path(name).string(); }

  // Object 0's one cel blinks every tenth of a second.
  void OpenBlinkingSet() {
    files_->OldPalette("p.kcf");
    files_->SolidCel("a.cel", 4, 4, 3);
    files_->WriteText("a.cnf",
                      "(20,10)\n%p.kcf\n#0 a.cel :0\n$0 2,2\n"
                      ";@initialize() timer(1,100)\n;@alarm(1) altmap(\"a.cel\") timer(1,100)\n");
    QVERIFY(app_->OpenByPath(QString::fromStdString(PathOf("a.cnf"))) != nullptr);
  }

 private slots:
  void init() {
    BeginFolders();
    prompts_ = std::make_shared<test::PromptScript>();
    StartApp(false);
    app_->HostImpl().SetPrompts(std::make_unique<test::FakePrompts>(prompts_));
    app_->InitInstance({});
  }
  void cleanup() { End(); }

  void RecordingIsOfferedOnlyWithASetLoaded() {
    app_->Frame().UpdateActions();
    QVERIFY(!app_->Frame().Action(cmd::kFileRecord)->isEnabled());
    OpenBlinkingSet();
    app_->Frame().UpdateActions();
    QVERIFY(app_->Frame().Action(cmd::kFileRecord)->isEnabled());
    QCOMPARE(app_->Frame().Action(cmd::kFileRecord)->text(),
             QStringLiteral("&Record Animation..."));
  }

  void TheSetIsRecordedAtTheWindowsZoomAndPlaysOnWithoutAPause() {
    OpenBlinkingSet();
    app_->View().SetZoom(2);
    prompts_->RecordMs = 1000;
    prompts_->RecordAnswer = QString::fromStdString(PathOf("blink.webp"));
    const uint32_t before = app_->HostImpl().TickCount();
    QVERIFY(app_->Frame().Commands().Execute(cmd::kFileRecord));
    QCOMPARE(prompts_->RecordOffered.front(), QString::fromStdString(PathOf("a.gif")));
    // A short note says where the file went and how large it is.
    QCOMPARE(messages_.size(), size_t{1});
    QCOMPARE(messages_.front().Icon, MessageIcon::Information);
    const auto size = std::filesystem::file_size(PathOf("blink.webp"));
    QCOMPARE(QString::fromStdString(messages_.front().Text),
             QStringLiteral("Recorded 1.0 s into %1 (%2 bytes).")
                 .arg(QString::fromStdString(PathOf("blink.webp")))
                 .arg(size));

    const test::Animation animation = test::ReadAnimation(PathOf("blink.webp"));
    QVERIFY2(animation.Ok, animation.Error.c_str());
    QCOMPARE(animation.Width, 40);
    // From the present state: the first blink comes as soon as it was due when the command ran.
    const std::vector<uint32_t> durations = animation.Durations();
    QCOMPARE(animation.TotalMs(), 1000u);
    QVERIFY(durations.size() >= 10 && durations.front() <= 100);
    for (size_t i = 1; i + 1 < durations.size(); ++i) QCOMPARE(durations[i], 100u);
    // The alarm falls due within its period of the real clock, not a skipped second later.
    const auto wait =
        static_cast<int32_t>(app_->Doc().Scripts().AlarmDue(1) - app_->HostImpl().TickCount());
    QVERIFY(app_->Doc().Scripts().AlarmArmed(1));
    QVERIFY2(wait <= 100 && wait > -static_cast<int32_t>(app_->HostImpl().TickCount() - before),
             std::to_string(wait).c_str());
    // The window's document has its own host back.
    QCOMPARE(&app_->Session().FixtureDoc().CurrentHost(), static_cast<Host*>(&app_->HostImpl()));
    QCOMPARE(&app_->Session().Outside(), static_cast<Host*>(&app_->HostImpl()));
  }

  void ASetNamedInShiftJisIsRecordedUnderItsNameAsShown() {
    // 表情 in Shift_JIS (表 ends in 0x5C), in a folder named 人形 in Shift_JIS.
    const std::string folder = PathOf("\x90\x6C\x8C\x60");
    std::filesystem::create_directory(folder);
    const test::SetFiles japanese(folder);
    japanese.OldPalette("p.kcf");
    japanese.SolidCel("a.cel", 4, 4, 3);
    japanese.WriteText("\x95\x5C\x8F\xEE.cnf", "(20,10)\n%p.kcf\n#0 a.cel :0\n$0 2,2\n");
    QVERIFY(app_->OpenByPath(folder + "/\x95\x5C\x8F\xEE.cnf") != nullptr);
    prompts_->RecordMs = 200;
    app_->Frame().Commands().Execute(cmd::kFileRecord);  // Cancel, having seen the offer
    const QString offered = prompts_->RecordOffered.front();
    QVERIFY2(offered.endsWith(QStringLiteral("/表情.gif")), qPrintable(offered));
    prompts_->RecordAnswer = offered;  // OK with the name offered
    QVERIFY(app_->Frame().Commands().Execute(cmd::kFileRecord));
    QVERIFY(std::filesystem::exists(folder + "/表情.gif"));  // the name in UTF-8
    QCOMPARE(messages_.size(), size_t{1});
    QVERIFY2(
        QString::fromStdString(messages_.front().Text).contains(QStringLiteral("/人形/表情.gif")),
        messages_.front().Text.c_str());
  }

  void OkWaitsForAFileName() {
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

  void AFileThatCannotBeWrittenIsReportedAndNothingIsLeft() {
    OpenBlinkingSet();
    prompts_->RecordMs = 300;
    prompts_->RecordAnswer = QString::fromStdString(PathOf("missing/blink.gif"));
    app_->Frame().Commands().Execute(cmd::kFileRecord);
    QCOMPARE(messages_.size(), size_t{1});
    QVERIFY(messages_.front().Text.find("cannot create") != std::string::npos);
    prompts_->RecordAnswer.clear();  // Cancel
    app_->Frame().Commands().Execute(cmd::kFileRecord);
    QCOMPARE(messages_.size(), size_t{1});
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::RecordWindowTest)
#include "RecordWindowTest.moc"
