// The game details dialog without its widgets: the five header texts it shows
// and edits (event, site, date, black, white).
#pragma once

#include <array>
#include <string>

#include "core/state.h"

namespace m8 {

// The dialog's five text boxes, top to bottom: GameEvent, GameSite, GameDate,
// GameBlack, GameWhite, in this order.
enum class DetailsBox { Event, Site, Date, Black, White };
inline constexpr int kDetailsBoxes = 5;
using DetailsTexts = std::array<std::string, kDetailsBoxes>;

DetailsTexts DetailsFromGame(const GameState& g);

// Apply and OK: the five texts stored exactly as typed (blanks kept, an empty
// box an empty text).
void ApplyDetails(GameState& g, const DetailsTexts& texts);

}  // namespace m8
