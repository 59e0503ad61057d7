#include "gui/shell/QuitOnSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace tavro {
namespace {

int SignalPipe[2] = {-1, -1};
bool Requested = false;

void OnSignal(int) {
  const char byte = 1;
  // Nothing else is safe here; a full pipe means a quit is on its way already.
  [[maybe_unused]] const ssize_t written = ::write(SignalPipe[1], &byte, 1);
}

}  // namespace

void QuitEventLoopOnSignals(QObject* parent) {
  if (SignalPipe[0] >= 0 || ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent, [] {
    char byte = 0;
    while (::read(SignalPipe[0], &byte, 1) > 0) {
    }
    Requested = true;
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool QuitRequested() { return Requested; }

}  // namespace tavro
