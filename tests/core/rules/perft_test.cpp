// Perft counts from the start position against the published figures.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "core/rules/movegen.h"
#include "core/rules/perft.h"
#include "core/rules/setposition.h"
#include "core/rules/variant_fixture.h"

namespace m8 {
namespace {

using testing::StartVariant;

TEST(Perft, AmericanStartMatchesPublishedCounts) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(StartVariant(*g, "American Checkers"));
  const Board before = g->board;
  const uint64_t expected[] = {1, 7, 49, 302, 1469, 7361, 36768, 179740};
  for (int d = 0; d < 8; ++d) {
    uint64_t n = 0;
    ASSERT_TRUE(Perft(*g, d, n));
    EXPECT_EQ(n, expected[d]) << "depth " << d;
  }
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(g->P.Ply, 0);
  EXPECT_EQ(g->P.GamePly, 0);
}

TEST(Perft, RussianVariantFileMatchesPublishedCounts) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  std::string error;
  ASSERT_TRUE(StartVariant(*g, "Russian Checkers", &error)) << error;
  EXPECT_EQ(g->P.SideToMove, 1);
  // Depth 8 holds captures that reach one end along two routes: each counts
  // once.
  const uint64_t expected[] = {1, 7, 49, 302, 1469, 7482, 37986, 190146, 929899};
  for (int d = 1; d <= 8; ++d) {
    uint64_t n = 0;
    ASSERT_TRUE(Perft(*g, d, n));
    EXPECT_EQ(n, expected[d]) << "depth " << d;
  }
  // The rule set's own generator agrees.
  ASSERT_EQ(g->Eval.StandardRuleSet, 4);
  uint64_t n = 0;
  ASSERT_TRUE(Perft(*g, 8, n, PerftGenerator::ForRuleSet));
  EXPECT_EQ(n, expected[8]);
}

// Variant files as the players know them, one position each, through both
// generators.
TEST(Perft, VariantFilesPlayTheirRules) {
  struct Case {
    const char* variant;
    const char* setup;
    int side;
    uint64_t moves;
  } cases[] = {
      // Italian: two king captures of two pieces, each taking a king; only
      // the one that meets the king first (e4xc6xa8), whoever is to move.
      {"Italian Checkers", "0000000000000000000000000000300000040200000000000200040000000000", 1, 1},
      {"Italian Checkers", "0000000000300010000000000010300000040000000000000000000000000000", -1, 1},
      // Gothic: a man steps forward, diagonally forward and sideways.
      {"Gothic Checkers", "0000000000000000000000000001000000000000000000000000000000000002", 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant);
    auto g = std::make_unique<GameState>();
    g->ProgramFolder = M8_BIN_DIR;
    std::string error;
    ASSERT_TRUE(StartVariant(*g, c.variant, &error)) << error;
    ASSERT_TRUE(SetPosition(*g, c.setup, c.side, &error)) << error;
    for (PerftGenerator which : {PerftGenerator::Generic, PerftGenerator::ForRuleSet}) {
      uint64_t n = 0;
      ASSERT_TRUE(Perft(*g, 1, n, which));
      EXPECT_EQ(n, c.moves);
    }
  }
}

TEST(Perft, DivideAddsUpAndASetUpPositionCounts) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(StartVariant(*g, "American Checkers"));
  std::vector<std::pair<std::string, uint64_t>> rows;
  ASSERT_TRUE(PerftDivide(*g, 3, rows));
  ASSERT_EQ(rows.size(), 7u);
  uint64_t total = 0;
  for (const auto& row : rows) total += row.second;
  EXPECT_EQ(total, 302u);
  uint64_t n = 0;
  EXPECT_FALSE(Perft(*g, kMaxPly + 1, n));
  std::string error;
  // A set-up position with white to move; the rule set's own generator.
  ASSERT_TRUE(SetPosition(*g, "1010101001010101101010100000000000000000020202022020202002020202", 1, &error))
      << error;
  EXPECT_EQ(g->P.SideToMove, 1);
  ASSERT_TRUE(Perft(*g, 3, n, PerftGenerator::ForRuleSet));
  EXPECT_EQ(n, 302u);
}

// Published perft counts of more variants from their start positions, at the
// depth where they part from the American and Russian counts. Each variant is
// a test of its own, so that they run side by side.
struct PublishedPerft {
  const char* variant;
  int depth;
  uint64_t nodes;
};

void PrintTo(const PublishedPerft& c, std::ostream* os) { *os << c.variant << " depth " << c.depth; }

class PublishedPerftTest : public ::testing::TestWithParam<PublishedPerft> {};

TEST_P(PublishedPerftTest, StartPositionMatchesTheCount) {
  const PublishedPerft& c = GetParam();
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  std::string error;
  ASSERT_TRUE(StartVariant(*g, c.variant, &error)) << error;
  uint64_t n = 0;
  ASSERT_TRUE(Perft(*g, c.depth, n));
  EXPECT_EQ(n, c.nodes);
}

INSTANTIATE_TEST_SUITE_P(Variants, PublishedPerftTest,
                         ::testing::Values(PublishedPerft{"Italian Checkers", 9, 3860875},
                                           PublishedPerft{"Spanish Checkers", 9, 3860866},
                                           PublishedPerft{"Czech Checkers", 9, 3963671},
                                           PublishedPerft{"Thai Checkers", 7, 1820189},
                                           PublishedPerft{"Turkish Checkers", 6, 931312},
                                           // Brazilian rules, in the German Checkers file.
                                           PublishedPerft{"German Checkers", 7, 187302}),
                         [](const ::testing::TestParamInfo<PublishedPerft>& info) {
                           std::string name = info.param.variant;
                           return name.substr(0, name.find(' '));
                         });

}  // namespace
}  // namespace m8
