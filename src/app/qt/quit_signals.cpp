#include "app/qt/quit_signals.h"

#include <QObject>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#endif

namespace tsy {

#ifndef _WIN32
namespace {

int gWakeFds[2] = {-1, -1};  // read end, write end

// Async-signal-safe: one write, errno kept. A full pipe already holds a wake-up.
void WakeEventLoop(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(gWakeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

void QuitOnSignals(QObject& owner, std::function<void()> quit) {
  if (gWakeFds[0] >= 0 || pipe2(gWakeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(gWakeFds[0], QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [notifier, quit = std::move(quit)] {
    char bytes[16];
    while (read(gWakeFds[0], bytes, sizeof bytes) > 0) {
    }
    notifier->setEnabled(false);  // once: a second signal changes nothing
    quit();
  });
  struct sigaction action {};
  action.sa_handler = WakeEventLoop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}
#else
void QuitOnSignals(QObject&, std::function<void()>) {}
#endif

}  // namespace tsy
