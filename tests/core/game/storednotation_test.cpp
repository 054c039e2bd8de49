#include "core/game/storednotation.h"

#include "core/rules/notation.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

struct Stored {
  const char* entry;
  int from;  // kNoSquare for a placement
  int crown;
};

void Store(GameState& g, std::initializer_list<Stored> plies) {
  int n = 0;
  for (const Stored& s : plies) {
    ++n;
    g.Game.GameRecord[(n + 1) / 2][n % 2 == 1 ? 0 : 1] = s.entry;
    g.Game.GameMoves[n].From = s.from;
    g.Game.GameMoves[n].Crown = s.crown;
  }
  g.Game.GameLength = n;
  g.P.GamePly = n;
}

const std::string& Entry(const GameState& g, int n) { return g.Game.GameRecord[(n + 1) / 2][n % 2 == 1 ? 0 : 1]; }

TEST(StoredNotation, RewritesEveryPlyBothWays) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.Notation = 0;
  Store(g, {{"c3d4 c3-d4", 43, 0}, {"c3e5 c3xe5", 43, 0}, {"e7f8 e7-f8K", 85, 2}, {"d4 d4", kNoSquare, 0}});
  g.P.GamePly = 3;
  ConvertStoredNotation(g, 1);
  EXPECT_EQ(g.Opt.Notation, 1);
  EXPECT_EQ(Entry(g, 1), "2218 22-18");
  EXPECT_EQ(Entry(g, 2), "2215 22x15");
  EXPECT_EQ(Entry(g, 3), " 7 3  7- 3");
  EXPECT_EQ(Entry(g, 4), "18 18");
  ASSERT_EQ(g.Driver.MoveListCount, 4);
  EXPECT_EQ(g.Driver.MoveListLines[0], "   1. 22-18");
  EXPECT_EQ(g.Driver.MoveListLines[1], "      22x15");
  EXPECT_EQ(g.Driver.MoveListLines[2], "   2.  7- 3K");
  EXPECT_EQ(g.Driver.MoveListLines[3], "      18");
  EXPECT_EQ(g.Driver.MoveListSelected, 2);

  ConvertStoredNotation(g, 0);
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_EQ(Entry(g, 1), "c3d4 c3-d4");
  EXPECT_EQ(Entry(g, 2), "c3e5 c3xe5");
  EXPECT_EQ(Entry(g, 3), "e7f8 e7-f8");
  EXPECT_EQ(Entry(g, 4), "d4 d4");
  // The crowning mark stays in the list however often the notation changes.
  EXPECT_EQ(g.Driver.MoveListLines[2], "   2. e7-f8K");
}

// A capture written with its landing squares (another capture shared its
// start and end square) keeps every square in the other notation.
TEST(StoredNotation, CaptureNamedByItsLandingSquaresKeepsThemAll) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.Notation = 0;
  Store(g, {{"c3e5c7 c3xe5xc7", 43, 0}, {"h8g7 h8-g7", 98, 0}});
  MoveRecord& m = g.Game.GameMoves[1];
  m.To = 83;
  m.CapturedCount = 2;
  m.CapturedCell[0] = 54;
  m.CapturedCell[1] = 74;
  m.FullPath = 1;
  ConvertStoredNotation(g, 1);
  EXPECT_EQ(Entry(g, 1), "2215 6 22x15x6");
  EXPECT_EQ(Entry(g, 2), " 4 8  4- 8");
  EXPECT_EQ(g.Driver.MoveListLines[0], "   1. 22x15x6");
  ConvertStoredNotation(g, 0);
  EXPECT_EQ(Entry(g, 1), "c3e5c7 c3xe5xc7");
  EXPECT_EQ(g.Driver.MoveListLines[0], "   1. c3xe5xc7");
}

TEST(StoredNotation, MoveNumbersRightAlignedAndEmptyGame) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.Notation = 0;
  g.Driver.LegalMoveLines = {"x"};
  g.Driver.RootScoreLines = {"y"};
  ConvertStoredNotation(g, 1);  // nothing stored
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_TRUE(g.Driver.LegalMoveLines.empty());
  EXPECT_TRUE(g.Driver.RootScoreLines.empty());
  EXPECT_EQ(g.Driver.MoveListCount, 0);

  for (int n = 1; n <= 200; ++n) {
    g.Game.GameRecord[(n + 1) / 2][n % 2 == 1 ? 0 : 1] = "c3d4 c3-d4";
    g.Game.GameMoves[n].From = 43;
  }
  g.Game.GameLength = 200;
  ConvertStoredNotation(g, 1);
  ASSERT_EQ(g.Driver.MoveListCount, 200);
  EXPECT_EQ(g.Driver.MoveListLines[18], "  10. 22-18");
  EXPECT_EQ(g.Driver.MoveListLines[198], " 100. 22-18");
  EXPECT_EQ(g.Driver.MoveListLines[199], "      22-18");
}

TEST(StoredNotation, NotationCommands) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.Notation = 1;
  Store(g, {{"2218 22-18", 43, 0}});
  EXPECT_TRUE(SelectNotation(g, 2));  // None: numbers stay
  EXPECT_EQ(g.Opt.Notation, 2);
  EXPECT_EQ(Entry(g, 1), "2218 22-18");
  EXPECT_TRUE(SelectNotation(g, 1));  // None -> Numeric converts nothing
  EXPECT_EQ(Entry(g, 1), "2218 22-18");
  EXPECT_TRUE(SelectNotation(g, 0));
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_EQ(Entry(g, 1), "c3d4 c3-d4");
  EXPECT_FALSE(g.Driver.LegalMoveLines.empty());
  EXPECT_TRUE(SelectNotation(g, 2));  // None from letters: numbers stored
  EXPECT_EQ(Entry(g, 1), "2218 22-18");
  EXPECT_EQ(g.Opt.Notation, 2);

  g.Rules.PiecesOnBlack = 2;
  g.Opt.Notation = 0;
  EXPECT_FALSE(SelectNotation(g, 1));
  EXPECT_EQ(g.Opt.Notation, 0);

  // Every square in play: numbers cannot name b1 or b2, so the texts stay
  // in letters under None, and so do the names of new moves.
  Store(g, {{"b1b2 b1-b2", 22, 0}});
  EXPECT_TRUE(SelectNotation(g, 2));
  EXPECT_EQ(g.Opt.Notation, 2);
  EXPECT_EQ(Entry(g, 1), "b1b2 b1-b2");
  EXPECT_EQ(SquareNotation(g, 32, 0), "b2");
  EXPECT_EQ(SquareNumber(g, "B2"), 32);
  EXPECT_TRUE(SelectNotation(g, 0));
  EXPECT_EQ(Entry(g, 1), "b1b2 b1-b2");
}

}  // namespace
}  // namespace m8::gameflow_test
