#include "core/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/numtext.h"

namespace m8 {

namespace {

std::string TwoDigits(int64_t v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? std::string(2 - s.size(), '0') + s : s;
}

}  // namespace

std::string TimeString(int64_t seconds, bool inWords) {
  if (seconds < 0) seconds = 0;
  const int64_t h = seconds / 3600;
  const int64_t m = seconds / 60 - 60 * h;
  const int64_t s = seconds % 60;
  std::string text = TwoDigits(h) + ":" + TwoDigits(m) + "." + TwoDigits(s);
  return inWords ? TimeInWords(text) : text;
}

std::string TimeInWords(std::string_view text) {
  const size_t p = text.find(':');
  int64_t hours = 0;
  std::string_view minutesText = "00";
  if (p != std::string_view::npos) {
    hours = ValInt(text.substr(0, p));
    minutesText = text.substr(p + 1, 2);
  }
  const int64_t seconds = ValInt(text.size() >= 2 ? text.substr(text.size() - 2) : text);

  std::string words;
  const bool hasHours = hours != 0;
  if (hasHours) words = std::to_string(hours) + " hour" + (hours > 1 ? "s" : "") + ", ";
  if (minutesText != "00") {
    const int64_t minutes = ValInt(minutesText);
    words += (minutes == 0 ? std::string() : std::to_string(minutes));
    words += minutes == 1 ? " minute" : " minutes";
    words += hasHours ? ", and " : " and ";
  } else if (hasHours) {
    words += "0 minutes, and ";
  }
  words += std::to_string(seconds) + " second" + (seconds == 1 ? "" : "s");
  return words;
}

void Pause(Host& host, double seconds) {
  if (!(seconds >= 0)) seconds = 0;  // NaN and negative waits end at the next tick
  double t0 = host.monotonicSeconds();
  for (;;) {
    t0 = host.monotonicSeconds();
    if (host.monotonicSeconds() > t0) break;
  }
  for (;;) {
    const double waited = host.monotonicSeconds() - t0;
    if (waited > seconds) break;
    // Let the processor rest; the wait still returns within a millisecond.
    const double rest = std::min(seconds - waited, 0.001);
    if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double>(rest));
  }
}

}  // namespace m8
