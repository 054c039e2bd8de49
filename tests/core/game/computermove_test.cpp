// The computer's move and computer-against-computer play: the search chosen,
// played, listed, logged, rated and announced, driven through a recording
// host with a clock the test controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/engine/driver_fixture.h"
#include "core/engine/evaluate.h"
#include "core/engine/rootdriver.h"
#include "core/engine/rootsearch.h"
#include "core/engine/searchnode.h"
#include "core/engine/searchprogress.h"
#include "core/fileio.h"
#include "core/files/pdn.h"
#include "core/game/computermove.h"
#include "core/game/moveexec.h"
#include "core/game/legalmovelist.h"
#include "core/game/toolsetup.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"

using namespace m8;
using namespace m8::testing;

namespace {

// The full-window score at iteration `depth` of the root move of `digits`
// from m.From to m.To (no two share their squares in these positions).
int FullWindowScore(const std::string& digits, int side, int depth, const MoveRecord& m) {
  DriverGame d(digits, side, depth);
  const auto legal = d.LegalMoves();
  const auto it = std::find_if(legal.begin(), legal.end(), [&](const MoveRecord& x) { return SameMove(x, m); });
  return it == legal.end() ? kNoRootScore : FullWindowScore(d, depth, *it);
}

// Each listed root move against its full-window score at the depth the list
// shows: an exact score is that score, a bound is not below it, and no move
// is better than the played move (listed first, exactly).
void ExpectTrueRootScores(const std::string& digits, int side, int depth, const GameState& g,
                          const std::string& where) {
  const auto& t = g.Driver.RootScores;
  EXPECT_EQ(t[kRootScoreBoundRow][0], 0) << where;
  for (int i = 0; i < kRootScoreSlots && t[0][i] != kNoRootScore; ++i) {
    MoveRecord m;
    m.From = t[0][i];
    m.To = t[1][i];
    const int full = FullWindowScore(digits, side, depth, m);
    ASSERT_NE(full, kNoRootScore) << where << " slot " << i;
    if (t[kRootScoreBoundRow][i] == 0) {
      EXPECT_EQ(t[2][i], full) << where << " slot " << i;
    } else {
      EXPECT_LE(full, t[2][i]) << where << " slot " << i;
    }
    EXPECT_LE(full, t[2][0]) << where << " slot " << i;
  }
}

}  // namespace

TEST(ComputerMove, SingleLegalMoveIsPlayedAfterOneIteration) {
  // Black must take the man on 43 (a forced single capture).
  DriverGame d(Digits({{43, '1'}, {21, '1'}, {54, '2'}, {98, '2'}}), -1, 6);
  const auto legal = d.LegalMoves();
  ASSERT_EQ(legal.size(), 1u);
  ComputerMove(d.g);
  GameState& g = d.g;
  EXPECT_EQ(g.P.GamePly, 1);
  EXPECT_TRUE(SameMove(g.Game.GameMoves[1], legal[0]));
  EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (1)"), 1);
  EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (2)"), 0);
  EXPECT_EQ(g.Game.GameRecord[1][2], "1");
  EXPECT_EQ(g.Game.GameRecord[1][4], " 1");
  EXPECT_EQ(g.Game.MoveChoiceHistory[1], 1);
  EXPECT_EQ(g.Opt.SearchDepth, 6);  // the option is given back
  EXPECT_EQ(g.P.SideToMove, 1);
  // The commands are given back and Cancel is off again.
  EXPECT_FALSE(d.host.enabled[Command::Cancel]);
  EXPECT_TRUE(d.host.enabled[Command::Compute]);
  EXPECT_TRUE(d.host.enabled[Command::Back]);
  EXPECT_FALSE(d.host.enabled[Command::Forward]);
  EXPECT_EQ(g.Driver.MoveListCount, 1);
  EXPECT_EQ(g.Driver.MoveListLines[0].substr(0, 6), "   1. ");
  // The user's moves are listed for the next move.
  EXPECT_FALSE(g.Driver.LegalMoveLines.empty());
  EXPECT_EQ(g.Flow.GameOver, 0);
}

TEST(ComputerMove, BookMoveFromAFixtureBookIsPlayedWithItsMark) {
  TempFolder folder;
  folder.Write("books/American Checkers.bok",
               "TAVRIN Version=0.89\r\nVariant=American Checkers\r\n"
               "WhiteManMovement=NW;NE NW;NE\r\nBlackManMovement=NW;NE NW;NE\r\n"
               "WhiteKingMovement=NW;NE;SE;SW NW;NE;SE;SW\r\nBlackKingMovement=NW;NE;SE;SW NW;NE;SE;SW\r\n"
               "start\r\n1014b2217w\r\nnames\r\n1014'Test line'\r\nend\r\n");
  SearchGame t;
  DriverHost host;
  GameState& g = *t.g;
  std::string error;
  ASSERT_TRUE(SetupAnalysisPosition(g, "American Checkers", "", -1, &error)) << error;
  g.host = &host;
  g.ProgramFolder = folder.path.string();
  g.Opt.DepthMode = 1;
  g.Opt.SearchDepth = 5;
  g.Opt.UseBook = 1;
  g.Opt.ShowCalculation = 1;
  g.Opt.UseRating = 0;
  ComputerMove(g);
  ASSERT_EQ(g.P.GamePly, 1);
  EXPECT_EQ(g.Game.GameRecord[1][0], "1014 10-14");
  EXPECT_EQ(g.Driver.MoveListLines[0], "   1. 10-14b");
  EXPECT_EQ(g.Game.MoveChoiceHistory[1], 1);
  EXPECT_EQ(g.Game.GameRecord[1][4], " 1");
  EXPECT_NE(g.Search.EngineOutputText.find("Main: Book"), std::string::npos) << g.Search.EngineOutputText;
  EXPECT_EQ(g.Book.BookFrom, 0);
  EXPECT_EQ(g.Book.OpeningName, "Test line");
  // The user's book reply is marked in the list of legal moves.
  const auto& lines = g.Driver.LegalMoveLines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "22-17b"), 1);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.back() == 'b'; }), 1);
  EXPECT_EQ(g.Opt.SearchDepth, 5);
}

