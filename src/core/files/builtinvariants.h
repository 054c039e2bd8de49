// The variants the program comes with, by the number old game files and PDN
// game types give them.
#pragma once

#include <string>

namespace m8 {

inline constexpr int kBuiltinVariantCount = 29;

// The built-in variant name of an index 1..29 (for old game files that store
// a number); "" for any other index.
std::string BuiltinVariantName(int index);

}  // namespace m8
