#include "core/engine/evaluate.h"

#include <cstdlib>
#include <optional>

#include "core/engine/evalparts.h"
#include "core/engine/poskey.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"

namespace m8 {

using evalparts::Census;
using evalparts::Distance;

void SetPhaseThresholds(PositionState& g) {
  auto threshold = [](int men) {
    int t = men > 5 ? men - 6 : 0;
    return t < 6 ? 6 : t;
  };
  g.Eval.WhiteMenThreshold = threshold(g.Mat.WhiteMen);
  g.Eval.BlackMenThreshold = threshold(g.Mat.BlackMen);
}

int CountAttackers(const PositionState& g, int square, int colour) {
  const int kinds[2] = {colour == -1 ? 1 : 0, colour == -1 ? 3 : 2};
  constexpr int kValue[4] = {1, -1, 2, -2};
  int count = 1;
  for (int kind : kinds) {
    const auto& row = g.Tables.DirectionTable[kind];
    for (int j = 0; j < 9 && row[j] != kDirEnd; ++j)
      if (evalparts::CellAt(g.board, square - row[j]) == kValue[kind]) count += 2;
  }
  return count;
}

namespace {

bool IsCentre(int piecesOnBlack, int c) {
  switch (piecesOnBlack) {
    case 1: return c == 54 || c == 56 || c == 63 || c == 65;
    case 0: return c == 53 || c == 55 || c == 64 || c == 66;
    default:
      return (c >= 51 && c <= 53) || (c >= 56 && c <= 58) || (c >= 61 && c <= 63) ||
             (c >= 66 && c <= 68);
  }
}

bool OnAny(const std::array<int32_t, kPromoEntries>& squares, int c, std::initializer_list<int> ks) {
  for (int k : ks)
    if (squares[k] == c) return true;
  return false;
}

// The piece terms and the common terms of the positional scan.
struct PieceScan {
  const PositionState& g;
  const Census& n;
  const evalparts::AttackMap* attack;  // when the proximity term is on
  int mW, mB;
  int whiteFirstRow = 0, blackFirstRow = 0;

