#include "core/files/gamesave.h"

#include <algorithm>
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

// A PDN file with a game added: its bytes, and the copy of the old file made
// beside it when the file was converted.
struct JoinedPdn {
  std::string bytes;
  std::string backup;
};

// Why a game cannot join the file as it is written, or "" when it can.
std::string WhyNotJoined(const ForeignText& reading, const std::string& title, const std::string& game) {
  const ForeignText::Part* one = nullptr;
  for (const auto& part : reading.parts)
    if (!part.plain) {
      if (one && !(part.reading == one->reading)) return title + " holds games written in different encodings.";
      one = one ? one : &part;
    }
  if (!one || one->reading.kind != TextReading::Kind::OneByte) return "";
  const CodePageGuess& guess = reading.file;
  const std::string page(CodePageName(guess.page));
  if (one->reading.page != guess.page)
    return title + " was read in the code page " + std::string(ReadingName(one->reading)) +
           ", but its letters do not tell the code page for certain.";
  if (JoinsCodePage(game, guess)) return "";
  return FitsCodePage(game, guess.page)
             ? title + " was read in the code page " + page + ", but its letters do not tell the code page for certain."
             : title + (guess.sure ? " is written" : " seems to be written") + " in the code page " + page +
                   ", which has no place for some letters of the new game.";
}

// The bytes of a PDN file with a game (UTF-8) added. The games already there
// keep their bytes: the game joins in the file's encoding when every reading
// the file allows shows its letters alike. Otherwise the user is asked to
// convert the whole file to UTF-8 (each game from its own reading, the old
// file kept beside it); nullopt (nothing to write) when the user leaves the
// file as it is or the copy cannot be made.
std::optional<JoinedPdn> AppendPdnGame(GameState& g, const std::string& path, const std::string& title,
                                       std::string file, const std::string& game) {
  const ForeignText reading = ReadPdnText(file);
  const std::string& text = reading.text;
  const std::string lineEnd = text.empty() || text.back() == '\n' || text.back() == '\r' ? "" : "\r\n";
  const auto shown = std::find_if(reading.parts.begin(), reading.parts.end(), [](const auto& p) { return !p.plain; });
  const TextReading::Kind kind = shown == reading.parts.end() ? reading.parts.front().reading.kind : shown->reading.kind;
  if (kind == TextReading::Kind::Utf8 && !reading.Mixed()) return JoinedPdn{file + lineEnd + game, ""};
  const bool utf16 = kind == TextReading::Kind::Utf16LE || kind == TextReading::Kind::Utf16BE;
  std::string reason = utf16 && file.size() % 2 != 0 ? title + " ends in the middle of a UTF-16 character."
                                                     : WhyNotJoined(reading, title, game);
  if (reason.empty())
    return JoinedPdn{file + (utf16 ? Utf8ToUtf16(lineEnd + game, kind) : Utf8ToCodePage(lineEnd + game, reading.file.page)),
                     ""};
  const std::string backup = FreeBackupPath(path);
  if (!g.host->askYesNo("Confirmation", reason + "\r\n\r\nConvert the whole file to UTF-8 and add the game? The file as "
                                                  "it is now is kept as " +
                                            (backup.empty() ? title + ".bak" : FileTitleOf(backup)) +
                                            ".\r\nNo leaves the file as it is, and the game is not added."))
    return std::nullopt;
  std::string error = "No free name for the copy beside it.";
  if (backup.empty() || !ReplaceFile(backup, file, &error)) {
    g.host->message(Icon::Exclamation, "Error",
                    title + " is left as it is, and the game is not added: its copy cannot be written.\r\n" + SentenceStart(error));
    return std::nullopt;
  }
  // A UTF-8 byte-order mark stays: the file is UTF-8 now.
  const std::string mark = reading.bom == "\xEF\xBB\xBF" ? reading.bom : "";
  return JoinedPdn{mark + text + lineEnd + game, backup};
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
  // A file the user protected is refused before anything is asked or copied.
  if (IsProtectedFile(path, &error)) {
    g.host->message(Icon::Exclamation, "Error", title + " cannot be written.\r\n" + SentenceStart(error));
    return false;
  }
  std::string bytes, backup;
  if (IsPdnFileName(path)) {
    FileRead old = ReadFileChecked(path, kMaxGameFileBytes);
    if (old.status == ReadStatus::TooLarge || old.status == ReadStatus::Unreadable) {
      g.host->message(Icon::Exclamation, "Error",
                      title +
                          (old.status == ReadStatus::TooLarge ? " is too large (" + GameFileSizeLimitText() + ")"
                                                              : std::string(" cannot be read")) +
                          ", so the game is not added to it.");
      return false;
    }
    bytes = std::move(old.bytes);  // none for a new file
    auto joined = AppendPdnGame(g, path, title, std::move(bytes), PdnGameText(g, PdnToday()));
    if (!joined) return false;
    bytes = std::move(joined->bytes);
    backup = std::move(joined->backup);
  } else {
    bytes = GameFileText(g);
  }
  if (!ReplaceFile(path, bytes, &error)) {
    // The file is as it was: the copy made for its conversion goes, or is named.
    std::error_code ec;
    const bool copyLeft = !backup.empty() && !std::filesystem::remove(backup, ec);
    g.host->message(Icon::Exclamation, "Error",
                    title + " cannot be written.\r\n" + SentenceStart(error) +
                        (copyLeft ? "\r\nThe copy " + FileTitleOf(backup) + " of it is left beside it." : ""));
    return false;
  }
  return true;
}

bool SaveAutosave(GameState& g) { return SaveGame(g, UserFile(g, kAutosaveFileName), kAutosaveFileName); }

}  // namespace m8
