#include "core/state.h"

namespace m8 {

NullHost PositionState::nullHost;

std::string MoveRecord::CaptureListText() const {
  std::string s(kCaptureListChars, '\0');
  if (CapturedCount == 0) return s;
  s[0] = static_cast<char>('0' + NotationDigit);
  for (int i = 0; i < CapturedCount && i < kMaxCaptured; ++i) {
    int cell = CapturedCell[i];
    s[1 + 3 * i] = static_cast<char>('0' + CapturedValue[i]);
    s[2 + 3 * i] = static_cast<char>('0' + cell / 10);
    s[3 + 3 * i] = static_cast<char>('0' + cell % 10);
  }
  return s;
}

Board DefaultStartBoard() {
  Board b;
  for (int c = 0; c < kCells; ++c) {
    int row = c / 10, col = c % 10;
    bool frame = row < 2 || row > 9 || col == 0 || col == 9;
    b[c] = frame ? kOffBoard : 0;
  }
  for (int c : {21, 23, 25, 27, 32, 34, 36, 38, 41, 43, 45, 47}) b[c] = 1;
  for (int c : {72, 74, 76, 78, 81, 83, 85, 87, 92, 94, 96, 98}) b[c] = -1;
  return b;
}

PositionState::PositionState() {
  board = DefaultStartBoard();
  StartBoard = board;
  DefaultBoard = board;
  for (auto& row : Tables.DirectionTable) row.fill(kDirEnd);
  for (auto& row : Tables.BookDirectionTable) row.fill(kDirEnd);
  Mat.StartMaterial = Mat.TotalMaterial * 100;
  P.BoardMaterial[0] = Mat.StartMaterial;
  Game.BoardMaterialHistory[0] = Mat.StartMaterial;
}

double Rnd(PositionState& g) {
  return std::uniform_real_distribution<double>(0.0, 1.0)(g.Rng);
}

}  // namespace m8
