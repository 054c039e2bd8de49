#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
  int status = -1;
  std::vector<std::string> lines;
};

ToolRun RunAnalyse(const std::string& arguments) {
  ToolRun r;
  const std::string command = std::string(M8_BIN_DIR) + "/morventa8-analyse " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::string text;
  while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
  r.status = pclose(pipe);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) r.lines.push_back(line);
  return r;
}

bool ToolBuilt() { return std::filesystem::exists(std::string(M8_BIN_DIR) + "/morventa8-analyse"); }

}  // namespace

TEST(AnalyseTool, PrintsIterationsAndTheBestMove) {
  ASSERT_TRUE(ToolBuilt()) << "morventa8-analyse is missing beside the tests";
  const ToolRun r = RunAnalyse("--depth 4");
  ASSERT_EQ(r.status, 0);
  ASSERT_EQ(r.lines.size(), 5u);
  for (int d = 1; d <= 4; ++d) EXPECT_EQ(r.lines[d - 1].rfind(std::to_string(d) + " ", 0), 0u);
  std::istringstream last(r.lines.back());
  std::string word, move, after;
  int score = 0, depth = 0;
  last >> word >> move >> word >> score >> word >> depth;
  EXPECT_EQ(depth, 4);
  after = r.lines.back().substr(r.lines.back().rfind(' ') + 1);
  EXPECT_EQ(after.size(), 64u);
  // Black moved one man from the start position.
  EXPECT_NE(after, "1010101001010101101010100000000000000000020202022020202002020202");
}

TEST(AnalyseTool, SetUpPositionAndBadArguments) {
  ASSERT_TRUE(ToolBuilt()) << "morventa8-analyse is missing beside the tests";
  // Black to move takes White's last man (54x32): the only move, searched
  // at depth 1; the root passes on the 32000 of the side left without a move.
  const std::string setup = "0000000000000000001000000002000000000000000000000000000000000000";
  const ToolRun r = RunAnalyse("--setup " + setup + " --side b --depth 3");
  ASSERT_EQ(r.status, 0);
  ASSERT_FALSE(r.lines.empty());
  EXPECT_NE(r.lines.back().find("bestmove"), std::string::npos);
  EXPECT_NE(r.lines.back().find("score 32000"), std::string::npos) << r.lines.back();
  EXPECT_NE(RunAnalyse("--depth").status, 0);
  EXPECT_NE(RunAnalyse("--depth 3 --time 2").status, 0);
  EXPECT_NE(RunAnalyse("--setup 123 --side b --depth 2").status, 0);
  const ToolRun bad = RunAnalyse("--variant \"No Such Variant\" --depth 2");
  EXPECT_NE(bad.status, 0);
  ASSERT_FALSE(bad.lines.empty());
  EXPECT_NE(bad.lines[0].find("No Such Variant"), std::string::npos);
}

TEST(AnalyseTool, ASideWithoutAMovePrintsTheResultOfTheGame) {
  ASSERT_TRUE(ToolBuilt()) << "morventa8-analyse is missing beside the tests";
  // Black has no piece left (white men on a1 and c1), or a black man on h8
  // blocked by white men on g7 and f6 while White has pieces too.
  const std::string noBlack = "1010000000000000000000000000000000000000000000000000000000000000";
  const std::string blocked = "1000000000000000000000000000000000000000000001000000001000000002";
  const struct {
    const char* variant;
    const std::string& setup;
    const char* score;
  } cases[] = {
      {"American Checkers", noBlack, "score -32000 "},  // lost
      {"Anti Checkers", noBlack, "score 32000 "},       // the losing game: won
      {"Anti Checkers", blocked, "score 32000 "},
      {"Anti Checkers Standoff", blocked, "score 0 "},  // no move with pieces left: drawn
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.variant) + " " + c.setup);
    const ToolRun r = RunAnalyse("--variant \"" + std::string(c.variant) + "\" --setup " + c.setup + " --side b --depth 2");
    ASSERT_EQ(r.status, 0);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.back().rfind("bestmove none " + std::string(c.score), 0), 0u) << r.lines.back();
  }
}
