#include "core/files/gamelog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/files_fixture.h"

namespace m8 {
namespace {

using GameLogTest = testing::FilesTest;

TEST(GameLogFormat, BannerAndHeader) {
  EXPECT_EQ(LogBannerText("2026-12-10", "13:05:09"), "\r\nMorventa8 1.58   2026-12-10  13:05:09\r\n");
  EXPECT_EQ(LogHeaderText("Italian Checkers", 0),
            "\r\nItalian Checkers\r\nWhite   Black\r\n      moves    score   depth    main\r\n");
  EXPECT_EQ(LogHeaderText("American Checkers", 1),
            "\r\nAmerican Checkers\r\nBlack   White\r\n      moves    score   depth    main\r\n");
}

TEST(GameLogFormat, MoveLinesKeepTheScoresInOneColumn) {
  const struct {
    const char* line;
    int32_t score;
    const char* want;
  } cases[] = {
      {" 1. 11-15", 12, " 1. 11-15       12\r\n"},
      {"    27-31K", -5, "    27-31K      -5\r\n"},
      {" 2. 9-13b", 0, " 2. 9-13b       0\r\n"},
      {"x", -32000, "x   -32000\r\n"},
      {"", 7, "        7\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(LogMoveLineText(c.line, c.score), c.want);
  EXPECT_EQ(LogComputerMoveLineText(" 1. 11-15", -32000, 12, "11-15 23-19"),
            " 1. 11-15   -32000      12    11-15 23-19\r\n");
  EXPECT_EQ(LogComputerMoveLineText("    22-17K", 31, 5, ""), "    22-17K      31       5    \r\n");
}

TEST(GameLogFormat, SearchBlock) {
  std::vector<SearchIterationLog> its = {{1, "11-15", 10, "11-15", 0}, {2, "9-14", -3, "9-14 22-18", 125}};
  const std::string pad(15, ' ');
  EXPECT_EQ(LogSearchBlockText(its, true),
            pad + "D: 1   B: 11-15   S: 10   M: 11-15  T: 00:00.00\r\n" +
            pad + "D: 2   B: 9-14   S:-3   M: 9-14 22-18  T: 00:02.05\r\n\r\n");
  EXPECT_EQ(LogSearchBlockText(its, false),
            pad + "   M: 11-15  T: 00:00.00\r\n" + pad + "   M: 9-14 22-18  T: 00:02.05\r\n\r\n");
}

TEST_F(GameLogTest, TwoRunsAppend) {
  ASSERT_TRUE(OpenLog(g));
  g.Variant.LoadedVariantName = "Pool Checkers";
  PrintLogHeader(g);
  g.Log.LogLine = " 1. 11-15";
  LogUserMove(g, 3);
  g.Log.LogLine = "    23-19";
  g.Log.MainLineText = "23-19";
  LogComputerMove(g, -3, 4, {{4, "23-19", -3, "23-19", 1}});

  GameState second;
  Restart(second);
  ASSERT_TRUE(OpenLog(second));
  const auto lines = testing::CrLfLines(Read("tavrin.log"));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1].rfind("Morventa8 1.58   ", 0), 0u);
  EXPECT_EQ(lines[3], "Pool Checkers");
  EXPECT_EQ(lines[6], " 1. 11-15        3");
  EXPECT_EQ(lines[7], "    23-19       -3       4    23-19");
  EXPECT_EQ(lines[8], std::string(15, ' ') + "D: 4   B: 23-19   S:-3   M: 23-19  T: 00:00.01");
  EXPECT_EQ(lines[9], "");   // the search block ends with an empty line
  EXPECT_EQ(lines[10], "");  // the second run's banner follows after an empty line
  EXPECT_EQ(lines[11].rfind("Morventa8 1.58   ", 0), 0u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GameLogTest, ALogThatCannotBeOpenedIsToldOnce) {
  std::filesystem::create_directories(folder / "tavrin.log");  // a folder where the file should be
  EXPECT_FALSE(OpenLog(g));
  EXPECT_FALSE(g.Log.Enabled);
  g.Log.LogLine = "1. 11-15";
  LogUserMove(g, 0);
  PrintLogHeader(g);
  EXPECT_FALSE(AppendLog(g, "x\r\n"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Error");
  EXPECT_NE(host.messages[0].text.find("tavrin.log"), std::string::npos);
}

TEST(GameLogSize, KeepNewestLinesCutsAtALineStart) {
  const struct {
    const char* text;
    size_t maxBytes;
    const char* want;
  } cases[] = {
      {"ab\r\ncd\r\n", 8, "ab\r\ncd\r\n"},  // it fits
      {"ab\r\ncd\r\n", 7, "cd\r\n"},          // the cut falls in the first line
      {"ab\r\ncd\r\n", 4, "cd\r\n"},          // right at the second line's start
      {"ab\r\ncd\r\n", 5, "cd\r\n"},          // between CR and LF
      {"ab\r\ncd\r\n", 3, ""},                // not even the last line fits
      {"abcdef", 3, ""},                       // no line end at all
      {"\r\n\r\nx\r\n", 5, "\r\nx\r\n"},        // an empty line counts as one
  };
  for (const auto& c : cases) EXPECT_EQ(KeepNewestLines(c.text, c.maxBytes), c.want) << c.text << " " << c.maxBytes;
}

// Numbered lines of differing lengths, as the log's entries differ.
std::string NumberedLine(int n) {
  return "line " + std::to_string(n) + " " + std::string(static_cast<size_t>(20 + n % 97), '.') + "\r\n";
}

// The numbers of a log's lines; fails on a line that is not a whole
// numbered line.
std::vector<int> LineNumbers(const std::string& log) {
  std::vector<int> numbers;
  for (const auto& line : testing::CrLfLines(log)) {
    const int n = std::atoi(line.c_str() + 5);
    EXPECT_EQ(line + "\r\n", NumberedLine(n));
    numbers.push_back(n);
  }
  return numbers;
}

// The figures the README gives: the log stays within 1 MiB, and a cut keeps
// the newest 512 KiB as whole lines.
constexpr uintmax_t kCeiling = 1048576;
constexpr size_t kKept = 524288;

// The newest whole lines of `text` (lines ended by CR LF) within `limit`
// bytes.
std::string NewestWholeLinesWithin(const std::string& text, size_t limit) {
  for (size_t start = 0; start < text.size(); start = text.find("\r\n", start) + 2) {
    if (text.size() - start <= limit) return text.substr(start);
    if (text.find("\r\n", start) == std::string::npos) break;
  }
  return "";
}

// The log grows past its limit entry by entry (as in a long computer
// against computer session): it never passes the limit, and each cut leaves
// exactly the newest whole lines of all that was written that fit in the
// kept size, so that the next cut comes only once as much again is written.
TEST_F(GameLogTest, ALogOverItsLimitKeepsItsNewestWholeLines) {
  g.Log.Enabled = true;
  int next = 0;
  std::string entry, written;
  uintmax_t largest = 0, size = 0;
  int cuts = 0;
  while (written.size() < 3 * kCeiling) {
    entry.clear();
    for (int i = 0; i < 25; ++i) entry += NumberedLine(next++);
    ASSERT_TRUE(AppendLog(g, entry));
    written += entry;
    const uintmax_t now = std::filesystem::file_size(Path("tavrin.log"));
    largest = std::max(largest, now);
    if (now != size + entry.size()) {
      ++cuts;
      const std::string log = Read("tavrin.log");
      const std::string kept = NewestWholeLinesWithin(written, kKept);
      ASSERT_TRUE(log == kept) << "cut " << cuts << ": the log holds " << log.size() << " bytes, the newest whole lines within "
                               << kKept << " bytes are " << kept.size();
    }
    size = now;
  }
  EXPECT_GT(cuts, 0);
  EXPECT_LE(largest, kCeiling);
  EXPECT_GT(largest, kCeiling - entry.size());  // nothing is dropped before the limit
  const std::vector<int> numbers = LineNumbers(Read("tavrin.log"));
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.back(), next - 1);
  EXPECT_EQ(numbers.back() - numbers.front() + 1, static_cast<int>(numbers.size()));
  EXPECT_TRUE(host.messages.empty());
}

// A log that an earlier version let grow to several megabytes is cut at the
// first entry of the next run, to the newest whole lines within the kept
// size, the new entry included.
TEST_F(GameLogTest, ALogFarOverItsLimitIsCutAtTheNextStart) {
  std::string old;
  int next = 0;
  while (old.size() < 3 * kCeiling + 17) old += NumberedLine(next++);
  const std::string crashed = "a last line cut short by a crash";
  old += crashed;
  Write("tavrin.log", old);
  ASSERT_TRUE(OpenLog(g));
  const std::string log = Read("tavrin.log");
  EXPECT_LE(log.size(), kCeiling);
  // The banner follows the old log's last bytes as an append would.
  const std::string tail = crashed + "\r\nMorventa8 1.58   ";
  const size_t banner = log.rfind(tail);
  ASSERT_NE(banner, std::string::npos);
  const std::string appended = log.substr(banner + crashed.size());
  const std::string kept = NewestWholeLinesWithin(old + appended, kKept);
  EXPECT_TRUE(log == kept) << "the log holds " << log.size() << " bytes, the newest whole lines within " << kKept
                           << " bytes are " << kept.size();
  const std::vector<int> numbers = LineNumbers(log.substr(0, banner));
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.back(), next - 1);
  EXPECT_EQ(numbers.back() - numbers.front() + 1, static_cast<int>(numbers.size()));
}

}  // namespace
}  // namespace m8
