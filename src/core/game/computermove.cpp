#include "core/game/computermove.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/clock.h"
#include "core/engine/book.h"
#include "core/engine/evaluate.h"
#include "core/engine/rootdriver.h"
#include "core/engine/searchprogress.h"
#include "core/files/gamelog.h"
#include "core/files/rating.h"
#include "core/game/announce.h"
#include "core/game/gameresult.h"
#include "core/game/legalmovelist.h"
#include "core/game/thinking.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

std::string LeftPadded(const std::string& s, size_t width) {
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

void EndDrawn(GameState& g) {
  SetGameResult(g, 2);
  g.Flow.GameOver = 1;
  UpdateRating(g, 0.5);
  AnnounceGameEnd(g, "It's a draw!");
}

class MovePlayer {
 public:
  MovePlayer(GameState& g, const DriverRun& run) : g_(g), run_(run) {}
  void Play();

 private:
  void Announce(int afterScore);
  void Record();
  void OfferDraw();
  void DrawRules();

  GameState& g_;
  const DriverRun& run_;
  bool computerHasWon_ = false;
  bool drawAgreed_ = false;
};

void MovePlayer::Play() {
  GameState& g = g_;
  const MoveRecord m = g.P.MoveList[0];
  MoveString(g, m);
  if (!MakeMove(g, m)) return;  // cannot happen below the ply limits checked before the search
  RecordGameMove(g, m);
  g.Game.MaterialBalanceHistory[g.P.GamePly] = g.P.MaterialBalance[g.P.Ply];
  g.Game.BoardMaterialHistory[g.P.GamePly] = g.P.BoardMaterial[g.P.Ply];

  const int afterScore = Evaluate(g, -kInfinity, kInfinity, -g.P.SideToMove);
  Announce(afterScore);
  Record();

  if (computerHasWon_) {
    Pause(*g.host, 0.5);
    SetProgressValue(g, g.Driver.ProgressMax);
    g.host->message(Icon::Exclamation, GameEndTitle(g), "Computer wins!" + g.Rating.RatingMessage);
  }

  // How long the score has stayed where it was 78 plies ago.
  const int ply = g.P.GamePly;
  const auto& history = g.Game.ScoreHistory;
  if (ply > 78 && history[ply - 78] != 0) {
    if (std::abs(history[ply - 78] - history[ply]) < 100)
      ++g.Flow.StableScoreCount;
    else
      g.Flow.StableScoreCount = 0;
  }

  OfferDraw();
  if (!drawAgreed_) DrawRules();
}

void MovePlayer::Announce(int afterScore) {
  GameState& g = g_;
  const int best = g.Flow.BestScore;
  if (g.Eval.NoLegalDrawFlag == 1) {
    g.Eval.NoLegalDrawFlag = 0;
    EndDrawn(g);
  } else if (best <= -31980 || (best >= 31980 && afterScore < 31981)) {
    ShowStatus(g, ForcedResultText(g, best));
    g.Flow.MateAnnounced = 1;
  } else if (best >= 31980) {
    // The evaluation sees the game won by the side that just moved: by a
    // variant rule the opponent may still have pieces and moves.
    SetWinResult(g, -g.P.SideToMove);
    g.Flow.GameOver = 1;
    computerHasWon_ = true;
    UpdateRating(g, 0.0);
    ShowStatus(g, "Computer wins!");
  }
}

void MovePlayer::Record() {
  GameState& g = g_;
  const int ply = g.P.GamePly;
  g.Game.GameLength = ply;
  g.Game.ScoreHistory[ply] = g.Flow.BestScore;
  g.Game.MoveChoiceHistory[ply] = run_.rootMoves;
  if (g.Opt.UseSound == 1) g.host->playSound(Sound::Click);

  const int row = (ply + 1) / 2;
  const int side = ply % 2 == 1 ? 0 : 1;
  if (ply == 1) PrintLogHeader(g);
  g.Driver.GameMoveTexts[row][side] = g.Texts.MoveText;
  std::string line = side == 0 ? LeftPadded(SignedText(row), 4) + ". " + g.Texts.MoveText
                               : std::string(6, ' ') + g.Texts.MoveText;
  g.Game.GameRecord[row][2 + side] = "1";
  g.Game.GameRecord[row][4] = SignedText(run_.bestDepth);

  const bool searched = g.Book.BookFrom == 0;
  if (searched) BookMove(g, 1);
  if (!searched || g.Book.InBook == 1) line += "b";
  BookMove(g, 0);

  g.Driver.MoveListLines[ply - 1] = line;
  g.Driver.MoveListCount = ply;
  g.Driver.MoveListSelected = ply - 1;
  g.Log.LogLine = line;
  LogComputerMove(g, g.Flow.BestScore, run_.bestDepth, run_.iterations);
  g.host->refresh(View::MoveList);
  CheckDrawRules(g);
  g.host->refresh(View::Board);
}

void MovePlayer::OfferDraw() {
  GameState& g = g_;
  const auto& f = g.Flow;
  const bool stable = f.StableScoreCount >= 2;
  const bool offer = f.GameOver == 0 && g.Opt.AskForDraw == 1 && g.P.GamePly - f.LastDrawOfferPly >= 41 &&
                     (EqualKingsOnly(g) || stable) && g.Opt.PlayMode != 2 &&
                     (Rnd(g) < 0.1 || f.StableScoreCount > 1) && f.MateAnnounced == 0 && f.BestScore < 30000 &&
                     g.P.MaterialBalance[g.P.Ply] == 0;
  if (!offer) return;
  g.Flow.LastDrawOfferPly = g.P.GamePly;
  Pause(*g.host, 0.5);
  if (!g.host->askYesNo("Question", "How about a draw?")) return;
  EndDrawn(g);
  drawAgreed_ = true;
}

void MovePlayer::DrawRules() {
  GameState& g = g_;
  if (g.Flow.GameOver == 1) return;
  GenerateLegalMoves(g);
  const bool opponentStuck = g.P.PlyStart[g.P.Ply + 1] == g.P.PlyStart[g.P.Ply];
  const int reason = g.Draw.DrawReason;
  bool drawn = (opponentStuck && g.Opt.KingVersusKing == 1 && reason == kDrawKingVersusKing) ||
               (g.Opt.ChessDrawRules == 1 && (reason == kDrawRepetition || reason == kDrawMoveLimit)) ||
               (g.Rules.ThreeKings == 1 && reason == kDrawThreeKings) ||
               (g.Rules.TwoKings == 1 && reason == kDrawTwoKings);
  if (!drawn && g.P.GamePly >= kGamePlyLimit) {
    // No further move fits into the game tables.
    g.Draw.DrawReason = kDrawMoveLimit;
    drawn = true;
  }
  if (!drawn) return;
  SetGameResult(g, 2);
  Pause(*g.host, 0.5);
  g.Flow.GameOver = 1;
  UpdateRating(g, 0.5);
  AnnounceDraw(g, 0);
}

// The computer's move begins: the log line is new, and the game stored
// beyond the position is dropped.
void BeginComputerMove(GameState& g) {
  g.Log.LogLine.clear();
  BeginThinking(g, g.Opt.PlayMode == 2);
  for (int i = g.Game.GameLength - 1; i >= g.P.GamePly && i >= 0; --i) {
    if (i + 1 < kGameTables) {
      g.Game.PlyComments[i + 1].clear();
      g.Game.ScoreHistory[i + 1] = 0;
    }
  }
  g.Driver.MoveListCount = std::clamp(std::min(g.Driver.MoveListCount, g.P.GamePly), 0, kGameTables);
  g.host->refresh(View::MoveList);
}

// A game the search found decided before it began: rated, then announced.
// computerSide is the side that was to move.
void RateAndAnnounceDecided(GameState& g, const DriverRun& run, int computerSide) {
  const double userScore =
      run.winner == 0 ? 0.5 : ComputerIsWinner(g, run.winner, computerSide) ? 0.0 : 1.0;
  UpdateRating(g, userScore);
  AnnounceGameEnd(g, DecidedGameText(g, run, computerSide));
}

// The steps every computer move ends with, also after a decided position.
void CloseComputerMove(GameState& g) {
  Host& h = *g.host;
  ResetPly(g);
  g.P.RootGeneration = 1;
  GenerateMoves(g, 0);
  g.P.RootGeneration = 0;
  if (g.P.PlyStart[1] == g.P.PlyStart[0]) GenerateMoves(g, 1);
  if (g.P.PlyStart[1] == g.P.PlyStart[0] && g.Flow.GameOver == 0 && g.Flow.Closing == 0) {
    g.Flow.GameOver = 1;
    Pause(h, 0.5);
    SetGameResult(g, 0);
    // The side to move has no move: it has lost (won, under AntiMode).
    if (g.Flow.GameResult.empty()) SetWinResult(g, g.Rules.AntiMode == 1 ? g.P.SideToMove : -g.P.SideToMove);
    if (g.Rules.AntiMode == 1 && g.Opt.PlayMode != 2) {
      UpdateRating(g, 1.0);
      AnnounceGameEnd(g, g.Opt.UserName + " wins!");
    } else {
      UpdateRating(g, 0.0);
      AnnounceGameEnd(g, "Computer wins!");
    }
  }
  EnableCommandsAfterThinking(g, AfterThinking::ComputerMove);
  g.P.RootGeneration = 1;
  if (!(g.Opt.PlayMode == 2 && g.Flow.GameOver != 1)) ListLegalMoves(g);
  g.P.RootGeneration = 0;
  if (g.Opt.PlayMode == 2 && g.Flow.GameOver == 1) ListRootMoveScores(g);
  g.Book.BookFrom = 0;
  g.Eval.PrioritySquare = 0;
}

}  // namespace

