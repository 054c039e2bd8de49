// The game set up from outside the window, as the perft and analysis tools
// and the benchmarks do it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/files_fixture.h"
#include "core/game/toolsetup.h"
#include "core/rules/notation.h"
#include "core/rules/perft.h"
#include "core/rules/setup_host.h"

namespace m8 {
namespace {

constexpr const char* kDefaultSetup = "1010101001010101101010100000000000000000020202022020202002020202";

TEST(SetupPerftPosition, TakesTheBoardAsTheStartOfAGame) {
  testing::HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(SetupVariantStart(g, "American Checkers", nullptr));
  std::string error;
  // A set-up position with white to move; the rule set's own generator.
  ASSERT_TRUE(SetupPerftPosition(g, kDefaultSetup, 1, &error)) << error;
  EXPECT_EQ(g.P.SideToMove, 1);
  EXPECT_EQ(g.Rules.BlackStarts, 0);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(g.Flow.PositionPreset, 0);
  uint64_t n = 0;
  ASSERT_TRUE(Perft(g, 3, n, PerftGenerator::ForRuleSet));
  EXPECT_EQ(n, 302u);
}

TEST(SetupPerftPosition, BadDigitsAndUnknownVariantAreRefused) {
  testing::HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(SetupVariantStart(g, "American Checkers", nullptr));
  std::string error;
  EXPECT_FALSE(SetupPerftPosition(g, "12", 1, &error));
  EXPECT_FALSE(SetupPerftPosition(g, std::string(63, '0') + "7", 1, &error));
  EXPECT_NE(error.find("position 64"), std::string::npos);
  EXPECT_FALSE(SetupVariantStart(g, "No Such Checkers", &error));
  EXPECT_NE(error.find("No Such Checkers"), std::string::npos);
}

// A set-up holds pieces only on the squares its variant uses: the dark ones
// in American Checkers (a king on b1 was taken and its move named "29-25"),
// the light ones in Italian Checkers, every square in Turkish Checkers.
TEST(SetupPerftPosition, PiecesStandOnlyOnSquaresInPlay) {
  std::string kingOnB1(64, '0');
  kingOnB1[1] = '3';
  kingOnB1[59] = '2';  // d8
  const std::string allMen(64, '1');
  testing::HostedGame italian;
  italian.g->ProgramFolder = M8_BIN_DIR;
  ASSERT_TRUE(SetupVariantStart(*italian.g, "Italian Checkers", nullptr));
  const std::string italianStart = BoardToSetupString(italian.g->board);
  const struct {
    const char* variant;
    std::string setup;
    const char* says;  // "" when taken
  } cases[] = {
      {"American Checkers", kingOnB1, "The piece on b1 stands on a square the game does not use."},
      {"American Checkers", allMen, "The piece on b1"},
      {"Russian Checkers", kingOnB1, "The piece on b1"},
      {"Italian Checkers", kDefaultSetup, "The piece on a1"},
      {"Italian Checkers", italianStart, ""},
      {"American Checkers", kDefaultSetup, ""},
      {"Turkish Checkers", allMen, ""},
      {"Gothic Checkers", kingOnB1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.variant) + " " + c.setup);
    for (const bool analysis : {false, true}) {
      testing::HostedGame t;
      GameState& g = *t.g;
      g.ProgramFolder = M8_BIN_DIR;
      std::string error;
      bool ok;
      if (analysis) {
        ok = SetupAnalysisPosition(g, c.variant, c.setup, 1, &error);
      } else {
        ASSERT_TRUE(SetupVariantStart(g, c.variant, &error)) << error;
        ok = SetupPerftPosition(g, c.setup, 1, &error);
      }
      EXPECT_EQ(ok, !*c.says) << error;
      if (ok) {
        EXPECT_EQ(BoardToSetupString(g.board), c.setup);
      } else {
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        if (analysis) {
          EXPECT_EQ(error.rfind("--setup: ", 0), 0u) << error;
        }
      }
    }
  }
}

// The analysis set-up names the command-line option in its message and
// starts nothing when the digits are bad.
TEST(SetupAnalysisPosition, BadDigitsNameTheOption) {
  testing::HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = M8_BIN_DIR;
  std::string error;
  EXPECT_FALSE(SetupAnalysisPosition(g, "Russian Checkers", "123", -1, &error));
  EXPECT_EQ(error.rfind("--setup: ", 0), 0u) << error;
  EXPECT_NE(error.find("it has 3"), std::string::npos) << error;
  EXPECT_NE(g.Rules.Variant, "Russian Checkers");
  EXPECT_FALSE(SetupAnalysisPosition(g, "No Such Checkers", kDefaultSetup, -1, &error));
  EXPECT_NE(error.find("No Such Checkers"), std::string::npos) << error;
}

// A variant file that cannot be read: both tools say what is wrong with it,
// and where, as the program itself would.
class ToolVariantTest : public testing::FilesTest {};

TEST_F(ToolVariantTest, ABrokenVariantFileIsNamedWithItsFault) {
  std::string text = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/Russian Checkers.ini").value_or("");
  const size_t end = text.rfind("END");
  ASSERT_NE(end, std::string::npos);
  Write("variants/Broken Checkers.ini", text.erase(end));
  std::string error;
  EXPECT_FALSE(SetupVariantStart(g, "Broken Checkers", &error));
  EXPECT_NE(error.find("Broken Checkers.ini"), std::string::npos) << error;
  EXPECT_NE(error.find("the file has no line END."), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(SetupAnalysisPosition(g, "Broken Checkers", "", -1, &error));
  EXPECT_NE(error.find("Broken Checkers.ini"), std::string::npos) << error;
  EXPECT_NE(error.find("the file has no line END."), std::string::npos) << error;
}

}  // namespace
}  // namespace m8
