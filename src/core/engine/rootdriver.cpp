#include "core/engine/rootdriver.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/clock.h"
#include "core/engine/book.h"
#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/rootsearch.h"
#include "core/engine/searchnode.h"
#include "core/engine/searchprogress.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// The deepest iteration in the time mode, where the clock ends the search.
constexpr int kTimeModeDepthLimit = 20;

using ScoreTable = decltype(DriverState::RootScores);

// Moves the root-score column of slot i to slot 0, slots 0..i-1 moving up by
// one, as the root search does with the records. A record past the last slot
// has no column: the one it takes names its squares only.
void MoveColumnToFront(ScoreTable& t, int i, const MoveRecord& m) {
  const int last = std::min(i, kRootScoreSlots - 1);
  for (auto& row : t) std::rotate(row.begin(), row.begin() + last, row.begin() + last + 1);
  if (i != last) {
    t[0][0] = m.From;
    t[1][0] = m.To;
    t[kRootScoreMoveRow][0] = kNoRootScore;
  }
}

// The played move (`played`, its RootScoreMoves index) first, then the other
// root moves in descending order of score by the exchange rule: for every
// pair (i, j) the columns are exchanged when the score of j is below that of i.
void SortRootScores(ScoreTable& t, int n, int32_t played) {
  n = std::min(n, kRootScoreSlots);
  for (int i = 0; i < n && played != kNoRootScore; ++i)
    if (t[kRootScoreMoveRow][i] == played) {
      for (auto& row : t) std::rotate(row.begin(), row.begin() + i, row.begin() + i + 1);
      break;
    }
  for (int i = 1; i < n; ++i)
    for (int j = 1; j < n; ++j)
      if (t[2][j] < t[2][i])
        for (auto& row : t) std::swap(row[i], row[j]);
}

class DriverSearch {
 public:
  DriverSearch(PositionState& g, DriverMode mode) : g_(g), play_(mode == DriverMode::ComputerMove) {}
  DriverRun Run();

 private:
  void SetUp();
  void ShowThinking();
  bool EndsBeforeSearch();  // true: the game is decided, nothing to search
  void Decided(int winner, int drawReason);
  void LimitsAndBook();
  void Search();
  void AfterSearch(double seconds, int32_t played);
  // After an interrupted iteration the list shows the scores of the last
  // completed one, save the played move's (`played`, its RootScoreMoves
  // index): it shows the score the engine output gave for it.
  void KeepCompletedScores(int32_t played);

  PositionState& g_;
  const bool play_;
  DriverRun run_;
  double start_ = 0;
  std::string resultLine_, shortBest_, mainLine_;
  double lastIterationEnd_ = 0;
  bool stoppedBeforeSearch_ = false;  // Cancel came during the pause before the search
  // The deepest iteration of this search: the depth option, the time mode's
  // ceiling, or 1 for a single move or a book move. The option stays the user's.
  int depthLimit_ = 0;
  ScoreTable completedScores_{};      // RootScores at the end of the last completed iteration
  bool haveCompletedScores_ = false;
  int completedDepth_ = 0;            // ... and that iteration
};

void DriverSearch::SetUp() {
  PositionState& g = g_;
  if (play_) {
    g.Driver.AspirationWindow = 100;
    g.Eval.EvalExtraTerm = 1;
    g.Log.MainLineText.clear();
  }
  start_ = g.host->monotonicSeconds();
  for (int i = 0; i < kRootScoreSlots; ++i) {
    g.Driver.RootScores[0][i] = kNoRootScore;
    g.Driver.RootScores[2][i] = kNoRootScore;
    g.Driver.RootScores[kRootScoreBoundRow][i] = 0;
    g.Driver.RootScores[kRootScoreMoveRow][i] = kNoRootScore;
  }
  g.Driver.RootScoreMoves.clear();
  g.Driver.RootScoreFirstDepth = 0;
  g.Driver.RootScoreOtherDepth = 0;
  SetPhaseThresholds(g);
  g.Eval.NoiseAmplitude = NoiseForWeakness(g.Opt.Weakness);
  g.P.SearchAborted = 0;
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;
  g.Driver.GamePlyAtRoot = g.P.GamePly;
  if (g.Opt.ShowMoves == 1) g.host->refresh(View::MoveHighlights);
}

void DriverSearch::ShowThinking() {
  PositionState& g = g_;
  Host& h = *g.host;
  if (!play_ || g.Opt.PlayMode != 2) {
    if (play_) {
      g.Driver.LegalMoveLines.clear();
      h.refresh(View::LegalMoves);
    }
    ClearRootMoveScores(g);
  }
  if (play_) h.refresh(View::Strength);
  ShowStatus(g, play_ ? "Thinking..." : "Analyzing...");
  if (g.Opt.ShowCalculation == 1) {
    g.Search.EngineOutputText.clear();
    h.refresh(View::EngineOutput);
  }
}

