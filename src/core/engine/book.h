// The opening book: prepared moves for the computer, the "in book" mark of the
// move lists and the name of the opening being played.
//
// A book file ("books/<variant>.bok") is a header line "TAVRIN Version=0.89",
// then rule blocks ("Variant=<name>", rule key lines, "start"), each followed
// by its opening lines and an optional names section ("names" ... "end").
// An opening line is a run of five-character tokens: a move of four
// characters (from and to square, two characters each, blanks written as
// "0") and the side letter "b" or "w". A line that begins with blanks takes
// the characters under those blanks from the line before it.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// The header every book file begins with, and the version that follows it.
inline constexpr const char* kBookHeader = "TAVRIN Version=";
inline constexpr const char* kBookVersion = "0.89";

// Reads the book of the current variant (or the American Checkers book when
// AmericanBookForAll is on), selects the first rule block whose rules equal
// the rules in force and collects the book moves that continue the game so far
// for the side to move into Book.BookCandidates; sets Book.InBook.
// lookUpMove 1: choose one of the candidates at random into Book.BookFrom /
// Book.BookTo (BookFrom 0 when the book has none).
// lookUpMove 0: show the name of the opening in status panel 3 and keep it in
// Book.OpeningName.
// A missing book is silent; a book that cannot be used is reported once.
void BookMove(PositionState& g, int lookUpMove);

// The squares of a book move (four characters in book form, as in
// Book.BookCandidates) in the game being played: a "0" standing for a blank is
// read as one, and when the American Checkers book serves a variant in which
// White moves first the squares are turned back with FlipSquare. false when
// the text names no two squares.
bool BookCandidateSquares(PositionState& g, std::string_view move, int* from, int* to);

// The same square seen from the other side of the board (a half turn):
// 21 <-> 98, 27 <-> 92, 52 <-> 67.
int FlipSquare(int square);

}  // namespace m8
