// Game control in the window: the play commands, navigation, the play modes,
// the hint, the rules help, the move list as a way through the game, and the
// position editor's popup menu. The work is done in src/core/game; this file
// connects the commands and shows what the core leaves.
#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QUrl>

#include "app/dialogs/frmrules.h"
#include "app/dialogs/screenfit.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/objectnames.h"
#include "core/game/analyzecommand.h"
#include "core/game/computermove.h"
#include "core/game/gameover.h"
#include "core/game/hint.h"
#include "core/game/navigation.h"
#include "core/game/newgame.h"
#include "core/game/playmode.h"
#include "core/game/setupedit.h"
#include "core/game/variantname.h"

namespace m8 {

namespace {

// The move list as a way through the game: a release of any button over it,
// or Enter, shows the position of the chosen line.
class MoveListFilter : public QObject {
 public:
  MoveListFilter(QListWidget* list, std::function<void()> choose)
      : QObject(list), list_(list), viewport_(list->viewport()), choose_(std::move(choose)) {
    list->installEventFilter(this);
    viewport_->installEventFilter(this);
  }

 protected:
  // Only the pointers are compared: the list may be half destroyed here.
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == viewport_ && e->type() == QEvent::MouseButtonRelease) {
      choose_();
    } else if (o == list_ && e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) choose_();
    }
    return false;
  }

 private:
  QObject* list_;
  QObject* viewport_;
  std::function<void()> choose_;
};

struct PopupEntry {
  const char* name;
  const char* caption;
  SetupEntry entry;
  bool separatorBefore;
};
constexpr PopupEntry kPopupEntries[] = {
    {objectnames::kClearBoardEntry, "Clear Board", SetupEntry::ClearBoard, false},
    {objectnames::kEmptyEntry, "Empty", SetupEntry::Empty, true},
    {objectnames::kBlackManEntry, "Black Checker", SetupEntry::BlackChecker, false},
    {objectnames::kBlackKingEntry, "Black King", SetupEntry::BlackKing, false},
    {objectnames::kWhiteManEntry, "White Checker", SetupEntry::WhiteChecker, false},
    {objectnames::kWhiteKingEntry, "White King", SetupEntry::WhiteKing, false},
    {objectnames::kBlackMovesEntry, "Black moves", SetupEntry::BlackMoves, true},
    {objectnames::kWhiteMovesEntry, "White moves", SetupEntry::WhiteMoves, false},
    {objectnames::kPriorityEntry, "Priority", SetupEntry::Priority, true},
};

}  // namespace

void MainWindow::connectGameFlow() {
  CommandSurface& c = *commands_;
  c.setHandler(objectnames::kNewGameEntry, "New Game", [this] { NewGameCommand(0); });
  c.setHandler(objectnames::kComputeEntry, "Compute", [this] { ComputerMoveNow(*state_); });
  c.setHandler(objectnames::kAnalyzeEntry, "Analyze", [this] { StartAnalysis(*state_); });
  c.setHandler(objectnames::kFirstEntry, "First", [this] { FirstCommand(*state_); });
  c.setHandler(objectnames::kBackEntry, "Back", [this] { BackCommand(*state_); });
  c.setHandler(objectnames::kForwardEntry, "Forward", [this] { ForwardCommand(*state_); });
  c.setHandler(objectnames::kLastEntry, "Last", [this] { LastCommand(*state_); });
  c.setHandler(objectnames::kOfferDrawEntry, "Draw", [this] { HandleDrawOffer(*state_); });
  c.setHandler(objectnames::kResignEntry, "Resign", [this] { ResignGame(*state_); });
  c.setHandler(objectnames::kHintEntry, "Hint", [this] { HintCommand(); });
  c.setHandler(objectnames::kComputerPlayerEntry, "ComputerPlayer", [this] { SetComputerPlayerMode(*state_); });
  c.setHandler(objectnames::kPlayerPlayerEntry, "PlayerPlayer", [this] { SetPlayerPlayerMode(*state_); });
  c.setHandler(objectnames::kComputerComputerEntry, "ComputerComputer", [this] { ComputerVsComputer(*state_); });
  c.setHandler(objectnames::kQuickRulesEntry, "", [this] { RulesHelp(true); });
  c.setHandler(objectnames::kRulesEntry, "", [this] { RulesHelp(false); });

  // The list is refilled by the navigation: it runs once the list has
  // finished with the event.
  new MoveListFilter(playedMoves_, [this] {
    QMetaObject::invokeMethod(
        this, [this] { GotoMoveListLine(*state_, playedMoves_->currentRow()); }, Qt::QueuedConnection);
  });

  setupPopup_ = new QMenu(QStringLiteral("mnuPopup"), this);
  setupPopup_->setObjectName(objectnames::kSetupPopup);
  for (const PopupEntry& e : kPopupEntries) {
    if (e.separatorBefore) setupPopup_->addSeparator();
    QAction* a = setupPopup_->addAction(QString::fromLatin1(e.caption));
    a->setObjectName(QString::fromLatin1(e.name));
    a->setCheckable(true);
    const SetupEntry entry = e.entry;
    connect(a, &QAction::triggered, this, [this, entry] { ApplySetupEntry(*state_, entry); });
  }
}

