#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "core/numtext.h"

using namespace m8;

TEST(NumText, ValReadsLeadingNumber) {
  struct Case { const char* text; double want; } cases[] = {
      {"", 0}, {"abc", 0}, {"  12", 12}, {"5x", 5}, {"-3.25rest", -3.25}, {"1.5", 1.5},
      {"1E3", 1000}, {"&H1F", 31}, {"+7", 7}, {".5", 0.5}, {"- 4", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.want) << c.text;
}

TEST(NumText, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(RoundHalfEven(1e300), 2147483647);
  EXPECT_EQ(ValInt(" 1"), 1);
  EXPECT_EQ(ValInt("x1"), 0);
}

TEST(NumText, IntegerHelpers) {
  EXPECT_EQ(IntFloor(-1.5), -2);
  EXPECT_EQ(IntFloor(1.9), 1);
  // Past the 64-bit range: the nearer bound; NaN: 0.
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(IntFloor(1e30), kMax);
  EXPECT_EQ(IntFloor(9223372036854775808.0), kMax);
  EXPECT_EQ(IntFloor(-1e30), kMin);
  EXPECT_EQ(IntFloor(-9223372036854775808.0), kMin);
  EXPECT_EQ(IntFloor(std::numeric_limits<double>::infinity()), kMax);
  EXPECT_EQ(IntFloor(-std::numeric_limits<double>::infinity()), kMin);
  EXPECT_EQ(IntFloor(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_EQ(IntDiv(7, 0), 0);
  EXPECT_EQ(SignedText(5), " 5");
  EXPECT_EQ(SignedText(0), " 0");
  EXPECT_EQ(SignedText(-5), "-5");
}

TEST(NumText, LinesAcceptEveryLineEnd) {
  std::vector<std::string> got;
  ForEachLine("a\r\nb\nc\rd\r\n\r\ne", [&](std::string_view l) { got.emplace_back(l); });
  EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(NumText, WholeNumberTakesOnlyWholeNumbersWrittenOut) {
  struct Case {
    const char* text;
    std::optional<int32_t> want;
  } cases[] = {
      {"1", 1},         {" 2\t", 2},     {"+3", 3},           {"-1", -1},          {"007", 7},
      {"1.5", {}},      {"1.0", {}},     {"0x1", {}},         {"&H1", {}},         {"1junk", {}},
      {"1E0", {}},      {"", {}},        {" ", {}},           {"-", {}},           {"1 2", {}},
      {"- 1", {}},      {"+-1", {}},     {".5", {}},
      // Past the 32-bit range: the bound, which every range refuses.
      {"4294967297", 2147483647},        {"-99999999999", -2147483647 - 1},
      {"99999999999999999999999x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeNumber(c.text), c.want) << '"' << c.text << '"';
}
