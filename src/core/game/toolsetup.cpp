#include "core/game/toolsetup.h"

#include <filesystem>
#include <system_error>

#include "core/game/gamesetup.h"
#include "core/rules/setposition.h"
#include "core/rules/variantfile.h"

namespace m8 {

namespace {

// As the new-variant command does it: read the file, put its rules in force,
// set the game up again under them. False, with the reader's message in
// `error`, when the file could not be read.
bool StartVariant(GameState& g, std::string_view variant, std::string* error) {
  g.Flow.PositionPreset = 0;
  const std::string before = g.Rules.Variant;
  g.Rules.Variant = std::string(variant);
  // A file that cannot be read would leave the rules of before in force
  // (American Checkers is built in and needs none).
  std::string why;
  std::error_code ec;
  if (!ReadVariantFile(g, &why) &&
      (variant != kStandardVariantName || std::filesystem::exists(VariantFilePath(g, variant), ec))) {
    g.Rules.Variant = before;
    if (error) *error = why;
    return false;
  }
  InitGame(g);
  g.Rules = g.VariantRules;
  InitGame(g);
  return true;
}

// As the position editor does it: the board with `side` to move becomes the
// start of the game.
void TakeAsStart(GameState& g, const Board& b, int side) {
  g.board = b;
  g.P.SideToMove = side;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.Flow.PositionPreset = 0;
}

}  // namespace

bool SetupVariantStart(GameState& g, std::string_view variant, std::string* error) {
  return StartVariant(g, variant, error);
}

bool SetupPerftPosition(GameState& g, std::string_view digits, int sideToMove, std::string* error) {
  Board b;
  if (!ParseSetupDigits(digits, b, error) || !PiecesOnSquaresInPlay(b, g.Rules.PiecesOnBlack, error)) return false;
  TakeAsStart(g, b, sideToMove > 0 ? 1 : -1);
  return true;
}

bool SetupAnalysisPosition(GameState& g, std::string_view variant, std::string_view setup,
                           int sideToMove, std::string* error) {
  Board position{};
  if (!setup.empty()) {
    std::string why;
    if (!ParseSetupDigits(setup, position, &why)) {
      if (error) *error = "--setup: " + why;
      return false;
    }
  }
  if (!StartVariant(g, variant, error)) return false;
  if (setup.empty()) return true;
  std::string why;
  if (!PiecesOnSquaresInPlay(position, g.Rules.PiecesOnBlack, &why)) {
    if (error) *error = "--setup: " + why;
    return false;
  }
  TakeAsStart(g, position, sideToMove == 1 ? 1 : -1);
  return true;
}

}  // namespace m8
