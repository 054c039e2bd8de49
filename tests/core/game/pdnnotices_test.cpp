// What loading a game file tells the user, and what a saved PDN game tells
// other programs: results cut short, set-ups of larger boards, warnings that
// are warnings and name their line, the GameType of a variant of the user's,
// and a finished game that loads without the game-over pause of play.
#include <gtest/gtest.h>

#include <memory>

#include "core/files/gamefile.h"
#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/rules/movegen.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

class PdnNoticesTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }

  // Opens `bytes` as `name`; the last message when it is refused.
  bool Open(const std::string& name, const std::string& bytes) {
    Write(name, bytes);
    host.messages.clear();
    return LoadGame(g, kLoadOpen, Path(name), name);
  }

  // The game in hand saved as a new PDN file and read back by the reader:
  // the Result tag it was written with ("" when it could not be).
  std::string ResultSavedAgain() {
    std::filesystem::remove(Path("again.pdn"));
    if (!SaveGame(g, Path("again.pdn"), "again.pdn")) return "";
    PdnFile again;
    FileProblem problem;
    if (!ReadPdnFile(Read("again.pdn"), "again.pdn", again, problem) || again.games.size() != 1) return "";
    return again.games[0].tags.Result;
  }

  // A new game of a shipped variant, as the new-variant command starts it.
  void StartVariant(const std::string& name) {
    g.Flow.PositionPreset = 0;
    g.Rules.Variant = name;
    InitGame(g);
    ASSERT_EQ(g.Rules.Variant, name);
    g.Rules = g.VariantRules;
    InitGame(g);
  }
};

// Every result cut short by the end of the file is read alike: the moves load,
// the result is unknown unless a Result tag gives it, and one warning names
// the line.
TEST_F(PdnNoticesTest, AResultCutShortLoadsTheMovesWithOneWarning) {
  struct Case {
    const char* tail;
    const char* resultTag;  // "" for none
    const char* result;
  } cases[] = {
      {"0-", "", "*"},     {"1-", "", "*"},    {"2-", "", "*"},         {"1/2-", "", "*"},
      {"1/2-1/", "", "*"}, {"+/-", "", "*"},   {"1/2-", "1-0", "1-0"},  {"0-", "*", "*"},
      // Half of a draw's result, in digits or as the one character.
      {"1/2", "", "*"},    {"\xC2\xBD", "", "*"}, {"\xC2\xBD-", "", "*"}, {"1/2", "0-1", "0-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tail) + " / tag " + c.resultTag);
    std::string file = "[Event \"x\"]\n";
    if (*c.resultTag) file += std::string("[Result \"") + c.resultTag + "\"]\n";
    file += std::string("1. 11-15 22-17\n2. 8-11 ") + c.tail;
    ASSERT_TRUE(Open("cut.pdn", file)) << host.messages.back().text;
    EXPECT_EQ(g.Game.GameLength, 3);
    EXPECT_EQ(g.Flow.LoadedResult, c.result);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Warning");
    const std::string& text = host.messages[0].text;
    EXPECT_NE(text.find(std::string("cut.pdn, line ") + (*c.resultTag ? "4" : "3") + ": \"" + c.tail + "\""),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("cut short by the end of the file"), std::string::npos) << text;
  }
  // A whole result is no warning.
  ASSERT_TRUE(Open("whole.pdn", "[Event \"x\"]\n1. 11-15 22-17 0-1"));
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_EQ(g.Flow.LoadedResult, "0-1");
  ASSERT_TRUE(Open("whole.pdn", "[Event \"x\"]\n1. 11-15 22-17 \xC2\xBD-\xC2\xBD")) << host.messages.back().text;
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_EQ(g.Game.GameLength, 2);
  EXPECT_EQ(PdnStandardResult(g.Flow.LoadedResult), "1/2-1/2");
}

// Half a draw's result ending a game that another game follows is that
// draw, without a word; so is one the Result tag already gives, at the end
// of the file too. A result cut short where the next game begins is said to
// be cut short there, not by the end of the file. Each game reopens, and is
// saved again, with the result it was shown with.
TEST_F(PdnNoticesTest, HalfADrawIsADrawWhereNothingIsCutShort) {
  const std::string next = "\n\n[Event \"next\"]\n1. 9-13 22-18 0-1\n";
  struct Case {
    const char* name;
    std::string file;
    const char* result;   // the result shown, in its standard form
    const char* warning;  // "" for none
  } cases[] = {
      {"1/2 before the next game", "[Event \"x\"]\n1. 11-15 22-17\n2. 8-11 1/2" + next, "1/2-1/2", ""},
      {"\xC2\xBD before the next game", "[Event \"x\"]\n1. 11-15 22-17\n2. 8-11 \xC2\xBD" + next, "1/2-1/2", ""},
      {"1/2 and the Result tag's draw", "[Event \"x\"]\n[Result \"1/2-1/2\"]\n1. 11-15 22-17\n2. 8-11 1/2",
       "1/2-1/2", ""},
      {"1- and the Result tag's win", "[Event \"x\"]\n[Result \"1-0\"]\n1. 11-15 22-17\n2. 8-11 1-", "1-0", ""},
      {"1/2- before the next game", "[Event \"x\"]\n1. 11-15 22-17\n2. 8-11 1/2-" + next, "*",
       "cut.pdn, line 3: \"1/2-\" looks like the game's result, cut short by the end of the game's moves; the "
       "result is taken as unknown (*)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("cut.pdn", c.file);
    host.messages.clear();
    ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("cut.pdn"), "cut.pdn", [](const PdnFile&, bool, std::string*) {
      return 1;
    })) << host.messages.back().text;
    EXPECT_EQ(g.Game.GameLength, 3);
    std::string all;
    for (const auto& m : host.messages) all += m.text + "\n";
    if (*c.warning) {
      ASSERT_EQ(host.messages.size(), 1u) << all;
      EXPECT_EQ(host.messages[0].text.rfind(c.warning, 0), 0u) << host.messages[0].text;
    } else {
      EXPECT_TRUE(host.messages.empty()) << all;
    }
    EXPECT_EQ(PdnStandardResult(g.Flow.LoadedResult), c.result) << g.Flow.LoadedResult;
    // Saved again and read back: the result shown is the result kept.
    EXPECT_EQ(ResultSavedAgain(), c.result);
  }
}

