// Legal-move generation under the rules in force, the legal-move test, and
// making and taking back moves.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace m8 {

// Why a generation could not finish (GenError in PlyState holds the last one).
enum class MoveGenError : int32_t {
  None = 0,
  MoveListFull = 1,       // the shared move list (records 0..1000) is full
  TooManyCaptured = 2,    // a capture sequence takes more pieces than a record holds
  TooManyCandidates = 3,  // more capture sequences than the candidate table holds
  PlyOutOfRange = 4,      // Ply outside 0..40
};

// How captures become moves. Every capture sequence of every piece is found
// first (a sequence ends where no further jump exists; with MulJumps 0 every
// partial sequence is a move too). Sequences with the same start, the same
// end and the same set of captured pieces are one move, whatever their route
// or order. With RemovePieces 0 a captured piece leaves at once, so a flying
// king may pass over and land on its square later in the move; no piece is
// ever taken twice. Then the capture rules choose among them:
// - a flying king may not stop behind a piece when another landing square of
//   that jump lets the capture go on (MaxCapMoveK with LongKings and
//   MulJumps: "finish a started capture");
// - LastCap: when the piece that moved last can be taken, only sequences
//   whose first capture takes it remain (and, with free captures, no quiet
//   move);
// - over what remains, each rule among what the ones before it left: the
//   longest (MaxCapMove); a king rather than a man (KingCapMove; under the
//   majority rule a man's capture stays only when it is longer than every
//   king's); the most kings (MaxCapMoveKings); and, with the rules of the
//   Italian set, the capture that meets a king first.
// The result depends only on the position and the rules, never on the order
// in which the sequences were found.
//
// Appends the moves of the side to move for the current ply (g.P.Ply) to the
// shared move list: records PlyStart[Ply] .. MoveListEnd-1, and
// PlyStart[Ply+1] = MoveListEnd afterwards.
// mode 0: the moves the position requires (captures only when compulsory);
// mode > 0: all moves; mode < 0: captures only.
// Returns false when a table filled up (move list, captured pieces,
// candidates); the records written so far stay, StopRequest is set and
// GenError says which table. A capture table overflow is also told to the
// user through the host.
bool GenerateMoves(PositionState& g, int mode);

// The generators of the four built-in rule sets (StandardRuleSet 1..4): the
// same generator with that set's rules fixed at compile time, so they give
// exactly the moves GenerateMoves gives under those rules. Mode > 0 gives all
// moves, mode <= 0 captures only (captures are compulsory in all four).
// They read the movement table and the promotion squares of the rules in
// force.
bool GenerateMoves1(PositionState& g, int mode);
bool GenerateMoves2(PositionState& g, int mode);
bool GenerateMoves3(PositionState& g, int mode);
bool GenerateMoves4(PositionState& g, int mode);
// GenerateMoves1..4 by Eval.StandardRuleSet, GenerateMoves when it is 0.
bool GenerateMovesForRuleSet(PositionState& g, int mode);

// GenerateMoves with mode 0 and, when that gave nothing, with mode 1: the
// legal moves of the position as every caller outside the search wants them.
bool GenerateLegalMoves(PositionState& g);

// Whether the side to move has a move under `mode`. Runs the generator's own
// code in its test form: writes no record and leaves the move list, PlyStart
// and the generator's capture candidates alone.
bool HasLegalMove(PositionState& g, int mode);

// Record writers (the ordering score is computed here). They return false and
// set StopRequest when the move list is full; nothing is then written.
// `landings` gives the cell the piece lands on after each capture (the route
// of the capture, for its full text); it may be left out.
bool AddMove(PositionState& g, int from, int to);
bool AddCaptureMove(PositionState& g, int from, int to, std::span<const uint8_t> cells,
                    std::span<const int8_t> values, std::span<const uint8_t> landings = {});
bool AddMoveCrowning(PositionState& g, int from, int to, std::span<const uint8_t> cells,
                     std::span<const int8_t> values, std::span<const uint8_t> landings = {});

// Makes the current position the root of the next search (Ply 0).
void ResetPly(PositionState& g);

// Plays record `index` of the move list and advances every per-ply counter;
// UnmakeMove takes exactly that record back. Both refuse (return false and
// change nothing) when the ply tables are at their end: MakeMove at Ply 40 or
// GamePly 1000, UnmakeMove at Ply 0 or GamePly 0.
bool MakeMove(PositionState& g, int index);
bool UnmakeMove(PositionState& g, int index);
bool MakeMove(PositionState& g, const MoveRecord& m);
bool UnmakeMove(PositionState& g, const MoveRecord& m);

// What a move text says of the kind of move it names: "-" stands between the
// squares of a move without capture, "x", "X" or ":" (or the capture
// character in force) between those of a capture. Any: no separator.
enum class MoveKind : uint8_t { Any, Quiet, Capture };
MoveKind SeparatorKind(std::string_view text, std::string_view captureChar = {});

// How a text is read that is the full text of one move and also fits other
// moves with the same start and end (a single jump "10x1" and a longer
// capture from 10 to 1, a quiet move and a capture between the same squares).
enum class ExactText : uint8_t {
  NamesIt,   // it names that move alone: the text the user sees listed
  NamesAll,  // it names them all: a drop says no more than where the piece went
  First,     // it names them all, that move first: a game file, whose later moves decide
};

// Matches a compact move text (from and to names run together, as
// CaptureSquaresText; algebraic names upper case) against the legal moves of
// the current position and plays it. A two-character text names a placement
// or a move that ends where it started. Returns true when found and played;
// the position is unchanged otherwise. Sets PlayedCapture, PlayedCrowning,
// PlayedMoveIndex and the move texts, and clears TouchedSquare.
// A longer text (three or more squares, "C3A5C7", "2213 6") names a capture
// by every square it lands on and matches it exactly. A text that names
// several moves (two captures of other pieces from one square to another)
// plays nothing, unless firstOfSeveral asks for the first of them (how files
// written before the full texts are read back). `kind` is the separator the
// text was written with (the compact text has none), as MovesNamedBy reads it.
bool PlayMoveString(PositionState& g, std::string_view text, bool firstOfSeveral = false,
                    MoveKind kind = MoveKind::Any);

// The records of the current ply that a move text names, as PlayMoveString
// reads it, one per distinct move (the same pieces taken along another route
// count once); read from the moves the last generation left. More than one:
// the text is ambiguous and each of them needs its full text. A text that is
// exactly the full text of one of them (every landing square, or a start and
// an end for a single jump or a quiet move) is read as `exact` says.
// A capture separator (kind Capture) names captures only; a hyphen (kind
// Quiet) names the moves without capture, and captures only when no such
// move fits (a text that writes every move with "-").
std::vector<int> MovesNamedBy(const PositionState& g, std::string_view text, ExactText exact = ExactText::NamesIt,
                              MoveKind kind = MoveKind::Any);

// Plays legal move `index` of the current ply (already generated) as
// PlayMoveString plays the move it matched; false when there is no such move.
bool PlayMoveIndex(PositionState& g, int index);

// The message for a generation that failed (empty for None).
std::string MoveGenErrorText(MoveGenError e);

}  // namespace m8
