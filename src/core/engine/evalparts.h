// Pieces shared by the generic and the family evaluators.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/engine/evaluate.h"
#include "core/numtext.h"
#include "core/state.h"

namespace m8::evalparts {

// Row difference plus column difference of two cells in the mailbox.
inline int Distance(int a, int b) { return std::abs(a / 10 - b / 10) + std::abs(a % 10 - b % 10); }

// A board cell, off-board for an index outside the mailbox.
inline int CellAt(const Board& b, int c) { return c >= 0 && c < kCells ? b[c] : kOffBoard; }

// The counting scan: pieces, men and the target pieces the proximity term
// drives towards. WithColumns adds the men per column and the kings standing
// on their winning squares (generic evaluator only).
struct Census {
  int whitePieces = 0, blackPieces = 0, whiteMen = 0, blackMen = 0;
  int whiteTarget = 0, blackTarget = 0;
  bool whiteOnTarget = false, blackOnTarget = false;
  int columnMen[2][9] = {};  // index j stands for column 9 - j
  int cells[64];             // the occupied cells in scan order
  int pieces = 0;
};

// parity 0 or 1 visits only the cells whose row + column has that parity
// (the squares in play of a family); -1 visits all 64.
template <bool WithColumns>
inline void CountPieces(const PositionState& g, Census& n, int parity = -1) {
  const Board& b = g.board;
  const RuleSet& r = g.Rules;
  int lowestBlack = 0, highestWhite = 0;
  const int step = parity < 0 ? 1 : 2;
  for (int row = 2; row <= 9; ++row) {
    const int first = parity < 0 || (row + 8) % 2 == parity ? 8 : 7;
    for (int col = first; col >= 1; col -= step) {
      const int c = 10 * row + col;
      const int p = b[c];
      if (p == 0) continue;
      n.cells[n.pieces++] = c;
      if (p < 0) {
        ++n.blackPieces;
        if (p == -1) {
          ++n.blackMen;
          if constexpr (WithColumns) ++n.columnMen[1][9 - col];
        }
        if (p <= lowestBlack) {
          lowestBlack = p;
          n.blackTarget = c;
        }
      } else {
        ++n.whitePieces;
        if (p == 1) {
          ++n.whiteMen;
          if constexpr (WithColumns) ++n.columnMen[0][9 - col];
        }
        if (p > highestWhite) {
          highestWhite = p;
          n.whiteTarget = c;
        }
      }
      if constexpr (WithColumns) {
        if (p == 2 || p == -2) {
          const auto& ps = r.PromoSquares;
          // WinAtPromo: a king wins on its own back row (the other side's
          // promotion squares); KingWin: on its own promotion squares.
          const int whiteRow = r.WinAtPromo != 0 ? 1 : 0;
          if (r.WinAtPromo != 0 || r.KingWin != 0) {
            const auto& squares = ps[p > 0 ? whiteRow : 1 - whiteRow];
            if (std::find(squares.begin(), squares.end(), c) != squares.end())
              (p > 0 ? n.whiteOnTarget : n.blackOnTarget) = true;
          }
        }
      }
    }
  }
}

// Row and column of every mailbox cell.
inline constexpr std::array<int8_t, kCells> kRowOf = [] {
  std::array<int8_t, kCells> t{};
  for (int c = 0; c < kCells; ++c) t[c] = static_cast<int8_t>(c / 10);
  return t;
}();
inline constexpr std::array<int8_t, kCells> kColOf = [] {
  std::array<int8_t, kCells> t{};
  for (int c = 0; c < kCells; ++c) t[c] = static_cast<int8_t>(c % 10);
  return t;
}();

// For every cell, 2 x the number of pieces of each colour that could make a
// plain move onto it: Count(c, colour) is CountAttackers(g, c, colour). Built
// from the pieces of the counting scan, each spreading its plain-move steps.
struct AttackMap {
  int8_t twice[2][kCells];

  AttackMap(const PositionState& g, const Census& n) {
    std::memset(twice, 0, sizeof twice);
    const Board& b = g.board;
    for (int k = 0; k < n.pieces; ++k) {
      const int c = n.cells[k];
      const int p = b[c];
      const int side = p > 0 ? 0 : 1;
      const int kind = (p == 2 || p == -2 ? 2 : 0) + side;
      const auto& row = g.Tables.DirectionTable[kind];
      for (int j = 0; j < 9 && row[j] != kDirEnd; ++j) {
        const int to = c + row[j];
        if (to >= 0 && to < kCells) twice[side][to] = static_cast<int8_t>(twice[side][to] + 2);
      }
    }
  }
  int Count(int c, int colour) const { return 1 + twice[colour == -1 ? 1 : 0][c]; }
};

// The repetition test: true when the position of the current ply stood
// earlier in the game or the line searched (any earlier occurrence). Records
// the key under the current game ply.
inline bool RepeatsEarlierPosition(PositionState& g) {
  auto& s = g.Search;
  const int gp = g.P.GamePly;
  const uint64_t key = s.PlyKey[std::clamp(g.P.Ply, 0, kMaxPly)];
  for (int i = std::min(gp - 2, kRepKeyEntries - 1); i >= 0; --i)
    if (s.RepKeys[i] == key) return true;
  if (gp >= 1 && gp - 1 < kRepKeyEntries) s.RepKeys[gp - 1] = key;
  return false;
}

// The back-row opening term of the generic evaluator for side s (0 White,
// 1 Black): open or half-open paths in front of the side's promotion squares
// along the other colour's men's moves, and three men of one colour in a
// straight line from such a square. The walks stop at a sideways step, at the
// first empty promotion entry and, from one square, at the first step off
// the board. (The families walk prepared paths: evalfamily.cpp.)
inline int BackRowTerm(const PositionState& g, int s) {
  const Board& b = g.board;
  const auto& promo = g.Rules.PromoSquares[s];
  const auto& dirs = g.Tables.DirectionTable[1 - s];
  auto ends = [](int d) { return d == kDirEnd || std::abs(d) == 1; };
  int sum = 0;
  for (int k = 0; k < kPromoEntries; ++k) {
    const int p = promo[k];
    if (p == -1) break;
    const int q = CellAt(b, p);
    for (int i = 0; i < 9 && !ends(dirs[i]); ++i) {
      const int d1 = dirs[i];
      const int u = CellAt(b, p + d1);
      if (u == kOffBoard) break;
      for (int j = 0; j < 9 && !ends(dirs[j]); ++j) {
        const int d2 = dirs[j];
        if (d2 == -d1) continue;
        const int w = CellAt(b, p + d1 + d2);
        if (q == 0) {
          if (u == 0 && w == 0) sum += 30 - 60 * s;
          if (u == 0 || w == 0) sum += 20 - 40 * s;
        }
        if (d1 == d2) {
          if (q == 1 && u == 1 && w == 1) sum += 30;
          if (q == -1 && u == -1 && w == -1) sum -= 30;
        }
      }
    }
  }
  return sum;
}

// Int(Rnd x N) - Int(Rnd x N); no draw from the generator when N is 0.
inline int Noise(PositionState& g) {
  const int n = g.Eval.NoiseAmplitude;
  if (n == 0) return 0;
  const int up = static_cast<int>(IntFloor(Rnd(g) * n));
  const int down = static_cast<int>(IntFloor(Rnd(g) * n));
  return up - down;
}

}  // namespace m8::evalparts
