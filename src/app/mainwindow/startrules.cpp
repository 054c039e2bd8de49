// The game part of start-up: the start position of the rules in force and the
// start-position rules.
#include "app/mainwindow/mainwindow.h"
#include "core/game/gamesetup.h"

namespace m8 {

void MainWindow::startGame() { InitGame(*state_); }

void MainWindow::applyStartPositionRules() {
  GameState& g = *state_;
  if (g.Rules.RemoveMen == 1) {
    RemoveRandomMen(g);
    SetupPositionState(g);
  }
  if (g.Rules.DoMoves == 1) WriteDoMovesFileCommand();
}

}  // namespace m8
