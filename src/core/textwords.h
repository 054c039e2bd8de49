// Whether the words of a text look written: the check that tells the right
// reading of another program's bytes from the wrong ones, by the letters and
// signs each reading shows.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace m8 {

// The characters of a UTF-8 text, up to its first broken sequence.
std::vector<uint32_t> CodesOf(std::string_view utf8);

// A letter or a combining mark.
bool IsLetter(uint32_t c);

// True when a word (no blanks) looks written: its letters in one script, no
// sign or control character glued to them nor standing alone that no text
// writes so, and, in Latin letters, accents that one language writes
// together.
bool PlausibleWord(const std::vector<uint32_t>& word);

// What the blank-separated words of a text look like.
struct WordCounts {
  int bad = 0;       // implausible words
  int unlikely = 0;  // plausible words that begin as no name does
  int names = 0;     // words of a capital and small letters, as names are
};
WordCounts CountWords(std::string_view utf8);

// How many of the alphabets of the languages written in Latin letters it
// takes to write every accented Latin letter of the text (counted
// greedily): the names of a short file are mostly of one language, and a
// wrong reading scatters its letters over several ("Kêstutis Þukauskas" for
// "Kęstutis Žukauskas").
int AlphabetsNeeded(std::string_view utf8);

}  // namespace m8
