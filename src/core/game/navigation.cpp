#include "core/game/navigation.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>

#include "core/engine/book.h"
#include "core/engine/searchprogress.h"
#include "core/game/gameover.h"
#include "core/game/legalmovelist.h"
#include "core/game/playmode.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

const std::string kNoText;

void ShowComment(GameState& g, int ply) {
  g.Flow.CommentText = g.Game.PlyComments[std::clamp(ply, 0, kMaxGamePly)];
  g.host->refresh(View::Comment);
}

void ShowNoCalculation(GameState& g) {
  g.Search.EngineOutputText = "no calculation";
  g.host->refresh(View::EngineOutput);
}

void SelectMoveListLine(GameState& g, int line) {
  g.Driver.MoveListSelected = line >= 0 && line < g.Driver.MoveListCount ? line : -1;
  g.host->refresh(View::MoveList);
}

void Enable(GameState& g, std::initializer_list<Command> commands, bool on) {
  for (Command c : commands) g.host->setCommandEnabled(c, on);
}

// Whether a ply is stored after the shown one (the record after the last
// stored ply has From 0).
bool FurtherPlyStored(const GameState& g) {
  const int next = g.P.GamePly + 1;
  return next < kGameTables && g.Game.GameMoves[next].From != 0;
}

// Plays the next stored ply from its text; a text that fits no legal move
// leaves the position as it is.
void ReplayNextPly(GameState& g) {
  const int ply = g.P.GamePly;
  if (ply >= kMaxGamePly) return;
  const std::string key = StoredPlyKey(g, ply + 1);
  g.P.MaterialBalance[0] = g.Game.MaterialBalanceHistory[ply];
  g.P.BoardMaterial[0] = g.Game.BoardMaterialHistory[ply];
  // The compact text has no separator: the stored move says whether it took.
  const MoveKind kind = g.Game.GameMoves[ply + 1].IsCapture() ? MoveKind::Capture : MoveKind::Quiet;
  PlayMoveString(g, key, false, kind);
  ResetPly(g);
}

// The status line of the shown ply: the loaded game's result at its end.
void ShowPlyStatus(GameState& g) {
  ShowStatus(g, "");
  if (!g.Flow.LoadedResult.empty() && g.P.GamePly == g.Game.GameLength) ShowStatus(g, g.Flow.LoadedResult);
  SetProgressValue(g, 0);
}

// The draw reasons of the shown position, then the game-over test.
void TestShownPosition(GameState& g) {
  const int ply = g.P.GamePly;
  FindLastIrreversiblePly(g, ply);
  if (g.Draw.MoveLimitReached != 0) g.Draw.DrawReason = kDrawMoveLimit;
  // The one-king finding belongs to this position only.
  g.Draw.OneKingEach = 0;
  CountRepetitions(g, ply);
  const bool repeated = g.Eval.DrawnPosition == 3;
  if (repeated) g.Draw.DrawReason = kDrawRepetition;
  // As after a move played.
  if (g.Draw.OneKingEach != 0 && OneKingEachNamesDraw(g, repeated || g.Draw.MoveLimitReached != 0))
    g.Draw.DrawReason = kDrawKingVersusKing;
  g.Eval.DrawnPosition = 0;
  CheckGameOver(g, 0);
}

void DisableForwardAtEnd(GameState& g) {
  if (!FurtherPlyStored(g)) Enable(g, {Command::Forward, Command::Last}, false);
}

void ListShownPositionMoves(GameState& g) {
  ResetPly(g);
  ListLegalMoves(g);
}

}  // namespace

const std::string& StoredPlyText(const GameState& g, int n) {
  if (n < 1 || (n + 1) / 2 >= kGameRecordRows) return kNoText;
  return g.Game.GameRecord[(n + 1) / 2][n % 2 == 1 ? 0 : 1];
}

