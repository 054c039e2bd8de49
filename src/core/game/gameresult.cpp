#include "core/game/gameresult.h"

#include <algorithm>

#include "core/clock.h"
#include "core/engine/searchprogress.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"

namespace m8 {

void SetGameResult(GameState& g, int mode) {
  std::string& result = g.Flow.GameResult;
  result.clear();
  if (mode == 2) {
    result = "1/2-1/2";
    return;
  }
  int white = 0, black = 0;
  for (int row = 9; row >= 2; --row)
    for (int col = 1; col <= 8; ++col) {
      const int v = g.board[10 * row + col];
      if (v == kOffBoard) continue;
      if (v > 0) ++white;
      if (v < 0) ++black;
    }
  const bool blackFirst = g.Rules.BlackStarts == 1;
  if (white == 0) result = blackFirst ? "1-0" : "0-1";
  if (black == 0) result = blackFirst ? "0-1" : "1-0";
  if (result.empty()) {
    GenerateLegalMoves(g);
    const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
    if (g.P.PlyStart[ply + 1] == g.P.PlyStart[ply]) {
      const bool firstMoverLost = (g.P.SideToMove == -1) == blackFirst;
      result = firstMoverLost ? "0-1" : "1-0";
    }
  }
  if (!result.empty() && g.Rules.AntiMode == 1) result = result == "1-0" ? "0-1" : "1-0";
}

void SetWinResult(GameState& g, int winnerSide) {
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  g.Flow.GameResult = winnerSide == firstMover ? "1-0" : "0-1";
}

void EndGameDecidedBeforeSearch(GameState& g, const DriverRun& run) {
  if (run.winner == 0) {
    if (run.drawReason != kNoDraw) g.Draw.DrawReason = run.drawReason;
    SetGameResult(g, 2);
  } else {
    SetWinResult(g, run.winner);  // the rule decides, whatever pieces and moves are left
  }
  g.Flow.GameOver = 1;
  if (run.winner != 0) Pause(*g.host, 0.5);
}

void ApplyDriverRun(GameState& g, const DriverRun& run) {
  if (run.searched) {
    ShowStatus(g, "");
    if (run.bestScore) g.Flow.BestScore = *run.bestScore;
  } else if (run.decided) {
    EndGameDecidedBeforeSearch(g, run);
  }
}

namespace {

// The player name of a colour: PlayerName1 belongs to the side that moves
// first.
const std::string& PlayerNameOf(const GameState& g, int side) {
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  return side == firstMover ? g.Flow.PlayerName1 : g.Flow.PlayerName2;
}

bool NamedByColour(const GameState& g, int computerSide) {
  if (g.Opt.PlayMode == 1 || g.Opt.PlayMode == 2) return true;
  return computerSide == 0 && PlayerNameOf(g, 1) == PlayerNameOf(g, -1);
}

}  // namespace

bool ComputerIsWinner(const GameState& g, int winnerSide, int computerSide) {
  if (computerSide != 0) return winnerSide == computerSide;
  return PlayerNameOf(g, winnerSide) != g.Opt.UserName;
}

std::string WinnerText(const GameState& g, int winnerSide, int computerSide) {
  if (NamedByColour(g, computerSide)) return winnerSide == 1 ? "White wins!" : "Black wins!";
  return ComputerIsWinner(g, winnerSide, computerSide) ? std::string("Computer wins!")
                                                       : g.Opt.UserName + " wins!";
}

bool EqualKingsOnly(const GameState& g) {
  int white = 0, black = 0;
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col) {
      const int v = g.board[10 * row + col];
      if (v == 1 || v == -1) return false;
      if (v == 2) white += 2;
      if (v == -2) black += 2;
    }
  return white == black;
}

}  // namespace m8
