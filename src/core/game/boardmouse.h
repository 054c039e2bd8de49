// The arithmetic of the board's mouse input, apart from the widgets: which
// cell a square control shows, whether a piece may be picked up, and on
// which cell a dragged piece was dropped.
#pragma once

#include "core/state.h"

namespace m8 {

// Cell shown by square control k (0..63, 8 x screen row + screen column from
// the top left) and the control of a cell, for the board turned or not.
int CellOfControl(int k, int boardTurned);
int ControlOfCell(int cell, int boardTurned);

// Why a piece cannot be picked up.
enum class PickUp {
  Ok,
  WrongSide,  // empty, or not of the side to move: "White moves" / "Black moves"
  NoMove,     // no legal move of the current ply starts there: "You cannot move that piece"
};
// Tests the piece on `cell` against the legal moves the last generation left
// for the current ply (no generation here). Sets Flow.CanReturnToStart when a
// move of the piece ends on its own cell.
PickUp TestPickUp(GameState& g, int cell);
// The message for a refused pick-up.
const char* PickUpMessage(const GameState& g, PickUp why);

// Touch move: forgets the touched piece once its cell no longer holds a piece
// of the side to move (the position changed under it, as by taking moves
// back), so that a stale touch cannot refuse every move.
void ForgetStaleTouch(GameState& g);

// Whether a legal move of the current ply starts on `cell`.
bool HasMoveFrom(const GameState& g, int cell);

// The drop pitch in twips: the square pitch of the layout as the drop is
// measured (small 458/568, medium 653/808, big 838/1048 at 12 / other twips
// per pixel). A skin without a known size is measured as medium.
int DropPitch(int boardSizeCode, int boardCustomSize, int twipsPerPixel);

// The cell a piece held on cell `from` lands on when the pointer was last at
// (dragX, dragY) twips from the corner of its square; 0 when that is off the
// board or on a square out of play.
int DropCell(GameState& g, int from, int dragX, int dragY, int pitch);

}  // namespace m8
