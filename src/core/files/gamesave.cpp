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

// How a game joins a PDN file: the file's bytes with the game added, or why
// the file would have to be converted first.
struct PdnJoin {
  std::string bytes;
  std::string reason;  // when not empty: the question's reason, and `bytes` is empty
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

// A PDN file (its bytes) with a game (UTF-8) added. The games already there
// keep their bytes: the game joins in the file's encoding when every reading
// the file allows shows its letters alike. Otherwise the reason to ask the
// user; with `convert`, the whole file is then made UTF-8 (each game from
// its own reading) with the game added.
PdnJoin JoinPdnGame(const std::string& title, const std::string& file, const std::string& game, bool convert) {
  const ForeignText reading = ReadPdnText(file);
  const std::string& text = reading.text;
  const std::string lineEnd = text.empty() || text.back() == '\n' || text.back() == '\r' ? "" : "\r\n";
  const auto shown = std::find_if(reading.parts.begin(), reading.parts.end(), [](const auto& p) { return !p.plain; });
  const TextReading::Kind kind = shown == reading.parts.end() ? reading.parts.front().reading.kind : shown->reading.kind;
  if (kind == TextReading::Kind::Utf8 && !reading.Mixed()) return {file + lineEnd + game, ""};
  const bool utf16 = kind == TextReading::Kind::Utf16LE || kind == TextReading::Kind::Utf16BE;
  std::string reason = utf16 && file.size() % 2 != 0 ? title + " ends in the middle of a UTF-16 character."
                                                     : WhyNotJoined(reading, title, game);
  if (reason.empty())
    return {file + (utf16 ? Utf8ToUtf16(lineEnd + game, kind) : Utf8ToCodePage(lineEnd + game, reading.file.page)), ""};
  if (!convert) return {"", std::move(reason)};
  // A UTF-8 byte-order mark stays: the file is UTF-8 now.
  const std::string mark = reading.bom == "\xEF\xBB\xBF" ? reading.bom : "";
  return {mark + text + lineEnd + game, ""};
}

// How many times a save reads a PDN file again because it changed while the
// user was asked about it, before it gives up.
constexpr int kPdnSaveRounds = 4;

// How long a save waits while another program writes the same file.
constexpr double kPdnLockPatienceSeconds = 10;

// What one locked round of adding a game to a PDN file came to. Whatever
// the user is to be told or asked is told or asked after the round, with
// the file free.
struct PdnRound {
  enum class Kind { Added, Refused, Ask } kind = Kind::Refused;
  std::string text;    // the message, or the question's reason
  std::string bytes;   // Ask: the file as it was read
  std::string backup;  // Ask: the name its copy would take

