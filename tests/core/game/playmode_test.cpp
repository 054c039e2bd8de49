#include "core/game/playmode.h"

#include "core/game/computermove.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

TEST(PlayModes, ComputerPlayerGivesTheUserTheSideToMove) {
  struct Case {
    int blackStarts;
    int side;
    const char* name1;
    const char* name2;
  };
  const Case cases[] = {{1, -1, "Ann", "Computer"},
                        {1, 1, "Computer", "Ann"},
                        {0, -1, "Computer", "Ann"},
                        {0, 1, "Ann", "Computer"}};
  for (const Case& c : cases) {
    FlowGame game;
    GameState& g = *game.g;
    g.Opt.UserName = "Ann";
    SetPlayerPlayerMode(g);
    g.Rules.BlackStarts = c.blackStarts;
    g.P.SideToMove = c.side;
    for (int twice = 0; twice < 2; ++twice) {
      SetComputerPlayerMode(g);
      EXPECT_EQ(g.Opt.PlayMode, 0);
      EXPECT_EQ(g.Flow.PlayerName1, c.name1);
      EXPECT_EQ(g.Flow.PlayerName2, c.name2);
      EXPECT_EQ(game.host->status(), "Computer-Player mode");
    }
    for (Command cmd : {Command::OfferDraw, Command::Hint, Command::Resign}) EXPECT_TRUE(game.host->isEnabled(cmd));
    EXPECT_TRUE(game.host->checked[Command::ComputerPlayer]);
    EXPECT_FALSE(game.host->checked[Command::PlayerPlayer]);
    EXPECT_FALSE(game.host->checked[Command::ComputerComputer]);
  }
}

TEST(PlayModes, PlayerPlayerAndAFinishedGame) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.UserName = "Ann";
  game.host->enabled.erase(Command::Hint);
  SetPlayerPlayerMode(g);
  EXPECT_EQ(g.Opt.PlayMode, 1);
  EXPECT_EQ(g.Flow.PlayerName1, "Ann");
  EXPECT_EQ(g.Flow.PlayerName2, "Ann");
  EXPECT_EQ(game.host->status(), "Player-Player mode");
  EXPECT_FALSE(game.host->isEnabled(Command::OfferDraw));
  EXPECT_FALSE(game.host->isEnabled(Command::Resign));
  EXPECT_EQ(game.host->enabled.count(Command::Hint), 0u);  // left as it was
  EXPECT_TRUE(game.host->checked[Command::PlayerPlayer]);

  // Switching after the end brings neither the game back nor the commands
  // that end it (a finished game was rated once).
  g.Flow.GameOver = 1;
  game.host->enabled[Command::Compute] = false;
  SetComputerPlayerMode(g);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_FALSE(game.host->isEnabled(Command::OfferDraw));
  EXPECT_FALSE(game.host->isEnabled(Command::Resign));
  EXPECT_FALSE(game.host->isEnabled(Command::Compute));
  // During a game they come back.
  g.Flow.GameOver = 0;
  SetComputerPlayerMode(g);
  EXPECT_TRUE(game.host->isEnabled(Command::OfferDraw));
  EXPECT_TRUE(game.host->isEnabled(Command::Resign));

  std::string a = g.Flow.PlayerName1, b = g.Flow.PlayerName2;
  SwapPlayerNames(g);
  SwapPlayerNames(g);
  EXPECT_EQ(g.Flow.PlayerName1, a);
  EXPECT_EQ(g.Flow.PlayerName2, b);
}

TEST(PlayModes, TheComputerRepliesForTheSideToMove) {
  FlowGame game;
  GameState& g = *game.g;
  g.Flow.PlayerName1 = "Player";
  g.Flow.PlayerName2 = "Computer";
  ComputerMoveNow(g);
  EXPECT_EQ(g.P.GamePly, 1);
  EXPECT_EQ(g.Game.GameLength, 1);
  EXPECT_EQ(g.Driver.MoveListCount, 1);
  EXPECT_EQ(g.Flow.Busy, 0);
  EXPECT_EQ(g.Flow.PlayerName1, "Computer");  // the computer's name beside the side it played
  EXPECT_EQ(g.P.SideToMove, 1);

  // Once the game is over nothing happens, not even the status text.
  g.Flow.GameOver = 1;
  game.host->statusText[1] = "kept";
  ComputerMoveNow(g);
  EXPECT_EQ(g.P.GamePly, 1);
  EXPECT_EQ(game.host->status(), "kept");
}

TEST(PlayModes, ComputerAgainstComputerRunsToTheEndOrUntilCancelled) {
  {
    FlowGame game;
    GameState& g = *game.g;
    // White to move takes Black's last man.
    game.Setup(Digits({{43, '1'}, {54, '2'}, {21, '1'}}), 1);
    ComputerVsComputer(g);
    EXPECT_EQ(g.Flow.GameOver, 1);
    EXPECT_EQ(g.Opt.PlayMode, 0);
    EXPECT_EQ(g.Flow.Busy, 0);
    EXPECT_EQ(g.board[54], 0);
  }
  {
    FlowGame game;
    GameState& g = *game.g;
    game.host->onPump = [&g](long n) {
      if (n == 300) g.P.StopRequest = 1;
    };
    ComputerVsComputer(g);
    EXPECT_EQ(g.Flow.GameOver, 0);
    EXPECT_EQ(g.Opt.PlayMode, 0);
    EXPECT_EQ(g.Flow.Busy, 0);
    EXPECT_GE(game.host->pumps, 300);
    EXPECT_TRUE(game.host->checked[Command::ComputerPlayer]);
  }
}

}  // namespace
}  // namespace m8::gameflow_test
