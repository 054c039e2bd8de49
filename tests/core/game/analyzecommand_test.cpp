// The Analyze command: the position searched as for the computer's move,
// nothing played, a decided game or a forced result told.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/engine/driver_fixture.h"
#include "core/game/analyzecommand.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"
#include "core/rules/notation.h"

using namespace m8;
using namespace m8::testing;

TEST(AnalyzePosition, PlaysNothingAndListsTheRootScoresBestFirst) {
  DriverGame d(kMiddleGame, -1, 4);
  GameState& g = d.g;
  const auto legal = d.LegalMoves();
  ListLegalMoves(g);
  const std::vector<std::string> listed = g.Driver.LegalMoveLines;
  const std::string before = BoardToSetupString(g.board);
  g.Rating.RatedGame = 1;
  StartAnalysis(g);
  EXPECT_EQ(BoardToSetupString(g.board), before);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(g.Search.HintFrom, 0);
  EXPECT_EQ(d.host.CountStatusPrefix("Analyzing... (4)"), static_cast<int>(legal.size()));
  ASSERT_EQ(g.Driver.RootScoreLines.size(), legal.size());
  const auto& t = g.Driver.RootScores;
  EXPECT_EQ(t[2][0], g.Flow.BestScore);
  for (size_t i = 1; i < legal.size(); ++i) EXPECT_LE(t[2][i], t[2][i - 1]) << i;
  // The best move is named as the legal-move list names it.
  EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [&](const std::string& m) {
    return g.Driver.RootScoreLines[0] == m + " " + SignedText(t[2][0]);
  })) << g.Driver.RootScoreLines[0];
  // The list of root scores stays off; the legal moves are back in the move list.
  EXPECT_FALSE(d.host.enabled[Command::RootScores]);
  EXPECT_TRUE(d.host.enabled[Command::LegalMoves]);
  EXPECT_EQ(g.P.PlyStart[1] - g.P.PlyStart[0], static_cast<int>(legal.size()));
  EXPECT_EQ(g.Opt.SearchDepth, 4);
  // Nothing was recorded.
  EXPECT_TRUE(g.Game.GameRecord[1][0].empty());
  EXPECT_EQ(g.Driver.MoveListCount, 0);
  EXPECT_EQ(g.Flow.Busy, 0);
  EXPECT_TRUE(d.host.enabled[Command::BoardMenu]);
  // Once the game is over the command does nothing.
  g.Flow.GameOver = 1;
  const size_t statuses = d.host.statuses.size();
  StartAnalysis(g);
  EXPECT_EQ(d.host.statuses.size(), statuses);
}

TEST(AnalyzePosition, NamesTheRealWinnerAndAppliesTheNoMoveDraw) {
  struct Case {
    const char* name;
    std::string digits;
    int side;
    std::function<void(RuleSet&)> rules;
    std::string message;
  };
  // PlayerName1 (the user) plays the side that began: the side to move.
  const Case cases[] = {
      {"white wins by rule", Digits({{21, '1'}, {27, '1'}, {87, '2'}}), 1, [](RuleSet& r) { r.NumberPieces = 1; },
       "Congratulations: Player wins!"},
      {"black loses by rule", Digits({{21, '1'}, {27, '1'}, {87, '2'}}), -1,
       [](RuleSet& r) { r.NumberPieces = 1; }, "Congratulations: Computer wins!"},
      {"white stuck", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, {}, "Congratulations: Computer wins!"},
      {"white stuck, no-move draw", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1,
       [](RuleSet& r) { r.NoLegalDraw = 1; }, "Congratulations: It's a draw!"},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, c.side, 3, c.rules);
    d.g.Flow.PlayerName1 = "Player";
    d.g.Flow.PlayerName2 = "Computer";
    AnalyzePosition(d.g);
    EXPECT_EQ(d.g.Flow.GameOver, 1) << c.name;
    EXPECT_TRUE(d.host.HasMessage(c.message)) << c.name << ": " << (d.host.messages.empty() ? "" : d.host.messages[0]);
    EXPECT_EQ(d.host.CountStatusPrefix("Analyzing... ("), 0) << c.name;
  }
}
