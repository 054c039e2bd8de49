// The ply value table window's sort keys and its Cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../engine/search_fixture.h"
#include "core/engine/plyvaluesearch.h"
#include "core/game/plyvaluewindow.h"
#include "core/game/plyvaluecommand.h"

using namespace m8;

namespace {

struct Row {
  std::string move;
  int diff, time, deepest, mark;
};

// A finished table of two plies whose saved copies hold `rows` in search
// order; the live arrays are scrambled, as a previous sort leaves them.
void SetTable(GameState& g, const std::vector<Row>& rows) {
  auto& pv = g.PlyValue;
  const int n = static_cast<int>(rows.size());
  pv.PlyValuePlies = 2;
  pv.PlyValueRows = n;
  pv.PlyValuesSaved.assign(n, std::vector<int32_t>(3, 0));
  pv.PlyValueMovesSaved.clear();
  pv.PlyValueDiffSaved.clear();
  pv.PlyValueTimeSaved.clear();
  pv.PlyValueLinesSaved.clear();
  pv.PlyValueMarksSaved.clear();
  for (int r = 0; r < n; ++r) {
    pv.PlyValuesSaved[r] = {0, rows[r].deepest - rows[r].diff, rows[r].deepest};
    pv.PlyValueMovesSaved.push_back(rows[r].move);
    pv.PlyValueDiffSaved.push_back(rows[r].diff);
    pv.PlyValueTimeSaved.push_back(rows[r].time);
    pv.PlyValueLinesSaved.push_back(rows[r].move + " line");
    pv.PlyValueMarksSaved.push_back(rows[r].mark);
  }
  pv.PlyValues.assign(n, std::vector<int32_t>(3, 99));
  pv.PlyValueMoves.assign(n, "??");
  pv.PlyValueDiff.assign(n, 99);
  pv.PlyValueTime.assign(n, 99);
  pv.PlyValueLines.assign(n, "??");
  pv.PlyValueMarks.assign(n, 0);
  pv.SortKeys = {"Best difference", "Both difference", "Best value", "Most time", "Combinations/Problems"};
  pv.ReadyMark = "1";
}

std::string Order(const GameState& g) {
  std::string s;
  for (int r = 0; r < g.PlyValue.PlyValueRows; ++r) s += g.PlyValue.PlyValueMoves[r];
  return s;
}

// The table's rows: the text after the header and the rule.
std::string RowsOf(const std::string& text) { return text.substr(text.find('\n', text.find('\n') + 1) + 1); }

class CancelHost : public Host {
 public:
  std::function<void()> each;
  void pump() override {
    if (each) each();
  }
};

const std::vector<Row> kRows = {
    {"A", 5, 3, -40, 0}, {"B", 5, 1, 10, 1}, {"C", 1, 7, -40, 1}, {"D", -130, 3, 25, 0}};

}  // namespace

TEST(PlyValueSort, EveryKeyStartsFromTheSearchOrder) {
  struct Case {
    int key;
    const char* order;
  };
  // Equal keys come out as the exchange procedure leaves them.
  const Case cases[] = {{0, "DCAB"}, {1, "DABC"}, {2, "ACBD"}, {3, "CADB"}, {4, "DABC"}, {5, "ABCD"}, {-1, "ABCD"}};
  GameState g;
  SetTable(g, kRows);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_TRUE(ChoosePlyValueKey(g, c.key));
    EXPECT_EQ(Order(g), c.order);
    // Every field travels with its row.
    for (int r = 0; r < 4; ++r) {
      const std::string& m = g.PlyValue.PlyValueMoves[r];
      const Row& src = kRows[m[0] - 'A'];
      EXPECT_EQ(g.PlyValue.PlyValueDiff[r], src.diff);
      EXPECT_EQ(g.PlyValue.PlyValueTime[r], src.time);
      EXPECT_EQ(g.PlyValue.PlyValues[r][2], src.deepest);
      EXPECT_EQ(g.PlyValue.PlyValueLines[r], m + " line");
      EXPECT_EQ(g.PlyValue.PlyValueMarks[r], src.mark);
    }
  }
  // The exchange procedure can turn equal rows round: 5, 5, 1 gives C, B, A.
  SetTable(g, {{"A", 5, 0, 0, 0}, {"B", 5, 0, 0, 0}, {"C", 1, 0, 0, 0}});
  ChoosePlyValueKey(g, 0);
  EXPECT_EQ(Order(g), "CBA");
  const std::string first = g.PlyValue.TableText;
  ChoosePlyValueKey(g, 0);
  EXPECT_EQ(g.PlyValue.TableText, first);
}

