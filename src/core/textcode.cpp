#include "core/textcode.h"

#include <cstdint>

namespace m8 {

namespace {

// Length of the well-formed UTF-8 sequence starting at i, or 0.
size_t Utf8SequenceLength(std::string_view s, size_t i, uint32_t* codeOut = nullptr) {
  auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    if (codeOut) *codeOut = c;
    return 1;
  }
  size_t extra;
  uint32_t code;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2;
    code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3;
    code = c & 0x07;
  } else {
    return 0;
  }
  if (i + extra >= s.size()) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    auto d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    code = (code << 6) | (d & 0x3F);
  }
  if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  if (codeOut) *codeOut = code;
  return extra + 1;
}

// Windows-1251 from 0x80 to 0xBF (0x98, unassigned, kept as U+0098); from
// 0xC0 on it is the Cyrillic alphabet U+0410..U+044F in order.
constexpr uint16_t kWindows1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  //
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  //
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  //
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// Windows-1252 from 0x80 to 0x9F, where Latin-1 has control characters (the
// five unassigned bytes kept as those); the rest is Latin-1.
constexpr uint16_t kWindows1252Controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The character a byte stands for in the code page.
uint32_t CodeOf(unsigned char c, CodePage page) {
  if (c < 0x80) return c;
  switch (page) {
    case CodePage::Latin1: return c;
    case CodePage::Windows1252: return c < 0xA0 ? kWindows1252Controls[c - 0x80] : c;
    case CodePage::Windows1251: return c >= 0xC0 ? 0x0410 + (c - 0xC0) : kWindows1251High[c - 0x80];
  }
  return c;
}

// The byte of a character in the code page, or -1 when it has none.
int ByteOf(uint32_t code, CodePage page) {
  if (code < 0x80) return static_cast<int>(code);
  if (page == CodePage::Latin1) return code <= 0xFF ? static_cast<int>(code) : -1;
  if (page == CodePage::Windows1252) {
    if (code >= 0xA0 && code <= 0xFF) return static_cast<int>(code);
    for (int i = 0; i < 32; ++i)
      if (kWindows1252Controls[i] == code) return 0x80 + i;
    return -1;
  }
  if (code >= 0x0410 && code <= 0x044F) return static_cast<int>(0xC0 + (code - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (kWindows1251High[i] == code) return 0x80 + i;
  return -1;
}

// A character below U+10000 (all a code page holds) added as UTF-8.
void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string CodePageToUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) AppendUtf8(out, CodeOf(static_cast<unsigned char>(ch), page));
  return out;
}

std::string Utf8ToCodePage(std::string_view text, CodePage page) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    const int byte = n == 0 ? -1 : ByteOf(code, page);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += n == 0 ? 1 : n;
  }
  return out;
}

bool FitsCodePage(std::string_view text, CodePage page) {
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    if (n == 0 || ByteOf(code, page) < 0) return false;
    i += n;
  }
  return true;
}

CodePage GuessCodePage(std::string_view bytes) {
  size_t letters = 0, runs = 0;
  bool inRun = false;
  for (char ch : bytes) {
    const uint32_t code = CodeOf(static_cast<unsigned char>(ch), CodePage::Windows1251);
    const bool letter = code >= 0x400 && code <= 0x4FF;
    if (letter) {
      ++letters;
      if (!inRun) ++runs;
    }
    inRun = letter;
  }
  return runs > 0 && letters * 2 >= runs * 5 ? CodePage::Windows1251 : CodePage::Windows1252;
}

std::string DecodeText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  return Latin1ToUtf8(bytes);
}

std::string DecodeForeignText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return DecodeText(bytes);
  return CodePageToUtf8(bytes, GuessCodePage(bytes));
}

std::string EncodeOwnFormat(std::string_view text) {
  if (!FitsLatin1(text)) return std::string(text);
  std::string latin1 = Utf8ToLatin1(text);
  // Latin-1 bytes that happen to form valid UTF-8 ("Ã©" for "Ã©") would
  // be read back as other characters: such a text is written as UTF-8.
  if (latin1 != text && IsValidUtf8(latin1)) return std::string(text);
  return latin1;
}

}  // namespace m8
