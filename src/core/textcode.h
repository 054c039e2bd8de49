// Character encodings of the files the program reads and writes. Texts are
// kept in memory as UTF-8. A file is read as UTF-8 when its bytes are valid
// UTF-8 and as Latin-1 otherwise; the program's own formats are written in
// Latin-1 when every character fits (so older files stay byte for byte as
// they were) and in UTF-8 otherwise, so no character a user typed is lost.
#pragma once

#include <string>
#include <string_view>

namespace m8 {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Plain ASCII is valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Latin-1 bytes to UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// UTF-8 to Latin-1; a character beyond Latin-1 (or a broken sequence) becomes
// '?'. Only for places that must have one byte a character.
std::string Utf8ToLatin1(std::string_view text);

// True when every character of the UTF-8 text fits Latin-1.
bool FitsLatin1(std::string_view text);

// File bytes to the UTF-8 kept in memory: valid UTF-8 as it is (a leading
// byte-order mark dropped), anything else read as Latin-1.
std::string DecodeText(std::string_view bytes);

// A UTF-8 text to the bytes of one of the program's own files: Latin-1 when
// every character fits, else the UTF-8 unchanged. Encode a whole file at once,
// so that one file never mixes the two.
std::string EncodeOwnFormat(std::string_view text);

}  // namespace m8
