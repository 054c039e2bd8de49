// Clock texts and the short pause used between computer moves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/host.h"

namespace m8 {

// "hh:mm.ss" with at least two hour digits (3725 -> "01:02.05",
// 360000 -> "100:00.00"); with inWords the TimeInWords form of it.
// Negative values count as 0.
std::string TimeString(int64_t seconds, bool inWords = false);

// Words for a clock text made by TimeString: "5 seconds",
// "1 minute and 1 second", "1 hour, 0 minutes, and 0 seconds".
std::string TimeInWords(std::string_view clockText);

// Waits the given number of seconds on the host's monotonic clock, first
// waiting for the clock to move on (so 0 still waits for the next tick).
// Processes no events while it waits.
void Pause(Host& host, double seconds);

}  // namespace m8
