#include <QApplication>
#include <string>
#include <vector>

#include "gui/shell/CTavroApp.h"
#include "gui/shell/QuitOnSignal.h"

int main(int argc, char** argv) {
  // Everything after the program name is the one path to open, so Qt is given an argument list
  // of its own: a set named "-reverse" or "-style" opens instead of changing the window. Qt's
  // settings still come from its environment (QT_QPA_PLATFORM, QT_STYLE_OVERRIDE ...).
  int qtArgumentCount = 1;
  char* qtArguments[] = {argv[0], nullptr};
  QApplication application(qtArgumentCount, qtArguments);
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
