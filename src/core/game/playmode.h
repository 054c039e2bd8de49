// Play modes and the computer's turn: who plays which side, the switches
// between player against computer, player against player and computer
// against computer, and the computer's reply to a move.
#pragma once

#include "core/state.h"

namespace m8 {

// Exchanges PlayerName1 and PlayerName2.
void SwapPlayerNames(GameState& g);

// Against the computer, the player takes the side to move of the position
// shown: when exactly one name is the computer's, the other name goes beside
// the side to move and the computer's beside the other side. Names of two
// players or two computers stay as they are.
void PutPlayerBesideSideToMove(GameState& g);

// The computer plays the side to move now: the Compute command (swapNames),
// and the reply after a user move outside player-against-player play. Nothing
// once the game is over; otherwise the status panel emptied, Busy set and the
// Board menu off while ComputerMove searches and plays. With swapNames the
// names are exchanged first, so that the computer's name stands beside the
// side to move; the reply to a user move leaves them where they are.
void ComputerMoveNow(GameState& g, bool swapNames = true);

// Player against computer: the user takes the side to move now, the
// computer the other; Offer draw, Hint and Resign come back unless the game
// is over; the mode marks
// and the status text "Computer-Player mode". Starts no computer move.
void SetComputerPlayerMode(GameState& g);

// Player against player: both names the user's; Offer draw and Resign off,
// Hint left as it is; status "Player-Player mode".
void SetPlayerPlayerMode(GameState& g);

// The mode marks of the three mode commands (menu check and toolbar button):
// exactly the one of `mode` on.
void ShowPlayModeMarks(GameState& g, int mode);

}  // namespace m8