TEST(ComputerMove, CancelDuringTheFirstIterationPlaysTheBestMoveSoFar) {
  DriverGame d(kMiddleGame, -1, 12);
  const auto legal = d.LegalMoves();
  d.host.actAt = 5;
  d.host.action = [&] { d.g.P.StopRequest = 1; };
  ComputerMove(d.g);
  GameState& g = d.g;
  ASSERT_EQ(g.P.GamePly, 1);
  EXPECT_TRUE(std::any_of(legal.begin(), legal.end(),
                          [&](const MoveRecord& m) { return SameMove(m, g.Game.GameMoves[1]); }));
  EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (2)"), 0);
  EXPECT_EQ(g.P.SearchAborted, 1);  // stays for computer-against-computer play
  EXPECT_EQ(g.Flow.GameOver, 0);
  EXPECT_FALSE(d.host.enabled[Command::Cancel]);
}

TEST(ComputerMove, TimeLimitStopsAtTheNextRootMoveUnlessTheScoreFalls) {
  struct Case {
    const char* name;
    std::string digits;
    double jump;        // seconds added when iteration 3 begins (limit 2)
    bool wholeIteration;  // iteration 3 is searched to its end
  };
  const Case cases[] = {
      {"steady score: stop after the first move", kMiddleGame, 2.5, false},
      {"falling score: grace until the iteration ends", kFallingScore, 2.5, true},
      {"falling score past 1.5 times the limit: stop", kFallingScore, 3.2, false},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, -1);
    d.g.Opt.DepthMode = 0;
    d.g.Opt.SearchTime = 2;
    d.host.freezeInSearch = true;
    bool jumped = false;
    d.host.onStatus = [&](const std::string& s) {
      if (!jumped && s.rfind("Thinking... (3)", 0) == 0) {
        jumped = true;
        d.host.now += c.jump;
      }
    };
    const int moves = static_cast<int>(d.LegalMoves().size());
    ComputerMove(d.g);
    EXPECT_EQ(d.g.P.GamePly, 1) << c.name;
    EXPECT_TRUE(jumped) << c.name;
    EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (3)  "), c.wholeIteration ? moves : 1) << c.name;
    EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (4)"), 0) << c.name;
    EXPECT_EQ(d.g.P.SearchAborted, 0) << c.name;  // a time-out is not a Cancel
    EXPECT_EQ(d.g.P.StopRequest, 0) << c.name;
    EXPECT_EQ(d.g.Opt.SearchDepth, 3) << c.name;  // 20 only while it thinks
  }
}

// In the time mode with the clock standing still, the first root move of
// iteration 9 is searched; the clock jumps past the limit when it begins
// (`atFirst`) or when the second root move begins. Gives the pumps (one per
// node) from the jump to the end of the search.
struct LongRootMove {
  long pumpsAfterJump = 0;
  long firstMovePumps = 0;  // the whole first root move (jump at the second)
  int playedPly = 0;
  int aborted = 0;
  int iteration10 = 0;
};

LongRootMove RunLongRootMove(bool atFirst) {
  DriverGame d(kMiddleGame, -1);
  d.g.Opt.DepthMode = 0;
  d.g.Opt.SearchTime = 2;
  d.host.freezeInSearch = true;
  long firstAt = -1, jumpAt = -1, endAt = -1;
  d.host.onStatus = [&](const std::string& s) {
    if (s.rfind("Thinking... (9)  ", 0) == 0 && jumpAt < 0) {
      if (firstAt < 0) {
        firstAt = d.host.pumps;
        if (!atFirst) return;
      }
      jumpAt = d.host.pumps;
      d.host.now += 10;
    }
    if (s.empty() && jumpAt >= 0 && endAt < 0) endAt = d.host.pumps;
  };
  ComputerMove(d.g);
  LongRootMove r;
  r.pumpsAfterJump = endAt - jumpAt;
  r.firstMovePumps = atFirst ? 0 : jumpAt - firstAt;
  r.playedPly = d.g.P.GamePly;
  r.aborted = d.g.P.SearchAborted;
  r.iteration10 = d.host.CountStatusPrefix("Thinking... (10)");
  return r;
}

TEST(ComputerMove, TimeLimitStopsALongRootMoveInsideTheSearch) {
  const LongRootMove whole = RunLongRootMove(false);
  const LongRootMove cut = RunLongRootMove(true);
  // The root move is long: many clock readings of the nodes fit into it.
  ASSERT_GT(whole.firstMovePumps, 8 * static_cast<long>(kClockCheckNodes));
  // Stopped within the move: one reading interval and the return of the tree.
  EXPECT_LT(cut.pumpsAfterJump, 2 * static_cast<long>(kClockCheckNodes));
  for (const LongRootMove& r : {whole, cut}) {
    EXPECT_EQ(r.playedPly, 1);  // the best move so far is played
    EXPECT_EQ(r.aborted, 0);    // a time-out is not a Cancel
    EXPECT_EQ(r.iteration10, 0);
  }
}

