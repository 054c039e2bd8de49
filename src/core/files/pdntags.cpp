#include "core/files/pdntags.h"

namespace m8 {

namespace {

struct TagField {
  const char* name;
  std::string PdnTags::*field;  // nullptr: recognised and ignored
};

// In the order the tags are tried; the first that matches decides.
const TagField kTags[] = {
    {"Event", &PdnTags::Event},     {"Date", &PdnTags::Date},         {"Year", &PdnTags::Date},
    {"Site", &PdnTags::Site},       {"Round", &PdnTags::Round},       {"Black", &PdnTags::Black},
    {"BlackElo", &PdnTags::BlackElo}, {"White", &PdnTags::White},     {"WhiteElo", &PdnTags::WhiteElo},
    {"Result", &PdnTags::Result},   {"SetUp", &PdnTags::SetUp},       {"Setup", &PdnTags::SetUp},
    {"FEN", &PdnTags::Fen},         {"fen", &PdnTags::Fen},           {"Comment", nullptr},
    {"ECO", &PdnTags::Eco},         {"eco", &PdnTags::Eco},           {"Tavrin", &PdnTags::RulesTag},
    {"GameType", &PdnTags::GameType},
};

// 1: the line is a tag `name` with a value; 0: another tag; -1: the tag but
// too short.
int TagMatch(std::string_view line, std::string_view name, std::string* value) {
  const size_t head = name.size() + 3;  // "[", name, " ", quote
  if (line.size() < head || line[0] != '[' || line.substr(1, name.size()) != name ||
      line[name.size() + 1] != ' ' || line[name.size() + 2] != '"')
    return 0;
  if (line.size() < head + 2) return -1;
  *value = std::string(line.substr(head, line.size() - head - 2));
  return 1;
}

}  // namespace

bool ParsePdnTag(std::string_view line, PdnTags& tags) {
  std::string value;
  for (const auto& t : kTags) {
    const int m = TagMatch(line, t.name, &value);
    if (m == 0) continue;
    if (m < 0) return false;
    if (t.field) tags.*t.field = value;
    return true;
  }
  return true;
}

bool PdnTagValue(std::string_view line, std::string_view name, std::string* value) {
  return TagMatch(line, name, value) == 1;
}

std::string PdnTagLine(std::string_view name, std::string_view value) {
  return "[" + std::string(name) + " \"" + std::string(value) + "\"]";
}

}  // namespace m8
