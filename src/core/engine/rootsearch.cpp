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
  bool Aborted() const { return g_.P.SearchAborted != 0 && std::abs(alpha_) < 30001; }
  // shortLineAbove: the short-line re-search runs when the score exceeds it.
  int SearchMove(int i, int depth, int shortLineAbove);
  void NewBest(int i, int score);
  void CheckTime();

  GameState& g_;
  const RootSearchParams& p_;
  const RootSearchHooks& h_;
  double start_;
  int alpha_ = -kInfinity, beta_ = kInfinity;
  int rootGamePly_ = 0;
  bool deep_ = false;
  int previousScore_ = 0;  // BestScore of the last completed iteration (time rule)
  int previousAlpha_ = 0;  // alpha that iteration left (the aspiration window's centre)
  int bestScore_ = 0;
  int depthNow_ = 0;
  bool researched_ = false;  // the last search of the move ran the short-line re-search
  int shallowScore_ = 0;     // its score before that re-search
};

constexpr int kAlways = -kInfinity - 1;  // short-line re-search whatever the score
constexpr int kNever = kInfinity;

// Makes root move i, searches it with the current window and takes it back.
int RootSearcher::SearchMove(int i, int depth, int shortLineAbove) {
  GameState& g = g_;
  researched_ = false;
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
    researched_ = true;
    shallowScore_ = score;
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

void RootSearcher::CheckTime() {
  if (p_.timeLimitSeconds <= 0) return;
  const double elapsed = Elapsed();
  if (elapsed < p_.timeLimitSeconds) return;
  // A falling score buys up to half the time again.
  if (bestScore_ < previousScore_ - 50 && elapsed < 1.5 * p_.timeLimitSeconds) return;
  g_.P.StopRequest = 2;
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

    for (int i = 0; i < moves; ++i) {
      if (h_.moveStarting) h_.moveStarting(d, i, false);
      int score = SearchMove(i, depth, i == 0 ? kAlways : kNever);
      bool best = false;
      if (Aborted()) break;
      if (i == 0) {
        if (score >= alpha_ && score >= beta_) {
          alpha_ = score;
          beta_ = kInfinity;
          score = SearchMove(i, depth, kAlways);
          if (Aborted()) break;
        } else if (score < alpha_) {
          alpha_ = -kInfinity;
          beta_ = score;
          score = SearchMove(i, depth, kAlways);
          if (Aborted()) break;
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
        if (Aborted()) break;
        if (score > oldAlpha) {
          alpha_ = score;
          beta_ = score + 1;
          NewBest(i, score);
          best = true;
        }
      }
      if (h_.moveDone)
        h_.moveDone(d, best ? 0 : i, researched_ ? shallowScore_ : best ? alpha_ : score, best);
      CheckTime();
      if (g.P.SearchAborted != 0) break;
    }
    if (p_.timeLimitSeconds > 0 && Elapsed() >= p_.timeLimitSeconds) {
      g.P.StopRequest = 2;
      g.P.SearchAborted = 1;
    }
    if (g.P.SearchAborted != 0) break;
    previousScore_ = bestScore_;
    previousAlpha_ = alpha_;
    r.depth = d;
    if (h_.iterationDone) h_.iterationDone(RootIteration{d, bestScore_, g.Search.Nodes, Elapsed()});
  }

  r.aborted = g.P.SearchAborted != 0;
  if (g.P.StopRequest == 2) {  // the time limit, not the user
    g.P.StopRequest = 0;
    g.P.SearchAborted = 0;
  }
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
