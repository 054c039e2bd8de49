// The ply value table: each legal move played, its replies searched at
// growing depths, taken back; the rows sorted and printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/engine/search_fixture.h"
#include "core/game/plyvaluecommand.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

using namespace m8;
using m8::testing::Digits;

namespace {

class PlyValueHost : public Host {
 public:
  long pumps = 0;
  long actAt = -1;
  std::function<void()> action;
  std::map<Command, bool> enabled;
  void pump() override {
    ++pumps;
    if (pumps == actAt && action) action();
  }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  double secondsSinceMidnight() override { return 86399.0; }  // just before midnight
  double monotonicSeconds() override { return now += 0.001; }
  double now = 10.0;
};

struct TableGame {
  m8::testing::SearchGame t;
  PlyValueHost host;
  GameState& g;
  TableGame(const std::string& digits, int side, int depth) : g(*t.g) {
    t.Setup(digits, side);
    g.host = &host;
    g.Opt.PlyValueDepth = depth;
    g.Opt.ShowCalculation = 1;
  }
  std::vector<std::string> LegalMoveTexts() {
    ResetPly(g);
    GenerateLegalMoves(g);
    std::vector<std::string> texts;
    for (int i = g.P.PlyStart[0]; i < g.P.PlyStart[1]; ++i) {
      MoveString(g, i);
      texts.push_back(g.Texts.DisplayMoveText);
    }
    return texts;
  }
};

const char* kMiddleGame = "1010101001010101101010000000000000100020020202022020202002020202";
// Black to move with six quiet moves.
const char* kSixMoves = "0010101001010001101000100101000000002000000202022020202002020200";

std::string Left(const std::string& s, size_t n) { return s.size() < n ? s + std::string(n - s.size(), ' ') : s; }

}  // namespace

TEST(PlyValueTable, EveryMoveIsSearchedTakenBackAndSortedByDifference) {
  TableGame t(kSixMoves, -1, 3);
  GameState& g = t.g;
  const auto moves = t.LegalMoveTexts();
  const std::string before = BoardToSetupString(g.board);
  g.Game.GameLength = 4;  // moves stored ahead of the position are dropped
  BuildPlyValueTable(g);
  const auto& pv = g.PlyValue;
  EXPECT_EQ(BoardToSetupString(g.board), before);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.Game.GameLength, 0);
  EXPECT_EQ(g.P.SideToMove, -1);
  EXPECT_TRUE(g.Game.GameRecord[1][0].empty());
  ASSERT_EQ(pv.PlyValueRows, static_cast<int>(moves.size()));
  EXPECT_EQ(pv.PlyValueMovesSaved, moves);  // in the order of the legal moves
  for (int r = 1; r < pv.PlyValueRows; ++r) EXPECT_LE(pv.PlyValueDiff[r - 1], pv.PlyValueDiff[r]) << r;
  for (int r = 0; r < pv.PlyValueRows; ++r) {
    EXPECT_EQ(pv.PlyValueDiff[r], pv.PlyValues[r][3] - pv.PlyValues[r][2]) << r;
    EXPECT_EQ(pv.PlyValueLines[r].rfind(pv.PlyValueMoves[r] + " ", 0), 0u) << pv.PlyValueLines[r];
  }
  const std::string header = "  No      MOVE   PLY 1    PLY 2    PLY 3     Diff     Time   \r\n" +
                             std::string(120, '-') + "\r\n";
  ASSERT_EQ(pv.TableText.substr(0, header.size()), header);
  std::string first = "   1.    " + pv.PlyValueMoves[0] + "    ";
  for (int d = 1; d <= 3; ++d) first += Left(std::to_string(pv.PlyValues[0][d]), 9);
  first += " " + Left(std::to_string(pv.PlyValueDiff[0]), 9) + Left(std::to_string(pv.PlyValueTime[0]), 8) +
           pv.PlyValueLines[0] + "\r\n";
  EXPECT_EQ(pv.TableText.substr(header.size(), first.size()), first);
  EXPECT_EQ(g.Search.PlyValueOutputText, "Done!");
  EXPECT_EQ(pv.ReadyMark, "1");
  EXPECT_FALSE(pv.CancelEnabled);
  EXPECT_TRUE(pv.CloseEnabled);
  EXPECT_EQ(pv.SortKeys.size(), 5u);
  // Nothing runs any more: both bars are empty.
  EXPECT_EQ(pv.ProgressValue, 0);
  EXPECT_EQ(g.Driver.ProgressValue, 0);
  EXPECT_EQ(g.Flow.Busy, 0);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_FALSE(t.host.enabled[Command::Cancel]);
  EXPECT_TRUE(t.host.enabled[Command::LegalMoves]);
  EXPECT_EQ(g.Driver.LegalMoveLines.size(), moves.size());
  // A second run replaces the sort keys rather than adding to them.
  BuildPlyValueTable(g);
  EXPECT_EQ(g.PlyValue.SortKeys.size(), 5u);
}

