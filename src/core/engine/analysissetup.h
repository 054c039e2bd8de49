// A game position set up for a search from outside the window: the analysis
// tool, the search benchmark and the tests.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// Starts a new game of `variant` (its file read from ProgramFolder/variants;
// "American Checkers" is built in) and, when `setup` is not empty, puts that
// position (64 digits: 0 empty, 1/2 white/black man, 3/4 white/black king) on
// the board with `sideToMove` (+1 White, -1 Black) to move, as the position
// editor does. Returns false with a message when the variant cannot be read
// or the set-up string is bad.
bool SetupAnalysisPosition(GameState& g, std::string_view variant, std::string_view setup,
                           int sideToMove, std::string* error);

// Readies the position for a search as a computer move at full strength: no
// noise, the back-row term on, the phase thresholds of the material on the
// board, the ply counters reset.
void PrepareFullStrengthSearch(GameState& g);

}  // namespace m8
