#include <gtest/gtest.h>

#include <tuple>

#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/quicksearch.h"
#include "core/engine/rootsearch.h"
#include "core/engine/searchnode.h"
#include "core/rules/drawrules.h"
#include "core/rules/notation.h"
#include "core/engine/search_fixture.h"

using namespace m8;
using m8::testing::CanWinWithin;
using m8::testing::Digits;
using m8::testing::SearchGame;

namespace {

// Calls a member at the root of the current position with a full window.
int SearchAtRoot(GameState& g, NodeMember member, int depth) {
  SearchScope scope(g);
  g.P.SearchAborted = 0;
  g.Search.MaxPly = depth + 3;
  int alpha = -kInfinity;
  return RunNode(g, member, alpha, kInfinity, depth);
}

struct WinCase {
  int family;  // 0 generic American rules, 1..4 the built-in sets
  const char* digits;
  int moves;   // Black to move wins in this many moves
};

// Found by the reference minimax; each is a win in exactly `moves` moves.
const WinCase kWins[] = {
    {0, "0000000001000000200000000000000200000000000000002000000000000000", 1},
    {0, "0000000000020000100000000000000040002000000000000000000000000000", 2},
    {0, "0000000000000200001000000000000000200000000000000000300000040000", 2},
    {0, "0000000000000000000000000100000000000000020000000000000004000000", 3},
    {0, "0000001000000400000000000000010000000040000000000000002000000000", 3},
    {1, "0000000000000000000000000001000000002000000000020000000000000000", 1},
    {1, "0000000000020000100000000000000040002000000000000000000000000000", 2},
    {1, "0000000000000000000000000100000000000000020000000000000004000000", 3},
    {2, "0000000000000010000000040000000000000000000000200000000000000000", 1},
    {2, "0000040000000000000000000000100000000000000000000000020000000000", 2},
    {2, "0000000000100000000000000040000000000000000000000000000000000000", 3},
    {3, "0000000001000000000000000001000000000000000000000000000000000004", 1},
    {3, "0010400000000000002000000000000000000000000000000000400000000000", 2},
    {3, "0000000000000000000000000000010400000000000000000000100000000000", 3},
    {4, "0000000001000000200000000000000200000000000000002000000000000000", 1},
    {4, "0000000000020000100000000000000040002000000000000000000000000000", 2},
    {4, "0010000000000004000000000000000000000000020000000000000000000000", 3},
};

NodeMember FullMember(int family) {
  constexpr NodeMember kMembers[] = {NodeMember::AlphaBeta, NodeMember::AlphaBeta1,
                                     NodeMember::AlphaBeta2, NodeMember::AlphaBeta3,
                                     NodeMember::AlphaBeta4};
  return kMembers[family];
}

}  // namespace

TEST(SearchNode, ForcedWinsScoreByDistance) {
  for (const WinCase& c : kWins) {
    SCOPED_TRACE(std::string("family ") + std::to_string(c.family) + " " + c.digits);
    SearchGame t;
    t.Setup(c.digits, -1, c.family);
    GameState& g = *t.g;
    ASSERT_EQ(ChooseFullNode(g), FullMember(c.family));
    // The reference agrees on the distance.
    ASSERT_TRUE(CanWinWithin(g, c.moves));
    if (c.moves > 1) {
      ASSERT_FALSE(CanWinWithin(g, c.moves - 1));
    }
    ResetPly(g);
    // The winning move is made at ply 2 (moves - 1).
    const int expected = 31999 - 2 * (c.moves - 1);
    EXPECT_EQ(SearchAtRoot(g, FullMember(c.family), 2 * c.moves + 1), expected);
    EXPECT_EQ(g.P.Ply, 0);
    EXPECT_EQ(g.P.SideToMove, -1);
    // The line found starts with a move and is as long as the win.
    EXPECT_NE(g.SearchTab.PVTable[0][0].From, 0);
    EXPECT_EQ(g.SearchTab.PVTable[0][2 * c.moves - 1].From, 0);
  }
}

TEST(SearchNode, QuickNodesFindTheWinInOne) {
  for (const WinCase& c : kWins) {
    if (c.moves != 1) continue;
    SearchGame t;
    t.Setup(c.digits, -1, c.family);
    const NodeMember quick = ChooseQuickNode(*t.g);
    EXPECT_EQ(SearchAtRoot(*t.g, quick, 1), 31999) << NodeMemberName(quick) << " " << c.digits;
  }
}

