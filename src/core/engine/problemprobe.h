// The hint search: the root moves probed at growing depths, problems noted.
#pragma once

#include <functional>
#include <string>

#include "core/state.h"

namespace m8 {

// Repeats the stored hint ("Try 9-14", title "Hint"), or, without one, probes
// the root moves at depths 1..PlyValuePlies and appends a problem line to the
// problem window's text (Driver.ProblemText) when the best score differs from
// iniScore by more than 100 and its line holds a capture that does not begin
// it (or scores beyond +-31000).
void ComputeHint(PositionState& g, int iniScore);

// What the search of a position for a combination found.
struct ProblemFinding {
  int rootMoves = 0;     // legal moves of the position
  int depth = 0;         // the deepest iteration completed
  bool stopped = false;  // a stop ended the search before its last iteration
  int score = 0;         // the best move's score, from the view of the side to move
  std::string line;      // the problem line appended to Driver.ProblemText; "" when none
};

// The same probe for the Problems/Combinations command, on the position in
// hand at depths 1..plies, the stored hint aside. The best move the search
// ends with is a combination when its line begins with a move that captures
// nothing (or wins or loses by force) and captures later, and its score lies
// more than 100 from iniScore. Then its line ("Score: 250   iniScore: 10
// Depth: 6   <head> <line>") is appended to Driver.ProblemText. Unlike the
// hint search it builds the line whatever ShowCalculation, judges the moves
// by the line table and not by the text, counts the first root move like the
// others, and leaves the ply value table's window alone. `moveDone` is called
// after each root move searched (the caller's progress). A stop request ends
// it after the move being searched.
ProblemFinding SearchPositionProblems(PositionState& g, int iniScore, int plies, const std::string& head,
                                      const std::function<void()>& moveDone);

}  // namespace m8
