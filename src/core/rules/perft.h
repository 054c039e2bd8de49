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

// The number of move sequences of `depth` plies from the position (each
// capture route counted once). Walks the tree with GenerateMoves (mode 0,
// then mode 1 when that gave nothing), MakeMove and UnmakeMove; the last
// ply's moves are counted without being made. Returns false when a table
// filled up or depth is outside 0..kMaxPly.
bool Perft(GameState& g, int depth, uint64_t& count);

// The count below each legal move of the position (move text, count).
bool PerftDivide(GameState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out);

}  // namespace m8
