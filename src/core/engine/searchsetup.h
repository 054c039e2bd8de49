// A position readied for a search from outside the window (the analysis
// tool and the search benchmark set it up with game/toolsetup.h, the tests
// with the rules' SetPosition).
#pragma once

#include "core/state.h"

namespace m8 {

// Readies the position for a search as a computer move at full strength: no
// noise, the back-row term on, the phase thresholds of the material on the
// board, the ply counters reset.
void PrepareFullStrengthSearch(PositionState& g);

}  // namespace m8
