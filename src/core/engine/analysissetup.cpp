#include "core/engine/analysissetup.h"

#include "core/engine/evaluate.h"
#include "core/rules/gamesetup.h"
#include "core/rules/movegen.h"
#include "core/rules/variantfile.h"

namespace m8 {

bool SetupAnalysisPosition(GameState& g, std::string_view variant, std::string_view setup,
                           int sideToMove, std::string* error) {
  Board position{};
  if (!setup.empty()) {
    // A variant file may give a short position; on the command line it is a
    // typing error.
    if (setup.size() != 64 || setup.find_first_not_of("01234") != std::string_view::npos) {
      if (error) *error = "--setup: the position must be 64 digits 0 to 4";
      return false;
    }
    // The variant file reader knows the Setup key; let it read the digits.
    const std::string text = "Setup\r\nSetup=" + std::string(setup) + "\r\nEND\r\n";
    VariantFileData data;
    if (!ParseVariantText(text, "--setup", data, error)) return false;
    if (!data.setup) {
      if (error) *error = "--setup: no position given";
      return false;
    }
    position = *data.setup;
  }
  g.Flow.PositionPreset = 0;
  g.Rules.Variant = std::string(variant);
  InitGame(g);  // reads the variant's rules
  if (g.Rules.Variant != variant) {
    if (error) *error = "variant \"" + std::string(variant) + "\" could not be read";
    return false;
  }
  g.Rules = g.VariantRules;  // as the new-variant command puts them in force
  InitGame(g);
  if (!setup.empty()) {
    g.board = position;
    g.P.SideToMove = sideToMove == 1 ? 1 : -1;
    g.Flow.PositionPreset = 1;
    SetupPositionState(g);
    g.Flow.PositionPreset = 0;
  }
  return true;
}

void PrepareFullStrengthSearch(GameState& g) {
  g.Eval.NoiseAmplitude = 0;
  g.Eval.EvalExtraTerm = 1;
  SetPhaseThresholds(g);
  ResetPly(g);
}

}  // namespace m8
