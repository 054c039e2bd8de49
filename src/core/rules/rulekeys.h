// The rule keys by name, as files, the opening book, the settings and the
// rules editor write them, with the range of values of each.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/ruleset.h"

namespace m8 {

// The numeric rule keys by name, in the order the variant file reader tests
// them. Files, the opening book, the settings and the rules editor use these
// names. Each key has the range of values the program plays with: 0..1 for an
// on/off rule, the board kind 0..2, and for a count or a row the values the
// move generator, the draw rules and the set-up can use. Every reader refuses
// (or corrects) a value outside it.
struct RuleKey {
  const char* name;
  int32_t RuleSet::*member;
  int32_t lo, hi;
};
std::span<const RuleKey> NumericRuleKeys();
const RuleKey* FindRuleKey(std::string_view name);

// The range of a numeric rule key; false for a name that is no rule key.
bool RuleValueRange(std::string_view key, int* lo, int* hi);

// Keys of the movement strings in the order the variant file reader tests
// them, with the kind each sets.
struct MovementKey {
  const char* name;
  int kind;
};
std::span<const MovementKey> MovementKeys();

}  // namespace m8
