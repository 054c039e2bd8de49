#include "core/engine/plyvaluesearch.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/quickroot.h"
#include "core/engine/rootloop.h"
#include "core/engine/searchnode.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

constexpr const char* kEol = "\r\n";

std::string LeftAligned(const std::string& s, size_t width) {
  return s.size() < width ? s + std::string(width - s.size(), ' ') : s;
}

std::string RightAligned(const std::string& s, size_t width) {
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

std::string Bare(int64_t v) { return std::to_string(v); }

}  // namespace

void SwapRows(PlyValueState& pv, int i, int j) {
  std::swap(pv.PlyValues[i], pv.PlyValues[j]);
  std::swap(pv.PlyValueMoves[i], pv.PlyValueMoves[j]);
  std::swap(pv.PlyValueDiff[i], pv.PlyValueDiff[j]);
  std::swap(pv.PlyValueTime[i], pv.PlyValueTime[j]);
  std::swap(pv.PlyValueLines[i], pv.PlyValueLines[j]);
  std::swap(pv.PlyValueMarks[i], pv.PlyValueMarks[j]);
}

void PlyValueSearchOne(PositionState& g, int row) {
  auto& pv = g.PlyValue;
  const int rootPly = g.P.GamePly;
  g.Driver.GamePlyAtRoot = rootPly;
  ResetPly(g);
  GenerateLegalMoves(g);
  const double t0 = g.host->monotonicSeconds();
  const int plies = pv.PlyValuePlies;
  const int first = g.P.PlyStart[0];
  const int n = g.P.PlyStart[1] - first;

  int lastScore = 0, best = 0, stored = 0;
  std::string scoreLine, mainLine;
  RootLoop loop;
  loop.iterations = plies;
  loop.restoreWindowAfterFalseBetter = false;
  // Every probe applies the draw rules and drops their mark after it.
  loop.probe = [&](const RootProbe& p) {
    const std::optional<int> s = ProbeRootMoveQuick(g, p.index, rootPly, true, p.depth - 1);
    if (!s) return 0;
    lastScore = *s;
    g.Eval.DrawnPosition = 0;
    return lastScore;
  };
  // A stop cuts a probe short only while alpha lies within +-30000: with the
  // open window of the first move, or beside a won or lost score, the move is
  // finished first.
  loop.cutShort = [&g](int alpha) { return g.P.SearchAborted != 0 && std::abs(alpha) < 30001; };
  loop.newBest = [&](int, int, int s, bool) {
    best = s;
    g.Search.PlyValueOutputText =
        "Score:" + SignedText(s) + "   iniScore:" + SignedText(row) + "   Depth:" + SignedText(plies);
    ShowMainLinePV(g);
    const std::string line = g.Texts.DisplayMoveText + " " + g.Log.MainLineText;
    scoreLine = "Score:" + SignedText(s) + "   Depth:" + SignedText(plies) + "   " + line;
    if (scoreLine.find('x') == std::string::npos) scoreLine.clear();
    mainLine = line;
  };
  loop.iterationDone = [&](int d) {
    pv.PlyValues[row][d] = best;
    stored = d;
    return true;
  };
  RunRootLoop(g, loop);

  const double t1 = g.host->monotonicSeconds();
  // Without a second depth there is nothing to compare with.
  pv.PlyValueDiff[row] = stored >= 2 ? pv.PlyValues[row][stored] - pv.PlyValues[row][2] : 0;
  pv.PlyValueLines[row] = mainLine;
  pv.PlyValueTime[row] = RoundHalfEven(t1 - t0);
  if (n > 0) MoveString(g, first);
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;

  const std::string& line = g.Log.MainLineText;
  const auto xs = std::count_if(line.begin(), line.end(), [](char c) { return c == 'x' || c == 'X'; });
  pv.PlyValueMarks[row] = (std::abs(pv.PlyValueDiff[row]) > 100 && !scoreLine.empty()) || xs % 2 == 1 ||
                                  std::abs(lastScore) > 31000
                              ? 1
                              : 0;
  g.host->refresh(View::PlyValueOutput);
}

std::string PlyValueTableText(const PositionState& g) { return PlyValueTableText(g, 120, false); }

std::string PlyValueTableText(const PositionState& g, int ruleLength, bool flaggedOnly) {
  const auto& pv = g.PlyValue;
  const int plies = pv.PlyValuePlies;
  std::string t = "  No      MOVE   ";
  for (int d = 1; d <= plies; ++d) t += "PLY" + SignedText(d) + "    ";
  t += " Diff     Time   ";
  t += kEol + std::string(std::max(0, ruleLength), '-') + kEol;
  const int rows = std::min<int>(pv.PlyValueRows, static_cast<int>(pv.PlyValues.size()));
  int printed = 0;
  for (int r = 0; r < rows; ++r) {
    if (flaggedOnly && pv.PlyValueMarks[r] != 1) continue;
    t += RightAligned(SignedText(++printed), 4) + ".    " + pv.PlyValueMoves[r] + "    ";
    for (int d = 1; d <= plies && d < static_cast<int>(pv.PlyValues[r].size()); ++d)
      t += LeftAligned(Bare(pv.PlyValues[r][d]), 9);
    t += " " + LeftAligned(Bare(pv.PlyValueDiff[r]), 9) + LeftAligned(Bare(pv.PlyValueTime[r]), 8) +
         pv.PlyValueLines[r] + kEol;
  }
  return t;
}

}  // namespace m8
