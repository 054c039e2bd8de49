// Variant definition files: variants/<name>.ini and
// variants/uservariants/<name>.ini.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

// What one variant file defines. Every key starts from its standard value, so
// a file that omits a key gets the American Checkers value.
struct VariantFileData {
  RuleSet rules;
  VariantInfo info;
  std::optional<Board> setup;  // start position when the file gives one
};

// Parses the text of a variant file. On bad content returns false and a
// message naming the file and the key; `out` is then unspecified.
bool ParseVariantText(std::string_view text, std::string_view fileName, VariantFileData& out,
                      std::string* error);

// The range of a numeric rule key that the program uses as a count or a table
// index (variant files and the rules editor refuse values outside it); false
// for a key without such a range.
bool RuleValueRange(std::string_view key, int* lo, int* hi);

// The path of a variant's file in the folder useClassic names (1: variants/,
// 0: variants/uservariants/); the second form takes the folder from UseClassic.
std::string VariantFilePath(const std::string& programFolder, int32_t useClassic, std::string_view variantName);
std::string VariantFilePath(const GameState& g, std::string_view variantName);

// Reads the file of the variant named Rules.Variant into VariantRules, the
// help texts, and a start position into board and StartBoard. On failure
// nothing changes and `error` says why.
bool ReadVariantFile(GameState& g, std::string* error);

}  // namespace m8
