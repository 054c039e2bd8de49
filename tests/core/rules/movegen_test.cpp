// The legal moves of small positions under each capture and movement rule.
// Every case is also checked with the colours swapped and the board turned
// round, which must give the turned moves.
#include <gtest/gtest.h>

#include <functional>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"

namespace m8 {
namespace {

using namespace m8::testing;
using Texts = std::vector<std::string>;

// The board turned round: cell c <-> 119 - c; names a1 <-> h8.
std::string TurnNames(std::string s) {
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] >= 'a' && s[i] <= 'h' && s[i + 1] >= '1' && s[i + 1] <= '8') {
      s[i] = static_cast<char>('a' + 'h' - s[i]);
      s[i + 1] = static_cast<char>('1' + '8' - s[i + 1]);
      ++i;
    }
  return s;
}
std::string TurnPieces(std::string s) {
  s = TurnNames(s);
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i + 1] == ':' && (i == 0 || s[i - 1] == ' ')) {
      char& k = s[i];
      k = k == 'w' ? 'b' : k == 'b' ? 'w' : k == 'W' ? 'B' : 'W';
    }
  return s;
}

struct Case {
  const char* name;
  std::function<void(RuleSet&)> rules;
  const char* pieces;
  Texts expected;
  const char* lastMoved = nullptr;  // the square the opponent's last move ended on
  bool turn = true;                 // also check the turned position
  bool italianOrder = false;        // the rules are known as the Italian set's
};

RuleSet Russian() { return RussianRules(); }

// The capture keys of Italian draughts: most pieces, king before man, most
// kings; men do not take kings.
void Italian(RuleSet& r) {
  r.MaxCapMove = r.MaxCapMoveKings = r.KingCapMove = 1;
  r.ManCapKing = 0;
}

