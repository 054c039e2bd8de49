// Making and taking back moves, and playing a move given as text.
#include "core/rules/movegen.h"

#include <algorithm>
#include <vector>

#include "core/rules/notation.h"

namespace m8 {

namespace {

bool ValidCell(int cell) { return cell >= 0 && cell < kCells; }

bool RecordCellsValid(const MoveRecord& m) {
  if (!ValidCell(m.To) || (m.From != kNoSquare && !ValidCell(m.From))) return false;
  if (m.CapturedCount > kMaxCaptured) return false;
  for (int i = 0; i < m.CapturedCount; ++i)
    if (!ValidCell(m.CapturedCell[i])) return false;
  return true;
}

}  // namespace

bool MakeMove(PositionState& g, const MoveRecord& m) {
  PlyState& P = g.P;
  GameRecordState& G = g.Game;
  Board& b = g.board;
  if (P.Ply < 0 || P.Ply >= kMaxPly || P.GamePly < 0 || P.GamePly >= kMaxGamePly) return false;
  if (!RecordCellsValid(m)) return false;
  int from = m.From;
  const int to = m.To;
  const int side = P.SideToMove;
  const RuleSet& r = g.Rules;

  ++P.GamePly;
  G.HistDestination[P.GamePly] = to;
  ++P.Ply;
  P.PlyDestination[P.Ply] = to;
  P.LastMoveTactical[P.Ply] = 0;
  G.HistKingManFlag[P.GamePly] = 0;
  // Material from the view of the side to move after this move (the opponent).
  int balance = -P.MaterialBalance[P.Ply - 1];
  int total = P.BoardMaterial[P.Ply - 1];

  if (m.IsCapture()) {
    P.LastMoveTactical[P.Ply] = 1;
    int taken = 0;
    for (int i = 0; i < m.CapturedCount; ++i) {
      taken += m.CapturedValue[i];
      b[m.CapturedCell[i]] = 0;
    }
    balance -= 100 * taken;
    total -= 100 * taken;
    if (r.KingMan == 1 && from != kNoSquare && (b[from] == 2 || b[from] == -2) && to != from) {
      // The capturing king arrives as a man: the mover loses a unit.
      G.HistKingManFlag[P.GamePly] = 1;
      balance += 100;
      total -= 100;
      b[to] = b[from] / 2;
      b[from] = 0;
      from = to;
    }
  }
  if (to != from) {
    if (from != kNoSquare) {
      b[to] = b[from];
      b[from] = 0;
    } else {
      // A man placed from off the board joins the material on the board.
      b[to] = side;
      if (side == 1) --g.Mat.WhiteToPlace; else --g.Mat.BlackToPlace;
      balance -= 100;
      total += 100;
    }
  }
  if (m.Crown != 0) {
    P.LastMoveTactical[P.Ply] = 1;
    b[to] = m.Crown * side;
    balance -= 100;
    total += 100;
    if (r.ChangeSide == 1) {
      // The new king belongs to the opponent: the mover's man is gone and the
      // opponent has a king more.
      b[to] = -b[to];
      balance += 400;
    }
  }
  P.SideToMove = -side;
  if (r.ManKing == 1) {
    const int now = P.SideToMove;
    G.HistManKingSquare[P.GamePly] = 0;
    int sum = 0, last = 0;
    for (int row = 2; row <= 9; ++row)
      for (int col = 8; col >= 1; --col) {
        const int cell = 10 * row + col, v = b[cell];
        if (v == now || v == 2 * now) {
          sum += v == now ? 1 : 2;
          last = cell;
        }
      }
    if (sum == 1) {
      G.HistManKingSquare[P.GamePly] = last;
      b[last] = 2 * now;
      balance += 100;
      total += 100;
    }
  }
  P.MaterialBalance[P.Ply] = balance;
  P.BoardMaterial[P.Ply] = total;
  return true;
}

bool UnmakeMove(PositionState& g, const MoveRecord& m) {
  PlyState& P = g.P;
  GameRecordState& G = g.Game;
  Board& b = g.board;
  if (P.Ply <= 0 || P.Ply > kMaxPly || P.GamePly <= 0 || P.GamePly > kMaxGamePly) return false;
  if (!RecordCellsValid(m)) return false;
  const RuleSet& r = g.Rules;
  const int from = m.From, to = m.To;
  --P.GamePly;
  P.SideToMove = -P.SideToMove;
  --P.Ply;
  const int side = P.SideToMove;
  if (to != from) {
    if (from == kNoSquare) {
      b[to] = 0;
      if (side == 1) ++g.Mat.WhiteToPlace; else ++g.Mat.BlackToPlace;
    } else {
      b[from] = b[to];
      b[to] = 0;
    }
  }
  for (int i = 0; i < m.CapturedCount; ++i) b[m.CapturedCell[i]] = -(side * m.CapturedValue[i]);
  if (m.Crown != 0 && from != kNoSquare) b[from] = side;
  if (r.ManKing == 1) {
    const int cell = G.HistManKingSquare[P.GamePly + 1];
    if (cell > 0 && cell < kCells) b[cell] = -side;
  }
  if (r.KingMan == 1 && G.HistKingManFlag[P.GamePly + 1] == 1 && from != kNoSquare) b[from] *= 2;
  return true;
}

bool MakeMove(PositionState& g, int index) {
  if (index < 0 || index >= kMoveListSize) return false;
  return MakeMove(g, g.P.MoveList[index]);
}

bool UnmakeMove(PositionState& g, int index) {
  if (index < 0 || index >= kMoveListSize) return false;
  return UnmakeMove(g, g.P.MoveList[index]);
}

MoveKind SeparatorKind(std::string_view text, std::string_view captureChar) {
  bool quiet = false;
  for (char c : text) {
    if (c == 'x' || c == 'X' || c == ':' || (captureChar.size() == 1 && c == captureChar[0]))
      return MoveKind::Capture;
    quiet = quiet || c == '-';
  }
  return quiet ? MoveKind::Quiet : MoveKind::Any;
}

std::vector<int> MovesNamedBy(const PositionState& g, std::string_view text, ExactText exact, MoveKind kind) {
  const PlyState& P = g.P;
  std::vector<int> named;
  if (text.size() < 2) return named;
  // Two characters name a placement (or a move that ends where it began),
  // four a move by its start and end, more a capture by every square it
  // lands on.
  const bool shortText = text.size() <= 2;
  std::vector<int> path;
  if (shortText)
    path = {SquareNumber(g, text.substr(0, 2))};
  else if (text.size() <= 5)
    path = {SquareNumber(g, text.substr(0, 2)), SquareNumber(g, text.substr(2, 2))};
  else
    path = CompactTextCells(g, text);
  if (std::find(path.begin(), path.end(), 0) != path.end()) return named;
  const int from = path.front(), to = path.back();
  if (g.Opt.TouchMove == 1 && P.TouchedSquare >= 1 && from != P.TouchedSquare) return named;
  const int first = std::clamp(P.PlyStart[std::clamp(P.Ply, 0, kMaxPly)], 0, kMoveListSize);
  const std::span<const MoveRecord> moves = PlyMoves(g, P.Ply);
  for (size_t k = 0; k < moves.size(); ++k) {
    const MoveRecord& m = moves[k];
    bool match;
    if (path.size() > 2)
      match = PathNamesCapture(m, path);
    else
      match = (m.From == from && m.To == to) || (shortText && m.From == kNoSquare && m.To == to);
    if (!match) continue;
    // The same pieces taken along another route are one move.
    const bool seen = std::any_of(named.begin(), named.end(), [&](int i) {
      const MoveRecord& o = P.MoveList[i];
      return o.From == m.From && o.To == m.To && SameCapturedPieces(o, m);
    });
    if (!seen) named.push_back(first + static_cast<int>(k));
  }
  // The separator is part of the name: "6x15" is never the move 6-15, and
  // "6-15" never the capture while the move 6-15 is there.
  if (kind != MoveKind::Any) {
    std::vector<int> ofKind;
    for (int i : named)
      if (P.MoveList[i].IsCapture() == (kind == MoveKind::Capture)) ofKind.push_back(i);
    if (!ofKind.empty() || kind == MoveKind::Capture) named = std::move(ofKind);
  }
  // A text that is exactly one move's full text names that move, also when
  // it is as short as a start and an end: "10x1", a single jump, is not the
  // longer capture that also goes from 10 to 1. Only a text that is the full
  // text of none of them (or of several) stays ambiguous. A game file's text
  // keeps the others after it: its later moves may tell that the longer
  // capture was played.
  if (!shortText && exact != ExactText::NamesAll && named.size() > 1) {
    const auto isExact = [&](int i) { return CapturePath(P.MoveList[i]) == path; };
    if (std::count_if(named.begin(), named.end(), isExact) == 1) {
      if (exact == ExactText::NamesIt) return {*std::find_if(named.begin(), named.end(), isExact)};
      std::stable_partition(named.begin(), named.end(), isExact);
    }
  }
  return named;
}

bool PlayMoveString(PositionState& g, std::string_view text, bool firstOfSeveral, MoveKind kind) {
  PlyState& P = g.P;
  P.PlayedCapture = 0;
  P.PlayedCrowning = 0;
  if (text.size() < 2) return false;
  if (g.Opt.TouchMove == 1 && P.TouchedSquare >= 1 && SquareNumber(g, text.substr(0, 2)) != P.TouchedSquare)
    return false;
  ResetPly(g);
  if (!GenerateLegalMoves(g)) return false;
  const std::vector<int> named = MovesNamedBy(g, text, ExactText::NamesIt, kind);
  // A text that names several moves chooses none of them.
  if (named.empty() || (named.size() > 1 && !firstOfSeveral)) return false;
  return PlayMoveIndex(g, named.front());
}

bool PlayMoveIndex(PositionState& g, int index) {
  PlyState& P = g.P;
  if (index < P.PlyStart[P.Ply] || index >= P.PlyStart[P.Ply + 1]) return false;
  if (P.Ply >= kMaxPly || P.GamePly >= kMaxGamePly) return false;
  const MoveRecord& m = P.MoveList[index];
  P.PlayedCapture = m.IsCapture() ? 1 : 0;
  P.PlayedCrowning = m.Crown == 2 ? 1 : 0;
  MoveString(g, index);
  MakeMove(g, index);
  P.PlayedMoveIndex = index;
  P.TouchedSquare = 0;
  return true;
}

}  // namespace m8
