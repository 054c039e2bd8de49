#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/rules/movement.h"

using namespace m8;

namespace {

class RecordingHost : public Host {
 public:
  std::vector<std::pair<Command, bool>> enabled;
  int boardRefreshes = 0;
  void setCommandEnabled(Command c, bool on) override { enabled.emplace_back(c, on); }
  void refresh(View v) override { boardRefreshes += v == View::Board; }
};

// The leading entries of a row up to its end mark.
std::vector<int> Row(const std::array<int32_t, 9>& row) {
  std::vector<int> out;
  for (int v : row) {
    if (v == kDirEnd) break;
    out.push_back(v);
  }
  return out;
}

// True when every entry from the first end mark on is an end mark too.
bool TailIsEnd(const std::array<int32_t, 9>& row) {
  bool ended = false;
  for (int v : row) {
    if (v == kDirEnd) ended = true;
    else if (ended) return false;
  }
  return ended;
}

Board EmptyBoard() {
  Board b = DefaultStartBoard();
  for (int c = 21; c <= 98; ++c)
    if (b[c] != kOffBoard) b[c] = 0;
  return b;
}

}  // namespace

TEST(ParseDirections, TableOfStrings) {
  struct Case {
    const char* movement;
    int kind;
    std::vector<int> moves, captures;
  } cases[] = {
      {"NW;NE NW;NE", 0, {9, 11}, {9, 11}},
      {"NW;NE NW;NE", 1, {-9, -11}, {-9, -11}},
      {"NW;NE;SE;SW NW;NE;SE;SW", 2, {9, 11, -9, -11}, {9, 11, -9, -11}},
      {"NW;NE;SE;SW NW;NE;SE;SW", 3, {-9, -11, 9, 11}, {-9, -11, 9, 11}},
      {"N;E;S;W WW;NN;EE;SS", 0, {10, 1, -10, -1}, {-2, 20, 2, -20}},
      {"N;E;S;W WW;NN;EE;SS", 3, {-10, -1, 10, 1}, {2, -20, -2, 20}},
      // A lower-case name ends its list; so does an unknown one.
      {"NW;ne;NE NW", 0, {9}, {9}},
      {"NW;XX;NE SE;Q", 0, {9}, {-9}},
      // No blank, a trailing blank, a leading blank.
      {"NW;NE", 0, {9, 11}, {}},
      {"NW;NE ", 0, {9, 11}, {}},
      {" NW", 0, {}, {9}},
      // Only the first blank separates: "NE NW" is one (unknown) name.
      {"NW; NE NW", 0, {9}, {}},
      // An empty name (two semicolons, a trailing semicolon) ends the list.
      {"NW;;NE NE;", 2, {9}, {11}},
      {"", 0, {}, {}},
      // Names after the eighth are ignored; the ninth entry stays the end mark.
      {"N;E;S;W;NW;NE;SE;SW;NN N", 0, {10, 1, -10, -1, 9, 11, -9, -11}, {10}},
  };
  for (const auto& c : cases) {
    DirectionRows t;
    for (auto& row : t) row.fill(12345);  // stale contents must go
    ParseDirections(t, c.movement, c.kind);
    EXPECT_EQ(Row(t[c.kind]), c.moves) << '"' << c.movement << "\" kind " << c.kind;
    EXPECT_EQ(Row(t[c.kind + 4]), c.captures) << '"' << c.movement << "\" kind " << c.kind;
    EXPECT_TRUE(TailIsEnd(t[c.kind]) && TailIsEnd(t[c.kind + 4])) << c.movement;
    // The other kinds' rows are not touched.
    for (int r = 0; r < 8; ++r) {
      if (r != c.kind && r != c.kind + 4) {
        EXPECT_EQ(t[r][0], 12345) << c.movement;
      }
    }
  }
}

TEST(ParseDirections, BookFlagFillsTheBookTable) {
  auto g = std::make_unique<GameState>();
  ParseDirections(*g, "NW;NE NW;NE", 0, true);
  EXPECT_EQ(Row(g->Tables.BookDirectionTable[0]), (std::vector<int>{9, 11}));
  EXPECT_EQ(Row(g->Tables.DirectionTable[0]), std::vector<int>{});
  ParseDirections(*g, "SE SW", 1, false);
  EXPECT_EQ(Row(g->Tables.DirectionTable[1]), std::vector<int>{9});
  EXPECT_EQ(Row(g->Tables.DirectionTable[5]), std::vector<int>{11});
}

