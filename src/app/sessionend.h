// Program end that the user did not ask for through the window: the desktop
// session ends (logout, shutdown) or the program receives SIGTERM, SIGHUP or
// SIGINT. Either way the window's saving exit steps run, without a question,
// and the program quits. The display going away ends the program through
// exit(); the saving steps then run from the exit handlers (ExitSave).
#pragma once

#include <QObject>
#include <functional>
#include <thread>

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

// The display goes away (the X server ended, a remote connection closed):
// Qt then ends the program through exit(), past the event loop and the
// window. While an ExitSave lives, such an end runs `save` once, from the
// exit handlers, on the thread that made it; `save` must not touch the
// display. Its destructor disarms it, so an end through main's return (the
// window already gone) runs nothing.
class ExitSave {
 public:
  explicit ExitSave(std::function<void()> save);
  ~ExitSave();
  ExitSave(const ExitSave&) = delete;
  ExitSave& operator=(const ExitSave&) = delete;

  // The exit handler's work: runs the armed ExitSave's `save`, once.
  static void runArmed();

 private:
  std::function<void()> save_;
  std::thread::id thread_;
};

}  // namespace m8
