#include "core/game/setupedit.h"

#include <optional>

#include "core/game/newgame.h"
#include "core/game/variantname.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

TEST(PositionEditor, EntriesPutPiecesAndSetTheSide) {
  struct Case {
    SetupEntry entry;
    int cell;  // holds something else at the start
    int value;
  };
  for (const Case& c : {Case{SetupEntry::BlackChecker, 54, -1}, Case{SetupEntry::BlackKing, 76, -2},
                        Case{SetupEntry::WhiteChecker, 76, 1}, Case{SetupEntry::WhiteKing, 76, 2},
                        Case{SetupEntry::Empty, 76, 0}}) {
    FlowGame game;
    GameState& g = *game.g;
    g.Flow.PopupSquare = c.cell;
    ApplySetupEntry(g, c.entry);
    EXPECT_EQ(g.board[c.cell], c.value);
    EXPECT_EQ(g.Flow.PositionPreset, 1);
    EXPECT_TRUE(FinishPositionEdit(g));
    EXPECT_EQ(g.board[c.cell], c.value);
    EXPECT_EQ(g.StartBoard[c.cell], c.value);
    EXPECT_EQ(VariantNameText(g), "American Checkers (M)");
    EXPECT_EQ(g.Rating.RatedGame, 0);
  }
}

TEST(PositionEditor, ClearBoardSideAndPriority) {
  FlowGame game;
  GameState& g = *game.g;
  g.Flow.PopupSquare = 32;
  ApplySetupEntry(g, SetupEntry::ClearBoard);
  for (int c = 0; c < kCells; ++c) EXPECT_EQ(g.board[c], g.DefaultBoard[c] == kOffBoard ? kOffBoard : 0) << c;

  g.Flow.PopupSquare = 54;
  ApplySetupEntry(g, SetupEntry::WhiteKing);
  g.Flow.PopupSquare = 87;
  ApplySetupEntry(g, SetupEntry::BlackChecker);
  ApplySetupEntry(g, SetupEntry::WhiteMoves);
  EXPECT_EQ(g.P.SideToMove, 1);
  EXPECT_EQ(game.host->status(), "White moves");
  ApplySetupEntry(g, SetupEntry::Priority);
  EXPECT_EQ(g.Eval.PrioritySquare, 87);
  EXPECT_EQ(g.Eval.PriorityPiece, -1);
  FinishPositionEdit(g);
  // White to move starts the edited game; the balance is seen from White.
  EXPECT_EQ(g.Rules.BlackStarts, 0);
  EXPECT_EQ(g.P.MaterialBalance[0], 100);
  EXPECT_EQ(g.Eval.PrioritySquare, 87);
  EXPECT_EQ(g.P.PlyStart[1], 4);  // the king's four steps

  ApplySetupEntry(g, SetupEntry::BlackMoves);
  EXPECT_EQ(game.host->status(), "Black moves");
  FinishPositionEdit(g);
  EXPECT_EQ(g.Rules.BlackStarts, 1);
  EXPECT_EQ(g.P.MaterialBalance[0], -100);
}

TEST(PositionEditor, NothingFollowsWithoutAnEdit) {
  FlowGame game;
  GameState& g = *game.g;
  EXPECT_FALSE(FinishPositionEdit(g));
  EXPECT_EQ(VariantNameText(g), "American Checkers");
  // Which squares open the editor.
  EXPECT_TRUE(SetupSquareEditable(g, 21));
  EXPECT_FALSE(SetupSquareEditable(g, 22));
  EXPECT_FALSE(SetupSquareEditable(g, 20));
  g.Rules.PiecesOnBlack = 2;
  EXPECT_TRUE(SetupSquareEditable(g, 21));
  EXPECT_TRUE(SetupSquareEditable(g, 32) || g.board[32] == 0);
  EXPECT_EQ(SetupEntryOfContent(-2), SetupEntry::BlackKing);
  EXPECT_EQ(SetupEntryOfContent(0), SetupEntry::Empty);
}

