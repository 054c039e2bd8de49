#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "core/engine/evalfamily.h"
#include "core/engine/evaluate.h"
#include "core/engine/search_fixture.h"
#include "core/rules/drawrules.h"

using namespace m8;
using m8::testing::Digits;
using m8::testing::SearchGame;

TEST(Evaluate, PhaseThresholdsFollowTheMenOfTheSetUp) {
  SearchGame t;
  GameState& g = *t.g;
  const std::pair<int, int> cases[] = {{12, 6}, {16, 10}, {20, 14}, {13, 7}, {5, 6}, {0, 6}};
  for (auto [men, threshold] : cases) {
    g.Mat.WhiteMen = men;
    g.Mat.BlackMen = 12;
    SetPhaseThresholds(g);
    EXPECT_EQ(g.Eval.WhiteMenThreshold, threshold) << men;
    EXPECT_EQ(g.Eval.BlackMenThreshold, 6);
  }
}

TEST(Evaluate, CountAttackersCountsPlainMovesOntoTheSquare) {
  SearchGame t;
  // White man 32 steps NE onto 43; white king 54 steps SW onto 43; the white
  // man on 52 moves away from 43; black man 34 is the other colour.
  t.Setup(Digits({{32, '1'}, {54, '3'}, {52, '1'}, {34, '2'}, {65, '4'}}), -1);
  GameState& g = *t.g;
  EXPECT_EQ(CountAttackers(g, 43, 1), 1 + 2 * 2);
  EXPECT_EQ(CountAttackers(g, 43, -1), 1);          // no black piece steps onto 43
  EXPECT_EQ(CountAttackers(g, 76, -1), 1 + 2 * 1);  // the black king steps back onto 76
  EXPECT_EQ(CountAttackers(g, 23, -1), 1 + 2 * 1);  // the black man 34 steps onto 23
  EXPECT_EQ(CountAttackers(g, 23, 7), CountAttackers(g, 23, 1));  // any colour but -1 is White
}

// One white man on 54 (a centre square) and one black man on 76, White to
// move; every term worked out by hand.
TEST(Evaluate, GenericTermsOfASmallPosition) {
  SearchGame t;
  t.Setup(Digits({{54, '1'}, {76, '2'}}), 1);
  GameState& g = *t.g;
  ASSERT_EQ(g.Eval.StandardRuleSet, 0);
  // Empty squares: the halved move-based bonus, White's 120 less the 5 of the
  // occupied 76, Black's -120. White man: proximity 1 x (15 - 4) = 11, centre
  // 20. Black man: proximity -11.
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), 15);
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, -1), -15);
  EXPECT_EQ(g.Eval.InDanger, 0);
}

TEST(Evaluate, FamilyTermsOfASmallPosition) {
  SearchGame t;
  t.Setup(Digits({{54, '1'}, {76, '2'}}), 1, 1);
  GameState& g = *t.g;
  // White man: proximity (15 - 4) / 3 = 3, alone -10, centre 20, distance
  // bonus 50 - 6 x 4 = 26. Black man: proximity -3, alone +10, bonus -14.
  EXPECT_EQ(Evaluate1(g, -kInfinity, kInfinity, 1), 32);
  EXPECT_EQ(Evaluate1(g, -kInfinity, kInfinity, -1), -32);
  // Family 3/4 kings: a white king on the long diagonal gets 75 + 50.
  SearchGame k;
  k.Setup(Digits({{43, '3'}, {76, '2'}}), 1, 3);
  SearchGame m;
  m.Setup(Digits({{52, '3'}, {76, '2'}}), 1, 3);  // 52: off the diagonal, not 25/58/61/94
  // Same proximity (distance 6 and 5 -> (15-6)/3 = 3, (15-5)/3 = 3), both alone.
  EXPECT_EQ(Evaluate34(*k.g, -kInfinity, kInfinity, 1) - Evaluate34(*m.g, -kInfinity, kInfinity, 1),
            50);
}