void MainWindow::NewGameCommand(int newVariant) {
  GameState& g = *state_;
  NewGameHooks hooks;
  hooks.variantDialog = gameFlowHooks.variantDialog;
  hooks.loadRandomOpening = gameFlowHooks.loadRandomOpening;
  hooks.playDoMoves = gameFlowHooks.playDoMoves;
  hooks.arrangeLayout = [this] { ArrangeLayout(); };
  hooks.repaint = [this] { clearDrawing(); };
  const int notation = g.Opt.Notation;
  if (!NewGame(g, newVariant, hooks)) return;
  clearDrawing();
  if (g.Opt.Notation != notation) {
    commands_->setEntryChecked(objectnames::kAlgebraicEntry, g.Opt.Notation == 0);
    commands_->setEntryChecked(objectnames::kNumericEntry, g.Opt.Notation == 1);
    commands_->setEntryChecked(objectnames::kNoNotationEntry, g.Opt.Notation != 0 && g.Opt.Notation != 1);
  }
  DrawBoard(0);
}

void MainWindow::HintCommand() {
  GameState& g = *state_;
  if (g.Flow.Busy == 1) return;
  // The hint searches with the event pump running: the board takes no move
  // meanwhile.
  g.Flow.Busy = 1;
  DisableMenusWhileThinking();
  ShowHint(g);
  EnableMenusAfterThinking();
  g.Flow.Busy = 0;
}

void MainWindow::RulesHelp(bool quick) {
  GameState& g = *state_;
  const std::string link = VariantHelpLink(g, quick);
  if (!link.empty()) {
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(link));
    // Without a browser the command would do nothing visible.
    if (!QDesktopServices::openUrl(url))
      host_->message(Icon::Exclamation, "Error",
                     "The rules \"" + link + "\" cannot be shown: no browser could be started for them.");
    return;
  }
  if (gameFlowHooks.showRulesWindow)
    gameFlowHooks.showRulesWindow();
  else
    ShowRulesWindow(g, this);
}

bool MainWindow::prepareSetupPopup(int pressedSquare, int releasedSquare) {
  GameState& g = *state_;
  if (g.Flow.Busy == 1 || g.Flow.FromSquare != -1) return false;
  if (pressedSquare < 0 || pressedSquare > 63 || releasedSquare != pressedSquare) return false;
  const int cell = CellOfSquare(pressedSquare);
  if (!SetupSquareEditable(g, cell)) return false;
  g.Flow.SkipSquareNumbers = 1;
  const SetupEntry content = SetupEntryOfContent(g.board[cell]);
  for (const PopupEntry& e : kPopupEntries) {
    QAction* a = setupPopup_->findChild<QAction*>(QString::fromLatin1(e.name));
    if (!a) continue;
    switch (e.entry) {
      case SetupEntry::ClearBoard: a->setChecked(false); break;
      case SetupEntry::BlackMoves: a->setChecked(g.P.SideToMove != 1); break;
      case SetupEntry::WhiteMoves: a->setChecked(g.P.SideToMove == 1); break;
      case SetupEntry::Priority: a->setChecked(cell == g.Eval.PrioritySquare); break;
      default: a->setChecked(e.entry == content); break;
    }
  }
  g.Flow.PopupSquare = cell;
  g.Flow.PopupChanged = 0;
  return true;
}

void MainWindow::finishSetupPopup() {
  GameState& g = *state_;
  if (!FinishPositionEdit(g)) return;
  variantNameLabel_->setText(QString::fromStdString(g.Variant.LoadedVariantName + " (M)"));
  DrawBoard(0);
}

void MainWindow::OpenSetupPopup(int pressedSquare, int releasedSquare, const QPoint& globalPos) {
  if (!prepareSetupPopup(pressedSquare, releasedSquare)) return;
  // At the pointer, moved as little as needed to show all of it.
  const QRect area = availableArea();
  const QRect at(globalPos, setupPopup_->sizeHint());
  setupPopup_->exec(area.isValid() ? MovedOnto(at, area).topLeft() : globalPos);
  finishSetupPopup();
}

}  // namespace m8
