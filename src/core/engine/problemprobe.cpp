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

namespace {

// The two ways the probe runs: as the hint search, or for the command.
struct ProbeMode {
  bool command = false;
  std::string head;  // the command's text before the line
  std::function<void()> moveDone;
};

std::string ScoreHead(int s, int iniScore, int plies) {
  return "Score:" + SignedText(s) + "   iniScore:" + SignedText(iniScore) + "   Depth:" + SignedText(plies);
}

// The problem test of the command on the line in row 0 of the line table:
// it holds a capture, and either begins with a move that captures nothing or
// scores a win or loss by force.
bool CombinationLine(const PositionState& g, int score) {
  const auto& row = g.SearchTab.PVTable[0];
  if (row[0].From == 0) return false;
  bool captures = false;
  for (int c = 0; c <= kMaxPly && row[c].From != 0 && !captures; ++c) captures = row[c].Kind % 10 == 1;
  return captures && (row[0].Kind % 10 != 1 || std::abs(score) > 31000);
}

ProblemFinding Probe(PositionState& g, int iniScore, int plies, const ProbeMode& mode) {
  ProblemFinding found;
  g.Eval.NoiseAmplitude = 5;
  const int rootPly = g.P.GamePly;
  g.Driver.GamePlyAtRoot = rootPly;
  ResetPly(g);
  int warm = 5;
  QuickSearchDepth(g, warm);
  GenerateLegalMoves(g);
  found.rootMoves = std::max(0, g.P.PlyStart[1] - g.P.PlyStart[0]);

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
    if (mode.command) {
      // The finding is the best move's as the search ends with it, whichever
      // root move it is.
      best = s;
      found.score = s;
      const std::string line = MainLineTextOf(g);
      if (g.Opt.ShowCalculation == 1) {
        g.Search.EngineOutputText = ScoreHead(s, iniScore, plies) + "\r\nMain: " + line;
        g.host->refresh(View::EngineOutput);
      }
      problem = CombinationLine(g, s) ? ScoreHead(s, iniScore, plies) + "   " + mode.head + " " + line : std::string();
      return;
    }
    if (firstMove) return;
    best = s;
    g.Search.EngineOutputText = ScoreHead(s, iniScore, plies);
    g.host->refresh(View::EngineOutput);
    ShowMainLinePV(g);
    const std::string& line = g.Log.MainLineText;
    if ((line.size() < 3 || line[2] != 'x') || std::abs(s) > 31000) {
      problem = ScoreHead(s, iniScore, plies) + "   " + g.Texts.DisplayMoveText + " " + line;
      if (problem.find('x') == std::string::npos) problem.clear();
    }
  };
  // ... and goes when the move is done.
  loop.moveDone = [&g, &mode](int, int, int, bool) {
    g.Eval.DrawnPosition = 0;
    if (mode.moveDone) mode.moveDone();
  };
  const RootLoopResult run = RunRootLoop(g, loop);
  found.depth = run.depth;
  found.stopped = run.interrupted;
  if (g.P.PlyStart[1] > g.P.PlyStart[0]) MoveString(g, g.P.PlyStart[0]);
  if (std::abs(best - iniScore) > 100 && !problem.empty()) {
    g.Driver.ProblemText += problem + "\r\n";
    ++g.Driver.ProblemCount;
    found.line = problem;
    g.host->refresh(View::ProblemText);
  }
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;
  return found;
}

}  // namespace

void ComputeHint(PositionState& g, int iniScore) {
  SetPhaseThresholds(g);
  if (g.Search.HintFrom > 0) {
    g.host->message(Icon::Information, "Hint", HeldHintText(g));
    return;
  }
  Probe(g, iniScore, g.PlyValue.PlyValuePlies, ProbeMode{});
}

ProblemFinding SearchPositionProblems(PositionState& g, int iniScore, int plies, const std::string& head,
                                      const std::function<void()>& moveDone) {
  SetPhaseThresholds(g);
  return Probe(g, iniScore, plies, ProbeMode{true, head, moveDone});
}

}  // namespace m8
