// Variant definition files: variants/<name>.ini and
// variants/uservariants/<name>.ini.
#pragma once

#include <array>
#include <cstdint>
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

// Whether a text can name a variant: a file name in the variant folders that
// the game files can carry as well (a "*" would end the name early in the
// PDN rules tag, and their fields hold at most 200 characters). False, with
// the reason in `why`, otherwise.
bool IsVariantName(std::string_view name, std::string* why = nullptr);

// A list of promotion squares as variant files and the PDN rules tag write
// it: up to twelve algebraic names of two characters each, one after the
// other ("B8D8F8H8"; letters in either case), entries 0, 1, ... of `side`,
// the rest -1; names past the twelfth are read and left out. False, naming
// it in `why`, when a pair is no square (blanks after the last name are
// allowed).
bool ParsePromoSquares(std::string_view value, std::array<int32_t, kPromoEntries>& side, std::string* why);

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
// 0: variants/uservariants/, below VariantsRoot); the second form takes the
// folder from UseClassic.
std::string VariantFilePath(const PositionState& g, int32_t useClassic, std::string_view variantName);
std::string VariantFilePath(const PositionState& g, std::string_view variantName);

// The folder that holds "variants/" for useClassic: the program folder for
// the shipped variants (1); for the user's own (0) the user's folder, which
// is the program folder unless that cannot be written.
const std::string& VariantsRoot(const PositionState& g, int32_t useClassic);

// Reads the file of the variant named Rules.Variant into VariantRules, the
// help texts, and a start position into board and StartBoard. On failure
// nothing changes and `error` says why.
bool ReadVariantFile(PositionState& g, std::string* error);

}  // namespace m8