TEST(ComputerVsComputer, CancelInTheIterationTheTimeRunsOutEndsThePlay) {
  struct Case {
    const char* name;
    int cancelAfterJump;  // pumps from the clock's jump past the limit to the Cancel
    bool afterTimeStop;   // the Cancel comes once the time limit has stopped the search
  };
  const Case cases[] = {
      {"both at one pump", 0, false},
      {"the time runs out, then Cancel", 2, false},
      {"Cancel while the timed-out search returns", 0, true},
  };
  for (const Case& c : cases) {
    DriverGame d(kMiddleGame, -1);
    GameState& g = d.g;
    g.Opt.DepthMode = 0;
    g.Opt.SearchTime = 2;
    d.host.freezeInSearch = true;
    long base = -1;
    bool cancelled = false;
    d.host.onStatus = [&](const std::string& s) {
      if (base < 0 && s.rfind("Thinking... (4)  ", 0) == 0) base = d.host.pumps + 300;
    };
    d.host.onPump = [&] {
      if (base < 0 || cancelled) return;
      const long n = d.host.pumps;
      if (n == base) d.host.now += 2.5;
      const bool cancelNow = c.afterTimeStop ? n > base && g.P.SearchAborted == 1 : n == base + c.cancelAfterJump;
      if (cancelNow) {
        g.P.StopRequest = 1;
        cancelled = true;
      }
    };
    ComputerVsComputer(g);
    EXPECT_TRUE(cancelled) << c.name;
    EXPECT_EQ(g.P.GamePly, 1) << c.name;  // the move is played, then the play ends
    EXPECT_EQ(g.P.SearchAborted, 1) << c.name;
    EXPECT_EQ(g.Opt.PlayMode, 0) << c.name;
    EXPECT_EQ(g.Flow.GameOver, 0) << c.name;
    EXPECT_FALSE(g.Driver.LegalMoveLines.empty()) << c.name;  // the user plays on
  }
}

// Cancel during the half-second pauses, where the event pump runs at ply 0:
// before the search of a move (the move of the first iteration is played at
// once) and between two moves of computer-against-computer play (no further
// move). Meanwhile only Cancel is offered.
TEST(ComputerVsComputer, CancelDuringThePausesIsAnsweredAtOnce) {
  struct Case {
    const char* name;
    int plyAtCancel;  // GamePly of the pause
    int plies;        // played in all
  };
  const Case cases[] = {
      {"pause before the first search", 0, 1},
      {"pause between the first two moves", 1, 1},
  };
  for (const Case& c : cases) {
    DriverGame d(kMiddleGame, -1, 6);
    GameState& g = d.g;
    d.host.step = 0.01;
    double cancelledAt = -1;
    int pausePumps = 0;
    d.host.onPump = [&] {
      if (g.P.Ply != 0) return;  // a search node
      ++pausePumps;
      EXPECT_TRUE(d.host.enabled[Command::Cancel]) << c.name;
      for (Command other : {Command::NewGame, Command::Open, Command::Options, Command::Compute})
        EXPECT_FALSE(d.host.enabled[other]) << c.name;
      if (cancelledAt < 0 && g.P.GamePly == c.plyAtCancel) {
        g.P.StopRequest = 1;
        cancelledAt = d.host.now;
      }
    };
    ComputerVsComputer(g);
    ASSERT_GE(cancelledAt, 0) << c.name;
    EXPECT_GT(pausePumps, 0) << c.name;
    EXPECT_EQ(g.P.GamePly, c.plies) << c.name;
    if (c.plyAtCancel == 0) {
      EXPECT_EQ(d.host.CountStatusPrefix("Thinking... (2)"), 0) << c.name;
    }
    EXPECT_EQ(g.P.SearchAborted, 1) << c.name;
    EXPECT_EQ(g.Opt.PlayMode, 0) << c.name;
    EXPECT_EQ(g.Flow.Busy, 0) << c.name;
    EXPECT_FALSE(d.host.enabled[Command::Cancel]) << c.name;
    EXPECT_TRUE(d.host.enabled[Command::NewGame]) << c.name;
    EXPECT_FALSE(g.Driver.LegalMoveLines.empty()) << c.name;
    // Answered within a few readings of the clock, far below 0.3 s.
    EXPECT_LT(d.host.now - cancelledAt, 0.3) << c.name;
  }
}

