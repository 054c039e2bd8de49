// Moves entered as text in the move box and by double-clicks in the legal-move
// and root-move lists. All of them go through the move-execution path of
// core/game/moveexec.h, like a move dropped on the board.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/mainwindow/mainwindow.h"
#include "core/game/moveexec.h"
#include "core/game/navigation.h"

namespace m8 {

void MainWindow::EnterTypedMove(int keyCode) {
  if (keyCode != 13 || state_->Flow.Busy == 1) return;
  const std::string typed = moveBox_->text().toStdString();
  moveBox_->clear();
  m8::EnterTypedMove(*state_, typed, {});
}

void MainWindow::onPlayMoveClicked() { EnterTypedMove(13); }

// The lists are off while the computer plays; Busy also keeps them out while
// the short search after a move lets events through.
void MainWindow::onLegalMoveActivated(int row) {
  if (state_->Flow.Busy == 1) return;
  moveBox_->clear();
  PlayLegalListMove(*state_, row, {});
}

void MainWindow::onRootMoveActivated(int row) {
  if (state_->Flow.Busy == 1) return;
  PlayRootListMove(*state_, row, {}, [](GameState& g) { GotoMove(g, 1, 1, 0); });
}

void MainWindow::connectMoveInput() {
  connectBoardInput();
  connect(moveBox_, &QLineEdit::returnPressed, this, [this] { EnterTypedMove(13); });
  connect(playMoveButton_, &QPushButton::clicked, this, [this] { onPlayMoveClicked(); });
  connect(legalMoves_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { onLegalMoveActivated(legalMoves_->row(item)); });
  connect(rootMoves_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { onRootMoveActivated(rootMoves_->row(item)); });
  moveBox_->setEnabled(true);
  playMoveButton_->setEnabled(true);
}

}  // namespace m8