void Check(const Case& c, bool turned) {
  SCOPED_TRACE(std::string(c.name) + (turned ? " (turned)" : ""));
  RuleSet r;
  c.rules(r);
  auto g = NewGame(r);
  const std::string pieces = turned ? TurnPieces(c.pieces) : c.pieces;
  g->Tables.ItalianCaptureOrder = c.italianOrder ? 1 : 0;
  PlacePieces(*g, pieces, turned ? -1 : 1);
  if (c.lastMoved) {
    g->P.GamePly = 1;
    const int cell = Cell(c.lastMoved);
    g->Game.HistDestination[1] = turned ? 119 - cell : cell;
  }
  Texts expected = c.expected;
  if (turned)
    for (auto& t : expected) t = TurnNames(t);
  std::sort(expected.begin(), expected.end());
  const Board before = g->board;
  EXPECT_EQ(LegalTexts(*g), expected);
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(HasLegalMove(*g, 1), !expected.empty());
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      // Short kings, compulsory captures, the whole sequence.
      {"double jump is one move", [](RuleSet&) {}, "w:c3 b:d4 b:f6 w:a1", {"c3:g7(d4,f6)"}},
      {"partial sequences with MulJumps 0", [](RuleSet& r) { r.MulJumps = 0; }, "w:c3 b:d4 b:f6",
       {"c3:e5(d4)", "c3:g7(d4,f6)"}},
      {"free captures beside quiet moves", [](RuleSet& r) { r.CapRequired = 0; }, "w:c3 b:d4 b:f6",
       {"c3-b4", "c3:g7(d4,f6)"}},
      {"no capture: quiet moves", [](RuleSet&) {}, "w:c3 b:f6", {"c3-b4", "c3-d4"}},
      {"man crowned on arrival", [](RuleSet&) {}, "w:a7 b:h2", {"a7-b8K"}},
      {"crowning ends the capture", [](RuleSet&) {}, "w:b6 b:c7 b:e7", {"b6:d8(c7)K"}},
      {"man may not take a king", [](RuleSet& r) { r.ManCapKing = 0; }, "w:c3 B:d4", {"c3-b4"}},
      {"man takes a king", [](RuleSet&) {}, "w:c3 B:d4", {"c3:e5(d4K)"}},
      {"nothing to move", [](RuleSet&) {}, "w:a1 b:b2 b:c3", {}},
      // Majority rules.
      {"longest capture only", [](RuleSet& r) { r.MaxCapMove = 1; }, "w:c3 b:d4 b:f6 w:h2 b:g3",
       {"c3:g7(d4,f6)"}},
      {"any capture without majority", [](RuleSet&) {}, "w:c3 b:d4 b:f6 w:h2 b:g3",
       {"c3:g7(d4,f6)", "h2:f4(g3)"}},
      {"most kings among the longest",
       [](RuleSet& r) {
         r.MaxCapMove = 1;
         r.MaxCapMoveKings = 1;
       },
       "w:c3 b:d4 b:f6 w:a3 B:b4 b:d6", {"a3:e7(b4K,d6)"}},
      {"kings count only with MaxCapMoveKings", [](RuleSet& r) { r.MaxCapMove = 1; },
       "w:c3 b:d4 b:f6 w:a3 B:b4 b:d6", {"a3:e7(b4K,d6)", "c3:c7(d4,d6)", "c3:g7(d4,f6)"}},
      {"a king must capture", [](RuleSet& r) { r.KingCapMove = 1; }, "W:a3 w:e3 b:b4 b:f4 b:f6",
       {"a3:c5(b4)"}},
      {"a man's longer capture comes first",
       [](RuleSet& r) {
         r.KingCapMove = 1;
         r.MaxCapMove = 1;
       },
       "W:a3 w:e3 b:b4 b:f4 b:f6", {"e3:e7(f4,f6)"}},
      {"king and man free", [](RuleSet&) {}, "W:a3 w:e3 b:b4 b:f4 b:f6", {"a3:c5(b4)", "e3:e7(f4,f6)"}},
      // Italian order: most pieces, then a king rather than a man, then most
      // kings, then (Italian rule set only) the king met first.
      {"Italian: most pieces, even by a man", Italian, "W:h2 b:g3 w:c3 b:d4 b:f6", {"c3:g7(d4,f6)"}},
      {"Italian: a king rather than a man", Italian, "W:h1 w:c2 b:g2 b:d3 b:a8 B:h8", {"h1:f3(g2)"}},
      {"Italian: then most kings", Italian, "W:h1 b:g2 W:a3 B:b4 w:c2 b:d3", {"a3:c5(b4K)"}},
      {"Italian: then the king met first", Italian, "W:d4 B:e5 b:g7 b:c5 B:c7", {"d4:h8(e5K,g7)"},
       nullptr, true, true},
      {"king met first only in the Italian rule set", Italian, "W:d4 B:e5 b:g7 b:c5 B:c7",
       {"d4:d8(c5,c7K)", "d4:h8(e5K,g7)"}},
      // One move per capture: the same start, end and captured pieces in
      // another order is the same move.
      {"a man's loop capture is one move", [](RuleSet& r) { r = Russian(); }, "w:c3 b:d4 b:d6 b:b6 b:b4",
       {"c3:c3(b4,b6,d6,d4)"}},
      {"a short king's loop capture is one move", [](RuleSet&) {}, "W:c3 b:d4 b:d6 b:b6 b:b4",
       {"c3:c3(b4,b6,d6,d4)"}},
      // King movement that is not the same in every direction: each colour
      // reads it from its own side.
      {"kings that only go forward", [](RuleSet& r) { r.MovementStrings[2] = r.MovementStrings[3] = "NW;NE NW;NE"; },
       "W:d4 b:h8", {"d4-c5", "d4-e5"}},
      {"kings that only capture forward",
       [](RuleSet& r) { r.MovementStrings[2] = r.MovementStrings[3] = "NW;NE NW;NE"; }, "W:d4 b:c5 b:e3 b:h8",
       {"d4:b6(c5)"}},
      // Crowning during a capture.
      {"crowned man goes on as a flying king", [](RuleSet& r) { r = Russian(); }, "w:b6 b:c7 b:e7",
       {"b6:f6(c7,e7)K", "b6:g5(c7,e7)K", "b6:h4(c7,e7)K"}},
      {"man passes the last row as a man",
       [](RuleSet& r) {
         r = Russian();
         r.ManContJumpCrowned = 0;
       },
       "w:b6 b:c7 b:e7", {"b6:f6(c7,e7)"}},
      {"man ends on the last row during a capture",
       [](RuleSet& r) {
         r = Russian();
         r.ManContJumpCrowned = 0;
       },
       "w:f6 b:e7", {"f6:d8(e7)K"}},
      // Flying kings.
      {"flying king on open diagonals", [](RuleSet& r) { r = Russian(); }, "W:d4 b:b8",
       {"d4-a1", "d4-a7", "d4-b2", "d4-b6", "d4-c3", "d4-c5", "d4-e3", "d4-e5", "d4-f2", "d4-f6",
        "d4-g1", "d4-g7", "d4-h8"}},
      {"flying king lands anywhere behind", [](RuleSet& r) { r = Russian(); }, "W:a1 b:c3",
       {"a1:d4(c3)", "a1:e5(c3)", "a1:f6(c3)", "a1:g7(c3)", "a1:h8(c3)"}},
      {"flying king lands right behind",
       [](RuleSet& r) {
         r = Russian();
         r.KingFirst = 1;
       },
       "W:a1 b:c3", {"a1:d4(c3)"}},
      {"a started capture must be finished", [](RuleSet& r) { r = Russian(); }, "W:a1 b:c3 b:f4",
       {"a1:g3(c3,f4)", "a1:h2(c3,f4)"}},
      {"without MaxCapMoveK the king may stop",
       [](RuleSet& r) {
         r = Russian();
         r.MaxCapMoveK = 0;
       },
       "W:a1 b:c3 b:f4",
       {"a1:d4(c3)", "a1:f6(c3)", "a1:g3(c3,f4)", "a1:g7(c3)", "a1:h2(c3,f4)", "a1:h8(c3)"}},
      {"finished captures of any length", [](RuleSet& r) { r = Russian(); }, "W:d4 b:e5 b:e3 b:g3",
       {"d4:f6(e5)", "d4:g7(e5)", "d4:h4(e3,g3)", "d4:h8(e5)"}},
      {"finished captures of any length, long one first", [](RuleSet& r) { r = Russian(); },
       "W:c3 b:d4 b:f4 b:b2", {"c3:a1(b2)", "c3:g3(d4,f4)", "c3:h2(d4,f4)"}},
      {"no reversing", [](RuleSet& r) {
         r = Russian();
         r.RemovePieces = 0;
       },
       "W:c3 b:d4 b:b2", {"c3:a1(b2)", "c3:e5(d4)", "c3:f6(d4)", "c3:g7(d4)", "c3:h8(d4)"}},
      {"reversing over a captured piece",
       [](RuleSet& r) {
         r = Russian();
         r.RemovePieces = 0;
         r.CapReverse = 1;
       },
       "W:c3 b:d4 b:b2",
       {"c3:a1(d4,b2)", "c3:e5(b2,d4)", "c3:f6(b2,d4)", "c3:g7(b2,d4)", "c3:h8(b2,d4)"}},
      {"captured pieces block until the move ends",
       [](RuleSet& r) {
         r = Russian();
         r.CapReverse = 1;
       },
       "W:c3 b:d4 b:b2", {"c3:a1(b2)", "c3:e5(d4)", "c3:f6(d4)", "c3:g7(d4)", "c3:h8(d4)"}},
      {"men capture like flying kings", [](RuleSet& r) { r.ManCapMoveKing = 1; }, "w:c1 b:e3",
       {"c1:f4(e3)", "c1:g5(e3)", "c1:h6(e3)"}},
      // Last capture rule.
      {"the piece that moved last must be taken",
       [](RuleSet& r) {
         r.CapRequired = 0;
         r.LastCap = 1;
       },
       "w:c3 b:d4 b:f6 b:d6 w:h2 b:g3", {"c3:c7(d4,d6)", "c3:g7(d4,f6)"}, "d4"},
      {"free captures when the last mover is safe",
       [](RuleSet& r) {
         r.CapRequired = 0;
         r.LastCap = 1;
       },
       "w:c3 b:d4 b:f6 b:d6 w:h2 b:g3",
       {"c3-b4", "c3:c7(d4,d6)", "c3:g7(d4,f6)", "h2:f4(g3)"}, "a7"},
      {"only a first capture of the last mover counts",
       [](RuleSet& r) {
         r.CapRequired = 0;
         r.LastCap = 1;
       },
       "w:c3 b:d4 b:f6 b:d6 w:h2 b:g3",
       {"c3-b4", "c3:c7(d4,d6)", "c3:g7(d4,f6)", "h2:f4(g3)"}, "f6"},
      // Jumps over own men.
      {"jump over exactly two own men",
       [](RuleSet& r) {
         r.JumpFriend = 1;
         r.NumberFriends = 2;
       },
       "w:c3 w:d4 w:e5 b:a7", {"c3-b4", "c3-f6", "d4-c5", "e5-d6", "e5-f6"}},
      {"jump over any run of own men",
       [](RuleSet& r) {
         r.JumpFriend = 1;
         r.NumberFriends = -1;
       },
       "w:c3 w:d4 w:e5 b:a7", {"c3-b4", "c3-f6", "d4-c5", "d4-f6", "e5-d6", "e5-f6"}},
      // Orthogonal boards.
      {"orthogonal king takes a ring once per landing square",
       [](RuleSet& r) { r = TurkishRules(); }, "W:a1 b:a3 b:c5 b:e3 b:c1",
       {"a1:a1(c1,a3,e3,c5)", "a1:a2(c1,a3,e3,c5)", "a1:b1(c1,a3,e3,c5)"}, nullptr, false},
      {"captured pieces leave at once: a king lands where one stood", [](RuleSet& r) { r = TurkishRules(); },
       "W:a1 b:c1 b:c2 w:h2 b:e3 b:d5 B:h8", {"a1:c1(c1,c2,e3,d5)"}, nullptr, false},
      // From a3 the king passes d3 again but cannot take it a second time.
      {"a piece is never taken twice", [](RuleSet& r) { r = TurkishRules(); }, "W:d1 b:d3 b:b6 b:a4",
       {"d1:a1(d3,a4,b6)", "d1:a2(d3,a4,b6)", "d1:a3(d3,a4,b6)"}, nullptr, false},
      {"orthogonal men", [](RuleSet& r) { r = TurkishRules(); }, "w:d4 b:d5 b:h8",
       {"d4:d6(d5)"}},
      {"orthogonal men quiet", [](RuleSet& r) { r = TurkishRules(); }, "w:d4 b:h8",
       {"d4-c4", "d4-d5", "d4-e4"}},
  };
  return cases;
}

