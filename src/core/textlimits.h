// Bounds on what text read from a file may become: a short excerpt where a
// message quotes it, a length limit for one-line fields (names, events), and
// a list of warnings that stops after a screenful.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace m8 {

// Characters of file text a message quotes at most.
inline constexpr size_t kQuoteChars = 40;
// Characters a one-line field (a player's name, an event, a site) holds at most.
inline constexpr size_t kFieldChars = 200;
// Warnings a message lists before it counts the rest.
inline constexpr size_t kListedWarnings = 15;
// The mark of text left out: "…" in UTF-8.
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// Characters of a UTF-8 text (bytes that do not continue a character).
size_t CharCount(std::string_view text);

// A piece of file text fit to quote in a message: control characters shown as
// blanks, and when it is longer than maxChars characters its first ones
// followed by "…". Characters are never split.
std::string Excerpt(std::string_view text, size_t maxChars = kQuoteChars);

// Cuts a field to maxChars characters (never inside a character); true when
// something was cut.
bool LimitField(std::string& text, size_t maxChars = kFieldChars);

// What the user is told of a field LimitField cut: "<field> is longer than
// 200 characters; its first 200 are used."
std::string FieldCutText(std::string_view field);

// The lines of a message, one per item, each ended by CR LF: at most
// maxItems of them, then "and N more." for the ones left out.
std::string ListText(const std::vector<std::string>& items, size_t maxItems = kListedWarnings);

}  // namespace m8
