#include "gui/shell/QuitOnSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace tavro {
namespace {

int signalPipe[2] = {-1, -1};
bool requested = false;

void OnSignal(int) {
  const char byte = 1;
  // Nothing else is safe here; a full pipe means a quit is on its way already.
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

void QuitEventLoopOnSignals(QObject* parent) {
  if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent, [] {
    char byte = 0;
    while (::read(signalPipe[0], &byte, 1) > 0) {
    }
    requested = true;
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool QuitRequested() { return requested; }

}  // namespace tavro