// The root moves as the list beside the board shows them: the played move
// first, then the others; none of them with a better score than the played
// move, also where a line was searched one ply deeper or a move that looked
// better fell back on its re-search.
TEST(ComputerMove, NoRootMoveIsListedWithABetterScoreThanThePlayedMove) {
  struct Case {
    std::string digits;
    int side;
  };
  const Case cases[] = {{kMiddleGame, -1}, {kFallingScore, -1}, {kWinIn3, 1}, {kWinIn2, 1}, {kShutIn, 1},
                        {Digits({{43, '3'}, {47, '1'}, {63, '2'}, {65, '2'}, {76, '4'}}), 1}};
  for (const Case& c : cases) {
    for (int depth = 2; depth <= 7; ++depth) {
      DriverGame d(c.digits, c.side, depth);
      const int n = static_cast<int>(d.LegalMoves().size());
      ComputerMove(d.g);
      const GameState& g = d.g;
      const auto& t = g.Driver.RootScores;
      ASSERT_EQ(g.P.GamePly, 1);
      EXPECT_EQ(t[0][0], g.Game.GameMoves[1].From) << c.digits << " depth " << depth;
      EXPECT_EQ(t[1][0], g.Game.GameMoves[1].To) << c.digits << " depth " << depth;
      EXPECT_EQ(t[2][0], g.Flow.BestScore) << c.digits << " depth " << depth;
      for (int i = 1; i < n; ++i) {
        EXPECT_LE(t[2][i], t[2][0]) << c.digits << " depth " << depth << " slot " << i;
        EXPECT_LE(t[2][i], t[2][i - 1]) << c.digits << " depth " << depth << " slot " << i;
      }
      if (depth % 2 == 1)
        ExpectTrueRootScores(c.digits, c.side, n == 1 ? 1 : depth, g, c.digits + " depth " + std::to_string(depth));
    }
  }
}

// Cancel at points spread over a search to depth 9, also where the
// interrupted iteration had scored the played move anew or found a better
// one. The played move is listed first with the score the engine gave for
// it; every other move with the value or bound that a separate search to the
// last completed depth gives it, as that search found it (a shallower score
// may be above the played one), best first. Where the played move's score is
// of a deeper iteration, a last line names both depths.
TEST(ComputerMove, AfterCancelThePlayedMoveIsListedFirst) {
  // Per root move (from, to): its score and whether it is a bound.
  using Rows = std::map<std::pair<int, int>, std::pair<int, int>>;
  const auto rows = [](const GameState& g) {
    Rows out;
    const auto& t = g.Driver.RootScores;
    for (int i = 0; i < kRootScoreSlots && t[0][i] != kNoRootScore; ++i)
      out[{t[0][i], t[1][i]}] = {t[2][i], t[kRootScoreBoundRow][i]};
    return out;
  };
  int deeperPlayed = 0, shallowAbovePlayed = 0;  // how often the hard cases came
  for (const std::string& digits : {std::string(kMiddleGame), std::string(kFallingScore)}) {
    for (long at : {10L, 44L, 300L, 1000L, 3128L, 7675L, 18775L, 30000L}) {
      const std::string where = digits + " at " + std::to_string(at);
      DriverGame d(digits, -1, 9);
      const int n = static_cast<int>(d.LegalMoves().size());
      // The iteration of the last root move begun: the one the stop ended.
      int stoppedIn = 0;
      d.host.onStatus = [&](const std::string& s) {
        if (s.rfind("Thinking... (", 0) == 0) stoppedIn = std::atoi(s.c_str() + 13);
      };
      d.host.actAt = at;
      d.host.action = [&] { d.g.P.StopRequest = 1; };
      ComputerMove(d.g);
      const GameState& g = d.g;
      const auto& t = g.Driver.RootScores;
      ASSERT_EQ(g.P.GamePly, 1) << where;
      ASSERT_GT(stoppedIn, 0) << where;
      // Cancel in the pause leaves the first iteration to be searched whole;
      // in the first iteration the moves it finished have their scores.
      const int completed = std::max(1, stoppedIn - 1);
      const int playedDepth = std::stoi(g.Game.GameRecord[1][4]);
      DriverGame reference(digits, -1, completed);
      ComputerMove(reference.g);
      const Rows proven = rows(reference.g);

      // The first line: the played move with its own score, exact.
      EXPECT_EQ(t[0][0], g.Game.GameMoves[1].From) << where;
      EXPECT_EQ(t[1][0], g.Game.GameMoves[1].To) << where;
      EXPECT_EQ(t[2][0], g.Flow.BestScore) << where;
      EXPECT_EQ(t[kRootScoreBoundRow][0], 0) << where;
      for (int i = 2; i < n; ++i) EXPECT_LE(t[2][i], t[2][i - 1]) << where << " slot " << i;
      // Every other line as the finished search found it.
      const Rows shown = rows(g);
      ASSERT_EQ(shown.size(), static_cast<size_t>(n)) << where;
      for (const auto& [move, score] : shown) {
        if (move == std::pair<int, int>{t[0][0], t[1][0]}) continue;
        if (stoppedIn == 1 && score.first == kNoRootScore) continue;  // not reached
        EXPECT_EQ(score, proven.at(move)) << where << " move " << move.first << "-" << move.second;
        if (score.first > t[2][0]) ++shallowAbovePlayed;
      }
      const auto& lines = g.Driver.RootScoreLines;
      if (playedDepth == completed) {
        EXPECT_EQ(lines, reference.g.Driver.RootScoreLines) << where;
      } else {
        ++deeperPlayed;
        EXPECT_EQ(playedDepth, completed + 1) << where;
        EXPECT_EQ(lines.size(), static_cast<size_t>(n + 1)) << where;
        if (lines.size() == static_cast<size_t>(n + 1)) {
          EXPECT_NE(lines.back().find("depth " + std::to_string(playedDepth)), std::string::npos) << lines.back();
          EXPECT_NE(lines.back().find("depth " + std::to_string(completed)), std::string::npos) << lines.back();
        }
      }
    }
  }
  EXPECT_GT(deeperPlayed, 0);
  EXPECT_GT(shallowAbovePlayed, 0);
}

