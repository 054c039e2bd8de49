// The Show Ply Value Table command's run: every legal move played into the
// game in turn, the replies searched (engine/plyvaluesearch.h) and the move
// taken back.
#pragma once

#include "core/state.h"

namespace m8 {

// Runs the table for the position on the board: each legal move is played
// into the game, searched by PlyValueSearchOne and taken back. Cancel (a stop
// request) ends the run after the row being searched; the rows finished before
// it stay. The rows are then sorted by difference, ascending, the table text
// written and the commands given back. The game stands where it stood, but
// the moves stored after the position are gone and the game is not rated.
void BuildPlyValueTable(GameState& g);

}  // namespace m8
