#include "core/files/pdntags.h"

#include <algorithm>

#include "core/textlimits.h"

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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The value between the quotes with its escapes resolved.
std::string Unescaped(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\')) ++i;
    out += raw[i];
  }
  return out;
}

// The head of a tag at the front of the text: "[", the name (blanks before
// it allowed), blanks and the opening quote. The offset after the quote, or
// npos when the text does not begin so.
size_t TagHead(std::string_view text, size_t* nameStart, size_t* nameEnd) {
  if (text.empty() || text[0] != '[') return std::string_view::npos;
  size_t i = 1;
  while (i < text.size() && IsBlank(text[i])) ++i;
  *nameStart = i;
  while (i < text.size() && !IsBlank(text[i]) && text[i] != '"' && text[i] != ']') ++i;
  *nameEnd = i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (*nameEnd == *nameStart || i == *nameEnd || i >= text.size() || text[i] != '"') return std::string_view::npos;
  return i + 1;
}

}  // namespace

bool CutPdnTag(std::string_view text, PdnTagText* out) {
  *out = PdnTagText{};
  size_t nameStart = 0, nameEnd = 0;
  const size_t valueStart = TagHead(text, &nameStart, &nameEnd);
  if (valueStart == std::string_view::npos) return false;
  out->name = std::string(text.substr(nameStart, nameEnd - nameStart));
  // A "]" that another tag follows ends a value whose closing quote is
  // missing: [White "Smith] [Black "Jones"] holds two tags.
  const size_t bracket = text.find(']', valueStart);
  size_t searchEnd = text.size();
  if (bracket != std::string_view::npos) {
    size_t next = bracket + 1;
    while (next < text.size() && IsBlank(text[next])) ++next;
    size_t s = 0, e = 0;
    if (TagHead(text.substr(next), &s, &e) != std::string_view::npos) searchEnd = bracket;
  }
  for (size_t q = valueStart; q < searchEnd; ++q) {
    if (text[q] == '\\') {
      ++q;  // an escaped character never ends the value
      continue;
    }
    if (text[q] != '"') continue;
    size_t k = q + 1;
    while (k < text.size() && IsBlank(text[k])) ++k;
    if (k < text.size() && text[k] == ']') {
      out->value = Unescaped(text.substr(valueStart, q - valueStart));
      out->length = k + 1;
      out->hasValue = out->closed = true;
      return true;
    }
  }
  // No closing quote before a "]": the value runs to the "]", or without one
  // to the end of the text, less the blanks and a quote that end it there.
  // Quotes, blanks and brackets are ASCII, so no character is ever cut.
  out->length = bracket == std::string_view::npos ? text.size() : bracket + 1;
  size_t valueEnd = bracket == std::string_view::npos ? text.size() : bracket;
  while (valueEnd > valueStart && IsBlank(text[valueEnd - 1])) --valueEnd;
  if (valueEnd > valueStart && text[valueEnd - 1] == '"') --valueEnd;
  out->hasValue = bracket != std::string_view::npos || valueEnd > valueStart;
  if (out->hasValue) out->value = Unescaped(text.substr(valueStart, valueEnd - valueStart));
  return true;
}

bool ParsePdnTag(std::string_view line, PdnTags& tags, int lineNumber) {
  PdnTagText tag;
  if (!CutPdnTag(line, &tag)) return true;
  for (const auto& t : kTags) {
    if (tag.name != t.name) continue;
    if (!tag.hasValue) return false;
    if (t.field) {
      std::string& value = tags.*t.field;
      value = tag.value;
      // A set-up and the rules tag are long by nature; the others are
      // one-line fields (names, event, site, date, ...).
      const bool cut = t.field != &PdnTags::Fen && t.field != &PdnTags::RulesTag && LimitField(value);
      auto& cutTags = tags.CutTags;
      std::erase_if(cutTags, [&](const PdnTags::CutTag& c) { return c.name == t.name; });
      if (cut) cutTags.push_back({t.name, lineNumber});
      if (t.field == &PdnTags::RulesTag) tags.RulesTagLine = lineNumber;
    }
    return true;
  }
  return true;
}

bool PdnTagValue(std::string_view line, std::string_view name, std::string* value) {
  PdnTagText tag;
  if (!CutPdnTag(line, &tag) || tag.name != name || !tag.hasValue) return false;
  *value = tag.value;
  return true;
}

std::string PdnTagLine(std::string_view name, std::string_view value) {
  std::string out = "[" + std::string(name) + " \"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"]";
}

}  // namespace m8
