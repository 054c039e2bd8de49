#include <gtest/gtest.h>

#include "core/engine/mainline.h"
#include "core/engine/quickroot.h"
#include "core/engine/quicksearch.h"
#include "core/engine/search_fixture.h"
#include "core/engine/searchnode.h"
#include "core/numtext.h"
#include "core/rules/notation.h"

using namespace m8;
using m8::testing::Digits;
using m8::testing::SearchGame;

namespace {

// Writes a line into row 0 of the line table from numbered squares.
void SetLine(GameState& g, std::initializer_list<PVEntry> moves) {
  auto& row = g.SearchTab.PVTable[0];
  int c = 0;
  for (const PVEntry& e : moves) row[c++] = e;
  if (c <= kMaxPly) row[c] = PVEntry{};
}

int Sq(const GameState& g, const char* name) { return SquareNumber(g, name); }

}  // namespace

TEST(MainLine, ShowsTheLineUnderTheProgressLineAndKeepsTheHint) {
  SearchGame t;
  GameState& g = *t.g;
  g.Opt.Notation = 1;
  SetLine(g, {{0, Sq(g, "11"), Sq(g, "15")}, {0, Sq(g, "22"), Sq(g, "18")},
              {1, Sq(g, "15"), Sq(g, "22")}});
  g.Search.EngineOutputText = "Depth: 3   Best: 11-15   Score: 12";
  t.host->refreshed.clear();
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "11-15 22-18 15x22 ");
  EXPECT_EQ(g.Search.EngineOutputText, "Depth: 3   Best: 11-15   Score: 12\r\nMain: 11-15 22-18 15x22 ");
  EXPECT_EQ(g.Search.HintFrom, Sq(g, "22"));
  EXPECT_EQ(g.Search.HintTo, Sq(g, "18"));
  ASSERT_FALSE(t.host->refreshed.empty());
  EXPECT_EQ(t.host->refreshed.back(), View::EngineOutput);

  // The ply value table window gets the line after the move examined.
  g.Texts.DisplayMoveText = "9-14";
  g.Search.PlyValueOutputText = "Ply 1";
  ShowMainLinePV(g);
  EXPECT_EQ(g.Search.PlyValueOutputText, "Ply 1\r\n9-14 11-15 22-18 15x22 ");
}

TEST(MainLine, EdgeCasesOfTheLine) {
  SearchGame t;
  GameState& g = *t.g;
  g.Opt.Notation = 1;
  g.Search.HintFrom = 7;
  g.Search.HintTo = 8;
  // An empty line: only the head, the hint stays.
  SetLine(g, {});
  g.Search.EngineOutputText = "x";
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "");
  EXPECT_EQ(g.Search.EngineOutputText, "x\r\nMain: ");
  EXPECT_EQ(g.Search.HintFrom, 7);
  // One move: shown, the hint stays.
  SetLine(g, {{10, Sq(g, "27"), Sq(g, "32")}});
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "27-32K ");
  EXPECT_EQ(g.Search.HintFrom, 7);
  // A crowning capture and a placement.
  SetLine(g, {{11, Sq(g, "23"), Sq(g, "30")}, {0, kNoSquare, Sq(g, "9")}});
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "23x30K 9 ");
  EXPECT_EQ(g.Search.HintFrom, kNoSquare);
  // Without the calculation shown: no text, but the hint is set.
  g.Opt.ShowCalculation = 0;
  g.Search.EngineOutputText = "kept";
  SetLine(g, {{0, Sq(g, "11"), Sq(g, "15")}, {0, Sq(g, "22"), Sq(g, "17")}});
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "");
  EXPECT_EQ(g.Search.EngineOutputText, "kept");
  EXPECT_EQ(g.Search.HintTo, Sq(g, "17"));
  g.Opt.ShowCalculation = 1;
  // A full row: 20 moves shown, the walk ends after entry 40.
  auto& row = g.SearchTab.PVTable[0];
  for (int c = 0; c <= kMaxPly; ++c) row[c] = PVEntry{0, Sq(g, c % 2 ? "22" : "11"), Sq(g, "15")};
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText.size(), 20u * 6u);
  // Algebraic names in lower case, the capture character of the options.
  g.Opt.Notation = 0;
  g.Texts.CaptureChar = ":";
  SetLine(g, {{1, 43, 65}});
  ShowMainLine(g);
  EXPECT_EQ(g.Log.MainLineText, "c3:e5 ");
}

