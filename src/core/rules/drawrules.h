// Draw rules: repetition of a position, the move limit without capture or
// crowning, and the king endings (one king each, three kings or two kings
// against one). CheckDrawRules runs after every move played in the game; the
// search drivers ask CountRepetitions and FindLastIrreversiblePly.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Draw reasons kept in Draw.DrawReason.
enum DrawReasonCode : int32_t {
  kNoDraw = 0,
  kDrawRepetition = 1,
  kDrawMoveLimit = 2,
  kDrawKingVersusKing = 3,
  kDrawThreeKings = 4,
  kDrawTwoKings = 5,
};

// Plies without capture or crowning that end the game for a FiftyMoveChoice:
// 0 64, 1 100, 2 32, 3 40, 4 80, any other value 100.
int MoveLimitPlies(int fiftyMoveChoice);

// The repetition key of a position: per occupied cell of the 8x8 area, row by
// row from White's back row, the two-digit cell and a code digit (1 white man,
// 2 white king, 3 black man, 4 black king); then "W" or "B" for the side to
// move. A position repeats only with the same pieces and the same side to
// move.
std::string PositionKey(const Board& b, int sideToMove);

// Stores the move just played (GamePly already counts it, MoveString has
// described it) in the game record: GameMoves, the GameRecord text
// "CaptureSquaresText MoveText" and GameLength, which drops any moves that had
// been taken back. The stored record notes whether the texts named every
// landing square (FullPath). False when the game record is full.
bool RecordGameMove(PositionState& g, const MoveRecord& m);

// After a move played in the game: writes PositionHistory[GamePly - 1] and
// sets Draw.DrawReason and the king-ending start plies. The move limit
// outranks a repetition; one king each as OneKingEachNamesDraw says. Reason 4
// (three kings) once set stays: the call then changes nothing.
void CheckDrawRules(PositionState& g);

// Whether one king each names the draw of its position. A repetition or the
// move limit ends the game whatever the material, so it outranks one king
// each while the options end a game for it (ChessDrawRules); with that option
// off it ends nothing, and one king each still ends the game when its own
// option (KingVersusKing) is on.
bool OneKingEachNamesDraw(const PositionState& g, bool repeatedOrAtLimit);

// Eval.DrawnPosition := how often the position on the board stands in
// PositionHistory entries 0..upToPly; sets Draw.OneKingEach when each side has
// one king and nothing else.
void CountRepetitions(PositionState& g, int upToPly);

// Draw.MoveLimitReached := 1 when the plies 0..upToPly of the game (counted
// from 0) end with at least the move limit of plies since the last capture or
// crowning, else 0.
void FindLastIrreversiblePly(PositionState& g, int upToPly);

// Whether the reason the last CheckDrawRules found ends the game under the
// options (ChessDrawRules, KingVersusKing) and rules (ThreeKings, TwoKings).
bool DrawRuleEndsGame(const PositionState& g);

}  // namespace m8
