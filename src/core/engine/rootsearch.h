// Iterative deepening over the root moves: the search half of the computer
// move, shared by the drivers and the analysis tool. The root list is the
// ply-0 part of the move list; after each iteration record 0 holds the best
// move, and the principal line stands in row 0 of the line table. The loop
// itself is RunRootLoop's (rootloop.h); this is the full search's use of it.
#pragma once

#include <cstdint>
#include <functional>

#include "core/engine/searchnode.h"
#include "core/state.h"

namespace m8 {

struct RootSearchParams {
  NodeMember member = NodeMember::AlphaBeta;
  int depthLimit = 1;           // last iteration
  double timeLimitSeconds = 0;  // > 0: stop once this much time has passed (time mode)
  int aspirationWindow = 100;   // half-width around the last iteration's score; 0 = full window
  bool shortLineResearch = true;  // search a root move one ply deeper when its line is short
  // false: search the root list already in the move list (records
  // PlyStart[0] .. PlyStart[1] - 1, as the caller generated or cut it).
  bool generateMoves = true;
};

struct RootIteration {
  int depth = 0;
  int score = 0;       // of record 0, the best move
  uint64_t nodes = 0;  // since the search began
  double seconds = 0;  // since the search began
};

struct RootSearchHooks {
  // A root move i became the best of iteration `depth` (before it moves to
  // slot 0; the principal line is in PVTable row 0).
  std::function<void(int depth, int index, int score)> newBest;
  // An iteration ended without an abort.
  std::function<void(const RootIteration&)> iterationDone;
  // Root move i is about to be searched at iteration `depth` (also before the
  // one-ply-deeper re-search of a short line, with shortLine set).
  std::function<void(int depth, int index, bool shortLine)> moveStarting;
  // Root move i is done: `slot` is where it stands now (0 when it became the
  // best move), `score` its score (from the deeper search when its line was
  // searched one ply deeper); a move that is not the best scores at most the
  // best move's score. Not called for a move cut short by a stop.
  std::function<void(int depth, int slot, int score, bool best)> moveDone;
};

struct RootSearchResult {
  bool hasMove = false;  // the root had a legal move; record 0 is the best one
  int score = 0;
  int depth = 0;         // last completed iteration (0 when none completed)
  uint64_t nodes = 0;
  double seconds = 0;
  bool aborted = false;  // stopped by a stop request or the time limit
  bool timeUp = false;   // ... and the time limit came first
  // The last iteration begun was stopped before all its root moves were
  // searched: record 0 is the best move of the last completed iteration, or a
  // better one found in the interrupted iteration.
  bool interrupted = false;
};

// A search in time mode reads the clock in the nodes as well as between root
// moves: it stops at the limit (1.5 times the limit while the best score has
// fallen by more than 50 since the last completed iteration), and begins no
// iteration once the limit has passed. A stop by the time limit is cleared
// when the search returns; a stop asked for by the user (StopRequest) leaves
// SearchAborted at 1, also when the time ran out in the same iteration.

// Generates the root moves of the current position (Ply must be 0) and
// searches them. Nothing but the search state, the move list and the line
// tables is changed; the position is as before on return.
RootSearchResult SearchRoot(PositionState& g, const RootSearchParams& params,
                            const RootSearchHooks& hooks = {});

}  // namespace m8
