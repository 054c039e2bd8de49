#include "core/clock.h"

#include <gtest/gtest.h>

#include <limits>

namespace m8 {
namespace {

TEST(TimeString, ClockTexts) {
  const struct {
    int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "00:00.00"},    {5, "00:00.05"},    {125, "00:02.05"},   {3725, "01:02.05"},
      {59, "00:00.59"},   {3599, "00:59.59"}, {360000, "100:00.00"}, {-4, "00:00.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(TimeString(c.seconds), c.text) << c.seconds;
}

TEST(TimeString, Words) {
  const struct {
    int64_t seconds;
    const char* words;
  } cases[] = {
      {0, "0 seconds"},
      {1, "1 second"},
      {5, "5 seconds"},
      {59, "59 seconds"},
      {61, "1 minute and 1 second"},
      {125, "2 minutes and 5 seconds"},
      {3600, "1 hour, 0 minutes, and 0 seconds"},
      {7260, "2 hours, 1 minute, and 0 seconds"},
      {9010, "2 hours, 30 minutes, and 10 seconds"},
  };
  for (const auto& c : cases) EXPECT_EQ(TimeString(c.seconds, true), c.words) << c.seconds;
  EXPECT_EQ(TimeInWords("00:01.01"), "1 minute and 1 second");
  EXPECT_EQ(TimeInWords(""), "0 seconds");
  EXPECT_EQ(TimeInWords("x"), "0 seconds");
}

// A clock that stands still for a few readings, as a coarse clock does.
class SteppingHost : public Host {
 public:
  double monotonicSeconds() override {
    ++reads;
    if (reads % 3 == 0) now += 0.25;
    return now;
  }
  double now = 1000;
  int reads = 0;
};

TEST(Pause, WaitsOnTheMonotonicClock) {
  SteppingHost host;
  Pause(host, 0.5);
  // Synchronised to the tick from 1000 to 1000.25, then waited until the
  // clock stood more than 0.5 past 1000.
  EXPECT_GT(host.now - 1000, 0.5);
  EXPECT_LT(host.now, 1002);

  SteppingHost zero;
  Pause(zero, 0);
  EXPECT_GT(zero.now, 1000) << "a pause of 0 still waits for the next tick";

  SteppingHost bad;
  Pause(bad, -1);
  Pause(bad, std::numeric_limits<double>::quiet_NaN());
  EXPECT_LT(bad.now, 1002);
}

TEST(Pause, IgnoresTheWallClock) {
  // The wall clock wraps at midnight; the wait must not care.
  struct MidnightHost : SteppingHost {
    double secondsSinceMidnight() override { return 86399.9 - now; }
  } host;
  Pause(host, 0.3);
  EXPECT_LT(host.now, 1002);
}

}  // namespace
}  // namespace m8
