// The drivers' engine side: the root search reports what it decided and
// leaves the game to the caller; the hint search; the noise of a weakness.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "core/engine/problemprobe.h"
#include "core/engine/driver_fixture.h"
#include "core/engine/rootdriver.h"
#include "core/rules/drawrules.h"
#include "core/rules/notation.h"

using namespace m8;
using namespace m8::testing;

// The driver decides and reports; the game is the caller's: whatever the
// driver finds, before a search or after one, it ends, rates, announces and
// records nothing, and switches no command.
TEST(RunDriverSearch, ReportsTheDecisionAndLeavesTheGameToTheCaller) {
  struct Case {
    const char* name;
    std::string digits;
    int side;
    std::function<void(RuleSet&)> rules;
    int gamePly;
    bool searched;
    int winner;
    int drawReason;
  };
  const std::string stuck = Digits({{21, '1'}, {32, '2'}, {43, '2'}});  // White to move has no move
  const std::string fewPieces = Digits({{21, '1'}, {27, '1'}, {87, '2'}});
  const Case cases[] = {
      {"no move", stuck, 1, {}, 0, false, -1, kNoDraw},
      {"no move under AntiMode", stuck, 1, [](RuleSet& r) { r.AntiMode = 1; }, 0, false, 1, kNoDraw},
      {"no-move draw", stuck, 1, [](RuleSet& r) { r.NoLegalDraw = 1; }, 0, false, 0, kNoDraw},
      {"rule win of the side to move", fewPieces, 1, [](RuleSet& r) { r.NumberPieces = 1; }, 0, false, 1,
       kNoDraw},
      {"rule loss of the side to move", fewPieces, -1, [](RuleSet& r) { r.NumberPieces = 1; }, 0, false, 1,
       kNoDraw},
      {"game tables full", kMiddleGame, -1, {}, kMaxGamePly, false, 0, kDrawMoveLimit},
      {"searched", kMiddleGame, -1, {}, 0, true, 0, kNoDraw},
  };
  for (const Case& c : cases) {
    for (const DriverMode mode : {DriverMode::ComputerMove, DriverMode::Analysis}) {
      const std::string where = std::string(c.name) + (mode == DriverMode::Analysis ? ", analysis" : "");
      DriverGame d(c.digits, c.side, 2, c.rules);
      GameState& g = d.g;
      g.Opt.ChessDrawRules = 0;
      g.P.GamePly = c.gamePly;
      g.Game.GameLength = c.gamePly;
      g.Rating.RatedGame = 1;
      g.Flow.GameResult = "*";
      g.Flow.BestScore = 12345;
      g.Draw.DrawReason = kNoDraw;
      const DriverRun run = RunDriverSearch(g, mode);
      EXPECT_EQ(run.searched, c.searched) << where;
      EXPECT_EQ(run.decided, !c.searched) << where;
      EXPECT_EQ(run.winner, c.winner) << where;
      EXPECT_EQ(run.drawReason, c.drawReason) << where;
      EXPECT_EQ(g.Opt.SearchDepth, 2) << where;  // the option is not the search's scratch
      if (c.searched) {
        ASSERT_TRUE(run.bestScore.has_value()) << where;
        EXPECT_EQ(*run.bestScore, g.Driver.RootScores[2][0]) << where;
      }
      // The game as the caller left it.
      EXPECT_EQ(g.Flow.GameOver, 0) << where;
      EXPECT_EQ(g.Flow.GameResult, "*") << where;
      EXPECT_EQ(g.Flow.BestScore, 12345) << where;
      EXPECT_EQ(g.Rating.RatedGame, 1) << where;
      EXPECT_EQ(g.Draw.DrawReason, kNoDraw) << where;
      EXPECT_EQ(g.P.GamePly, c.gamePly) << where;
      EXPECT_TRUE(d.host.messages.empty()) << where << ": " << d.host.messages.front();
      EXPECT_TRUE(d.host.enabled.empty()) << where;
      EXPECT_TRUE(d.host.checked.empty()) << where;
    }
  }
}

