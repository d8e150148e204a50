#pragma once
// Ending the desktop program from outside: SIGTERM (a session that logs out,
// `kill`), SIGINT (Ctrl-C in its terminal) and SIGHUP (its terminal closed)
// end it as closing its window does, so the output is silenced and reset and
// the settings are written. The handler only writes a byte into a pipe; the
// Qt event loop reads it and does the rest on the UI thread.

#include <functional>

class QObject;

namespace tsy {

// From now on those signals run `quit` on the UI thread, once, through the
// event loop of `owner`'s thread. Elsewhere than POSIX systems nothing.
void QuitOnSignals(QObject& owner, std::function<void()> quit);

}  // namespace tsy
