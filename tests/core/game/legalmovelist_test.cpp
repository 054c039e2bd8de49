// The legal-move list beside the board, with the opening book's moves marked.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/engine/book_fixture.h"
#include "core/game/legalmovelist.h"

using namespace m8;
using namespace m8::book_test;

// Under AmericanBookForAll the American book serves White, turned round.
TEST(ListLegalMoves, MarksTheBookMovesOfWhiteTurnedRound) {
  RecordingHost host;
  // The legal-move list marks the white moves that the book offers: all
  // seven first moves, turned round.
  auto w = NewGame(host, M8_DATA_DIR, "White First");
  w->Rules.BlackStarts = 0;
  w->P.SideToMove = 1;
  w->Opt.AmericanBookForAll = 1;
  ListLegalMoves(*w);
  const auto& lines = w->Driver.LegalMoveLines;
  EXPECT_EQ(lines.size(), 7u);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.back() == 'b'; }), 7)
      << ::testing::PrintToString(lines);
  // 22-17 is the book's 11-16 turned round; Black's book replies are marked.
  ASSERT_TRUE(PlayBookMove(*w, "2217"));
  ListLegalMoves(*w);
  EXPECT_GT(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.back() == 'b'; }), 0)
      << ::testing::PrintToString(lines);

  EXPECT_TRUE(host.messages.empty());
}
