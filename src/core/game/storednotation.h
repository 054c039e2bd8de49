// The stored game's move texts in the notation in force: rewriting them when
// the notation changes, and the notation commands of the Board menu.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Rewrites the text of every stored ply from the other notation into
// newNotation (1 square numbers, 0 algebraic squares) and rebuilds the move
// list from them, with the book mark of each ply; the legal-move and root
// move lists are emptied for the caller to refill. Notation is newNotation
// afterwards when at least one ply was rewritten.
void ConvertStoredNotation(GameState& g, int newNotation);

// The notation commands: target 0 "Algebraic", 1 "Numeric", 2 "None". The
// stored texts follow a change between letters and numbers (while no
// notation is shown they are in numbers, or in letters on a board where
// every square is in play); the lists are refilled. "Numeric" does nothing
// when every square is in play. The caller sets the check marks and redraws;
// returns false when nothing was done.
bool SelectNotation(GameState& g, int target);

}  // namespace m8