// White to move wins under the losing-game and winning-square rules; the
// score is checked against plain minimax with the same terminal rules.
TEST(SearchNode, ForcedWinsUnderAntiModeKingWinAndWinAtPromo) {
  enum Rule { Anti, KingWin, WinAtPromo };
  struct Case {
    Rule rule;
    const char* digits;
    int plies;  // the shortest reference search that finds the win
    int expected;
  } cases[] = {
      {Anti, "0000000000000000100000000000040000200000000000000000000000000000", 3, 31998},
      {Anti, "0000000000000000002000000000030000000000000002000000000000000000", 3, 31998},
      {Anti, "0000000000000000100000000000000000100000000000000000000000020000", 5, 31996},
      {Anti, "0000000000010000000000000000000000000000020000000000000000000000", 5, 31996},
      {KingWin, "0000000000000000000000000001000000002000000000000000000000000000", 1, 31998},
      {KingWin, "0000000000000100000040000000000010002000000000000000000000000000", 1, 31998},
      {KingWin, "0000000000000004000000000000000000001000000000001020000000000000", 3, 31998},
      {KingWin, "0000000000000000000000200000000200000000030000000000000000000000", 5, 31996},
      {KingWin, "0000000000000000000010000000020000000020000001000000000000000000", 5, 31996},
      {WinAtPromo, "1000000002000000000000000000000000000000000000003000000000000000", 1, 31998},
      {WinAtPromo, "0000000000000000000000000000000010001000000000000000000000020000", 3, 31996},
      {WinAtPromo, "4000000000000000000040000000030000000000000000000000000000000000", 5, 31996},
      {WinAtPromo, "0000000000000000000010000100000000000000000000000000002000000000", 5, 31994},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.digits);
    SearchGame t;
    t.Setup(c.digits, 1, 0, [&](RuleSet& r) {
      (c.rule == Anti ? r.AntiMode : c.rule == KingWin ? r.KingWin : r.WinAtPromo) = 1;
    });
    GameState& g = *t.g;
    EXPECT_EQ(ChooseFullNode(g),
              c.rule == Anti ? NodeMember::AlphaBetaAnti : NodeMember::AlphaBetaKingWin);
    ASSERT_EQ(m8::testing::ReferenceScore(g, c.plies), c.expected);
    if (c.plies > 1) {
      ASSERT_LT(m8::testing::ReferenceScore(g, c.plies - 2), 31980);  // none shorter
    }
    ResetPly(g);
    EXPECT_EQ(SearchAtRoot(g, ChooseFullNode(g), c.plies + 2), c.expected);
  }
}

// White man a1 (cell 21) walled in by black men on 32 and 43 (the jump is
// blocked): White to move has no legal move, while both sides have pieces.
TEST(SearchNode, SideWithoutMoveScoresByMember) {
  const std::string blocked = Digits({{21, '1'}, {32, '2'}, {43, '2'}, {87, '2'}});
  struct Case {
    NodeMember member;
    std::function<void(RuleSet&)> rules;
    int expected;  // at Ply 0
  } cases[] = {
      {NodeMember::AlphaBeta, {}, -32000},
      {NodeMember::AlphaBetaAnti, [](RuleSet& r) { r.AntiMode = 1; }, 31999},
      {NodeMember::AlphaBetaKingWin, [](RuleSet& r) { r.KingWin = 1; }, -31999},
      {NodeMember::AlphaBetaKingWin, [](RuleSet& r) { r.WinAtPromo = 1; }, -31999},
      {NodeMember::QuickAlphaBeta, {}, -32000},
      {NodeMember::QuickAlphaBeta, [](RuleSet& r) { r.AntiMode = 1; }, 31999},
  };
  for (const Case& c : cases) {
    SearchGame t;
    t.Setup(blocked, 1, 0, c.rules);
    GameState& g = *t.g;
    if (c.member != NodeMember::QuickAlphaBeta) {
      EXPECT_EQ(ChooseFullNode(g), c.member);
    }
    EXPECT_EQ(SearchAtRoot(g, c.member, 1), c.expected) << NodeMemberName(c.member);
    // One ply deeper the parent of the stuck side sees it from the other view.
    // Below the frontier an empty capture list is no loss: the evaluation.
    const int eval = Evaluate(g, -kInfinity, kInfinity, 1);
    EXPECT_EQ(SearchAtRoot(g, c.member, 0), eval) << NodeMemberName(c.member);
  }
  // QuickSearch returns the score from the other side's view.
  SearchGame t;
  t.Setup(blocked, 1);
  EXPECT_EQ(QuickSearch(*t.g), 32000);
}

