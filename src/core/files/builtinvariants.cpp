#include "core/files/builtinvariants.h"

namespace m8 {

namespace {

constexpr const char* kBuiltinVariantNames[kBuiltinVariantCount] = {
    "American Checkers",     "NW Diagonal Checkers",      "NE Diagonal Checkers",
    "Anti Checkers",         "Double-Back Checkers",      "Italian Checkers",
    "German Checkers",       "Russian Checkers",          "Pool Checkers",
    "Spanish Checkers",      "Central-S-German Checkers", "Scandinavian Checkers",
    "Gothic Checkers",       "Turkish Checkers",          "Armenian Checkers",
    "King Race",             "Portuguese Checkers",       "Mini Checkers",
    "NoCap Checkers",        "Fox and Geese",             "Wolf and Goats",
    "Czech Checkers",        "King Checkers",             "NoPromo Checkers",
    "Thai Checkers",         "Kings",                     "Kings Corners",
    "Kings Corners 6",       "Anti Checkers Standoff",
};

}  // namespace

std::string BuiltinVariantName(int index) {
  if (index < 1 || index > kBuiltinVariantCount) return "";
  return kBuiltinVariantNames[index - 1];
}

}  // namespace m8
