// Setting up a game: the default start position, the current variant's file,
// the tables derived from the rules in force, who moves first, and a clean
// game record and per-game state.
#pragma once

#include "core/state.h"
#include "core/version.h"

namespace m8 {

constexpr const char* kStandardVariantName = "American Checkers";

// Seeds the program's random generator from the host's clock.
void SeedRandom(GameState& g);

// Prepares a new game under the rules in force. Unless Flow.PositionPreset is
// set, builds the default start position, reads the variant file named by
// Rules.Variant into VariantRules (a missing or broken file is reported: the
// game in force goes on whole, and a variant named by the settings at
// start-up gives way to the built-in game, name, rules and start position
// together), fixes the board colour and draws the starting side under
// RndColor. Then rebuilds the rule-derived tables, clears the game record and
// the tags a loaded game brought along (round, ratings, opening, set-up),
// resets the per-game state and the window's
// commands and generates the first moves.
void InitGame(GameState& g);

// Takes the position on the board (set up by hand or thinned out) as the start
// of the game: the rules' root (SetRootPosition: the side to move decides who
// starts), then InitGame with PositionPreset set by the caller; the game is
// not rated.
void SetupPositionState(GameState& g);

// The RemoveMen rule: takes NumberMen randomly chosen pieces of each side off
// the board (always leaving one) and sets PositionPreset.
void RemoveRandomMen(GameState& g);

}  // namespace m8