TEST(MoveGen, LegalMovesOfSmallPositions) {
  for (const Case& c : Cases()) {
    Check(c, false);
    if (c.turn) Check(c, true);
  }
}

TEST(MoveGen, ModesAndEmptyPlies) {
  RuleSet r;
  r.CapRequired = 0;
  auto g = NewGame(r);
  PlacePieces(*g, "w:c3 b:d4 b:f6", 1);
  ASSERT_TRUE(GenerateMoves(*g, -1));  // captures only, whatever CapRequired says
  EXPECT_EQ(PlyTexts(*g), (Texts{"c3:g7(d4,f6)"}));
  g->Rules.CapRequired = 1;
  PlacePieces(*g, "w:c3 b:f6", 1);
  ASSERT_TRUE(GenerateMoves(*g, 0));
  EXPECT_EQ(g->P.PlyStart[1], g->P.PlyStart[0]);
  EXPECT_FALSE(HasLegalMove(*g, 0));
  EXPECT_TRUE(HasLegalMove(*g, 1));
  ASSERT_TRUE(GenerateMoves(*g, 1));
  EXPECT_EQ(PlyTexts(*g), (Texts{"c3-b4", "c3-d4"}));
}

TEST(MoveGen, PlacementFromOffTheBoard) {
  RuleSet r;
  r.canContract = 1;
  r.ContractW1 = 2;
  r.ContractW2 = 3;
  r.ContractB1 = 9;
  r.ContractB2 = 8;
  auto g = NewGame(r);
  PlacePieces(*g, "w:a1 b:h8 b:g7", 1);
  g->Mat.WhiteToPlace = 1;
  EXPECT_EQ(LegalTexts(*g), (Texts{"@c1", "@e1", "@g1", "a1-b2"}));
  g->Mat.WhiteToPlace = 0;
  EXPECT_EQ(LegalTexts(*g), (Texts{"a1-b2"}));
  // Placements are quiet moves: a capture elsewhere makes them illegal, and
  // the test sees a placement as a move when nothing else can move.
  PlacePieces(*g, "w:a1 b:b2 b:c3 b:h8", 1);
  g->Mat.WhiteToPlace = 1;
  EXPECT_TRUE(HasLegalMove(*g, 1));
  EXPECT_EQ(LegalTexts(*g), (Texts{"@c1", "@e1", "@g1"}));
  g->board[Cell("c3")] = 0;
  EXPECT_EQ(LegalTexts(*g), (Texts{"a1:c3(b2)"}));
  // The square as many rows above as the placement rows span must be empty
  // (below for black).
  g->Rules.ContractW2 = 4;
  g->Rules.ContractB2 = 7;
  PlacePieces(*g, "w:e3 b:h8", 1);
  g->Mat.WhiteToPlace = 1;
  EXPECT_EQ(LegalTexts(*g), (Texts{"@a1", "@c1", "@g1", "e3-d4", "e3-f4"}));
  PlacePieces(*g, "b:d6 w:a1", -1);
  g->Mat.BlackToPlace = 1;
  EXPECT_EQ(LegalTexts(*g), (Texts{"@b8", "@f8", "@h8", "d6-c5", "d6-e5"}));
}

