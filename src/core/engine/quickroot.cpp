#include "core/engine/quickroot.h"

#include "core/engine/quicksearch.h"
#include "core/engine/rootloop.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

std::optional<int> ProbeRootMoveQuick(PositionState& g, int index, int rootGamePly, bool drawTest,
                                      std::optional<int> depth) {
  if (drawTest) g.SearchTab.PVTable[g.P.Ply][g.P.Ply].From = 0;
  if (!MakeMove(g, index)) return std::nullopt;
  if (drawTest) ApplyRootDrawRules(g, rootGamePly);
  int scratch = depth.value_or(0);
  const int s = depth ? QuickSearchDepth(g, scratch) : QuickSearch(g);
  UnmakeMove(g, index);
  return s;
}

void SearchHint(PositionState& g) {
  RootLoop loop;
  loop.iterations = g.Rules.PiecesOnBlack == 2 ? 1 : 2;
  loop.restoreWindowAfterFalseBetter = false;
  loop.probe = [&g](const RootProbe& p) {
    const bool drawTest = p.reason == ProbeReason::First;
    const int s = ProbeRootMoveQuick(g, p.index, g.Driver.GamePlyAtRoot, drawTest, std::nullopt).value_or(-kInfinity);
    // The draw mark of the first probe is not carried into the second.
    if (drawTest) g.Eval.DrawnPosition = 0;
    return s;
  };
  RunRootLoop(g, loop);
}

std::string HeldHintText(const PositionState& g) {
  // The separator names the kind of move: "6-15" is not the capture 6x15,
  // and a capture that ends where it began is "6x 6".
  const std::string sep = g.Search.HintCapture == 1 ? g.Texts.CaptureChar : std::string("-");
  return "Try " + SquareNotation(g, g.Search.HintFrom, 0) + sep + SquareNotation(g, g.Search.HintTo, 0);
}

}  // namespace m8
