#include "core/rules/notation.h"

#include "core/numtext.h"

namespace m8 {

std::string SquareNotation(const GameState& g, int square, int padMode) {
  if (square == kNoSquare) return "";
  if (square < 21 || square > 98 || g.board[square] == kOffBoard) return "--";
  int row = square / 10, col = square % 10;
  if (g.Opt.Notation == 0) {
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

int SquareNumber(const GameState& g, std::string_view text) {
  if (g.Opt.Notation != 0) {
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

void MoveString(GameState& g, const MoveRecord& m) {
  auto& t = g.Texts;
  t.MoveText = SquareNotation(g, m.From, 0);
  t.DisplayMoveText = SquareNotation(g, m.From, 1);
  t.CaptureSquaresText = t.MoveText;
  if (m.From != kNoSquare) {
    const std::string sep = m.IsCapture() ? t.CaptureChar : std::string("-");
    t.MoveText += sep;
    t.DisplayMoveText += sep;
  }
  t.MoveText += SquareNotation(g, m.To, 0);
  t.DisplayMoveText += SquareNotation(g, m.To, 1);
  t.CaptureSquaresText += SquareNotation(g, m.To, 0);
  if (m.Crown != 0) {
    t.MoveText += "K";
    t.DisplayMoveText += "K";
  }
}

void MoveString(GameState& g, int index) {
  if (index < 0 || index >= kMoveListSize) return;
  MoveString(g, g.P.MoveList[index]);
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

std::string BoardToSetupString(const GameState& g) { return BoardToSetupString(g.StartBoard); }

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

int IsPlayableSquare(GameState& g, int square) {
  return IsPlayableCorrection(g.Rules.PiecesOnBlack, square, &g.SquareIsPlayable);
}

}  // namespace m8
