#include "core/game/gameover.h"

#include "core/files/rating.h"
#include "core/game/playmode.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

// Black to move with a man on White's back row (no move), a white man far away.
const std::string kBlackStuck = Digits({{21, '2'}, {87, '1'}});
// White to move with a man on Black's back row (no move), a black man far away.
const std::string kWhiteStuck = Digits({{92, '1'}, {32, '2'}});

struct EndCase {
  const char* name;
  std::function<void(RuleSet&)> rules;
  std::string position;
  int side;
  const char* status;
  const char* result;
};

TEST(GameOver, EndsOnNoMoveOrRuleWinWithTheRightWinner) {
  const EndCase cases[] = {
      {"black stuck", {}, kBlackStuck, -1, "White wins!", "0-1"},
      {"white stuck under AntiMode", [](RuleSet& r) { r.AntiMode = 1; }, kWhiteStuck, 1, "White wins!", "1-0"},
      {"no-move draw", [](RuleSet& r) { r.NoLegalDraw = 1; }, kBlackStuck, -1, "It's a draw!", "1/2-1/2"},
      // Black can still move but is down to NumberPieces: White has won by rule.
      {"piece count",
       [](RuleSet& r) { r.NumberPieces = 1; },
       Digits({{76, '2'}, {23, '1'}, {25, '1'}}),
       -1,
       "White wins!",
       "0-1"},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    FlowGame game;
    GameState& g = *game.g;
    if (c.rules) c.rules(g.Rules);
    game.Setup(c.position, c.side);
    CheckGameOver(g, 0);
    EXPECT_EQ(g.Flow.GameOver, 1);
    EXPECT_EQ(game.host->status(), c.status);
    EXPECT_TRUE(game.HasMessage(std::string("Congratulations|") + c.status));
    EXPECT_EQ(g.Flow.GameResult, c.result);
    EXPECT_EQ(g.Eval.NoLegalDrawFlag, 0);
    for (Command cmd : {Command::Compute, Command::Analyze, Command::OfferDraw, Command::Resign, Command::Hint,
                        Command::ComputerComputer, Command::LegalMoves})
      EXPECT_FALSE(game.host->isEnabled(cmd));
    // A finished game is not tested again.
    game.host->messages.clear();
    const double clock = game.host->clock;
    CheckGameOver(g, 0);
    EXPECT_TRUE(game.host->messages.empty());
    EXPECT_EQ(game.host->clock, clock);  // no pause either
  }
}

TEST(GameOver, DrawReasonsEndTheGameOnlyWhenTheirOptionIsOn) {
  struct DrawCase {
    int reason;
    int chessRules;
    int quiet;
    bool ends;
    const char* status;
  };
  const DrawCase cases[] = {
      {1, 0, 0, false, ""},
      {2, 0, 0, false, ""},
      {1, 1, 0, true, "It's a draw! Triple Repetition"},
      {2, 1, 0, true, "It's a draw! 50 Moves Rule"},
      {1, 1, 1, true, ""},  // a loaded game: only noted
  };
  for (const DrawCase& c : cases) {
    SCOPED_TRACE(c.reason * 100 + c.chessRules * 10 + c.quiet);
    FlowGame game;
    GameState& g = *game.g;
    game.host->statusText.clear();
    g.Opt.ChessDrawRules = c.chessRules;
    g.P.GamePly = 45;
    g.Draw.DrawReason = c.reason;
    CheckGameOver(g, c.quiet);
    EXPECT_EQ(g.Flow.GameOver, c.ends ? 1 : 0);
    EXPECT_EQ(game.host->status(), c.status);
    if (!c.ends) {
      EXPECT_TRUE(game.host->messages.empty());
      // The root ply lists every move of the side to move.
      EXPECT_EQ(g.P.Ply, 0);
      EXPECT_EQ(g.P.PlyStart[1], 7);
      continue;
    }
    EXPECT_EQ(g.Flow.GameResult, "1/2-1/2");
    if (c.quiet == 0) {
      EXPECT_TRUE(game.HasMessage(std::string("Congratulations|") + c.status));
    } else {
      EXPECT_TRUE(game.host->messages.empty());
      EXPECT_EQ(g.Driver.DrawNote, "Triple Repetition at move 23");
    }
  }
}

