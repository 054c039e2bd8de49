// Character encodings of the files the program reads and writes. Texts are
// kept in memory as UTF-8. A file is read as UTF-8 when its bytes are valid
// UTF-8 and as Latin-1 otherwise; a PDN file of another program that is not
// UTF-8 is read in the code page ICU's and uchardet's detectors name, checked
// against the letters the names in it would then have. The program's own
// formats are written in Latin-1 when every character fits (so older files
// stay byte for byte as they were) and in UTF-8 otherwise, so no character a
// user typed is lost.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m8 {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Plain ASCII is valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// The one-byte character sets a file may be written in.
enum class CodePage {
  Latin1,
  Windows1250,  // Central European
  Windows1251,  // Cyrillic
  Windows1252,  // Western
  Windows1253,  // Greek
  Windows1254,  // Turkish
  Windows1255,  // Hebrew
  Windows1256,  // Arabic
  Windows1257,  // Baltic
  Windows1258,  // Vietnamese
  Iso8859_2,
  Iso8859_3,
  Iso8859_4,
  Iso8859_5,
  Iso8859_6,
  Iso8859_7,
  Iso8859_8,
  Iso8859_9,
  Iso8859_10,
  Iso8859_13,
  Iso8859_15,
  Koi8R,
  Koi8U,
  Cp866,     // DOS Cyrillic
  MacRoman,  // Western letters of older Macintosh programs
  Count
};

// The name a user knows the code page by ("Windows-1251", "KOI8-R").
std::string_view CodePageName(CodePage page);

// The code page of another program's bytes that are not UTF-8, and whether
// the choice is sure. Two detectors (ICU's and uchardet) read the words that
// have bytes above ASCII; each candidate reading is then checked word by
// word (a word mixing scripts, holding a sign among its letters, showing a
// sign no text writes such as a spacing accent where Western text has its
// "½", or accents that no one language writes together counts against it),
// by words that begin or are written as no name is, by words written as
// names are, and by how many languages its accented letters take. The most
// plausible reading wins (ISO-8859-4 not on fewer languages alone where
// uchardet names another reading or it shows no letter of its own);
// between readings alike in that, uchardet's where the detectors disagree
// (a code page seldom used for collections, such as ISO-8859-10, only as
// the reading of a common one that shows the same letters; and not where
// its words lack the capital and small letters of names that the other
// reading shows), else ICU's most confident (Mac Roman only where it reads
// more plausibly than every other). Sure only when the detectors agree,
// the reading passes the check with a fair confidence (or no other reading
// passes it), and no other reading nearly as likely, nor one in accented
// Latin letters as plausible, passes it too. When unsure,
// `rivals` holds the other readings that pass the check as well as the
// chosen one.
struct CodePageGuess {
  CodePage page = CodePage::Windows1252;
  bool sure = false;
  std::vector<CodePage> rivals;
};
CodePageGuess DetectCodePage(std::string_view bytes);

// One-byte text to UTF-8. A byte the code page leaves unassigned stands for
// the character of the same number, so that it is written back unchanged.
std::string CodePageToUtf8(std::string_view bytes, CodePage page);

// True when a UTF-8 text can join a file of the guessed code page without
// doubt: every character is in the code page and its bytes read the same in
// every rival reading of the file, and a text with letters beyond ASCII
// only when the reading is sure.
bool JoinsCodePage(std::string_view text, const CodePageGuess& guess);

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

// The bytes of a file another program wrote (PDN) to UTF-8, read as one part
// (ReadForeignText).
std::string DecodeForeignText(std::string_view bytes);

// How a stretch of bytes is read.
struct TextReading {
  enum class Kind { Utf8, Utf16LE, Utf16BE, OneByte } kind = Kind::Utf8;
  // For OneByte: the code page. For Utf8: Count, or the code page of the
  // words of the part that are not UTF-8.
  CodePage page = CodePage::Count;
  bool operator==(const TextReading&) const = default;
};
// "UTF-8", "UTF-16LE", "UTF-16BE", the code page's name, or "UTF-8 and "
// the code page's name for a part of both.
std::string ReadingName(const TextReading& reading);

// The bytes of a file another program wrote, read part by part (the games of
// a PDN file may have been gathered from files in different encodings). A
// file with a UTF-16 byte-order mark, or without one whose NUL bytes fall
// every other byte as UTF-16 places them, is UTF-16 as a whole; otherwise a
// leading UTF-8 byte-order mark is dropped, a file of valid UTF-8 is UTF-8,
// and else each part is read on its own: as UTF-8 when it is valid UTF-8
// with letters above ASCII; its words that are UTF-8 (valid, and letters
// that form a plausible word) as UTF-8 and its other words in a code page
// when it holds both; else in the code page detected for the file
// unless the detector, on the part's own bytes, is sure of a reading that
// shows other letters, or the file's reading is neither sure nor among the
// part's plausible ones.
struct ForeignText {
  struct Part {
    size_t begin = 0;      // in the file's bytes
    size_t textBegin = 0;  // in `text`
    TextReading reading;
    bool plain = true;  // only ASCII: every reading shows it alike
  };
  std::string text;  // UTF-8, the byte-order mark dropped
  std::string bom;   // the byte-order mark the file begins with, if any
  std::vector<Part> parts;
  CodePageGuess file;  // the file's code page, for the parts that are not UTF-8
  // True when parts with letters above ASCII are read differently.
  bool Mixed() const;
  // The reading of the part the text offset lies in.
  const TextReading& ReadingAt(size_t textOffset) const;
};
// partStarts: the byte offsets where parts begin, ascending (0 may be left
// out); ignored for UTF-16.
ForeignText ReadForeignText(std::string_view bytes, const std::vector<size_t>& partStarts);

// UTF-8 text in the UTF-16 of the given reading (no byte-order mark).
std::string Utf8ToUtf16(std::string_view text, TextReading::Kind kind);

// A UTF-8 text to the bytes of one of the program's own files: Latin-1 when
// every character fits, else the UTF-8 unchanged. Encode a whole file at once,
// so that one file never mixes the two.
std::string EncodeOwnFormat(std::string_view text);

}  // namespace m8
