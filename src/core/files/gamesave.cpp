#include "core/files/gamesave.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "core/fileio.h"
#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/numtext.h"
#include "core/textcode.h"

namespace m8 {

namespace {

// A path beside `path` for the copy of a file about to be rewritten, taken by
// no file yet: "name.bak", else "name.bak2", "name.bak3"...
std::string FreeBackupPath(const std::string& path) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    std::string candidate = path + ".bak" + (n == 1 ? "" : std::to_string(n));
    if (!std::filesystem::exists(candidate, ec) && !ec) return candidate;
    if (n >= 1000) return "";
  }
}

// The bytes of a PDN file with a game (UTF-8) added. A file that is not UTF-8
// keeps its bytes: the game joins it in the file's code page when it can do so
// without doubt. Otherwise the user is asked to convert the whole file to
// UTF-8, the old file kept beside it; nullopt (nothing to write) when the user
// leaves the file as it is or the copy cannot be made.
std::optional<std::string> AppendPdnGame(GameState& g, const std::string& path, const std::string& title,
                                         std::string file, const std::string& game) {
  const std::string_view lineEnd = file.empty() || file.back() == '\n' || file.back() == '\r' ? "" : "\r\n";
  if (IsValidUtf8(file)) return file + std::string(lineEnd) + game;
  const CodePageGuess guess = DetectCodePage(file);
  if (JoinsCodePage(game, guess)) return file + std::string(lineEnd) + Utf8ToCodePage(game, guess.page);
  const std::string backup = FreeBackupPath(path);
  const std::string page(CodePageName(guess.page));
  std::string reason = FitsCodePage(game, guess.page)
                           ? title + " was read in the code page " + page +
                                 ", but its letters do not tell the code page for certain."
                           : title + " is written in the code page " + page +
                                 ", which has no place for some letters of the new game.";
  if (!g.host->askYesNo("Confirmation", reason + "\r\n\r\nConvert the whole file to UTF-8 and add the game? The file as "
                                                  "it is now is kept as " +
                                            (backup.empty() ? title + ".bak" : FileTitleOf(backup)) +
                                            ".\r\nNo leaves the file as it is, and the game is not added."))
    return std::nullopt;
  std::string error = "No free name for the copy beside it.";
  if (backup.empty() || !ReplaceFile(backup, file, &error)) {
    g.host->message(Icon::Exclamation, "Error",
                    title + " is left as it is, and the game is not added: its copy cannot be written.\r\n" + error);
    return std::nullopt;
  }
  return CodePageToUtf8(file, guess.page) + std::string(lineEnd) + game;
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
  std::string error;
  auto cannotWrite = [&] {
    g.host->message(Icon::Exclamation, "Error", title + " cannot be written.\r\n" + error);
    return false;
  };
  // A file the user protected is refused before anything is asked or copied.
  if (IsProtectedFile(path, &error)) return cannotWrite();
  std::string bytes;
  if (IsPdnFileName(path)) {
    FileRead old = ReadFileChecked(path, kMaxGameFileBytes);
    if (old.status == ReadStatus::TooLarge || old.status == ReadStatus::Unreadable) {
      g.host->message(Icon::Exclamation, "Error",
                      title +
                          (old.status == ReadStatus::TooLarge ? " is too large for a game file" : " cannot be read") +
                          ", so the game is not added to it.");
      return false;
    }
    bytes = std::move(old.bytes);  // none for a new file
    auto joined = AppendPdnGame(g, path, title, std::move(bytes), PdnGameText(g, PdnToday()));
    if (!joined) return false;
    bytes = std::move(*joined);
  } else {
    bytes = GameFileText(g);
  }
  if (!ReplaceFile(path, bytes, &error)) return cannotWrite();
  return true;
}

bool SaveAutosave(GameState& g) { return SaveGame(g, UserFile(g, kAutosaveFileName), kAutosaveFileName); }

}  // namespace m8
