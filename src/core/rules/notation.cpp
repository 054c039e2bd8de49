#include "core/rules/notation.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/numtext.h"

namespace m8 {

bool NamesInLetters(const PositionState& g) {
  return g.Opt.Notation == 0 || (g.Opt.Notation != 1 && g.Rules.PiecesOnBlack == 2);
}

std::string SquareNotation(const PositionState& g, int square, int padMode) {
  if (square == kNoSquare) return "";
  if (square < 21 || square > 98 || g.board[square] == kOffBoard) return "--";
  int row = square / 10, col = square % 10;
  if (NamesInLetters(g)) {
    std::string s;
    s += static_cast<char>('a' - 1 + col);
    s += static_cast<char>('1' - 2 + row);
    return s;
  }
  int number = 4 * (9 - row) + (col + 1) / 2;
  std::string s = std::to_string(number);
  if (number < 10) {
    if (padMode == 0)
      s = " " + s;
    else if (padMode != 1)
      s = "0" + s;
  }
  return s;
}

int SquareNumber(const PositionState& g, std::string_view text) {
  if (!NamesInLetters(g)) {
    int n = ValInt(text);
    if (n < 1 || n > 32) return 0;
    int r = (n - 1) / 4, p = (n - 1) % 4 + 1;
    int cell = 90 - 10 * r + 2 * p - (r % 2 == 0 ? 0 : 1);
    if (g.Rules.PiecesOnBlack == 0) cell += ((cell / 10) % 2 == 0) ? 1 : -1;
    return cell;
  }
  if (text.size() < 2) return 0;
  char f = text[0], s = text[1];
  if (f < 'A' || f > 'H' || s < '1' || s > '8') return 0;
  return (s - '1' + 2) * 10 + (f - 'A' + 1);
}

void MoveString(PositionState& g, const MoveRecord& m, bool fullPath) {
  auto& t = g.Texts;
  t.MoveText = SquareNotation(g, m.From, 0);
  t.DisplayMoveText = SquareNotation(g, m.From, 1);
  t.CaptureSquaresText = t.MoveText;
  const std::string sep = m.IsCapture() ? t.CaptureChar : std::string("-");
  t.FullPath = fullPath && m.IsCapture() && m.From != kNoSquare ? 1 : 0;
  t.QuietSharesEnds = 0;
  if (t.FullPath == 1) {
    const std::vector<int> path = CapturePath(m);
    for (size_t i = 1; i < path.size(); ++i) {
      t.MoveText += sep + SquareNotation(g, path[i], 1);
      t.DisplayMoveText += sep + SquareNotation(g, path[i], 1);
      t.CaptureSquaresText += SquareNotation(g, path[i], 0);
    }
  } else {
    if (m.From != kNoSquare) {
      t.MoveText += sep;
      t.DisplayMoveText += sep;
    }
    t.MoveText += SquareNotation(g, m.To, 0);
    t.DisplayMoveText += SquareNotation(g, m.To, 1);
    t.CaptureSquaresText += SquareNotation(g, m.To, 0);
  }
  if (m.Crown != 0) {
    t.MoveText += "K";
    t.DisplayMoveText += "K";
  }
}

void MoveString(PositionState& g, const MoveRecord& m) {
  const std::span<const MoveRecord> moves = PlyMoves(g, g.P.Ply);
  MoveString(g, m, SharesStartAndEnd(m, moves));
  g.Texts.QuietSharesEnds = QuietSharesEnds(m, moves) ? 1 : 0;
}

void MoveString(PositionState& g, int index) {
  if (index < 0 || index >= kMoveListSize) return;
  // The ply whose moves hold the record (the plies above the current one
  // hold nothing of this position).
  int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  for (int p = 0; p < ply; ++p)
    if (g.P.PlyStart[p] <= index && index < g.P.PlyStart[p + 1]) {
      ply = p;
      break;
    }
  const MoveRecord& m = g.P.MoveList[index];
  const std::span<const MoveRecord> moves = PlyMoves(g, ply);
  MoveString(g, m, SharesStartAndEnd(m, moves));
  g.Texts.QuietSharesEnds = QuietSharesEnds(m, moves) ? 1 : 0;
}

std::span<const MoveRecord> PlyMoves(const PositionState& g, int ply) {
  ply = std::clamp(ply, 0, kMaxPly);
  const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
  const int end = std::clamp(g.P.PlyStart[ply + 1], first, kMoveListSize);
  return {g.P.MoveList.data() + first, static_cast<size_t>(end - first)};
}

bool SameCapturedPieces(const MoveRecord& a, const MoveRecord& b) {
  if (a.CapturedCount != b.CapturedCount) return false;
  const int n = std::min<int>(a.CapturedCount, kMaxCaptured);
  for (int i = 0; i < n; ++i)
    if (std::find(b.CapturedCell.begin(), b.CapturedCell.begin() + n, a.CapturedCell[i]) ==
        b.CapturedCell.begin() + n)
      return false;
  return true;
}

bool SharesStartAndEnd(const MoveRecord& m, std::span<const MoveRecord> moves) {
  if (!m.IsCapture()) return false;
  return std::any_of(moves.begin(), moves.end(), [&](const MoveRecord& o) {
    return o.IsCapture() && o.From == m.From && o.To == m.To && !SameCapturedPieces(o, m);
  });
}

bool QuietSharesEnds(const MoveRecord& m, std::span<const MoveRecord> moves) {
  if (!m.IsCapture() || m.From == kNoSquare) return false;
  return std::any_of(moves.begin(), moves.end(),
                     [&](const MoveRecord& o) { return !o.IsCapture() && o.From == m.From && o.To == m.To; });
}

std::vector<int> CapturePath(const MoveRecord& m) {
  std::vector<int> path{m.From};
  const int n = std::min<int>(m.CapturedCount, kMaxCaptured);
  for (int i = 0; i < n; ++i) {
    int landing = m.LandingCell[i];
    // A record without its route: a short jump lands just behind the piece.
    if (landing == 0) landing = 2 * m.CapturedCell[i] - path.back();
    path.push_back(i == n - 1 ? m.To : landing);
  }
  if (n == 0) path.push_back(m.To);
  return path;
}

bool PathNamesCapture(const MoveRecord& m, std::span<const int> path) {
  const int n = m.CapturedCount;
  if (n == 0 || n > kMaxCaptured || path.size() != static_cast<size_t>(n) + 1) return false;
  if (path.front() != m.From || path.back() != m.To) return false;
  std::array<bool, kMaxCaptured> passed{};
  for (size_t leg = 1; leg < path.size(); ++leg) {
    const int a = path[leg - 1], b = path[leg];
    if (a < 21 || a > 98 || b < 21 || b > 98 || a == b) return false;
    const int rows = b / 10 - a / 10, cols = b % 10 - a % 10;
    if (rows != 0 && cols != 0 && std::abs(rows) != std::abs(cols)) return false;
    const int step = 10 * ((rows > 0) - (rows < 0)) + ((cols > 0) - (cols < 0));
    // A leg takes one piece; it may cross the square of a piece taken on an
    // earlier leg (where captured pieces leave the board at once).
    int over = 0;
    for (int c = a + step; c != b; c += step)
      for (int i = 0; i < n; ++i)
        if (m.CapturedCell[i] == c && !passed[i]) {
          passed[i] = true;
          ++over;
        }
    if (over != 1) return false;
  }
  return true;
}

std::vector<int> CompactTextCells(const PositionState& g, std::string_view text) {
  std::vector<int> cells;
  for (size_t at = 0; at < text.size(); at += 2) cells.push_back(SquareNumber(g, text.substr(at, 2)));
  return cells;
}

int CompactTextLength(const MoveRecord& m) {
  if (m.From == kNoSquare) return 2;
  if (m.FullPath == 1 && m.IsCapture()) return 2 * (std::min<int>(m.CapturedCount, kMaxCaptured) + 1);
  return 4;
}

std::string CompactMoveText(const PositionState& g, const MoveRecord& m) {
  if (m.FullPath == 1 && m.IsCapture() && m.From != kNoSquare) return CompactPathText(g, CapturePath(m));
  return SquareNotation(g, m.From, 0) + SquareNotation(g, m.To, 0);
}

std::string CompactPathText(const PositionState& g, std::span<const int> path) {
  std::string s;
  for (int cell : path) s += SquareNotation(g, cell, 0);
  return s;
}

std::string BoardToSetupString(const Board& b) {
  std::string s;
  s.reserve(64);
  for (int c = 0; c < kCells; ++c) {
    switch (b[c]) {
      case 0: s += '0'; break;
      case 1: s += '1'; break;
      case -1: s += '2'; break;
      case 2: s += '3'; break;
      case -2: s += '4'; break;
      default: break;  // frame and unknown values add nothing
    }
  }
  return s;
}

std::string BoardToSetupString(const PositionState& g) { return BoardToSetupString(g.StartBoard); }

int IsPlayableCorrection(int piecesOnBlack, int square, int* playable) {
  int row = square / 10, col = square % 10;
  int inPlay = 1, correction = 0;
  if (piecesOnBlack != 0) {
    if ((row + col) % 2 == 0) {
      inPlay = 0;
      correction = (row % 2 == 0) ? -1 : +1;
    }
  } else if ((row + col) % 2 != 0) {
    inPlay = 0;
    correction = (row % 2 == 0) ? +1 : -1;
  }
  if (playable) *playable = inPlay;
  return correction;
}

int IsPlayableSquare(PositionState& g, int square) {
  return IsPlayableCorrection(g.Rules.PiecesOnBlack, square, &g.SquareIsPlayable);
}

}  // namespace m8