// A Result tag that gives a draw as the one character "½" is that draw: shown
// as written, and saved again as the draw, never as an unknown result.
TEST_F(PdnNoticesTest, AHalfInTheResultTagIsKeptAsTheDraw) {
  for (const char* tag : {"\xC2\xBD", "\xC2\xBD-\xC2\xBD", "1/2", "\xC2\xBD:\xC2\xBD"}) {
    SCOPED_TRACE(tag);
    ASSERT_TRUE(Open("half.pdn", std::string("[Event \"x\"]\n[Result \"") + tag + "\"]\n1. 11-15 22-17 *\n"))
        << host.messages.back().text;
    EXPECT_EQ(g.Flow.LoadedResult, tag);
    EXPECT_EQ(ResultSavedAgain(), "1/2-1/2");
  }
}

// A FEN naming squares above 32 without a GameType says what it looks like;
// another bad FEN, or one whose GameType names the board, does not.
TEST_F(PdnNoticesTest, AFenOfALargerBoardIsNamedSo) {
  const std::string larger =
      "Its set-up names squares above 32 and it has no GameType tag: it looks like a game on a larger board.";
  struct Case {
    const char* tags;
    bool largerBoard;
  } cases[] = {
      {"[SetUp \"1\"]\n[FEN \"W:W31,32,45:B1,2\"]\n", true},
      {"[SetUp \"1\"]\n[FEN \"B:W21-48:B1-20\"]\n", true},
      {"[SetUp \"1\"]\n[FEN \"W:W31,3x:B1,2\"]\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tags);
    EXPECT_FALSE(Open("big.pdn", std::string("[Event \"x\"]\n") + c.tags + "1. 31-27 *\n"));
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& text = host.messages[0].text;
    EXPECT_EQ(text.rfind("Illegal Setup!", 0), 0u) << text;
    EXPECT_EQ(text.find(larger) != std::string::npos, c.largerBoard) << text;
  }
}

// The notices of a file that still loads are warnings; a tag's notice names
// the tag's own line, not the line the moves begin on.
TEST_F(PdnNoticesTest, WarningsAreTitledSoAndNameTheTagsLine) {
  ASSERT_TRUE(Open("long.pdn", "[Event \"x\"]\n[Site \"Hall\"]\n[White \"" + std::string(300, 'w') +
                                   "\"]\n[Black \"Ann\"]\n\n1. 11-15 *\n"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Warning");
  EXPECT_NE(host.messages[0].text.find("long.pdn, game 1, line 3: the tag White is longer"), std::string::npos)
      << host.messages[0].text;

  std::string own = GameFileText(g);
  const size_t name = own.find("PlayerName=");
  ASSERT_NE(name, std::string::npos);
  own.insert(name + 11, std::string(300, 'n'));
  ASSERT_TRUE(Open("long.tvn", own));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Warning");

  // The rules tag two lines above the moves.
  EXPECT_FALSE(Open("rules.pdn", "[Event \"x\"]\n[Tavrin \"*American Checkers* 101 x\"]\n[Site \"Hall\"]\n\n"
                                 "1. 11-15 *\n"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("rules.pdn, game 1, line 2: the rules tag"), std::string::npos)
      << host.messages[0].text;
}

// Only the rules a shipped variant gives its game type go out under that
// GameType: a variant of the user's by the same name carries the rules tag
// alone, and a set-up with the other colour first keeps the GameType.
TEST_F(PdnNoticesTest, TheGameTypeIsWrittenForTheShippedRulesOnly) {
  struct Case {
    const char* name;
    const char* variant;
    void (*change)(GameState&);
    const char* gameType;  // "" for none
  } cases[] = {
      {"American", "American Checkers", nullptr, "21"},
      {"American, White first", "American Checkers", [](GameState& s) { s.Rules.BlackStarts = 0; }, "21"},
      {"American, capture optional", "American Checkers", [](GameState& s) { s.Rules.CapRequired = 0; }, ""},
      {"Russian", "Russian Checkers", nullptr, "25"},
      {"Russian, short kings", "Russian Checkers", [](GameState& s) { s.Rules.LongKings = 0; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartVariant(c.variant);
    if (c.change) {
      c.change(g);
      InitGame(g);
    }
    const std::string pdn = PdnGameText(g, "01/02/2026");
    const std::string tag = std::string("[GameType \"") + c.gameType + "\"]";
    EXPECT_EQ(pdn.find("[GameType ") != std::string::npos, *c.gameType != '\0') << pdn;
    if (*c.gameType) {
      EXPECT_NE(pdn.find(tag), std::string::npos) << pdn;
    }
  }
}

// A finished game ends at once when it is loaded; the half-second pause
// before the end belongs to play.
TEST_F(PdnNoticesTest, AFinishedGameLoadsWithoutTheGameOverPause) {
  const std::string won = "[Event \"x\"]\n[SetUp \"1\"]\n[FEN \"W:W18:B14\"]\n\n1. 18x9 1-0\n";
  Write("won.pdn", won);
  const double before = host.clock;
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("won.pdn"), "won.pdn"))
      << (host.messages.empty() ? "" : host.messages.back().text);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_EQ(g.Flow.GameResult, "1-0");
  EXPECT_LT(host.clock - before, 0.5);

  // The same move played: the board waits before the game ends.
  Write("start.pdn", "[Event \"x\"]\n[SetUp \"1\"]\n[FEN \"W:W18:B14\"]\n\n*\n");
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("start.pdn"), "start.pdn"))
      << (host.messages.empty() ? "" : host.messages.back().text);
  ASSERT_EQ(g.Flow.GameOver, 0);
  g.Opt.PlayMode = 1;
  const double played = host.clock;
  ResetPly(g);
  ASSERT_TRUE(GenerateLegalMoves(g));
  ASSERT_TRUE(EnterMoveIndex(g, g.P.PlyStart[0], MoveSource::Typed, MoveFollowUps{}));
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_GE(host.clock - played, 0.5);
}

}  // namespace
}  // namespace m8
