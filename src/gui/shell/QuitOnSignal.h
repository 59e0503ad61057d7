// Ends the program in an orderly way on SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C in
// the terminal), so the application object still goes away as at File > Exit: the files unpacked
// from an archive are deleted and the settings are written.
#pragma once

class QObject;

namespace tavro {

// Installs the handlers. The request reaches the event loop through a pipe, since almost nothing
// may be done inside a signal handler; it then ends every running event loop, a modal dialog's
// included. Call once, after the application exists.
void QuitEventLoopOnSignals(QObject* parent);

// Has a signal asked the program to end? A request that comes before the main event loop runs
// (say, while start-up waits in a dialog) is kept here, since starting the loop forgets it.
bool QuitRequested();

}  // namespace tavro
