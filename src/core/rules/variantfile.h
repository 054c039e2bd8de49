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

// Parses the bytes of a variant file (UTF-8 when they are valid UTF-8, else
// Latin-1). The first line is a title and is skipped unless firstLineKeyed
// (the rules editor reads it as a key line too). On bad content (a value
// outside its key's range, an unknown direction name, a binary file, no line
// END) returns false and a message naming the file, the line and the key;
// `out` is then unspecified.
bool ParseVariantText(std::string_view bytes, std::string_view fileName, VariantFileData& out,
                      std::string* error, bool firstLineKeyed = false);

// The bytes of a variant file; nullopt with a message when it is missing,
// unreadable or too large.
std::optional<std::string> ReadVariantBytes(const std::string& path, std::string* error);

// The path of a variant's file in the folder useClassic names (1: variants/,
// 0: variants/uservariants/); the second form takes the folder from UseClassic.
std::string VariantFilePath(const std::string& root, int32_t useClassic, std::string_view variantName);
std::string VariantFilePath(const GameState& g, std::string_view variantName);

// The folder that holds "variants/" for useClassic: the program folder for
// the shipped variants (1); for the user's own (0) the user's folder, which
// is the program folder unless that cannot be written.
const std::string& VariantsRoot(const GameState& g, int32_t useClassic);

// Reads the file of the variant named Rules.Variant into VariantRules, the
// help texts, and a start position into board and StartBoard. On failure
// nothing changes and `error` says why.
bool ReadVariantFile(GameState& g, std::string* error);

}  // namespace m8
