// The root-score list where several captures share their start and end: a
// Russian man on h2 takes 3, 5, 5 or 9 black men and ends on b8 by each
// route. Each route has a line of its own, named as the legal-move list names
// it, with the score the search proved for that route, after a whole search,
// a Cancel and a time-out alike; a double-click on a line plays its route.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/driver_fixture.h"
#include "core/game/computermove.h"
#include "core/game/legalmovelist.h"
#include "core/game/moveexec.h"
#include "core/game/navigation.h"
#include "core/rules/notation.h"

using namespace m8;
using namespace m8::testing;

namespace {

// [FEN "W:Wh2:Ba5,a7,c3,c5,c7,e3,e5,e7,f6,g3,g5,g7"]: every route of the man
// on h2 ends on b8 (crowned on the way).
const std::string kSharedEnds = [] {
  std::string s(64, '0');
  const auto put = [&](const char* square, char piece) { s[(square[1] - '1') * 8 + (square[0] - 'a')] = piece; };
  put("h2", '1');
  for (const char* black : {"a5", "a7", "c3", "c5", "c7", "e3", "e5", "e7", "f6", "g3", "g5", "g7"}) put(black, '2');
  return s;
}();

// The set-up digits of `digits` after move `m` of the white man: the men it
// takes gone, the man on its last square, a king when it was crowned.
std::string After(std::string digits, const MoveRecord& m) {
  const auto at = [&](int cell) -> char& { return digits[static_cast<size_t>((cell / 10 - 2) * 8 + cell % 10 - 1)]; };
  for (int k = 0; k < m.CapturedCount && k < kMaxCaptured; ++k) at(m.CapturedCell[k]) = '0';
  at(m.From) = '0';
  at(m.To) = m.Crown != 0 ? '3' : '1';
  return digits;
}

DriverGame SharedEndsGame(int depth) { return DriverGame("Russian Checkers", kSharedEnds, 1, depth); }

// A line of the list read back: the score after the name and a blank, "≤"
// before a bound; none for " n/a" or a line that does not begin with `name`.
struct ListedScore {
  int score = 0;
  bool bound = false;
};
std::optional<ListedScore> ScoreAfter(const std::string& line, const std::string& name) {
  if (line.rfind(name + " ", 0) != 0) return std::nullopt;
  std::string rest = line.substr(name.size() + 1);
  ListedScore s;
  const std::string le = "\xE2\x89\xA4 ";
  if (rest.rfind(le, 0) == 0) {
    s.bound = true;
    rest = rest.substr(le.size());
  }
  if (rest.find("n/a") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  s.score = static_cast<int>(std::strtol(rest.c_str(), &end, 10));
  if (end == rest.c_str() || *end != '\0') return std::nullopt;
  return s;
}

struct Stop {
  const char* name;
  bool cancel;   // false: the time limit runs out instead
  int depth;     // the iteration in which the search stops; 0: it runs to its end
  int moveInIt;  // ... while this root move of it is searched (1 the first)
};

}  // namespace

TEST(RootScoreList, CapturesWithTheSameEndsHaveALineAndAScoreEach) {
  const Stop stops[] = {
      {"whole search to depth 8", true, 0, 0},
      {"Cancel in the first move of iteration 9", true, 9, 1},
      {"Cancel in the second move of iteration 9", true, 9, 2},
      {"time-out in the third move of iteration 8", false, 8, 3},
  };
  for (const Stop& c : stops) {
    DriverGame d = SharedEndsGame(c.depth == 0 ? 8 : 12);
    GameState& g = d.g;
    const auto legal = d.LegalMoves();
    ASSERT_EQ(legal.size(), 4u);
    ListLegalMoves(g);
    const std::vector<std::string> names = g.Driver.LegalMoveLines;  // as the legal-move list names them
    ASSERT_EQ(names.size(), 4u);
    for (const std::string& n : names) EXPECT_EQ(std::count(names.begin(), names.end(), n), 1) << n;

    // The stop comes as root move `moveInIt` of iteration `depth` begins, a
    // few nodes into it.
    int starts = 0;
    const std::string prefix = "Thinking... (" + std::to_string(c.depth) + ")  ";
    if (!c.cancel) {
      g.Opt.DepthMode = 0;
      g.Opt.SearchTime = 2;
      d.host.freezeInSearch = true;
    }
    d.host.onStatus = [&](const std::string& s) {
      if (c.depth == 0 || s.rfind(prefix, 0) != 0 || ++starts != c.moveInIt) return;
      if (c.cancel)
        d.host.actAt = d.host.pumps + 20;
      else
        d.host.now += 10;
    };
    d.host.action = [&] { g.P.StopRequest = 1; };
    ComputerMove(g);
    ASSERT_EQ(g.P.GamePly, 1) << c.name;
    if (c.depth > 0) {
      ASSERT_EQ(starts, c.moveInIt) << c.name;
    }
    const int playedDepth = std::stoi(g.Game.GameRecord[1][4]);
    const int othersDepth = c.depth == 0 ? 8 : c.depth - 1;

    // Each route once, by its name, the played one first.
    const auto& lines = g.Driver.RootScoreLines;
    ASSERT_GE(lines.size(), 4u) << c.name;
    for (size_t i = 0; i < legal.size(); ++i) {
      int listed = 0;
      for (size_t row = 0; row < 4; ++row)
        if (ScoreAfter(lines[row], names[i])) ++listed;
      EXPECT_EQ(listed, 1) << c.name << ": " << names[i] << " in\n" << lines[0] << "\n" << lines[1];
    }
    MoveString(g, g.Game.GameMoves[1], true);
    // The played route's score is the engine's; every other route's is the
    // value or bound its own search to the depth of its score gives.
    for (size_t i = 0; i < legal.size(); ++i) {
      std::optional<ListedScore> s;
      size_t row = 0;
      for (; row < 4 && !s; ++row) s = ScoreAfter(lines[row], names[i]);
      if (!s) continue;
      --row;
      const bool played = SameRoute(legal[i], g.Game.GameMoves[1]);
      EXPECT_EQ(played, row == 0) << c.name << ": " << lines[row];
      DriverGame fresh = SharedEndsGame(1);
      const int full = FullWindowScore(fresh, played ? playedDepth : othersDepth, legal[i]);
      ASSERT_NE(full, kNoRootScore) << c.name;
      if (played) {
        EXPECT_EQ(s->score, g.Flow.BestScore) << c.name;
        EXPECT_FALSE(s->bound) << c.name;
      }
      if (s->bound)
        EXPECT_LE(full, s->score) << c.name << ": " << lines[row];
      else
        EXPECT_EQ(full, s->score) << c.name << ": " << lines[row];
    }
    // Where the played score is deeper, a last line says so; it plays nothing.
    if (playedDepth != othersDepth) {
      ASSERT_EQ(lines.size(), 5u) << c.name;
      EXPECT_EQ(lines[4], "First at depth " + std::to_string(playedDepth) + ", the others at depth " +
                              std::to_string(othersDepth));
      const MoveRecord played = g.Game.GameMoves[1];
      EXPECT_FALSE(PlayRootListMove(g, 4, {}, [](GameState& s) { GotoMove(s, 1, 1, 0); })) << c.name;
      EXPECT_EQ(g.P.GamePly, 1) << c.name;
      EXPECT_TRUE(SameRoute(g.Game.GameMoves[1], played)) << c.name;
    } else {
      EXPECT_EQ(lines.size(), 4u) << c.name;
    }
  }
}

// The 3- and 5-piece routes leave White lost: after a Cancel their lines
// agree with the analysis of the position after the route (Black to move),
// negated: an exact score is that loss (one ply nearer the end, give or
// take), a bound is not below it.
TEST(RootScoreList, ALostRouteAgreesWithTheAnalysisAfterIt) {
  DriverGame d = SharedEndsGame(12);
  GameState& g = d.g;
  const auto legal = d.LegalMoves();
  ListLegalMoves(g);
  const std::vector<std::string> names = g.Driver.LegalMoveLines;
  // A Cancel while the second route of iteration 9 is searched.
  int starts = 0;
  d.host.onStatus = [&](const std::string& s) {
    if (s.rfind("Thinking... (9)  ", 0) == 0 && ++starts == 2) d.host.actAt = d.host.pumps + 20;
  };
  d.host.action = [&] { g.P.StopRequest = 1; };
  ComputerMove(g);
  ASSERT_EQ(g.P.GamePly, 1);
  int lost = 0;
  for (size_t i = 0; i < legal.size(); ++i) {
    // The position after the route, analysed on its own.
    DriverGame reply("Russian Checkers", After(kSharedEnds, legal[i]), -1, 8);
    const DriverRun run = RunDriverSearch(reply.g, DriverMode::Analysis);
    ASSERT_TRUE(run.bestScore) << names[i];
    const int black = *run.bestScore;
    if (black < 31000) continue;  // the 9-piece route: no loss in sight
    ++lost;
    int listed = 0;
    for (const std::string& line : g.Driver.RootScoreLines) {
      const auto s = ScoreAfter(line, names[i]);
      if (!s) continue;
      ++listed;
      if (s->bound)
        EXPECT_LE(-black, s->score + 1) << line << ", after which Black has " << black;
      else
        EXPECT_LE(std::abs(s->score + black), 1) << line << ", after which Black has " << black;
    }
    EXPECT_EQ(listed, 1) << names[i];
  }
  EXPECT_EQ(lost, 3);
}

// A double-click on a line takes the computer's move back and plays the route
// the line names, with no question which capture was meant.
TEST(RootScoreList, ADoubleClickedLinePlaysItsRoute) {
  for (int row = 0; row < 4; ++row) {
    DriverGame d = SharedEndsGame(4);
    GameState& g = d.g;
    const auto legal = d.LegalMoves();
    ListLegalMoves(g);
    const std::vector<std::string> names = g.Driver.LegalMoveLines;
    ComputerMove(g);
    ASSERT_EQ(g.P.GamePly, 1);
    ASSERT_GT(g.Driver.RootScoreLines.size(), static_cast<size_t>(row));
    const std::string line = g.Driver.RootScoreLines[static_cast<size_t>(row)];
    const auto named = std::find_if(names.begin(), names.end(),
                                    [&](const std::string& n) { return ScoreAfter(line, n).has_value(); });
    ASSERT_NE(named, names.end()) << line;
    const MoveRecord& route = legal[static_cast<size_t>(named - names.begin())];
    EXPECT_TRUE(PlayRootListMove(g, row, {}, [](GameState& s) { GotoMove(s, 1, 1, 0); })) << line;
    EXPECT_EQ(g.P.GamePly, 1) << line;
    EXPECT_TRUE(SameRoute(g.Game.GameMoves[1], route)) << line;
    EXPECT_TRUE(d.host.messages.empty()) << line << ": " << d.host.messages.front();
  }
}
