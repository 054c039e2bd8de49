// PDN header tags: one tag line of a PDN file stored in the game header field
// the tag names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
  std::string Result;    // "" until a Result tag is read
  std::string SetUp;     // SetUp or Setup; "1" asks for the FEN set-up
  std::string Fen;       // FEN or fen
  std::string Eco;       // ECO or eco
  std::string RulesTag;  // the private tag Tavrin: variant, set-up and rules
  std::string GameType;  // a built-in variant number
  int RulesTagLine = 0;  // the file's line of the rules tag (1-based)
  // The one-line tags (all but FEN and the rules tag) hold at most
  // kFieldChars characters: those that were cut, with the line of each.
  struct CutTag {
    std::string name;
    int line = 0;
  };
  std::vector<CutTag> CutTags;
};

// One tag cut from the front of a text that begins with "[".
struct PdnTagText {
  std::string name;
  std::string value;
  size_t length = 0;     // characters the tag takes, through its "]"
  bool hasValue = false;  // false: the text is too short to hold a value
  bool closed = false;    // the value ends with a quote and "]"
};

// Cuts the tag at the front of `text`: "[", the name (blanks before it are
// allowed), one or more blanks or tabs, the opening quote and the value. The
// value ends at the first quote that only blanks separate from a "]", before
// any "]" that another tag follows; quotes inside it stay part of it, and \"
// and \\ stand for " and \. A tag without such an end (its closing quote
// missing) runs to the first "]" after the opening quote, which it takes,
// or without one takes the whole text (a quote ending it dropped); it has no
// value when nothing at all follows the opening quote. False when the text
// holds no tag name, blank and quote.
bool CutPdnTag(std::string_view text, PdnTagText* out);

// Stores the value of one tag line (trimmed, beginning with "[") in the field
// its tag names; only the line's first tag is read. Tags are matched by name,
// letter case included (the pairs SetUp/Setup, FEN/fen and ECO/eco both
// count). Unknown tags change nothing. False when a known tag's line is too
// short to hold a value. `lineNumber` is the line of the file it stands on.
bool ParsePdnTag(std::string_view line, PdnTags& tags, int lineNumber = 0);

// The value of a tag line whose tag is `name` ("KVersion"), or false when the
// line is another tag or too short.
bool PdnTagValue(std::string_view line, std::string_view name, std::string* value);

// A tag line as written: [Name "value"], with " and \ in the value escaped by
// a backslash.
std::string PdnTagLine(std::string_view name, std::string_view value);

}  // namespace m8
