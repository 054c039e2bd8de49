// The generators of the four built-in rule sets against GenerateMoves under
// the same rules, at every position of random games and two plies below.
#include <gtest/gtest.h>

#include <random>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"

namespace m8 {
namespace {

using namespace m8::testing;

RuleSet StandardSet(int set) {
  RuleSet r;  // set 1: American
  if (set == 2) {  // men do not take kings, majority, king first, most kings
    r.MaxCapMove = r.MaxCapMoveKings = r.KingCapMove = 1;
    r.ManCapKing = 0;
    r.PiecesOnBlack = 0;
    r.BlackStarts = 0;
    r.PromoSquares[0] = {91, 93, 95, 97, -1, -1, -1, -1, -1, -1, -1, -1};
    r.PromoSquares[1] = {22, 24, 26, 28, -1, -1, -1, -1, -1, -1, -1, -1};
  } else if (set >= 3) {
    r = RussianRules();
    r.ManContJumpCrowned = set == 4 ? 1 : 0;
    r.MaxCapMove = set == 3 ? 1 : 0;
  }
  return r;
}

using Fn = bool (*)(PositionState&, int);

struct Differ {
  GameState& g;
  Fn fixed;
  int failures = 0;
  uint64_t nodes = 0;

  void Compare(int depth) {
    ++nodes;
    for (int mode : {0, 1, -1}) {
      const Board before = g.board;
      ASSERT_TRUE(GenerateMoves(g, mode));
      const auto generic = PlyTexts(g);
      ASSERT_TRUE(fixed(g, mode));
      const auto mine = PlyTexts(g);
      EXPECT_EQ(g.board, before);
      if (mine != generic && ++failures <= 3)
        ADD_FAILURE() << "mode " << mode << " game ply " << g.P.GamePly << ": " << ::testing::PrintToString(mine)
                      << " vs " << ::testing::PrintToString(generic);
    }
    if (depth == 0) return;
    GenerateLegalMoves(g);
    const int first = g.P.PlyStart[g.P.Ply], end = g.P.PlyStart[g.P.Ply + 1];
    for (int k = first; k < end; ++k) {
      MakeMove(g, k);
      Compare(depth - 1);
      UnmakeMove(g, k);
    }
  }
};

TEST(FixedRuleGenerators, AgreeWithGenerateMovesOverRandomGames) {
  const Fn fixed[] = {nullptr, &GenerateMoves1, &GenerateMoves2, &GenerateMoves3, &GenerateMoves4};
  for (int set = 1; set <= 4; ++set) {
    SCOPED_TRACE("rule set " + std::to_string(set));
    auto g = NewGame(StandardSet(set));
    g->Tables.ItalianCaptureOrder = set == 2 ? 1 : 0;  // the Italian set's own rule
    Differ d{*g, fixed[set]};
    const Board start = g->board;
    const int side = g->P.SideToMove;
    std::mt19937 rng(set);
    for (int game = 0; game < 8 && d.failures == 0; ++game) {
      g->board = start;
      g->P.SideToMove = side;
      g->P.Ply = g->P.GamePly = 0;
      for (int ply = 0; ply < 200 && d.failures == 0; ++ply) {
        d.Compare(ply % 4 == 0 ? 2 : 0);
        GenerateLegalMoves(*g);
        const int first = g->P.PlyStart[0], end = g->P.PlyStart[1];
        if (first == end) break;
        MakeMove(*g, first + static_cast<int>(rng() % static_cast<unsigned>(end - first)));
        ResetPly(*g);
      }
    }
    EXPECT_EQ(d.failures, 0);
    EXPECT_GT(d.nodes, 1000u);
  }
}

}  // namespace
}  // namespace m8
