// The Problems/Combinations command: the position in hand searched for a
// combination with the progress and Cancel of the other searches; what it
// found noted, also when it found nothing or was stopped.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/game/gameflow_fixture.h"
#include "core/game/problemcommand.h"
#include "core/rules/notation.h"

using namespace m8;
using namespace m8::gameflow_test;

namespace {

// Black to move: 13-17 gives a man, White must take it (22x13), and 15 takes
// two back on its way to the king row (15x22x29).
// White men 25, 22, 18, 6; Black men 26, 15, 13, 11.
const std::string kShot = Digits({{32, '1'}, {43, '1'}, {54, '1'}, {83, '1'}, {34, '2'}, {61, '2'}, {65, '2'}, {76, '2'}});

// Black's pieces less White's, on the board.
int BlackLead(const GameState& g) {
  int lead = 0;
  for (int cell = 21; cell <= 98; ++cell) {
    const int v = g.board[cell];
    if (v == kOffBoard || v == 0) continue;
    lead += v < 0 ? 1 : -1;
  }
  return lead;
}

int Pieces(const GameState& g) {
  int n = 0;
  for (int cell = 21; cell <= 98; ++cell) n += g.board[cell] != 0 && g.board[cell] != kOffBoard ? 1 : 0;
  return n;
}

std::vector<MoveRecord> RootMoves(GameState& g) {
  ResetPly(g);
  GenerateLegalMoves(g);
  return {g.P.MoveList.begin() + g.P.PlyStart[0], g.P.MoveList.begin() + g.P.PlyStart[1]};
}

bool SameMoves(const std::vector<MoveRecord>& a, const std::vector<MoveRecord>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].From != b[i].From || a[i].To != b[i].To) return false;
  return true;
}

}  // namespace

// The shot is found and noted, whether or not the calculation is shown; its
// line, played out on the board by the rules, begins with a move that takes
// nothing and leaves Black at least a piece ahead. The stored hint, the
// position and the order of its moves are as they were.
TEST(ProblemsCommand, FindsTheShotWhateverTheCalculationShows) {
  for (int show : {0, 1}) {
    FlowGame f;
    GameState& g = *f.g;
    f.Setup(kShot, -1);
    g.Opt.ShowCalculation = show;
    g.Opt.PlyValueDepth = 6;
    g.Driver.ProblemText = "an earlier line\r\n";
    g.Rating.RatedGame = 1;
    g.Search.HintFrom = 76;
    g.Search.HintTo = 65;
    const std::string board = BoardToSetupString(g.board);
    const auto before = RootMoves(g);
    int progressMax = -1, progressSeen = 0;
    bool cancelOffered = false;
    f.host->onPump = [&](long) {
      progressMax = g.Driver.ProgressMax;
      progressSeen = std::max(progressSeen, g.Driver.ProgressValue);
      cancelOffered = cancelOffered || (f.host->isEnabled(Command::Cancel) && !f.host->isEnabled(Command::NewGame));
    };

    SearchProblemsCommand(g);

    const std::string where = "ShowCalculation " + std::to_string(show);
    EXPECT_EQ(BoardToSetupString(g.board), board) << where;
    EXPECT_EQ(g.P.SideToMove, -1);
    EXPECT_TRUE(SameMoves(RootMoves(g), before)) << where;
    EXPECT_EQ(g.Search.HintFrom, 76) << where;
    EXPECT_EQ(g.Search.HintTo, 65) << where;
    EXPECT_EQ(g.Rating.RatedGame, 0);
    EXPECT_EQ(g.Flow.Busy, 0);
    EXPECT_TRUE(cancelOffered) << where;
    EXPECT_FALSE(f.host->isEnabled(Command::Cancel));
    EXPECT_TRUE(f.host->isEnabled(Command::NewGame));
    EXPECT_TRUE(f.host->isEnabled(Command::LegalMoves));
    EXPECT_EQ(progressMax, 6 * static_cast<int>(before.size())) << where;
    EXPECT_GT(progressSeen, 0) << where;
    EXPECT_EQ(g.Driver.ProgressValue, 0) << where;
    EXPECT_EQ(g.Driver.ProblemSummary, "Move 1, Black to move: a combination found. Searched to depth 6 (" +
                                           std::to_string(before.size()) + " moves); it is the last line below.");

    // One line more, the earlier one kept.
    const std::string& text = g.Driver.ProblemText;
    ASSERT_EQ(text.rfind("an earlier line\r\n", 0), 0u) << text;
    const std::string line = text.substr(17);
    ASSERT_EQ(line.find("\r\n"), line.size() - 2) << text;
    EXPECT_EQ(line.rfind("Score:", 0), 0u) << line;
    const std::string head = "   Depth: 6   Move 1, Black to move: ";
    const size_t at = line.find(head);
    ASSERT_NE(at, std::string::npos) << line;

    // The line played out from the position by the rules alone.
    FlowGame replay;
    replay.Setup(kShot, -1);
    GameState& r = *replay.g;
    std::istringstream moves(line.substr(at + head.size()));
    std::string move;
    int played = 0;
    bool firstTakes = true;
    while (moves >> move) {
      // "15x29K" is played as the squares it names, two characters each.
      std::string squares, name;
      for (char ch : move + "-") {
        if (ch >= '0' && ch <= '9') {
          name += ch;
        } else if (!name.empty()) {
          squares += (name.size() < 2 ? " " : "") + name;
          name.clear();
        }
      }
      replay.Play(squares);
      if (::testing::Test::HasFatalFailure()) return;
      if (played++ == 0) firstTakes = Pieces(r) != Pieces(g);
    }
    EXPECT_GE(played, 3) << line;
    EXPECT_FALSE(firstTakes) << line;
    EXPECT_GE(BlackLead(r), BlackLead(g) + 1) << line;
  }
}