// The depth option is the user's, whoever runs the search: a search that
// goes deeper than the option (the time mode) or stops short of it (a single
// legal move, a book move) has a limit of its own, and the option reads as
// the user set it while the engine thinks and after, with no caller to give
// it back.
TEST(RunDriverSearch, KeepsTheDepthOptionAsTheUserSetIt) {
  const std::string start = "1010101001010101101010100000000000000000020202022020202002020202";
  struct Case {
    const char* name;
    std::string digits;
    int depthMode;
    bool book;
    int deepest;  // the deepest iteration the status panel shows
  };
  const Case cases[] = {
      // The clock jumps past the limit when iteration 4 begins.
      {"time mode", kMiddleGame, 0, false, 4},
      // Black must take the man on 43.
      {"single legal move", Digits({{43, '1'}, {21, '1'}, {54, '2'}, {98, '2'}}), 1, false, 1},
      {"book move", start, 1, true, 1},
  };
  for (const Case& c : cases) {
    for (const DriverMode mode : {DriverMode::ComputerMove, DriverMode::Analysis}) {
      const std::string where = std::string(c.name) + (mode == DriverMode::Analysis ? ", analysis" : "");
      const std::string thinking = mode == DriverMode::Analysis ? "Analyzing... (" : "Thinking... (";
      TempFolder folder;
      DriverGame d(c.digits, -1, 2);
      GameState& g = d.g;
      g.Opt.DepthMode = c.depthMode;
      g.Opt.SearchTime = 1;
      if (c.book) {
        folder.Write("books/American Checkers.bok",
                     "TAVRIN Version=0.89\r\nVariant=American Checkers\r\n"
                     "WhiteManMovement=NW;NE NW;NE\r\nBlackManMovement=NW;NE NW;NE\r\n"
                     "WhiteKingMovement=NW;NE;SE;SW NW;NE;SE;SW\r\n"
                     "BlackKingMovement=NW;NE;SE;SW NW;NE;SE;SW\r\n"
                     "start\r\n1014b2217w\r\nend\r\n");
        g.ProgramFolder = folder.path.string();
        g.Opt.UseBook = 1;
      }
      d.host.freezeInSearch = true;
      int deepest = 0;
      int changedWhileThinking = 0;
      d.host.onStatus = [&](const std::string& s) {
        if (g.Opt.SearchDepth != 2) ++changedWhileThinking;
        if (s.rfind(thinking, 0) != 0) return;
        const int depth = std::stoi(s.substr(thinking.size()));
        deepest = std::max(deepest, depth);
        if (depth == 4) d.host.now += 10;
      };
      const DriverRun run = RunDriverSearch(g, mode);
      EXPECT_TRUE(run.searched) << where;
      EXPECT_EQ(deepest, c.deepest) << where;
      EXPECT_EQ(g.Book.BookFrom > 0, c.book) << where;
      EXPECT_EQ(changedWhileThinking, 0) << where;
      EXPECT_EQ(g.Opt.SearchDepth, 2) << where;
    }
  }
}

TEST(ComputeHint, RepeatsAStoredHintWithoutSearching) {
  DriverGame d(kMiddleGame, -1);
  GameState& g = d.g;
  g.Search.HintFrom = SquareNumber(g, "9");
  g.Search.HintTo = SquareNumber(g, "14");
  ComputeHint(g, 0);
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0], "Hint: Try  9-14");
  EXPECT_EQ(d.host.pumps, 0);
  EXPECT_EQ(g.Search.HintFrom, SquareNumber(g, "9"));
}

TEST(ComputeHint, NotesAProblemOnlyWhenTheScoreIsFarFromTheReference) {
  // The best line starts with a plain move and holds captures: a problem when
  // its score is more than 100 away from the reference and the line is shown.
  struct Case {
    int ini;
    int showCalculation;
    bool noted;
  };
  for (const Case& c : {Case{0, 1, false}, Case{2000, 1, true}, Case{2000, 0, false}}) {
    DriverGame d(kFallingScore, -1);
    GameState& g = d.g;
    g.Opt.ShowCalculation = c.showCalculation;
    g.PlyValue.PlyValuePlies = 4;
    g.Rating.RatedGame = 1;
    const std::string before = BoardToSetupString(g.board);
    ComputeHint(g, c.ini);
    EXPECT_EQ(BoardToSetupString(g.board), before) << c.ini;
    EXPECT_EQ(g.P.GamePly, 0);
    EXPECT_EQ(g.Search.HintFrom, 0) << c.ini;
    // Probing rates nothing: whether the game still counts is the game's call.
    EXPECT_EQ(g.Rating.RatedGame, 1);
    const std::string& text = g.Driver.ProblemText;
    EXPECT_EQ(!text.empty(), c.noted) << c.ini << " " << c.showCalculation;
    if (c.noted) {
      EXPECT_EQ(text.rfind("Score:", 0), 0u) << text;
      EXPECT_NE(text.find("   iniScore: 2000   Depth: 4   "), std::string::npos) << text;
      EXPECT_NE(text.find('x'), std::string::npos) << text;
      EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
      EXPECT_EQ(g.Driver.ProblemCount, 1);
    }
  }
  // Without a run of the ply value table there is no depth to probe.
  DriverGame d(kMiddleGame, -1);
  d.g.PlyValue.PlyValuePlies = 0;
  ComputeHint(d.g, 5000);
  EXPECT_TRUE(d.g.Driver.ProblemText.empty());
}

TEST(NoiseForWeakness, GrowsWithWeaknessFromNothing) {
  EXPECT_EQ(NoiseForWeakness(0), 0);
  EXPECT_EQ(NoiseForWeakness(1), 5);
  EXPECT_EQ(NoiseForWeakness(2), 70);
  EXPECT_EQ(NoiseForWeakness(9), 560);
}