std::string StoredPlyKey(const GameState& g, int n) {
  const size_t length = n >= 1 && n < kGameTables ? CompactTextLength(g.Game.GameMoves[n]) : 4;
  std::string key = StoredPlyText(g, n).substr(0, length);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

void GotoMove(GameState& g, int plies, int keepRootScores, int quiet) {
  Host& h = *g.host;
  g.Rating.RatedGame = 0;
  if (keepRootScores == 0)
    for (int i = 0; i < kRootScoreSlots; ++i) {
      g.Driver.RootScores[0][i] = kNoRootScore;
      g.Driver.RootScores[2][i] = kNoRootScore;
    }
  h.setCommandEnabled(Command::RootScores, false);

  if (plies >= 1) {
    g.Flow.GameOver = 0;
    const int count = std::min(plies, g.P.GamePly);
    for (int k = 0; k < count; ++k) {
      const int ply = g.P.GamePly;
      g.P.MoveList[0] = g.Game.GameMoves[ply];
      g.P.MaterialBalance[0] = g.Game.MaterialBalanceHistory[ply - 1];
      g.P.BoardMaterial[0] = g.Game.BoardMaterialHistory[ply - 1];
      g.P.Ply = 1;  // the take-back lowers the search ply with the game ply
      UnmakeMove(g, 0);
      if (quiet != 0) h.refresh(View::Board);
      g.P.Ply = 0;
    }
    // The player takes the side to move of the position shown, also when the
    // names kept their sides at the end of the game.
    PutPlayerBesideSideToMove(g);
    if (quiet == 0) SelectMoveListLine(g, g.P.GamePly - 1);
    if (quiet == 0) ShowNoCalculation(g);
    BookMove(g, 0);
    h.refresh(View::SideToMove);
    h.refresh(View::Board);
    g.Search.HintFrom = 0;
    g.Search.HintTo = 0;
    g.Draw.DrawReason = 0;
    if (quiet == 0) ShowComment(g, g.P.GamePly);
    if (g.P.GamePly == 0) Enable(g, {Command::First, Command::Back}, false);
    if (quiet == 0) {
      ShowStatus(g, "");
      SetProgressValue(g, 0);
      Enable(g, {Command::Compute, Command::Analyze, Command::Forward, Command::Last}, true);
      if (g.Opt.PlayMode != 1) Enable(g, {Command::OfferDraw, Command::Resign}, true);
      Enable(g, {Command::Hint, Command::LegalMoves, Command::ComputerComputer}, true);
    }
  } else if (plies < 0) {
    for (int k = 0; k < -plies && FurtherPlyStored(g); ++k) {
      ShowComment(g, g.P.GamePly + 1);
      ReplayNextPly(g);
    }
    PutPlayerBesideSideToMove(g);
    ShowNoCalculation(g);
    BookMove(g, 0);
    h.refresh(View::SideToMove);
    h.refresh(View::Board);
    SelectMoveListLine(g, g.P.GamePly - 1);
    ShowPlyStatus(g);
    Enable(g, {Command::Back, Command::First}, true);
    TestShownPosition(g);
    DisableForwardAtEnd(g);
  }
  ListShownPositionMoves(g);
  g.Eval.PrioritySquare = 0;  // the set-up priority mark ends with the position it was set in
}

void StepForward(GameState& g) {
  Host& h = *g.host;
  if (!FurtherPlyStored(g)) return;
  const int n = g.P.GamePly + 1;
  ShowComment(g, n);
  ReplayNextPly(g);
  ClearRootMoveScores(g);
  ShowNoCalculation(g);
  BookMove(g, 0);
  PutPlayerBesideSideToMove(g);
  h.refresh(View::SideToMove);
  h.refresh(View::Board);
  SelectMoveListLine(g, n - 1);
  ShowPlyStatus(g);
  Enable(g, {Command::Back, Command::First}, true);
  TestShownPosition(g);
  ListShownPositionMoves(g);
  g.Eval.PrioritySquare = 0;
  DisableForwardAtEnd(g);
}

void FirstCommand(GameState& g) {
  if (g.Flow.Busy == 1) return;
  ClearRootMoveScores(g);
  if (g.P.GamePly != 0) GotoMove(g, g.P.GamePly, 0, 0);
}

void BackCommand(GameState& g) {
  ClearRootMoveScores(g);
  if (g.P.GamePly > 0) GotoMove(g, 1, 0, 0);
}

void ForwardCommand(GameState& g) {
  ClearRootMoveScores(g);
  StepForward(g);
}

void LastCommand(GameState& g) {
  if (g.Flow.Busy == 1) return;
  const int plies = g.P.GamePly - g.Driver.MoveListCount;
  ClearRootMoveScores(g);
  if (plies != 0) GotoMove(g, plies, 0, 0);
}

void GotoMoveListLine(GameState& g, int line) {
  if (g.Flow.Busy == 1) return;
  const int plies = g.P.GamePly - line - 1;
  ClearRootMoveScores(g);
  if (plies != 0) GotoMove(g, plies, 0, 0);
}

}  // namespace m8
