// Men that jump their own pieces (a rule no shipped variant uses): the jump
// passes a run of exactly NumberFriends pieces of the mover's own kind (any
// run at -1) and lands on the empty square right after the run.
#include <gtest/gtest.h>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"

namespace m8 {
namespace {

using namespace m8::testing;
using Texts = std::vector<std::string>;

struct FriendCase {
  const char* name;
  int numberFriends;
  const char* pieces;
  Texts expected;  // sorted
  int side = 1;
  int longKings = 0;
};

// The moves of every case are the quiet moves of the pieces plus the jumps
// over own pieces; b:a7 / w:h2 only keep the other side on the board.
const FriendCase kCases[] = {
    // c3 d4 e5 f6 in a row: a run of three from c3, two from d4, one from e5.
    {"two friends: not one, not three", 2, "w:c3 w:d4 w:e5 w:f6 b:a7",
     {"c3-b4", "d4-c5", "d4-g7", "e5-d6", "f6-e7", "f6-g7"}},
    {"three friends: the whole run", 3, "w:c3 w:d4 w:e5 w:f6 b:a7",
     {"c3-b4", "c3-g7", "d4-c5", "e5-d6", "f6-e7", "f6-g7"}},
    {"one friend: the last of the run only", 1, "w:c3 w:d4 w:e5 w:f6 b:a7",
     {"c3-b4", "d4-c5", "e5-d6", "e5-g7", "f6-e7", "f6-g7"}},
    {"any number of friends", -1, "w:c3 w:d4 w:e5 w:f6 b:a7",
     {"c3-b4", "c3-g7", "d4-c5", "d4-g7", "e5-d6", "e5-g7", "f6-e7", "f6-g7"}},
    // The rule ticked with the count left at 0 allows no such jump.
    {"no friends", 0, "w:c3 w:d4 w:e5 w:f6 b:a7", {"c3-b4", "d4-c5", "e5-d6", "f6-e7", "f6-g7"}},
    // A run that ends at the edge of the board or at a piece has no landing.
    {"a run up to the edge", -1, "w:f6 w:g7 w:h8 b:a7", {"f6-e7", "g7-f8K"}},
    {"a run up to an opponent", -1, "w:c3 w:d4 b:e5 b:f6", {"c3-b4", "d4-c5"}},
    // A man jumps men only, a king kings only: the run ends at the other kind.
    {"men and kings do not jump each other", -1, "w:c3 W:d4 b:a7",
     {"c3-b4", "d4-c5", "d4-e3", "d4-e5"}},
    {"a man's run stops at a king", 1, "w:c3 w:d4 W:e5 b:a7",
     {"c3-b4", "d4-c5", "e5-d6", "e5-f4", "e5-f6"}},
    {"kings jump kings", 1, "W:d4 W:e5 b:a7",
     {"d4-c3", "d4-c5", "d4-e3", "d4-f6", "e5-c3", "e5-d6", "e5-f4", "e5-f6"}},
    {"a flying king never jumps its own", 1, "W:d4 W:e5 b:a7",
     {"d4-a1", "d4-b2", "d4-b6", "d4-c3", "d4-c5", "d4-e3", "d4-f2", "d4-g1", "e5-b8", "e5-c7", "e5-d6",
      "e5-f4", "e5-f6", "e5-g3", "e5-g7", "e5-h2", "e5-h8"},
     1, 1},
    // Landing on the last row crowns.
    {"a jump onto the last row crowns", 1, "w:f6 w:g7 b:a7", {"f6-e7", "f6-h8K", "g7-f8K", "g7-h8K"}},
    // Black jumps its own run the other way, with the same count.
    {"black: two friends", 2, "b:f6 b:e5 b:d4 b:c3 w:h2",
     {"c3-b2", "c3-d2", "d4-e3", "e5-b2", "e5-f4", "f6-g5"}, -1},
};

TEST(JumpFriend, RunOfOwnPiecesByTheCount) {
  for (const FriendCase& c : kCases) {
    SCOPED_TRACE(c.name);
    RuleSet r;
    r.JumpFriend = 1;
    r.NumberFriends = c.numberFriends;
    r.LongKings = c.longKings;
    auto g = NewGame(r);
    PlacePieces(*g, c.pieces, c.side);
    const Board before = g->board;
    EXPECT_EQ(LegalTexts(*g), c.expected);
    EXPECT_EQ(g->board, before);
    EXPECT_EQ(HasLegalMove(*g, 1), !c.expected.empty());
  }
}

// Without the rule the same runs are never jumped, whatever the count says.
TEST(JumpFriend, OffMeansNoJumpWhateverTheCount) {
  RuleSet r;
  r.JumpFriend = 0;
  r.NumberFriends = -1;
  auto g = NewGame(r);
  PlacePieces(*g, "w:c3 w:d4 w:e5 w:f6 b:a7", 1);
  EXPECT_EQ(LegalTexts(*g), (Texts{"c3-b4", "d4-c5", "e5-d6", "f6-e7", "f6-g7"}));
}

}  // namespace
}  // namespace m8