// Anti: White (to move) gives its last man away and wins by rule when Black
// has to take it; KingWin: a white man crowns on its promotion square.
TEST(SearchNode, RuleWinsInAntiAndKingWinVariants) {
  {
    SearchGame t;  // white man 54 in front of black man 65; Black must take.
    t.Setup(Digits({{54, '1'}, {76, '2'}}), 1, 0, [](RuleSet& r) { r.AntiMode = 1; });
    // 54-65 is answered by 76x54: White has no piece at ply 2 and wins.
    EXPECT_EQ(SearchAtRoot(*t.g, NodeMember::AlphaBetaAnti, 3), 32000 - 2);
  }
  {
    SearchGame t;  // white man on 83 steps to 92 or 94 and wins there.
    t.Setup(Digits({{83, '1'}, {41, '2'}}), 1, 0, [](RuleSet& r) { r.KingWin = 1; });
    // The opponent, in danger, is searched one ply more; its reply lets the
    // winner's evaluation see the king: 32000 - 2.
    EXPECT_EQ(SearchAtRoot(*t.g, NodeMember::AlphaBetaKingWin, 1), 32000 - 2);
    // The evaluator of the side that just moved sees the win at once.
    SearchGame u;
    u.Setup(Digits({{92, '3'}, {41, '2'}}), -1, 0, [](RuleSet& r) { r.KingWin = 1; });
    EXPECT_EQ(Evaluate(*u.g, -kInfinity, kInfinity, 1), 32000);
    EXPECT_EQ(u.g->Eval.InDanger, 0);
    Evaluate(*u.g, -kInfinity, kInfinity, -1);
    EXPECT_EQ(u.g->Eval.InDanger, 1);
  }
}

TEST(SearchNode, PickNextMoveTakesTheBestScoreFirstLowestIndexOnTies) {
  SearchGame t;
  GameState& g = *t.g;
  g.P.Ply = 2;
  g.P.PlyStart[2] = 10;
  g.P.PlyStart[3] = 14;
  const int scores[] = {5, 250, 250, -32000};
  for (int i = 0; i < 4; ++i) g.P.MoveList[10 + i].Score = scores[i];
  EXPECT_EQ(PickNextMove(g), 11);
  EXPECT_EQ(g.P.MoveList[11].Score, kNoScore);
  EXPECT_EQ(PickNextMove(g), 12);
  EXPECT_EQ(PickNextMove(g), 10);
  EXPECT_EQ(PickNextMove(g), -1);  // the -32000 record is never picked
  g.P.PlyStart[3] = 10;
  EXPECT_EQ(PickNextMove(g), -1);  // empty ply
}

TEST(SearchNode, UpdatePVRecordsKindAndCopiesTheChildLine) {
  SearchGame t;
  GameState& g = *t.g;
  auto& pv = g.SearchTab.PVTable;
  g.P.Ply = 1;
  pv[2][2] = {1, 54, 32};
  pv[2][3] = {0, 21, 32};
  pv[2][4] = {0, 0, 0};
  pv[2][5] = {0, 77, 66};  // beyond the end: not copied
  MoveRecord& m = g.P.MoveList[7];
  m = MoveRecord{};
  m.From = 43;
  m.To = 65;
  m.Crown = 2;
  m.CapturedCount = 1;
  m.CapturedCell[0] = 54;
  m.CapturedValue[0] = 1;
  UpdatePV(g, 7);
  EXPECT_EQ(pv[1][1].Kind, 11);
  EXPECT_EQ(pv[1][1].From, 43);
  EXPECT_EQ(pv[1][2].From, 54);
  EXPECT_EQ(pv[1][3].To, 32);
  EXPECT_EQ(pv[1][4].From, 0);
  EXPECT_EQ(pv[1][5].From, 0);
  EXPECT_EQ(PVLength(g), 4);  // three moves follow the root move
  m.CapturedCount = 0;
  UpdatePV(g, 7);
  EXPECT_EQ(pv[1][1].Kind, 10);
  m.Crown = 0;
  UpdatePV(g, 7);
  EXPECT_EQ(pv[1][1].Kind, 0);
  // A full row has no end.
  for (int c = 1; c <= kMaxPly; ++c) pv[1][c].From = 21;
  EXPECT_EQ(PVLength(g), kPlyTables);
  // At the last ply only the entry itself is written.
  g.P.Ply = kMaxPly;
  UpdatePV(g, 7);
  EXPECT_EQ(pv[kMaxPly][kMaxPly].From, 43);
}

