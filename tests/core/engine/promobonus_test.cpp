#include <gtest/gtest.h>

#include "core/engine/promobonus.h"
#include "core/rules/movement.h"

using namespace m8;

namespace {

void UseMovement(GameState& g, const char* men, const char* kings) {
  g.Rules.MovementStrings = {men, men, kings, kings};
  ParseAllDirections(g);
}

}  // namespace

TEST(PromotionBonusByMoves, StandardSquaresAndDiagonalMen) {
  GameState g;
  UseMovement(g, "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW");
  BuildPromotionBonusByMoves(g);
  const auto& b = g.Eval.PromotionBonus;
  for (int c : {92, 94, 96, 98}) EXPECT_EQ(b[c][0], 30) << c;
  for (int c : {81, 83, 85, 87}) EXPECT_EQ(b[c][0], 20) << c;
  for (int c : {72, 74, 76, 78, 70}) EXPECT_EQ(b[c][0], 10) << c;
  for (int c : {21, 23, 25, 27}) EXPECT_EQ(b[c][1], -30) << c;
  for (int c : {32, 34, 36, 38}) EXPECT_EQ(b[c][1], -20) << c;
  for (int c : {41, 43, 45, 47, 49}) EXPECT_EQ(b[c][1], -10) << c;
  // Nothing else is marked: 13 cells per side carry a value.
  int marked = 0;
  for (const auto& e : b) marked += (e[0] != 0) + (e[1] != 0);
  EXPECT_EQ(marked, 26);
  // Shared neighbours keep a single value; the other side's column stays 0.
  EXPECT_EQ(b[83][0], 20);
  EXPECT_EQ(b[83][1], 0);
  EXPECT_EQ(b[63][0], 0);
}

TEST(PromotionBonusByMoves, CornerWalkStopsAtTheFrame) {
  GameState g;
  UseMovement(g, "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW");
  for (auto& side : g.Rules.PromoSquares) side.fill(-1);
  g.Rules.PromoSquares[0][0] = 98;
  BuildPromotionBonusByMoves(g);
  // The first direction from 98 (to 89) leaves the board, so 87 is not tried.
  EXPECT_EQ(g.Eval.PromotionBonus[98][0], 30);
  EXPECT_EQ(g.Eval.PromotionBonus[87][0], 0);
  EXPECT_EQ(g.Eval.PromotionBonus[76][0], 0);
}

TEST(PromotionBonusByMoves, SidewaysMenMarkTheCellsBeside) {
  GameState g;
  UseMovement(g, "N;W;E N;W;E", "N;S;W;E N;S;W;E");
  BuildPromotionBonusByMoves(g);
  const auto& b = g.Eval.PromotionBonus;
  // White is walked back along the black men's moves (down, left, right).
  EXPECT_EQ(b[94][0], 30);
  EXPECT_EQ(b[84][0], 20);  // below 94
  EXPECT_EQ(b[93][0], 20);  // beside 94
  EXPECT_EQ(b[74][0], 10);
  EXPECT_EQ(b[83][0], 10);
  EXPECT_EQ(b[21][1], -30);
  EXPECT_EQ(b[31][1], -20);
  EXPECT_EQ(b[22][1], -20);
}

TEST(PromotionBonusByDistance, ValuesAndNoSquares) {
  GameState g;
  EXPECT_EQ(SquareDistance(21, 98), 14);
  EXPECT_EQ(SquareDistance(98, 21), 14);
  EXPECT_EQ(SquareDistance(55, 55), 0);
  BuildPromotionBonusByDistance(g);
  const auto& b = g.Eval.PromotionBonus;
  EXPECT_EQ(b[92][0], 50);
  EXPECT_EQ(b[93][0], 44);
  EXPECT_EQ(b[21][0], 2);  // 8 away from 92
  EXPECT_EQ(b[21][1], 50);
  EXPECT_EQ(b[22][1], 44);  // squares of the other colour get a value too
  for (auto& side : g.Rules.PromoSquares) side.fill(-1);
  BuildPromotionBonusByDistance(g);
  EXPECT_EQ(g.Eval.PromotionBonus[55][0], 50 - 6 * 999);
  EXPECT_EQ(g.Eval.PromotionBonus[55][1], 50 - 6 * 999);
}

TEST(OrthogonalMoveFlags, Table) {
  struct Case {
    const char* men;
    const char* kings;
    int whiteMen, blackMen, before;
    int allOrthogonal, manyMen;
  } cases[] = {
      {"NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW", 16, 16, 1, 0, 0},
      {"N;W;E N;W;E", "N;S;W;E N;S;W;E", 16, 16, 0, 1, 1},
      {"N;W;E N;W;E", "N;S;W;E N;S;W;E", 12, 16, 0, 1, 0},  // a 0 stays 0
      {"N;W;E N;W;E", "N;S;W;E N;S;W;E", 12, 16, 1, 1, 1},  // a 1 stays 1
      {"N;W;E N;W;E", "N;S;W;E N;SS;W;E", 13, 13, 0, 0, 1},  // a double step
      {"N;NW N;NW", "N;S N;S", 13, 13, 0, 0, 1},             // a diagonal
  };
  for (const auto& c : cases) {
    GameState g;
    UseMovement(g, c.men, c.kings);
    g.Mat.WhiteMen = c.whiteMen;
    g.Mat.BlackMen = c.blackMen;
    g.Eval.OrthogonalManyMen = c.before;
    SetOrthogonalMoveFlags(g);
    EXPECT_EQ(g.Eval.AllStepsOrthogonal, c.allOrthogonal) << c.men << " / " << c.kings;
    EXPECT_EQ(g.Eval.OrthogonalManyMen, c.manyMen) << c.men << " / " << c.kings;
  }
}
