// Portable Draughts Notation: listing the games of a file, cutting a game's
// move text into moves and comments, the private rules tag, FEN set-ups, and
// the PDN this program writes.
//
// Everything here parses or formats; setting a game up from a PDN game is
// the game loader's work (game/gameloader.h).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files/gamefile.h"
#include "core/files/pdntags.h"
#include "core/rules/rulekeys.h"
#include "core/state.h"
#include "core/textcode.h"

namespace m8 {

// One game of a PDN file.
struct PdnGame {
  PdnTags tags;           // as they stand when its move text begins
  std::string moveText;   // its move lines joined by single blanks
  int firstLine = 0;      // 1-based line of its first move line
  // Where each joined line begins in moveText, and its line in the file.
  std::vector<std::pair<size_t, int>> lineStarts;
  std::string encoding = "UTF-8";  // what its bytes were read as (ReadingName)
  std::vector<std::pair<std::string, std::string>> tagList;  // every tag, name and value, as written
  bool endsFile = true;  // nothing but blank lines follows its moves in the file

  int LineAt(size_t offset) const;
};

struct PdnFile {
  std::vector<PdnGame> games;
  std::string version = "0";  // the last KVersion tag of the file
};

// The chooser's row of a game: the Event text (followed by a blank and the
// round when there is one) and the columns Date, Black, White, Result, Site,
// SetUp, ECO, BlackElo, WhiteElo.
std::string PdnRowText(const PdnTags& tags);
std::array<std::string, 9> PdnRowColumns(const PdnTags& tags);

// The bytes of a PDN file as text, game by game in the encoding each was
// written in (ReadForeignText); a NUL byte counts as a blank.
ForeignText ReadPdnText(std::string_view bytes);

// Lists the games of a PDN file (line ends CR LF, LF or CR), its bytes read
// by ReadPdnText. Several tags may share a line, and a tag after the
// moves on their line begins the next game. A game without a Result tag
// takes the result that ends its moves ("*" when none). Refuses a file that
// does not begin with a known tag ("<title> is not a PDN file"), a file
// without a move line ("No games found!") and a tag line too short to hold
// its value (naming the line).
bool ReadPdnFile(std::string_view bytes, std::string_view fileTitle, PdnFile& out, FileProblem& problem);

// Cuts the move text of a game into comments and move tokens (the tokens as
// written, "9x18x27", "c3-d4"). Move numbers, NAGs ("$1"), move marks ("!",
// "?") and variations in parentheses are skipped; a result ("1-0", "0-1",
// "1/2-1/2", "2-0", "0-2", "1-1", "*", ...) ends the moves. Comments in a
// row are joined by line breaks. A token that is no move is refused, naming
// the line. A result cut short by the end of the text ("1-", "0-", "1/2-",
// "1/2-1/", "+/-", and "1/2" at the end of the file) ends the moves as well;
// `note` (when given) then says so, naming the line, unless the Result tag
// gives the result the token begins; it is empty otherwise.
bool SplitPdnMoves(const PdnGame& game, std::string_view fileTitle, std::vector<GameFileItem>& items,
                   FileProblem& problem, std::string* note = nullptr);

// A move token as a move text of its squares, two characters each, a
// one-character square with a blank in front: "9-14" -> " 914",
// "9x18x27" -> " 91827" (every landing square kept), "11-5" -> "11 5",
// "c3-d4" -> "c3d4", "d4:b6" -> "d4b6"; the separators "-", "x", "X" and ":"
// are read alike. A bare square (a placement) stays as it is, padded to two
// characters. Not upper-cased.
std::string PdnMoveKey(std::string_view token);

// The private rules tag, read field by field.
struct PdnRulesTag {
  std::string variant;  // a name, or the built-in name of the short form's index
  bool shortForm = false;
  std::string setup;
  std::vector<std::pair<const RuleKey*, int32_t>> values;  // in tag order
  std::array<std::string, 2> promo;                        // algebraic, upper case
  std::array<std::string, 4> movement;
  int32_t manContJumpCrowned = 0;
};
// versionText: the file's KVersion ("0" when none): which optional fields the
// full form holds. False, with the reason, for a value that cannot be read.
bool ParsePdnRulesTag(std::string_view value, std::string_view versionText, PdnRulesTag& out, std::string* why);

// The GameType tag of PDN 3.0: a game type number, optionally followed by
// the starting colour, the board size and the notation ("21,B,8,8,N1,0").
// Sets `variant` to the shipped variant that plays the game type (21 American
// Checkers, 22 Italian, 23 Pool, 24 Spanish, 25 Russian, 26 the Brazilian
// rules of German Checkers, 28 Portuguese, 29 Czech, 30 Turkish, 31 Thai).
// False, with `why` naming the game type, for a game that is not played on
// the 8x8 board (20 International, 27 Canadian, 40 Frisian, or a board size
// given other than 8x8) and for a number this program does not know.
bool PdnGameTypeVariant(std::string_view gameType, std::string* variant, std::string* why);

// The GameType number of a shipped variant, 0 when it has none.
int PdnGameTypeNumber(std::string_view variant);

// A game result as PDN writes it: "1-0", "0-1", "1/2-1/2", "*", or a result
// of the two-point scoring ("2-0", "0-2", "1-1", "0-0"). Other spellings
// ("1:0", "+/-", "white wins", "=", ...) become the standard one; a text that
// names no result becomes "*".
std::string PdnStandardResult(std::string_view result);

// The value this program writes into its rules tag for the rules in force.
std::string PdnRulesTagValue(GameState& g);

// A FEN set-up: the side to move and the pieces by square number.
struct FenPiece {
  int number = 0;  // 1..32; 0 names no square (nothing placed)
  int value = 0;   // +1/-1 man, +2/-2 king
  std::string square;  // an algebraic square in capitals ("C3") in place of a number
};
struct FenPosition {
  int sideToMove = -1;
  std::vector<FenPiece> pieces;
  bool squareAbove32 = false;  // refused for naming a square number above 32
  std::string why;             // what is wrong with a refused FEN, naming the square or the reason
};
// "B:W21,22,K30:B1,2." and the like (ranges such as 1-12 or K1-K3 count each
// square; "W:Wc3,Ke5:Bd6" names algebraic squares). Sections of other letters
// than W and B (":H0:F1") place nothing. False ("Illegal Setup!") for "W::.",
// a value without a side to move, a square above 32, a square that is
// neither a number nor a letter and a digit, or one square named for two
// different pieces ("B:W18:B18"); `why` then names the square or the reason.
bool ParseFen(std::string_view fen, FenPosition& out);

// The game in hand as PDN (UTF-8, CR LF): tags, an empty line, the move
// text (the final position's comment before the result), an empty line. An
// empty date becomes `today` (mm/dd/yyyy) and an empty result "*", and both
// are kept; the result is written in its standard form. The round, ratings
// and opening a loaded game brought along are written again. A side whose
// player the details do not name gets the name beside the board, "Computer"
// when the computer made its every move. For other
// programs, a variant with a GameType number gets its GameType tag, and a game
// that does not begin from the usual start with the usual colour to move (as
// the game type, else American Checkers, has it) gets SetUp and FEN tags, its
// moves numbered from "1... " when the other colour begins. Every game but
// one of American Checkers itself (its name, its standard rules, from its
// start position) gets the rules tags as well, so that the game reopens
// exactly.
std::string PdnGameText(GameState& g, std::string_view today);

// Today's date as the PDN writer puts it: "mm/dd/yyyy".
std::string PdnToday();

}  // namespace m8
