// Perft runs and random games that check the generator at every node: the
// board is unchanged by a generation and by each make/take-back pair, the
// running material equals a recount, and HasLegalMove agrees with the
// generator.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"

namespace m8 {
namespace {

using namespace m8::testing;

struct Checker {
  GameState& g;
  int failures = 0;
  uint64_t nodes = 0;
  uint64_t captures = 0;
  uint64_t kingMoves = 0;
  uint64_t crownings = 0;
  uint64_t placements = 0;
  uint64_t gamePlies = 0;

  void Fail(const std::string& what) {
    if (++failures <= 5) ADD_FAILURE() << what << " at ply " << g.P.Ply << " game ply " << g.P.GamePly;
  }

  // Checks this node and the tree below it to `depth` plies.
  void Walk(int depth) {
    PlyState& P = g.P;
    ++nodes;
    if (P.MaterialBalance[P.Ply] != RecountBalance(g)) Fail("material balance differs from the board");
    if (P.BoardMaterial[P.Ply] != RecountTotal(g)) Fail("board material differs from the board");
    const Board before = g.board;
    const bool has = HasLegalMove(g, 1);
    if (g.board != before) Fail("HasLegalMove changed the board");
    if (!GenerateMoves(g, 0)) Fail("generation failed");
    const int first = P.PlyStart[P.Ply];
    int end = P.PlyStart[P.Ply + 1];
    if (first == end) {
      if (HasLegalMove(g, 0)) Fail("HasLegalMove(0) true but no record");
      GenerateMoves(g, 1);
      end = P.PlyStart[P.Ply + 1];
    } else if (!HasLegalMove(g, 0)) {
      Fail("HasLegalMove(0) false but records");
    }
    if (g.board != before) Fail("generation changed the board");
    if (has != (end > first)) Fail("HasLegalMove(1) disagrees with the generator");
    if (depth == 0) return;
    for (int k = first; k < end; ++k) {
      const int toPlaceW = g.Mat.WhiteToPlace, toPlaceB = g.Mat.BlackToPlace;
      const int side = P.SideToMove;
      const MoveRecord& m = P.MoveList[k];
      captures += m.IsCapture();
      crownings += m.Crown != 0;
      placements += m.From == kNoSquare;
      kingMoves += m.From != kNoSquare && (g.board[m.From] == 2 || g.board[m.From] == -2);
      MakeMove(g, k);
      Walk(depth - 1);
      UnmakeMove(g, k);
      if (g.board != before || g.Mat.WhiteToPlace != toPlaceW || g.Mat.BlackToPlace != toPlaceB ||
          P.SideToMove != side)
        Fail("make/take back changed the position: " + RecordText(P.MoveList[k]));
    }
  }
};

// Plays random games, checking two plies below every position on the way.
void RandomGames(GameState& g, int games, int maxPlies, unsigned seed, Checker& c) {
  std::mt19937 rng(seed);
  const Board start = g.board;
  const int side = g.P.SideToMove;
  const int placeW = g.Mat.WhiteToPlace, placeB = g.Mat.BlackToPlace;
  for (int game = 0; game < games && c.failures == 0; ++game) {
    SetPosition(g, "", side);
    g.board = start;
    g.Mat.WhiteToPlace = placeW;
    g.Mat.BlackToPlace = placeB;
    g.P.MaterialBalance[0] = RecountBalance(g);
    g.P.BoardMaterial[0] = RecountTotal(g);
    for (int ply = 0; ply < maxPlies && c.failures == 0; ++ply) {
      c.Walk(2);
      GenerateLegalMoves(g);
      const int first = g.P.PlyStart[0], end = g.P.PlyStart[1];
      if (first == end) break;
      MakeMove(g, first + static_cast<int>(rng() % static_cast<unsigned>(end - first)));
      ++c.gamePlies;
      ResetPly(g);
    }
  }
}

struct Case {
  const char* name;
  RuleSet rules;
  const char* position;  // nullptr: the standard start
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"American", RuleSet{}, nullptr});
  cases.push_back({"Russian", RussianRules(), nullptr});
  cases.push_back({"Majority", MajorityRules(), nullptr});
  cases.push_back({"Orthogonal", TurkishRules(), kTurkishStart});
  {
    RuleSet r;  // men placed from off the board onto their first row
    r.canContract = 1;
    r.ContractNumber = 4;
    r.ContractW1 = 2;
    r.ContractW2 = 3;
    r.ContractB1 = 9;
    r.ContractB2 = 8;
    cases.push_back({"Placement", r,
                     "........"
                     ".b.b.b.b"
                     "b.b.b.b."
                     "........"
                     "........"
                     ".w.w.w.w"
                     "w.w.w.w."
                     "........"});
  }
  {
    RuleSet r;  // kings turn back into men, crowned men change sides, last men crown
    r.KingMan = 1;
    r.ChangeSide = 1;
    r.ManKing = 1;
    r.CapRequired = 0;
    r.LastCap = 1;
    r.MulJumps = 0;
    r.JumpFriend = 1;
    r.NumberFriends = -1;
    cases.push_back({"KingManChangeSide", r, nullptr});
  }
  {
    RuleSet r = RussianRules();  // kings first, may reverse, captured pieces passed over
    r.KingFirst = 1;
    r.CapReverse = 1;
    r.RemovePieces = 0;
    r.ManCapKing = 0;
    r.KingCapMove = 1;
    r.MaxCapMove = 1;
    r.MaxCapMoveKings = 1;
    r.ManContJumpCrowned = 0;
    cases.push_back({"KingPrecedence", r, nullptr});
  }
  {
    RuleSet r;  // men capture like flying kings
    r.LongKings = 1;
    r.ManCapMoveKing = 1;
    r.MovementStrings[0] = r.MovementStrings[1] = "NW;NE NW;NE;SE;SW";
    cases.push_back({"FlyingMen", r, nullptr});
  }
  return cases;
}

