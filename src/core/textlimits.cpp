#include "core/textlimits.h"

namespace m8 {

namespace {

bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset after the first maxChars characters (the size when the
// text has no more).
size_t CharsEnd(std::string_view text, size_t maxChars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (Continues(text[i])) continue;
    if (chars == maxChars) return i;
    ++chars;
  }
  return text.size();
}

}  // namespace

size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (char c : text) n += Continues(c) ? 0 : 1;
  return n;
}

std::string Excerpt(std::string_view text, size_t maxChars) {
  const size_t end = CharsEnd(text, maxChars);
  std::string out;
  out.reserve(end + kEllipsis.size());
  for (size_t i = 0; i < end; ++i) out += static_cast<unsigned char>(text[i]) < 32 ? ' ' : text[i];
  if (end < text.size()) out += kEllipsis;
  return out;
}

bool LimitField(std::string& text, size_t maxChars) {
  const size_t end = CharsEnd(text, maxChars);
  if (end == text.size()) return false;
  text.resize(end);
  return true;
}

std::string FieldCutText(std::string_view field) {
  const std::string n = std::to_string(kFieldChars);
  return std::string(field) + " is longer than " + n + " characters; its first " + n + " are used.";
}

std::string ListText(const std::vector<std::string>& items, size_t maxItems) {
  std::string out;
  const size_t shown = items.size() <= maxItems ? items.size() : maxItems;
  for (size_t i = 0; i < shown; ++i) out += items[i] + "\r\n";
  if (shown < items.size()) out += "and " + std::to_string(items.size() - shown) + " more.\r\n";
  return out;
}

}  // namespace m8