// Cancel during the first root move of iteration 6 (depth 8): the list shows
// the scores of iteration 5, exactly as a search to depth 5 leaves them, and
// that search's move is played.
TEST(ComputerMove, AfterCancelTheListShowsTheLastCompletedIteration) {
  DriverGame reference(kMiddleGame, -1, 5);
  ComputerMove(reference.g);
  DriverGame d(kMiddleGame, -1, 8);
  d.host.onStatus = [&](const std::string& s) {
    if (d.host.actAt < 0 && s.rfind("Thinking... (6)  ", 0) == 0) d.host.actAt = d.host.pumps + 40;
  };
  d.host.action = [&] { d.g.P.StopRequest = 1; };
  ComputerMove(d.g);
  ASSERT_GT(d.host.actAt, 0);
  EXPECT_EQ(d.g.P.SearchAborted, 1);
  EXPECT_TRUE(SameMove(d.g.Game.GameMoves[1], reference.g.Game.GameMoves[1]));
  EXPECT_EQ(d.g.Flow.BestScore, reference.g.Flow.BestScore);
  EXPECT_EQ(d.g.Driver.RootScoreLines, reference.g.Driver.RootScoreLines);
  EXPECT_EQ(d.g.Driver.RootScoreLines.size(), reference.LegalMoves().size());
}

TEST(ComputerMove, ForcedWinIsAnnouncedWithTheRightNumberOfMoves) {
  struct Case {
    std::string digits;
    std::string text;
    int moves;
  };
  const Case cases[] = {
      {kWinIn3, "Computer is winning in 3 moves! ", 3},
      {kWinIn2, "Computer is winning in 2 moves! ", 2},
      {kShutIn, "Computer is winning in 1 move! ", 1},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, 1, 9);
    ASSERT_TRUE(m8::testing::CanWinWithin(d.g, c.moves)) << c.text;
    if (c.moves > 1) {
      ASSERT_FALSE(m8::testing::CanWinWithin(d.g, c.moves - 1)) << c.text;
    }
    ComputerMove(d.g);
    EXPECT_EQ(d.host.CountStatus(c.text), 1) << c.text;
    EXPECT_EQ(d.g.Flow.MateAnnounced, 1) << c.text;
  }
  // The last one leaves Black without a move: the game ends at once.
  DriverGame d(kShutIn, 1, 4);
  ComputerMove(d.g);
  EXPECT_EQ(d.g.Flow.GameOver, 1);
  EXPECT_TRUE(d.host.HasMessage("Congratulations: Computer wins!"));
  EXPECT_EQ(d.g.Flow.GameResult, "1-0");  // White began (it was to move) and won
}

TEST(ComputerMove, DrawOfferAcceptedEndsTheGameDeclinedGoesOn) {
  // Two kings each, far apart.
  const std::string kings = Digits({{21, '3'}, {25, '3'}, {92, '4'}, {96, '4'}});
  struct Case {
    bool answer;
    int playMode;
    bool asked;
  };
  for (const Case& c : {Case{true, 0, true}, Case{false, 0, true}, Case{true, 2, false}}) {
    DriverGame d(kings, 1, 3);
    GameState& g = d.g;
    g.Opt.AskForDraw = 1;
    g.Opt.PlayMode = c.playMode;
    g.Flow.StableScoreCount = 2;
    g.Flow.LastDrawOfferPly = -100;
    d.host.answer = c.answer;
    ComputerMove(g);
    ASSERT_EQ(g.P.GamePly, 1);
    EXPECT_EQ(d.host.questions, c.asked ? 1 : 0);
    const bool drawn = c.asked && c.answer;
    EXPECT_EQ(g.Flow.GameOver, drawn ? 1 : 0);
    EXPECT_EQ(g.Flow.GameResult, drawn ? "1/2-1/2" : "");
    EXPECT_EQ(d.host.HasMessage("Congratulations: It's a draw!"), drawn);
    if (c.asked) {
      EXPECT_EQ(g.Flow.LastDrawOfferPly, 1);
    }
    if (drawn) {
      EXPECT_FALSE(d.host.enabled[Command::Compute]);
    }
  }
  // Never twice within 40 plies.
  DriverGame d(kings, 1, 3);
  d.g.Opt.AskForDraw = 1;
  d.g.Flow.StableScoreCount = 2;
  d.g.Flow.LastDrawOfferPly = -100;
  ComputerMove(d.g);
  d.g.Flow.StableScoreCount = 2;
  ComputerMove(d.g);
  EXPECT_EQ(d.host.questions, 1);
}

