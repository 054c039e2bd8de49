#include "core/game/hint.h"

#include <algorithm>

#include "core/engine/evaluate.h"
#include "core/engine/quicksearch.h"
#include "core/engine/searchnode.h"
#include "core/engine/searchprogress.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// Root move i searched shallowly, scored from the mover's view; the draw
// rules of the game so far are applied to the position it reaches.
int ProbeRootMove(GameState& g, int i, bool drawTest) {
  if (drawTest) g.SearchTab.PVTable[g.P.Ply][g.P.Ply].From = 0;
  if (!MakeMove(g, i)) return -kInfinity;
  if (drawTest) {
    const int rootPly = g.Driver.GamePlyAtRoot;
    FindLastIrreversiblePly(g, rootPly - 1);
    CountRepetitions(g, rootPly - 1);
    if (g.Eval.DrawnPosition == 0) g.Eval.DrawnPosition = g.Draw.MoveLimitReached;
  }
  const int s = QuickSearch(g);
  UnmakeMove(g, i);
  return s;
}

// Two passes over the root moves; the best move ends up in record 0.
void SearchHint(GameState& g) {
  const int first = g.P.PlyStart[0];
  const int n = g.P.PlyStart[1] - first;
  const int passes = g.Rules.PiecesOnBlack == 2 ? 1 : 2;
  int alpha = -kInfinity, beta = kInfinity;
  for (int k = 1; k <= passes; ++k) {
    if (k == 2) {
      beta = alpha + 100;
      alpha -= 100;
    }
    g.Search.MaxPly = std::min(g.Opt.ExtendedPlies + k, kMaxPly - 6);
    for (int i = first; i < first + n; ++i) {
      int s = ProbeRootMove(g, i, true);
      g.Eval.DrawnPosition = 0;
      if (i == first) {
        if (s < alpha || s >= beta) s = ProbeRootMove(g, i, false);
        alpha = s;
        beta = s + 1;
        UpdatePV(g, i);
      } else if (s > alpha) {
        const int before = alpha;
        alpha = s;
        beta = kInfinity;
        const int again = ProbeRootMove(g, i, false);
        if (again > before) {
          alpha = again;
          beta = again + 1;
          UpdatePV(g, i);
          auto& list = g.P.MoveList;
          std::rotate(list.begin() + first, list.begin() + i, list.begin() + i + 1);
        }
      }
      if (g.P.SearchAborted != 0) return;
    }
  }
}

}  // namespace

void ShowHint(GameState& g) {
  Host& h = *g.host;
  g.Rating.RatedGame = 0;
  SetPhaseThresholds(g);
  if (g.Search.HintFrom > 0) {
    h.message(Icon::Information, "Hint",
              "Try " + SquareNotation(g, g.Search.HintFrom, 0) + "-" + SquareNotation(g, g.Search.HintTo, 0));
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
