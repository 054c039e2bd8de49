#include "core/rules/rulekeys.h"

#include <string_view>

namespace m8 {

namespace {

// On/off rules, the board kind, counts and rows.
#define M8_FLAG(k) RuleKey{#k, &RuleSet::k, 0, 1}
#define M8_KEY(k, lo, hi) RuleKey{#k, &RuleSet::k, lo, hi}
constexpr RuleKey kNumericKeys[] = {
    M8_FLAG(MulJumps),
    M8_FLAG(MaxCapMove),
    M8_FLAG(BlackStarts),
    M8_KEY(PiecesOnBlack, 0, 2),
    M8_FLAG(AntiMode),
    M8_FLAG(WinAtPromo),
    M8_FLAG(MaxCapMoveKings),
    M8_FLAG(ManCapKing),
    M8_FLAG(KingCapMove),
    M8_FLAG(ManContJump),
    M8_FLAG(LongKings),
    M8_FLAG(ManContJumpCrowned),
    M8_FLAG(RemovePieces),
    M8_FLAG(NoLegalDraw),
    M8_FLAG(RemoveMen),
    M8_KEY(NumberMen, 0, 32),  // men taken off each side
    M8_FLAG(DoMoves),
    M8_KEY(NumberMoves, 0, 200),  // random opening plies
    M8_FLAG(LastCap),
    M8_FLAG(ManKing),
    M8_FLAG(KingMan),
    M8_FLAG(ChangeSide),
    M8_FLAG(ThreeKings),
    M8_KEY(NumberKings, 0, 1000),   // moves
    M8_KEY(NumberKings2, 0, 1000),  // moves
    M8_KEY(NumberPieces, 0, 64),
    M8_FLAG(canContract),
    M8_KEY(ContractNumber, 0, 32),  // men each side holds off the board
    // Placement rows are mailbox rows: 2..9 are the board's, 0 and 1 place nothing.
    M8_KEY(ContractW1, 0, 9),
    M8_KEY(ContractW2, 0, 9),
    M8_KEY(ContractB1, 0, 9),
    M8_KEY(ContractB2, 0, 9),
    M8_FLAG(TwoKings),
    M8_FLAG(KingFirst),
    M8_FLAG(ManCapMoveKing),
    M8_FLAG(KingWin),
    M8_FLAG(JumpFriend),
    M8_KEY(NumberFriends, -1, 64),  // -1: any number
    M8_FLAG(MaxCapMoveK),
    M8_FLAG(CapRequired),
    M8_FLAG(CapReverse),
    M8_FLAG(RndColor),
};
#undef M8_FLAG
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

bool RuleValueRange(std::string_view key, int* lo, int* hi) {
  const RuleKey* k = FindRuleKey(key);
  if (!k) return false;
  *lo = k->lo;
  *hi = k->hi;
  return true;
}

std::span<const MovementKey> MovementKeys() { return kMovementKeys; }

}  // namespace m8
