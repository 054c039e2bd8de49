#include "core/game/hint.h"

#include "core/engine/evaluate.h"
#include "core/engine/quickroot.h"
#include "core/engine/searchprogress.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

void ShowHint(GameState& g) {
  Host& h = *g.host;
  g.Rating.RatedGame = 0;
  SetPhaseThresholds(g);
  if (g.Search.HintFrom > 0) {
    h.message(Icon::Information, "Hint", HeldHintText(g));
  } else {
    g.Eval.NoiseAmplitude = 5;
    g.Driver.GamePlyAtRoot = g.P.GamePly;
    ResetPly(g);
    Evaluate(g, -kInfinity, kInfinity, g.P.SideToMove);
    GenerateMoves(g, 0);
    if (g.P.PlyStart[1] == g.P.PlyStart[0]) GenerateMoves(g, 1);
    // Without a legal move there is nothing to try: the game is decided.
    if (g.P.PlyStart[1] > g.P.PlyStart[0]) {
      g.P.StopRequest = 0;
      g.P.SearchAborted = 0;
      SearchHint(g);
      const MoveTexts saved = g.Texts;
      MoveString(g, g.P.PlyStart[0]);
      const std::string text = "Try " + g.Texts.MoveText;
      g.Texts = saved;
      h.message(Icon::Information, "Hint", text);
    }
    g.Search.HintFrom = 0;
    g.Search.HintTo = 0;
  }
  ShowStatus(g, "Think ahead and try not to leave your opponent with multiple jumps");
}

}  // namespace m8
