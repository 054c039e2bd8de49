// Perft counts from the start position against the published figures.
#include <gtest/gtest.h>

#include <memory>

#include "core/rules/movegen.h"
#include "core/rules/perft.h"

namespace m8 {
namespace {

TEST(Perft, AmericanStartMatchesPublishedCounts) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(SetupVariantStart(*g, "American Checkers", nullptr));
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

}  // namespace
}  // namespace m8
