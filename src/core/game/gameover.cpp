#include "core/game/gameover.h"

#include "core/clock.h"
#include "core/engine/evaluate.h"
#include "core/engine/searchprogress.h"
#include "core/files/rating.h"
#include "core/game/announce.h"
#include "core/game/gameresult.h"
#include "core/rules/movegen.h"

namespace m8 {

namespace {

// The number of moves the last generation listed for the root ply.
int RootMoveCount(const GameState& g) { return g.P.PlyStart[1] - g.P.PlyStart[0]; }

bool DrawReasonEndsGame(const GameState& g, int firstCount) {
  const int reason = g.Draw.DrawReason;
  if (g.Opt.ChessDrawRules == 1 && (reason == 1 || reason == 2)) return true;
  if (g.Opt.KingVersusKing == 1 && reason == 3 && firstCount == 0) return true;
  if (g.Rules.ThreeKings == 1 && reason == 4) return true;
  return g.Rules.TwoKings == 1 && reason == 5;
}

}  // namespace

// The end conditions of the position on the board, tested in this order:
// no legal move, a variant rule's win, a draw reason the options make final.
bool PositionEndsGame(GameState& g) {
  ResetPly(g);
  const int evaluated = g.Rules.AntiMode == 1 ? g.P.SideToMove : -g.P.SideToMove;
  const int score = Evaluate(g, -kInfinity, kInfinity, evaluated);
  GenerateMoves(g, 0);
  const int firstCount = RootMoveCount(g);
  GenerateMoves(g, 1);
  const int count = RootMoveCount(g);
  return count == 0 || score == kInfinity || DrawReasonEndsGame(g, firstCount);
}

int UserPlaysColour(const GameState& g, const std::string& colour) {
  std::string word;
  if (colour == "black") word = "Black";
  else if (colour == "white") word = "White";
  else return 0;
  const bool blackFirst = g.Rules.BlackStarts == 1;
  const std::string upper = blackFirst ? "Black" : "White";
  const std::string lower = blackFirst ? "White" : "Black";
  const std::string& user = g.Opt.UserName;
  if (g.Flow.PlayerName1 == user && upper == word) return 1;
  if (g.Flow.PlayerName2 == user && lower == word) return 1;
  return 0;
}

void CheckGameOver(GameState& g, int quiet, GameOverPause pause) {
  if (g.Flow.GameOver == 1) return;
  if (!PositionEndsGame(g)) return;

  Host& h = *g.host;
  if (pause == GameOverPause::Wait) Pause(h, 0.5);
  g.Flow.GameOver = 1;
  for (Command c : {Command::Compute, Command::Analyze, Command::OfferDraw, Command::Resign, Command::Hint,
                    Command::ComputerComputer})
    h.setCommandEnabled(c, false);
  h.setCommandEnabled(Command::LegalMoves, false);
  h.refresh(View::Board);

  if (g.Eval.NoLegalDrawFlag == 1) {
    g.Eval.NoLegalDrawFlag = 0;
    SetGameResult(g, 2);
    ShowStatus(g, "It's a draw!");
    UpdateRating(g, 0.5);
    h.message(Icon::Exclamation, GameEndTitle(g), "It's a draw!" + g.Rating.RatingMessage);
    return;
  }
  if (g.Draw.DrawReason != 0) {
    SetGameResult(g, 2);
    UpdateRating(g, 0.5);
    AnnounceDraw(g, quiet);
    return;
  }
  SetGameResult(g, 0);
  const bool whiteWon = g.Rules.AntiMode == 1 ? g.P.SideToMove == 1 : g.P.SideToMove != 1;
  // A win by a variant rule while both sides still have pieces and moves:
  // the result names the winner all the same, so a saved game carries it.
  if (g.Flow.GameResult.empty()) SetWinResult(g, whiteWon ? 1 : -1);
  const std::string text = whiteWon ? "White wins!" : "Black wins!";
  const int userWon = UserPlaysColour(g, whiteWon ? "white" : "black");
  UpdateRating(g, userWon == 1 ? 1.0 : 0.0);
  ShowStatus(g, text);
  h.message(Icon::Exclamation, GameEndTitle(g), text + g.Rating.RatingMessage);
}

void DisableEndOfGameCommands(GameState& g) {
  Host& h = *g.host;
  h.setCommandEnabled(Command::Compute, false);
  h.setCommandEnabled(Command::ComputerComputer, false);
  h.setCommandEnabled(Command::Analyze, false);
  h.setCommandEnabled(Command::LegalMoves, false);
  h.setCommandEnabled(Command::OfferDraw, false);
  h.setCommandEnabled(Command::Hint, false);
  h.setCommandEnabled(Command::Resign, false);
}

void HandleDrawOffer(GameState& g) {
  Host& h = *g.host;
  if (g.Flow.GameOver == 1) return;  // a finished game has its result
  if (g.Flow.GameStarted != 1 || g.Flow.BestScore > 0) {
    h.message(Icon::Exclamation, "Draw Offer", "Offer rejected... Play on!");
    return;
  }
  UpdateRating(g, 0.5);
  h.message(Icon::Exclamation, "Congratulations", "OK... It's a draw!" + g.Rating.RatingMessage);
  SetGameResult(g, 2);
  g.Flow.GameOver = 1;
  ShowStatus(g, "It's a draw!");
  DisableEndOfGameCommands(g);
}

namespace {

// The colour of the side that resigns: the user's, told by the side labels;
// the side to move when they name the user on both sides or on neither.
int ResigningSide(const GameState& g) {
  const bool white = UserPlaysColour(g, "white") == 1, black = UserPlaysColour(g, "black") == 1;
  if (white != black) return white ? 1 : -1;
  return g.P.SideToMove;
}

}  // namespace

void ResignGame(GameState& g) {
  // A finished game is neither resigned nor rated again.
  if (g.Flow.GameOver == 1) return;
  UpdateRating(g, 0.0);
  g.host->message(Icon::Exclamation, "Congratulations", "OK... Computer wins!" + g.Rating.RatingMessage);
  g.Flow.GameOver = 1;
  SetWinResult(g, -ResigningSide(g));
  ShowStatus(g, "Computer wins!");
  DisableEndOfGameCommands(g);
}

}  // namespace m8
