#include "core/engine/problemprobe.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/quickroot.h"
#include "core/engine/quicksearch.h"
#include "core/engine/rootloop.h"
#include "core/engine/searchnode.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

void ComputeHint(PositionState& g, int iniScore) {
  SetPhaseThresholds(g);
  if (g.Search.HintFrom > 0) {
    g.host->message(Icon::Information, "Hint", HeldHintText(g));
    return;
  }
  g.Eval.NoiseAmplitude = 5;
  const int rootPly = g.P.GamePly;
  g.Driver.GamePlyAtRoot = rootPly;
  ResetPly(g);
  int warm = 5;
  QuickSearchDepth(g, warm);
  GenerateLegalMoves(g);

  const int plies = g.PlyValue.PlyValuePlies;
  int best = 0;
  std::string problem;
  RootLoop loop;
  loop.iterations = plies;
  loop.restoreWindowAfterFalseBetter = false;
  // The draw rules apply to each move's first probe only; its draw mark
  // stays for the second.
  loop.probe = [&g, rootPly](const RootProbe& p) {
    return ProbeRootMoveQuick(g, p.index, rootPly, p.reason == ProbeReason::First, p.depth - 1).value_or(0);
  };
  loop.newBest = [&](int, int, int s, bool firstMove) {
    if (firstMove) return;
    best = s;
    g.Search.EngineOutputText =
        "Score:" + SignedText(s) + "   iniScore:" + SignedText(iniScore) + "   Depth:" + SignedText(plies);
    g.host->refresh(View::EngineOutput);
    ShowMainLinePV(g);
    const std::string& line = g.Log.MainLineText;
    if ((line.size() < 3 || line[2] != 'x') || std::abs(s) > 31000) {
      problem = "Score:" + SignedText(s) + "   iniScore:" + SignedText(iniScore) + "   Depth:" + SignedText(plies) +
                "   " + g.Texts.DisplayMoveText + " " + line;
      if (problem.find('x') == std::string::npos) problem.clear();
    }
  };
  // ... and goes when the move is done.
  loop.moveDone = [&g](int, int, int, bool) { g.Eval.DrawnPosition = 0; };
  RunRootLoop(g, loop);
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
