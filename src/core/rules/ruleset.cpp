#include "core/rules/ruleset.h"

#include <string_view>

namespace m8 {

PromoTable StandardPromoSquares() {
  PromoTable t;
  for (auto& side : t) side.fill(-1);
  t[0][0] = 92, t[0][1] = 94, t[0][2] = 96, t[0][3] = 98;
  t[1][0] = 21, t[1][1] = 23, t[1][2] = 25, t[1][3] = 27;
  return t;
}

namespace {

#define M8_KEY(k) RuleKey{#k, &RuleSet::k}
constexpr RuleKey kNumericKeys[] = {
    M8_KEY(MulJumps),       M8_KEY(MaxCapMove),      M8_KEY(BlackStarts),
    M8_KEY(PiecesOnBlack),  M8_KEY(AntiMode),        M8_KEY(WinAtPromo),
    M8_KEY(MaxCapMoveKings), M8_KEY(ManCapKing),     M8_KEY(KingCapMove),
    M8_KEY(ManContJump),    M8_KEY(LongKings),       M8_KEY(ManContJumpCrowned),
    M8_KEY(RemovePieces),   M8_KEY(NoLegalDraw),     M8_KEY(RemoveMen),
    M8_KEY(NumberMen),      M8_KEY(DoMoves),         M8_KEY(NumberMoves),
    M8_KEY(LastCap),        M8_KEY(ManKing),         M8_KEY(KingMan),
    M8_KEY(ChangeSide),     M8_KEY(ThreeKings),      M8_KEY(NumberKings),
    M8_KEY(NumberKings2),   M8_KEY(NumberPieces),    M8_KEY(canContract),
    M8_KEY(ContractNumber), M8_KEY(ContractW1),      M8_KEY(ContractW2),
    M8_KEY(ContractB1),     M8_KEY(ContractB2),      M8_KEY(TwoKings),
    M8_KEY(KingFirst),      M8_KEY(ManCapMoveKing),  M8_KEY(KingWin),
    M8_KEY(JumpFriend),     M8_KEY(NumberFriends),   M8_KEY(MaxCapMoveK),
    M8_KEY(CapRequired),    M8_KEY(CapReverse),      M8_KEY(RndColor),
};
#undef M8_KEY

constexpr MovementKey kMovementKeys[] = {
    {"WhiteManMovement", 0},
    {"WhiteKingMovement", 2},
    {"BlackManMovement", 1},
    {"BlackKingMovement", 3},
};

}  // namespace

std::span<const RuleKey> NumericRuleKeys() { return kNumericKeys; }

const RuleKey* FindRuleKey(std::string_view name) {
  for (const auto& k : kNumericKeys)
    if (name == k.name) return &k;
  return nullptr;
}

std::span<const MovementKey> MovementKeys() { return kMovementKeys; }

}  // namespace m8
