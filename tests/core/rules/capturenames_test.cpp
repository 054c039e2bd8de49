// Captures that share their start and end square with a capture of other
// pieces: their texts name every landing square, and a text names exactly
// one move or none.
#include <gtest/gtest.h>

#include <set>

#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "movegen_fixture.h"

using namespace m8;
using namespace m8::testing;

namespace {

// American: white men a1 and c3, black men b4, d4, b6, d6 and h8, white to
// move. c3 reaches c7 over b4 and b6 (landing on a5) or over d4 and d6
// (landing on e5).
constexpr const char* kTwoRoutes = "w:a1 w:c3 b:b4 b:d4 b:b6 b:d6 b:h8";

std::set<std::string> MoveTexts(GameState& g, int notation) {
  g.Opt.Notation = notation;
  GenerateLegalMoves(g);
  std::set<std::string> texts;
  for (int k = g.P.PlyStart[0]; k < g.P.PlyStart[1]; ++k) {
    MoveString(g, k);
    texts.insert(g.Texts.MoveText + " | " + g.Texts.DisplayMoveText + " | " + g.Texts.CaptureSquaresText);
  }
  return texts;
}

TEST(CaptureNames, SameStartAndEndNameTheLandingSquares) {
  auto g = NewGame(RuleSet{});
  PlacePieces(*g, kTwoRoutes, 1);
  EXPECT_EQ(MoveTexts(*g, 0),
            (std::set<std::string>{"c3xa5xc7 | c3xa5xc7 | c3a5c7", "c3xe5xc7 | c3xe5xc7 | c3e5c7"}));
  EXPECT_EQ(MoveTexts(*g, 1),
            (std::set<std::string>{"22x13x6 | 22x13x6 | 2213 6", "22x15x6 | 22x15x6 | 2215 6"}));
  g->Texts.CaptureChar = ":";
  EXPECT_EQ(MoveTexts(*g, 0),
            (std::set<std::string>{"c3:a5:c7 | c3:a5:c7 | c3a5c7", "c3:e5:c7 | c3:e5:c7 | c3e5c7"}));

  // Without d6 the two captures end apart: both keep their short texts.
  auto h = NewGame(RuleSet{});
  PlacePieces(*h, "w:a1 w:c3 b:b4 b:d4 b:b6 b:h8", 1);
  EXPECT_EQ(MoveTexts(*h, 0), (std::set<std::string>{"c3xc7 | c3xc7 | c3c7", "c3xe5 | c3xe5 | c3e5"}));
  EXPECT_EQ(MoveTexts(*h, 1), (std::set<std::string>{"22x 6 | 22x6 | 22 6", "22x15 | 22x15 | 2215"}));
}

TEST(CaptureNames, ShortTextNamingTwoCapturesPlaysNothing) {
  for (int notation : {0, 1}) {
    auto g = NewGame(RuleSet{});
    PlacePieces(*g, kTwoRoutes, 1);
    g->Opt.Notation = notation;
    const Board before = g->board;
    const std::string shortText = notation == 0 ? "C3C7" : "22 6";
    EXPECT_FALSE(PlayMoveString(*g, shortText)) << notation;
    EXPECT_EQ(g->board, before);
    EXPECT_EQ(g->P.GamePly, 0);
    EXPECT_EQ(MovesNamedBy(*g, shortText).size(), 2u);
    // Files written before the full texts: the first of them.
    EXPECT_TRUE(PlayMoveString(*g, shortText, /*firstOfSeveral=*/true));
  }
}

TEST(CaptureNames, FullTextPlaysExactlyThatCapture) {
  struct Case {
    int notation;
    const char* text;
    const char* taken1;
    const char* taken2;
  } cases[] = {
      {0, "C3E5C7", "d4", "d6"},
      {0, "C3A5C7", "b4", "b6"},
      {1, "2215 6", "d4", "d6"},
      {1, "2213 6", "b4", "b6"},
  };
  for (const Case& c : cases) {
    auto g = NewGame(RuleSet{});
    PlacePieces(*g, kTwoRoutes, 1);
    g->Opt.Notation = c.notation;
    ASSERT_TRUE(PlayMoveString(*g, c.text)) << c.text;
    EXPECT_EQ(g->board[Cell("c7")], 1) << c.text;
    EXPECT_EQ(g->board[Cell(c.taken1)], 0) << c.text;
    EXPECT_EQ(g->board[Cell(c.taken2)], 0) << c.text;
    EXPECT_EQ(g->P.PlayedCapture, 1);
    EXPECT_EQ(g->Texts.FullPath, 1);
    // The other two black men are still there.
    int black = 0;
    for (int cell : {Cell("b4"), Cell("d4"), Cell("b6"), Cell("d6")}) black += g->board[cell] == -1;
    EXPECT_EQ(black, 2) << c.text;
  }
  // A path that is no legal route, or has the wrong number of squares.
  for (const char* text : {"C3C5C7", "C3E5", "C3A5B6C7", "C3E5C7E5", "C3E5Z7"}) {
    auto g = NewGame(RuleSet{});
    PlacePieces(*g, kTwoRoutes, 1);
    g->Opt.Notation = 0;
    EXPECT_FALSE(PlayMoveString(*g, text)) << text;
    EXPECT_EQ(g->P.GamePly, 0) << text;
  }
}

// A flying king: another program may name a landing square of its own
// choosing on a leg; any square of that leg names the same capture.
TEST(CaptureNames, FlyingKingPathsMatchAnyLandingOfTheLeg) {
  auto g = NewGame(RussianRules());
  // The king on a1 takes c3 and f6 along the long diagonal, landing on d4 or
  // e5 between them, and stops on g7 (h8 stands behind).
  PlacePieces(*g, "W:a1 b:c3 b:f6 b:h8", 1);
  g->Opt.Notation = 0;
  GenerateLegalMoves(*g);
  ASSERT_EQ(PlyTexts(*g), (std::vector<std::string>{"a1:g7(c3,f6)"}));
  const MoveRecord& m = g->P.MoveList[g->P.PlyStart[0]];
  for (const char* middle : {"d4", "e5"}) {
    const std::vector<int> path{Cell("a1"), Cell(middle), Cell("g7")};
    EXPECT_TRUE(PathNamesCapture(m, path)) << middle;
  }
  // Legs that pass over no piece, or over two, name nothing.
  for (const auto& path : {std::vector<int>{Cell("a1"), Cell("b2"), Cell("g7")},
                           std::vector<int>{Cell("a1"), Cell("g7"), Cell("g7")},
                           std::vector<int>{Cell("a1"), Cell("g7")}})
    EXPECT_FALSE(PathNamesCapture(m, path));
  EXPECT_TRUE(PlayMoveString(*g, "A1E5G7"));
  EXPECT_EQ(g->board[Cell("g7")], 2);
}

TEST(CaptureNames, RecordWithoutItsRouteStillHasAPath) {
  MoveRecord m;
  m.From = 43;  // c3
  m.To = 83;    // c7
  m.CapturedCount = 2;
  m.CapturedCell[0] = 54;  // d4
  m.CapturedCell[1] = 74;  // d6
  m.CapturedValue[0] = m.CapturedValue[1] = 1;
  EXPECT_EQ(CapturePath(m), (std::vector<int>{43, 65, 83}));
  const std::vector<int> path{43, 65, 83};
  EXPECT_TRUE(PathNamesCapture(m, path));
}

// An orthogonal flying king whose last leg crosses the square of the piece
// it took first (captured pieces leave the board at once).
TEST(CaptureNames, LegMayCrossASquareTakenBefore) {
  MoveRecord m;
  m.From = Cell("a3");
  m.To = Cell("c2");
  m.CapturedCount = 4;
  const char* taken[] = {"c3", "e5", "d6", "c4"};
  for (int i = 0; i < 4; ++i) {
    m.CapturedCell[i] = static_cast<uint8_t>(Cell(taken[i]));
    m.CapturedValue[i] = 1;
  }
  const std::vector<int> path{Cell("a3"), Cell("e3"), Cell("e6"), Cell("c6"), Cell("c2")};
  EXPECT_TRUE(PathNamesCapture(m, path));
  // A crossing counts only for a piece taken before: two untaken pieces on
  // one leg, or a leg that is no straight line, name nothing.
  const std::vector<int> twoOnALeg{Cell("a3"), Cell("e3"), Cell("e6"), Cell("c6"), Cell("c2")};
  MoveRecord other = m;
  other.CapturedCell[2] = static_cast<uint8_t>(Cell("c5"));  // c5 and c4 on the last leg
  EXPECT_FALSE(PathNamesCapture(other, twoOnALeg));
  const std::vector<int> bent{Cell("a3"), Cell("e3"), Cell("e6"), Cell("b6"), Cell("c2")};
  EXPECT_FALSE(PathNamesCapture(m, bent));
}

}  // namespace