TEST(ParseDirections, CheckedStringsAreReadWhole) {
  // Strings the readers take: the parser reads every name of both lists.
  for (const char* m : {"NW;NE NW;NE", "N;E;S;W;NW;NE;SE;SW NN", "", "NW;NE ", " NW", "NW; NE;"}) {
    SCOPED_TRACE(m);
    std::string why;
    EXPECT_TRUE(CheckMovementString(m, &why)) << why;
  }
  // Strings the readers refuse, with what the message names.
  const struct {
    const char* movement;
    const char* says;
  } bad[] = {
      {"XX;YY ZZ", "\"XX\" is not a direction name"},
      {"NW;NE NW;ZZ", "\"ZZ\""},
      {"NW;ne;NE", "\"ne\""},
      {"NW;NE  NW", "\" NW\""},
      {"NW;;NE", "empty direction name"},
      {";NW", "empty direction name"},
      {"N;E;S;W;NW;NE;SE;SW;NN", "more than eight"},
      {"NW N;E;S;W;NW;NE;SE;SW;NN", "more than eight"},
  };
  for (const auto& b : bad) {
    SCOPED_TRACE(b.movement);
    std::string why;
    EXPECT_FALSE(CheckMovementString(b.movement, &why));
    EXPECT_NE(why.find(b.says), std::string::npos) << why;
  }
}

