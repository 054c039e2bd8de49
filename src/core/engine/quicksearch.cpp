#include "core/engine/quicksearch.h"

#include "core/engine/searchnode.h"

namespace m8 {

namespace {

bool FamilyInForce(const PositionState& g) {
  return g.Eval.StandardRuleSet >= 1 && g.Eval.StandardRuleSet <= 4;
}

}  // namespace

int QuickSearch(PositionState& g) {
  SearchScope scope(g);
  int alpha = -kInfinity;
  int depth = FamilyInForce(g) ? 1 : (g.Rules.PiecesOnBlack == 2 ? 2 : 3);
  return -RunNode(g, ChooseQuickNode(g), alpha, kInfinity, depth);
}

int QuickSearchDepth(PositionState& g, int& depth) {
  SearchScope scope(g);
  int alpha = -kInfinity;
  if (FamilyInForce(g)) return -RunNode(g, ChooseQuickNode(g), alpha, kInfinity, depth);
  int copy = g.Rules.PiecesOnBlack == 2 ? depth - 1 : depth;
  return -RunNode(g, NodeMember::QuickAlphaBeta, alpha, kInfinity, copy);
}

}  // namespace m8
