#include "core/rules/movement.h"

#include "core/rules/builtinrules.h"
#include "core/rules/notation.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/textlimits.h"

namespace m8 {

namespace {

struct Dir {
  const char* name;
  int offset;
};
constexpr Dir kDirections[] = {
    {"NW", 9}, {"NE", 11}, {"SE", -9}, {"SW", -11}, {"W", -1},  {"N", 10},
    {"E", 1},  {"S", -10}, {"WW", -2}, {"NN", 20},  {"EE", 2}, {"SS", -20},
};

constexpr const char* kDirectionNames = "NW, NE, SE, SW, W, N, E, S, WW, NN, EE, SS";

// Calls f(offset) for each leading direction name of a list; returns the
// number of names read.
template <typename F>
int ForEachDirection(std::string_view list, F&& f) {
  int count = 0;
  while (true) {
    size_t semi = list.find(';');
    std::string_view name = semi == std::string_view::npos ? list : list.substr(0, semi);
    int off = DirectionOffset(name);
    if (off == 0) return count;
    f(count, off);
    ++count;
    if (semi == std::string_view::npos) return count;
    list.remove_prefix(semi + 1);
  }
}

void ParseList(std::array<int32_t, 9>& row, std::string_view list, int kind) {
  ForEachDirection(list, [&](int index, int off) {
    if (index < 8) row[index] = (kind == 1 || kind == 3) ? -off : off;
  });
}

bool Occupied(int v) { return v != 0 && v != kOffBoard; }

}  // namespace

int DirectionOffset(std::string_view name) {
  for (const auto& d : kDirections)
    if (name == d.name) return d.offset;
  return 0;
}

bool CheckMovementString(std::string_view movement, std::string* why) {
  const size_t blank = movement.find(' ');
  const std::string_view lists[2] = {
      movement.substr(0, blank),
      blank == std::string_view::npos ? std::string_view{} : movement.substr(blank + 1)};
  for (std::string_view list : lists) {
    int count = 0;
    while (!list.empty()) {
      const size_t semi = list.find(';');
      const std::string_view name = list.substr(0, semi);
      if (DirectionOffset(name) == 0) {
        if (why)
          *why = name.empty() ? std::string("an empty direction name (a ';' at the start or two in a row)")
                              : "\"" + Excerpt(name) + "\" is not a direction name (" + kDirectionNames + ")";
        return false;
      }
      if (++count > 8) {
        if (why) *why = "more than eight direction names in one list";
        return false;
      }
      if (semi == std::string_view::npos) break;
      list.remove_prefix(semi + 1);
    }
  }
  return true;
}

void ParseDirections(DirectionRows& t, std::string_view movement, int kind) {
  if (kind < 0 || kind > 3) return;
  t[kind].fill(kDirEnd);
  t[kind + 4].fill(kDirEnd);
  size_t blank = movement.find(' ');
  std::string_view moves = blank == std::string_view::npos ? movement : movement.substr(0, blank);
  std::string_view captures = blank == std::string_view::npos ? std::string_view{} : movement.substr(blank + 1);
  ParseList(t[kind], moves, kind);
  if (!captures.empty()) ParseList(t[kind + 4], captures, kind);
}

void ParseDirections(PositionState& g, std::string_view movement, int kind, bool bookTable) {
  ParseDirections(bookTable ? g.Tables.BookDirectionTable : g.Tables.DirectionTable, movement, kind);
}

void ParseAllDirections(PositionState& g) {
  for (int k = 0; k < 4; ++k) ParseDirections(g, g.Rules.MovementStrings[k], k, false);
}

void SetBoardModeFromDirections(PositionState& g) {
  auto& t = g.Tables;
  t.OrthogonalLongKings = 0;
  t.OrthogonalOnly = 1;
  bool anyOrthogonal = false;
  for (const auto& row : t.DirectionTable)
    for (int v : row) {
      if (std::abs(v) == 1 || std::abs(v) == 10)
        anyOrthogonal = true;
      else if (v != kDirEnd)
        t.OrthogonalOnly = 0;
    }
  if (anyOrthogonal) g.Rules.PiecesOnBlack = 2;
  t.NotationCheckersEnabled = anyOrthogonal ? 0 : 1;
  g.host->setCommandEnabled(Command::NotationCheckers, !anyOrthogonal);
  if (g.Rules.PiecesOnBlack == 2 && g.Rules.LongKings == 1) t.OrthogonalLongKings = 1;
}

bool PositionOnOneColour(const Board& b) {
  bool odd = false, even = false;
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col)
      if (Occupied(b[row * 10 + col])) ((row + col) % 2 ? odd : even) = true;
  return !(odd && even);
}