// A position without a combination, one without a move, and a search that
// Cancel stops: each says so, notes nothing and gives the commands back with
// the bar empty.
TEST(ProblemsCommand, SaysWhenItFoundNoneOrWasStopped) {
  struct Case {
    const char* name;
    std::string digits;  // "" the opening position
    int depth;
    long stopAtPump;     // 0: never
    std::string summary;
  };
  const std::string noMove = Digits({{21, '1'}, {32, '2'}, {43, '2'}});  // White to move is shut in
  const Case cases[] = {
      {"opening", "", 3, 0, "Move 1, Black to move: no combination found. Searched to depth 3 (7 moves)."},
      {"stopped", "", 20, 2000, "Move 1, Black to move: no combination found. Stopped after depth "},
      {"no move", noMove, 3, 0, "Move 1, White to move: no legal move, nothing to search."},
  };
  for (const Case& c : cases) {
    FlowGame f;
    GameState& g = *f.g;
    if (!c.digits.empty()) f.Setup(c.digits, c.digits == noMove ? 1 : -1);
    g.Opt.PlyValueDepth = c.depth;
    g.Driver.ProblemText = "kept\r\n";
    const std::string board = BoardToSetupString(g.board);
    if (c.stopAtPump > 0)
      f.host->onPump = [&](long n) {
        if (n == c.stopAtPump) g.P.StopRequest = 1;  // the Cancel button
      };
    SearchProblemsCommand(g);
    EXPECT_EQ(g.Driver.ProblemSummary.rfind(c.summary, 0), 0u) << c.name << ": " << g.Driver.ProblemSummary;
    EXPECT_EQ(g.Driver.ProblemText, "kept\r\n") << c.name;
    EXPECT_EQ(BoardToSetupString(g.board), board) << c.name;
    EXPECT_EQ(g.Flow.Busy, 0) << c.name;
    EXPECT_FALSE(f.host->isEnabled(Command::Cancel)) << c.name;
    EXPECT_TRUE(f.host->isEnabled(Command::Open)) << c.name;
    EXPECT_EQ(g.Driver.ProgressValue, 0) << c.name;
    if (c.stopAtPump > 0) {
      // Stopped long before its last depth, which it names.
      EXPECT_NE(g.Driver.ProblemSummary.find(" of 20 (7 moves)."), std::string::npos) << g.Driver.ProblemSummary;
      EXPECT_LT(f.host->pumps, 50'000'000) << c.name;
    }
  }
}
