// Positions and rule sets for the move generation tests.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/perft.h"
#include "core/rules/variant_fixture.h"
#include "core/state.h"

namespace m8::testing {

// Russian draughts: men capture backwards, flying kings, a man crowned during
// a capture goes on as a king, captured pieces stay until the move ends,
// free choice among captures, white starts.
inline RuleSet RussianRules() {
  RuleSet r;
  r.Variant = "Russian Checkers";
  r.BlackStarts = 0;
  r.LongKings = 1;
  r.ManContJump = 1;
  r.ManContJumpCrowned = 1;
  r.RemovePieces = 1;
  r.MovementStrings = {"NW;NE NW;NE;SE;SW", "NW;NE NW;NE;SE;SW", "NW;NE;SE;SW NW;NE;SE;SW",
                       "NW;NE;SE;SW NW;NE;SE;SW"};
  return r;
}

// Majority capture with flying kings (the 8x8 form of the international
// game): the capture that takes most pieces is compulsory; a man passing the
// last row during a capture goes on as a man.
inline RuleSet MajorityRules() {
  RuleSet r = RussianRules();
  r.Variant = "Majority";
  r.MaxCapMove = 1;
  r.ManContJumpCrowned = 0;
  return r;
}

// Orthogonal draughts on all 64 squares: men step forward or sideways, kings
// fly along rows and columns, captured pieces are passed over but not taken
// twice, the longest capture is compulsory. Start with TurkishStart().
inline RuleSet TurkishRules() {
  RuleSet r;
  r.Variant = "Orthogonal";
  r.BlackStarts = 0;
  r.LongKings = 1;
  r.MaxCapMove = 1;
  r.PiecesOnBlack = 2;
  r.MovementStrings = {"N;W;E N;W;E", "N;W;E N;W;E", "N;W;E;S N;W;E;S", "N;W;E;S N;W;E;S"};
  for (int k = 0; k < kPromoEntries; ++k) {
    r.PromoSquares[0][k] = k < 8 ? 91 + k : -1;
    r.PromoSquares[1][k] = k < 8 ? 21 + k : -1;
  }
  return r;
}
inline constexpr const char* kTurkishStart =
    "........"
    "bbbbbbbb"
    "bbbbbbbb"
    "........"
    "........"
    "wwwwwwww"
    "wwwwwwww"
    "........";

// A game with the given rules in force, the standard start position and the
// derived tables built; the side to move from BlackStarts.
inline std::unique_ptr<GameState> NewGame(const RuleSet& rules) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  StartVariant(*g, "American Checkers");
  g->Rules = rules;
  g->VariantRules = rules;
  ParseAllDirections(*g);
  SetBoardModeFromDirections(*g);
  if (g->Rules.PiecesOnBlack == 0) ShiftToOtherColour(*g, false);
  g->P.SideToMove = rules.BlackStarts == 1 ? -1 : 1;
  g->Mat.WhiteToPlace = g->Mat.BlackToPlace = rules.ContractNumber;
  g->Opt.Notation = 0;
  return g;
}

// Material recount of the board from the side to move's view, and the total.
inline int RecountBalance(const GameState& g) {
  int w = 0, b = 0;
  for (int c = 0; c < kCells; ++c) {
    const int v = g.board[c];
    if (v == kOffBoard) continue;
    if (v > 0) w += v; else b -= v;
  }
  return 100 * g.P.SideToMove * (w - b);
}
inline int RecountTotal(const GameState& g) {
  int t = 0;
  for (int c = 0; c < kCells; ++c)
    if (g.board[c] != kOffBoard) t += g.board[c] < 0 ? -g.board[c] : g.board[c];
  return 100 * t;
}

