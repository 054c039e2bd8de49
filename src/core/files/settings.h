// The settings file "tavrin.ini": a tag line and 83 values, one per line, in a
// fixed order, written with CR LF as Latin-1 bytes. Values live in
// GameState::Opt, the rules among them in GameState::Rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"
#include "core/textcode.h"

namespace m8 {

inline constexpr const char* kSettingsFileName = "tavrin.ini";
inline constexpr const char* kSettingsTag = "TAVRIN0.89";
inline constexpr int kSettingsValues = 83;
inline constexpr int kSettingsLines = kSettingsValues + 1;
// How much of each line of a settings file is read: far more than any value
// the program writes (texts are cut to kFieldChars characters), so the file
// always holds no more than its reader reads.
inline constexpr size_t kSettingsLineBytes = 4096;
inline constexpr size_t kSettingsReadLimit = kSettingsLines * kSettingsLineBytes;
// A file that had to be replaced is kept under its name with this added.
inline constexpr const char* kSettingsKeptSuffix = ".bad";

// Sets every setting to its default: options, the rules stored in the file,
// the promotion squares (B8 D8 F8 H8 / A1 C1 E1 G1) and the four movement
// strings, parsed into the direction table.
void SetDefaultSettings(GameState& g);

// The 84 lines of the file, each ended by CR LF: Latin-1 bytes when every
// character fits, else UTF-8. Texts are cut to kFieldChars characters.
// variantName, when given, is written in place of Rules.Variant (a caller
// that could not read the current variant's file passes the last good name).
std::string SettingsText(const GameState& g, const std::string* variantName = nullptr);

struct SettingsReadResult {
  bool accepted = false;  // false: empty or a wrong first line; defaults apply
  int linesRead = 0;      // lines the text held, up to 84; fewer: the rest are defaults
  // One line per value that was corrected (not a number, out of range, unsafe
  // name); each names the file and the line.
  std::vector<std::string> warnings;
};

// Reads the bytes of a settings file into g (as UTF-8 when they are valid
// UTF-8, else as Latin-1; a byte-order mark before the tag is skipped). A text
// whose first line is not the tag leaves g untouched and returns accepted =
// false. An accepted text sets every value (a text cut short gives the
// defaults for the lines it does not hold), corrects the ones outside their
// range, and parses the promotion squares and movement strings. Lines after
// the 84th are ignored.
SettingsReadResult ParseSettingsText(GameState& g, std::string_view bytes,
                                     std::string_view fileName = kSettingsFileName);

struct SettingsLoadResult {
  bool accepted = false;     // the file was read (perhaps only in part)
  bool freshWritten = false; // a fresh file was written (defaults, or what was read)
  std::string error;         // the fresh file could not be written
  std::vector<std::string> warnings;
};

// Start-up: reads tavrin.ini of the user's folder (UserFolderOf). When it is missing, every setting
// takes its default and a fresh file is written. A file with a wrong first
// line gives the defaults, one cut short gives what it holds and the defaults
// for the rest; either is kept whole beside as "tavrin.ini.bad" before a
// fresh file replaces it, and the user is told. A file that exists but cannot
// be read gives the defaults and a message, and is left as it is: it is not
// written over, at start-up or at exit (GameState::KeepSettingsFile). Then a SearchDepth of 0 becomes 2 and a
// PlayMode of 2 becomes 0 (not written back). Warnings and a failed write
// are also told through the host.
SettingsLoadResult LoadSettings(GameState& g);

// Writes the user's tavrin.ini through a temporary file. False, with the
// reason in error, when it cannot be written; the old file then stays.
// Nothing (and true) while UserFilesNotKept is set.
bool WriteSettingsFile(const GameState& g, std::string* error,
                       const std::string* variantName = nullptr);

// Program end: the settings file (unless KeepSettingsFile), then the rating
// file. On failure the host
// is told (title "Error") and false is returned; the rating is still tried.
bool SaveSettings(GameState& g, const std::string* variantName = nullptr);

// The bounds a numeric option is kept in: the reader corrects a value outside
// them and the options dialog limits what it writes to them. nullopt for a
// value the reader keeps as it is.
struct OptionBounds {
  int32_t lo = 0;
  int32_t hi = 0;
};
std::optional<OptionBounds> OptionRange(int32_t Options::*option);

}  // namespace m8
