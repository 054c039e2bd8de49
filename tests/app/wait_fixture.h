// Waiting in the window tests: for the event itself, bounded by the time
// that has passed (not by a count of tries, nor a fixed short timer), so that
// a test means the same on a machine whose every core is busy; and callbacks
// that end with the test that made them.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace wait_test {

// The longest a test waits for one event: ample for the sanitizer build on a
// busy machine, and well inside Qt Test's 300 s watchdog of a test function.
inline constexpr int kWaitMs = 60000;

// Runs the event loop until `done` holds or `ms` have passed; whether it
// holds.
template <typename F>
bool WaitFor(F done, int ms = kWaitMs) {
  return QTest::qWaitFor(done, ms);
}

// Calls `step` from the event loop, the nested loops of modal dialogs,
// popups and searches included, every few milliseconds until it returns true
// (done), or until `ms` have passed since the poll was made, when `expired`
// runs once instead (to close what would otherwise wait for ever). A step
// that runs an event loop of its own is not entered again from it. The timer
// is the poll's own: no step runs once the poll is gone, so a poll made in a
// test function ends with it, whatever failed.
class Poll {
 public:
  explicit Poll(std::function<bool()> step, std::function<void()> expired = {}, int ms = kWaitMs)
      : step_(std::move(step)), expired_(std::move(expired)), ms_(ms) {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(5);
  }
  Poll(const Poll&) = delete;
  Poll& operator=(const Poll&) = delete;

  bool done() const { return done_; }
  bool timedOut() const { return timedOut_; }
  bool active() const { return timer_.isActive(); }
  void stop() { timer_.stop(); }

 private:
  void tick() {
    if (inStep_) return;
    inStep_ = true;
    const bool finished = step_();
    inStep_ = false;
    if (finished) {
      done_ = true;
      timer_.stop();
    } else if (clock_.elapsed() > ms_ && timer_.isActive()) {
      timedOut_ = true;
      timer_.stop();
      if (expired_) expired_();
    }
  }

  std::function<bool()> step_;
  std::function<void()> expired_;
  int ms_;
  QElapsedTimer clock_;
  QTimer timer_;
  bool inStep_ = false, done_ = false, timedOut_ = false;
};

}  // namespace wait_test

// QVERIFY and QCOMPARE once the condition holds, waiting for it at most
// wait_test::kWaitMs.
#define WAIT_VERIFY(expr) QVERIFY2(wait_test::WaitFor([&] { return bool(expr); }), "not within the wait: " #expr)
#define WAIT_COMPARE(actual, expected)                                             \
  do {                                                                             \
    (void)wait_test::WaitFor([&] { return bool((actual) == (expected)); });        \
    QCOMPARE(actual, expected);                                                    \
  } while (false)