TEST(MoveGen, OrderingScores) {
  auto g = NewGame(RuleSet{});
  PlacePieces(*g, "w:c3 b:d4 b:f6 w:h2", 1);
  g->P.Ply = 1;
  g->P.PlyStart[1] = 0;
  g->P.PlyDestination[0] = Cell("g7");
  ASSERT_TRUE(GenerateMoves(*g, 0));
  ASSERT_EQ(g->P.PlyStart[2], 1);
  EXPECT_EQ(g->P.MoveList[0].Score, 100 * 2 - 50 + 300);
  g->SearchTab.PVTable[0][1] = {0, Cell("c3"), Cell("g7")};
  ASSERT_TRUE(GenerateMoves(*g, 0));
  EXPECT_EQ(g->P.MoveList[0].Score, 100 * 2 - 50 + 300 + 500);
  g->P.Ply = 0;
  ASSERT_TRUE(GenerateMoves(*g, 0));
  EXPECT_EQ(g->P.MoveList[0].Score, 150);
  // Quiet moves: principal move 500, killers 250 and 150, else 0.
  PlacePieces(*g, "w:c3 b:h8", 1);
  g->SearchTab.PVTable[0][0] = {0, Cell("c3"), Cell("d4")};
  g->SearchTab.KillerMoves[0][0] = {Cell("c3"), Cell("b4")};
  g->SearchTab.KillerMoves[0][1] = {Cell("c3"), Cell("d4")};
  ASSERT_TRUE(GenerateMoves(*g, 1));
  ASSERT_EQ(PlyTexts(*g), (Texts{"c3-b4", "c3-d4"}));
  for (int k = 0; k < 2; ++k) {
    const MoveRecord& m = g->P.MoveList[k];
    EXPECT_EQ(m.Score, m.To == Cell("d4") ? 500 : 250);
  }
}

}  // namespace
}  // namespace m8
