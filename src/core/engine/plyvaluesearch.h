// The ply value table's search: the replies to a move searched at 1, 2, ...
// PlyValueDepth plies, the value of the best reply at each depth kept in
// PlyValueState; and the table's text. The run over the legal moves, which
// plays them into the game, is game/plyvaluecommand.h.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// The search of the position after the move of `row` (the opponent to move):
// fills PlyValues[row][1..], PlyValueDiff, PlyValueTime, PlyValueLines and
// PlyValueMarks of the row.
void PlyValueSearchOne(PositionState& g, int row);

// The table as the window prints it: a header, a rule of 120 "-", one line
// per row 0..PlyValueRows-1 in the order of the arrays.
std::string PlyValueTableText(const PositionState& g);

// The same table under a rule of ruleLength "-"; with flaggedOnly only the
// rows marked as combinations or problems, numbered in printing order. The
// window prints it this way when it sorts the rows again.
std::string PlyValueTableText(const PositionState& g, int ruleLength, bool flaggedOnly);

// Exchanges rows i and j of the table's arrays (not of their saved copies).
void SwapRows(PlyValueState& pv, int i, int j);

}  // namespace m8
