// Ends the event loop in an orderly way on SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C
// in the terminal), so the application object still goes away as at File > Exit: the files
// unpacked from an archive are deleted and the settings are written.
#pragma once

class QObject;

namespace tavro {

// Installs the handlers; the quit request reaches the event loop through a pipe, since almost
// nothing may be done inside a signal handler. Call once, after the application exists.
void QuitEventLoopOnSignals(QObject* parent);

}  // namespace tavro
