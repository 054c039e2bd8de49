// Legal-move generation under the rules in force, the legal-move test, and
// making and taking back moves.
#pragma once

#include <string_view>

#include "core/state.h"

namespace m8 {

// Appends the moves of the side to move for the current ply (g.P.Ply) to the
// shared move list: records PlyStart[Ply] .. MoveListEnd-1, and
// PlyStart[Ply+1] = MoveListEnd afterwards.
// mode 0: the moves the position requires (captures only when compulsory);
// mode > 0: all moves; mode < 0: captures only.
// Returns false when a table filled up (move list, captures, candidates); the
// records written so far stay and StopRequest is set.
bool GenerateMoves(GameState& g, int mode);

// GenerateMoves with mode 0 and, when that gave nothing, with mode 1: the
// legal moves of the position as every caller outside the search wants them.
bool GenerateLegalMoves(GameState& g);

// Whether the side to move has a move under `mode` (shares the generator).
bool HasLegalMove(GameState& g, int mode);

// Plays record `index` of the move list and advances every per-ply counter;
// UnmakeMove takes exactly that record back.
void MakeMove(GameState& g, int index);
void UnmakeMove(GameState& g, int index);

// Matches a compact move text (from and to names run together, as
// CaptureSquaresText; algebraic names upper case) against the legal moves of
// the current position and plays it. Returns true when found and played.
bool PlayMoveString(GameState& g, std::string_view text);

}  // namespace m8
