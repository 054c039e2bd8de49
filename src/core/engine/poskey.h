// Position keys for the search's repetition test. A key stands for the set
// of (cell, piece) pairs on the board and the side to move, like the text
// keys of PositionHistory (two-digit cell, then 1 white man, 2 white king,
// 3 black man, 4 black king; "W" or "B" for the side to move), but as a
// 64-bit hash so that the search compares numbers, not texts.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/state.h"

namespace m8 {

// Key of the pieces on the 8x8 area of a board with that side to move.
uint64_t PlacementKey(const Board& b, int sideToMove);

// Key of a PositionHistory text; equal texts give equal keys, and a text gives
// the key of the board it describes.
uint64_t PlacementKeyFromText(std::string_view text);

// Makes the key tables current for a search that starts now: the keys of the
// game's earlier positions from PositionHistory, and the key of the current
// board for the current ply and game ply.
void PrepareRepetitionKeys(PositionState& g);

// After MakeMove of record m (fromValue: the board value on m.From before
// the move): the key of the new ply and of its game ply.
void RecordMoveKey(PositionState& g, const MoveRecord& m, int fromValue);

}  // namespace m8
