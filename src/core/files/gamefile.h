// The program's own game file (".tvn", the autosave "tavrin.sav" and the
// DoMoves file "domoves.tvn"): a header line, keyed lines with the variant,
// the start position and every rule, the four movement strings, "START", then
// one line per move with comment lines "{...}" between them.
//
// The reader only parses: it turns the bytes into a GameFileData and refuses
// a broken file with a message naming the file and the line. Setting the game
// up from it is the game loader's work (game/gameloader.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/rules/rulekeys.h"
#include "core/state.h"

namespace m8 {

inline constexpr const char* kGameFileHeader = "TAVRIN Version=";
inline constexpr const char* kGameFileVersion = "0.89";
inline constexpr const char* kAutosaveFileName = "tavrin.sav";
inline constexpr const char* kDoMovesFileName = "domoves.tvn";

// A refused file: the message box title and text.
struct FileProblem {
  std::string title;
  std::string text;
  int line = 0;  // the 1-based line the text names when it names one
};

// One item of a game's move section, in file order.
struct GameFileItem {
  bool comment = false;
  std::string text;  // a comment (UTF-8, lines joined by '\n') or a move text
  int line = 0;      // 1-based line (PDN: the line the token stands on)
};

// What the keyed lines of an own game file say. Keys that are missing leave
// the value in force alone; a key given twice counts with its last value.
struct GameFileData {
  std::optional<std::string> Variant;  // UTF-8 name
  std::optional<int32_t> Book;
  std::optional<int32_t> Notation;
  std::optional<int32_t> UseClassic;
  std::optional<std::string> PlayerName;  // UTF-8, at most kFieldChars characters
  // One line for each field that was longer than its limit and was cut,
  // naming the file, the line and the field: the loader tells the user.
  std::vector<std::string> CutFields;
  // Numeric rule keys in the order read.
  std::vector<std::pair<const RuleKey*, int32_t>> RuleValues;
  // Promotion squares as written, two characters per square, and the
  // notation the file had set when the line was read (none: the program's).
  struct Promo {
    std::string squares;
    std::optional<int32_t> notation;
  };
  std::optional<Promo> PromoW, PromoB;
  std::optional<std::array<std::string, 4>> Movement;
  // The set-up string takes effect at the line "UseClassic=": the string read
  // up to the last such line ("" = an empty board).
  bool UseClassicSeen = false;
  std::string SetupAtUseClassic;
  std::optional<std::string> Setup;  // the last "Setup=" line
  int SetupLine = 0;                 // its line (0: none)
  int SetupAtUseClassicLine = 0;     // the line of SetupAtUseClassic (0: none)

  // After "START": comments and moves (move lines upper-cased, as written
  // otherwise: " 913" keeps its blank).
  std::vector<GameFileItem> Items;
  int MoveLineCount = 0;  // lines after "START"
};

// Parses an own game file. On failure returns false and fills the problem:
// "<title> is not an Morventa8 file" for a wrong header, "Incorrect game
// file!" and "Need version 0.89" for another version, otherwise the file
// title, the line and what is wrong with it. The bytes are read as UTF-8
// when they are valid UTF-8 and as Latin-1 otherwise.
bool ParseGameFile(std::string_view bytes, std::string_view fileTitle, GameFileData& out,
                   FileProblem& problem);

// The game in hand in the own format (CR LF line ends): the 57 fixed lines,
// then the comments and the move lines. The square texts follow the
// notation in force. Latin-1 bytes when every character fits, else UTF-8.
std::string GameFileText(const GameState& g);

// The 57 fixed lines alone (the DoMoves file adds its move lines after them),
// as UTF-8 text: the writer of the whole file encodes it (EncodeOwnFormat).
std::string GameFileHeaderText(const GameState& g);

// The two-character texts of the promotion squares of one side, in the
// notation in force, upper case ("B8D8F8H8", " 1 2 3 4" / "29303132").
std::string PromoSquaresText(const GameState& g, int side);

// A movement string as files carry it: blanks at its end dropped (they mean
// nothing), a blank at its start kept (an empty move part: " NW;NE").
std::string MovementText(std::string_view text);

// A move line: from and to square, two characters each ("1115", " 913",
// "c3d4"); a placement names its destination only; a capture that was
// written with its landing squares names every square ("c3a5c7", "2213 6"),
// as does a capture that a move without capture shares its start and end with.
std::string MoveLineText(const GameState& g, const MoveRecord& m);

}  // namespace m8
