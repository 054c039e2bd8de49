// The root search as the computer move and the analysis run it: set-up, the
// progress the engine shows while it thinks, the game found decided before
// any search, the depth and time limits, the opening book, iterative
// deepening over the root moves with the engine output, the root move scores
// and the progress bar. The two drivers differ only in the DriverMode. The
// driver decides and reports; the game applies what it reports (game/).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/rules/drawrules.h"
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
  // false: the game was decided before any search (see below);
  // true: record 0 of the root list is the move found.
  bool searched = false;
  // The game was decided before any search: `winner` (+1 White, -1 Black)
  // has won by the rules (the side to move has no move, or a variant rule
  // decides), or, with winner 0, it is drawn: drawReason kDrawMoveLimit when
  // no further move fits into the game tables, kNoDraw when the side to move
  // is stuck under NoLegalDraw. Nothing of the game is changed: the caller
  // sets the result, ends the game and tells it.
  bool decided = false;
  int winner = 0;
  int drawReason = kNoDraw;
  // The score of the best move found, from the side to move's view; none when
  // no root move was scored.
  std::optional<int32_t> bestScore;
  int rootMoves = 0;  // after the book cut
  int bestDepth = 0;  // iteration in which the best move was found
  std::vector<SearchIterationLog> iterations;
};

// The first game ply at which no further move fits into the game tables.
constexpr int kGamePlyLimit = kMaxGamePly;

// Runs the search of the current position for the side to move. Leaves the
// best move in record 0, the root moves' scores sorted in Driver.RootScores
// (and listed, unless the computer plays itself) and the principal line in
// PVTable row 0; returns the decision. The status panel still shows the last
// progress text, and the commands are as the caller left them: the caller
// (game/thinking.h) takes them away before and gives them back after.
DriverRun RunDriverSearch(PositionState& g, DriverMode mode);

// The noise amplitude of a Weakness: (Weakness - 1) x 70, 0 becoming 5 and a
// negative value 0.
int NoiseForWeakness(int weakness);

}  // namespace m8
