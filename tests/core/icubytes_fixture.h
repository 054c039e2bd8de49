// Text in a legacy code page, written by ICU's own converter so that a test
// does not rest on the program's reading tables it checks.
#pragma once

#include <unicode/ucnv.h>

#include <string>

#include <gtest/gtest.h>

namespace m8 {

// The UTF-8 `text` in the bytes of the encoding ICU knows by `name`.
inline std::string IcuBytes(const std::string& text, const char* name) {
  std::string out(text.size() * 4 + 16, '\0');
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_convert(name, "UTF-8", out.data(), static_cast<int32_t>(out.size()), text.data(),
                                 static_cast<int32_t>(text.size()), &err);
  EXPECT_TRUE(U_SUCCESS(err)) << name << ": " << u_errorName(err);
  out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
  return out;
}

// Bytes of the encoding ICU knows by `name` as UTF-8: whether a text
// survives the way there and back, all its characters in the encoding.
inline std::string IcuText(const std::string& bytes, const char* name) {
  std::string out(bytes.size() * 4 + 16, '\0');
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_convert("UTF-8", name, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                                 static_cast<int32_t>(bytes.size()), &err);
  out.resize(U_SUCCESS(err) ? static_cast<size_t>(n) : 0);
  return out;
}

}  // namespace m8