TEST(BoardMode, DerivedFromTheDirections) {
  struct Case {
    const char* name;
    std::array<const char*, 4> strings;
    int longKings;
    int pob;  // PiecesOnBlack after the call (starting from 1)
    int orthogonalOnly, orthogonalLongKings;
    bool numberedEnabled;
  } cases[] = {
      {"standard", {"NW;NE NW;NE", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW", "NW;NE;SE;SW NW;NE;SE;SW"},
       0, 1, 0, 0, true},
      {"flying diagonal kings", {"NW;NE NW;NE", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW", "NW;NE;SE;SW NW;NE;SE;SW"},
       1, 1, 0, 0, true},
      {"orthogonal flying", {"W;N;E W;N;E", "W;N;E W;N;E", "N;E;S;W N;E;S;W", "N;E;S;W N;E;S;W"},
       1, 2, 1, 1, false},
      {"one orthogonal capture among diagonals", {"NW;NE NW;NE;W", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW", "NW;NE;SE;SW NW;NE;SE;SW"},
       0, 2, 0, 0, false},
      {"double steps only", {"NN;WW NN", "NN NN", "WW WW", "NN;WW"},
       1, 1, 0, 0, true},
  };
  for (const auto& c : cases) {
    auto g = std::make_unique<GameState>();
    RecordingHost host;
    g->host = &host;
    g->Rules.PiecesOnBlack = 1;
    g->Rules.LongKings = c.longKings;
    g->Rules.MovementStrings = {c.strings[0], c.strings[1], c.strings[2], c.strings[3]};
    ParseAllDirections(*g);
    SetBoardModeFromDirections(*g);
    EXPECT_EQ(g->Rules.PiecesOnBlack, c.pob) << c.name;
    EXPECT_EQ(g->Tables.OrthogonalOnly, c.orthogonalOnly) << c.name;
    EXPECT_EQ(g->Tables.OrthogonalLongKings, c.orthogonalLongKings) << c.name;
    EXPECT_EQ(g->Tables.NotationCheckersEnabled, c.numberedEnabled ? 1 : 0) << c.name;
    ASSERT_EQ(host.enabled.size(), 1u) << c.name;
    EXPECT_EQ(host.enabled[0], std::make_pair(Command::NotationCheckers, c.numberedEnabled)) << c.name;
  }
}

TEST(BoardMode, OtherColourKeptWithoutOrthogonalSteps) {
  auto g = std::make_unique<GameState>();
  g->Rules.PiecesOnBlack = 0;
  ParseAllDirections(*g);
  SetBoardModeFromDirections(*g);
  EXPECT_EQ(g->Rules.PiecesOnBlack, 0);
}

namespace {
struct PromoCase {
  const char* name;
  std::vector<int> white, black;
  int limited, balanced, maxIndex;
};

void SetPromo(GameState& g, const std::vector<int>& white, const std::vector<int>& black) {
  for (auto& side : g.Rules.PromoSquares) side.fill(-1);
  for (size_t k = 0; k < white.size(); ++k) g.Rules.PromoSquares[0][k] = white[k];
  for (size_t k = 0; k < black.size(); ++k) g.Rules.PromoSquares[1][k] = black[k];
}
}  // namespace

TEST(PromotionSquares, ReachAndSummary) {
  const PromoCase cases[] = {
      {"standard", {92, 94, 96, 98}, {21, 23, 25, 27}, 0, 1, 3},
      {"left half", {92, 94}, {21, 23}, 1, 1, 1},
      {"none", {}, {}, 0, 1, -1},
      {"equal lists", {92, 94}, {92, 94}, 0, 1, 1},
      {"unequal counts", {92, 94, 96, 98}, {21}, 0, 0, 3},
      {"corners", {98}, {21}, 1, 1, 0},
      {"whole rows", {91, 92, 93, 94, 95, 96, 97, 98}, {21, 22, 23, 24, 25, 26, 27, 28}, 0, 1, 7},
      {"entries not contiguous", {-1, 92, -1, 94, -1, 96, -1, 98}, {21, -1, 23, -1, 25, -1, 27}, 0, 1, 3},
  };
  for (const auto& c : cases) {
    auto g = std::make_unique<GameState>();
    SetPromo(*g, c.white, c.black);
    BuildPromoReach(*g);
    AnalyzePromotionSquares(*g);
    EXPECT_EQ(g->Tables.PromoReachLimited, c.limited) << c.name;
    EXPECT_EQ(g->Tables.PromoBalanced, c.balanced) << c.name;
    EXPECT_EQ(g->Tables.MaxPromoIndex, c.maxIndex) << c.name;
  }
}

TEST(PromotionSquares, ConeShape) {
  auto g = std::make_unique<GameState>();
  SetPromo(*g, {92, 94}, {21, 23});
  BuildPromoReach(*g);
  const auto& r = g->Tables.PromoReach;
  // Right-hand squares cannot reach b8 or d8.
  EXPECT_EQ(r[98][0], 0);
  EXPECT_EQ(r[87][0], 0);
  EXPECT_EQ(r[78][0], 0);
  // The cone from d8 widens one column per row on each side, squares of both
  // colours included, clipped at the frame.
  EXPECT_EQ(r[94][0], 1);
  EXPECT_EQ(r[95][0], 0);
  EXPECT_EQ(r[83][0], 1);
  EXPECT_EQ(r[85][0], 1);
  EXPECT_EQ(r[86][0], 0);
  EXPECT_EQ(r[71][0], 1);
  EXPECT_EQ(r[76][0], 1);
  EXPECT_EQ(r[77][0], 0);
  // Once the low end met the left frame it stays at column 1.
  EXPECT_EQ(r[21][0], 1);
  EXPECT_EQ(r[28][0], 1);
  // Black walks upwards from a1 and c1.
  EXPECT_EQ(r[21][1], 1);
  EXPECT_EQ(r[22][1], 0);
  EXPECT_EQ(r[34][1], 1);
  EXPECT_EQ(r[35][1], 0);
  EXPECT_EQ(r[98][1], 1);
  // Frame cells of the playing rows are never marked.
  for (int row = 2; row <= 9; ++row) {
    EXPECT_EQ(r[row * 10][0] + r[row * 10][1], 0) << row;
    EXPECT_EQ(r[row * 10 + 9][0] + r[row * 10 + 9][1], 0) << row;
  }
}

TEST(PromotionSquares, GarbageEntriesStayInsideTheTable) {
  // Squares that are no board cell (a damaged settings file) must not make
  // the walk read or write outside the board and the reach table.
  auto g = std::make_unique<GameState>();
  SetPromo(*g, {0, 119, 5, 99, 20}, {150, 1000, -5, 10, 109});
  BuildPromoReach(*g);
  AnalyzePromotionSquares(*g);
  EXPECT_EQ(g->Tables.PromoBalanced, 1);
}

TEST(PromotionSquares, ShiftToTheOtherColour) {
  auto g = std::make_unique<GameState>();
  g->Rules.PiecesOnBlack = 0;
  ShiftPromoSquares(*g);
  PromoTable expected;
  for (auto& side : expected) side.fill(-1);
  expected[0] = {91, 93, 95, 97, -1, -1, -1, -1, -1, -1, -1, -1};
  expected[1] = {22, 24, 26, 28, -1, -1, -1, -1, -1, -1, -1, -1};
  EXPECT_EQ(g->Rules.PromoSquares, expected);
  ShiftPromoSquares(*g);  // squares already in play stay
  EXPECT_EQ(g->Rules.PromoSquares, expected);
  g->Rules.PiecesOnBlack = 1;
  ShiftPromoSquares(*g);
  EXPECT_EQ(g->Rules.PromoSquares, StandardPromoSquares());
}

TEST(SquareColour, DetectMovesTheStandardPositionAndBack) {
  auto g = std::make_unique<GameState>();
  RecordingHost host;
  g->host = &host;
  g->Rules.PiecesOnBlack = 0;
  DetectSquareColour(*g);
  EXPECT_EQ(g->board[21], 0);
  EXPECT_EQ(g->board[22], 1);
  EXPECT_EQ(g->board[32], 0);
  EXPECT_EQ(g->board[31], 1);
  EXPECT_EQ(g->board[98], 0);
  EXPECT_EQ(g->board[97], -1);
  EXPECT_EQ(host.boardRefreshes, 1);
  const Board shifted = g->board;
  DetectSquareColour(*g);  // already on the right colour
  EXPECT_EQ(g->board, shifted);
  EXPECT_EQ(host.boardRefreshes, 1);

  g->Rules.PiecesOnBlack = 1;
  DetectSquareColour(*g);
  EXPECT_EQ(g->board, DefaultStartBoard());
  EXPECT_EQ(host.boardRefreshes, 2);
}

TEST(SquareColour, KingsAndBothColoursOfPiecesMoveAlike) {
  auto g = std::make_unique<GameState>();
  g->board = EmptyBoard();
  g->board[43] = 2;   // even row 4: moves right
  g->board[54] = -2;  // odd row 5: moves left
  g->board[98] = -1;
  ASSERT_TRUE(ShiftToOtherColour(*g, false));
  EXPECT_EQ(g->board[44], 2);
  EXPECT_EQ(g->board[53], -2);
  EXPECT_EQ(g->board[97], -1);
  EXPECT_EQ(g->board[43] | g->board[54] | g->board[98], 0);
  ASSERT_TRUE(ShiftToOtherColour(*g, true));
  EXPECT_EQ(g->board[43], 2);
  EXPECT_EQ(g->board[54], -2);
  EXPECT_EQ(g->board[98], -1);
}

TEST(SquareColour, ShiftRefusals) {
  struct Case {
    const char* name;
    int pob;
    std::vector<std::pair<int, int>> pieces;
    bool back;
  } cases[] = {
      // Every square is played: nothing to shift.
      {"all squares played", 2, {{21, 1}}, false},
      // Pieces on both colours would lose some.
      {"both colours", 0, {{21, 1}, {22, -1}}, false},
      {"both colours back", 1, {{21, 1}, {22, -1}}, true},
      // Already on the colour it would move onto: shifting would empty it.
      {"already on the other colour", 0, {{22, 1}, {31, -1}}, false},
      {"already on the standard colour", 1, {{21, 1}, {32, -2}}, true},
  };
  for (const auto& c : cases) {
    auto g = std::make_unique<GameState>();
    RecordingHost host;
    g->host = &host;
    g->Rules.PiecesOnBlack = c.pob;
    g->board = EmptyBoard();
    for (auto [cell, v] : c.pieces) g->board[cell] = v;
    const Board before = g->board;
    EXPECT_FALSE(ShiftToOtherColour(*g, c.back)) << c.name;
    EXPECT_EQ(g->board, before) << c.name;
    DetectSquareColour(*g);
    EXPECT_EQ(g->board, before) << c.name;
    EXPECT_EQ(host.boardRefreshes, 0) << c.name;
  }
}

TEST(SquareColour, EmptyBoardIsLeftAlone) {
  auto g = std::make_unique<GameState>();
  RecordingHost host;
  g->host = &host;
  g->board = EmptyBoard();
  g->Rules.PiecesOnBlack = 0;
  DetectSquareColour(*g);
  EXPECT_EQ(g->board, EmptyBoard());
  EXPECT_EQ(host.boardRefreshes, 0);
}
