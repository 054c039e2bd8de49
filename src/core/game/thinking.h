// The commands around a search of the engine: taken away while it thinks
// (Cancel offered instead) and given back afterwards.
#pragma once

#include "core/state.h"

namespace m8 {

// Every command but Cancel off (menu items with their toolbar buttons and the
// move entry box); Cancel on.
void DisableCommandsWhileThinking(GameState& g);

// A search of the computer move or the analysis begins: the game counts as
// started, no piece is held and no result stands; the commands of the move
// list, the root scores and the legal moves go off (with keepListCommands,
// when the computer plays itself, they stay), then DisableCommandsWhileThinking.
void BeginThinking(GameState& g, bool keepListCommands);

// How the commands come back after a search.
enum class AfterThinking {
  ComputerMove,  // the computer has moved: no stored moves ahead of the position
  Analysis,      // nothing was played: forward commands when moves are stored ahead
  PlyValue,      // as ComputerMove, then every list on
};
void EnableCommandsAfterThinking(GameState& g, AfterThinking kind);

}  // namespace m8