TEST(Evaluate, WinsByRuleAndDanger) {
  {
    SearchGame t;  // Black has no piece: White to move has won by rule.
    t.Setup(Digits({{54, '1'}}), 1);
    t.g->P.Ply = 3;
    t.g->P.MaterialBalance[3] = 100;
    t.g->P.BoardMaterial[3] = 100;
    EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, 1), 32000 - 3);
    // Black to move without pieces is only in danger.
    t.g->P.MaterialBalance[3] = -100;
    const int score = Evaluate(*t.g, -kInfinity, kInfinity, -1);
    EXPECT_LT(score, 0);
    EXPECT_GT(score, -1000);
    EXPECT_EQ(t.g->Eval.InDanger, 1);
  }
  {
    SearchGame t;  // The losing game: the side without pieces wins.
    t.Setup(Digits({{54, '1'}}), -1, 0, [](RuleSet& r) { r.AntiMode = 1; });
    EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, -1), 32000);
    Evaluate(*t.g, -kInfinity, kInfinity, 1);
    EXPECT_EQ(t.g->Eval.InDanger, 1);
  }
  {
    SearchGame t;  // NumberPieces 2: three pieces against two wins.
    t.Setup(Digits({{54, '1'}, {32, '1'}, {21, '1'}, {76, '2'}, {98, '2'}}), 1, 0,
            [](RuleSet& r) { r.NumberPieces = 2; });
    EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, 1), 32000);
    EXPECT_EQ(t.g->Eval.InDanger, 0);
  }
  {
    SearchGame t;  // WinAtPromo: a king on its own back row wins, not one on
                   // its promotion squares.
    t.Setup(Digits({{21, '3'}, {76, '2'}}), -1, 0, [](RuleSet& r) { r.WinAtPromo = 1; });
    EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, 1), 32000);
    SearchGame u;
    u.Setup(Digits({{92, '3'}, {76, '2'}}), -1, 0, [](RuleSet& r) { r.WinAtPromo = 1; });
    EXPECT_NE(Evaluate(*u.g, -kInfinity, kInfinity, 1), 32000);
  }
}

TEST(Evaluate, LazyCutOffReturnsTheMaterialOutsideTheWindow) {
  SearchGame t;
  t.Setup(Digits({{54, '1'}, {32, '1'}, {21, '1'}, {23, '1'}, {25, '1'}, {76, '2'}}), 1);
  GameState& g = *t.g;
  g.Eval.NoiseAmplitude = 5;
  ASSERT_EQ(g.P.MaterialBalance[0], 400);
  EXPECT_EQ(Evaluate(g, -50, 50, 1), 400);  // 400 > 50 + 150, no noise
  EXPECT_NE(Evaluate(g, -kInfinity, kInfinity, 1), 400);
  g.Rules.AntiMode = 1;
  EXPECT_EQ(Evaluate(g, -50, 50, 1), -400);
  g.Rules.AntiMode = 0;
  g.P.BoardMaterial[0] = 0;  // never on an empty board
  EXPECT_NE(Evaluate(g, -50, 50, 1), 400);
  // The families cut off whatever the board material.
  SearchGame f;
  f.Setup(Digits({{54, '1'}, {32, '1'}, {21, '1'}, {23, '1'}, {25, '1'}, {76, '2'}}), 1, 1);
  f.g->P.BoardMaterial[0] = 0;
  EXPECT_EQ(Evaluate1(*f.g, -50, 50, 1), 400);
}

TEST(Evaluate, DrawsScoreZero) {
  // White man walled in on a1: no legal move while both have pieces.
  const std::string blocked = Digits({{21, '1'}, {32, '2'}, {43, '2'}, {87, '2'}});
  SearchGame t;
  t.Setup(blocked, 1, 0, [](RuleSet& r) { r.NoLegalDraw = 1; });
  EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, 1), 0);
  EXPECT_EQ(t.g->Eval.NoLegalDrawFlag, 1);
  EXPECT_EQ(t.g->Eval.InDanger, 0);
  t.g->P.SideToMove = -1;  // Black can move: the flag is cleared
  EXPECT_NE(Evaluate(*t.g, -kInfinity, kInfinity, -1), 0);
  EXPECT_EQ(t.g->Eval.NoLegalDrawFlag, 0);

  SearchGame d;
  d.Setup(Digits({{54, '1'}, {76, '2'}, {78, '2'}}), 1);
  GameState& g = *d.g;
  const int score = Evaluate(g, -kInfinity, kInfinity, 1);
  ASSERT_NE(score, 0);
  g.Eval.DrawnPosition = 1;
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), 0);
  g.Eval.DrawnPosition = 0;
  // A single earlier occurrence of the position with the same side to move.
  g.P.GamePly = 5;
  g.Game.PositionHistory[2] = PositionKey(g.board, 1);
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), 0);
  // The same pieces with the other side to move are another position.
  g.Game.PositionHistory[2].clear();
  g.Game.PositionHistory[1] = PositionKey(g.board, -1);
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), score);
  // The entry of the current ply itself does not count.
  g.Game.PositionHistory[1].clear();
  g.Game.PositionHistory[4] = PositionKey(g.board, 1);
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), score);
}

