#include "core/game/variantname.h"

namespace m8 {

namespace {

// The rule keys whose change marks the game as modified.
constexpr int32_t RuleSet::*kComparedKeys[] = {
    &RuleSet::BlackStarts,    &RuleSet::MaxCapMove,         &RuleSet::MulJumps,       &RuleSet::AntiMode,
    &RuleSet::PiecesOnBlack,  &RuleSet::MaxCapMoveKings,    &RuleSet::WinAtPromo,     &RuleSet::KingCapMove,
    &RuleSet::ManCapKing,     &RuleSet::ManContJump,        &RuleSet::LongKings,      &RuleSet::ManContJumpCrowned,
    &RuleSet::RemovePieces,   &RuleSet::KingFirst,          &RuleSet::ManCapMoveKing, &RuleSet::KingWin,
    &RuleSet::MaxCapMoveK,    &RuleSet::CapRequired,        &RuleSet::NoLegalDraw,    &RuleSet::RemoveMen,
    &RuleSet::NumberMen,      &RuleSet::DoMoves,            &RuleSet::NumberMoves,    &RuleSet::LastCap,
    &RuleSet::ManKing,        &RuleSet::KingMan,            &RuleSet::ChangeSide,     &RuleSet::ThreeKings,
    &RuleSet::NumberKings,    &RuleSet::CapReverse,         &RuleSet::RndColor,       &RuleSet::JumpFriend,
    &RuleSet::NumberFriends,  &RuleSet::TwoKings,           &RuleSet::NumberKings2,   &RuleSet::NumberPieces,
    &RuleSet::canContract,    &RuleSet::ContractNumber,     &RuleSet::ContractW1,     &RuleSet::ContractW2,
    &RuleSet::ContractB1,     &RuleSet::ContractB2,
};

}  // namespace

bool RulesDifferFromVariant(const GameState& g) {
  const RuleSet& r = g.Rules;
  const RuleSet& v = g.VariantRules;
  for (auto key : kComparedKeys)
    if (r.*key != v.*key) return true;
  return r.PromoSquares != v.PromoSquares || r.MovementStrings != v.MovementStrings;
}

std::string VariantNameText(const GameState& g) {
  const bool handSet = g.Flow.PositionPreset == 1 && g.Rules.RemoveMen == 0 && g.Rules.DoMoves == 0;
  const bool modified = handSet || RulesDifferFromVariant(g);
  return g.Variant.LoadedVariantName + (modified ? " (M)" : "");
}

void ShowVariantName(GameState& g) { g.host->refresh(View::VariantName); }

std::string VariantHelpLink(GameState& g, bool quick) {
  g.BoardShown.MovesHighlighted = 0;
  return quick ? g.Variant.QuickHelpLink : g.Variant.HelpLink;
}

}  // namespace m8
