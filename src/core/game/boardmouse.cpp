#include "core/game/boardmouse.h"

#include <algorithm>

#include "core/rules/notation.h"

namespace m8 {

namespace {

// The move records of the current ply, clamped to the move list.
template <typename F>
void ForEachPlyMove(const GameState& g, F&& f) {
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
  const int end = std::clamp(g.P.PlyStart[ply + 1], first, kMoveListSize);
  for (int i = first; i < end; ++i) f(g.P.MoveList[i]);
}

// Whole squares of the drop: truncated, one less to the left of or above the
// origin square.
int Steps(int offset, int pitch) {
  int n = offset / pitch;
  if (offset < 0) --n;
  return n;
}

}  // namespace

int CellOfControl(int k, int boardTurned) {
  return boardTurned != 0 ? 28 + 10 * (k / 8) - (k % 8) : 91 - 10 * (k / 8) + (k % 8);
}

int ControlOfCell(int cell, int boardTurned) {
  return boardTurned != 0 ? 8 * (cell / 10 - 2) + 8 - (cell % 10) : 72 - 8 * (cell / 10) + (cell % 10) - 1;
}

bool HasMoveFrom(const GameState& g, int cell) {
  bool found = false;
  ForEachPlyMove(g, [&](const MoveRecord& m) { found = found || m.From == cell; });
  return found;
}

void ForgetStaleTouch(GameState& g) {
  const int t = g.P.TouchedSquare;
  if (t == 0) return;
  const int piece = t >= 21 && t <= 98 ? g.board[t] : 0;
  const bool ours = piece != kOffBoard && piece != 0 && (piece > 0) == (g.P.SideToMove > 0);
  if (!ours) g.P.TouchedSquare = 0;
}

PickUp TestPickUp(GameState& g, int cell) {
  ForgetStaleTouch(g);
  const int piece = g.board[std::clamp(cell, 0, kCells - 1)];
  const int sign = piece > 0 && piece != kOffBoard ? 1 : piece < 0 ? -1 : 0;
  if (sign != (g.P.SideToMove > 0 ? 1 : -1)) return PickUp::WrongSide;
  g.Flow.CanReturnToStart = 0;
  bool found = false;
  ForEachPlyMove(g, [&](const MoveRecord& m) {
    if (m.From != cell) return;
    found = true;
    if (m.To == cell) g.Flow.CanReturnToStart = 1;
  });
  return found ? PickUp::Ok : PickUp::NoMove;
}

const char* PickUpMessage(const GameState& g, PickUp why) {
  switch (why) {
    case PickUp::WrongSide: return g.P.SideToMove == 1 ? "White moves" : "Black moves";
    case PickUp::NoMove: return "You cannot move that piece";
    default: return "";
  }
}

int DropPitch(int code, int custom, int tpp) {
  // 0 small, 1 medium, 2 big.
  int size = 1;
  if (code == 0 || (code == 4 && custom == 0)) size = 0;
  else if (code == 1 || code == 3 || (code == 4 && custom == 1)) size = 2;
  static constexpr int kOffset12[3] = {-110, 85, 270};
  static constexpr int kOffsetOther[3] = {0, 240, 480};
  return 568 + (tpp == 12 ? kOffset12[size] : kOffsetOther[size]);
}

int DropCell(GameState& g, int from, int dragX, int dragY, int pitch) {
  if (pitch <= 0) return 0;
  const int dx = Steps(dragX, pitch), dy = Steps(dragY, pitch);
  const bool turned = g.Opt.BoardTurned != 0;
  const int column = from % 10 + (turned ? -dx : dx);
  const int row = from / 10 + (turned ? dy : -dy);
  const int to = turned ? from - dx + 10 * dy : from + dx - 10 * dy;
  if (to <= 0) return 0;
  IsPlayableSquare(g, to);
  if (g.Rules.PiecesOnBlack < 2 && g.SquareIsPlayable == 0) return 0;
  if (column < 1 || column > 8 || row < 2 || row > 9) return 0;
  return to;
}

}  // namespace m8
