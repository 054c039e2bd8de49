#include "core/game/hint.h"

#include "core/game/newgame.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

constexpr const char* kAdvice = "Think ahead and try not to leave your opponent with multiple jumps";

TEST(Hint, TheExpectedReplyIsShownWithoutASearch) {
  FlowGame game;
  GameState& g = *game.g;
  g.Rating.RatedGame = 1;
  g.Search.HintFrom = 76;  // 11 -> 15
  g.Search.HintTo = 65;
  for (int twice = 0; twice < 2; ++twice) {
    game.host->messages.clear();
    ShowHint(g);
    ASSERT_EQ(game.host->messages.size(), 1u);
    EXPECT_EQ(game.host->messages[0], "Hint|Try 11-15");
  }
  EXPECT_EQ(game.host->pumps, 0);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(game.host->status(), kAdvice);
}

TEST(Hint, SearchesForTheBestMoveAndLeavesThePositionAlone) {
  FlowGame game;
  GameState& g = *game.g;
  // One legal move: the white man on 43 must take the black man on 54.
  game.Setup(Digits({{43, '1'}, {54, '2'}, {98, '2'}}), 1);
  const Board before = g.board;
  ShowHint(g);
  ASSERT_EQ(game.host->messages.size(), 1u);
  EXPECT_EQ(game.host->messages[0], "Hint|Try 22x15");
  EXPECT_EQ(g.board, before);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.Search.HintFrom, 0);
  EXPECT_EQ(game.host->status(), kAdvice);

  // From the start the hint names one of Black's seven moves.
  FlowGame start;
  ShowHint(*start.g);
  ASSERT_EQ(start.host->messages.size(), 1u);
  EXPECT_EQ(start.host->messages[0].rfind("Hint|Try ", 0), 0u);
  EXPECT_EQ(start.g->board, DefaultStartBoard());
}

TEST(NewGame, ResetsEverythingAfterTheConfirmation) {
  for (bool yes : {false, true}) {
    FlowGame game;
    GameState& g = *game.g;
    g.Opt.UseSound = 1;
    game.Play("1115");
    game.Play("2319");
    g.Flow.LoadedResult = "1-0";
    g.Driver.RootScores[0][0] = 22;
    g.Driver.RootScores[2][0] = 40;
    game.host->answer = yes;
    bool opening = false;
    NewGameHooks hooks;
    hooks.loadRandomOpening = [&] { opening = true; };
    EXPECT_EQ(NewGame(g, 0, hooks), yes);
    EXPECT_EQ(game.host->questions, 1);
    if (!yes) {
      EXPECT_EQ(g.P.GamePly, 2);
      EXPECT_EQ(g.Flow.LoadedResult, "1-0");
      continue;
    }
    EXPECT_EQ(g.P.GamePly, 0);
    EXPECT_EQ(g.Game.GameLength, 0);
    EXPECT_EQ(g.Flow.GameStarted, 0);
    EXPECT_EQ(g.Flow.LoadedResult, "");
    EXPECT_EQ(g.Driver.RootScores[0][0], kNoRootScore);
    EXPECT_EQ(g.Driver.RootScores[2][0], kNoRootScore);
    EXPECT_EQ(g.Driver.MoveListCount, 0);
    EXPECT_EQ(g.board, DefaultStartBoard());
    EXPECT_EQ(g.P.SideToMove, -1);
    EXPECT_EQ(game.host->status(), "Black moves");
    EXPECT_EQ(g.Driver.LegalMoveLines.size(), 7u);
    EXPECT_FALSE(opening);  // ChooseOpening is off
    ASSERT_FALSE(game.host->sounds.empty());
    EXPECT_EQ(game.host->sounds.back(), Sound::Roll);
    // No question before the first move.
    EXPECT_TRUE(NewGame(g, 0, hooks));
    EXPECT_EQ(game.host->questions, 1);
  }
}

TEST(NewGame, NewVariantRunsTheDialogAndDrawsTheColour) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.Notation = 1;
  int dialogs = 0, layouts = 0;
  NewGameHooks hooks;
  hooks.variantDialog = [&] {
    ++dialogs;
    EXPECT_EQ(g.Opt.Notation, 0);  // the dialog lists squares in letters
    g.Rules.RndColor = 1;
    g.VariantRules.RndColor = 1;
  };
  hooks.arrangeLayout = [&] { ++layouts; };
  for (int k = 0; k < 6; ++k) {
    ASSERT_TRUE(NewGame(g, 1, hooks));
    EXPECT_EQ(g.Rules.BlackStarts, g.VariantRules.BlackStarts);
    EXPECT_EQ(g.P.SideToMove, g.Rules.BlackStarts == 1 ? -1 : 1);
    EXPECT_EQ(game.host->status(), g.Rules.BlackStarts == 1 ? "Black moves" : "White moves");
    EXPECT_EQ(g.Opt.Notation, 1);
  }
  EXPECT_EQ(dialogs, 6);
  EXPECT_EQ(layouts, 6);
}

}  // namespace
}  // namespace m8::gameflow_test