// Puts a position on the board: eight rows of eight characters from row 8
// (Black's side) down to row 1, '.' or ' ' empty, w/W white man/king, b/B
// black man/king. Sets the side to move and the material at ply 0.
inline void SetPosition(GameState& g, std::string_view diagram, int sideToMove) {
  std::string rows;
  for (char ch : diagram)
    if (ch != '\n' && ch != '|') rows += ch;
  Board& b = g.board;
  for (int c = 0; c < kCells; ++c) {
    const int row = c / 10, col = c % 10;
    b[c] = (row < 2 || row > 9 || col == 0 || col == 9) ? kOffBoard : 0;
  }
  for (int i = 0; i < 64 && i < static_cast<int>(rows.size()); ++i) {
    const int row = 9 - i / 8, col = 1 + i % 8;
    int v = 0;
    switch (rows[i]) {
      case 'w': v = 1; break;
      case 'W': v = 2; break;
      case 'b': v = -1; break;
      case 'B': v = -2; break;
      default: break;
    }
    b[10 * row + col] = v;
  }
  g.P.SideToMove = sideToMove;
  g.P.Ply = 0;
  g.P.GamePly = 0;
  g.P.PlyStart[0] = 0;
  g.P.MoveListEnd = 0;
  g.P.StopRequest = 0;
  g.P.MaterialBalance[0] = RecountBalance(g);
  g.P.BoardMaterial[0] = RecountTotal(g);
}

// Cell from an algebraic name ("c3" -> 43).
inline int Cell(std::string_view name);

// Puts pieces on an empty board: a text of "w:c3 b:d4 W:a1 B:h8" items.
inline void PlacePieces(GameState& g, std::string_view pieces, int sideToMove) {
  SetPosition(g, "", sideToMove);
  size_t i = 0;
  while (i + 3 < pieces.size() + 1) {
    while (i < pieces.size() && pieces[i] == ' ') ++i;
    if (i + 4 > pieces.size()) break;
    const char kind = pieces[i];
    const int cell = Cell(pieces.substr(i + 2, 2));
    g.board[cell] = kind == 'w' ? 1 : kind == 'W' ? 2 : kind == 'b' ? -1 : -2;
    i += 4;
  }
  g.P.MaterialBalance[0] = RecountBalance(g);
  g.P.BoardMaterial[0] = RecountTotal(g);
}

inline int Cell(std::string_view name) { return 10 * (name[1] - '1' + 2) + (name[0] - 'a' + 1); }
inline std::string Name(int cell) {
  if (cell == kNoSquare) return "@";
  return std::string{static_cast<char>('a' + cell % 10 - 1), static_cast<char>('1' + cell / 10 - 2)};
}

// A record as text: "c3-d4", "c3xe5xg7" style is not enough to tell routes
// apart, so captures list the captured squares: "c3:e5(d4,f6)"; "K" marks a
// crowning; a placement is "@d4".
inline std::string RecordText(const MoveRecord& m) {
  std::string s = m.From == kNoSquare ? "@" : Name(m.From);
  if (m.IsCapture()) {
    s += ":" + Name(m.To) + "(";
    for (int i = 0; i < m.CapturedCount; ++i) {
      if (i) s += ",";
      s += Name(m.CapturedCell[i]);
      if (m.CapturedValue[i] == 2) s += "K";
    }
    s += ")";
  } else {
    s += (m.From == kNoSquare ? "" : "-") + Name(m.To);
  }
  if (m.Crown) s += "K";
  return s;
}

// The records of the current ply as sorted texts.
inline std::vector<std::string> PlyTexts(const GameState& g) {
  std::vector<std::string> out;
  for (int k = g.P.PlyStart[g.P.Ply]; k < g.P.PlyStart[g.P.Ply + 1]; ++k)
    out.push_back(RecordText(g.P.MoveList[k]));
  std::sort(out.begin(), out.end());
  return out;
}

// The legal moves (mode 0, then mode 1) as sorted texts.
inline std::vector<std::string> LegalTexts(GameState& g) {
  GenerateLegalMoves(g);
  return PlyTexts(g);
}

}  // namespace m8::testing
