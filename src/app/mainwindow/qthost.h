// The Qt side of the Host: message boxes, the event pump, status panels,
// progress, command states, sounds and redraws. It only forwards; the window
// decides what each refresh shows.
#pragma once

#include <QString>
#include <chrono>
#include <string>
#include <functional>
#include <map>
#include <memory>

#include "core/host.h"

class QMessageBox;
class QRect;
class QSoundEffect;

namespace m8 {

class MainWindow;

// Stand-ins for the modal boxes, so that tests can answer them.
struct BoxHooks {
  std::function<bool(const QString& title, const QString& text)> askYesNo;
  std::function<void(Icon icon, const QString& title, const QString& text)> message;
};

// Puts a message into a box so that the box fits on a screen of the given
// size: a text too long for it shows its first lines and "…", and the whole
// text (up to a bound) in the box's details, which scroll.
void FitMessageText(QMessageBox& box, const QString& text, const QRect& screen);

class QtHost : public Host {
 public:
  explicit QtHost(MainWindow& window);
  ~QtHost() override;

  void setBoxHooks(BoxHooks hooks) { hooks_ = std::move(hooks); }

  // Once the session ends (a signal, logout) nobody is there to answer a
  // box: from then on each message is a line on stderr and goes to `log`
  // too, a question is answered No, a choice is none. No box opens, the
  // ones of the tests included.
  void setUnattended(std::function<void(const std::string& line)> log);
  bool unattended() const { return unattended_; }
  // Messages written since setUnattended.
  int unattendedMessages() const { return unattendedMessages_; }

  void pump() override;
  void message(Icon icon, std::string_view title, std::string_view text) override;
  bool askYesNo(std::string_view title, std::string_view text) override;
  // A popup menu at the pointer, one entry per choice.
  int choose(std::string_view title, const std::vector<std::string>& choices) override;
  void status(int panel, std::string_view text) override;
  void progress(int value, int maximum) override;
  void setCommandEnabled(Command c, bool enabled) override;
  void setCommandChecked(Command c, bool checked) override;
  void playSound(Sound s) override;
  void refresh(View v) override;
  void fatal(std::string_view text) override;
  // The monotonic clock less the time it was held: a search measures its
  // time limit on it.
  double monotonicSeconds() override;

  // Runs `ask` (a question put to the user) with the clock held: the time the
  // question waits does not count against a running search.
  bool askWithClockHeld(const std::function<bool()>& ask);
  // Tests stand in for the monotonic clock here; empty: the steady clock.
  void setClock(std::function<double()> clock) { clock_ = std::move(clock); }

  // Events are let through at most this often while the core pumps.
  static constexpr std::chrono::milliseconds kPumpInterval{5};

 private:
  // The free area of the screen the boxes open on.
  QRect BoxScreen() const;

  // One line for stderr and the log in place of a box.
  void logInsteadOfBox(std::string_view title, std::string_view text);

  MainWindow& window_;
  BoxHooks hooks_;
  bool unattended_ = false;
  int unattendedMessages_ = 0;
  std::function<void(const std::string&)> log_;
  PumpThrottle throttle_{kPumpInterval};
  std::map<int, std::unique_ptr<QSoundEffect>> sounds_;
  std::function<double()> clock_;
  double held_ = 0.0;  // seconds the clock stood still
};

}  // namespace m8
