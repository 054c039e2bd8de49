// The quick search from the root: a root move probed with it, and the hint's
// search of the root moves.
#pragma once

#include <optional>
#include <string>

#include "core/state.h"

namespace m8 {

// Plays root move `index`, searches the position it reaches with the quick
// search and takes the move back; the score is from the view of the side
// that played it. `depth`: QuickSearchDepth at that depth; none: QuickSearch
// at its own. drawTest: the line table's first entry is emptied first and the
// draw rules of the game since `rootGamePly` are applied to the position
// reached; the draw mark they leave stays for the caller. None when the move
// cannot be made (nothing changed but the line table's entry).
std::optional<int> ProbeRootMoveQuick(PositionState& g, int index, int rootGamePly, bool drawTest,
                                      std::optional<int> depth);

// The hint's search of the root moves in the move list (records PlyStart[0]
// .. PlyStart[1] - 1, Ply 0): two passes of the quick search (one when all 64
// squares are played), the draw rules of the game since Driver.GamePlyAtRoot
// applied on each move's first probe. The best move ends up in record
// PlyStart[0]. A stop ends it after the move being searched.
void SearchHint(PositionState& g);

// The reply the last search expected (Search.HintFrom/HintTo), offered as a
// hint: "Try 11-15", "Try 15x22" for a capture (Search.HintCapture).
std::string HeldHintText(const PositionState& g);

}  // namespace m8
