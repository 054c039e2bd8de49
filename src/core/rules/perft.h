// Counting the leaves of the move tree (perft), and the set-up of a variant's
// start position that the perft tool, its benchmark and the tests share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/state.h"

namespace m8 {

// Sets up a new game of `variant` from its file in ProgramFolder/variants
// ("American Checkers" needs no file) as the new-variant command does:
// InitGame, the variant's rules put in force, InitGame again. Returns false
// with a message when the file cannot be read.
bool SetupVariantStart(GameState& g, std::string_view variant, std::string* error);

// Puts a position given as a Setup string (64 digits 0..4) on the board with
// the given side to move (+1 white, -1 black) and takes it as the start of
// the game, as the position editor does (SetupPositionState).
bool SetupPerftPosition(GameState& g, std::string_view digits, int sideToMove, std::string* error);

// Which generator a perft walks with: GenerateMoves, or the generator of the
// built-in rule set in force (GenerateMoves1..4; GenerateMoves when none).
enum class PerftGenerator { Generic, ForRuleSet };
std::string PerftGeneratorName(const GameState& g, PerftGenerator which);

// The number of move sequences of `depth` plies from the position (a
// capture reached along several routes counts once). Walks the tree with the
// generator (mode 0, then mode 1 when that gave nothing), MakeMove and
// UnmakeMove; the last ply's moves are counted without being made. Returns
// false when a table filled up or depth is outside 0..kMaxPly.
bool Perft(GameState& g, int depth, uint64_t& count, PerftGenerator which = PerftGenerator::Generic);

// The count below each legal move of the position (move text, count).
bool PerftDivide(GameState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out,
                 PerftGenerator which = PerftGenerator::Generic);

}  // namespace m8