void DriverSearch::Decided(int winner, int drawReason) {
  run_.decided = true;
  run_.winner = winner;
  run_.drawReason = drawReason;
}

bool DriverSearch::EndsBeforeSearch() {
  PositionState& g = g_;
  ResetPly(g);
  const int eval = Evaluate(g, -kInfinity, kInfinity, g.P.SideToMove);
  const int side = g.P.SideToMove;

  if (g.Eval.NoLegalDrawFlag == 1) {
    g.Eval.NoLegalDrawFlag = 0;
    Decided(0, kNoDraw);
    return true;
  }
  // The evaluator's rule win (32000) belongs to the side to move; InDanger
  // marks its rule loss.
  const bool ruleWin = eval == kInfinity;
  if (ruleWin || g.Eval.InDanger == 1) {
    Decided(ruleWin ? side : -side, kNoDraw);  // the rule decides, whatever pieces and moves are left
    return true;
  }
  GenerateMoves(g, 0);
  if (g.P.PlyStart[1] == g.P.PlyStart[0]) GenerateMoves(g, 1);
  if (g.P.PlyStart[1] == g.P.PlyStart[0]) {
    Decided(g.Rules.AntiMode == 1 ? side : -side, kNoDraw);
    return true;
  }
  if (g.P.GamePly >= kGamePlyLimit) {
    // The game tables are full: the game ends drawn by the move limit.
    Decided(0, kDrawMoveLimit);
    return true;
  }
  return false;
}

void DriverSearch::LimitsAndBook() {
  PositionState& g = g_;
  SetProgressValue(g, 0);
  // Cancel (or closing the window) during the pause: the computer answers at
  // once with the move of the first iteration.
  stoppedBeforeSearch_ = PauseUnlessStopped(g, 0.5);
  int moves = g.P.PlyStart[1] - g.P.PlyStart[0];
  if (g.Opt.DepthMode == 1) {
    depthLimit_ = g.Opt.SearchDepth;
    SetProgress(g, 0, depthLimit_ * moves);
  } else {
    depthLimit_ = kTimeModeDepthLimit;
    SetProgress(g, 0, g.Opt.SearchTime);
  }
  if (moves == 1) depthLimit_ = 1;
  g.Driver.RootScoreMoves.assign(g.P.MoveList.begin(), g.P.MoveList.begin() + std::clamp(moves, 0, kMoveListSize));
  int bookMove = -1;  // the record the book chose
  g.Book.BookFrom = 0;
  if (g.Opt.UseBook == 1) {
    BookMove(g, 1);
    if (g.Book.BookFrom > 0) {
      int found = -1;
      for (int i = 0; i < moves && found < 0; ++i)
        if (g.P.MoveList[i].From == g.Book.BookFrom && g.P.MoveList[i].To == g.Book.BookTo) found = i;
      if (found >= 0) {
        bookMove = found;
        g.P.MoveList[0] = g.P.MoveList[found];
        g.P.PlyStart[1] = 1;
        g.P.MoveListEnd = 1;
        depthLimit_ = 1;
        moves = 1;
      } else {
        g.Book.BookFrom = 0;
      }
    }
  }
  for (int i = 0; i < moves && i < kRootScoreSlots; ++i) {
    g.Driver.RootScores[0][i] = g.P.MoveList[i].From;
    g.Driver.RootScores[1][i] = g.P.MoveList[i].To;
    g.Driver.RootScores[kRootScoreMoveRow][i] = bookMove >= 0 ? bookMove : i;
  }
  run_.rootMoves = moves;
  if (play_) g.Eval.RootSide = g.P.SideToMove;
}

