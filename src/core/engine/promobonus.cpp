#include "core/engine/promobonus.h"

#include <algorithm>
#include <cstdlib>

#include "core/rules/movement.h"

namespace m8 {

namespace {

bool OffBoard(const PositionState& g, int cell) {
  return cell < 0 || cell >= kCells || g.board[cell] == kOffBoard;
}

bool InTable(int cell) { return cell >= 0 && cell < kCells; }

}  // namespace

void BuildPromotionBonusByMoves(PositionState& g) {
  auto& bonus = g.Eval.PromotionBonus;
  for (auto& e : bonus) e = {0, 0};
  for (int s = 0; s < 2; ++s) {
    // The opponent's men walk the way back from this side's promotion squares
    // to the cells from which a man of this side arrives.
    const auto& row = g.Tables.DirectionTable[1 - s];
    for (int level = 1; level <= 3; ++level) {
      const int value = (40 - 10 * level) * (s == 0 ? 1 : -1);
      for (int p : g.Rules.PromoSquares[s]) {
        if (!InTable(p)) continue;
        if (level == 1) {
          bonus[p][s] = value;
          continue;
        }
        for (int i = 0; i < 9 && row[i] != kDirEnd; ++i) {
          const int d1 = row[i];
          const int q = p + d1;
          if (OffBoard(g, q)) break;  // the rest of p's directions are not tried
          if (level == 2) {
            if (bonus[q][s] == 0) bonus[q][s] = value;
            continue;
          }
          for (int j = 0; j < 9 && row[j] != kDirEnd; ++j) {
            const int d2 = row[j];
            if (d2 == -d1) continue;
            const int r = q + d2;
            if (InTable(r) && bonus[r][s] == 0) bonus[r][s] = value;
          }
        }
      }
    }
  }
}

int SquareDistance(int a, int b) {
  return std::abs(a / 10 - b / 10) + std::abs(a % 10 - b % 10);
}

void BuildPromotionBonusByDistance(PositionState& g) {
  auto& bonus = g.Eval.PromotionBonus;
  for (auto& e : bonus) e = {0, 0};
  for (int c = 21; c <= 98; ++c)
    for (int s = 0; s < 2; ++s) {
      int d = 999;
      for (int p : g.Rules.PromoSquares[s])
        if (p != -1) d = std::min(d, SquareDistance(p, c));
      bonus[c][s] = 50 - 6 * d;
    }
}

void BuildPromotionTables(PositionState& g) {
  g.Eval.NoKingWinRule = (g.Rules.KingWin == 0 && g.Rules.WinAtPromo == 0) ? 1 : 0;
  BuildRuleTables(g);
  BuildPromotionBonusByMoves(g);
  if (g.Eval.StandardRuleSet > 0) BuildPromotionBonusByDistance(g);
}

void SetOrthogonalMoveFlags(PositionState& g) {
  bool nonOrthogonal = false, anyOrthogonal = false;
  for (const auto& row : g.Tables.DirectionTable)
    for (int x : row) {
      const int a = std::abs(x);
      if (a == 1 || a == 10)
        anyOrthogonal = true;
      else if (a != 99)
        nonOrthogonal = true;
    }
  g.Eval.AllStepsOrthogonal = nonOrthogonal ? 0 : 1;
  if (!anyOrthogonal)
    g.Eval.OrthogonalManyMen = 0;
  else if (g.Mat.WhiteMen > 12 && g.Mat.BlackMen > 12)
    g.Eval.OrthogonalManyMen = 1;
}

}  // namespace m8
