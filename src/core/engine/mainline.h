// The principal line as text under the engine's progress line, and the hint
// move it implies (the reply the engine expects).
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// The line of row 0 of the principal-line table as text: at most 20 moves,
// each followed by a blank ("c3-d4 b6xd4K "). Shows nothing.
std::string MainLineTextOf(const PositionState& g);

// Builds MainLineText from row 0 of the principal-line table (at most 20
// moves, each followed by a blank), appends CR LF "Main: " and the text to the
// engine output when ShowCalculation is 1, and stores the line's second move
// as the hint.
void ShowMainLine(PositionState& g);

// The same into the ply value table window's label, the line headed by
// DisplayMoveText (the move under examination) instead of "Main: ".
void ShowMainLinePV(PositionState& g);

}  // namespace m8
