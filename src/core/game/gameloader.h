// Turning a stored game into the current game (files/gamesave.h stores it).
//
// LoadGame reads the whole file first and replays it on a scratch game; only
// when every move is legal is the current game replaced, so a broken or
// illegal file leaves the game in hand as it was and says which file and line
// is wrong.
#pragma once

#include <functional>
#include <string>

#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/state.h"

namespace m8 {

// Where the game comes from.
enum LoadMode : int {
  kLoadOpen = 0,      // a file chosen in the open dialog
  kLoadOpening = 1,   // a random opening from "opening.pdn" (new game, start-up)
  kLoadDoMoves = 2,   // the random opening moves of "domoves.tvn" (deleted after)
  kLoadAutosave = 3,  // the game saved at the last exit, "tavrin.sav"
};

inline constexpr const char* kOpeningFileName = "opening.pdn";

// Chooses one game of a PDN file: returns its 1-based number, or -1 when the
// user cancels. openAs receives the variant to open the game as ("" for the
// rules the game itself names). `opening` is true for the random-opening
// collection (the chooser is captioned " Choose Opening").
using PdnChooser = std::function<int(const PdnFile& file, bool opening, std::string* openAs)>;

// True when the rules in force allow a random opening from the opening
// collection: the standard start position, AntiMode 0, PiecesOnBlack 1 and
// BlackStarts 1.
bool RandomOpeningAllowed(const GameState& g);

// Loads a game. path and fileTitle are used in mode 0 (the file chosen in the
// dialog); the other modes take their file from the program folder. A PDN
// file (name ending in "PDN", any case) with several games asks `choose`
// (without one, the first game is taken); in modes 1 to 3 with BookRandom on
// a game is drawn at random. The window locks its commands around the call.
// Returns true when a game was loaded; otherwise the game in hand is
// unchanged and the user was told why (a missing opening collection, a
// failed mode 1 gate and a cancelled chooser say nothing).
bool LoadGame(GameState& g, int mode, const std::string& path = {}, const std::string& fileTitle = {},
              const PdnChooser& choose = {});

// What is said of a game file that was not read whole (status other than
// Ok): that it does not exist, that it is larger than a game file may be
// (the bound named: GameFileSizeLimitText), or that it cannot be read, with
// the reason.
std::string GameFileReadText(const FileRead& read, const std::string& title);

// Game `number` (1-based) of a PDN file already read, loaded as LoadGame
// loads the game the chooser gives in mode 0: under `openAs` (the "Open as"
// variant) or, when that is "", under the game's own tags. Messages go to the
// host as for LoadGame; failLine receives the line the message names (of the
// refused move or tag), or the game's first line when the game is refused as
// a whole.
bool LoadPdnGame(GameState& g, const PdnFile& file, int number, const std::string& openAs,
                 const std::string& fileTitle, int* failLine = nullptr);

}  // namespace m8
