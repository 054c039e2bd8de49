#include "core/numtext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace m8 {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

double ReadRadix(std::string_view t, size_t i, int radix) {
  double v = 0;
  for (; i < t.size(); ++i) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[i])));
    int d;
    if (IsDigit(c))
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      break;
    if (d >= radix) break;
    v = v * radix + d;
  }
  return v;
}

}  // namespace

double Val(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i + 1 < t.size() && t[i] == '&') {
    char r = static_cast<char>(std::toupper(static_cast<unsigned char>(t[i + 1])));
    if (r == 'H') return ReadRadix(t, i + 2, 16);
    if (r == 'O') return ReadRadix(t, i + 2, 8);
  }
  double sign = 1;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
    if (t[i] == '-') sign = -1;
    ++i;
  }
  double mant = 0;
  bool any = false;
  while (i < t.size() && IsDigit(t[i])) {
    mant = mant * 10 + (t[i] - '0');
    ++i;
    any = true;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < t.size() && IsDigit(t[i])) {
      mant += (t[i] - '0') * scale;
      scale /= 10;
      ++i;
      any = true;
    }
  }
  if (!any) return 0;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
    size_t j = i + 1;
    int esign = 1;
    if (j < t.size() && (t[j] == '-' || t[j] == '+')) {
      if (t[j] == '-') esign = -1;
      ++j;
    }
    if (j < t.size() && IsDigit(t[j])) {
      int e = 0;
      while (j < t.size() && IsDigit(t[j])) {
        if (e < 400) e = e * 10 + (t[j] - '0');
        ++j;
      }
      mant *= std::pow(10.0, esign * e);
    }
  }
  return sign * mant;
}

int32_t RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  if (v >= kMax) return std::numeric_limits<int32_t>::max();
  if (v <= kMin) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::nearbyint(v));  // default mode: to nearest, ties to even
}

int32_t ValInt(std::string_view text) { return RoundHalfEven(Val(text)); }

std::optional<int32_t> WholeNumber(std::string_view t) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!t.empty() && blank(t.front())) t.remove_prefix(1);
  while (!t.empty() && blank(t.back())) t.remove_suffix(1);
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty()) return std::nullopt;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t v = 0;
  for (char c : t) {
    if (!IsDigit(c)) return std::nullopt;
    v = std::min(v * 10 + (c - '0'), kLimit);  // the rest of a long number is still checked
  }
  if (negative) return static_cast<int32_t>(std::max(-v, int64_t{std::numeric_limits<int32_t>::min()}));
  return static_cast<int32_t>(std::min(v, kLimit - 1));
}

int64_t IntFloor(double v) {
  if (std::isnan(v)) return 0;
  // 2^63 is exact in a double; every double below it converts.
  constexpr double kBound = 9223372036854775808.0;
  if (v >= kBound) return std::numeric_limits<int64_t>::max();
  if (v < -kBound) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::floor(v));
}

int64_t IntDiv(int64_t a, int64_t b) { return b == 0 ? 0 : a / b; }

std::string SignedText(int64_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string ToUpper(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string SentenceStart(std::string_view text) {
  std::string s(text);
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

std::string ToLower(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string Trim(std::string_view t) {
  size_t a = 0, b = t.size();
  while (a < b && (t[a] == ' ' || t[a] == '\t')) ++a;
  while (b > a && (t[b - 1] == ' ' || t[b - 1] == '\t')) --b;
  return std::string(t.substr(a, b - a));
}

}  // namespace m8
