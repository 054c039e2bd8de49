// Square names and move texts.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace m8 {

// Holds Notation at a value for a while (square texts and names in a
// notation other than the one in force) and puts it back.
class ScopedNotation {
 public:
  ScopedNotation(PositionState& g, int notation) : g_(g), saved_(g.Opt.Notation) { g.Opt.Notation = notation; }
  ~ScopedNotation() { g_.Opt.Notation = saved_; }
  ScopedNotation(const ScopedNotation&) = delete;
  ScopedNotation& operator=(const ScopedNotation&) = delete;

 private:
  PositionState& g_;
  int32_t saved_;
};

// Whether square names are written in letters: the algebraic notation, or no
// notation shown on a board where every square is in play (square numbers
// name the dark squares only, so they cannot name every move there). Numbers
// otherwise.
bool NamesInLetters(const PositionState& g);

// Cell to name. PadMode matters only for numbered names below 10: 0 puts a
// blank in front, 1 nothing, any other value "0".
std::string SquareNotation(const PositionState& g, int square, int padMode);

// Name to cell; 0 when the text names no square. Algebraic names are read in
// upper case only.
int SquareNumber(const PositionState& g, std::string_view text);

// Fills MoveText, DisplayMoveText and CaptureSquaresText from a move record.
// A capture that starts and ends where another capture of other pieces does
// is written with its landing squares (fullPath): "c3xa5xc7", "22x13x6",
// CaptureSquaresText "c3a5c7" / "2213 6". Every other move keeps its short
// text ("c3xc7", "22x 6"). The record alone: fullPath as the moves of the
// current ply decide; an index: as the moves of the ply holding it decide.
void MoveString(PositionState& g, const MoveRecord& m, bool fullPath);
void MoveString(PositionState& g, const MoveRecord& m);
void MoveString(PositionState& g, int index);

// The moves of ply `ply` in the move list (clamped to the list).
std::span<const MoveRecord> PlyMoves(const PositionState& g, int ply);

// Whether two records take the same pieces (in any order).
bool SameCapturedPieces(const MoveRecord& a, const MoveRecord& b);
// Whether another capture among `moves` starts and ends where capture m does
// and takes other pieces: m then needs its landing squares to be named.
bool SharesStartAndEnd(const MoveRecord& m, std::span<const MoveRecord> moves);
// Whether a move without capture among `moves` starts and ends where capture
// m does: only the separator tells them apart.
bool QuietSharesEnds(const MoveRecord& m, std::span<const MoveRecord> moves);

// The cells a move passes through: From, the landing cell after each
// captured piece, the last one To (From and To for a move without capture).
std::vector<int> CapturePath(const MoveRecord& m);
// Whether the squares `path` (from, each landing, to) describe capture m: one
// landing per captured piece, each leg a straight line over exactly one of
// its captured pieces not taken on an earlier leg (a leg may cross the
// square of one taken before).
bool PathNamesCapture(const MoveRecord& m, std::span<const int> path);
// The squares of a compact move text (two characters each, CaptureSquaresText
// form) as cells; an entry is 0 for a pair that names no square.
std::vector<int> CompactTextCells(const PositionState& g, std::string_view text);
// How many characters of a stored ply text are its compact move text: 2 for a
// placement, two per square of the path for a move written in full, else 4.
int CompactTextLength(const MoveRecord& m);
// The compact text of a move as the game record keeps it, in the notation in
// force: from and to, or every square of the path when written in full
// (lower-case letters; a placement gives its square).
std::string CompactMoveText(const PositionState& g, const MoveRecord& m);
// The compact text (two characters per square, pad mode 0) of a path.
std::string CompactPathText(const PositionState& g, std::span<const int> path);

// The Setup string (64 digits) of the start position.
std::string BoardToSetupString(const PositionState& g);
std::string BoardToSetupString(const Board& b);

// Whether a cell is one of the squares in play; sets g.SquareIsPlayable and
// returns the column step to the neighbouring square in play (0 when in play).
int IsPlayableSquare(PositionState& g, int square);
// The same for a given board kind, without touching the state.
int IsPlayableCorrection(int piecesOnBlack, int square, int* playable = nullptr);

}  // namespace m8
