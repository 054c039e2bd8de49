// Analysis of the position without playing, and the hint search.
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

// Repeats the stored hint ("Try 9-14", title "Hint"), or, without one, probes
// the root moves at depths 1..PlyValuePlies and appends a problem line to the
// problem window's text (Driver.ProblemText) when the best score differs from
// iniScore by more than 100 and its line holds a capture that does not begin
// it (or scores beyond +-31000).
void ComputeHint(GameState& g, int iniScore);

}  // namespace m8
