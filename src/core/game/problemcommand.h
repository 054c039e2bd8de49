// The Problems/Combinations command: the position in hand searched for a
// combination, with the progress bar and Cancel of the other searches.
#pragma once

#include "core/state.h"

namespace m8 {

// Searches the position for the side to move at depths 1 to the ply value
// table's depth (SearchPositionProblems), its score measured against the
// material on the board; the commands are off and Cancel on
// meanwhile, the progress bar counts the root moves searched and Cancel ends
// the search after the move being searched. A combination found is appended
// to Driver.ProblemText; Driver.ProblemSummary says what the search found,
// also when it found none or was stopped. Nothing is played and the stored
// hint stays; the game no longer counts for the rating. The caller checks
// Busy.
void SearchProblemsCommand(GameState& g);

}  // namespace m8
