#include <gtest/gtest.h>

#include "core/numtext.h"
#include "core/rules/notation.h"

using namespace m8;

namespace {
struct NotationCase {
  int notation, pob, cell, pad;
  const char* name;
};
}  // namespace

TEST(Notation, SquareNamesTable) {
  const NotationCase cases[] = {
      {0, 1, 21, 0, "a1"}, {0, 1, 98, 2, "h8"}, {0, 1, 92, 1, "b8"}, {0, 1, 22, 0, "b1"},
      {1, 1, 92, 0, " 1"}, {1, 1, 92, 1, "1"},  {1, 1, 92, 2, "01"}, {1, 1, 21, 0, "29"},
      {1, 1, 27, 1, "32"}, {1, 1, 91, 1, "1"},  {1, 1, 63, 0, "14"}, {1, 1, 63, 2, "14"},
      {2, 1, 63, 1, "14"}, {1, 0, 91, 0, " 1"}, {1, 2, 91, 1, "1"},  {1, 1, 999, 0, ""},
      {1, 1, 30, 0, "--"}, {1, 1, 20, 0, "--"}, {0, 0, 99, 0, "--"},
  };
  GameState g;
  for (const auto& c : cases) {
    g.Opt.Notation = c.notation;
    g.Rules.PiecesOnBlack = c.pob;
    EXPECT_EQ(SquareNotation(g, c.cell, c.pad), c.name) << c.cell << " notation " << c.notation;
  }
}

TEST(Notation, SquareNumberTable) {
  struct Case { int notation, pob; const char* text; int cell; } cases[] = {
      {1, 1, "1", 92}, {1, 0, "1", 91}, {1, 1, "32", 27}, {1, 0, "32", 28}, {1, 1, "5", 81},
      {1, 0, "5", 82}, {1, 1, "0", 0},  {1, 1, "33", 0},  {1, 1, "", 0},    {1, 1, " 9", 72},
      {1, 2, "1", 92}, {1, 1, "5x", 81}, {0, 1, "B8", 92}, {0, 1, "b8", 0},  {0, 1, "I1", 0},
      {0, 1, "A9", 0}, {0, 1, "A", 0},   {0, 1, "A1xyz", 21}, {0, 1, "H8", 98}, {0, 1, "A0", 0},
  };
  GameState g;
  for (const auto& c : cases) {
    g.Opt.Notation = c.notation;
    g.Rules.PiecesOnBlack = c.pob;
    EXPECT_EQ(SquareNumber(g, c.text), c.cell) << "'" << c.text << "' notation " << c.notation;
  }
}

TEST(Notation, RoundTripEveryPlayableCell) {
  GameState g;
  for (int notation : {0, 1})
    for (int pob : {0, 1, 2}) {
      g.Opt.Notation = notation;
      g.Rules.PiecesOnBlack = pob;
      for (int cell = 21; cell <= 98; ++cell) {
        if (cell % 10 == 0 || cell % 10 == 9) continue;
        IsPlayableSquare(g, cell);
        if (!g.SquareIsPlayable) continue;
        // With all 64 squares in play numbered names name pairs of cells; the
        // number reads back as the standard-colour cell.
        int want = cell;
        if (notation == 1 && pob == 2 && (cell / 10 + cell % 10) % 2 == 0) continue;
        for (int pad : {0, 1, 2})
          EXPECT_EQ(SquareNumber(g, ToUpper(SquareNotation(g, cell, pad))), want)
              << cell << " notation " << notation << " pob " << pob << " pad " << pad;
      }
    }
}

TEST(Notation, MoveStrings) {
  GameState g;
  g.Opt.Notation = 0;
  MoveRecord place;
  place.From = kNoSquare;
  place.To = 43;
  MoveString(g, place);
  EXPECT_EQ(g.Texts.MoveText, "c3");
  EXPECT_EQ(g.Texts.CaptureSquaresText, "c3");
  EXPECT_EQ(g.Texts.DisplayMoveText, "c3");

  MoveRecord cap;
  cap.From = 23;
  cap.To = 45;
  cap.CapturedCount = 1;
  cap.CapturedCell[0] = 34;
  cap.CapturedValue[0] = 1;
  MoveString(g, cap);
  EXPECT_EQ(g.Texts.MoveText, "c1xe3");
  EXPECT_EQ(g.Texts.CaptureSquaresText, "c1e3");
  g.Texts.CaptureChar = ":";
  MoveString(g, cap);
  EXPECT_EQ(g.Texts.DisplayMoveText, "c1:e3");
  std::string list = cap.CaptureListText();
  ASSERT_EQ(list.size(), 50u);
  EXPECT_EQ(list.substr(0, 4), std::string("0134"));
  EXPECT_EQ(list[4], '\0');

  g.Opt.Notation = 1;
  MoveRecord crown;
  crown.From = 83;
  crown.To = 92;
  crown.Crown = 2;
  MoveString(g, crown);
  EXPECT_EQ(g.Texts.MoveText, " 6- 1K");
  EXPECT_EQ(g.Texts.DisplayMoveText, "6-1K");
  EXPECT_EQ(g.Texts.CaptureSquaresText, " 6 1");
}

TEST(Notation, SetupStringAndPlayableSquares) {
  GameState g;
  EXPECT_EQ(BoardToSetupString(g), "1010101001010101101010100000000000000000020202022020202002020202");
  struct Case { int pob, cell, playable, correction; } cases[] = {
      {1, 21, 1, 0}, {1, 22, 0, -1}, {1, 31, 0, 1}, {0, 21, 0, 1}, {0, 22, 1, 0}, {0, 31, 1, 0},
      {0, 32, 0, -1}, {2, 22, 0, -1},
  };
  for (const auto& c : cases) {
    g.Rules.PiecesOnBlack = c.pob;
    EXPECT_EQ(IsPlayableSquare(g, c.cell), c.correction) << c.cell;
    EXPECT_EQ(g.SquareIsPlayable, c.playable) << c.cell;
  }
}
