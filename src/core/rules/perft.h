// Counting the leaves of the move tree (perft). The perft tool sets its
// position up with game/toolsetup.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/state.h"

namespace m8 {

// Which generator a perft walks with: GenerateMoves, or the generator of the
// built-in rule set in force (GenerateMoves1..4; GenerateMoves when none).
enum class PerftGenerator { Generic, ForRuleSet };
std::string PerftGeneratorName(const PositionState& g, PerftGenerator which);

// The number of move sequences of `depth` plies from the position (a
// capture reached along several routes counts once). Walks the tree with the
// generator (mode 0, then mode 1 when that gave nothing), MakeMove and
// UnmakeMove; the last ply's moves are counted without being made. Returns
// false when a table filled up or depth is outside 0..kMaxPly.
bool Perft(PositionState& g, int depth, uint64_t& count, PerftGenerator which = PerftGenerator::Generic);

// The count below each legal move of the position (move text, count).
bool PerftDivide(PositionState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out,
                 PerftGenerator which = PerftGenerator::Generic);

}  // namespace m8
