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

// The details a game read from a PDN file brings belong to that game: the
// loader notes them as loaded, and a new game (New Game, New Variant, an own
// game file, a position set up) forgets each one still as loaded. What the
// user typed in the dialog stays for the games that follow.
void NoteLoadedDetails(GameHeader& h);
void ForgetLoadedDetails(GameHeader& h);

}  // namespace m8
