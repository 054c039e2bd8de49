// Files with monstrous lines: what the user is told stays short, and no field
// of a file grows a name (and with it the settings file) without bound.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/files_fixture.h"
#include "core/files/gamefile.h"
#include "core/files/gamesave.h"
#include "core/files/settings.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/textcode.h"

namespace m8 {
namespace {

const std::string kEllipsis = "\xE2\x80\xA6";

class LongFieldsTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }
  // The own game file of a fresh game with one piece of it replaced.
  std::string OwnFile(const std::string& piece, const std::string& by) {
    std::string text = GameFileText(g);
    const size_t at = text.find(piece);
    EXPECT_NE(at, std::string::npos) << piece;
    return at == std::string::npos ? text : text.replace(at, piece.size(), by);
  }
};

// A megabyte of Cyrillic junk in one line: the message quotes a short piece of
// it, whole characters followed by "…".
TEST_F(LongFieldsTest, AJunkLineGivesAShortMessage) {
  std::string junk;
  while (junk.size() < (1u << 20)) junk += "\xD0\x96";  // Ж
  std::string quoted;  // its first 40 characters and "…"
  for (int i = 0; i < 40; ++i) quoted += "\xD0\x96";
  quoted += kEllipsis;
  const struct {
    const char* name;
    const char* file;
    std::string text;
  } cases[] = {
      {"a move line", "junk.tvn", OwnFile("START\r\n", "START\r\n" + junk + "\r\n")},
      {"a variant name", "junk.tvn", OwnFile("Variant=*American Checkers*", "Variant=*" + junk + "*")},
      {"a movement line", "junk.tvn", OwnFile("Offset=\r\nNW;NE NW;NE\r\n", "Offset=\r\n" + junk + "\r\n")},
      {"a PDN move", "junk.pdn", "[Event \"Club\"]\r\n\r\n1. " + junk + " *\r\n"},
      {"a PDN rules tag", "junk.pdn", "[Tavrin \"*" + junk + "* 1\"]\r\n\r\n1. 11-15 *\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    Write(c.file, c.text);
    EXPECT_FALSE(LoadGame(g, kLoadOpen, Path(c.file), c.file));
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& text = host.messages[0].text;
    EXPECT_LT(text.size(), 400u) << text.substr(0, 400);
    EXPECT_NE(text.find(quoted), std::string::npos) << text.substr(0, 400);
    EXPECT_TRUE(IsValidUtf8(text));
  }
}

// A 4 MB player's name in a game file becomes the first 200 characters, the
// user is told, and the settings saved after it read back whole.
TEST_F(LongFieldsTest, AHugePlayerNameIsCutAndTheSettingsSurviveIt) {
  g.Opt.SkinName = "Walnut";
  g.Opt.Weakness = 6;
  Write("name.tvn", OwnFile("PlayerName=Player\r\n", "PlayerName=" + std::string(4u << 20, 'n') + "\r\n"));
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("name.tvn"), "name.tvn"));
  EXPECT_EQ(g.Opt.UserName, std::string(200, 'n'));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("name.tvn, line "), std::string::npos) << host.messages[0].text;
  EXPECT_NE(host.messages[0].text.find(": the player's name is longer than 200 characters; its first 200 are used."),
            std::string::npos)
      << host.messages[0].text;

  ASSERT_TRUE(SaveSettings(g));
  GameState next;
  Restart(next);
  host.messages.clear();
  EXPECT_TRUE(LoadSettings(next).accepted);
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_EQ(next.Opt.UserName, g.Opt.UserName);
  EXPECT_EQ(next.Opt.SkinName, "Walnut");
  EXPECT_EQ(next.Opt.Weakness, 6);
}

// PDN names, events and sites are one-line fields too; a set-up is not.
TEST_F(LongFieldsTest, LongPdnTagsAreCutAndNamed) {
  const std::string fen = "B:W21,22,23,24,25,26,27,28,29,30,31,32:B1,2,3,4,5,6,7,8,9,10,11,12";
  Write("long.pdn", "[Event \"" + std::string(1000, 'e') + "\"]\r\n[Site \"Hall\"]\r\n[White \"" +
                        std::string(300, 'w') + "\"]\r\n[Black \"Ann\"]\r\n[SetUp \"1\"]\r\n[FEN \"" + fen +
                        "\"]\r\n\r\n1. 11-15 *\r\n");
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("long.pdn"), "long.pdn")) << host.messages.back().text;
  EXPECT_EQ(g.Header.GameEvent, std::string(200, 'e'));
  EXPECT_EQ(g.Header.GameWhite, std::string(200, 'w'));
  EXPECT_EQ(g.Flow.PlayerName2, std::string(200, 'w'));
  EXPECT_EQ(g.Header.GameBlack, "Ann");
  EXPECT_EQ(g.Header.GameFen, fen);
  ASSERT_EQ(host.messages.size(), 1u);
  const auto& text = host.messages[0].text;
  EXPECT_NE(text.find("the tag Event is longer than 200 characters"), std::string::npos) << text;
  EXPECT_NE(text.find("the tag White is longer than 200 characters"), std::string::npos) << text;
  EXPECT_EQ(text.find("Black"), std::string::npos) << text;
}

}  // namespace
}  // namespace m8
