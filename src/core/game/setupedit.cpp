#include "core/game/setupedit.h"

#include "core/engine/searchprogress.h"
#include "core/game/gamesetup.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

bool OnBoard(int cell) { return cell >= 21 && cell <= 98 && cell % 10 >= 1 && cell % 10 <= 8; }

// An entry that changes the position or the side to move marks the position
// as set by hand; choosing what is already there changes nothing.
void MarkChanged(GameState& g) {
  g.Flow.PositionPreset = 1;
  g.Flow.PopupChanged = 1;
}

void PutOnPopupSquare(GameState& g, int value) {
  const int cell = g.Flow.PopupSquare;
  if (!OnBoard(cell) || g.board[cell] == value) return;
  g.board[cell] = value;
  MarkChanged(g);
}

void SetSide(GameState& g, int side) {
  if (g.P.SideToMove != side) MarkChanged(g);
  g.P.SideToMove = side;
  ShowStatus(g, side == 1 ? "White moves" : "Black moves");
}

}  // namespace

bool SetupSquareEditable(GameState& g, int cell) {
  if (!OnBoard(cell)) return false;
  IsPlayableSquare(g, cell);
  const bool playable = g.SquareIsPlayable == 1;
  if (g.Rules.PiecesOnBlack < 2) return playable;
  return playable || g.board[cell] != 0 || g.Tables.OrthogonalOnly != 0;
}

SetupEntry SetupEntryOfContent(int value) {
  switch (value) {
    case 1: return SetupEntry::WhiteChecker;
    case 2: return SetupEntry::WhiteKing;
    case -1: return SetupEntry::BlackChecker;
    case -2: return SetupEntry::BlackKing;
    default: return SetupEntry::Empty;
  }
}

void ApplySetupEntry(GameState& g, SetupEntry entry) {
  switch (entry) {
    case SetupEntry::ClearBoard:
      for (int& v : g.board)
        if (v != kOffBoard && v != 0) {
          v = 0;
          MarkChanged(g);
        }
      break;
    case SetupEntry::Empty: PutOnPopupSquare(g, 0); break;
    case SetupEntry::BlackChecker: PutOnPopupSquare(g, -1); break;
    case SetupEntry::BlackKing: PutOnPopupSquare(g, -2); break;
    case SetupEntry::WhiteChecker: PutOnPopupSquare(g, 1); break;
    case SetupEntry::WhiteKing: PutOnPopupSquare(g, 2); break;
    case SetupEntry::BlackMoves: SetSide(g, -1); break;
    case SetupEntry::WhiteMoves: SetSide(g, 1); break;
    case SetupEntry::Priority: {
      const int cell = g.Flow.PopupSquare;
      g.Eval.PrioritySquare = cell;
      g.Eval.PriorityPiece = OnBoard(cell) ? g.board[cell] : 0;
      break;
    }
  }
}

bool FinishPositionEdit(GameState& g) {
  // Only a change made through the popup starts a new game: dismissing it,
  // or choosing "Priority", leaves the game in hand as it was, also when an
  // earlier edit or a loaded game had set the position up.
  const bool changed = g.Flow.PopupChanged != 0;
  g.Flow.PopupChanged = 0;
  if (!changed) return false;
  ClearRootMoveScores(g);
  // The edited position's side to move becomes the first mover of this game
  // only: a new game starts with the first mover of the rules as they were.
  if (g.Flow.BlackStartsBeforeSetup < 0) g.Flow.BlackStartsBeforeSetup = g.Rules.BlackStarts;
  // InitGame forgets the priority mark of a new game; an edited position
  // keeps the one just chosen.
  const int priority = g.Eval.PrioritySquare, piece = g.Eval.PriorityPiece;
  SetupPositionState(g);
  g.Eval.PrioritySquare = priority;
  g.Eval.PriorityPiece = piece;
  g.P.TouchedSquare = 0;
  return true;
}

}  // namespace m8