TEST(ComputerMove, DecidedPositionsEndBeforeAnySearch) {
  struct Case {
    const char* name;
    std::string digits;
    int side;
    std::function<void(RuleSet&)> rules;
    std::string message;
    std::string result;
  };
  const Case cases[] = {
      // White to move has no move at all.
      {"no move", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, {}, "Congratulations: Player wins!", "0-1"},
      // With NoLegalDraw a blocked side draws.
      {"no-move draw", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, [](RuleSet& r) { r.NoLegalDraw = 1; },
       "Congratulations: It's a draw!", "1/2-1/2"},
      // NumberPieces 1: Black with one piece has lost, White to move has won.
      {"rule win of the side to move", Digits({{21, '1'}, {27, '1'}, {87, '2'}}), 1,
       [](RuleSet& r) { r.NumberPieces = 1; }, "Congratulations: Computer wins!", "1-0"},
      // ... and with Black to move, Black has lost.
      {"rule loss of the side to move", Digits({{21, '1'}, {27, '1'}, {87, '2'}}), -1,
       [](RuleSet& r) { r.NumberPieces = 1; }, "Congratulations: Player wins!", "0-1"},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, c.side, 3, c.rules);
    ComputerMove(d.g);
    EXPECT_EQ(d.g.P.GamePly, 0) << c.name;
    EXPECT_EQ(d.g.Flow.GameOver, 1) << c.name;
    EXPECT_EQ(d.host.CountStatusPrefix("Thinking... ("), 0) << c.name;
    EXPECT_TRUE(d.host.HasMessage(c.message)) << c.name;
    EXPECT_EQ(d.host.messages.size(), 1u) << c.name;
    EXPECT_EQ(d.g.Flow.GameResult, c.result) << c.name;
    EXPECT_EQ(d.g.Opt.SearchDepth, 3) << c.name;
    EXPECT_FALSE(d.host.enabled[Command::Cancel]) << c.name;
  }
  // Both sides the computer: the winner is named by colour.
  DriverGame d(Digits({{21, '1'}, {27, '1'}, {87, '2'}}), 1, 3, [](RuleSet& r) { r.NumberPieces = 1; });
  d.g.Opt.PlayMode = 2;
  ComputerMove(d.g);
  EXPECT_TRUE(d.host.HasMessage("Morventa8: White wins!"));
}

TEST(ComputerMove, ComputerAgainstComputerCongratulatesNobody) {
  // Every way a game of the computer against itself ends: the box has the
  // program's title, in Player-Computer play it congratulates.
  const struct {
    const char* name;
    std::string digits;
    int side;
    std::function<void(RuleSet&)> rules;
    const char* text;
  } cases[] = {
      {"no move", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, {}, "Black wins!"},
      {"no-move draw", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, [](RuleSet& r) { r.NoLegalDraw = 1; },
       "It's a draw!"},
      {"the move that wins", Digits({{83, '1'}, {52, '2'}}), 1, [](RuleSet& r) { r.KingWin = 1; },
       "Computer wins!"},
      {"the move that leaves no move", Digits({{21, '1'}, {32, '2'}, {54, '2'}}), -1, {},
       "Computer wins!"},
  };
  for (const auto& c : cases) {
    for (const int playMode : {2, 0}) {
      DriverGame d(c.digits, c.side, 3, c.rules);
      d.g.Opt.PlayMode = playMode;
      ComputerMove(d.g);
      EXPECT_EQ(d.g.Flow.GameOver, 1) << c.name;
      const std::string title = playMode == 2 ? "Morventa8: " : "Congratulations: ";
      ASSERT_EQ(d.host.messages.size(), 1u) << c.name << " " << playMode;
      EXPECT_EQ(d.host.messages[0].rfind(title, 0), 0u) << c.name << ": " << d.host.messages[0];
      if (playMode == 2) {
        EXPECT_EQ(d.host.messages[0], title + c.text) << c.name;
      }
    }
  }
}

TEST(ComputerMove, AGameDecidedBeforeTheSearchIsRatedBeforeItIsAnnounced) {
  // A rated game ends before any search (no move left; the move limit): the
  // rating is settled first, so the announcement carries no stale rating
  // text and the game is rated once.
  struct Case {
    const char* name;
    std::string digits;
    int side, ply;
    std::string message;
  };
  const Case cases[] = {
      {"no move", Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, 0, "Congratulations: Player wins!"},
      {"move limit", kMiddleGame, -1, kMaxGamePly, "Congratulations: It's a draw! 50 Moves Rule"},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, c.side, 2);
    d.g.Opt.ChessDrawRules = 0;
    d.g.P.GamePly = c.ply;
    d.g.Game.GameLength = c.ply;
    d.g.Opt.UseRating = 1;
    d.g.Rating.RatedGame = 1;
    d.g.Rating.RatingMessage = " stale";
    ComputerMove(d.g);
    EXPECT_EQ(d.g.Flow.GameOver, 1) << c.name;
    EXPECT_EQ(d.g.Rating.RatedGame, 0) << c.name;
    EXPECT_TRUE(d.host.HasMessage(c.message)) << c.name;
    EXPECT_EQ(d.host.messages.size(), 1u) << c.name;
  }
}

TEST(ComputerMove, AWinByRuleWithMovesLeftCarriesTheResult) {
  // White crowns on its next move and wins by KingWin (as in King Race or
  // Fox and Geese); Black still has a man that can move. Both sides the
  // computer or not, the result names White (the first mover here).
  for (int playMode : {0, 2}) {
    DriverGame d(Digits({{83, '1'}, {52, '2'}}), 1, 3, [](RuleSet& r) { r.KingWin = 1; });
    d.g.Opt.PlayMode = playMode;
    ComputerMove(d.g);
    ASSERT_EQ(d.g.P.GamePly, 1) << playMode;
    EXPECT_EQ(d.g.Flow.GameOver, 1) << playMode;
    EXPECT_TRUE(d.host.HasMessage(playMode == 2 ? "Morventa8: Computer wins!" : "Congratulations: Computer wins!"))
        << playMode;
    EXPECT_EQ(d.g.Flow.GameResult, "1-0") << playMode;
  }
}