// The Ayrshire Lassie after ten plies (11-15 24-20 8-11 28-24 9-13 22-18
// 15x22 25x18 4-8 26-22), Black to move.
const char* kMiddleGame = "1010101000000100101010100001000120000000000202022020202002020200";

TEST(SearchNode, CancelThroughThePumpEndsTheSearchAndKeepsTheBestMove) {
  SearchGame t;
  t.Setup(kMiddleGame, -1);
  GameState& g = *t.g;
  RootSearchParams params;
  params.member = ChooseFullNode(g);
  params.depthLimit = 30;
  int completed = 0;
  RootSearchHooks hooks;
  hooks.iterationDone = [&](const RootIteration& it) {
    completed = it.depth;
    if (it.depth == 3) t.host->actAt = t.host->pumps + 20;
  };
  t.host->action = [&] { g.P.StopRequest = 1; };
  const RootSearchResult r = SearchRoot(g, params, hooks);
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(completed, 3);
  EXPECT_EQ(r.depth, 3);
  // The node after the request was the last to search: the pump ran only a
  // little further while the collapsed tree returned.
  EXPECT_LT(t.host->pumps - t.host->actAt, 300);
  EXPECT_EQ(g.P.SearchAborted, 1);  // stays until the next search
  EXPECT_EQ(g.P.StopRequest, 0);
  EXPECT_EQ(g.P.Ply, 0);
  // The best move so far is record 0 and is legal.
  const MoveRecord best = g.P.MoveList[0];
  EXPECT_NE(best.From, 0);
  ResetPly(g);
  GenerateLegalMoves(g);
  bool legal = false;
  for (int i = g.P.PlyStart[0]; i < g.P.PlyStart[1]; ++i)
    legal |= g.P.MoveList[i].From == best.From && g.P.MoveList[i].To == best.To;
  EXPECT_TRUE(legal);
}

TEST(SearchNode, KillerMovesAfterACutOffAndBruteForce) {
  SearchGame t;
  t.Setup(kMiddleGame, -1);
  GameState& g = *t.g;
  auto& killers = g.SearchTab.KillerMoves[0];
  // Every move beats a window far below the score: the first one cuts.
  killers[0] = KillerSlot{1, 2};
  killers[1] = KillerSlot{3, 4};
  int alpha = -31000, depth = 2;
  {
    SearchScope scope(g);
    g.Search.MaxPly = 5;
    AlphaBeta(g, alpha, -30900, depth);
  }
  EXPECT_EQ(killers[1].From, 1);
  EXPECT_EQ(killers[1].To, 2);
  EXPECT_NE(killers[0].From, 1);
  EXPECT_EQ(g.SearchTab.PVTable[0][0].From, killers[0].From);
  EXPECT_EQ(alpha, -31000);  // a cut-off does not raise alpha
  // Brute force: no cut-off and no killer; every move searched, alpha
  // raised to the best score.
  g.Opt.BruteForce = 1;
  killers[0] = KillerSlot{1, 2};
  killers[1] = KillerSlot{3, 4};
  alpha = -31000;
  depth = 2;
  const long before = t.host->pumps;
  int score;
  {
    SearchScope scope(g);
    score = AlphaBeta(g, alpha, -30900, depth);
  }
  EXPECT_EQ(killers[0].From, 1);
  EXPECT_EQ(killers[1].From, 3);
  EXPECT_EQ(alpha, score);
  EXPECT_GT(score, -30900);
  EXPECT_GT(t.host->pumps - before, 7);  // more than the root and one child
}

