// Number and text helpers with the semantics the game files, variant files and
// move texts rely on: lenient number reading, banker's rounding, floor-Int and
// the signed number text with a leading blank.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace m8 {

// Reads the number at the start of a text: leading blanks (and tabs) are
// skipped, an optional sign, digits, one decimal point and an exponent
// (E or D, as in 1E3) are taken; reading stops at the first character that
// cannot continue a number. A text without a number reads 0. "&H1F" and
// "&O17" read as hexadecimal and octal.
double Val(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Values outside the 32-bit range are clamped.
int32_t RoundHalfEven(double value);

// Val followed by RoundHalfEven: how every numeric key of a file is read.
int32_t ValInt(std::string_view text);

// A whole number written out exactly, as the rule values of the variant
// files, the rules tag of the game files and the settings are: blanks or tabs
// around it, an optional sign and decimal digits, nothing else. Anything that
// only begins with a number ("1.5", "1E0", "0x1", "&H1", "1junk") and an empty
// text give nullopt. A number past the 32-bit range reads as the nearer
// bound, so that a range check refuses it.
std::optional<int32_t> WholeNumber(std::string_view text);

// The largest whole number not above the value (Int(-1.5) = -2). A value
// past the 64-bit range gives the nearer bound, NaN gives 0.
int64_t IntFloor(double value);

// Integer division truncating toward zero (the "\" operator); a zero divisor
// gives 0 so that bad data cannot crash a reader.
int64_t IntDiv(int64_t a, int64_t b);

// Number to text as user-visible texts show it: a blank in front of a
// non-negative number, a minus sign in front of a negative one.
std::string SignedText(int64_t value);

// Text helpers.
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool StartsWith(std::string_view text, std::string_view prefix);
// A text that goes on a line of its own in a message, as a sentence: its first
// letter in upper case ("cannot write ..." -> "Cannot write ...").
std::string SentenceStart(std::string_view text);
std::string Trim(std::string_view text);

// Splits a text into lines, accepting CR LF, LF and CR line ends. A final line
// end does not start an empty last line.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    size_t j = i;
    while (j < n && text[j] != '\r' && text[j] != '\n') ++j;
    f(text.substr(i, j - i));
    if (j < n && text[j] == '\r' && j + 1 < n && text[j + 1] == '\n')
      j += 2;
    else if (j < n)
      j += 1;
    i = j;
  }
}

}  // namespace m8
