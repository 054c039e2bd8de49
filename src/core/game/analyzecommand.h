// The Analyze command: the position searched as for the computer's move,
// nothing played.
#pragma once

#include "core/state.h"

namespace m8 {

// Searches the position for the side to move as the computer move does, shows
// the progress, the best move and its line, lists the root moves with their
// scores and announces a forced result or a draw the last move brought; plays
// nothing. The game no longer counts for the rating. Does nothing once the
// game is over.
void AnalyzePosition(GameState& g);

// The Analyze command: nothing once the game is over; otherwise the status
// panel emptied, Busy set and the Board menu off while AnalyzePosition runs.
void StartAnalysis(GameState& g);

}  // namespace m8
