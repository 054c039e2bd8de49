// Program end that the user did not ask for through the window: the desktop
// session ends (logout, shutdown) or the program receives SIGTERM, SIGHUP or
// SIGINT. Either way the window's saving exit steps run, without a question,
// and the program quits.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace m8 {

// Installs the signal handlers. Call it first thing in main(): a signal that
// arrives before the event loop runs waits until a SessionEnd reads it.
// False when the handlers could not be installed (the signals then keep
// their default action).
bool InstallEndSignals();

// Hands the signals caught since InstallEndSignals, and the session
// manager's requests, to `endSession`, on the event loop.
class SessionEnd : public QObject {
 public:
  explicit SessionEnd(std::function<void()> endSession, QObject* parent = nullptr);
  ~SessionEnd() override;

 private:
  void onSignal();

  std::function<void()> endSession_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace m8
