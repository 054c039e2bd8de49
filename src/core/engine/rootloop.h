// The loop over the root moves that every search from the root runs: the
// computer move and the analysis (with the full node), the hint, the hint's
// problem probe and the ply value search (with the quick search). Iterations
// 1, 2, ...; in each the root moves in list order, the first one with the
// window around the last iteration's score and searched again when it falls
// outside, the others searched again when they score above the best one; a
// new best move goes to the front of the list, its line to row 0 of the line
// table. How a move is searched and what the caller keeps is the caller's.
#pragma once

#include <functional>

#include "core/state.h"

namespace m8 {

// Why a root move is searched.
enum class ProbeReason {
  First,       // its first search of the iteration
  FailedHigh,  // the first root move again: it scored at least beta
  FailedLow,   // the first root move again: it scored below alpha
  Better,      // a later root move again: it scored above the best one
};

struct RootProbe {
  int index = 0;  // record of the move list
  int depth = 0;  // the iteration
  ProbeReason reason = ProbeReason::First;
  bool firstMove = false;  // the move stands first in the root list
  int alpha = 0, beta = 0;  // the window of the loop at this search
  int bestBefore = 0;       // Better: the best score it has to beat
};

struct RootLoop {
  int iterations = 1;
  // Half-width of the window around alpha as the last iteration left it; 0:
  // the full window in every iteration.
  int aspirationWindow = 100;
  // A later move scored above the best one but not when searched again: true
  // puts the best move's window back (alpha the best score, beta one above);
  // false leaves alpha at the first score and beta open for the rest of the
  // iteration.
  bool restoreWindowAfterFalseBetter = true;

  // Searches a root move and returns its score from the view of the side to
  // move at the root.
  std::function<int(const RootProbe&)> probe;
  // After each search, with the window's alpha at the time: true when a stop
  // cut it short, its score is dropped and the loop ends. None: the loop only
  // stops between moves.
  std::function<bool(int alpha)> cutShort;
  // An iteration begins; its window and Search.MaxPly are set.
  std::function<void(int depth)> iterationStarting;
  // The first root move fell below the window and is about to be searched
  // again.
  std::function<void()> firstFailedLow;
  // Root move `index` became the best one: its line is in PVTable row 0, it
  // has not moved to the front yet. `firstMove`: it stands first already.
  std::function<void(int depth, int index, int score, bool firstMove)> newBest;
  // A root move is done: `slot` is where it stands now (the front when it
  // became the best move), `score` the best score when it did, else its last
  // score. Not called for a move cut short.
  std::function<void(int depth, int slot, int score, bool best)> moveDone;
  // Between two root moves of an iteration, before the stop is looked at.
  std::function<void(int depth)> betweenMoves;
  // An iteration ended without a stop; false ends the loop.
  std::function<bool(int depth)> iterationDone;
};

struct RootLoopResult {
  int depth = 0;             // last iteration completed
  bool interrupted = false;  // a stop (SearchAborted) ended an iteration before its end
};

// Runs the loop over the root list of the move list (records PlyStart[0] ..
// PlyStart[1] - 1). Search.MaxPly is the iteration plus ExtendedPlies, kept
// inside the per-ply tables. After each root move the loop ends when the
// search is aborted.
RootLoopResult RunRootLoop(PositionState& g, const RootLoop& loop);

// The draw rules applied to the position a root move reached, counting the
// game from `rootGamePly` (the game ply at the root): the repetitions and the
// last irreversible ply, and the move limit marking the position drawn.
void ApplyRootDrawRules(PositionState& g, int rootGamePly);

}  // namespace m8
