#include "core/engine/poskey.h"

#include <algorithm>
#include <cstdlib>


namespace m8 {

namespace {

constexpr int kCodes = 5;  // 0 unused, 1..4 piece codes

struct KeyTable {
  uint64_t z[kCells][kCodes];
};

constexpr uint64_t NextRandom(uint64_t& x) {
  x += 0x9E3779B97F4A7C15ULL;
  uint64_t r = x;
  r = (r ^ (r >> 30)) * 0xBF58476D1CE4E5B9ULL;
  r = (r ^ (r >> 27)) * 0x94D049BB133111EBULL;
  return r ^ (r >> 31);
}

constexpr KeyTable MakeKeyTable() {
  KeyTable t{};
  uint64_t seed = 0x6D3A2B1C0F4E5D7AULL;
  for (int c = 0; c < kCells; ++c)
    for (int k = 0; k < kCodes; ++k) t.z[c][k] = k == 0 ? 0 : NextRandom(seed);
  return t;
}

constexpr KeyTable kKeys = MakeKeyTable();

// Part of every key with Black to move.
constexpr uint64_t kBlackToMove = 0xC2B2AE3D27D4EB4FULL;

// 1 white man, 2 white king, 3 black man, 4 black king; 0 for anything else.
constexpr int PieceCode(int v) {
  switch (v) {
    case 1: return 1;
    case 2: return 2;
    case -1: return 3;
    case -2: return 4;
    default: return 0;
  }
}

inline uint64_t CellKey(int cell, int value) {
  if (cell < 0 || cell >= kCells) return 0;
  return kKeys.z[cell][PieceCode(value)];
}

}  // namespace

uint64_t PlacementKey(const Board& b, int sideToMove) {
  uint64_t k = sideToMove > 0 ? 0 : kBlackToMove;
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col) {
      int c = 10 * row + col;
      k ^= kKeys.z[c][PieceCode(b[c])];
    }
  return k;
}

uint64_t PlacementKeyFromText(std::string_view text) {
  uint64_t k = 0;
  size_t i = 0;
  // The pieces, then the side to move.
  if (text.empty()) return ~k;
  if (text.back() == 'B') k ^= kBlackToMove;
  else if (text.back() != 'W') return ~k;
  text.remove_suffix(1);
  for (; i + 3 <= text.size(); i += 3) {
    auto digit = [](char ch) { return ch >= '0' && ch <= '9' ? ch - '0' : -1; };
    int d1 = digit(text[i]), d2 = digit(text[i + 1]), code = digit(text[i + 2]);
    if (d1 < 0 || d2 < 0 || code < 1 || code > 4) return ~k;  // not a key text
    k ^= kKeys.z[10 * d1 + d2][code];
  }
  if (i != text.size()) return ~k;
  return k;
}

void PrepareRepetitionKeys(PositionState& g) {
  auto& s = g.Search;
  const int gp = g.P.GamePly;
  const int stored = std::min(gp - 1, kGameTables);
  for (int i = 0; i < stored; ++i) s.RepKeys[i] = PlacementKeyFromText(g.Game.PositionHistory[i]);
  const uint64_t k = PlacementKey(g.board, g.P.SideToMove);
  if (g.P.Ply >= 0 && g.P.Ply < kPlyTables) s.PlyKey[g.P.Ply] = k;
  if (gp >= 1 && gp - 1 < kRepKeyEntries) s.RepKeys[gp - 1] = k;
}

void RecordMoveKey(PositionState& g, const MoveRecord& m, int fromValue) {
  const int ply = g.P.Ply;
  if (ply <= 0 || ply >= kPlyTables) return;
  const RuleSet& r = g.Rules;
  uint64_t k;
  if (r.KingMan != 0 || r.ManKing != 0 || r.ChangeSide != 0) {
    // These rules change pieces away from the move's own cells.
    k = PlacementKey(g.board, g.P.SideToMove);
  } else {
    k = g.Search.PlyKey[ply - 1] ^ kBlackToMove;  // the other side to move
    if (m.From != kNoSquare) k ^= CellKey(m.From, fromValue);
    const int opponent = g.P.SideToMove;  // the side now to move lost the pieces
    for (int j = 0; j < m.CapturedCount && j < kMaxCaptured; ++j)
      k ^= CellKey(m.CapturedCell[j], opponent * m.CapturedValue[j]);
    if (m.To >= 0 && m.To < kCells) k ^= CellKey(m.To, g.board[m.To]);
  }
  g.Search.PlyKey[ply] = k;
  const int gp = g.P.GamePly;
  if (gp >= 1 && gp - 1 < kRepKeyEntries) g.Search.RepKeys[gp - 1] = k;
}

}  // namespace m8
