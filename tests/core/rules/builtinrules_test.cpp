#include <gtest/gtest.h>

#include "core/rules/builtinrules.h"

using namespace m8;

namespace {

// A game state with built-in set `set` in force on the default start board.
void UseSet(GameState& g, int set) {
  g.Rules = BuiltInRules(set);
  g.StartBoard = DefaultStartBoard();
}

}  // namespace

TEST(IdentifyStandardRules, EachBuiltInSetIsRecognised) {
  for (int set = 1; set <= kBuiltInRuleSets; ++set) {
    GameState g;
    UseSet(g, set);
    EXPECT_EQ(IdentifyStandardRules(g), set == 1) << set;
    EXPECT_EQ(g.Eval.StandardRuleSet, set);
  }
  // A fresh rule set is American Checkers.
  GameState g;
  EXPECT_TRUE(IdentifyStandardRules(g));
  EXPECT_EQ(g.Eval.StandardRuleSet, 1);
}

TEST(IdentifyStandardRules, TheVariantNameDoesNotCount) {
  GameState g;
  UseSet(g, 3);
  g.Rules.Variant = "My Own Name";
  IdentifyStandardRules(g);
  EXPECT_EQ(g.Eval.StandardRuleSet, 3);
}

TEST(IdentifyStandardRules, AnyRuleThatDiffersGivesTheGenericEngine) {
  // One change at a time, for every set.
  struct Change {
    const char* what;
    void (*apply)(RuleSet&);
  } changes[] = {
      {"extra white promotion square", [](RuleSet& r) { r.PromoSquares[0][4] = 81; }},
      {"extra black promotion square", [](RuleSet& r) { r.PromoSquares[1][11] = 32; }},
      {"promotion squares reordered", [](RuleSet& r) { std::swap(r.PromoSquares[0][0], r.PromoSquares[0][1]); }},
      {"one promotion square dropped", [](RuleSet& r) { r.PromoSquares[1][3] = -1; }},
      {"RndColor", [](RuleSet& r) { r.RndColor = 1; }},
      {"NumberKings", [](RuleSet& r) { r.NumberKings = r.NumberKings == 15 ? 14 : 15; }},
      {"NumberFriends", [](RuleSet& r) { r.NumberFriends = -1; }},
      {"CapRequired", [](RuleSet& r) { r.CapRequired = 0; }},
      {"MaxCapMoveK 2", [](RuleSet& r) { r.MaxCapMoveK = 2; }},
      {"ContractB2", [](RuleSet& r) { r.ContractB2 = 1; }},
      {"king movement blank", [](RuleSet& r) { r.MovementStrings[3] += " "; }},
      {"white man movement", [](RuleSet& r) { r.MovementStrings[0] = "NE;NW NW;NE"; }},
      {"black man movement", [](RuleSet& r) { r.MovementStrings[1] = "NW;NE NW;NE;SE"; }},
  };
  for (int set = 1; set <= kBuiltInRuleSets; ++set)
    for (const auto& c : changes) {
      GameState g;
      UseSet(g, set);
      c.apply(g.Rules);
      EXPECT_FALSE(IdentifyStandardRules(g));
      EXPECT_EQ(g.Eval.StandardRuleSet, 0) << "set " << set << ": " << c.what;
    }
}

TEST(IdentifyStandardRules, RandomColourDrawnBlackStillDiffers) {
  GameState g;
  g.Rules.RndColor = 1;
  g.Rules.BlackStarts = 1;
  EXPECT_FALSE(IdentifyStandardRules(g));
  EXPECT_EQ(g.Eval.StandardRuleSet, 0);
}

TEST(IdentifyStandardRules, StartPositionMustBeTheDefault) {
  GameState g;
  g.StartBoard[21] = 0;
  EXPECT_FALSE(IdentifyStandardRules(g));
  EXPECT_EQ(g.Eval.StandardRuleSet, 0);
  // Set 2 plays on the other colour: the set-up shifts only the board, so the
  // start board keeps the default position and the set still matches.
  GameState h;
  UseSet(h, 2);
  h.board[22] = h.board[21];
  h.board[21] = 0;
  IdentifyStandardRules(h);
  EXPECT_EQ(h.Eval.StandardRuleSet, 2);
}

TEST(BuiltInRules, DifferencesBetweenTheSets) {
  const RuleSet s2 = BuiltInRules(2), s3 = BuiltInRules(3), s4 = BuiltInRules(4);
  EXPECT_EQ(s2.PromoSquares[0][0], 91);
  EXPECT_EQ(s2.PromoSquares[1][3], 28);
  EXPECT_EQ(s2.PromoSquares[0][4], -1);
  EXPECT_EQ(s2.PiecesOnBlack, 0);
  EXPECT_EQ(s2.BlackStarts, 0);
  EXPECT_EQ(s3.MovementStrings[1], "NW;NE NW;NE;SE;SW");
  EXPECT_EQ(s3.MovementStrings[2], "NW;NE;SE;SW NW;NE;SE;SW");
  EXPECT_EQ(s4.NumberKings, 15);
  EXPECT_EQ(s4.ThreeKings, 1);
  EXPECT_EQ(s4.ManContJumpCrowned, 1);
  EXPECT_TRUE(SameRules(BuiltInRules(1), RuleSet{}));
  EXPECT_FALSE(SameRules(s3, s4));
}