  static PdnRound Refused(std::string text) { return {Kind::Refused, std::move(text), "", ""}; }
};

// The bytes of the file the user agreed to convert, and its copy's name.
using PdnAgreement = std::optional<std::pair<std::string, std::string>>;

// One round of AddPdnGame: the file is locked, read, joined by the game and
// replaced, unless it must be converted first and the user has not agreed
// to convert it as it is now.
PdnRound AddPdnGameLocked(const std::string& path, const std::string& title, const std::string& game,
                          const PdnAgreement& agreed) {
  using Kind = PdnRound::Kind;
  const FileLock lock(path, kPdnLockPatienceSeconds);
  if (lock.busy())
    return PdnRound::Refused(title +
                             " is being written by another program, so the game is not added to it.\r\n"
                             "Try again when that program has finished.");
  if (!lock.failure().empty())
    return PdnRound::Refused(title + " cannot be locked against other programs' saves in the folder \"" +
                             lock.folder() + "\" (" + lock.failure() + "), so the game is not added to it.");
  FileRead old = ReadFileChecked(path, kMaxGameFileBytes);
  if (old.status == ReadStatus::TooLarge || old.status == ReadStatus::Unreadable)
    return PdnRound::Refused(title +
                             (old.status == ReadStatus::TooLarge ? " is too large (" + GameFileSizeLimitText() + ")"
                                                                 : std::string(" cannot be read")) +
                             ", so the game is not added to it.");
  std::string backup = FreeBackupPath(path);
  const bool convert = agreed && agreed->first == old.bytes && agreed->second == backup;
  PdnJoin joined = JoinPdnGame(title, old.bytes, game, convert);
  if (!joined.reason.empty()) return {Kind::Ask, std::move(joined.reason), std::move(old.bytes), std::move(backup)};
  // A file the program would no longer open is never written.
  if (joined.bytes.size() > kMaxGameFileBytes)
    return PdnRound::Refused(title + " is left as it is, and the game is not added: " +
                             (convert ? "converted to UTF-8 with the game" : "with the game") +
                             " it would be too large (" + GameFileSizeLimitText() + ").");
  std::string error = "No free name for the copy beside it.";
  if (convert && (backup.empty() || !ReplaceFile(backup, old.bytes, &error)))
    return PdnRound::Refused(title + " is left as it is, and the game is not added: its copy cannot be written.\r\n" +
                             SentenceStart(error));
  if (!ReplaceFile(path, joined.bytes, &error)) {
    // The file is as it was: the copy made for its conversion goes, or is
    // named.
    std::error_code ec;
    const bool copyLeft = convert && !std::filesystem::remove(backup, ec);
    return PdnRound::Refused(title + " cannot be written.\r\n" + SentenceStart(error) +
                             (copyLeft ? "\r\nThe copy " + FileTitleOf(backup) + " of it is left beside it." : ""));
  }
  return {Kind::Added, "", "", ""};
}

// Adds the game in hand to a PDN file (see SaveGame). The file stays locked
// from its read to its replacement, so that a game another program adds to
// it meanwhile is never lost; it is free whenever the user is told or asked
// something. After the user's question the file is read again, and a file
// that changed is asked about again.
bool AddPdnGame(GameState& g, const std::string& path, const std::string& title) {
  const std::string game = PdnGameText(g, PdnToday());
  auto refuse = [&](const std::string& text) {
    g.host->message(Icon::Exclamation, "Error", text);
    return false;
  };
  PdnAgreement agreed;
  for (int round = 0; round < kPdnSaveRounds; ++round) {
    PdnRound done = AddPdnGameLocked(path, title, game, agreed);
    if (done.kind == PdnRound::Kind::Added) return true;
    if (done.kind == PdnRound::Kind::Refused) return refuse(done.text);
    if (!g.host->askYesNo("Confirmation", done.text +
                                              "\r\n\r\nConvert the whole file to UTF-8 and add the game? The file "
                                              "as it is now is kept as " +
                                              (done.backup.empty() ? title + ".bak" : FileTitleOf(done.backup)) +
                                              ".\r\nNo leaves the file as it is, and the game is not added."))
      return false;
    agreed.emplace(std::move(done.bytes), std::move(done.backup));
  }
  return refuse(title +
                " was changed by another program each time you were asked about it, so the game is not "
                "added to it.");
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
  // A file the user protected, another user's and anything but a file are
  // refused before anything is asked or copied.
  if (!IsReplaceable(path, &error)) {
    g.host->message(Icon::Exclamation, "Error", title + " cannot be written.\r\n" + SentenceStart(error));
    return false;
  }
  if (IsPdnFileName(path)) return AddPdnGame(g, path, title);
  const std::string text = GameFileText(g);
  if (text.size() > kMaxGameFileBytes) {
    g.host->message(Icon::Exclamation, "Error",
                    title + " is not written: it would be too large (" + GameFileSizeLimitText() + ").");
    return false;
  }
  if (!ReplaceFile(path, text, &error)) {
    g.host->message(Icon::Exclamation, "Error", title + " cannot be written.\r\n" + SentenceStart(error));
    return false;
  }
  return true;
}

bool SaveAutosave(GameState& g) {
  if (g.UserFilesNotKept) return true;  // the user was told at start-up
  return SaveGame(g, UserFile(g, kAutosaveFileName), kAutosaveFileName);
}

}  // namespace m8
