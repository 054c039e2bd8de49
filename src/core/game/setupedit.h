// The position editor: the popup entries that put pieces on a square, empty
// it or the board, choose the side to move or mark a square for the
// evaluation, and the new game that starts from the edited position.
#pragma once

#include "core/state.h"

namespace m8 {

enum class SetupEntry {
  ClearBoard,    // "Clear Board"
  Empty,         // "Empty"
  BlackChecker,  // "Black Checker"
  BlackKing,     // "Black King"
  WhiteChecker,  // "White Checker"
  WhiteKing,     // "White King"
  BlackMoves,    // "Black moves"
  WhiteMoves,    // "White moves"
  Priority,      // "Priority"
};

// Whether the editor may open on a cell: a square in play, or with every
// square in play an occupied one (or any, with orthogonal moves only).
bool SetupSquareEditable(GameState& g, int cell);

// The entry whose check mark names the content of a cell (Empty for 0 and
// any value that is no piece).
SetupEntry SetupEntryOfContent(int value);

// One entry on Flow.PopupSquare. Every entry but Priority that changes the
// position or the side to move marks the position as set by hand (and
// Flow.PopupChanged); nothing is redrawn until the editing is finished.
void ApplySetupEntry(GameState& g, SetupEntry entry);

// After the popup has closed: when an entry changed the position or the side
// to move since the last call, the position becomes the start of a new game
// under the current rules, the side to move moving first. Returns whether
// that happened; without a change the game stays as it was.
bool FinishPositionEdit(GameState& g);

}  // namespace m8
