#include "core/engine/rootsearch.h"

#include <algorithm>
#include <cstdlib>

#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"

namespace m8 {

namespace {

// Deepest full node: S + 5 plies, S at most MaxPly + 1; keep it inside the
// per-ply tables.
constexpr int kMaxExtensionPly = kMaxPly - 6;

class RootSearcher {
 public:
  RootSearcher(GameState& g, const RootSearchParams& p, const RootSearchHooks& h)
      : g_(g), p_(p), h_(h), start_(g.host->monotonicSeconds()) {}

  RootSearchResult Run();

 private:
  double Elapsed() { return g_.host->monotonicSeconds() - start_; }
  // A stop came while a root move was searched: its score means nothing.
  bool CutShort() const { return g_.P.SearchAborted != 0; }
  // shortLineAbove: the short-line re-search runs when the score exceeds it.
  int SearchMove(int i, int depth, int shortLineAbove);
  void NewBest(int i, int score);
  // The time rule: the search stops once the limit has passed, or half as
  // long again while the best score has fallen by more than 50 since the
  // last completed iteration. Sets the limit the nodes watch.
  void SetStopTime();
  void StopForTime();

  GameState& g_;
  const RootSearchParams& p_;
  const RootSearchHooks& h_;
  double start_;
  int alpha_ = -kInfinity, beta_ = kInfinity;
  int rootGamePly_ = 0;
  bool deep_ = false;
  bool completedOne_ = false;  // an iteration has been completed
  bool failedLow_ = false;     // the first move of this iteration fell below the window
  int previousScore_ = 0;  // BestScore of the last completed iteration (time rule)
  int previousAlpha_ = 0;  // alpha that iteration left (the aspiration window's centre)
  int bestScore_ = 0;
  int depthNow_ = 0;
};

constexpr int kAlways = -kInfinity - 1;  // short-line re-search whatever the score
constexpr int kNever = kInfinity;

// Makes root move i, searches it with the current window and takes it back.
int RootSearcher::SearchMove(int i, int depth, int shortLineAbove) {
  GameState& g = g_;
  g.SearchTab.PVTable[0][0].From = 0;
  SearchMakeMove(g, i);
  FindLastIrreversiblePly(g, rootGamePly_ - 1);
  CountRepetitions(g, rootGamePly_ - 1);
  if (g.Eval.DrawnPosition == 0) g.Eval.DrawnPosition = g.Draw.MoveLimitReached;

  int a = -beta_, d = depth - 1;
  int score = -RunNode(g, p_.member, a, -alpha_, d);
  if (g.Eval.DrawnPosition >= 1) score = 0;

  if (score > shortLineAbove && p_.shortLineResearch && depth >= 3 && PVLength(g) < 3) {
    if (h_.moveStarting) h_.moveStarting(depth, i, true);
    const bool fullWindow =
        p_.member == NodeMember::AlphaBeta1 || p_.member == NodeMember::AlphaBetaAnti;
    int ra = fullWindow ? -kInfinity : -beta_;
    const int rb = fullWindow ? kInfinity : -alpha_;
    int rd = depth;
    score = -RunNode(g, p_.member, ra, rb, rd);
    if (g.Eval.DrawnPosition >= 1) score = 0;
    if (g.P.MaterialBalance[g.P.Ply] != 0 && deep_) {
      g.Eval.LazyMargin += 10;
      if (g.Eval.OrthogonalManyMen == 1) g.Eval.EvalExtraTerm = 0;
    }
  }
  UnmakeMove(g, i);
  // The draw mark belongs to this root move only.
  g.Eval.DrawnPosition = 0;
  return score;
}

void RootSearcher::NewBest(int i, int score) {
  bestScore_ = score;
  UpdatePV(g_, i);
  if (h_.newBest) h_.newBest(depthNow_, i, score);
  if (i > 0) {
    auto& list = g_.P.MoveList;
    std::rotate(list.begin(), list.begin() + i, list.begin() + i + 1);
  }
}

void RootSearcher::SetStopTime() {
  if (p_.timeLimitSeconds <= 0) return;
  const bool falling = completedOne_ && (failedLow_ || bestScore_ < previousScore_ - 50);
  g_.Search.StopAt = start_ + p_.timeLimitSeconds * (falling ? 1.5 : 1.0);
}

void RootSearcher::StopForTime() {
  if (g_.P.SearchAborted != 0) return;  // already stopped, by the user or the clock
  g_.Search.TimeUp = 1;
  g_.P.SearchAborted = 1;
}

RootSearchResult RootSearcher::Run() {
  GameState& g = g_;
  RootSearchResult r;
  SearchScope scope(g);
  g.P.SearchAborted = 0;
  g.Eval.DrawnPosition = 0;
  g.Search.Nodes = 0;
  rootGamePly_ = g.P.GamePly;
  g.Eval.RootSide = g.P.SideToMove;

  if (p_.generateMoves) {
    GenerateMoves(g, 0);
    if (g.P.PlyStart[1] == g.P.PlyStart[0]) GenerateMoves(g, 1);
  }
  const int moves = g.P.PlyStart[1] - g.P.PlyStart[0];
  if (moves <= 0) return r;
  r.hasMove = true;
  const int limit = moves == 1 ? 1 : std::max(1, p_.depthLimit);

  for (int d = 1; d <= limit; ++d) {
    depthNow_ = d;
    deep_ = p_.timeLimitSeconds > 0 ? d > 2 : true;
    if (d == 1 || p_.aspirationWindow <= 0) {
      alpha_ = -kInfinity;
      beta_ = kInfinity;
    } else {
      alpha_ = previousAlpha_ - p_.aspirationWindow;
      beta_ = previousAlpha_ + p_.aspirationWindow;
    }
    g.Search.MaxPly = std::min(d + g.Opt.ExtendedPlies, kMaxExtensionPly);
    const int depth = std::min(d, kMaxExtensionPly);
    failedLow_ = false;
    SetStopTime();

    bool complete = true;
    for (int i = 0; i < moves && complete; ++i) {
      if (h_.moveStarting) h_.moveStarting(d, i, false);
      int score = SearchMove(i, depth, i == 0 ? kAlways : kNever);
      bool best = false;
      if (CutShort()) break;
      if (i == 0) {
        if (score >= alpha_ && score >= beta_) {
          alpha_ = score;
          beta_ = kInfinity;
          score = SearchMove(i, depth, kAlways);
          if (CutShort()) break;
        } else if (score < alpha_) {
          failedLow_ = true;
          SetStopTime();
          alpha_ = -kInfinity;
          beta_ = score;
          score = SearchMove(i, depth, kAlways);
          if (CutShort()) break;
        }
        alpha_ = score;
        beta_ = score + 1;
        NewBest(i, score);
        best = true;
      } else if (score > alpha_) {
        const int oldAlpha = alpha_;
        alpha_ = score;
        beta_ = kInfinity;
        // The short-line re-search follows only a move that stays better.
        score = SearchMove(i, depth, oldAlpha);
        if (CutShort()) break;
        if (score > oldAlpha) {
          alpha_ = score;
          beta_ = score + 1;
          NewBest(i, score);
          best = true;
        } else {
          // Not better after all: the best move's window holds for the rest,
          // so that a later move better than the best one is still found.
          alpha_ = oldAlpha;
          beta_ = oldAlpha + 1;
        }
      }
      if (h_.moveDone) h_.moveDone(d, best ? 0 : i, best ? alpha_ : score, best);
      if (i + 1 < moves) {
        SetStopTime();
        CheckSearchClock(g);
        complete = !CutShort();
      }
    }
    if (!complete || CutShort()) {
      r.interrupted = true;
      break;
    }
    previousScore_ = bestScore_;
    previousAlpha_ = alpha_;
    completedOne_ = true;
    r.depth = d;
    if (h_.iterationDone) h_.iterationDone(RootIteration{d, bestScore_, g.Search.Nodes, Elapsed()});
    // No new iteration once the limit has passed.
    if (p_.timeLimitSeconds > 0 && Elapsed() >= p_.timeLimitSeconds) {
      StopForTime();
      break;
    }
  }

  r.aborted = g.P.SearchAborted != 0 || g.P.StopRequest != 0;
  r.timeUp = g.Search.TimeUp != 0;
  r.score = bestScore_;
  r.nodes = g.Search.Nodes;
  r.seconds = Elapsed();
  g.Eval.DrawnPosition = 0;
  return r;
}

}  // namespace

RootSearchResult SearchRoot(GameState& g, const RootSearchParams& params,
                            const RootSearchHooks& hooks) {
  return RootSearcher(g, params, hooks).Run();
}

}  // namespace m8
