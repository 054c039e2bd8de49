// The root search as the computer move and the analysis run it: set-up, the
// window's state while the engine thinks, the early end of a decided game,
// the depth and time limits, the opening book, iterative deepening over the
// root moves with the engine output, the root move scores and the progress
// bar. The two drivers differ only in the DriverMode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

namespace m8 {

// One completed iteration of a computer move's search.
struct SearchIterationLog {
  int32_t Depth = 0;
  std::string BestMove;
  int32_t Score = 0;
  std::string MainLine;
  int64_t Seconds = 0;  // since the move began
};

enum class DriverMode {
  ComputerMove,  // "Thinking...", short-line re-search, the log's iterations
  Analysis,      // "Analyzing...", nothing is played and the game is not rated
};

struct DriverRun {
  // false: the game was decided before any search (it has been ended);
  // true: record 0 of the root list is the move found.
  bool searched = false;
  // The computer's move found the game decided before any search (the
  // analysis announces that itself): the caller rates the game with
  // userScore and announces endText, or the draw of the move limit when
  // endText is empty.
  bool decided = false;
  double userScore = 0.5;
  std::string endText;
  int32_t savedDepth = 0;  // SearchDepth on entry, written back by the caller
  int rootMoves = 0;       // after the book cut
  int bestDepth = 0;       // iteration in which the best move was found
  std::vector<SearchIterationLog> iterations;
};

// The first game ply at which no further move fits into the game tables.
constexpr int kGamePlyLimit = kMaxGamePly;

// Runs the search of the current position for the side to move. Leaves the
// best move in record 0, its score in Flow.BestScore, the root moves' scores
// sorted in Driver.RootScores and the principal line in PVTable row 0.
DriverRun RunDriverSearch(GameState& g, DriverMode mode);

// The noise amplitude of a Weakness: (Weakness - 1) x 70, 0 becoming 5 and a
// negative value 0.
int NoiseForWeakness(int weakness);

}  // namespace m8
