// The computer's move and computer-against-computer play.
//
// The window calls these with Flow.Busy set (ComputerVsComputer sets it
// itself) and shows what the host receives: status texts, messages, the
// yes/no draw offer, command states, progress, and refreshes of the board,
// the move lists (Driver.MoveListLines, LegalMoveLines, RootScoreLines), the
// engine output (Search.EngineOutputText) and the strength line.
#pragma once

#include "core/state.h"

namespace m8 {

// Plays the computer's move for the side to move: the opening book or a
// search within the depth or time limit, then the move recorded, listed,
// logged and announced, a draw offer when the position is level and stable,
// and the end of the game when it is over. Does nothing once the game is over.
// With Flow.Closing set when the search returns, the move found is dropped:
// the program is ending and keeps the game as it stands on the board.
void ComputerMove(GameState& g);

// The computer plays both sides until the game ends or the user cancels, half
// a second between the moves; then back to player against computer.
void ComputerVsComputer(GameState& g);

}  // namespace m8
