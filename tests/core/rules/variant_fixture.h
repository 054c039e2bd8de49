// A variant's rules put in force with the rules layer's own calls, for the
// tests of the rules and of the engine.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/rules/movement.h"
#include "core/rules/setposition.h"
#include "core/rules/variantfile.h"
#include "core/state.h"

namespace m8::testing {

// Starts `variant` from ProgramFolder/variants as a new game of it does: its
// file read into the variant rules (American Checkers is built in and needs
// none), those rules put in force, the direction tables built, its start
// position (the default one when the file gives none) made the root with the
// side that moves first under its rules, and the board shifted onto the
// colour the rules play on. False with a message when the file cannot be
// read.
inline bool StartVariant(GameState& g, std::string_view variant, std::string* error = nullptr) {
  g.DefaultBoard = DefaultStartBoard();
  g.board = g.StartBoard = g.DefaultBoard;
  g.Rules.Variant = std::string(variant);
  std::string why;
  if (!ReadVariantFile(g, &why)) {
    std::error_code ec;
    if (variant != "American Checkers" || std::filesystem::exists(VariantFilePath(g, variant), ec)) {
      if (error) *error = why;
      return false;
    }
    g.VariantRules = RuleSet{};
  }
  g.Rules = g.VariantRules;
  ParseAllDirections(g);
  SetBoardModeFromDirections(g);
  // The start board keeps the position as the file gives it; only the board
  // moves onto the other colour.
  SetRootPosition(g, g.board, g.Rules.BlackStarts == 1 ? -1 : 1);
  if (g.Rules.PiecesOnBlack == 0) ShiftToOtherColour(g, false);
  return true;
}

}  // namespace m8::testing
