// The program's main window: board, side panel, engine output, menus and
// toolbar. It owns the game state and the Qt host through which the core
// reaches it.
#pragma once

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/mainwindow/artwork.h"
#include "app/mainwindow/layout.h"
#include "app/mainwindow/qthost.h"
#include "core/state.h"

class QLabel;
class QLineEdit;
class QMenu;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolBar;

namespace m8 {

class BoardView;
class CommandSurface;
class ExitSave;
class FormSurface;

struct MainWindowOptions {
  QString programFolder;  // empty: the folder of the executable
  int twipsPerPixel = 0;  // 0: from the screen's logical dots per inch
  BoxHooks boxes;         // tests answer the boxes here
  // Tests answer the open and save dialogs here (the chosen path, "" for
  // Cancel); empty: the common file dialog.
  std::function<QString(const QString& title, const QString& filter, bool save)> fileDialog;
  // Whether the program may write its files in a folder; empty: a folder of
  // the user's own, not marked read-only, where a temporary file can be
  // made. Tests stand in for a read-only install here.
  std::function<bool(const QString& folder)> folderWritable;
  // The user's data folder used when the program folder is read-only; empty:
  // the platform's application data folder.
  QString userDataFolder;
  // Tests stand in for the monotonic clock the search measures its time on.
  std::function<double()> monotonicClock;
  // The free area of the screen (without task bars); invalid: the screen's.
  QRect availableGeometry;
  // The window ends the session itself when the program is told to stop
  // (InstallEndSignals) or the desktop session ends, from its first start-up
  // step on: the program's own window sets it.
  bool handleSessionEnd = false;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  explicit MainWindow(const MainWindowOptions& options, QWidget* parent = nullptr);
  ~MainWindow() override;

  GameState& state() { return *state_; }
  QtHost& host() { return *host_; }

  // True when start-up hit a fatal error: the window is not to be shown.
  bool startupFailed() const { return startupFailed_; }
  // Where the settings, rating and log go when the program folder is not
  // writable ("" when they go to the program folder).
  const QString& redirectedFolder() const { return redirectedFolder_; }

  // Start-up and program end.
  void onExitRequested();
  void End1();
  void endAfterFatalError();
  // The session ends or the program was told to stop (a signal): the
  // saving exit steps without a question, after stopping a running search
  // whose move is then not played.
  void endSession();
  // The display went away and the program is ending through exit(): the
  // saving exit steps from the game state alone, without a box and without
  // a widget. Nothing is saved once the exit steps ran or after a fatal
  // error. Armed once start-up is over: until then the files read so far
  // stay as they were.
  void endWithoutDisplay();
  // True once the exit steps have run.
  bool programEnded() const { return finished_; }
  // The program's exit code once they have: 1 when the session ended and a
  // file could not be written, else 0.
  int exitCode() const { return exitCode_; }

  // After the skin name changed (the options dialog): the skin, the layout
  // and the board again.
  void ReloadSkin();

  // Board view.
  void ArrangeLayout();
  void DrawBoard(int mode);
  void ShowSideToMove();
  int IsUserColour(const std::string& colour) const;
  void ClearMoveHighlights();
  void clearDrawing();
  // The coordinates beside the board and its frame, for the notation and
  // orientation in force (DrawBoard prints them too).
  void printCoordinates();
  void TurnBoard();

  // Commands.
  void DisableMenusWhileThinking();
  void EnableMenusAfterThinking();
  void setNotation(int target);
  void calculationClick();
  void cancelClick();

  // Board input and move entry (boardinput.cpp, moveentry.cpp). index is the
  // square control (0..63) that holds the press; x and y are twips from its
  // top-left corner; button 1 left, 2 right, 4 middle.
  void onBoardPress(int index, int button);
  void onBoardDrag(int index, int xTwips, int yTwips);
  void onBoardRelease(int index, int button, int releasedSquare, const QPoint& globalPos);
  void EnterTypedMove(int keyCode);
  void onPlayMoveClicked();
  void onLegalMoveActivated(int row);
  void onRootMoveActivated(int row);

