#include <QApplication>

#include "shell/CTavroApp.h"
#include "shell/QuitOnSignal.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tavro"));
  // Lets the desktop match the window to its installed entry, for its icon and name.
  QGuiApplication::setDesktopFileName(QStringLiteral(TAVRO_APP_ID));
  tavro::QuitEventLoopOnSignals(&application);
  int status = 0;
  {
    tavro::CTavroApp app;
    app.InitInstance(QApplication::arguments().mid(1));
    if (!tavro::QuitRequested()) status = QApplication::exec();
  }
  return status;
}
