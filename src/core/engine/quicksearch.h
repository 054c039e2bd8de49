// A short fixed-depth search with the quick node of the rule family in force:
// a fast opinion of the position after a played move.
#pragma once

#include "core/state.h"

namespace m8 {

// Searches the current position (1 ply in the families, 3 in the generic
// family, 2 when all 64 squares are played) and returns the score from the
// view of the side that is not to move.
int QuickSearch(PositionState& g);

// The same at the caller's depth (the generic family one less when all 64
// squares are played). The families' node may raise `depth` by one; pass a
// scratch copy.
int QuickSearchDepth(PositionState& g, int& depth);

}  // namespace m8
