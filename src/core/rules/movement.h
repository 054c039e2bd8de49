// The movement table built from the movement strings, the board kind, the
// colour shifts and the tables derived from the promotion squares.
#pragma once

#include <string_view>

#include "core/state.h"

namespace m8 {

// Offset of a direction name for a white piece; 0 for an unknown name.
int DirectionOffset(std::string_view name);

// Checks a movement string that a file or the user gives: every name of
// both lists is a direction name (exact case, no blanks around it; a ';' at
// the very end of a list is allowed) and no list holds more than eight. On a
// fault returns false and says which name or list is wrong. The parser itself
// stops a list at the first unknown name, which would silently take moves
// away from a piece.
bool CheckMovementString(std::string_view movement, std::string* why);

// Fills the move and capture rows of a piece kind (0..3) from a movement
// string; bookTable selects BookDirectionTable. A list ends at the first name
// that is no direction; names after the eighth are ignored (the readers
// refuse such strings beforehand with CheckMovementString).
void ParseDirections(PositionState& g, std::string_view movement, int kind, bool bookTable);
void ParseDirections(DirectionRows& table, std::string_view movement, int kind);

// Parses the four movement strings of the rules in force.
void ParseAllDirections(PositionState& g);

void SetBoardModeFromDirections(PositionState& g);

// True when every piece on the board stands on squares of one colour.
bool PositionOnOneColour(const Board& b);

// Moves the position one column sideways onto the other colour (back: onto
// the standard colour). Refuses (returns false, board unchanged) when the
// board is played on all 64 squares or any piece already stands on the colour
// it would move onto (pieces on both colours, or nothing to shift).
bool ShiftToOtherColour(PositionState& g, bool back);
void DetectSquareColour(PositionState& g);
void ShiftPromoSquares(PositionState& g);
void BuildPromoReach(PositionState& g);
void AnalyzePromotionSquares(PositionState& g);

// The tables the move generators read that follow from the rules in force,
// the promotion squares and the start board: BuildPromoReach,
// AnalyzePromotionSquares and the built-in rule set in force
// (IdentifyStandardRules). The direction tables come first.
void BuildRuleTables(PositionState& g);

}  // namespace m8