TEST(SearchNode, StaleStopRequestDoesNotAbortTheNextSearch) {
  SearchGame t;
  t.Setup(kMiddleGame, -1);
  GameState& g = *t.g;
  g.P.StopRequest = 1;  // left over
  RootSearchParams params;
  params.member = ChooseFullNode(g);
  params.depthLimit = 3;
  const RootSearchResult r = SearchRoot(g, params);
  EXPECT_FALSE(r.aborted);
  EXPECT_EQ(r.depth, 3);
  // A request that comes during the last node (no node tests it any more)
  // marks that search as stopped instead of the next one.
  g.P.SearchAborted = 0;
  t.host->action = [&] { g.P.StopRequest = 1; };
  t.host->actAt = t.host->pumps + 1;
  {
    SearchScope scope(g);
    g.host->pump();
  }
  EXPECT_EQ(g.P.StopRequest, 0);
  EXPECT_EQ(g.P.SearchAborted, 1);
}

TEST(SearchNode, SameSearchTwiceGivesTheSameMoveAndScore) {
  SearchGame t;
  t.Setup(kMiddleGame, -1);
  GameState& g = *t.g;
  RootSearchParams params;
  params.member = ChooseFullNode(g);
  params.depthLimit = 6;
  auto run = [&] {
    g.SearchTab = SearchTables{};  // as a new game clears them
    g.Eval.LazyMargin = 150;
    const RootSearchResult r = SearchRoot(g, params);
    return std::tuple(g.P.MoveList[0].From, g.P.MoveList[0].To, r.score, r.nodes);
  };
  const auto first = run();
  EXPECT_EQ(run(), first);
  EXPECT_EQ(BoardToSetupString(g.board), kMiddleGame);
}

TEST(SearchNode, NoMoveIsMadeBeyondPly40WhateverTheSettings) {
  SearchGame t;
  t.Setup(Digits({{21, '3'}, {25, '3'}, {98, '4'}}), 1);
  GameState& g = *t.g;
  // A search entered deep in the tables with limits far beyond them.
  const Board before = g.board;
  g.P.Ply = 37;
  g.P.PlyStart[37] = 0;
  g.P.MaterialBalance[37] = g.P.MaterialBalance[0];
  g.P.BoardMaterial[37] = g.P.BoardMaterial[0];
  int deepest = 0;
  struct DepthHost : m8::testing::PumpHost {
    GameState* g = nullptr;
    int* deepest = nullptr;
    void pump() override { *deepest = std::max(*deepest, g->P.Ply); }
  } host;
  host.g = &g;
  host.deepest = &deepest;
  g.host = &host;
  SearchScope scope(g);
  g.Search.MaxPly = 500;
  int alpha = -kInfinity, depth = 12;
  AlphaBeta(g, alpha, kInfinity, depth);
  EXPECT_EQ(deepest, kMaxPly);
  EXPECT_EQ(g.P.Ply, 37);
  EXPECT_EQ(g.board, before);
}

TEST(SearchNode, RootMoveRepeatingTheGameScoresZeroAndTheMarkIsCleared) {
  // The black king in the corner has one move, 98-87; two white kings.
  const std::string position = Digits({{21, '3'}, {23, '3'}, {98, '4'}});
  Board after;
  int scoreWithout = 0;
  {
    SearchGame t;
    t.Setup(position, -1);
    RootSearchParams params;
    params.member = ChooseFullNode(*t.g);
    scoreWithout = SearchRoot(*t.g, params).score;
    after = t.g->board;
    after[98] = 0;
    after[87] = -2;
  }
  EXPECT_NE(scoreWithout, 0);
  SearchGame t;
  t.Setup(position, -1);
  GameState& g = *t.g;
  // The position after 98-87 stood earlier in the game.
  g.Game.PositionHistory[0] = PositionKey(after, 1);
  g.Game.PositionHistory[1] = PositionKey(g.board, -1);
  g.P.GamePly = 2;
  RootSearchParams params;
  params.member = ChooseFullNode(g);
  const RootSearchResult r = SearchRoot(g, params);
  EXPECT_EQ(r.score, 0);
  EXPECT_EQ(g.Eval.DrawnPosition, 0);  // the mark belonged to that root move
  EXPECT_NE(Evaluate(g, -kInfinity, kInfinity, -1), 0);
}
