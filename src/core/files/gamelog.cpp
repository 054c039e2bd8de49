#include "core/files/gamelog.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/clock.h"
#include "core/fileio.h"
#include "core/numtext.h"
#include "core/version.h"

namespace m8 {

namespace {

constexpr const char* kEol = "\r\n";

std::string RightAligned(int64_t value, size_t width) {
  std::string s = std::to_string(value);
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

// Three blanks before the score, two after a crowning "K" or a book "b", so
// the scores stay in one column.
std::string ScoreSeparator(std::string_view logLine) {
  const bool marked = !logLine.empty() && (logLine.back() == 'K' || logLine.back() == 'b');
  return marked ? "  " : "   ";
}

std::string LogPath(const GameState& g) { return ResolvePath(UserFolderOf(g), kLogFileName); }

void ReportLogFailure(GameState& g) {
  g.Log.Enabled = false;
  if (g.Log.Reported) return;
  g.Log.Reported = true;
  g.host->message(Icon::Exclamation, "Error",
                  "The log file \"" + LogPath(g) + "\" cannot be written; the program goes on without a log.");
}

// The last `count` bytes of a file (fewer when it is shorter); nullopt when
// it cannot be read.
std::optional<std::string> FileTail(const std::string& path, uintmax_t size, uintmax_t count) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const uintmax_t from = size > count ? size - count : 0;
  in.seekg(static_cast<std::streamoff>(from));
  std::string bytes(static_cast<size_t>(size - from), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!in) return std::nullopt;
  return bytes;
}

bool AppendToFile(const std::string& path, std::string_view text) {
  if (IsProtectedFile(path)) return false;
  std::error_code ec;
  const uintmax_t size = std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
  if (!ec && size + text.size() > kLogMaxBytes) {
    // The oldest lines go: the newest ones, with the text, are written
    // through a temporary, so a cut that fails loses nothing.
    auto tail = FileTail(path, size, kLogKeptBytes);
    if (!tail) return false;
    *tail += text;
    return ReplaceFile(path, KeepNewestLines(*tail, kLogKeptBytes));
  }
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  return static_cast<bool>(out);
}

std::string LocalTimeText(const char* format) {
  std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&t, &local);
  char buf[64];
  size_t n = std::strftime(buf, sizeof buf, format, &local);
  return std::string(buf, n);
}

}  // namespace

std::string KeepNewestLines(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  // The first whole line within the last maxBytes: the one after the line
  // end at or after the cut (a line end right at the cut ends a dropped line).
  const size_t cut = text.size() - maxBytes;
  const size_t end = text.find('\n', cut - 1);
  if (end == std::string_view::npos) return {};
  return std::string(text.substr(end + 1));
}

std::string LogBannerText(std::string_view date, std::string_view time) {
  return std::string(kEol) + kProgramName + " " + kProgramVersion + "   " + std::string(date) + "  " +
         std::string(time) + kEol;
}

std::string LogHeaderText(std::string_view variantName, int32_t blackStarts) {
  return std::string(kEol) + std::string(variantName) + kEol +
         (blackStarts == 1 ? "Black   White" : "White   Black") + kEol +
         "      moves    score   depth    main" + kEol;
}

std::string LogMoveLineText(std::string_view logLine, int32_t score) {
  return std::string(logLine) + ScoreSeparator(logLine) + RightAligned(score, 6) + kEol;
}

std::string LogComputerMoveLineText(std::string_view logLine, int32_t score, int32_t depth,
                                    std::string_view mainLine) {
  return std::string(logLine) + ScoreSeparator(logLine) + RightAligned(score, 6) + "      " +
         RightAligned(depth, 2) + "    " + std::string(mainLine) + kEol;
}

std::string LogSearchBlockText(const std::vector<SearchIterationLog>& iterations, bool showCalculation) {
  std::string block;
  for (const auto& it : iterations) {
    block += std::string(15, ' ');
    if (showCalculation)
      block += "D:" + SignedText(it.Depth) + "   B: " + it.BestMove + "   S:" + SignedText(it.Score);
    block += "   M: " + it.MainLine + "  T: " + TimeString(it.Seconds) + kEol;
  }
  return block + kEol;
}

bool OpenLog(GameState& g) {
  g.Log.Enabled = !g.UserFilesNotKept;
  if (!AppendLog(g, LogBannerText(LocalTimeText("%Y-%m-%d"), LocalTimeText("%H:%M:%S")))) return false;
  return true;
}

bool AppendLog(GameState& g, std::string_view text) {
  if (!g.Log.Enabled) return false;
  if (!AppendToFile(LogPath(g), text)) {
    ReportLogFailure(g);
    return false;
  }
  return true;
}

void PrintLogHeader(GameState& g) {
  AppendLog(g, LogHeaderText(g.Variant.LoadedVariantName, g.Rules.BlackStarts));
}

void LogUserMove(GameState& g, int32_t quickScore) {
  AppendLog(g, LogMoveLineText(g.Log.LogLine, quickScore));
}

void LogComputerMove(GameState& g, int32_t bestScore, int32_t depth,
                     const std::vector<SearchIterationLog>& iterations) {
  AppendLog(g, LogComputerMoveLineText(g.Log.LogLine, bestScore, depth, g.Log.MainLineText) +
                   LogSearchBlockText(iterations, g.Opt.ShowCalculation != 0));
}

}  // namespace m8