void ComputerMove(GameState& g) {
  if (g.Flow.GameOver == 1) return;
  BeginComputerMove(g);
  const int side = g.P.SideToMove;
  const DriverRun run = RunDriverSearch(g, DriverMode::ComputerMove);
  ApplyDriverRun(g, run);
  if (g.Flow.Closing == 0) {
    if (run.searched)
      MovePlayer(g, run).Play();
    else if (run.decided)
      RateAndAnnounceDecided(g, run, side);
  }
  CloseComputerMove(g);
}

void ComputerVsComputer(GameState& g) {
  Host& h = *g.host;
  g.Rating.RatedGame = 0;
  g.Opt.PlayMode = 2;
  for (Command c : {Command::BoardMenu, Command::OfferDraw, Command::Hint, Command::Resign})
    h.setCommandEnabled(c, false);
  h.setCommandChecked(Command::ComputerPlayer, false);
  h.setCommandChecked(Command::PlayerPlayer, false);
  h.setCommandChecked(Command::ComputerComputer, true);
  ShowStatus(g, "");
  g.Flow.PlayerName1 = "Computer";
  g.Flow.PlayerName2 = "Computer";
  h.refresh(View::SideToMove);
  g.Driver.LegalMoveLines.clear();
  h.refresh(View::LegalMoves);
  ClearRootMoveScores(g);
  h.setCommandEnabled(Command::LegalMoves, false);
  h.setCommandEnabled(Command::RootScores, false);

  for (;;) {
    g.Flow.Busy = 1;
    ComputerMove(g);
    if (g.Flow.GameOver == 1 || g.P.SearchAborted != 0) break;
    // Half a second between the moves. The game goes on: only Cancel is
    // offered meanwhile, and Cancel or closing the window ends the game here
    // without a further move.
    DisableCommandsWhileThinking(g);
    if (PauseUnlessStopped(g, 0.5)) {
      EnableCommandsAfterThinking(g, AfterThinking::ComputerMove);
      break;
    }
  }

  h.setCommandEnabled(Command::LegalMoves, true);
  h.setCommandEnabled(Command::RootScores, true);
  g.Flow.Busy = 0;
  g.Opt.PlayMode = 0;
  if (g.Flow.GameOver != 1) {
    // Stopped by the user, who plays on from here: the legal moves are listed.
    g.P.RootGeneration = 1;
    ListLegalMoves(g);
    g.P.RootGeneration = 0;
  }
  h.setCommandChecked(Command::ComputerPlayer, true);
  h.setCommandChecked(Command::PlayerPlayer, false);
  h.setCommandChecked(Command::ComputerComputer, false);

  // One side the computer, the other the user: the user takes the side to move.
  const std::string& user = g.Opt.UserName;
  auto assign = [&](const std::string& first, const std::string& second) {
    g.Flow.PlayerName2 = first;
    g.Flow.PlayerName1 = second;
    if (g.Rules.BlackStarts == 0) std::swap(g.Flow.PlayerName1, g.Flow.PlayerName2);
  };
  assign("Computer", user);
  if (g.P.SideToMove == 1) assign(user, "Computer");
  h.refresh(View::SideToMove);
}

}  // namespace m8
