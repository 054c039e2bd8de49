// The search's signature: fixed-depth searches of a fixed set of positions of
// several variants, with the nodes each one visits and the move it chooses.
// Any change to the search, the move ordering or the evaluation moves these
// numbers; when such a change is meant, the table is updated with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/searchsetup.h"
#include "core/engine/rootsearch.h"
#include "core/engine/search_fixture.h"
#include "core/engine/searchnode.h"
#include "core/rules/notation.h"
#include "core/state.h"

namespace m8 {
namespace {

struct SignatureCase {
  const char* variant;
  const char* setup;  // empty: the variant's start
  int side;
  int depth;
  const char* best;
  int score;
  uint64_t nodes;
};

// clang-format off
const SignatureCase kSignature[] = {
    {"American Checkers", "", -1, 8, "11-15", 19, 59800},
    {"American Checkers", "1010101001010101101010000000000000100020020202022020202002020202", -1, 7, "9x18", 175, 8684},
    {"Russian Checkers", "0010101001010001101000100101000000002000000202022020202002020200", -1, 7, "12-16", 60, 8087},
    {"Russian Checkers", "", 1, 7, "24-19", 12, 13822},
    {"Italian Checkers", "", 1, 7, "21-18", -2, 23839},
    {"Pool Checkers", "", 1, 7, "9-14", -10, 26509},
    {"Turkish Checkers", "", 1, 5, "h3-h4", 4, 2464},
    {"Thai Checkers", "", 1, 7, "28-24", -12, 10186},
    {"Anti Checkers", "", -1, 6, "11-15", -6, 9227},
    {"Gothic Checkers", "", 1, 5, "h2-g3", 16, 21088},
};
// clang-format on

TEST(SearchSignature, FixedDepthSearchesVisitTheSameNodesAndChooseTheSameMoves) {
  uint64_t total = 0, expectedTotal = 0;
  for (const SignatureCase& c : kSignature) {
    SCOPED_TRACE(std::string(c.variant) + " " + c.setup);
    auto g = std::make_unique<GameState>();
    g->ProgramFolder = M8_BIN_DIR;
    std::string error;
    ASSERT_TRUE(testing::StartSearchVariant(*g, c.variant, c.setup, c.side, &error)) << error;
    PrepareFullStrengthSearch(*g);
    RootSearchParams params;
    params.member = ChooseFullNode(*g);
    params.depthLimit = c.depth;
    const RootSearchResult r = SearchRoot(*g, params, {});
    ASSERT_TRUE(r.hasMove);
    MoveString(*g, 0);
    EXPECT_EQ(r.depth, c.depth);
    EXPECT_EQ(g->Texts.DisplayMoveText, c.best);
    EXPECT_EQ(r.score, c.score);
    EXPECT_EQ(r.nodes, c.nodes);
    total += r.nodes;
    expectedTotal += c.nodes;
  }
  EXPECT_EQ(total, expectedTotal);
}

}  // namespace
}  // namespace m8
