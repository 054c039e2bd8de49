// The lighter evaluators of the four built-in rule sets: the generic
// evaluation without the terms only a variant rule switches on, with the
// distance-based promotion table. Same interface and scores as Evaluate.
#pragma once

#include "core/state.h"

namespace m8 {

int Evaluate1(PositionState& g, int alpha, int beta, int side);   // family 1
int Evaluate2(PositionState& g, int alpha, int beta, int side);   // family 2
int Evaluate34(PositionState& g, int alpha, int beta, int side);  // families 3 and 4

// Builds the fixed piece terms and the back-row walks of the family in force
// (StandardRuleSet 1..4) from the promotion squares, the bonus table and the
// direction table; every search entry calls it.
void PrepareFamilyEvaluation(PositionState& g);

}  // namespace m8