// The reply the line expects is offered as a hint with its separator: a
// capture is not named as the move without capture between the same squares,
// nor a capture that ends where it began as a move that goes nowhere.
// Russian rules with optional capture: after White's 12-8 the black king on
// 6 (c7) goes to 15 straight down, takes four pieces on its way round to 15,
// or goes round back to 6.
TEST(MainLine, TheHintNamesTheExpectedReplyByItsSeparator) {
  struct Case {
    const char* reply;
    const char* hint;
  } cases[] = {{"6-15", "Try  6-15"}, {"6x15", "Try  6x15"}, {"6x6", "Try  6x 6"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    SearchGame t;
    GameState& g = *t.g;
    t.Setup("1000001002000102000000000302010000000040010002030040200002020000", 1, 4,
            [](RuleSet& r) { r.CapRequired = 0; });
    g.Opt.Notation = 1;
    // The line as the search leaves it: the reply's entry at ply 1, then
    // White's move in front of it at ply 0.
    const auto find = [&g](const char* listed) {
      GenerateLegalMoves(g);
      for (int k = g.P.PlyStart[g.P.Ply]; k < g.P.PlyStart[g.P.Ply + 1]; ++k) {
        MoveString(g, k);
        if (Trim(g.Texts.DisplayMoveText) == listed) return k;
      }
      ADD_FAILURE() << listed << " is not a legal move";
      return -1;
    };
    const int white = find("12-8");
    ASSERT_TRUE(MakeMove(g, white));
    const int reply = find(c.reply);
    ASSERT_GE(reply, 0);
    UpdatePV(g, reply);
    ASSERT_TRUE(UnmakeMove(g, white));
    UpdatePV(g, white);
    ShowMainLine(g);
    EXPECT_EQ(HeldHintText(g), c.hint);
  }
}

TEST(QuickSearch, DepthByFamilyAndScoreFromTheOtherSide) {
  const std::string position = Digits({{54, '1'}, {32, '1'}, {76, '2'}, {87, '2'}, {65, '4'}});
  // The generic family searches three plies and negates the quick node.
  {
    SearchGame t;
    t.Setup(position, 1);
    GameState& g = *t.g;
    int alpha = -kInfinity, depth = 3;
    int expected;
    {
      SearchScope scope(g);
      expected = -QuickAlphaBeta(g, alpha, kInfinity, depth);
    }
    EXPECT_EQ(QuickSearch(g), expected);
    int d = 3;
    EXPECT_EQ(QuickSearchDepth(g, d), expected);
    EXPECT_EQ(d, 3);  // the generic node works on a copy
  }
  // A family looks one ply deep.
  {
    SearchGame t;
    t.Setup(position, 1, 1);
    GameState& g = *t.g;
    int alpha = -kInfinity, depth = 1;
    int expected;
    {
      SearchScope scope(g);
      expected = -QuickAlphaBeta1(g, alpha, kInfinity, depth);
    }
    EXPECT_EQ(QuickSearch(g), expected);
  }
  // The losing game: the side to move without a move has won.
  {
    SearchGame t;
    t.Setup(Digits({{21, '1'}, {32, '2'}, {43, '2'}, {87, '2'}}), 1, 0,
            [](RuleSet& r) { r.AntiMode = 1; });
    EXPECT_EQ(QuickSearch(*t.g), -31999);
  }
}
