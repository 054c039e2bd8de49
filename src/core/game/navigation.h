// Moving through the stored game: taking plies back, replaying stored plies,
// and the commands First, Back, Forward, Last and the move-list choice.
#pragma once

#include "core/state.h"

namespace m8 {

// The stored text of game ply n (1..) in the game record ("" outside it).
const std::string& StoredPlyText(const GameState& g, int n);

// The key PlayMoveString replays ply n from: the destination name of a
// placement, the from and to names of any other move (every square of a
// capture that was written with its landing squares), in upper case.
std::string StoredPlyKey(const GameState& g, int n);

// plies > 0 takes that many plies back, plies < 0 replays -plies stored
// plies; then the board, the lists, the comment, the engine line, the status
// and the navigation and play commands follow the shown position. The game
// no longer counts for the rating. keepRootScores == 0 forgets the root move
// scores; quiet != 0 (taking back only) redraws after every ply and leaves the
// list selection, texts and commands alone. The stored game is not changed.
void GotoMove(GameState& g, int plies, int keepRootScores, int quiet);

// Replays the next stored ply as if it were played again: displays, the draw
// rules of the new position and the game-over test.
void StepForward(GameState& g);

// The commands. First and Last and the move-list choice do nothing while the
// computer is busy; each empties the root move list first.
void FirstCommand(GameState& g);
void BackCommand(GameState& g);
void ForwardCommand(GameState& g);
void LastCommand(GameState& g);
// A line of the move list chosen (by click or Enter); -1 = no line = the
// start position.
void GotoMoveListLine(GameState& g, int line);

}  // namespace m8
