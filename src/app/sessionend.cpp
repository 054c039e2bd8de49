#include "app/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <atomic>
#include <cstdlib>
#include <utility>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#define M8_END_SIGNALS 1
#else
#define M8_END_SIGNALS 0
#endif

namespace m8 {

#if M8_END_SIGNALS
namespace {

// The two ends of the socket pair: the handler writes to [0], the event loop
// reads [1].
int g_signalPipe[2] = {-1, -1};

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Only async-signal-safe calls here: one byte into the socket.
extern "C" void OnEndSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
  errno = saved;
}

}  // namespace

bool InstallEndSignals() {
  if (g_signalPipe[0] >= 0) return true;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return false;
  for (int fd : g_signalPipe) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // A burst of signals must never block the handler.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  struct sigaction sa {};
  sa.sa_handler = OnEndSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  bool ok = true;
  for (int sig : kEndSignals) ok = ::sigaction(sig, &sa, nullptr) == 0 && ok;
  return ok;
}

#else

bool InstallEndSignals() { return false; }

#endif

namespace {

std::atomic<ExitSave*> g_armedExitSave{nullptr};

extern "C" void OnProcessExit() { ExitSave::runArmed(); }

}  // namespace

ExitSave::ExitSave(std::function<void()> save) : save_(std::move(save)), thread_(std::this_thread::get_id()) {
  // Registered once per process, as late as the first window is up: the
  // handlers run in reverse order, so everything made before (the
  // application, the window's state) is still there when it runs.
  static const bool registered = std::atexit(OnProcessExit) == 0;
  if (registered) g_armedExitSave.store(this);
}

ExitSave::~ExitSave() {
  ExitSave* self = this;
  g_armedExitSave.compare_exchange_strong(self, nullptr);
}

void ExitSave::runArmed() {
  ExitSave* armed = g_armedExitSave.exchange(nullptr);
  // Another thread ending the process must not reach the window's state.
  if (armed && armed->thread_ == std::this_thread::get_id()) armed->save_();
}

SessionEnd::SessionEnd(std::function<void()> endSession, QObject* parent)
    : QObject(parent), endSession_(std::move(endSession)) {
#if M8_END_SIGNALS
  if (g_signalPipe[1] >= 0) {
    notifier_ = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { onSignal(); });
  }
#endif
#ifndef QT_NO_SESSIONMANAGER
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // Logout or shutdown: nothing may be asked, everything is saved.
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { endSession_(); });
  }
#endif
  // Whatever else ends the event loop still runs the exit steps (they run
  // once).
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { endSession_(); });
}

SessionEnd::~SessionEnd() = default;

void SessionEnd::onSignal() {
#if M8_END_SIGNALS
  char bytes[16];
  while (::read(g_signalPipe[1], bytes, sizeof bytes) > 0) {
  }
#endif
  endSession_();
}

}  // namespace m8
