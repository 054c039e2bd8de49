// Setting up a position: a board given as 64 Setup digits and the side to
// move, taken as the root that move generation, the draw rules and the
// search count from. The game takes it further as the start of a game.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// The pieces on a board (a king counts two): each side's material, both
// together, and each side's men.
struct MaterialCount {
  int white = 0, black = 0, total = 0, whiteMen = 0, blackMen = 0;
};
MaterialCount CountMaterial(const Board& b);

// Stores a count as TotalMaterial, WhiteMen and BlackMen.
void StoreMaterialCounts(PositionState& g, const MaterialCount& n);

// The board of a Setup string: 64 digits, one per square in cell order (a1 to
// h1, then row 2, ... up to h8): '0' empty, '1' / '2' white / black man,
// '3' / '4' white / black king. Any piece may stand on any of the 64 squares
// here (PiecesOnSquaresInPlay checks them against the rules), a man on its
// crowning row included (it stays a man), as in the position editor.
// Returns false, leaving `board` as it was, with a message naming the wrong
// length or the first character that is no digit 0 to 4.
bool ParseSetupDigits(std::string_view digits, Board& board, std::string* error);

// The board of a set-up string as the game files carry it: the digits of
// ParseSetupDigits in cell order, squares past the end of a shorter string
// empty (a file checks its digits when it reads them).
Board BoardFromSetup(std::string_view setup);

// Whether every piece stands on a square in play: the dark squares when
// piecesOnBlack is 1, the light ones when it is 0, any square when it is 2.
// False with a message naming the first square that is not.
bool PiecesOnSquaresInPlay(const Board& board, int piecesOnBlack, std::string* error);

// The first cell (from a1 on) whose piece stands on a square not in play, 0
// when every piece stands on one.
int FirstPieceOutOfPlay(const Board& board, int piecesOnBlack);

// The same for the set-up string of a game file, whose pieces stand on the
// squares in play. A game on the light squares (piecesOnBlack 0) also takes
// its variant's start position (`variantStart`, as the variant gives it) all
// on the dark squares: the files write an untouched start that way, and the
// game moves it over whole. Any other position all on the dark squares is no
// position of that game.
int FirstSetupPieceOutOfPlay(const Board& board, int piecesOnBlack, const Board& variantStart);

// A cell's square as a player names it in letters: "b1".
std::string CellName(int cell);

// Ply 0 of a new root: an empty move list, no stop asked, the material at ply
// 0 (StartMaterial from TotalMaterial), the pieces each side still places
// under ContractNumber, and no draw counting carried over.
void ResetRootCounters(PositionState& g);

// Makes `board` with `sideToMove` (1 White, anything else Black) the root:
// the board and the start board, the side to move and with it who moves
// first (BlackStarts), the material counts, the material balance at ply 0
// seen from the side to move, game ply 0, ResetRootCounters, and the move
// generators' tables of the new start (BuildRuleTables: whether the rules in
// force are a built-in set depends on the start position). The rules in force
// and the direction tables stay as they are.
void SetRootPosition(PositionState& g, const Board& board, int sideToMove);

// ParseSetupDigits, then SetRootPosition. A bad string, or a side to move
// other than 1 or -1, changes nothing and returns false with a message. The
// squares are not checked against the rules: the engine's tests score
// positions of one board under the rules of another.
bool SetPosition(PositionState& g, std::string_view digits, int sideToMove, std::string* error);

}  // namespace m8
