// A position set up from its Setup digits and the side to move, taken as the
// root of move generation and the draw rules.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"
#include "core/rules/notation.h"
#include "core/rules/setposition.h"
#include "core/rules/variant_fixture.h"

namespace m8 {
namespace {

using testing::LegalTexts;
using testing::StartVariant;

constexpr const char* kDefaultSetup = "1010101001010101101010100000000000000000020202022020202002020202";

// White man a1, white king c3, black man h8 and black king f6 (cells 21,
// 43, 98, 76), with the digit of each at its index (row - 2) * 8 + col - 1.
std::string FourPieces() {
  std::string s(64, '0');
  s[0] = '1';
  s[2 * 8 + 2] = '3';
  s[7 * 8 + 7] = '2';
  s[5 * 8 + 5] = '4';
  return s;
}

std::unique_ptr<GameState> AmericanGame() {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  if (!StartVariant(*g, "American Checkers")) throw std::runtime_error("no American Checkers rules");
  return g;
}

TEST(SetPosition, PutsTheDigitsOnTheBoardAsTheRoot) {
  for (int side : {1, -1}) {
    SCOPED_TRACE(side);
    auto g = AmericanGame();
    std::string error;
    ASSERT_TRUE(SetPosition(*g, FourPieces(), side, &error)) << error;
    const Board& b = g->board;
    EXPECT_EQ(b[21], 1);
    EXPECT_EQ(b[43], 2);
    EXPECT_EQ(b[98], -1);
    EXPECT_EQ(b[76], -2);
    int pieces = 0, frame = 0;
    for (int c = 0; c < kCells; ++c) {
      pieces += b[c] != 0 && b[c] != kOffBoard;
      frame += b[c] == kOffBoard;
    }
    EXPECT_EQ(pieces, 4);
    EXPECT_EQ(frame, kCells - 64);
    EXPECT_EQ(g->StartBoard, b);
    EXPECT_EQ(BoardToSetupString(b), FourPieces());
    // The side to move moves first; the balance is its view of 3 against 3.
    EXPECT_EQ(g->P.SideToMove, side);
    EXPECT_EQ(g->Rules.BlackStarts, side == 1 ? 0 : 1);
    EXPECT_EQ(g->P.MaterialBalance[0], 0);
    EXPECT_EQ(g->Mat.TotalMaterial, 6);
    EXPECT_EQ(g->Mat.WhiteMen, 1);
    EXPECT_EQ(g->Mat.BlackMen, 1);
    EXPECT_EQ(g->Mat.StartMaterial, 600);
    EXPECT_EQ(g->P.BoardMaterial[0], 600);
    // Not the default start: no built-in set's own generator.
    EXPECT_EQ(g->Eval.StandardRuleSet, 0);
    // Man a1 and king c3, or man h8 and king f6: one step and four.
    EXPECT_EQ(LegalTexts(*g).size(), 5u);
  }
}

// The balance at ply 0 is seen from the side to move.
TEST(SetPosition, MaterialBalanceFromTheSideToMove) {
  std::string digits(64, '0');
  digits[0] = '3';   // white king a1
  digits[2] = '1';   // white man c1
  digits[63] = '2';  // black man h8
  struct Case {
    int side, balance;
  } cases[] = {{1, 200}, {-1, -200}};
  for (const Case& c : cases) {
    auto g = AmericanGame();
    ASSERT_TRUE(SetPosition(*g, digits, c.side, nullptr));
    EXPECT_EQ(g->P.MaterialBalance[0], c.balance) << c.side;
    EXPECT_EQ(g->Game.MaterialBalanceHistory[0], c.balance) << c.side;
  }
}

TEST(SetPosition, RefusesABadStringOrSideAndChangesNothing) {
  struct Case {
    std::string digits;
    int side;
    const char* named;  // what the message names
  } cases[] = {
      {"", 1, "it has 0"},
      {std::string(63, '0'), 1, "it has 63"},
      {std::string(65, '0'), 1, "it has 65"},
      {std::string(63, '0') + "5", 1, "'5' at position 64"},
      {"9" + std::string(63, '0'), -1, "'9' at position 1"},
      {std::string(20, '0') + "x" + std::string(43, '0'), 1, "'x' at position 21"},
      {std::string(30, '0') + " " + std::string(33, '0'), 1, "' ' at position 31"},
      {std::string(40, '0') + "-" + std::string(23, '0'), 1, "'-' at position 41"},
      {kDefaultSetup, 0, "not 0"},
      {kDefaultSetup, 2, "not 2"},
      {kDefaultSetup, -2, "not -2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.digits + " side " + std::to_string(c.side));
    auto g = AmericanGame();
    ASSERT_TRUE(SetPosition(*g, FourPieces(), -1, nullptr));
    const Board before = g->board;
    std::string error;
    EXPECT_FALSE(SetPosition(*g, c.digits, c.side, &error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(g->board, before);
    EXPECT_EQ(g->StartBoard, before);
    EXPECT_EQ(g->P.SideToMove, -1);
    EXPECT_FALSE(SetPosition(*g, c.digits, c.side, nullptr));  // no message asked for
  }
}

// As in the position editor, a man may stand on the row where it would be
// crowned: it stays a man.
TEST(SetPosition, AManOnItsCrowningRowStaysAMan) {
  auto g = AmericanGame();
  std::string digits(64, '0');
  digits[7 * 8 + 1] = '1';  // white man b8
  digits[0 * 8 + 0] = '2';  // black man a1
  std::string error;
  ASSERT_TRUE(SetPosition(*g, digits, 1, &error)) << error;
  EXPECT_EQ(g->board[92], 1);
  EXPECT_EQ(g->board[21], -1);
  EXPECT_EQ(g->Mat.WhiteMen, 1);
  EXPECT_EQ(g->Mat.BlackMen, 1);
}

// A new root forgets the plies and the draw counting of the game before.
TEST(SetPosition, StartsAFreshRootAfterMovesWerePlayed) {
  auto g = AmericanGame();
  for (int i = 0; i < 4; ++i) {
    GenerateLegalMoves(*g);
    ASSERT_LT(g->P.PlyStart[g->P.Ply], g->P.PlyStart[g->P.Ply + 1]);
    ASSERT_TRUE(MakeMove(*g, g->P.PlyStart[g->P.Ply]));
  }
  ASSERT_EQ(g->P.Ply, 4);
  g->Draw.DrawReason = 1;
  g->Draw.MoveLimitReached = 1;
  g->P.StopRequest = 1;
  ASSERT_TRUE(SetPosition(*g, kDefaultSetup, -1, nullptr));
  EXPECT_EQ(g->P.Ply, 0);
  EXPECT_EQ(g->P.GamePly, 0);
  EXPECT_EQ(g->P.PlyStart[0], 0);
  EXPECT_EQ(g->P.MoveListEnd, 0);
  EXPECT_EQ(g->P.StopRequest, 0);
  EXPECT_EQ(g->Draw.DrawReason, 0);
  EXPECT_EQ(g->Draw.MoveLimitReached, 0);
  // The default start under American rules is built-in set 1 again.
  EXPECT_EQ(g->Eval.StandardRuleSet, 1);
  EXPECT_EQ(LegalTexts(*g).size(), 7u);
  // Under a contract each side places its pieces again from the root.
  g->Rules.ContractNumber = 3;
  g->Mat.WhiteToPlace = g->Mat.BlackToPlace = 0;
  ASSERT_TRUE(SetPosition(*g, kDefaultSetup, -1, nullptr));
  EXPECT_EQ(g->Mat.WhiteToPlace, 3);
  EXPECT_EQ(g->Mat.BlackToPlace, 3);
}

// Digits read into a board and written back give the same string, whatever
// stands where.
TEST(ParseSetupDigits, ReadsWhatBoardToSetupStringWrites) {
  std::mt19937 rng(21);
  for (int n = 0; n < 200; ++n) {
    std::string digits(64, '0');
    for (char& ch : digits) ch = static_cast<char>('0' + rng() % 5);
    Board b{};
    ASSERT_TRUE(ParseSetupDigits(digits, b, nullptr)) << digits;
    EXPECT_EQ(BoardToSetupString(b), digits);
  }
}

}  // namespace
}  // namespace m8
