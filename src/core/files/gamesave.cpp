#include "core/files/gamesave.h"

#include <filesystem>

#include "core/fileio.h"
#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/numtext.h"
#include "core/textcode.h"

namespace m8 {

namespace {

// A game's PDN (UTF-8) added to the bytes of a PDN file. A file that is not
// UTF-8 is in the code page its letters show (Windows-1252 or 1251): the
// game joins it in that code page when every character fits, else the whole
// file becomes UTF-8, so that one file never mixes two encodings.
std::string AppendPdnGame(std::string file, const std::string& game) {
  if (IsValidUtf8(file)) return file + game;
  const CodePage page = GuessCodePage(file);
  if (FitsCodePage(game, page)) return file + Utf8ToCodePage(game, page);
  return CodePageToUtf8(file, page) + game;
}

}  // namespace

bool IsPdnFileName(const std::string& path) {
  return path.size() >= 3 && ToUpper(path.substr(path.size() - 3)) == "PDN";
}

std::string FileTitleOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string ProgramFile(const GameState& g, const std::string& name) { return ResolvePath(g.ProgramFolder, name); }

std::string UserFile(const GameState& g, const std::string& name) { return ResolvePath(UserFolderOf(g), name); }

bool SaveGame(GameState& g, const std::string& path, const std::string& fileTitle) {
  const std::string title = fileTitle.empty() ? FileTitleOf(path) : fileTitle;
  std::string bytes;
  if (IsPdnFileName(path)) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
      const auto old = ReadWholeFile(path, kMaxGameFileBytes);
      if (!old) {
        const bool large = std::filesystem::file_size(path, ec) > kMaxGameFileBytes && !ec;
        g.host->message(Icon::Exclamation, "Error",
                        title + (large ? " is too large for a game file" : " cannot be read") +
                            ", so the game is not added to it.");
        return false;
      }
      bytes = *old;
      if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
    }
    bytes = AppendPdnGame(std::move(bytes), PdnGameText(g, PdnToday()));
  } else {
    bytes = GameFileText(g);
  }
  std::string error;
  if (!ReplaceFile(path, bytes, &error)) {
    g.host->message(Icon::Exclamation, "Error", title + " cannot be written.\r\n" + error);
    return false;
  }
  return true;
}

bool SaveAutosave(GameState& g) { return SaveGame(g, UserFile(g, kAutosaveFileName), kAutosaveFileName); }

}  // namespace m8