TEST(GameOver, KingAgainstKingEndsOnlyWithoutACapture) {
  for (bool capture : {false, true}) {
    FlowGame game;
    GameState& g = *game.g;
    // A capture is there when the kings stand next to each other.
    game.Setup(capture ? Digits({{54, '3'}, {65, '4'}}) : Digits({{21, '3'}, {98, '4'}}), 1);
    g.Draw.DrawReason = 3;
    CheckGameOver(g, 0);
    EXPECT_EQ(g.Flow.GameOver, capture ? 0 : 1) << capture;
    if (!capture) {
      EXPECT_TRUE(game.HasMessage("Congratulations|It's a draw! King versus King"));
    }
  }
}

TEST(GameOver, ANoMoveEndWithADrawReasonIsTheDraw) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.ChessDrawRules = 0;
  game.Setup(kBlackStuck, -1);
  g.Draw.DrawReason = 1;  // its option is off, yet the game ends as a draw
  CheckGameOver(g, 0);
  EXPECT_EQ(g.Flow.GameResult, "1/2-1/2");
  EXPECT_TRUE(game.HasMessage("Congratulations|It's a draw! Triple Repetition"));
}

TEST(GameOver, TheUserIsTheNameBesideTheColour) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.UserName = "Ann";
  struct Case {
    int blackStarts;
    const char* name1;
    const char* name2;
    int white;
    int black;
  };
  const Case cases[] = {
      {1, "Ann", "Computer", 0, 1},       {1, "Computer", "Ann", 1, 0}, {0, "Ann", "Computer", 1, 0},
      {0, "Computer", "Ann", 0, 1},       {1, "Ann", "Ann", 1, 1},      {1, "Computer", "Computer", 0, 0},
  };
  for (const Case& c : cases) {
    g.Rules.BlackStarts = c.blackStarts;
    g.Flow.PlayerName1 = c.name1;
    g.Flow.PlayerName2 = c.name2;
    EXPECT_EQ(UserPlaysColour(g, "white"), c.white);
    EXPECT_EQ(UserPlaysColour(g, "black"), c.black);
    EXPECT_EQ(UserPlaysColour(g, "Black"), 0);
  }
}

TEST(GameEnd, DrawOfferIsAcceptedOnlyWhenTheComputerIsNotAhead) {
  struct Case {
    int started;
    int score;
    bool accepted;
  };
  for (const Case& c : {Case{0, -50, false}, Case{1, 0, true}, Case{1, 1, false}, Case{1, -300, true}}) {
    FlowGame game;
    GameState& g = *game.g;
    g.Flow.GameStarted = c.started;
    g.Flow.BestScore = c.score;
    HandleDrawOffer(g);
    EXPECT_EQ(g.Flow.GameOver, c.accepted ? 1 : 0);
    if (c.accepted) {
      EXPECT_TRUE(game.HasMessage("Congratulations|OK... It's a draw!"));
      EXPECT_EQ(g.Flow.GameResult, "1/2-1/2");
      EXPECT_EQ(game.host->status(), "It's a draw!");
      EXPECT_FALSE(game.host->isEnabled(Command::Compute));
      EXPECT_FALSE(game.host->isEnabled(Command::LegalMoves));
    } else {
      EXPECT_TRUE(game.HasMessage("Draw Offer|Offer rejected... Play on!"));
      EXPECT_EQ(g.Flow.GameResult, "");
    }
  }
}

