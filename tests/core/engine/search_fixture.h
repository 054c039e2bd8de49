// Positions, rule sets and a host for the evaluation and search tests.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/engine/searchsetup.h"
#include "core/engine/poskey.h"
#include "core/engine/promobonus.h"
#include "core/host.h"
#include "core/rules/builtinrules.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/setposition.h"
#include "core/rules/variant_fixture.h"
#include "core/state.h"

namespace m8::testing {

// A host whose event pump counts its calls and can run an action (the user
// pressing Cancel) at a chosen call.
class PumpHost : public Host {
 public:
  long pumps = 0;
  long actAt = -1;
  std::function<void()> action;
  std::vector<View> refreshed;
  void pump() override {
    ++pumps;
    if (pumps == actAt && action) action();
  }
  void refresh(View v) override { refreshed.push_back(v); }
  double secondsSinceMidnight() override { return 1000.0; }
};

// The Setup digits of a position given by cells: 1/2 white/black man, 3/4
// white/black king.
inline std::string Digits(std::initializer_list<std::pair<int, char>> pieces) {
  std::string s(64, '0');
  for (auto [cell, piece] : pieces) s[(cell / 10 - 2) * 8 + (cell % 10 - 1)] = piece;
  return s;
}

// The engine's tables of the rules in force and the naming of moves, as a
// new game builds them once the position is on the board: the promotion
// tables and, on a board without square numbers, algebraic notation. (The
// orthogonal-move flags follow the men of the variant's start position: they
// are set before a position of the test's own goes on the board.)
inline void BuildEngineTables(GameState& g) {
  BuildPromotionTables(g);
  if (g.Rules.PiecesOnBlack == 2) g.Opt.Notation = 0;
}

// `variant` started for a search (StartVariant and the engine's tables), then,
// unless `digits` is empty, that position with `side` to move (1 White, else
// Black) as the root; with no digits the variant's start and its first mover
// stay. False with a message when the file cannot be read or the digits are
// bad.
inline bool StartSearchVariant(GameState& g, std::string_view variant, std::string_view digits, int side,
                               std::string* error) {
  if (!StartVariant(g, variant, error)) return false;
  SetOrthogonalMoveFlags(g);
  if (!digits.empty() && !SetPosition(g, digits, side == 1 ? 1 : -1, error)) return false;
  BuildEngineTables(g);
  return true;
}

// A game on the heap wired to a PumpHost.
struct SearchGame {
  std::unique_ptr<PumpHost> host = std::make_unique<PumpHost>();
  std::unique_ptr<GameState> g = std::make_unique<GameState>();

  SearchGame() {
    g->host = host.get();
    g->ProgramFolder = M8_BIN_DIR;
  }

  // American Checkers, then the position `digits` with `side` to move under
  // `rules` (the American rules when not given). A built-in set given as
  // `family` (1..4) puts its rules in force and makes the game one of that
  // family, as if it had started from the standard position.
  void Setup(const std::string& digits, int side, int family = 0,
             const std::function<void(RuleSet&)>& change = {}) {
    std::string error;
    if (!StartVariant(*g, "American Checkers", &error)) throw error;
    if (family > 0) g->Rules = BuiltInRules(family);
    if (change) change(g->Rules);
    ParseAllDirections(*g);
    SetBoardModeFromDirections(*g);
    SetOrthogonalMoveFlags(*g);
    if (!SetPosition(*g, digits, side, &error)) throw error;
    BuildEngineTables(*g);
    if (family > 0) {
      g->Eval.StandardRuleSet = family;
      BuildPromotionBonusByDistance(*g);
    }
    ResetPly(*g);
    g->Search.MaxPly = 8;
  }
};

// True when the side to move can leave the opponent without a legal move
// within n of its own moves, whatever the opponent does (plain minimax over
// the legal moves: the reference for the search's win distances).
inline bool CanWinWithin(GameState& g, int n) {
  GenerateLegalMoves(g);
  const int first = g.P.PlyStart[g.P.Ply], end = g.P.PlyStart[g.P.Ply + 1];
  for (int i = first; i < end; ++i) {
    MakeMove(g, i);
    GenerateLegalMoves(g);
    const int rf = g.P.PlyStart[g.P.Ply], re = g.P.PlyStart[g.P.Ply + 1];
    bool win = rf == re;
    if (!win && n > 1) {
      win = true;
      for (int j = rf; j < re && win; ++j) {
        MakeMove(g, j);
        win = CanWinWithin(g, n - 1);
        UnmakeMove(g, j);
      }
    }
    UnmakeMove(g, i);
    if (win) return true;
  }
  return false;
}

// The score the search gives a decided position, by plain minimax over the
// legal moves with the terminal rules of a member and nothing else: the side
// to move without a legal move scores -32000 (its parent then 31999 - Ply),
// 31999 - Ply under AntiMode and -(31999 - Ply) under KingWin / WinAtPromo;
// a win by rule (the opponent has no piece, or under AntiMode no own piece,
// or under KingWin / WinAtPromo an own king on its winning square) scores
// 32000 - Ply. A line still open after `plies` scores 0.
inline int ReferenceScore(GameState& g, int plies) {
  const RuleSet& r = g.Rules;
  const int ply = g.P.Ply;
  const int side = g.P.SideToMove;
  int own = 0, other = 0;
  bool ownKingHome = false;
  for (int c = 21; c <= 98; ++c) {
    const int v = g.board[c];
    if (v == 0 || v == kOffBoard) continue;
    (v * side > 0 ? own : other) += 1;
    if (v == 2 * side && (r.KingWin != 0 || r.WinAtPromo != 0)) {
      const int row = (r.WinAtPromo != 0) == (side == 1) ? 1 : 0;
      for (int k = 0; k < kPromoEntries; ++k) ownKingHome |= r.PromoSquares[row][k] == c;
    }
  }
  if (r.AntiMode != 0 ? own == 0 : other == 0 || ownKingHome) return kInfinity - ply;
  GenerateLegalMoves(g);
  const int first = g.P.PlyStart[ply], end = g.P.PlyStart[ply + 1];
  if (first == end) {
    if (r.AntiMode != 0) return kInfinity - 1 - ply;
    if (r.KingWin != 0 || r.WinAtPromo != 0) return -(kInfinity - 1 - ply);
    return -kInfinity;
  }
  if (plies == 0) return 0;
  int best = -kInfinity;
  for (int i = first; i < end; ++i) {
    MakeMove(g, i);
    best = std::max(best, -ReferenceScore(g, plies - 1));
    UnmakeMove(g, i);
  }
  return best == kInfinity ? kInfinity - 1 - ply : best;
}

}  // namespace m8::testing
