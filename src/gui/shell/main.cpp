#include <QApplication>
#include <string>
#include <vector>

#include "gui/shell/CTavroApp.h"
#include "gui/shell/QuitOnSignal.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);  // takes its own options out of argc and argv
  QApplication::setApplicationName(QStringLiteral("tavro"));
  // Lets the desktop match the window to its installed entry, for its icon and name.
  QGuiApplication::setDesktopFileName(QStringLiteral(TAVRO_APP_ID));
  tavro::QuitEventLoopOnSignals(&application);
  int status = 0;
  {
    tavro::CTavroApp app;
    // Raw bytes: a path that is not UTF-8 would not survive QApplication::arguments().
    app.InitInstance(std::vector<std::string>(argv + 1, argv + argc));
    if (!tavro::QuitRequested()) status = QApplication::exec();
  }
  return status;
}
