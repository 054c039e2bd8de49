// The rules of a variant: every rule key with its standard value (American
// Checkers), the promotion squares and the four movement strings. The keys by
// name, with their ranges, are in rules/rulekeys.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace m8 {

// Promotion squares: side 0 white, side 1 black; -1 marks an empty entry.
constexpr int kPromoEntries = 12;
using PromoTable = std::array<std::array<int32_t, kPromoEntries>, 2>;

PromoTable StandardPromoSquares();

struct RuleSet {
  std::string Variant = "American Checkers";
  int32_t MulJumps = 1;
  int32_t MaxCapMove = 0;
  int32_t BlackStarts = 1;
  int32_t PiecesOnBlack = 1;
  int32_t AntiMode = 0;
  int32_t WinAtPromo = 0;
  int32_t MaxCapMoveKings = 0;
  int32_t ManCapKing = 1;
  int32_t KingCapMove = 0;
  int32_t ManContJump = 0;
  int32_t LongKings = 0;
  int32_t ManContJumpCrowned = 0;
  int32_t RemovePieces = 0;
  int32_t KingFirst = 0;
  int32_t ManCapMoveKing = 0;
  int32_t KingWin = 0;
  int32_t MaxCapMoveK = 1;
  int32_t CapRequired = 1;
  int32_t NoLegalDraw = 0;
  int32_t RemoveMen = 0;
  int32_t NumberMen = 0;
  int32_t DoMoves = 0;
  int32_t NumberMoves = 0;
  int32_t LastCap = 0;
  int32_t ManKing = 0;
  int32_t KingMan = 0;
  int32_t ChangeSide = 0;
  int32_t ThreeKings = 0;
  int32_t NumberKings = 0;
  int32_t CapReverse = 0;
  int32_t RndColor = 0;
  int32_t JumpFriend = 0;
  int32_t NumberFriends = 0;
  int32_t TwoKings = 0;
  int32_t NumberKings2 = 0;
  int32_t NumberPieces = 0;
  int32_t canContract = 0;
  int32_t ContractNumber = 0;
  int32_t ContractW1 = 0;
  int32_t ContractW2 = 0;
  int32_t ContractB1 = 0;
  int32_t ContractB2 = 0;
  PromoTable PromoSquares = StandardPromoSquares();
  // Kind 0 white man, 1 black man, 2 white king, 3 black king.
  std::array<std::string, 4> MovementStrings = {
      "NW;NE NW;NE", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW", "NW;NE;SE;SW NW;NE;SE;SW"};

  bool operator==(const RuleSet&) const = default;
};

}  // namespace m8
