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
    ASSERT_TRUE(StartVariant(*g, name, &error)) << error;
    Checker c{*g};
    c.Walk(2);
    RandomGames(*g, 2, 120, 3, c);
    EXPECT_EQ(c.failures, 0);
    ++variants;
  }
  EXPECT_GE(variants, 29);
}

// Random rule sets and crowded random positions: whatever the rules and the
// board, generation leaves the board as it was, stays inside its tables and
// agrees with HasLegalMove, and every move is taken back exactly.
TEST(MoveGenSelfCheck, RandomRulesAndPositions) {
  static const char* kNames[] = {"NW", "NE", "SE", "SW", "W", "N", "E", "S", "WW", "NN", "EE", "SS"};
  std::mt19937 rng(2024);
  auto flag = [&](int percent) { return static_cast<int>(rng() % 100) < percent ? 1 : 0; };
  auto dirs = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(i ? ";" : "") + kNames[rng() % 12];
    return s;
  };
  int generated = 0, overflows = 0;
  for (int it = 0; it < 400; ++it) {
    RuleSet r;
    r.MulJumps = flag(80);
    r.MaxCapMove = flag(40);
    r.MaxCapMoveKings = flag(30);
    r.MaxCapMoveK = flag(70);
    r.ManCapKing = flag(70);
    r.KingCapMove = flag(30);
    r.ManContJump = flag(40);
    r.ManContJumpCrowned = flag(40);
    r.LongKings = flag(50);
    r.RemovePieces = flag(50);
    r.KingFirst = flag(30);
    r.ManCapMoveKing = flag(20);
    r.CapRequired = flag(70);
    r.LastCap = flag(30);
    r.KingMan = flag(20);
    r.ChangeSide = flag(20);
    r.ManKing = flag(20);
    r.CapReverse = flag(30);
    r.JumpFriend = flag(20);
    r.NumberFriends = static_cast<int>(rng() % 4) - 1;
    r.canContract = flag(20);
    r.ContractNumber = static_cast<int>(rng() % 4);
    r.ContractW1 = 2 + static_cast<int>(rng() % 3);
    r.ContractW2 = 2 + static_cast<int>(rng() % 3);
    r.ContractB1 = 7 + static_cast<int>(rng() % 3);
    r.ContractB2 = 7 + static_cast<int>(rng() % 3);
    for (auto& m : r.MovementStrings)
      m = dirs(1 + static_cast<int>(rng() % 4)) + " " + dirs(1 + static_cast<int>(rng() % 5));
    for (int side = 0; side < 2; ++side)
      for (int k = 0; k < kPromoEntries; ++k)
        r.PromoSquares[side][k] = flag(60) ? 21 + static_cast<int>(rng() % 78) : -1;
    auto g = NewGame(r);
    SetPosition(*g, "", flag(50) ? 1 : -1);
    const int density = 20 + static_cast<int>(rng() % 60);
    for (int row = 2; row <= 9; ++row)
      for (int col = 1; col <= 8; ++col) {
        static constexpr int kValues[] = {1, -1, 2, -2};
        if (flag(density)) g->board[10 * row + col] = kValues[rng() % 4];
      }
    g->P.MaterialBalance[0] = RecountBalance(*g);
    g->P.BoardMaterial[0] = RecountTotal(*g);
    g->Mat.WhiteToPlace = g->Mat.BlackToPlace = r.ContractNumber;
    g->P.GamePly = 1;
    g->Game.HistDestination[1] = 21 + static_cast<int>(rng() % 78);
    const Board before = g->board;
    for (int mode : {-1, 0, 1}) {
      SCOPED_TRACE("iteration " + std::to_string(it) + " mode " + std::to_string(mode));
      const bool ok = GenerateMoves(*g, mode);
      EXPECT_EQ(g->board, before);
      if (!ok) {
        EXPECT_NE(g->P.GenError, 0);
        ++overflows;
        g->P.StopRequest = 0;
        continue;
      }
      ++generated;
      const int first = g->P.PlyStart[0], end = g->P.PlyStart[1];
      ASSERT_LE(end, kMoveListSize);
      EXPECT_EQ(HasLegalMove(*g, mode), end > first);
      EXPECT_EQ(g->board, before);
      for (int k = first; k < end; ++k) {
        const MoveRecord m = g->P.MoveList[k];
        ASSERT_TRUE(MakeMove(*g, k));
        EXPECT_EQ(g->P.MaterialBalance[1], RecountBalance(*g)) << RecordText(m);
        EXPECT_EQ(g->P.BoardMaterial[1], RecountTotal(*g)) << RecordText(m);
        ASSERT_TRUE(UnmakeMove(*g, k));
        ASSERT_EQ(g->board, before) << RecordText(m);
      }
    }
  }
  EXPECT_GT(generated, 1000);
  EXPECT_LT(overflows, generated / 10);
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
