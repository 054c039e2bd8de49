// Storing the game in hand as a file, and the file names the game loader
// shares with it.
#pragma once

#include <cstddef>
#include <string>

#include "core/state.h"

namespace m8 {

// The largest game file read or added to (PDN collections included).
inline constexpr size_t kMaxGameFileBytes = 16u << 20;
// That bound as messages name it: "a game file may hold at most 16 MB".
inline std::string GameFileSizeLimitText() {
  return "a game file may hold at most " + std::to_string(kMaxGameFileBytes >> 20) + " MB";
}

// Whether a file name ends in "PDN" (any case): such a file holds PDN games.
bool IsPdnFileName(const std::string& path);

// The last part of a path, shown as the file's title.
std::string FileTitleOf(const std::string& path);

// The full path of a file of the program folder (shipped, only read).
std::string ProgramFile(const GameState& g, const std::string& name);
// The full path of a file the program writes for the user (UserFolderOf).
std::string UserFile(const GameState& g, const std::string& name);

// Writes the game in hand: as PDN appended to the file when the name ends in
// "PDN" (any case), else in the own format replacing the file. The file is
// replaced through a temporary file. The games already in a PDN file keep
// their bytes unless the user agrees to convert the file to UTF-8 (asked when
// the new game cannot join the file's code page without doubt; a copy of the
// old file is kept beside it). A PDN file stays locked (FileLock) from its
// read to its replacement, so that two programs adding games to one file at
// once lose none; a save that waited too long for another program's, or
// that can have no lock, is refused, and no message or question is shown
// while the file is locked. No save makes a file larger than
// kMaxGameFileBytes, by a game or by a conversion: it is refused and the
// file stays as it is. Anything but a regular file, and a file
// ReplaceFile would not keep (IsReplaceable), is refused before anything is
// asked. False when nothing was written: the host is told, naming the file,
// when it cannot be written.
bool SaveGame(GameState& g, const std::string& path, const std::string& fileTitle);

// The autosave file at program end: the own format, silently replaced;
// nothing (and true) while UserFilesNotKept is set.
bool SaveAutosave(GameState& g);

}  // namespace m8
