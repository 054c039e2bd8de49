#include "core/engine/evalfamily.h"

#include <array>
#include <cstdlib>

#include "core/engine/evalparts.h"
#include "core/engine/evaluate.h"

namespace m8 {

namespace {

using evalparts::Census;

// Family 1 and 3/4 play on the standard colour, family 2 on the other one;
// families 3 and 4 have flying kings.
struct Family1 {
  static bool Centre(int c) { return c == 54 || c == 56 || c == 63 || c == 65; }
  static constexpr bool kFlyingKings = false;
  static constexpr int kId = 1;
};
struct Family2 {
  static bool Centre(int c) { return c == 53 || c == 55 || c == 64 || c == 66; }
  static constexpr bool kFlyingKings = false;
  static constexpr int kId = 2;
};
struct Family34 {
  static bool Centre(int c) { return Family1::Centre(c); }
  static constexpr bool kFlyingKings = true;
  static constexpr int kId = 3;
};

// The terms of a piece that depend only on its kind and cell: centre,
// promotion bonus and back row of a man, the king's square.
template <class F>
void BuildPieceSquare(PositionState& g) {
  const auto& ps = g.Rules.PromoSquares;
  const auto& bonus = g.Eval.PromotionBonus;
  auto& t = g.Search.PieceSquare;
  for (auto& row : t) row.fill(0);
  for (int row = 2; row <= 9; ++row) {
    for (int col = 1; col <= 8; ++col) {
      const int c = 10 * row + col;
      const int centre = F::Centre(c) ? 20 : 0;
      int man = centre + bonus[c][0];
      if (c == ps[1][1] || c == ps[1][3]) man += 20;
      if (c == ps[1][0] || c == ps[1][2]) man += 10;
      t[0][c] = man;
      man = -centre - bonus[c][1];
      if (c == ps[0][0] || c == ps[0][2]) man -= 20;
      if (c == ps[0][1] || c == ps[0][3]) man -= 10;
      t[1][c] = man;
      int king;
      if constexpr (F::kFlyingKings) {
        king = 75;
        if (c % 11 == 10)
          king += 50;
        else if (c == 25 || c == 58 || c == 61 || c == 94)
          king -= 25;
      } else {
        king = 25;
        if (col == 1 || col == 8) king -= 10;
        if (row == 2 || row == 9) king -= 10;
      }
      t[2][c] = centre + king;
      t[3][c] = -centre - king;
    }
  }
  // The back-row walks: from each of the side's first four promotion squares
  // along the other colour's men's moves; a first step off the board ends
  // the walks from that square.
  for (int side = 0; side < 2; ++side) {
    const auto& dirs = g.Tables.DirectionTable[1 - side];
    int n = 0;
    for (int k = 0; k < 4; ++k) {
      const int p = ps[side][k];
      if (p < 0 || p >= kCells) continue;
      for (int i = 0; i < 9 && dirs[i] != kDirEnd; ++i) {
        const int d1 = dirs[i];
        if (evalparts::CellAt(g.board, p + d1) == kOffBoard) break;
        for (int j = 0; j < 9 && dirs[j] != kDirEnd; ++j) {
          const int d2 = dirs[j];
          if (d2 == -d1) continue;
          g.Search.BackRowPaths[side][n++] = {static_cast<int16_t>(p), static_cast<int16_t>(p + d1),
                                              static_cast<int16_t>(p + d1 + d2),
                                              static_cast<int16_t>(d1 == d2)};
        }
      }
    }
    g.Search.BackRowPathCount[side] = n;
  }
  g.Search.PieceSquareFamily = F::kId;
}

// The back-row opening term of side s over the prepared walks.
int BackRowWalks(const PositionState& g, int s) {
  const Board& b = g.board;
  const auto& paths = g.Search.BackRowPaths[s];
  const int open = 30 - 60 * s, halfOpen = 20 - 40 * s;
  int sum = 0;
  for (int i = 0; i < g.Search.BackRowPathCount[s]; ++i) {
    const auto& w = paths[i];
    const int q = b[w.promo], u = b[w.first], v = evalparts::CellAt(b, w.second);
    if (q == 0) {
      if (u == 0 && v == 0) sum += open;
      if (u == 0 || v == 0) sum += halfOpen;
    } else if (w.straight && q == u && u == v && (q == 1 || q == -1)) {
      sum += 30 * q;
    }
  }
  return sum;
}

// (15 - d) / 3 rounded toward zero, for the distances the board allows.
constexpr int kMaxDistance = 40;
constexpr std::array<int, kMaxDistance + 1> kProximity = [] {
  std::array<int, kMaxDistance + 1> t{};
  for (int d = 0; d <= kMaxDistance; ++d) t[d] = (15 - d) / 3;
  return t;
}();

template <class F>
int EvaluateFamily(PositionState& g, int alpha, int beta, int side) {
  EvalState& e = g.Eval;
  const Board& b = g.board;
  const int ply = g.P.Ply;
  const int limit = g.Rules.NumberPieces;
  e.InDanger = 0;

  Census n;
  // Family 2 plays on the other square colour; the others on the standard one.
  evalparts::CountPieces<false>(g, n, F::kId == 2 ? 0 : 1);

  if (side == 1) {
    if (n.whitePieces <= limit) e.InDanger = 1;
    if (n.blackPieces <= limit) return kInfinity - ply;
  } else {
    if (n.blackPieces <= limit) e.InDanger = 1;
    if (n.whitePieces <= limit) return kInfinity - ply;
  }

  const int m = g.P.MaterialBalance[ply];
  if (m < alpha - e.LazyMargin || m > beta + e.LazyMargin) return m;
  if (e.DrawnPosition != 0) return 0;

  // Empty cells add nothing here: only the pieces are visited.
  if (g.Search.PieceSquareFamily != F::kId) BuildPieceSquare<F>(g);
  const evalparts::AttackMap attack(g, n);
  const auto& pieceSquare = g.Search.PieceSquare;
  const int whiteTargetRow = n.whiteTarget / 10, whiteTargetCol = n.whiteTarget % 10;
  const int blackTargetRow = n.blackTarget / 10, blackTargetCol = n.blackTarget % 10;
  int s = 0;
  for (int k = 0; k < n.pieces; ++k) {
    const int c = n.cells[k];
    const int p = b[c];
    const int row = evalparts::kRowOf[c], col = evalparts::kColOf[c];
    int attackers, d;
    if (p > 0) {
      attackers = attack.Count(c, 1);
      d = std::abs(row - blackTargetRow) + std::abs(col - blackTargetCol);
      s += attackers * kProximity[d];
      if (attackers == 1) s -= 10;  // no own piece can step onto it
      s += pieceSquare[p == 1 ? 0 : 2][c];
    } else {
      attackers = attack.Count(c, -1);
      d = std::abs(row - whiteTargetRow) + std::abs(col - whiteTargetCol);
      s -= attackers * kProximity[d];
      if (attackers == 1) s += 10;
      s += pieceSquare[p == -1 ? 1 : 3][c];
    }
  }

  if (evalparts::RepeatsEarlierPosition(g)) return 0;

  if (n.whiteMen > e.WhiteMenThreshold) s += BackRowWalks(g, 0);
  if (n.blackMen > e.BlackMenThreshold) s += BackRowWalks(g, 1);

  if (side == -1) s = -s;
  return m + s + evalparts::Noise(g);
}

}  // namespace

void PrepareFamilyEvaluation(PositionState& g) {
  switch (g.Eval.StandardRuleSet) {
    case 1: BuildPieceSquare<Family1>(g); break;
    case 2: BuildPieceSquare<Family2>(g); break;
    case 3:
    case 4: BuildPieceSquare<Family34>(g); break;
    default: break;
  }
}

int Evaluate1(PositionState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family1>(g, alpha, beta, side);
}
int Evaluate2(PositionState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family2>(g, alpha, beta, side);
}
int Evaluate34(PositionState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family34>(g, alpha, beta, side);
}

}  // namespace m8