TEST(MoveGenSelfCheck, EveryNodeOfRandomGames) {
  for (const Case& cs : Cases()) {
    SCOPED_TRACE(cs.name);
    auto g = NewGame(cs.rules);
    if (cs.position) SetPosition(*g, cs.position, g->P.SideToMove);
    Checker c{*g};
    c.Walk(3);
    RandomGames(*g, 6, 160, 7, c);
    EXPECT_EQ(c.failures, 0);
    EXPECT_GT(c.captures, 0u);
    EXPECT_GT(c.kingMoves, 0u);
    EXPECT_GT(c.crownings, 0u);
    if (cs.rules.canContract) {
      EXPECT_GT(c.placements, 0u);
    }
  }
}

TEST(MoveGenSelfCheck, EveryShippedVariant) {
  namespace fs = std::filesystem;
  int variants = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(M8_BIN_DIR) / "variants")) {
    if (entry.path().extension() != ".ini") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    auto g = std::make_unique<GameState>();
    g->ProgramFolder = M8_BIN_DIR;
    std::string error;
    ASSERT_TRUE(SetupVariantStart(*g, name, &error)) << error;
    Checker c{*g};
    c.Walk(2);
    RandomGames(*g, 2, 120, 3, c);
    EXPECT_EQ(c.failures, 0);
    ++variants;
  }
  EXPECT_GE(variants, 29);
}

TEST(MoveGenSelfCheck, RussianPerftMatchesPublishedCounts) {
  auto g = NewGame(RussianRules());
  const uint64_t expected[] = {1, 7, 49, 302, 1469, 7482, 37986, 190146};
  for (int d = 1; d < 8; ++d) {
    uint64_t n = 0;
    ASSERT_TRUE(Perft(*g, d, n));
    EXPECT_EQ(n, expected[d]) << "depth " << d;
  }
}

}  // namespace
}  // namespace m8
