// The numbers the command-line tools take: one outside an option's range,
// however it is written, stops the tool with the range named and exit code
// 1, before any work; the ends of each range are taken.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
  int exitCode = -1;
  std::vector<std::string> lines;  // standard output and error together
};

ToolRun RunTool(const std::string& tool, const std::string& arguments) {
  ToolRun r;
  const std::string path = std::string(M8_BIN_DIR) + "/" + tool;
  EXPECT_TRUE(std::filesystem::exists(path)) << path << " is missing beside the tests";
  FILE* pipe = popen((path + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::string text;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
  const int status = pclose(pipe);
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) r.lines.push_back(line);
  return r;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& l : lines) all += l + "\n";
  return all;
}

TEST(ToolNumbers, ANumberOutsideItsRangeIsRefusedNamingTheRange) {
  // 4294967301 is 2^32 + 5: read into 32 bits it would be 5.
  const std::string past64Bits = "18446744073709551621";
  const std::string pastADouble = "1" + std::string(400, '0');
  const struct {
    const char* tool;
    std::string arguments;
    const char* said;
  } cases[] = {
      {"morventa8-perft", "4294967301", "morventa8-perft: DEPTH must be a whole number from 1 to 40, not 4294967301"},
      {"morventa8-perft", past64Bits, "DEPTH must be a whole number from 1 to 40"},
      {"morventa8-perft", "41", "DEPTH must be a whole number from 1 to 40, not 41"},
      {"morventa8-perft", "0", "DEPTH must be a whole number from 1 to 40, not 0"},
      {"morventa8-perft", "--divide -3", "DEPTH must be a whole number from 1 to 40, not -3"},
      {"morventa8-perft", "2.5", "DEPTH must be a whole number from 1 to 40, not 2.5"},
      {"morventa8-analyse", "--depth 4294967301",
       "morventa8-analyse: --depth must be a whole number from 1 to 40, not 4294967301"},
      {"morventa8-analyse", "--depth " + past64Bits, "--depth must be a whole number from 1 to 40"},
      {"morventa8-analyse", "--depth 41", "--depth must be a whole number from 1 to 40, not 41"},
      {"morventa8-analyse", "--depth 0", "--depth must be a whole number from 1 to 40, not 0"},
      {"morventa8-analyse", "--depth -2", "--depth must be a whole number from 1 to 40, not -2"},
      {"morventa8-analyse", "--depth 3.5", "--depth must be a whole number from 1 to 40, not 3.5"},
      {"morventa8-analyse", "--time 0", "--time must be a number of seconds from 0.01 to 86400, not 0"},
      {"morventa8-analyse", "--time 0.001", "--time must be a number of seconds from 0.01 to 86400, not 0.001"},
      {"morventa8-analyse", "--time 86400.5", "--time must be a number of seconds from 0.01 to 86400, not 86400.5"},
      {"morventa8-analyse", "--time -1", "--time must be a number of seconds from 0.01 to 86400, not -1"},
      {"morventa8-analyse", "--time " + pastADouble, "--time must be a number of seconds from 0.01 to 86400"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.tool) + " " + c.arguments.substr(0, 40));
    const ToolRun r = RunTool(c.tool, c.arguments);
    EXPECT_EQ(r.exitCode, 1);
    // The message alone: nothing was computed.
    ASSERT_EQ(r.lines.size(), 1u) << Joined(r.lines);
    EXPECT_NE(r.lines[0].find(c.said), std::string::npos) << r.lines[0];
  }
}

TEST(ToolNumbers, TheEndsOfEachRangeAreTaken) {
  const ToolRun perft = RunTool("morventa8-perft", "1");
  EXPECT_EQ(perft.exitCode, 0) << Joined(perft.lines);
  // The generator's name on the error stream, then depth 1: the seven
  // opening moves of American checkers.
  ASSERT_EQ(perft.lines.size(), 2u) << Joined(perft.lines);
  EXPECT_EQ(perft.lines[1].rfind("1 7 ", 0), 0u) << perft.lines[1];

  for (const char* arguments : {"--depth 1", "--time 0.01"}) {
    SCOPED_TRACE(arguments);
    const ToolRun r = RunTool("morventa8-analyse", arguments);
    EXPECT_EQ(r.exitCode, 0) << Joined(r.lines);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.back().rfind("bestmove ", 0), 0u) << r.lines.back();
  }
  // 40 and 86400 are taken too; searched, they would run for hours. Past
  // a wrong word after them the tool stops at the word, not at the number.
  EXPECT_EQ(RunTool("morventa8-perft", "40 --no-such-option").exitCode, 2);
  EXPECT_EQ(RunTool("morventa8-analyse", "--depth 40 --no-such-option").exitCode, 2);
  EXPECT_EQ(RunTool("morventa8-analyse", "--time 86400 --no-such-option").exitCode, 2);
  // Text that is no number is a wrong command line, as before.
  EXPECT_EQ(RunTool("morventa8-analyse", "--depth five").exitCode, 2);
}

}  // namespace
