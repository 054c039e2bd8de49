#include "core/engine/analysis.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/quicksearch.h"
#include "core/engine/searchnode.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// The ply limit of the extensions, kept inside the per-ply tables.
int ExtensionLimit(const GameState& g, int depth) { return std::min(depth + g.Opt.ExtendedPlies, kMaxPly - 6); }

}  // namespace

void ComputeHint(GameState& g, int iniScore) {
  SetPhaseThresholds(g);
  if (g.Search.HintFrom > 0) {
    g.host->message(Icon::Information, "Hint",
                    "Try " + SquareNotation(g, g.Search.HintFrom, 0) + "-" + SquareNotation(g, g.Search.HintTo, 0));
    return;
  }
  g.Eval.NoiseAmplitude = 5;
  const int rootPly = g.P.GamePly;
  g.Driver.GamePlyAtRoot = rootPly;
  ResetPly(g);
  int warm = 5;
  QuickSearchDepth(g, warm);
  GenerateLegalMoves(g);

  // One probe of root move i at depth d, from the view of the side moving.
  auto probe = [&](int i, int d, bool drawTest) {
    if (drawTest) g.SearchTab.PVTable[0][0].From = 0;
    if (!MakeMove(g, i)) return 0;
    if (drawTest) {
      FindLastIrreversiblePly(g, rootPly - 1);
      CountRepetitions(g, rootPly - 1);
      if (g.Eval.DrawnPosition == 0) g.Eval.DrawnPosition = g.Draw.MoveLimitReached;
    }
    int depth = d - 1;
    const int s = QuickSearchDepth(g, depth);
    UnmakeMove(g, i);
    return s;
  };

  const int plies = g.PlyValue.PlyValuePlies;
  int alpha = -kInfinity, beta = kInfinity, best = 0;
  std::string problem;
  for (int d = 1; d <= plies; ++d) {
    if (d > 1) {
      beta = alpha + 100;
      alpha -= 100;
    }
    g.Search.MaxPly = ExtensionLimit(g, d);
    const int first = g.P.PlyStart[0];
    const int n = g.P.PlyStart[1] - first;
    for (int i = first; i < first + n; ++i) {
      int s = probe(i, d, true);
      if (i == first) {
        if (s < alpha || s >= beta) s = probe(i, d, false);
        alpha = s;
        beta = s + 1;
        UpdatePV(g, i);
      } else if (s > alpha) {
        const int old = alpha;
        alpha = s;
        beta = kInfinity;
        s = probe(i, d, false);
        if (s > old) {
          alpha = s;
          best = s;
          beta = s + 1;
          UpdatePV(g, i);
          g.Search.EngineOutputText = "Score:" + SignedText(s) + "   iniScore:" + SignedText(iniScore) +
                                      "   Depth:" + SignedText(plies);
          g.host->refresh(View::EngineOutput);
          ShowMainLinePV(g);
          const std::string& line = g.Log.MainLineText;
          if ((line.size() < 3 || line[2] != 'x') || std::abs(s) > 31000) {
            problem = "Score:" + SignedText(s) + "   iniScore:" + SignedText(iniScore) +
                      "   Depth:" + SignedText(plies) + "   " + g.Texts.DisplayMoveText + " " + line;
            if (problem.find('x') == std::string::npos) problem.clear();
          }
          auto& list = g.P.MoveList;
          std::rotate(list.begin() + first, list.begin() + i, list.begin() + i + 1);
        }
      }
      g.Eval.DrawnPosition = 0;
      if (g.P.SearchAborted != 0) break;
    }
    if (g.P.SearchAborted != 0) break;
  }
  if (g.P.PlyStart[1] > g.P.PlyStart[0]) MoveString(g, g.P.PlyStart[0]);
  if (std::abs(best - iniScore) > 100 && !problem.empty()) {
    g.Driver.ProblemText += problem + "\r\n";
    ++g.Driver.ProblemCount;
    g.host->refresh(View::ProblemText);
  }
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;
}

}  // namespace m8
