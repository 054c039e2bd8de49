// Texts of the small windows: the rules window (the variant's help text and
// link), the About window, and the choice the PDN game chooser returns.
#pragma once

#include <string>
#include <vector>

#include "core/state.h"

namespace m8 {

// The program's own addresses. A help link into the program's own site
// (holding kOwnSiteMarker in any letter case) is not offered by the rules
// window.
inline constexpr const char* kOwnSiteMarker = "morventa8";
inline constexpr const char* kMakerMail = "morventa8@example.org";
inline constexpr const char* kProductPage = "https://www.example.org/morventa8/";
inline constexpr const char* kAboutDescription = "Checkers and draughts on the 8x8 board in 29 variants";
inline constexpr const char* kAboutNotice = "Free to use and to share.";

// "Version 1.58".
std::string AboutVersionText();

// The rules window's text: "Rules for <variant>", two line breaks and the
// help text; "No help available" when the variant has none.
std::string RulesHelpText(const GameState& g);

// The link the rules window shows: HelpLink, or "" when there is none or it
// points into the program's own site.
std::string ShownHelpLink(const GameState& g);

// The rules window's caption: " Rules for <variant>".
std::string RulesWindowCaption(const GameState& g);

// What the PDN chooser returns: the 1-based game chosen (-1 none), the index
// of the "Open as:" entry (0 "DEFAULT") and its text.
struct PdnChoice {
  int ChosenGame = -1;
  int OpenAsIndex = 0;
  std::string OpenAsName;
};

// The chooser's "Open as:" names after "DEFAULT": the variant files of the
// folder UseClassic selects.
std::vector<std::string> PdnVariantNames(const GameState& g);

}  // namespace m8
