// Promotion bonus tables read by the evaluators, and the flags for variants
// whose pieces step orthogonally. All run at game set-up, never in the search.
#pragma once

#include "core/state.h"

namespace m8 {

// PromotionBonus from the promotion squares and the men's move directions:
// 30 on a promotion square, 20 one man's move before it, 10 two moves before;
// positive for White, negative for Black.
void BuildPromotionBonusByMoves(PositionState& g);

// PromotionBonus from the distance to the nearest promotion square of each
// side: 50 - 6 * distance, positive for both sides (the built-in families'
// evaluators apply the signs).
void BuildPromotionBonusByDistance(PositionState& g);

// Row difference plus column difference of two cells.
int SquareDistance(int a, int b);

// Builds the tables that depend on the rules in force and the promotion
// squares: NoKingWinRule, the move generators' tables (BuildRuleTables: the
// promotion reach, the built-in rule set) and the promotion bonuses, which
// follow from the built-in rule set.
void BuildPromotionTables(PositionState& g);

// AllStepsOrthogonal and OrthogonalManyMen from the direction table and the
// numbers of men.
void SetOrthogonalMoveFlags(PositionState& g);

}  // namespace m8