TEST(ComputerMove, GameAtTheEndOfTheGameTablesEndsDrawnByTheMoveLimit) {
  for (int ply : {kMaxGamePly - 1, kMaxGamePly}) {
    DriverGame d(kMiddleGame, -1, 2);
    d.g.Opt.ChessDrawRules = 0;
    d.g.P.GamePly = ply;
    d.g.Game.GameLength = ply;
    ComputerMove(d.g);
    EXPECT_EQ(d.g.P.GamePly, kMaxGamePly) << ply;
    EXPECT_EQ(d.g.Flow.GameOver, 1) << ply;
    EXPECT_EQ(d.g.Draw.DrawReason, kDrawMoveLimit) << ply;
    EXPECT_TRUE(d.host.HasMessage("Congratulations: It's a draw! 50 Moves Rule")) << ply;
    EXPECT_EQ(d.g.Flow.GameResult, "1/2-1/2") << ply;
  }
}

TEST(ComputerMove, LogsTheMoveAndOneLineForEachIteration) {
  TempFolder folder;
  DriverGame d(kMiddleGame, -1, 3);
  GameState& g = d.g;
  g.ProgramFolder = folder.path.string();
  g.Log.Enabled = true;
  ComputerMove(g);
  ASSERT_EQ(g.P.GamePly, 1);
  const std::string log = ReadWholeFile((folder.path / "tavrin.log").string()).value_or("");
  EXPECT_NE(log.find("      moves    score   depth    main\r\n"), std::string::npos);  // the game's header
  EXPECT_NE(log.find("   1. " + g.Texts.MoveText), std::string::npos);
  for (int depth = 1; depth <= 3; ++depth)
    EXPECT_NE(log.find(std::string(15, ' ') + "D: " + std::to_string(depth) + "   B: "), std::string::npos) << depth;
  EXPECT_EQ(log.find("D: 4"), std::string::npos);
  EXPECT_EQ(g.Game.GameRecord[1][0], g.Texts.CaptureSquaresText + " " + g.Texts.MoveText);
  EXPECT_EQ(g.Game.GameRecord[1][4], " 3");
  EXPECT_EQ(g.Game.ScoreHistory[1], g.Flow.BestScore);
  EXPECT_EQ(g.Driver.GameMoveTexts[1][0], g.Texts.MoveText);
  // The root moves are listed best first.
  const auto& scores = g.Driver.RootScores[2];
  EXPECT_EQ(scores[0], g.Flow.BestScore);
  EXPECT_FALSE(g.Driver.RootScoreLines.empty());
  // A new game forgets the lists; an empty score table leaves the root-score list alone.
  ClearDriverLists(g);
  EXPECT_EQ(g.Driver.MoveListCount, 0);
  EXPECT_TRUE(g.Driver.GameMoveTexts[1][0].empty());
  EXPECT_EQ(g.Driver.RootScores[0][0], kNoRootScore);
  g.Driver.RootScoreLines = {"kept"};
  ListRootMoveScores(g);
  EXPECT_EQ(g.Driver.RootScoreLines, std::vector<std::string>{"kept"});
}

TEST(ComputerVsComputer, PlaysUntilTheGameEndsThenHandsTheMoveToTheUser) {
  DriverGame d(kWinIn2, 1, 5);
  GameState& g = d.g;
  ComputerVsComputer(g);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_GE(g.P.GamePly, 3);
  EXPECT_EQ(g.Opt.PlayMode, 0);
  EXPECT_EQ(g.Flow.Busy, 0);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  // Nobody to congratulate: the box has the program's title.
  EXPECT_TRUE(d.host.HasMessage("Morventa8: Computer wins!"));
  EXPECT_TRUE(d.host.checked[Command::ComputerPlayer]);
  EXPECT_FALSE(d.host.checked[Command::ComputerComputer]);
  EXPECT_FALSE(g.Driver.RootScoreLines.empty());  // shown at the end of the game
  EXPECT_TRUE(d.host.enabled[Command::BoardMenu]);
}

