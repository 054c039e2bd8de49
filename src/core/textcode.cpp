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

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    if (n == 0) {
      out += '?';
      ++i;
      continue;
    }
    out += code <= 0xFF ? static_cast<char>(code) : '?';
    i += n;
  }
  return out;
}

bool FitsLatin1(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    size_t n = Utf8SequenceLength(text, i, &code);
    if (n == 0 || code > 0xFF) return false;
    i += n;
  }
  return true;
}

std::string DecodeText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  return Latin1ToUtf8(bytes);
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
