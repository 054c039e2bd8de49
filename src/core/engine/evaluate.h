// Static evaluation of the generic engine family: a hand-tuned sum of terms,
// most switched by rule keys, so that one evaluator serves every variant.
// Scores are negamax scores for the side to move (a man 100, a king 200).
#pragma once

#include "core/state.h"

namespace m8 {

// Score of a win by rule that the evaluator sees for the side to move.
inline int RuleWinScore(const PositionState& g) { return kInfinity - g.P.Ply; }

// Sets the men thresholds of the opening phase: max(6, men - 6) per side.
void SetPhaseThresholds(PositionState& g);

// 1 + 2 x the number of pieces of `colour` (+1 or -1; anything but -1 counts
// as +1) that could make a plain move onto `square`.
int CountAttackers(const PositionState& g, int square, int colour);

// The evaluation of the current position for a caller outside the search
// (game-over test, hint, drivers at the root): alpha and beta are the window,
// side the side whose view is taken (+1 White, -1 Black). Sets InDanger and,
// under NoLegalDraw, NoLegalDrawFlag. Returns 32000 - Ply for a win by rule of
// the side to move, 0 for a draw, or the score.
int Evaluate(PositionState& g, int alpha, int beta, int side);

// The same inside a running search: the repetition keys of the line searched
// are current (PrepareRepetitionKeys and MakeMoveKeyed keep them so).
int EvaluateInSearch(PositionState& g, int alpha, int beta, int side);

}  // namespace m8
