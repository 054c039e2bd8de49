#include "core/textcode.h"

#include <gtest/gtest.h>

namespace m8 {
namespace {

TEST(TextCode, DecodeTakesValidUtf8AndOtherwiseLatin1) {
  struct Case {
    const char* bytes;
    const char* text;
  } cases[] = {
      {"plain", "plain"},
      {"J\xc3\xbcrgen \xe5\xbc\xa0\xe4\xbc\x9f", "J\xc3\xbcrgen \xe5\xbc\xa0\xe4\xbc\x9f"},  // UTF-8 kept
      {"J\xfcrg", "J\xc3\xbcrg"},                                                          // Latin-1
      {"\xef\xbb\xbfName", "Name"},                                                        // BOM dropped
      {"\xc3", "\xc3\x83"},                 // cut short: Latin-1
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},     // overlong: Latin-1
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},  // surrogate: Latin-1
      {"\xff\xff", "\xc3\xbf\xc3\xbf"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeText(c.bytes), c.text) << c.bytes;
}

TEST(TextCode, OwnFormatIsLatin1WhenEveryCharacterFits) {
  EXPECT_EQ(EncodeOwnFormat("J\xc3\xbcrgen"), "J\xfcrgen");
  const std::string wide = "J\xc3\xbcrgen \xd0\xa1\xd0\xb5\xd1\x80\xd0\xb3\xd0\xb5\xd0\xb9";
  EXPECT_EQ(EncodeOwnFormat(wide), wide);  // Cyrillic: the whole text stays UTF-8
  EXPECT_EQ(DecodeText(EncodeOwnFormat(wide)), wide);
  EXPECT_EQ(DecodeText(EncodeOwnFormat("J\xc3\xbcrgen")), "J\xc3\xbcrgen");
  const std::string lookalike = "\xc3\x83\xc2\xa9";  // "Ã©": as Latin-1 its bytes read as UTF-8 "é"
  EXPECT_EQ(DecodeText(EncodeOwnFormat(lookalike)), lookalike);
  EXPECT_TRUE(FitsLatin1("a\xc3\xa9"));
  EXPECT_FALSE(FitsLatin1("\xe2\x82\xac"));
}

}  // namespace
}  // namespace m8