void DriverSearch::Search() {
  PositionState& g = g_;
  Host& h = *g.host;
  const bool show = g.Opt.ShowCalculation == 1;
  const bool timeMode = g.Opt.DepthMode != 1;
  const std::string thinking = play_ ? "Thinking... (" : "Analyzing... (";

  RootSearchParams params;
  params.member = ChooseFullNode(g);
  params.depthLimit = stoppedBeforeSearch_ ? 1 : depthLimit_;
  params.timeLimitSeconds = timeMode ? std::max(1e-9, static_cast<double>(g.Opt.SearchTime)) : 0.0;
  params.aspirationWindow = play_ ? g.Driver.AspirationWindow : 100;
  params.shortLineResearch = play_;
  params.generateMoves = false;

  RootSearchHooks hooks;
  hooks.moveStarting = [&](int d, int i, bool shortLine) {
    if (!shortLine && !show) return;
    MoveString(g, i);
    const std::string depth = shortLine ? std::to_string(d) + "/" + std::to_string(d + 1) : std::to_string(d);
    ShowStatus(g, thinking + depth + ")  " + Trim(g.Texts.DisplayMoveText));
  };
  hooks.newBest = [&](int d, int i, int score) {
    MoveString(g, i);
    run_.bestScore = score;
    if (show) {
      g.Search.EngineOutputText =
          "Depth:" + SignedText(d) + "   Best: " + g.Texts.DisplayMoveText + "   Score:" + SignedText(score);
      resultLine_ = g.Search.EngineOutputText;
      shortBest_ = g.Texts.DisplayMoveText;
    }
    run_.bestDepth = d;
    if (g.Book.BookFrom == 0) {
      ShowMainLine(g);
      mainLine_ = g.Log.MainLineText;
    } else {
      if (show) g.Search.EngineOutputText += "\r\nBook";
      mainLine_ = "Book";
    }
    h.refresh(View::EngineOutput);
    if (i > 0) MoveColumnToFront(g.Driver.RootScores, i, g.P.MoveList[i]);
  };
  int iterationBest = 0;  // the score of the best move so far in this iteration
  hooks.moveDone = [&](int, int slot, int score, bool best) {
    if (timeMode) {
      const double elapsed = std::floor(h.monotonicSeconds() - start_);
      SetProgressValue(g, static_cast<int>(std::clamp(elapsed, 0.0, static_cast<double>(g.Opt.SearchTime))));
    } else {
      SetProgressValue(g, g.Driver.ProgressValue + 1);
    }
    // A move that did not become the best was searched with the null window
    // of the best move so far: all it says is that the move is no better than
    // that move's score, which is its bound. (The score the null window
    // returned is no bound: the search below it cuts off on estimates.)
    if (best) iterationBest = score;
    if (slot < kRootScoreSlots) {
      g.Driver.RootScores[2][slot] = best ? score : iterationBest;
      g.Driver.RootScores[kRootScoreBoundRow][slot] = best ? 0 : 1;
    }
  };
  hooks.iterationDone = [&](const RootIteration& it) {
    completedScores_ = g.Driver.RootScores;
    haveCompletedScores_ = true;
    completedDepth_ = it.depth;
    if (!play_) return;
    SearchIterationLog entry;
    entry.Depth = it.depth;
    entry.BestMove = shortBest_;
    entry.Score = it.score;
    entry.MainLine = mainLine_;
    entry.Seconds = RoundHalfEven(it.seconds - lastIterationEnd_);
    lastIterationEnd_ = it.seconds;
    run_.iterations.push_back(std::move(entry));
  };

  const RootSearchResult r = SearchRoot(g, params, hooks);
  if (stoppedBeforeSearch_) g.P.SearchAborted = 1;  // the user's stop stands
  // The columns follow the records: slot 0 is record 0, the move found.
  const int32_t played = g.Driver.RootScores[kRootScoreMoveRow][0];
  g.Driver.RootScoreFirstDepth = run_.bestDepth;
  g.Driver.RootScoreOtherDepth = run_.bestDepth;
  if (r.interrupted) KeepCompletedScores(played);
  AfterSearch(r.seconds, played);
}

void DriverSearch::KeepCompletedScores(int32_t played) {
  auto& t = g_.Driver.RootScores;
  if (!haveCompletedScores_) return;  // the moves the first iteration scored keep their scores
  t = completedScores_;
  g_.Driver.RootScoreOtherDepth = completedDepth_;
  if (!run_.bestScore || played == kNoRootScore) return;
  // The interrupted iteration may have scored the played move anew (or found
  // it): the completed iteration's entry for it is stale, and may even be a
  // bound. Every other entry stays as that iteration proved it, also one
  // above the played move's deeper score.
  const int n = std::min(run_.rootMoves, kRootScoreSlots);
  for (int i = 0; i < n; ++i)
    if (t[kRootScoreMoveRow][i] == played) {
      t[2][i] = *run_.bestScore;
      t[kRootScoreBoundRow][i] = 0;
    }
}

void DriverSearch::AfterSearch(double seconds, int32_t played) {
  PositionState& g = g_;
  Host& h = *g.host;
  if (play_) {
    h.refresh(View::Strength);
    if (g.Opt.ShowCalculation == 1) {
      g.Search.EngineOutputText = resultLine_ + "   Time: " + TimeString(RoundHalfEven(seconds)) +
                                  "\r\nMain: " + mainLine_;
      h.refresh(View::EngineOutput);
    }
  } else {
    // The line's second move is the opponent's: no hint is left.
    g.Search.HintFrom = 0;
    g.Search.HintTo = 0;
  }
  SortRootScores(g.Driver.RootScores, run_.rootMoves, played);
  if (!play_ || g.Opt.PlayMode != 2) ListRootMoveScores(g);
}

DriverRun DriverSearch::Run() {
  SetUp();
  ShowThinking();
  if (EndsBeforeSearch()) return run_;
  LimitsAndBook();
  Search();
  run_.searched = true;
  return run_;
}

}  // namespace

int NoiseForWeakness(int weakness) {
  const int amplitude = (weakness - 1) * 70;
  if (amplitude == 0) return 5;
  return std::max(amplitude, 0);
}

DriverRun RunDriverSearch(PositionState& g, DriverMode mode) { return DriverSearch(g, mode).Run(); }

}  // namespace m8
