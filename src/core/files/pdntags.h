// PDN header tags: one tag line of a PDN file stored in the game header field
// the tag names.
#pragma once

#include <string>
#include <string_view>

namespace m8 {

// The tag values of one game as the PDN reader collects them.
struct PdnTags {
  std::string Event;
  std::string Date;  // Date or Year
  std::string Site;
  std::string Round;
  std::string Black;
  std::string BlackElo;
  std::string White;
  std::string WhiteElo;
  std::string Result = "*";
  std::string SetUp;     // SetUp or Setup; "1" asks for the FEN set-up
  std::string Fen;       // FEN or fen
  std::string Eco;       // ECO or eco
  std::string RulesTag;  // the private tag Tavrin: variant, set-up and rules
  std::string GameType;  // a built-in variant number
};

// Stores the value of one tag line (trimmed, beginning with "[") in the field
// its tag names. Tags are matched by name, letter case included (the pairs
// SetUp/Setup, FEN/fen and ECO/eco both count), followed by one blank and the
// opening quote; the value runs to the line's end less the closing quote and
// "]". Unknown tags change nothing. False when a known tag's line is too short
// to hold a value.
bool ParsePdnTag(std::string_view line, PdnTags& tags);

// The value of a tag line whose tag is `name` ("KVersion"), or false when the
// line is another tag or too short.
bool PdnTagValue(std::string_view line, std::string_view name, std::string* value);

// A tag line as written: [Name "value"].
std::string PdnTagLine(std::string_view name, std::string_view value);

}  // namespace m8