TEST(GameEnd, ResignationGivesTheGameToTheOtherSide) {
  // The side labels tell who resigns: the user's name beside the first mover
  // (Black) or beside White; under AntiMode a resignation is a loss all the same.
  struct Case {
    const char* name1;  // beside Black, the first mover
    const char* name2;
    int anti;
    const char* result;
  };
  for (const Case& c : {Case{"Player", "Computer", 0, "0-1"}, Case{"Player", "Computer", 1, "0-1"},
                        Case{"Computer", "Player", 0, "1-0"}}) {
    SCOPED_TRACE(std::string(c.name1) + " " + std::to_string(c.anti));
    FlowGame game;
    GameState& g = *game.g;
    g.Opt.UserName = "Player";
    g.Flow.PlayerName1 = c.name1;
    g.Flow.PlayerName2 = c.name2;
    g.Rules.AntiMode = c.anti;
    ResignGame(g);
    EXPECT_EQ(g.Flow.GameOver, 1);
    EXPECT_TRUE(game.HasMessage("Congratulations|OK... Computer wins!"));
    EXPECT_EQ(game.host->status(), "Computer wins!");
    EXPECT_EQ(g.Flow.GameResult, c.result);
    EXPECT_FALSE(game.host->isEnabled(Command::Resign));
    EXPECT_FALSE(game.host->isEnabled(Command::OfferDraw));
  }
}

TEST(GameEnd, AFinishedGameIsRatedOnceAndNotResignedAgain) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.UseRating = 1;
  g.Opt.UserName = g.Flow.PlayerName1 = "Player";
  g.Flow.PlayerName2 = "Computer";
  g.Game.GameRecord[1][2] = "2";
  g.Game.GameRecord[1][3] = "1";
  g.Game.GameRecord[1][4] = " 4";
  g.P.GamePly = 2;
  const int before = g.Rating.UserRating;
  ResignGame(g);
  const int after = g.Rating.UserRating;
  EXPECT_LT(after, before);
  EXPECT_EQ(g.Rating.RatedGame, 0);

  // Back to player against computer: the finished game offers no resignation,
  // draw or hint, and a resignation or draw offer that still arrives changes
  // nothing.
  SetComputerPlayerMode(g);
  for (Command c : {Command::Resign, Command::OfferDraw, Command::Hint}) EXPECT_FALSE(game.host->isEnabled(c));
  game.host->messages.clear();
  ResignGame(g);
  HandleDrawOffer(g);
  EXPECT_EQ(g.Rating.UserRating, after);
  EXPECT_EQ(g.Flow.GameResult, "0-1");
  EXPECT_TRUE(game.host->messages.empty());
  // The rating itself changes once per game, whoever asks again.
  UpdateRating(g, 0.0);
  EXPECT_EQ(g.Rating.UserRating, after);
  EXPECT_EQ(g.Rating.RatingMessage, "");
}

}  // namespace
}  // namespace m8::gameflow_test

namespace m8::gameflow_test {
namespace {

TEST(GameOver, TheRatingCountsTheUsersColour) {
  // Black (the user in player-against-computer play) is stuck: White wins.
  struct Case {
    const char* name2;  // beside White
    bool userWins;
  };
  for (const Case& c : {Case{"Computer", false}, Case{"Player", true}}) {
    FlowGame game;
    GameState& g = *game.g;
    ASSERT_EQ(g.Rating.RatedGame, 1);
    g.Opt.UseRating = 1;
    g.Opt.UserName = "Player";
    g.Flow.PlayerName1 = "Player";  // beside Black, the first mover
    g.Flow.PlayerName2 = c.name2;
    // One move each: the user's, then the computer's at depth 4.
    g.Game.GameRecord[1][2] = "2";
    g.Game.GameRecord[1][3] = "1";
    g.Game.GameRecord[1][4] = " 4";
    g.P.GamePly = 2;
    for (int cell = 0; cell < kCells; ++cell)
      if (g.board[cell] != kOffBoard) g.board[cell] = 0;
    g.board[21] = -1;
    g.board[87] = 1;
    g.Mat.TotalMaterial = 2;
    g.Mat.WhiteMen = g.Mat.BlackMen = 1;
    g.P.SideToMove = -1;
    const int before = g.Rating.UserRating;
    CheckGameOver(g, 0);
    ASSERT_EQ(g.Flow.GameOver, 1);
    EXPECT_EQ(g.Rating.UserRating > before, c.userWins);
    EXPECT_EQ(g.Rating.UserRating < before, !c.userWins);
    ASSERT_EQ(game.host->messages.size(), 1u);
    EXPECT_EQ(game.host->messages[0].rfind("Congratulations|White wins!", 0), 0u);
    EXPECT_NE(game.host->messages[0].find("Your new rating is"), std::string::npos);
  }
}

}  // namespace
}  // namespace m8::gameflow_test
