// The name of the variant being played, marked " (M)" when the game no
// longer follows the variant's file, and the variant's help links.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Whether a rule key, a promotion square or a movement string of the rules
// in force differs from the variant's own rules.
bool RulesDifferFromVariant(const GameState& g);

// LoadedVariantName, followed by " (M)" when the rules differ or the position
// was set up by hand (not by the RemoveMen or DoMoves start rules).
std::string VariantNameText(const GameState& g);

// Shows VariantNameText beside the board.
void ShowVariantName(GameState& g);

// The help link of the Help menu's "Quick Rules" (quick = true) or "Rules"
// entry; "" when the variant names none (its help text is shown instead).
// Either command clears the movable-piece marks.
std::string VariantHelpLink(GameState& g, bool quick);

}  // namespace m8
