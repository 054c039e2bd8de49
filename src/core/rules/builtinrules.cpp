#include "core/rules/builtinrules.h"

#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"

namespace m8 {

namespace {

constexpr const char* kDefaultSetup = "1010101001010101101010100000000000000000020202022020202002020202";
constexpr const char* kManMoves = "NW;NE NW;NE";
constexpr const char* kManMovesCaptureBack = "NW;NE NW;NE;SE;SW";

// The values in which the four built-in sets differ; every other rule has its
// American Checkers value.
struct SetDifferences {
  const char* manMovement;
  int32_t LongKings, ManContJump, ManContJumpCrowned, MaxCapMove, MaxCapMoveKings, KingCapMove,
      ManCapKing, ThreeKings, NumberKings, RemovePieces, PiecesOnBlack, BlackStarts;
  std::array<int32_t, 4> promoWhite, promoBlack;
};

constexpr SetDifferences kSets[kBuiltInRuleSets] = {
    {kManMoves, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1, {92, 94, 96, 98}, {21, 23, 25, 27}},
    {kManMoves, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, {91, 93, 95, 97}, {22, 24, 26, 28}},
    {kManMovesCaptureBack, 1, 1, 0, 1, 0, 0, 1, 0, 0, 1, 1, 0, {92, 94, 96, 98}, {21, 23, 25, 27}},
    {kManMovesCaptureBack, 1, 1, 1, 0, 0, 0, 1, 1, 15, 1, 1, 0, {92, 94, 96, 98}, {21, 23, 25, 27}},
};

}  // namespace

RuleSet BuiltInRules(int set) {
  RuleSet r;
  if (set < 1 || set > kBuiltInRuleSets) return r;
  const SetDifferences& d = kSets[set - 1];
  r.MovementStrings[0] = d.manMovement;
  r.MovementStrings[1] = d.manMovement;
  r.LongKings = d.LongKings;
  r.ManContJump = d.ManContJump;
  r.ManContJumpCrowned = d.ManContJumpCrowned;
  r.MaxCapMove = d.MaxCapMove;
  r.MaxCapMoveKings = d.MaxCapMoveKings;
  r.KingCapMove = d.KingCapMove;
  r.ManCapKing = d.ManCapKing;
  r.ThreeKings = d.ThreeKings;
  r.NumberKings = d.NumberKings;
  r.RemovePieces = d.RemovePieces;
  r.PiecesOnBlack = d.PiecesOnBlack;
  r.BlackStarts = d.BlackStarts;
  for (auto& side : r.PromoSquares) side.fill(-1);
  for (int k = 0; k < 4; ++k) {
    r.PromoSquares[0][k] = d.promoWhite[k];
    r.PromoSquares[1][k] = d.promoBlack[k];
  }
  return r;
}

bool SameRules(const RuleSet& a, const RuleSet& b) {
  for (const auto& k : NumericRuleKeys())
    if (a.*k.member != b.*k.member) return false;
  return a.PromoSquares == b.PromoSquares && a.MovementStrings == b.MovementStrings;
}

bool IdentifyStandardRules(PositionState& g) {
  g.Eval.StandardRuleSet = 0;
  RuleSet italian = BuiltInRules(2);
  italian.BlackStarts = g.Rules.BlackStarts;  // a set-up position says who starts
  g.Tables.ItalianCaptureOrder = SameRules(g.Rules, italian) ? 1 : 0;
  // The colour shift of the set-up moves only the board, so the start board
  // of a set-2 game still holds the default position.
  const bool defaultStart = BoardToSetupString(g.StartBoard) == kDefaultSetup;
  bool american = false;
  for (int set = 1; set <= kBuiltInRuleSets; ++set) {
    const bool match = defaultStart && SameRules(g.Rules, BuiltInRules(set));
    if (set == 1) american = match;
    if (match) g.Eval.StandardRuleSet = set;
  }
  return american;
}

}  // namespace m8
