#include <gtest/gtest.h>

#include <random>

#include "core/engine/poskey.h"
#include "core/engine/search_fixture.h"
#include "core/engine/searchnode.h"
#include "core/rules/drawrules.h"

using namespace m8;
using m8::testing::SearchGame;
using m8::testing::StartSearchVariant;

TEST(PlacementKey, TextAndBoardGiveTheSameKey) {
  SearchGame t;
  GameState& g = *t.g;
  for (int side : {1, -1}) {
    EXPECT_EQ(PlacementKeyFromText(PositionKey(g.board, side)), PlacementKey(g.board, side));
    Board b = g.board;
    b[21] = 2;
    EXPECT_NE(PlacementKey(b, side), PlacementKey(g.board, side));
    EXPECT_EQ(PlacementKeyFromText(PositionKey(b, side)), PlacementKey(b, side));
  }
  // The side to move is part of the key.
  EXPECT_NE(PlacementKey(g.board, 1), PlacementKey(g.board, -1));
  // A text that is no key matches no board.
  EXPECT_NE(PlacementKeyFromText("21W"), PlacementKey(Board{}, 1));
  EXPECT_NE(PlacementKeyFromText("2x1W"), PlacementKeyFromText("W"));
  EXPECT_NE(PlacementKeyFromText("211"), PlacementKeyFromText("211W"));
  Board empty = DefaultStartBoard();
  for (int& v : empty)
    if (v != kOffBoard) v = 0;
  EXPECT_EQ(PlacementKeyFromText("B"), PlacementKey(empty, -1));
  EXPECT_NE(PlacementKeyFromText(""), PlacementKey(empty, 1));
}

// Random lines through several rule sets, including the rules that change
// pieces away from the move's own squares: after every move the search's key
// of the ply equals the key of the board.
TEST(PlacementKey, SearchMovesKeepTheKeyOfEveryPlyCurrent) {
  struct Case {
    const char* variant;
    void (*change)(RuleSet&);
  } cases[] = {
      {"American Checkers", nullptr},
      {"Russian Checkers", nullptr},
      {"Turkish Checkers", nullptr},
      {"American Checkers", [](RuleSet& r) { r.ManKing = 1; }},
      {"American Checkers", [](RuleSet& r) { r.KingMan = 1; }},
      {"American Checkers", [](RuleSet& r) { r.ChangeSide = 1; }},
  };
  std::mt19937 rng(11);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant);
    for (int game = 0; game < 8; ++game) {
      SearchGame t;
      std::string error;
      ASSERT_TRUE(StartSearchVariant(*t.g, c.variant, "", -1, &error)) << error;
      GameState& g = *t.g;
      if (c.change) c.change(g.Rules);
      ResetPly(g);
      SearchScope scope(g);
      int made[kMaxPly];
      int plies = 0;
      while (plies < 36) {
        GenerateLegalMoves(g);
        const int first = g.P.PlyStart[g.P.Ply], end = g.P.PlyStart[g.P.Ply + 1];
        if (first == end) break;
        const int i = first + static_cast<int>(rng() % static_cast<unsigned>(end - first));
        SearchMakeMove(g, i);
        made[plies++] = i;
        ASSERT_EQ(g.Search.PlyKey[g.P.Ply], PlacementKey(g.board, g.P.SideToMove)) << "ply " << g.P.Ply;
        ASSERT_EQ(g.Search.RepKeys[g.P.GamePly - 1], PlacementKey(g.board, g.P.SideToMove));
      }
      while (plies > 0) UnmakeMove(g, made[--plies]);
      EXPECT_EQ(g.Search.PlyKey[0], PlacementKey(g.board, g.P.SideToMove));
    }
  }
}
