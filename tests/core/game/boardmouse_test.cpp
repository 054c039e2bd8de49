// The board's mouse arithmetic: controls and cells, the pick-up test and the
// drop square.
#include "core/game/boardmouse.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/game/gamesetup.h"
#include "core/rules/movegen.h"

namespace m8 {
namespace {

struct MouseGame {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  GameState& g = *state;
  MouseGame() {
    g.ProgramFolder = M8_BIN_DIR;
    g.Rules.Variant = "American Checkers";
    InitGame(g);
  }
};

TEST(BoardMouse, ControlsAndCellsBothWays) {
  EXPECT_EQ(CellOfControl(0, 0), 91);
  EXPECT_EQ(CellOfControl(0, 1), 28);
  EXPECT_EQ(CellOfControl(56, 0), 21);
  EXPECT_EQ(CellOfControl(7, 1), 21);
  for (int turned : {0, 1})
    for (int k = 0; k < 64; ++k) EXPECT_EQ(ControlOfCell(CellOfControl(k, turned), turned), k);
}

TEST(BoardMouse, PickUpNeedsAPieceOfTheSideToMoveWithALegalMove) {
  MouseGame t;
  GameState& g = t.g;
  ASSERT_EQ(g.P.SideToMove, -1);  // Black starts
  EXPECT_EQ(TestPickUp(g, 76), PickUp::Ok);
  EXPECT_EQ(TestPickUp(g, 43), PickUp::WrongSide);
  EXPECT_EQ(std::string(PickUpMessage(g, PickUp::WrongSide)), "Black moves");
  EXPECT_EQ(TestPickUp(g, 54), PickUp::WrongSide);  // empty
  EXPECT_EQ(TestPickUp(g, 98), PickUp::NoMove);     // hemmed in
  EXPECT_EQ(std::string(PickUpMessage(g, PickUp::NoMove)), "You cannot move that piece");
  EXPECT_EQ(g.Flow.CanReturnToStart, 0);
  // A capture that ends where it started.
  g.Flow.CanReturnToStart = 0;
  g.P.MoveList[g.P.PlyStart[0]].To = 76;
  g.P.MoveList[g.P.PlyStart[0]].From = 76;
  EXPECT_EQ(TestPickUp(g, 76), PickUp::Ok);
  EXPECT_EQ(g.Flow.CanReturnToStart, 1);
}

TEST(BoardMouse, DropPitchPerLayout) {
  struct Case {
    int code, custom, tpp, pitch;
  } cases[] = {{0, -1, 12, 458}, {0, -1, 15, 568}, {2, -1, 12, 653}, {2, -1, 15, 808}, {3, -1, 12, 838},
               {3, -1, 15, 1048}, {4, 0, 15, 568}, {4, 1, 12, 838},  {4, 2, 15, 808},  {4, -1, 15, 808},
               {1, -1, 15, 1048}};
  for (const Case& c : cases) EXPECT_EQ(DropPitch(c.code, c.custom, c.tpp), c.pitch) << c.code << " " << c.tpp;
}

TEST(BoardMouse, DropCellFromThePointerOffset) {
  MouseGame t;
  GameState& g = t.g;
  const int p = 808;
  struct Case {
    int turned, from, dx, dy, to;
  } cases[] = {
      {0, 43, 0, 0, 43},               // on its own square
      {0, 43, p + 10, -10, 54},        // one right, one up
      {0, 43, -1, -1, 52},             // just left of and above the square
      {0, 43, -p + 1, -p + 1, 52},     // still one left and one up
      {0, 43, -p, -p, 61},             // exactly one pitch to the left and up counts as two
      {0, 43, p, 0, 0},                // one right: a light square
      {0, 43, 2 * p + 5, -2 * p + 5, 65},  // two right, two up
      {0, 21, -5, 0, 0},               // off the left edge
      {0, 98, p, -p, 0},               // off the top right corner
      {0, 21, 0, p + 1, 0},            // below the bottom row
      {1, 43, p + 10, p + 10, 52},     // turned: right lowers the column, down raises the row
      {1, 43, -1, 0, 0},               // a light square
  };
  for (const Case& c : cases) {
    g.Opt.BoardTurned = c.turned;
    EXPECT_EQ(DropCell(g, c.from, c.dx, c.dy, p), c.to) << c.from << " " << c.dx << " " << c.dy;
  }
  // With every square in play the light squares count.
  g.Rules.PiecesOnBlack = 2;
  g.Opt.BoardTurned = 0;
  EXPECT_EQ(DropCell(g, 43, p, 0, p), 44);
  EXPECT_EQ(DropCell(g, 28, p, 0, p), 0);  // column 9
}

}  // namespace
}  // namespace m8