TEST(Evaluate, NoiseStaysWithinTheAmplitude) {
  SearchGame t;
  t.Setup(Digits({{54, '1'}, {76, '2'}}), 1);
  GameState& g = *t.g;
  const int base = Evaluate(g, -kInfinity, kInfinity, 1);
  EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1), base);
  g.Eval.NoiseAmplitude = 5;
  std::set<int> seen;
  for (int i = 0; i < 400; ++i) seen.insert(Evaluate(g, -kInfinity, kInfinity, 1) - base);
  EXPECT_EQ(*seen.begin(), -4);
  EXPECT_EQ(*seen.rbegin(), 4);
}

// The back-row opening term, alone: the difference the switch makes.
TEST(Evaluate, BackRowOpeningTerm) {
  struct Case {
    std::vector<int> removed;  // black men taken off the start position
    int term;                  // from White's view
  } cases[] = {{{}, 0}, {{83}, 60}, {{92, 83}, 100}};
  for (const Case& c : cases) {
    SearchGame t;
    std::string start = "1010101001010101101010100000000000000000020202022020202002020202";
    for (int cell : c.removed) start[(cell / 10 - 2) * 8 + (cell % 10 - 1)] = '0';
    t.Setup(start, 1);
    GameState& g = *t.g;
    SetPhaseThresholds(g);
    g.Eval.EvalExtraTerm = 0;
    const int white = Evaluate(g, -kInfinity, kInfinity, 1);
    const int black = Evaluate(g, -kInfinity, kInfinity, -1);
    g.Eval.EvalExtraTerm = 1;
    EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, 1) - white, c.term) << c.removed.size();
    EXPECT_EQ(Evaluate(g, -kInfinity, kInfinity, -1) - black, -c.term);
    // The family evaluator adds it whenever a side has more men than its
    // threshold, without the switch.
    SearchGame f;
    f.Setup(start, 1, 1);
    GameState& h = *f.g;
    SetPhaseThresholds(h);
    const int with = Evaluate1(h, -kInfinity, kInfinity, 1);
    h.Eval.WhiteMenThreshold = h.Eval.BlackMenThreshold = 12;
    EXPECT_EQ(with - Evaluate1(h, -kInfinity, kInfinity, 1), c.term) << c.removed.size();
  }
}

// Single terms switched by a rule or a field, on the position of
// GenericTermsOfASmallPosition (white man 54, black man 76; with a white
// king on 43 for the king terms), White to move: the change each makes.
TEST(Evaluate, TermsSwitchedByRules) {
  struct Case {
    const char* name;
    bool king;
    std::function<void(RuleSet&)> rules;  // at set-up
    std::function<void(GameState&)> field;  // after set-up
    int change;
  } cases[] = {
      {"priority piece", false, {}, [](GameState& g) {
         g.Eval.PrioritySquare = 54;
         g.Eval.PriorityPiece = 1;
       }, -50},
      {"priority, other piece", false, {}, [](GameState& g) {
         g.Eval.PrioritySquare = 54;
         g.Eval.PriorityPiece = 2;
       }, 0},
      {"unreachable man", false, {}, [](GameState& g) {
         g.Tables.PromoReachLimited = 1;
         g.Tables.PromoReach[54][0] = 0;
       }, -75},
      {"other square colour's centre", false, {}, [](GameState& g) { g.Rules.PiecesOnBlack = 0; },
       -20},
      // 2 x (15 - d) to each own promotion square: 72 for the white man,
      // -60 for the black one; the proximity term goes (NoKingWinRule 0).
      {"KingWin", false, [](RuleSet& r) { r.KingWin = 1; }, {}, 12},
      // 15 - d for the men: 36 and -30.
      {"WinAtPromo", false, [](RuleSet& r) { r.WinAtPromo = 1; }, {}, 6},
      // The king on the long diagonal 43: 50 + 50 more with flying kings.
      {"flying king", true, {}, [](GameState& g) { g.Rules.LongKings = 1; }, 100},
      {"king that men cannot take", true, {}, [](GameState& g) { g.Rules.ManCapKing = 0; }, 25},
  };
  for (const Case& c : cases) {
    const std::string digits = c.king ? Digits({{54, '1'}, {76, '2'}, {43, '3'}})
                                      : Digits({{54, '1'}, {76, '2'}});
    SearchGame base;
    base.Setup(digits, 1);
    SearchGame t;
    t.Setup(digits, 1, 0, c.rules);
    if (c.field) c.field(*t.g);
    EXPECT_EQ(Evaluate(*t.g, -kInfinity, kInfinity, 1) - Evaluate(*base.g, -kInfinity, kInfinity, 1),
              c.change)
        << c.name;
  }
}
