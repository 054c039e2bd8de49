#include "core/host.h"

#include <chrono>
#include <ctime>

namespace m8 {

double Host::secondsSinceMidnight() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  double frac = duration<double>(now.time_since_epoch()).count();
  frac -= static_cast<double>(static_cast<long long>(frac));
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + frac;
}

double Host::monotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace m8
