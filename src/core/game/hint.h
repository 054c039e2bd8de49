// The Hint command: a move suggested to the user.
#pragma once

#include "core/state.h"

namespace m8 {

// Shows the reply the computer's last search expected ("Try 11-15", title
// "Hint"), or, without one, the best root move of a short two-pass search,
// and forgets the expected reply. The game no longer counts for the rating;
// the position is unchanged afterwards and the status panel gives the
// multiple-jumps advice. The caller locks the command surface around it.
void ShowHint(GameState& g);

}  // namespace m8