// The game the computer played against itself names it on both sides in
// PDN, though the user takes a side on the board once the mode ends; a side
// the user has moved since goes out under the name beside it.
TEST(ComputerVsComputer, ItsGameIsSavedWithTheComputerOnBothSides) {
  DriverGame d(kWinIn2, 1, 5);
  GameState& g = d.g;
  g.Opt.UserName = "Ann";
  ComputerVsComputer(g);
  ASSERT_EQ(g.Flow.GameOver, 1);
  ASSERT_GE(g.Game.GameLength, 2);
  const std::string pdn = PdnGameText(g, "01/02/2026");
  EXPECT_NE(pdn.find("[Black \"Computer\"]"), std::string::npos) << pdn;
  EXPECT_NE(pdn.find("[White \"Computer\"]"), std::string::npos) << pdn;
  EXPECT_EQ(pdn.find("Ann"), std::string::npos) << pdn;

  // Stopped after the computer's first move (Black's); the user then moves
  // White.
  DriverGame e(kMiddleGame, -1, 8);
  GameState& h = e.g;
  h.Opt.UserName = "Ann";
  e.host.actAt = 50;
  e.host.action = [&] { h.P.StopRequest = 1; };
  ComputerVsComputer(h);
  ASSERT_EQ(h.P.GamePly, 1);
  MoveFollowUps userOnly;
  userOnly.computerReply = [](GameState&) {};
  ResetPly(h);
  ASSERT_TRUE(GenerateLegalMoves(h));
  ASSERT_TRUE(EnterMoveIndex(h, h.P.PlyStart[0], MoveSource::Typed, userOnly));
  const std::string mixed = PdnGameText(h, "01/02/2026");
  EXPECT_NE(mixed.find("[Black \"Computer\"]"), std::string::npos) << mixed;
  EXPECT_NE(mixed.find("[White \"Ann\"]"), std::string::npos) << mixed;

  // Stopped in the search of the computer's second or third move (its move
  // is played, then the loop ends): each side has moved, and the user takes
  // the side to move on the board (White, the second mover; or Black, the
  // first mover), but until the user moves it the game is the computer's on
  // both sides. A move of the user's then goes out under the user's name.
  const struct {
    int stopAtPly;  // the loop is told to stop while it searches this ply
    const char* userSide;
    const char* computerSide;
  } cases[] = {{2, "White", "Black"}, {1, "Black", "White"}};
  for (const auto& c : cases) {
    SCOPED_TRACE("stopped in the search of ply " + std::to_string(c.stopAtPly + 1));
    DriverGame both(kMiddleGame, -1, 8);
    GameState& h = both.g;
    h.Opt.UserName = "Ann";
    both.host.onStatus = [&h, &c](const std::string& text) {
      if (h.P.GamePly == c.stopAtPly && text.rfind("Thinking... (", 0) == 0) h.P.StopRequest = 1;
    };
    ComputerVsComputer(h);
    both.host.onStatus = nullptr;
    ASSERT_EQ(h.P.GamePly, c.stopAtPly + 1);
    ASSERT_EQ(h.Flow.GameOver, 0);
    // The board shows the user beside the side to move.
    const int sideToMove = h.P.SideToMove;
    ASSERT_EQ(sideToMove, std::string(c.userSide) == "White" ? 1 : -1);
    ASSERT_EQ(sideToMove == 1 ? h.Flow.PlayerName2 : h.Flow.PlayerName1, "Ann");
    const std::string computerOnly = PdnGameText(h, "01/02/2026");
    EXPECT_NE(computerOnly.find("[Black \"Computer\"]"), std::string::npos) << computerOnly;
    EXPECT_NE(computerOnly.find("[White \"Computer\"]"), std::string::npos) << computerOnly;
    EXPECT_EQ(computerOnly.find("Ann"), std::string::npos) << computerOnly;

    ResetPly(h);
    ASSERT_TRUE(GenerateLegalMoves(h));
    ASSERT_TRUE(EnterMoveIndex(h, h.P.PlyStart[0], MoveSource::Typed, userOnly));
    const std::string moved = PdnGameText(h, "01/02/2026");
    EXPECT_NE(moved.find("[" + std::string(c.computerSide) + " \"Computer\"]"), std::string::npos) << moved;
    EXPECT_NE(moved.find("[" + std::string(c.userSide) + " \"Ann\"]"), std::string::npos) << moved;
  }
}

TEST(ComputerVsComputer, CancelEndsTheLoopAfterThatMove) {
  DriverGame d(kMiddleGame, -1, 8);
  GameState& g = d.g;
  d.host.actAt = 50;
  d.host.action = [&] { g.P.StopRequest = 1; };
  ComputerVsComputer(g);
  EXPECT_EQ(g.P.GamePly, 1);
  EXPECT_EQ(g.Flow.GameOver, 0);
  EXPECT_EQ(g.P.SearchAborted, 1);
  EXPECT_EQ(g.Opt.PlayMode, 0);
  // Black began (BlackStarts 1) and White is to move: the user takes White.
  EXPECT_EQ(g.P.SideToMove, 1);
  EXPECT_EQ(g.Flow.PlayerName1, "Computer");
  EXPECT_EQ(g.Flow.PlayerName2, g.Opt.UserName);
}

// King against king, the computer playing both sides: the kings can only
// shuffle, and the game ends the third time a position stands, whichever
// option ends a king-against-king game. The repetition is checked by a second
// replay of the game's moves that keys each position itself.
TEST(ComputerVsComputer, AKingAgainstKingRepetitionEndsTheGame) {
  const std::string kings = Digits({{34, '3'}, {83, '4'}});  // d2 and c7
  for (int kingVersusKing : {1, 0}) {
    SCOPED_TRACE(kingVersusKing);
    DriverGame d(kings, 1, 3);
    GameState& g = d.g;
    g.Opt.KingVersusKing = kingVersusKing;
    ComputerVsComputer(g);
    ASSERT_EQ(g.Flow.GameOver, 1);
    EXPECT_EQ(g.Draw.DrawReason, kDrawRepetition);
    EXPECT_TRUE(d.host.HasMessage("Morventa8: It's a draw! Triple Repetition"));
    EXPECT_EQ(g.Flow.GameResult, "1/2-1/2");

    DriverGame replay(kings, 1, 3);
    std::map<std::string, int> seen;
    int firstThird = 0;
    for (int ply = 1; ply <= g.P.GamePly; ++ply) {
      ResetPly(replay.g);
      ASSERT_TRUE(MakeMove(replay.g, g.Game.GameMoves[ply])) << ply;
      if (++seen[PositionKey(replay.g.board, replay.g.P.SideToMove)] == 3 && firstThird == 0) firstThird = ply;
    }
    EXPECT_EQ(replay.g.board, g.board);
    EXPECT_EQ(firstThird, g.P.GamePly);
  }
}
