#include "core/engine/rootloop.h"

#include <algorithm>

#include "core/engine/searchnode.h"
#include "core/rules/drawrules.h"

namespace m8 {

namespace {

class RootLooper {
 public:
  RootLooper(PositionState& g, const RootLoop& loop)
      : g_(g), loop_(loop), first_(g.P.PlyStart[0]), moves_(g.P.PlyStart[1] - g.P.PlyStart[0]) {}

  RootLoopResult Run();

 private:
  int Probe(int index, int depth, ProbeReason reason, int bestBefore) {
    return loop_.probe(RootProbe{index, depth, reason, index == first_, alpha_, beta_, bestBefore});
  }
  bool CutShort() const { return loop_.cutShort && loop_.cutShort(alpha_); }
  void NewBest(int depth, int index, int score);
  // Searches root move `index` in iteration `depth`; false when a stop cut
  // it short.
  bool SearchMove(int depth, int index);

  PositionState& g_;
  const RootLoop& loop_;
  const int first_;
  const int moves_;
  int alpha_ = -kInfinity, beta_ = kInfinity;
};

void RootLooper::NewBest(int depth, int index, int score) {
  UpdatePV(g_, index);
  if (loop_.newBest) loop_.newBest(depth, index, score, index == first_);
  if (index > first_) {
    auto& list = g_.P.MoveList;
    std::rotate(list.begin() + first_, list.begin() + index, list.begin() + index + 1);
  }
}

bool RootLooper::SearchMove(int depth, int index) {
  int score = Probe(index, depth, ProbeReason::First, alpha_);
  if (CutShort()) return false;
  bool best = false;
  if (index == first_) {
    if (score >= beta_) {
      alpha_ = score;
      beta_ = kInfinity;
      score = Probe(index, depth, ProbeReason::FailedHigh, alpha_);
      if (CutShort()) return false;
    } else if (score < alpha_) {
      if (loop_.firstFailedLow) loop_.firstFailedLow();
      alpha_ = -kInfinity;
      beta_ = score;
      score = Probe(index, depth, ProbeReason::FailedLow, alpha_);
      if (CutShort()) return false;
    }
    alpha_ = score;
    beta_ = score + 1;
    NewBest(depth, index, score);
    best = true;
  } else if (score > alpha_) {
    const int before = alpha_;
    alpha_ = score;
    beta_ = kInfinity;
    score = Probe(index, depth, ProbeReason::Better, before);
    if (CutShort()) return false;
    if (score > before) {
      alpha_ = score;
      beta_ = score + 1;
      NewBest(depth, index, score);
      best = true;
    } else if (loop_.restoreWindowAfterFalseBetter) {
      alpha_ = before;
      beta_ = before + 1;
    }
  }
  if (loop_.moveDone) loop_.moveDone(depth, best ? first_ : index, best ? alpha_ : score, best);
  return true;
}

RootLoopResult RootLooper::Run() {
  RootLoopResult r;
  const int window = loop_.aspirationWindow;
  for (int d = 1; d <= loop_.iterations; ++d) {
    if (d == 1 || window <= 0) {
      alpha_ = -kInfinity;
      beta_ = kInfinity;
    } else {
      beta_ = alpha_ + window;
      alpha_ -= window;
    }
    // Deepest node: the iteration + ExtendedPlies + 5, inside the per-ply tables.
    g_.Search.MaxPly = std::min(d + g_.Opt.ExtendedPlies, kMaxPly - 6);
    if (loop_.iterationStarting) loop_.iterationStarting(d);
    for (int i = first_; i < first_ + moves_; ++i) {
      if (!SearchMove(d, i)) {
        r.interrupted = true;
        return r;
      }
      if (i + 1 < first_ + moves_ && loop_.betweenMoves) loop_.betweenMoves(d);
      if (g_.P.SearchAborted != 0) {
        r.interrupted = true;
        return r;
      }
    }
    r.depth = d;
    if (loop_.iterationDone && !loop_.iterationDone(d)) break;
  }
  return r;
}

}  // namespace

RootLoopResult RunRootLoop(PositionState& g, const RootLoop& loop) { return RootLooper(g, loop).Run(); }

void ApplyRootDrawRules(PositionState& g, int rootGamePly) {
  FindLastIrreversiblePly(g, rootGamePly - 1);
  CountRepetitions(g, rootGamePly - 1);
  if (g.Eval.DrawnPosition == 0) g.Eval.DrawnPosition = g.Draw.MoveLimitReached;
}

}  // namespace m8