bool ShiftToOtherColour(PositionState& g, bool back) {
  if (g.Rules.PiecesOnBlack == 2) return false;
  // The shift empties every destination square whose source is empty, so a
  // piece already standing on the destination colour would be lost.
  const int destParity = back ? 1 : 0;  // (row + column) % 2 of the squares moved onto
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col)
      if (Occupied(g.board[row * 10 + col]) && (row + col) % 2 == destParity) return false;
  for (int row = 2; row <= 9; ++row) {
    bool evenRow = row % 2 == 0;
    for (int col = 1; col <= 7; col += 2) {
      int a = row * 10 + col;
      bool forward = back ? !evenRow : evenRow;  // a -> a+1
      int src = forward ? a : a + 1, dst = forward ? a + 1 : a;
      g.board[dst] = g.board[src];
      g.board[src] = 0;
    }
  }
  return true;
}

void DetectSquareColour(PositionState& g) {
  int first = 0;
  for (int c = 21; c <= 98; ++c)
    if (Occupied(g.board[c])) {
      first = c;
      break;
    }
  if (first == 0) return;
  int row = first / 10, col = first % 10;
  int probe = first;
  if (row % 2 == 0 && col % 2 == 0) probe = first - 1;
  if (row % 2 == 1 && col % 2 == 1) probe = first + 1;
  bool probeOccupied = g.board[probe] != 0;
  if (g.Rules.PiecesOnBlack == 0 && probeOccupied) {
    if (ShiftToOtherColour(g, false)) g.host->refresh(View::Board);
  } else if (g.Rules.PiecesOnBlack != 0 && !probeOccupied) {
    if (ShiftToOtherColour(g, true)) g.host->refresh(View::Board);
  }
}

void ShiftPromoSquares(PositionState& g) {
  for (auto& side : g.Rules.PromoSquares)
    for (auto& sq : side)
      if (sq != -1) sq += IsPlayableCorrection(g.Rules.PiecesOnBlack, sq);
}

void BuildPromoReach(PositionState& g) {
  auto& t = g.Tables;
  t.PromoReachLimited = 0;
  for (auto& e : t.PromoReach) e = {0, 0};
  auto frame = [&](int cell) { return cell < 0 || cell >= kCells || g.board[cell] == kOffBoard; };
  auto mark = [&](int lo, int hi, int side) {
    for (int c = std::max(lo, 0); c <= hi && c < kCells; ++c) t.PromoReach[c][side] = 1;
  };
  for (int side = 0; side < 2; ++side) {
    const int dir = side == 0 ? -1 : 1;  // white walks down, black up
    const int loStep = side == 0 ? 11 : 9, hiStep = side == 0 ? 9 : 11;
    for (int p : g.Rules.PromoSquares[side]) {
      if (p == -1) continue;
      int lo = p, hi = p;
      bool loMet = false, hiMet = false;
      for (int r = 0; r < 12; ++r) {
        lo = loMet ? lo + 10 * dir : p + dir * loStep * r;
        hi = hiMet ? hi + 10 * dir : p + dir * hiStep * r;
        if (frame(lo)) {
          lo += 1;
          loMet = true;
        }
        if (frame(hi)) {
          hi -= 1;
          hiMet = true;
        }
        if (side == 0 ? (lo < 21 && hi < 21) : (lo > 98 && hi > 98)) break;
        mark(lo, hi, side);
      }
    }
  }
  for (int row = 9; row >= 2; --row)
    for (int col = 1; col <= 8; ++col) {
      if ((row + col) % 2 == 0) continue;
      int cell = row * 10 + col;
      if (t.PromoReach[cell][0] == 0 || t.PromoReach[cell][1] == 0) t.PromoReachLimited = 1;
    }
}

void AnalyzePromotionSquares(PositionState& g) {
  auto& t = g.Tables;
  const auto& ps = g.Rules.PromoSquares;
  int nW = 0, nB = 0;
  for (int k = 0; k < kPromoEntries; ++k) {
    nW += ps[0][k] != -1;
    nB += ps[1][k] != -1;
  }
  if (ps[0] == ps[1]) t.PromoReachLimited = 0;
  t.PromoBalanced = 1;
  if (nW != nB) {
    t.PromoBalanced = 0;
    t.PromoReachLimited = 0;
  }
  t.MaxPromoIndex = std::max(nW, nB) - 1;
}

void BuildRuleTables(PositionState& g) {
  BuildPromoReach(g);
  AnalyzePromotionSquares(g);
  IdentifyStandardRules(g);
}

}  // namespace m8
