// The lists beside the board that the game fills: the legal moves of the
// position (with the opening book's moves marked) and, for a new or loaded
// game, all three emptied.
#pragma once

#include "core/state.h"

namespace m8 {

// A new or loaded game: the move list, the move texts and the root move
// scores of the last game are forgotten (DrawNote stays for the program's run).
void ClearDriverLists(GameState& g);

// The legal-move list: generates the legal moves of the current ply (mode 0, then 1) and
// writes one line per move: its MoveText, "b" when the opening book offers
// it. The move texts of the caller are kept.
void ListLegalMoves(GameState& g);

}  // namespace m8