TEST(PlyValueTable, DepthOneAndAnEmptyMoveListGiveSoundTables) {
  {
    TableGame t(kMiddleGame, -1, 1);
    BuildPlyValueTable(t.g);
    ASSERT_GT(t.g.PlyValue.PlyValueRows, 0);
    for (int r = 0; r < t.g.PlyValue.PlyValueRows; ++r) EXPECT_EQ(t.g.PlyValue.PlyValueDiff[r], 0);
  }
  {
    // White to move is shut in.
    TableGame t(Digits({{21, '1'}, {32, '2'}, {43, '2'}}), 1, 4);
    BuildPlyValueTable(t.g);
    EXPECT_EQ(t.g.PlyValue.PlyValueRows, 0);
    EXPECT_EQ(t.g.PlyValue.TableText,
              "  No      MOVE   PLY 1    PLY 2    PLY 3    PLY 4     Diff     Time   \r\n" + std::string(120, '-') +
                  "\r\n");
    EXPECT_EQ(t.g.Search.PlyValueOutputText, "Done!");
  }
}

TEST(PlyValueTable, AGameEndingMoveIsTakenBackToo) {
  // White's only move takes Black's last piece.
  TableGame t(Digits({{34, '1'}, {45, '2'}}), 1, 3);
  const std::string before = BoardToSetupString(t.g.board);
  BuildPlyValueTable(t.g);
  EXPECT_EQ(BoardToSetupString(t.g.board), before);
  EXPECT_EQ(t.g.P.GamePly, 0);
  EXPECT_EQ(t.g.P.SideToMove, 1);
  EXPECT_EQ(t.g.PlyValue.PlyValueRows, 1);
  EXPECT_EQ(t.g.Draw.DrawReason, 0);
}

TEST(PlyValueTable, CancelKeepsTheFinishedRowsAndRestoresThePosition) {
  TableGame t(kSixMoves, -1, 5);
  GameState& g = t.g;
  const auto moves = t.LegalMoveTexts();
  ASSERT_GE(moves.size(), 3u);
  // Let the first row finish, then cancel in a later one.
  BuildPlyValueTable(g);
  const long perRun = t.host.pumps;
  t.host.pumps = 0;
  t.host.actAt = perRun / 2;
  t.host.action = [&] { g.P.StopRequest = 1; };
  const std::string before = BoardToSetupString(g.board);
  BuildPlyValueTable(g);
  const auto& pv = g.PlyValue;
  EXPECT_LT(pv.PlyValueRows, static_cast<int>(moves.size()));
  EXPECT_EQ(BoardToSetupString(g.board), before);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.P.SideToMove, -1);
  // It says it was stopped, and how far it got.
  EXPECT_EQ(g.Search.PlyValueOutputText, "Stopped: " + std::to_string(pv.PlyValueRows) + " of " +
                                             std::to_string(moves.size()) + " moves searched.");
  EXPECT_EQ(static_cast<int>(pv.PlyValueMovesSaved.size()), pv.PlyValueRows);
  for (int r = 0; r < pv.PlyValueRows; ++r) EXPECT_EQ(pv.PlyValueMovesSaved[r], moves[r]);
  // Only the finished rows are printed: header, rule and one line each.
  EXPECT_EQ(static_cast<int>(std::count(pv.TableText.begin(), pv.TableText.end(), '\n')), pv.PlyValueRows + 2);
  // Stopped in the first row: no row at all, and never "Done!".
  t.host.pumps = 0;
  t.host.actAt = 1;
  BuildPlyValueTable(g);
  EXPECT_EQ(pv.PlyValueRows, 0);
  EXPECT_EQ(g.Search.PlyValueOutputText, "Stopped: 0 of " + std::to_string(moves.size()) + " moves searched.");
}