  // Game control (gameflow.cpp). The hooks are filled by the parts that own
  // those windows and files; an empty hook is skipped.
  struct GameFlowHooks {
    std::function<void()> variantDialog;      // New Variant: the modal variant dialog
    std::function<void()> loadRandomOpening;  // ChooseOpening at a new game
    std::function<void()> playDoMoves;        // DoMoves at a new game
    std::function<void()> showRulesWindow;    // Quick Rules / Rules without a link
  };
  GameFlowHooks gameFlowHooks;
  void NewGameCommand(int newVariant);  // "New Game" 0, "New Variant" 1
  void HintCommand();
  void RulesHelp(bool quick);
  // The position editor: a right-button release over the pressed square
  // (both control numbers) opens the set-up popup at globalPos; the edited
  // position then starts a new game.
  void OpenSetupPopup(int pressedSquare, int releasedSquare, const QPoint& globalPos);
  bool prepareSetupPopup(int pressedSquare, int releasedSquare);
  void finishSetupPopup();
  QMenu* setupPopup() const { return setupPopup_; }

  // Game files (filecommands.cpp): Open, Save, the diagram, the games of
  // start-up and program end. LoadGameCommand takes the modes of LoadGame
  // (core/game/gameloader.h) and locks the commands while it replays.
  bool LoadGameCommand(int mode, const std::string& path = {}, const std::string& fileTitle = {});
  void onOpenRequested();
  void onSaveRequested();
  // Where the Open and Save dialogs start: the folder of the game in hand,
  // else the folder last chosen in either, else the working directory.
  QString fileDialogFolder() const;
  void onCreateHtmlRequested();
  bool WriteDoMovesFileCommand();
  void ResumeAutosave();
  bool SaveAutosaveAtExit();  // false when it could not be written (the host was told)

  // What the host forwards.
  void setStatusText(int panel, const QString& text);
  void setProgress(int value, int maximum);
  void setCommandEnabled(Command c, bool enabled);
  void setCommandChecked(Command c, bool checked);
  void refreshView(View v);

  // Controls, named for what they hold (their object names: app/objectnames.h).
  BoardView* board() const { return board_; }
  FormSurface* surface() const { return surface_; }
  CommandSurface* commands() const { return commands_; }
  QLabel* topNameLabel() const { return topNameLabel_; }
  QLabel* bottomNameLabel() const { return bottomNameLabel_; }
  QLabel* topSideLabel() const { return topSideLabel_; }
  QLabel* bottomSideLabel() const { return bottomSideLabel_; }
  QLabel* topCountLabel() const { return topCountLabel_; }
  QLabel* bottomCountLabel() const { return bottomCountLabel_; }
  QLabel* strengthLabel() const { return strengthLabel_; }
  QLabel* variantNameLabel() const { return variantNameLabel_; }
  QLabel* engineOutputLabel() const { return engineOutputLabel_; }
  QLabel* extraPiecesLabel() const { return extraPiecesLabel_; }
  QLabel* extraBlackCountLabel() const { return extraBlackCountLabel_; }
  QListWidget* playedMoves() const { return playedMoves_; }
  QListWidget* legalMoves() const { return legalMoves_; }
  QListWidget* rootMoves() const { return rootMoves_; }  // with their scores
  QLineEdit* moveBox() const { return moveBox_; }
  QPlainTextEdit* commentBox() const { return commentBox_; }
  QPushButton* playMoveButton() const { return playMoveButton_; }
  QLabel* emblemPicture() const { return emblemPicture_; }
  QProgressBar* progressBar() const { return progress_; }
  QLabel* statusPanel(int n) const { return panels_[n - 1]; }
  const ReferencePictures& pictures() const { return pictures_; }

  // The free area of the screen the window is on (availableGeometry of the
  // options when set); the dialogs open on it too.
  QRect availableArea() const;

