// The core half of start-up and program end: the order in which the rating
// and settings are read, the corrections, the strength line, and what is
// written at exit. The window calls these and does
// the rest (menus, skin pictures, layout, drawing).
#pragma once

#include <string>
#include <string_view>

#include "core/files/builtinvariants.h"
#include "core/state.h"
#include "core/version.h"

namespace m8 {

struct StartupResult {
  bool settingsAccepted = false;  // false: defaults and a fresh file
  bool freshSettingsWritten = false;
  bool skinLoaded = true;         // false: fell back to "Classic Medium"
  std::string skinMissingPictures;  // the skin file's pictures not named, for the window to tell
  bool logOpen = false;
};

// Start-up steps that are not window work, in order: the rating file, the
// settings file (defaults and a fresh file when rejected), the corrections
// (SearchDepth 0 -> 2, PlayMode 2 -> 0), the skin file, the log and its
// banner. The window then sets its menus from the options, builds the start
// position and lays itself out.
StartupResult StartupReadFiles(GameState& g);

// "Strength: 9   Time: 2 sec" / "Strength: 9   Depth: 4 ply".
std::string StrengthLine(const GameState& g);

// Program end after the autosave game: the settings file, then the rating
// file. variantName as for SaveSettings. A variant or skin of the settings
// whose file was missing at start-up (GameState::Unmet) is written back in
// place of its stand-in. False when a file failed (the host
// was told).
bool SaveAtExit(GameState& g, const std::string* variantName = nullptr);

}  // namespace m8