TEST(PlyValueSort, PrintsTheTableWithTheShorterRuleAndOnlyMarkedRowsForProblems) {
  GameState g;
  SetTable(g, {{"11-15", -125, 0, -125, 0}});
  ChoosePlyValueKey(g, 0);
  const std::string header = "  No      MOVE   PLY 1    PLY 2     Diff     Time   \r\n" + std::string(107, '-') + "\r\n";
  EXPECT_EQ(g.PlyValue.TableText,
            header + "   1.    11-15    0        -125      -125     0       11-15 line\r\n");
  // With key 4 and nothing marked: the header and the rule only.
  ChoosePlyValueKey(g, 4);
  EXPECT_EQ(g.PlyValue.TableText, header);
  EXPECT_EQ(g.PlyValue.SortKey, "Combinations/Problems");

  // Twelve rows: marked ones numbered in printing order; two-digit numbers.
  std::vector<Row> rows;
  for (int i = 0; i < 12; ++i) rows.push_back({std::string(1, char('a' + i)), i * 10, 0, 0, i % 2});
  SetTable(g, rows);
  ChoosePlyValueKey(g, 0);
  EXPECT_NE(g.PlyValue.TableText.find("\r\n  12.    l    "), std::string::npos);
  ChoosePlyValueKey(g, 4);  // descending size: l, j, h, f, d, b are marked
  EXPECT_NE(g.PlyValue.TableText.find("\r\n   1.    l    "), std::string::npos);
  EXPECT_NE(g.PlyValue.TableText.find("\r\n   6.    b    "), std::string::npos);
  EXPECT_EQ(g.PlyValue.TableText.find("   7."), std::string::npos);
}

TEST(PlyValueSort, AKeyChosenBeforeTheTableIsCompleteChangesNothing) {
  GameState g;
  SetTable(g, kRows);
  g.PlyValue.TableText = "Searching...";
  for (const char* mark : {"", "0"}) {
    g.PlyValue.ReadyMark = mark;
    EXPECT_FALSE(ChoosePlyValueKey(g, 3));
    EXPECT_EQ(g.PlyValue.TableText, "Searching...");
    EXPECT_EQ(g.PlyValue.PlyValueMoves[0], "??");
  }
  // Counts that run past the arrays are held to them.
  g.PlyValue.ReadyMark = "1";
  g.PlyValue.PlyValueRows = 9;
  g.PlyValue.PlyValueMarksSaved.resize(2);
  EXPECT_TRUE(ChoosePlyValueKey(g, 0));
}

TEST(PlyValueSort, RealTableResortsAndCancelKeepsTheRowsSearched) {
  m8::testing::SearchGame t;
  GameState& g = *t.g;
  // Black to move with six quiet moves.
  t.Setup("0010101001010001101000100101000000002000000202022020202002020200", -1);
  g.Opt.PlyValueDepth = 3;
  BuildPlyValueTable(g);
  const auto& pv = g.PlyValue;
  ASSERT_EQ(pv.PlyValueRows, 6);
  const std::string firstTable = pv.TableText;
  EXPECT_NE(firstTable.find(std::string(120, '-')), std::string::npos);
  for (int key = 0; key < kPlyValueKeys; ++key) {
    ASSERT_TRUE(ChoosePlyValueKey(g, key));
    for (int r = 1; r < pv.PlyValueRows; ++r) {
      if (key == 0) {
        EXPECT_LE(pv.PlyValueDiff[r - 1], pv.PlyValueDiff[r]);
      }
      if (key == 1) {
        EXPECT_GE(std::abs(pv.PlyValueDiff[r - 1]), std::abs(pv.PlyValueDiff[r]));
      }
      if (key == 2) {
        EXPECT_LE(pv.PlyValues[r - 1][3], pv.PlyValues[r][3]);
      }
      if (key == 3) {
        EXPECT_GE(pv.PlyValueTime[r - 1], pv.PlyValueTime[r]);
      }
    }
  }
  // Key 0 gives the rows of the table the run printed.
  ChoosePlyValueKey(g, 0);
  EXPECT_EQ(RowsOf(pv.TableText), RowsOf(firstTable));

  // Cancel from the window during the third row: two rows stay, and the keys
  // sort those.
  CancelHost host;
  int pumps = 0;
  host.each = [&] {
    if (pv.ProgressValue == 2 * 3 && ++pumps == 5) CancelPlyValueTable(g);
  };
  g.host = &host;
  BuildPlyValueTable(g);
  EXPECT_EQ(pv.PlyValueRows, 2);
  EXPECT_EQ(g.Search.PlyValueOutputText, "Stopped: 2 of 6 moves searched.");
  EXPECT_TRUE(pv.CloseEnabled);
  EXPECT_FALSE(pv.CancelEnabled);
  ASSERT_TRUE(ChoosePlyValueKey(g, 3));
  EXPECT_EQ(std::count(pv.TableText.begin(), pv.TableText.end(), '\n'), 4);
}
