#include <gtest/gtest.h>

#include <string>

#include "core/files/pdn.h"
#include "core/rules/rulekeys.h"
#include "core/state.h"

using namespace m8;

namespace {

// The rules tag of the standard game with field `k` after the variant name
// (0 the set-up, 1 MulJumps, ..., 6 PiecesOnBlack) written as `value`; -1
// replaces the last field (ManContJumpCrowned).
std::string TagWith(int k, const std::string& value) {
  GameState g;
  std::string tag = PdnRulesTagValue(g);
  if (k < 0) return tag.substr(0, tag.rfind(' ') + 1) + value;
  size_t at = tag.find("* ") + 2;
  for (int i = 0; i < k; ++i) at = tag.find(' ', at) + 1;
  return tag.substr(0, at) + value + tag.substr(tag.find(' ', at));
}

int32_t ValueOf(const PdnRulesTag& t, const char* key) {
  for (const auto& [k, v] : t.values)
    if (k && std::string(k->name) == key) return v;
  ADD_FAILURE() << key;
  return -99;
}

}  // namespace

// Each number of the rules tag is a whole number in its key's range; one
// that only begins with a number is refused, named by its key and quoted as
// the tag writes it (1.5 was read as 2 and quoted "=2").
TEST(RulesTag, ValuesAreReadExactly) {
  const struct {
    int field;
    const char* text;
    const char* key;
    int32_t want;      // when taken
    const char* says;  // "" when taken
  } cases[] = {
      {-1, "1.5", "ManContJumpCrowned", 0, "ManContJumpCrowned=1.5 is not a whole number in 0..1"},
      {-1, "04", "ManContJumpCrowned", 0, "ManContJumpCrowned=04 is outside 0..1"},
      {-1, "4294967296", "ManContJumpCrowned", 0, "ManContJumpCrowned=4294967296 is outside 0..1"},
      {-1, "x", "ManContJumpCrowned", 0, "ManContJumpCrowned=x is not a whole number in 0..1"},
      {6, "1.5", "PiecesOnBlack", 0, "PiecesOnBlack=1.5 is not a whole number in 0..2"},
      {1, "0x1", "MulJumps", 0, "MulJumps=0x1 is not a whole number in 0..1"},
      {2, "1junk", "MaxCapMove", 0, "MaxCapMove=1junk is not a whole number"},
      {3, "&H1", "BlackStarts", 0, "BlackStarts=&H1 is not a whole number"},
      {3, "1E0", "BlackStarts", 0, "BlackStarts=1E0 is not a whole number"},
      {6, "2", "PiecesOnBlack", 2, ""},
      {1, "+0", "MulJumps", 0, ""},
      {-1, "1", "ManContJumpCrowned", 1, ""},
  };
  for (const auto& c : cases) {
    const std::string tag = TagWith(c.field, c.text);
    SCOPED_TRACE(tag);
    PdnRulesTag t;
    std::string why;
    const bool ok = ParsePdnRulesTag(tag, "1.13", t, &why);
    ASSERT_EQ(ok, !*c.says) << why;
    if (ok) {
      EXPECT_EQ(ValueOf(t, c.key), c.want);
    } else {
      EXPECT_NE(why.find(c.says), std::string::npos) << why;
    }
  }
}

// The file's KVersion chooses the optional fields of the full form. A version
// text far out of range reads as the nearest version in range: above the
// newest it reads every field, below zero none, and a text that is no number
// (or whose number is NaN, as "0e400") as version 0.
TEST(RulesTag, VersionFarOutOfRangeReadsAsTheNearestVersion) {
  const struct {
    const char* version;
    const char* readsAs;
  } cases[] = {
      {"1e30", "1.13"},  {"99999999999999999999", "1.13"}, {"1e400", "1.13"}, {"-1e30", "-1"},
      {"-1e400", "-1"}, {"-99999999999999999999", "-1"},  {"nan", "0"},      {"0e400", "0"},
  };
  GameState g;
  const std::string tag = PdnRulesTagValue(g);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    PdnRulesTag got, want;
    std::string gotWhy, wantWhy;
    const bool ok = ParsePdnRulesTag(tag, c.version, got, &gotWhy);
    ASSERT_EQ(ok, ParsePdnRulesTag(tag, c.readsAs, want, &wantWhy)) << gotWhy;
    EXPECT_EQ(gotWhy, wantWhy);
    EXPECT_EQ(got.values, want.values);
  }
}
