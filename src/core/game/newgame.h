// A new game under the rules in force, or after a variant was chosen.
#pragma once

#include <functional>

#include "core/state.h"

namespace m8 {

// What a new game asks of the window and of the game files; an empty
// function is skipped.
struct NewGameHooks {
  std::function<void()> variantDialog;      // the variant list filled, the modal variant dialog
  std::function<void()> arrangeLayout;      // the window laid out for the rules chosen
  std::function<void()> repaint;            // the window's printed text and lines cleared
  std::function<void()> loadRandomOpening;  // ChooseOpening: the game starts from a random opening
  std::function<void()> playDoMoves;        // DoMoves: the automatic opening moves
};

// Abandons the game in progress (after "Quit current game?" once a move was
// made; No changes nothing and returns false) and sets up a fresh one:
// newVariant == 1 shows the variant dialog first and prepares the rules it
// leaves. Then the variant name, the side to move, the material, the legal
// moves, the start options (random opening, removal of men, opening moves)
// and the roll sound.
bool NewGame(GameState& g, int newVariant, const NewGameHooks& hooks);

}  // namespace m8
