// The four built-in rule sets, which have move generators of their own (and
// in the engine their own evaluators and search nodes), and which of them, if
// any, the rules in force are.
#pragma once

#include "core/state.h"

namespace m8 {

constexpr int kBuiltInRuleSets = 4;

// The complete rules of built-in set 1..4 (1 is American Checkers). The
// variant name is left at its default; it takes no part in the comparison.
RuleSet BuiltInRules(int set);

// True when every rule of `a` equals that of `b`: all numeric keys, all twelve
// promotion entries of each side and the four movement strings (the variant
// name does not count).
bool SameRules(const RuleSet& a, const RuleSet& b);

// Sets Eval.StandardRuleSet to the built-in set (1..4) whose rules equal the
// rules in force exactly and whose start position is the default one, else 0.
// Sets Tables.ItalianCaptureOrder when the rules are those of the Italian set
// (set 2) in any start position and with either side starting: the generators
// then add the Italian rule no key expresses. Returns true when set 1
// (American Checkers) matches.
bool IdentifyStandardRules(PositionState& g);

}  // namespace m8
