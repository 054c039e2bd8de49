#include "core/engine/evalfamily.h"

#include "core/engine/evalparts.h"
#include "core/engine/evaluate.h"

namespace m8 {

namespace {

using evalparts::Census;
using evalparts::Distance;

// Family 1 and 3/4 play on the standard colour, family 2 on the other one;
// families 3 and 4 have flying kings.
struct Family1 {
  static bool Centre(int c) { return c == 54 || c == 56 || c == 63 || c == 65; }
  static constexpr bool kFlyingKings = false;
};
struct Family2 {
  static bool Centre(int c) { return c == 53 || c == 55 || c == 64 || c == 66; }
  static constexpr bool kFlyingKings = false;
};
struct Family34 {
  static bool Centre(int c) { return Family1::Centre(c); }
  static constexpr bool kFlyingKings = true;
};

template <class F>
int EvaluateFamily(GameState& g, int alpha, int beta, int side) {
  EvalState& e = g.Eval;
  const Board& b = g.board;
  const auto& ps = g.Rules.PromoSquares;
  const auto& bonus = e.PromotionBonus;
  const int ply = g.P.Ply;
  const int limit = g.Rules.NumberPieces;
  e.InDanger = 0;

  Census n;
  evalparts::CountPieces<false>(g, n);

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

  int s = 0;
  for (int row = 2; row <= 9; ++row) {
    for (int col = 1; col <= 8; ++col) {
      const int c = 10 * row + col;
      const int p = b[c];
      if (p == 0) continue;
      const bool white = p > 0;
      const int sg = white ? 1 : -1;
      const int attackers = CountAttackers(g, c, sg);
      s += sg * attackers * ((15 - Distance(c, white ? n.blackTarget : n.whiteTarget)) / 3);
      if (attackers == 1) s -= sg * 10;  // no own piece can step onto it
      if (F::Centre(c)) s += sg * 20;
      if (p == 1) {
        s += bonus[c][0];
        if (c == ps[1][1] || c == ps[1][3]) s += 20;
        if (c == ps[1][0] || c == ps[1][2]) s += 10;
      } else if (p == -1) {
        s -= bonus[c][1];
        if (c == ps[0][0] || c == ps[0][2]) s -= 20;
        if (c == ps[0][1] || c == ps[0][3]) s -= 10;
      } else if constexpr (F::kFlyingKings) {
        int k = 75;
        if (c % 11 == 10)
          k += 50;
        else if (c == 25 || c == 58 || c == 61 || c == 94)
          k -= 25;
        s += sg * k;
      } else {
        int k = 25;
        if (col == 1 || col == 8) k -= 10;
        if (row == 2 || row == 9) k -= 10;
        s += sg * k;
      }
    }
  }

  if (evalparts::RepeatsEarlierPosition(g)) return 0;

  if (n.whiteMen > e.WhiteMenThreshold) s += evalparts::BackRowTerm<true>(g, 0);
  if (n.blackMen > e.BlackMenThreshold) s += evalparts::BackRowTerm<true>(g, 1);

  if (side == -1) s = -s;
  return m + s + evalparts::Noise(g);
}

}  // namespace

int Evaluate1(GameState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family1>(g, alpha, beta, side);
}
int Evaluate2(GameState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family2>(g, alpha, beta, side);
}
int Evaluate34(GameState& g, int alpha, int beta, int side) {
  return EvaluateFamily<Family34>(g, alpha, beta, side);
}

}  // namespace m8
