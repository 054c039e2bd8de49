// The ply value table window's sort keys: every choice starts again from the
// rows in the order they were searched, re-orders them by the key and prints
// the table anew.
#pragma once

#include "core/state.h"

namespace m8 {

// The keys in the order of the window's list.
enum class PlyValueKey {
  BestDifference = 0,   // ascending difference
  BothDifference = 1,   // descending size of the difference
  BestValue = 2,        // ascending value at the deepest ply
  MostTime = 3,         // descending time
  Combinations = 4,     // descending size of the difference; marked rows only
};
inline constexpr int kPlyValueKeys = 5;

// Rows 0..PlyValueRows-1 copied back from the saved copies, then ordered by
// key (any other index keeps the search order) with the window's exchange
// procedure: for every i and, inside, every j, rows i and j change places when
// the key's strict condition holds. Equal rows thus come out exactly as that
// procedure leaves them.
void SortPlyValueRows(GameState& g, int key);

// The window's choice of a sort key: nothing unless the table is complete
// (ready mark "1"); then the rows are sorted and the table text printed into
// PlyValueState::TableText (a rule of 107 "-"; with key 4 only the marked
// rows). True when the table was printed.
bool ChoosePlyValueKey(GameState& g, int key);

// The window's Cancel: asks the running table search to stop and gives the
// window's Ok back.
void CancelPlyValueTable(GameState& g);

}  // namespace m8