  // Adds the terms of piece p on cell c (row `row`) to the running sum s.
  void Add(int& s, int c, int row, int p) {
    const RuleSet& r = g.Rules;
    const auto& ps = r.PromoSquares;
    const auto& bonus = g.Eval.PromotionBonus;
    const bool white = p > 0;
    const int sg = white ? 1 : -1;
    const int absP = white ? p : -p;

    // Promotion geography.
    s += white ? mW * bonus[c][0] : mB * bonus[c][1];
    // Proximity to the opponent's rearmost piece.
    if (g.Eval.NoKingWinRule == 1) {
      const int attackers = attack->Count(c, sg);
      const int target = white ? n.blackTarget : n.whiteTarget;
      s += sg * attackers * ((15 - Distance(c, target)) / (2 * absP - 1));
    }
    if (IsCentre(r.PiecesOnBlack, c)) s += sg * 20;
    if (absP == 2) {
      int k = 25;
      if (r.ManCapKing == 0) k += 25;
      if (r.LongKings == 0) {
        const int col = c % 10;
        if (col == 1 || col == 8) k -= 10;
        if (row == 2 || row == 9) k -= 10;
      } else {
        k += 50;
        if (c % 11 == 10)
          k += 50;
        else if (c == 25 || c == 58 || c == 61 || c == 94)
          k -= 25;
      }
      s += sg * k;
    } else {
      // A man on its own back row (the opponent's promotion squares).
      if (r.PiecesOnBlack != 2) {
        if (white) {
          if (OnAny(ps[1], c, {1, 3})) s += 20;
          if (OnAny(ps[1], c, {0, 2})) s += 10;
        } else {
          if (OnAny(ps[0], c, {0, 2})) s -= 20;
          if (OnAny(ps[0], c, {1, 3})) s -= 10;
        }
      } else {
        // Whole back rows in column order: the half turn of the board takes
        // White's odd entries to Black's even ones.
        const auto& own = ps[white ? 1 : 0];
        const int strong = white ? 1 : 0, weak = 1 - strong;
        if (OnAny(own, c, {strong, strong + 2, strong + 4, strong + 6})) s += sg * 20;
        if (OnAny(own, c, {weak, weak + 2, weak + 4, weak + 6})) s += sg * 10;
      }
    }

    // 8a: men that can never reach a promotion square.
    if (g.Tables.PromoReachLimited != 0 && absP == 1 && g.Tables.PromoReach[c][white ? 0 : 1] == 0)
      s -= sg * 75;
    // 8b: WinAtPromo: kings towards their own back row, men towards promotion.
    if (r.WinAtPromo != 0) {
      for (int k = 0; k < kPromoEntries; ++k) {
        if (absP == 2) {
          const int target = ps[white ? 1 : 0][k];
          if (target != -1) s += p * (30 - Distance(c, target));
        } else {
          const int target = ps[white ? 0 : 1][k];
          if (target != -1) s += p * (15 - Distance(c, target));
        }
      }
    }
    // 8c: KingWin: every piece towards its own promotion squares.
    if (r.KingWin != 0) {
      for (int k = 0; k < kPromoEntries; ++k) {
        const int target = ps[white ? 0 : 1][k];
        if (target != -1) {
          s += 2 * sg * (15 - Distance(c, target));
        } else if (g.Tables.PromoBalanced == 0 && k <= g.Tables.MaxPromoIndex) {
          const int t = white ? n.blackTarget : n.whiteTarget;
          int& firstRow = white ? whiteFirstRow : blackFirstRow;
          if (firstRow == 0) firstRow = row - 1;
          const double pieces = n.whitePieces + n.blackPieces;
          s = RoundHalfEven(s + sg * (2.0 - 0.01 * pieces) * (15 - Distance(c, t)));
          s -= sg * 10 * std::abs(firstRow - (row - 1));
        }
      }
    }
    // 8d: the piece the user gave priority in the position set-up.
    if (g.Eval.PrioritySquare != 0 && c == g.Eval.PrioritySquare && p == g.Eval.PriorityPiece)
      s -= 50 * sg;
  }
};

template <bool InSearch>
int EvaluateGeneric(PositionState& g, int alpha, int beta, int side) {
  EvalState& e = g.Eval;
  const RuleSet& r = g.Rules;
  const Board& b = g.board;
  const int ply = g.P.Ply;
  e.InDanger = 0;

  Census n;
  evalparts::CountPieces<true>(g, n);

  // No-move draw.
  if (r.NoLegalDraw != 0) {
    e.NoLegalDrawFlag = 0;
    if (!HasLegalMove(g, 1) && n.whitePieces > 0 && n.blackPieces > 0) {
      e.NoLegalDrawFlag = 1;
      return 0;
    }
  }

  // Wins by rule; in the losing game losing one's pieces is the win.
  int a = n.whitePieces, bp = n.blackPieces;
  bool wa = n.whiteOnTarget, wb = n.blackOnTarget;
  if (r.AntiMode != 0) {
    std::swap(a, bp);
    std::swap(wa, wb);
  }
  if (side == 1) {
    if (a <= r.NumberPieces || wb) e.InDanger = 1;
    if (bp <= r.NumberPieces || wa) return kInfinity - ply;
  } else {
    if (bp <= r.NumberPieces || wa) e.InDanger = 1;
    if (a <= r.NumberPieces || wb) return kInfinity - ply;
  }

  // Lazy cut-off on the material balance.
  const int m = g.P.MaterialBalance[ply];
  if ((m < alpha - e.LazyMargin || m > beta + e.LazyMargin) && g.P.BoardMaterial[ply] != 0)
    return r.AntiMode != 0 ? -m : m;

  if (e.DrawnPosition != 0) return 0;

  const bool whiteMany = n.whiteMen > e.WhiteMenThreshold;
  const bool blackMany = n.blackMen > e.BlackMenThreshold;
  std::optional<evalparts::AttackMap> attack;
  if (e.NoKingWinRule == 1) attack.emplace(g, n);
  PieceScan scan{g, n, attack ? &*attack : nullptr, whiteMany ? 2 : 1, blackMany ? 2 : 1};
  const auto& bonus = e.PromotionBonus;
  const bool columnTerm = e.AllStepsOrthogonal != 0 && e.RootSide == -side;
  int s = 0;
  for (int row = 2; row <= 9; ++row) {
    if (columnTerm) {
      const int j = row - 1;
      if (e.RootSide == 1 && n.columnMen[1][j] < 2 && n.columnMen[0][j] >= 2) s += 1;
      if (e.RootSide == -1 && n.columnMen[0][j] < 2 && n.columnMen[1][j] >= 2) s -= 1;
    }
    for (int col = 1; col <= 8; ++col) {
      const int c = 10 * row + col;
      const int p = b[c];
      if (p == 0) {
        s += whiteMany ? bonus[c][0] : bonus[c][0] / 2;
        s += blackMany ? bonus[c][1] : bonus[c][1] / 2;
        continue;
      }
      scan.Add(s, c, row, p);
    }
  }

  if constexpr (InSearch) {
    if (evalparts::RepeatsEarlierPosition(g)) return 0;
  } else {
    PrepareRepetitionKeys(g);
    if (evalparts::RepeatsEarlierPosition(g)) return 0;
  }

  if (e.EvalExtraTerm == 1) {
    if (whiteMany) s += evalparts::BackRowTerm(g, 0);
    if (blackMany) s += evalparts::BackRowTerm(g, 1);
  }

  if (side == -1) s = -s;
  int result = m + s + evalparts::Noise(g);
  if (r.AntiMode != 0) result = -result;
  return result;
}

}  // namespace

int Evaluate(PositionState& g, int alpha, int beta, int side) {
  return EvaluateGeneric<false>(g, alpha, beta, side);
}

int EvaluateInSearch(PositionState& g, int alpha, int beta, int side) {
  return EvaluateGeneric<true>(g, alpha, beta, side);
}

}  // namespace m8
