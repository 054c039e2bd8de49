// The DoMoves rule: every new game begins with NumberMoves random moves. They
// are played on the new position, written as "domoves.tvn" in the own game
// format, and that file is loaded as the game.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// The own game file of the random opening moves for the new game in hand:
// the fixed lines of the game's start and rules, then one move line per move
// kept. Plays the moves on the board (the caller loads the file afterwards).
// A move that wins, leaves the opponent without a move or reaches a draw of
// an active draw rule is played but not written, and ends the moves.
std::string DoMovesFileText(GameState& g);

// Writes "domoves.tvn" into the user's folder (UserFolderOf) and loads it as the game (it
// is deleted by the load). False, with the host told, when the file cannot be
// written; the new game then stays as it was before the random moves.
bool WriteDoMovesFile(GameState& g);

}  // namespace m8
