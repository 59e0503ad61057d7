// A 20 ms alarm that re-arms itself, run for a thousand periods in the real window on the real
// clock: every firing must stay within one period of start + k * 20 ms, so lateness never adds
// up however the passes are delivered. Takes about 20 seconds.
//
// The first firing is left out: it is as late as the window was slow to come up, and an alarm
// that late starts its schedule afresh. The schedule's start is then the earliest the firings
// allow (no firing comes before its due time), so each drift is that firing's own lateness.
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "GuiTestSupport.h"
#include "gui/shell/CTavroApp.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class AlarmDriftTest : public QObject {
  Q_OBJECT

 private slots:
  void AThousandPeriodsStayWithinOnePeriodOfTheSchedule() {
    constexpr int kPeriodMs = 20;
    constexpr size_t kPeriods = 1000;
    test::ScopedSettingsDir settingsDir;
    test::TempDir dir;
    test::SetFiles files(dir.Path());
    files.OldPalette("pal.kcf");
    files.SolidCel("a.cel", 8, 8, 3);
    files.WriteText("drift.cnf",
                    "(64,48)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n"
                    ";@initialize() timer(1,20)\n"
                    ";@alarm(1) timer(1,20) debug(\"tick\") move(#0,1,0)\n");

    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> firings;
    firings.reserve(kPeriods + 1);
    // A plain event loop as the program runs one: QTest's waiting loop sleeps between its
    // rounds of events, which would be measured as lateness.
    QEventLoop loop;
    CTavroApp app;
    app.HostImpl().SetMessageSink([&](const QtHost::Message&) {
      firings.push_back(Clock::now());
      if (firings.size() > kPeriods) loop.quit();
    });
    app.InitInstance({});
    QVERIFY(app.OpenByPath(QString::fromStdString(files.Path("drift.cnf").string())) != nullptr);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QVERIFY(firings.size() > kPeriods);

    auto periods = [](size_t k) { return std::chrono::milliseconds(kPeriodMs * (k - 1)); };
    Clock::time_point start = firings[1];
    for (size_t k = 1; k <= kPeriods; ++k) start = std::min(start, firings[k] - periods(k));
    double worst = 0;
    double sum = 0;
    double last = 0;
    for (size_t k = 1; k <= kPeriods; ++k) {
      last = std::chrono::duration<double, std::milli>(firings[k] - (start + periods(k))).count();
      worst = std::max(worst, last);
      sum += last;
    }
    qInfo("alarm drift over %zu periods of %d ms: worst %.2f ms, mean %.2f ms, last %.2f ms",
          kPeriods, kPeriodMs, worst, sum / kPeriods, last);
    QVERIFY2(worst < kPeriodMs, qPrintable(QString::number(worst)));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::AlarmDriftTest)
#include "AlarmDriftTest.moc"
