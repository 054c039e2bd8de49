// Game files in the window: the Open and Save commands with their file
// dialogs, the HTML diagram, and the games of start-up and program end (the
// random opening, the DoMoves moves, the autosave game).
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/dialogs/dlgpdn.h"
#include "app/mainwindow/boardview.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/objectnames.h"
#include "core/files/diagram.h"
#include "core/files/gamefile.h"
#include "core/game/domoves.h"
#include "core/game/gameloader.h"
#include "core/version.h"

namespace m8 {

namespace {

constexpr const char* kFileFilter = "Morventa File (*.tvn);;Portable Draughts Notation File (*.pdn)";

// The pointer shows the hourglass while a game is replayed.
class WaitPointer {
 public:
  WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitPointer() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void MainWindow::connectFileCommands() {
  commands_->setHandler(objectnames::kOpenEntry, "Open", [this] { onOpenRequested(); });
  commands_->setHandler(objectnames::kSaveEntry, "Save", [this] { onSaveRequested(); });
  commands_->setHandler(objectnames::kDiagramEntry, "", [this] { onCreateHtmlRequested(); });
  // A new game starts from a random opening or with the DoMoves moves.
  gameFlowHooks.loadRandomOpening = [this] { LoadGameCommand(kLoadOpening); };
  gameFlowHooks.playDoMoves = [this] { WriteDoMovesFileCommand(); };
}

bool MainWindow::LoadGameCommand(int mode, const std::string& path, const std::string& fileTitle) {
  GameState& g = *state_;
  const PdnChooser choose = MakePdnChooser(this, g);
  DisableMenusWhileThinking();
  bool loaded;
  {
    WaitPointer wait;
    loaded = LoadGame(g, mode, path, fileTitle, choose);
  }
  EnableMenusAfterThinking();
  applyNotationMarks();
  if (!loaded) DrawBoard(0);  // a loaded game has been drawn with its status line
  // The game may bring another notation or variant: the labels printed while
  // it was read give way to the ones of the game as loaded.
  clearDrawing();
  printCoordinates();
  return loaded;
}

void MainWindow::onOpenRequested() {
  GameState& g = *state_;
  if (g.Flow.Busy == 1) return;
  if (g.Flow.GameStarted == 1 && !host_->askYesNo("Confirmation", "Quit current game?")) return;
  const QString title = "Load Game";
  const QString path = options_.fileDialog ? options_.fileDialog(title, kFileFilter, false)
                                           : QFileDialog::getOpenFileName(this, title, fileDialogFolder(),
                                                                          kFileFilter, nullptr,
                                                                          QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return;
  lastFileFolder_ = QFileInfo(path).absolutePath();
  if (LoadGameCommand(kLoadOpen, path.toStdString(), QFileInfo(path).fileName().toStdString()))
    gameFilePath_ = QFileInfo(path).absoluteFilePath();
}

QString MainWindow::fileDialogFolder() const {
  // The game in hand is the file last opened or saved while its name is
  // still the game's title (a new game clears it).
  const QFileInfo game(gameFilePath_);
  if (!gameFilePath_.isEmpty() && game.fileName().toStdString() == state_->Flow.GameFileTitle)
    return game.absolutePath();
  return lastFileFolder_.isEmpty() ? QDir::currentPath() : lastFileFolder_;
}

void MainWindow::onSaveRequested() {
  GameState& g = *state_;
  if (g.Flow.Busy == 1) return;
  const QString title = "Save Game";
  const QString path =
      options_.fileDialog ? options_.fileDialog(title, kFileFilter, true)
                          : QFileDialog::getSaveFileName(this, title, fileDialogFolder(), kFileFilter, nullptr,
                                                         QFileDialog::DontConfirmOverwrite |
                                                             QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return;
  lastFileFolder_ = QFileInfo(path).absolutePath();
  const QString fileTitle = QFileInfo(path).fileName();
  const bool pdn = path.right(3).toUpper() == "PDN";
  if (!pdn && QFileInfo::exists(path) &&
      !host_->askYesNo("Confirmation", (fileTitle + " already exists, overwrite?").toStdString()))
    return;
  // The caption names the file the game is in: only a file written becomes
  // that file.
  if (!SaveGame(g, path.toStdString(), fileTitle.toStdString())) return;
  g.Flow.GameFileTitle = fileTitle.toStdString();
  gameFilePath_ = QFileInfo(path).absoluteFilePath();
  g.Flow.Caption = WindowCaption(g.Flow.GameFileTitle);
  refreshView(View::Caption);
}

void MainWindow::onCreateHtmlRequested() { CreateHtmlDiagram(*state_); }

bool MainWindow::WriteDoMovesFileCommand() {
  DisableMenusWhileThinking();
  bool written;
  {
    WaitPointer wait;
    written = WriteDoMovesFile(*state_);
  }
  EnableMenusAfterThinking();
  applyNotationMarks();
  DrawBoard(0);
  return written;
}

void MainWindow::ResumeAutosave() {
  GameState& g = *state_;
  if (g.Opt.AutoSave != 1 || !QFileInfo::exists(QString::fromStdString(UserFile(g, kAutosaveFileName)))) return;
  LoadGameCommand(kLoadAutosave);
}

bool MainWindow::SaveAutosaveAtExit() { return SaveAutosave(*state_); }

}  // namespace m8
