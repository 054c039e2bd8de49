#include "core/engine/rootsearch.h"

#include <algorithm>
#include <cstdlib>

#include "core/engine/rootloop.h"
#include "core/rules/movegen.h"

namespace m8 {

namespace {

// Deepest full node: S + 5 plies, S at most MaxPly + 1; keep it inside the
// per-ply tables.
constexpr int kMaxExtensionPly = kMaxPly - 6;

class RootSearcher {
 public:
  RootSearcher(PositionState& g, const RootSearchParams& p, const RootSearchHooks& h)
      : g_(g), p_(p), h_(h), start_(g.host->monotonicSeconds()) {}

  RootSearchResult Run();

 private:
  double Elapsed() { return g_.host->monotonicSeconds() - start_; }
  // A stop came while a root move was searched: its score means nothing.
  bool CutShort() const { return g_.P.SearchAborted != 0; }
  int SearchMove(const RootProbe& probe);
  // The time rule: the search stops once the limit has passed, or half as
  // long again while the best score has fallen by more than 50 since the
  // last completed iteration. Sets the limit the nodes watch.
  void SetStopTime();
  void StopForTime();

  PositionState& g_;
  const RootSearchParams& p_;
  const RootSearchHooks& h_;
  double start_;
  int rootGamePly_ = 0;
  bool deep_ = false;
  bool completedOne_ = false;  // an iteration has been completed
  bool failedLow_ = false;     // the first move of this iteration fell below the window
  int previousScore_ = 0;  // BestScore of the last completed iteration (time rule)
  int bestScore_ = 0;
};

// Makes the root move, searches it with the loop's window and takes it back.
// A short line (fewer than three moves after the root move) is searched one
// ply deeper: always for the first root move, for a later one only when its
// second search still beats the best score.
int RootSearcher::SearchMove(const RootProbe& probe) {
  PositionState& g = g_;
  const int i = probe.index;
  const int depth = std::min(probe.depth, kMaxExtensionPly);
  if (probe.reason == ProbeReason::First && h_.moveStarting) h_.moveStarting(probe.depth, i, false);
  g.SearchTab.PVTable[0][0].From = 0;
  SearchMakeMove(g, i);
  ApplyRootDrawRules(g, rootGamePly_);

  int a = -probe.beta, d = depth - 1;
  int score = -RunNode(g, p_.member, a, -probe.alpha, d);
  if (g.Eval.DrawnPosition >= 1) score = 0;

  bool shortLineWanted = probe.firstMove || probe.reason != ProbeReason::First;
  if (probe.reason == ProbeReason::Better) shortLineWanted = score > probe.bestBefore;
  if (shortLineWanted && p_.shortLineResearch && depth >= 3 && PVLength(g) < 3) {
    if (h_.moveStarting) h_.moveStarting(depth, i, true);
    const bool fullWindow =
        p_.member == NodeMember::AlphaBeta1 || p_.member == NodeMember::AlphaBetaAnti;
    int ra = fullWindow ? -kInfinity : -probe.beta;
    const int rb = fullWindow ? kInfinity : -probe.alpha;
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
  PositionState& g = g_;
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

  RootLoop loop;
  loop.iterations = moves == 1 ? 1 : std::max(1, p_.depthLimit);
  loop.aspirationWindow = p_.aspirationWindow;
  loop.restoreWindowAfterFalseBetter = true;
  loop.probe = [this](const RootProbe& probe) { return SearchMove(probe); };
  loop.cutShort = [this](int) { return CutShort(); };
  loop.iterationStarting = [this](int d) {
    deep_ = p_.timeLimitSeconds > 0 ? d > 2 : true;
    failedLow_ = false;
    SetStopTime();
  };
  loop.firstFailedLow = [this] {
    failedLow_ = true;
    SetStopTime();
  };
  loop.newBest = [this](int d, int i, int score, bool) {
    bestScore_ = score;
    if (h_.newBest) h_.newBest(d, i, score);
  };
  loop.moveDone = h_.moveDone;
  loop.betweenMoves = [this](int) {
    SetStopTime();
    CheckSearchClock(g_);
  };
  loop.iterationDone = [this](int d) {
    previousScore_ = bestScore_;
    completedOne_ = true;
    if (h_.iterationDone) h_.iterationDone(RootIteration{d, bestScore_, g_.Search.Nodes, Elapsed()});
    // No new iteration once the limit has passed.
    if (p_.timeLimitSeconds > 0 && Elapsed() >= p_.timeLimitSeconds) {
      StopForTime();
      return false;
    }
    return true;
  };
  const RootLoopResult done = RunRootLoop(g, loop);
  r.depth = done.depth;
  r.interrupted = done.interrupted;

  r.aborted = g.P.SearchAborted != 0 || g.P.StopRequest != 0;
  r.timeUp = g.Search.TimeUp != 0;
  r.score = bestScore_;
  r.nodes = g.Search.Nodes;
  r.seconds = Elapsed();
  g.Eval.DrawnPosition = 0;
  return r;
}

}  // namespace

RootSearchResult SearchRoot(PositionState& g, const RootSearchParams& params,
                            const RootSearchHooks& hooks) {
  return RootSearcher(g, params, hooks).Run();
}

}  // namespace m8
