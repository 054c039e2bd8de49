// Character encodings of the files the program reads and writes. Texts are
// kept in memory as UTF-8. A file is read as UTF-8 when its bytes are valid
// UTF-8 and as Latin-1 otherwise; a PDN file of another program that is not
// UTF-8 is read as Windows-1252 (Western Windows) or Windows-1251 (Russian
// collections). The program's own formats are written in Latin-1 when every
// character fits (so older files stay byte for byte as they were) and in
// UTF-8 otherwise, so no character a user typed is lost.
#pragma once

#include <string>
#include <string_view>

namespace m8 {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Plain ASCII is valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// The one-byte character sets a file may be written in.
enum class CodePage { Latin1, Windows1252, Windows1251 };

// The character set of another program's bytes that are not UTF-8. Cyrillic
// words in Windows-1251 are written wholly in letters above ASCII, so such
// letters stand together; Western text has its accented letters one at a
// time among ASCII ones. Windows-1251 when the runs of letters above ASCII are
// 2.5 long on average, else Windows-1252 (Latin-1 with quotes, dashes and the
// euro where Latin-1 has control characters).
CodePage GuessCodePage(std::string_view bytes);

// One-byte text to UTF-8.
std::string CodePageToUtf8(std::string_view bytes, CodePage page);

// UTF-8 to one byte a character; a character the code page lacks (or a
// broken sequence) becomes '?'.
std::string Utf8ToCodePage(std::string_view text, CodePage page);

// True when every character of the UTF-8 text is in the code page.
bool FitsCodePage(std::string_view text, CodePage page);

inline std::string Latin1ToUtf8(std::string_view bytes) { return CodePageToUtf8(bytes, CodePage::Latin1); }
inline std::string Utf8ToLatin1(std::string_view text) { return Utf8ToCodePage(text, CodePage::Latin1); }
inline bool FitsLatin1(std::string_view text) { return FitsCodePage(text, CodePage::Latin1); }

// File bytes to the UTF-8 kept in memory: valid UTF-8 as it is (a leading
// byte-order mark dropped), anything else read as Latin-1.
std::string DecodeText(std::string_view bytes);

// The bytes of a file another program wrote (PDN) to UTF-8: valid UTF-8 as it
// is (a leading byte-order mark dropped), anything else in the code page
// GuessCodePage finds.
std::string DecodeForeignText(std::string_view bytes);

// A UTF-8 text to the bytes of one of the program's own files: Latin-1 when
// every character fits, else the UTF-8 unchanged. Encode a whole file at once,
// so that one file never mixes the two.
std::string EncodeOwnFormat(std::string_view text);

}  // namespace m8
