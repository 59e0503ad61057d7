// A 20 ms alarm that re-arms itself, run for a thousand periods in the real window on the real
// clock: every firing must stay within one period of start + k * 20 ms, so lateness never adds
// up however the passes are delivered. Takes about 20 seconds.
#include <QTest>
#include <algorithm>
#include <chrono>

#include "GuiTestSupport.h"
#include "shell/CTavroApp.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro {

class AlarmDriftTest : public QObject {
  Q_OBJECT

 private slots:
  void aThousandPeriodsStayWithinOnePeriodOfTheSchedule() {
    constexpr int kPeriodMs = 20;
    constexpr size_t kPeriods = 1000;
    test::ScopedSettingsDir settingsDir;
    test::TempDir dir;
    test::SetFiles files(dir.path());
    files.OldPalette("pal.kcf");
    files.SolidCel("a.cel", 8, 8, 3);
    files.WriteText("drift.cnf",
                    "(64,48)\n%pal.kcf\n#0 a.cel :0\n$0 1,1\n"
                    ";@initialize() timer(1,20) debug(\"start\")\n"
                    ";@alarm(1) timer(1,20) debug(\"tick\") move(#0,1,0)\n");

    using Clock = std::chrono::steady_clock;
    Clock::time_point start;
    std::vector<Clock::time_point> firings;
    firings.reserve(kPeriods + 1);
    CTavroApp app;
    app.HostImpl().SetMessageSink([&](const QtHost::Message& m) {
      if (m.text == "start") {
        start = Clock::now();
      } else {
        firings.push_back(Clock::now());
      }
    });
    app.InitInstance({});
    QVERIFY(app.OpenByPath(QString::fromStdString(files.Path("drift.cnf").string())) != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(firings.size() >= kPeriods, 60000);

    // The schedule counts from the millisecond tick at which the slot was armed; the steady
    // clock read in the same millisecond may be up to 1 ms past it.
    double worst = 0;
    double sum = 0;
    for (size_t k = 0; k < kPeriods; ++k) {
      const auto ideal = start + std::chrono::milliseconds(kPeriodMs * (k + 1));
      const double drift = std::chrono::duration<double, std::milli>(firings[k] - ideal).count();
      worst = std::max(worst, std::abs(drift));
      sum += drift;
    }
    const double last = std::chrono::duration<double, std::milli>(
                            firings[kPeriods - 1] - start -
                            std::chrono::milliseconds(kPeriodMs * kPeriods))
                            .count();
    qInfo("alarm drift over %zu periods of %d ms: worst %.2f ms, mean %.2f ms, last %.2f ms",
          kPeriods, kPeriodMs, worst, sum / kPeriods, last);
    QVERIFY2(worst < kPeriodMs, qPrintable(QString::number(worst)));
  }
};

}  // namespace tavro

QTEST_MAIN(tavro::AlarmDriftTest)
#include "AlarmDriftTest.moc"
