#include "core/rules/setposition.h"

#include <utility>

#include "core/rules/movement.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

MaterialCount CountMaterial(const Board& b) {
  MaterialCount n;
  for (int v : b) {
    if (v == 0 || v >= kOffBoard) continue;
    if (v > 0)
      n.white += v;
    else
      n.black -= v;
    n.total += v > 0 ? v : -v;
    n.whiteMen += v == 1;
    n.blackMen += v == -1;
  }
  return n;
}

void StoreMaterialCounts(PositionState& g, const MaterialCount& n) {
  g.Mat.TotalMaterial = n.total;
  g.Mat.WhiteMen = n.whiteMen;
  g.Mat.BlackMen = n.blackMen;
}

bool ParseSetupDigits(std::string_view digits, Board& board, std::string* error) {
  if (digits.size() != 64)
    return Fail(error, "The position must have 64 digits, it has " + std::to_string(digits.size()) + ".");
  Board b = DefaultStartBoard();
  size_t pos = 0;
  for (int c = 0; c < kCells; ++c) {
    if (b[c] == kOffBoard) continue;
    static constexpr int kValue[] = {0, 1, -1, 2, -2};
    const char ch = digits[pos];
    if (ch < '0' || ch > '4')
      return Fail(error, std::string("'") + ch + "' at position " + std::to_string(pos + 1) +
                             " is not a digit 0 to 4.");
    b[c] = kValue[ch - '0'];
    ++pos;
  }
  board = b;
  return true;
}

void ResetRootCounters(PositionState& g) {
  g.P.StopRequest = 0;
  g.P.Ply = 0;
  g.P.PlyStart[0] = 0;
  g.P.MoveListEnd = 0;
  g.Mat.StartMaterial = g.Mat.TotalMaterial * 100;
  g.P.BoardMaterial[0] = g.Mat.StartMaterial;
  g.Game.BoardMaterialHistory[0] = g.Mat.StartMaterial;
  g.Mat.WhiteToPlace = g.Rules.ContractNumber;
  g.Mat.BlackToPlace = g.Rules.ContractNumber;
  g.Draw = DrawState{};
}

void SetRootPosition(PositionState& g, const Board& board, int sideToMove) {
  const int side = sideToMove == 1 ? 1 : -1;
  g.board = board;
  g.StartBoard = board;
  g.P.SideToMove = side;
  g.Rules.BlackStarts = side == 1 ? 0 : 1;
  const MaterialCount n = CountMaterial(board);
  StoreMaterialCounts(g, n);
  const int balance = (n.white - n.black) * 100 * side;
  g.P.MaterialBalance[0] = balance;
  g.Game.MaterialBalanceHistory[0] = balance;
  g.P.GamePly = 0;
  ResetRootCounters(g);
  // Which built-in rule set is in force depends on the start position.
  BuildRuleTables(g);
}

Board BoardFromSetup(std::string_view setup) {
  static constexpr int kValue[] = {0, 1, -1, 2, -2};
  Board b = DefaultStartBoard();
  size_t pos = 0;
  for (auto& cell : b) {
    if (cell == kOffBoard) continue;
    const char ch = pos < setup.size() ? setup[pos] : '0';
    cell = ch >= '0' && ch <= '4' ? kValue[ch - '0'] : 0;
    ++pos;
  }
  return b;
}

int FirstPieceOutOfPlay(const Board& board, int piecesOnBlack) {
  if (piecesOnBlack >= 2) return 0;
  for (int cell = 21; cell <= 98; ++cell) {
    const int v = board[cell];
    if (v == 0 || v == kOffBoard) continue;
    int playable = 0;
    IsPlayableCorrection(piecesOnBlack, cell, &playable);
    if (!playable) return cell;
  }
  return 0;
}

int FirstSetupPieceOutOfPlay(const Board& board, int piecesOnBlack, const Board& variantStart) {
  if (piecesOnBlack == 0 && board == variantStart && FirstPieceOutOfPlay(board, 1) == 0) return 0;
  return FirstPieceOutOfPlay(board, piecesOnBlack);
}

std::string CellName(int cell) {
  return {static_cast<char>('a' + cell % 10 - 1), static_cast<char>('1' + cell / 10 - 2)};
}

bool PiecesOnSquaresInPlay(const Board& board, int piecesOnBlack, std::string* error) {
  const int cell = FirstPieceOutOfPlay(board, piecesOnBlack);
  if (cell == 0) return true;
  return Fail(error, "The piece on " + CellName(cell) + " stands on a square the game does not use.");
}

bool SetPosition(PositionState& g, std::string_view digits, int sideToMove, std::string* error) {
  if (sideToMove != 1 && sideToMove != -1)
    return Fail(error, "The side to move must be 1 (White) or -1 (Black), not " + std::to_string(sideToMove) + ".");
  Board b;
  if (!ParseSetupDigits(digits, b, error)) return false;
  SetRootPosition(g, b, sideToMove);
  return true;
}

}  // namespace m8
