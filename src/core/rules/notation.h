// Square names and move texts.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// Holds Notation at a value for a while (square texts and names in a
// notation other than the one in force) and puts it back.
class ScopedNotation {
 public:
  ScopedNotation(GameState& g, int notation) : g_(g), saved_(g.Opt.Notation) { g.Opt.Notation = notation; }
  ~ScopedNotation() { g_.Opt.Notation = saved_; }
  ScopedNotation(const ScopedNotation&) = delete;
  ScopedNotation& operator=(const ScopedNotation&) = delete;

 private:
  GameState& g_;
  int32_t saved_;
};

// Cell to name. PadMode matters only for numbered names below 10: 0 puts a
// blank in front, 1 nothing, any other value "0".
std::string SquareNotation(const GameState& g, int square, int padMode);

// Name to cell; 0 when the text names no square. Algebraic names are read in
// upper case only.
int SquareNumber(const GameState& g, std::string_view text);

// Fills MoveText, DisplayMoveText and CaptureSquaresText from a move record.
void MoveString(GameState& g, const MoveRecord& m);
void MoveString(GameState& g, int index);

// The Setup string (64 digits) of the start position.
std::string BoardToSetupString(const GameState& g);
std::string BoardToSetupString(const Board& b);

// Whether a cell is one of the squares in play; sets g.SquareIsPlayable and
// returns the column step to the neighbouring square in play (0 when in play).
int IsPlayableSquare(GameState& g, int square);
// The same for a given board kind, without touching the state.
int IsPlayableCorrection(int piecesOnBlack, int square, int* playable = nullptr);

}  // namespace m8
