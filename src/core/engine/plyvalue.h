// The ply value table: every legal move played in turn, the replies searched
// at 1, 2, ... PlyValueDepth plies, and the value of the best reply at each
// depth kept in PlyValueState for the ply value table window.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Runs the table for the position on the board: each legal move is played
// into the game, searched by PlyValueSearchOne and taken back. Cancel (a stop
// request) ends the run after the row being searched; the rows finished before
// it stay. The rows are then sorted by difference, ascending, the table text
// written and the commands given back. The game stands where it stood, but
// the moves stored after the position are gone and the game is not rated.
void BuildPlyValueTable(GameState& g);

// The search of the position after the move of `row` (the opponent to move):
// fills PlyValues[row][1..], PlyValueDiff, PlyValueTime, PlyValueLines and
// PlyValueMarks of the row.
void PlyValueSearchOne(GameState& g, int row);

// The table as the window prints it: a header, a rule of 120 "-", one line
// per row 0..PlyValueRows-1 in the order of the arrays.
std::string PlyValueTableText(const GameState& g);

// The same table under a rule of ruleLength "-"; with flaggedOnly only the
// rows marked as combinations or problems, numbered in printing order. The
// window prints it this way when it sorts the rows again.
std::string PlyValueTableText(const GameState& g, int ruleLength, bool flaggedOnly);

// Exchanges rows i and j of the table's arrays (not of their saved copies).
void SwapRows(PlyValueState& pv, int i, int j);

}  // namespace m8
