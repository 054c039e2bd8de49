// A game set up from outside the window: the perft and analysis tools and
// the benchmarks start a variant and put a position on the board the way the
// new-variant command and the position editor do (the board part is the
// rules' SetPosition, rules/setposition.h).
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// Sets up a new game of `variant` from its file in ProgramFolder/variants
// ("American Checkers" needs no file) as the new-variant command does:
// InitGame, the variant's rules put in force, InitGame again. Returns false
// with the variant reader's message (what is wrong, in which file and line)
// when the file cannot be read.
bool SetupVariantStart(GameState& g, std::string_view variant, std::string* error);

// Puts a position given as a Setup string (64 digits 0..4) on the board with
// the given side to move (+1 white, -1 black) and takes it as the start of
// the game, as the position editor does (SetupPositionState).
bool SetupPerftPosition(GameState& g, std::string_view digits, int sideToMove, std::string* error);

// Starts a new game of `variant` and, when `setup` is not empty, puts that
// position (64 digits: 0 empty, 1/2 white/black man, 3/4 white/black king) on
// the board with `sideToMove` (+1 White, -1 Black) to move, as the position
// editor does. Returns false with a message when the variant cannot be read
// (the variant reader's) or the set-up string is bad.
bool SetupAnalysisPosition(GameState& g, std::string_view variant, std::string_view setup,
                           int sideToMove, std::string* error);

}  // namespace m8