TEST(PositionEditor, ClosingWithoutAChangeKeepsTheGameInHand) {
  FlowGame game;
  GameState& g = *game.g;
  g.Flow.PopupSquare = 98;  // a black man taken off the back row
  ApplySetupEntry(g, SetupEntry::Empty);
  ASSERT_TRUE(FinishPositionEdit(g));
  game.Play("1115");
  game.Play("2218");
  ASSERT_EQ(g.P.GamePly, 2);
  const Board board = g.board, start = g.StartBoard;
  // Dismissed; "Priority"; the piece already there; the side already to move.
  struct Case {
    int cell;
    std::optional<SetupEntry> entry;
  };
  for (const Case& c : {Case{67, std::nullopt}, Case{67, SetupEntry::Priority}, Case{21, SetupEntry::WhiteChecker},
                        Case{67, SetupEntry::Empty}, Case{67, SetupEntry::BlackMoves}}) {
    g.Flow.PopupSquare = c.cell;
    if (c.entry) ApplySetupEntry(g, *c.entry);
    EXPECT_FALSE(FinishPositionEdit(g)) << c.cell;
    EXPECT_EQ(g.P.GamePly, 2);
    EXPECT_EQ(g.Game.GameLength, 2);
    EXPECT_EQ(g.Driver.MoveListCount, 2);
    EXPECT_EQ(g.board, board);
    EXPECT_EQ(g.StartBoard, start);
    EXPECT_EQ(g.Rules.BlackStarts, 1);
  }
}

TEST(PositionEditor, ANewGameStartsWithTheFirstMoverOfTheRules) {
  FlowGame game;
  GameState& g = *game.g;
  g.Flow.PopupSquare = 54;
  ApplySetupEntry(g, SetupEntry::WhiteMoves);
  ASSERT_TRUE(FinishPositionEdit(g));
  g.Flow.PopupSquare = 65;
  ApplySetupEntry(g, SetupEntry::WhiteKing);  // edited again: the first mover before any set-up stays
  ASSERT_TRUE(FinishPositionEdit(g));
  ASSERT_EQ(g.Rules.BlackStarts, 0);
  ASSERT_TRUE(NewGame(g, 0, {}));
  EXPECT_EQ(g.Rules.BlackStarts, 1);
  EXPECT_EQ(g.P.SideToMove, -1);
  EXPECT_EQ(VariantNameText(g), "American Checkers");
  // White first by the rules in force: a set-up keeps it for the next game.
  g.Rules.BlackStarts = 0;
  g.P.SideToMove = -1;
  g.Flow.PopupSquare = 54;
  ApplySetupEntry(g, SetupEntry::BlackKing);
  ApplySetupEntry(g, SetupEntry::BlackMoves);
  ASSERT_TRUE(FinishPositionEdit(g));
  EXPECT_EQ(g.Rules.BlackStarts, 1);
  ASSERT_TRUE(NewGame(g, 0, {}));
  EXPECT_EQ(g.Rules.BlackStarts, 0);
}

TEST(VariantName, MarkedWhenRulesDifferOrThePositionWasSetByHand) {
  FlowGame game;
  GameState& g = *game.g;
  EXPECT_EQ(VariantNameText(g), "American Checkers");
  g.Rules.BlackStarts = 0;
  EXPECT_EQ(VariantNameText(g), "American Checkers (M)");
  g.Rules.BlackStarts = g.VariantRules.BlackStarts;
  g.Rules.PromoSquares[0][0] = 11;
  EXPECT_TRUE(RulesDifferFromVariant(g));
  g.Rules.PromoSquares = g.VariantRules.PromoSquares;
  g.Rules.MovementStrings[0] = "NW;NE;SE;SW NW;NE";
  EXPECT_TRUE(RulesDifferFromVariant(g));
  g.Rules.MovementStrings = g.VariantRules.MovementStrings;
  EXPECT_FALSE(RulesDifferFromVariant(g));
  // A position made by the RemoveMen rule is no modification.
  g.Flow.PositionPreset = 1;
  g.Rules.RemoveMen = g.VariantRules.RemoveMen = 1;
  EXPECT_EQ(VariantNameText(g), "American Checkers");
  g.Variant.QuickHelpLink = "https://example.org/quick";
  g.BoardShown.MovesHighlighted = 1;
  EXPECT_EQ(VariantHelpLink(g, true), "https://example.org/quick");
  EXPECT_EQ(VariantHelpLink(g, false), "");
  EXPECT_EQ(g.BoardShown.MovesHighlighted, 0);
}

}  // namespace
}  // namespace m8::gameflow_test