  int twipsPerPixel() const { return tpp_; }
  int px(int twips) const { return TwipsToPixels(twips, tpp_); }
  // Cell shown by control k, and control of a cell, in the current orientation.
  int CellOfSquare(int k) const;
  int SquareOfCell(int cell) const;
  // The outer window size the layout asked for, in pixels.
  QSize layoutOuterSize() const { return outerSize_; }
  // 1 when the board holds equal material and kings only.
  int equalKingsOnly() const;
  int movablesShown() const { return state_->BoardShown.MovesHighlighted; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void buildControls();
  void connectCommands();
  void connectFileCommands();
  void connectGameFlow();
  void connectMoveInput();
  void connectBoardInput();
  void frameSquareOf(int k, int testedCell);  // the square frame on control k
  void showPieceOf(int cell);                 // the piece picture back on its square
  void placeControl(QWidget* w, int left, int top, int width, int height);
  void startUp();      // the start-up steps, run once by the constructor
  bool confirmExit();  // the exit question when ConfirmExit asks for it; true to go on
  void finishProgram();
  // The game, the settings and the rating written as Exit writes them;
  // false when one could not be (the host was told).
  bool saveAtEnd();
  // From here on a box would go to stderr and the log.
  void becomeUnattended();
  void chooseWritableFolder(const QString& exeFolder);
  bool folderWritable(const QString& folder) const;
  void applyPlayModeMarks();
  void applyNotationMarks();
  void startGame();
  void applyStartPositionRules();
  // The skin file's pictures into the custom set; missingPictures, the message
  // naming the pictures the file leaves out, is shown once they are in place.
  bool loadSkinPictures(const std::string& missingPictures);
  void finishCloseAfterSearch();
  void fitOuterSize();
  void centreOnScreen(const QSize& outer);

  std::unique_ptr<GameState> state_;
  std::unique_ptr<QtHost> host_;
  // Armed while the program's own window is up (handleSessionEnd).
  std::unique_ptr<ExitSave> exitSave_;
  ReferencePictures pictures_;
  MainWindowOptions options_;

  FormSurface* surface_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  CommandSurface* commands_ = nullptr;
  BoardView* board_ = nullptr;
  // Beside the board, for the upper and the lower side: the player, "Black"
  // or "White", the pieces on the board.
  QLabel* topNameLabel_ = nullptr;
  QLabel* bottomNameLabel_ = nullptr;
  QLabel* topSideLabel_ = nullptr;
  QLabel* bottomSideLabel_ = nullptr;
  QLabel* topCountLabel_ = nullptr;
  QLabel* bottomCountLabel_ = nullptr;
  QLabel* strengthLabel_ = nullptr;
  QLabel* variantNameLabel_ = nullptr;
  QLabel* engineOutputLabel_ = nullptr;
  // The row of pieces still to be placed (variants that start with pieces off
  // the board).
  QLabel* extraPiecesLabel_ = nullptr;
  QLabel* extraBlackLabel_ = nullptr;
  QLabel* extraBlackCountLabel_ = nullptr;
  QLabel* extraWhiteLabel_ = nullptr;
  QLabel* extraWhiteCountLabel_ = nullptr;
  QListWidget* playedMoves_ = nullptr;
  QListWidget* legalMoves_ = nullptr;
  QListWidget* rootMoves_ = nullptr;
  QLineEdit* moveBox_ = nullptr;
  QPushButton* playMoveButton_ = nullptr;
  QPlainTextEdit* commentBox_ = nullptr;
  QLabel* emblemPicture_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QMenu* setupPopup_ = nullptr;
  std::array<QLabel*, 3> panels_{};

  int tpp_ = 15;
  QSize outerSize_;
  QString redirectedFolder_;
  QString gameFilePath_;    // the file the game in hand was opened from or saved to
  QString lastFileFolder_;  // the folder last chosen in the Open or Save dialog
  bool startupFailed_ = false;
  // The board shown smaller than the skin asks, as the status bar says it
  // (empty: the skin's own size), and the same at length for its tool tip.
  QString sizeNotice_;
  QString sizeNoticeDetail_;
  bool fatal_ = false;        // a fatal error: close without saving
  bool finished_ = false;     // the exit steps ran
  bool closePending_ = false; // close once the running search has returned
  bool starting_ = false;     // the start-up steps run
  bool endPending_ = false;   // the session ended during start-up: end once it is done
  int exitCode_ = 0;
  int heldSquare_ = -1;       // the square a held mouse button was pressed on
};

}  // namespace m8
