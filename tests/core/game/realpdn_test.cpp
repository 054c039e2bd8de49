// PDN as other programs and other draughts communities write it, and text in
// any language kept through every file the program reads and writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/files/diagram.h"
#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/files/settings.h"
#include "core/files/skin.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/textcode.h"
#include "core/files_fixture.h"
#include "core/game/shippedvariants_fixture.h"

namespace m8 {
namespace {

const std::string kChinese = "J\xC3\xBCrgen \xE5\xBC\xA0\xE4\xBC\x9F";               // Jürgen 张伟
const std::string kCyrillic = "\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9";  // Сергей
const std::string kIvanov = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2";    // Иванов
const std::string kCyrillic1251 = "\xD1\xE5\xF0\xE3\xE5\xE9";                          // the same in Windows-1251
const std::string kIvanov1251 = "\xC8\xE2\xE0\xED\xEE\xE2";

class RealPdnTest : public testing::ShippedVariantsTest {
 protected:
  void SetUp() override {
    ShippedVariantsTest::SetUp();
    InitGame(g);
  }

  // Loads game `number` of a PDN file as the open dialog does.
  bool Load(GameState& s, const std::string& bytes, int number = 1) {
    Write("real.pdn", bytes);
    host.messages.clear();
    PdnChooser pick = [number](const PdnFile&, bool, std::string*) { return number; };
    return LoadGame(s, kLoadOpen, Path("real.pdn"), "real.pdn", pick);
  }

  std::string LastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }

  // Three plies of American Checkers with comments, one on the final position.
  void PlayShortGame(GameState& s) {
    s.Opt.Notation = 1;
    for (const char* move : {"1115", "2319", "0811"}) {
      ASSERT_TRUE(PlayMoveString(s, move)) << move;
      RecordGameMove(s, s.P.MoveList[s.P.PlayedMoveIndex]);
      ResetPly(s);
    }
    s.Flow.GameStarted = 1;
  }
};

// Each file reaches the position of the same game written plainly.
TEST_F(RealPdnTest, RealWorldShapesReachTheirPositions) {
  struct Case {
    const char* what;
    std::string pdn;
    int number;  // the game of the file
    std::string plain;
    int plies;
  } cases[] = {
      {"blanks and a tab in tags", "[Event  \"Club\" ]\n[Black\t\"Ann\"]\n[ White \"Bob\"]\n\n1. 11-15 23-19 2. 8-11 *\n",
       1, "1. 11-15 23-19 2. 8-11 *", 3},
      {"NAGs and nested variations",
       "[Event \"x\"]\n1. 11-15 $1 (1. 9-14 (1. 10-14 22-17) 22-18 {see [Event \"no\"]}) 23-19 $14\n"
       "2. 8-11! {main} (2. 9-14? 22-18) 22-17 *\n",
       1, "1. 11-15 23-19 2. 8-11 22-17 *", 4},
      {"a comment over two lines, the second beginning with [",
       "[Event \"x\"]\n1. 11-15 {a comment\n[Event \"no\"] goes on} 23-19 *\n", 1, "1. 11-15 23-19 *", 2},
      {"FEN with ranges, kings and a move-number suffix",
       "[SetUp \"1\"]\n[FEN \"W:W21-23,K30:BK5,6-7:H0:F1\"]\n\n1. 30-26 7-10 *\n", 1,
       "[FEN \"W:W21,22,23,K30:BK5,6,7\"]\n1. 30-26 7-10 *", 2},
      {"2-0 ends the moves", "[Event \"x\"]\n1. 11-15 23-19 2-0\n", 1, "1. 11-15 23-19 *", 2},
      {"1-1 ends the moves", "[Event \"x\"]\n1. 11-15 23-19 2. 8-11 1-1\n", 1, "1. 11-15 23-19 2. 8-11 *", 3},
      {"0-2 ends the moves", "[Event \"x\"]\n1. 11-15 0-2\n", 1, "1. 11-15 *", 1},
      {"1:0 ends the moves", "[Event \"x\"]\n1. 11-15 23-19 2. 8-11 1:0\n", 1, "1. 11-15 23-19 2. 8-11 *", 3},
      {"NUL bytes count as blanks", std::string("[Event \"x\"]\n1. 11-15 \0 23-19 *\n", 31), 1,
       "1. 11-15 23-19 *", 2},
      {"a game after a result on the same line",
       "[Event \"A\"]\n1. 11-15 23-19 1-0 [Event \"B\"]\n[Black \"Cy\"]\n\n1. 9-14 22-18 *\n", 2, "1. 9-14 22-18 *",
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto plain = Fresh();
    ASSERT_TRUE(Load(*plain, "[Event \"plain\"]\n" + c.plain + "\n")) << LastMessage();
    auto real = Fresh();
    EXPECT_TRUE(Load(*real, c.pdn, c.number)) << LastMessage();
    EXPECT_EQ(real->Game.GameLength, c.plies);
    EXPECT_EQ(plain->Game.GameLength, c.plies);
    EXPECT_EQ(BoardToSetupString(*real), BoardToSetupString(*plain));
    EXPECT_EQ(real->StartBoard, plain->StartBoard);
    EXPECT_EQ(real->P.SideToMove, plain->P.SideToMove);
  }
}

TEST_F(RealPdnTest, TagsAndResultsOfRealFiles) {
  const std::string pdn =
      std::string("[Event  \"Club\" ]\n[Black\t\"Ann\"]\n[ White \"Bob\"]\n[Site \"The \\\"Big\\\" Hall\"]\n\n"
      "1. 11-15 23-19 1-0 [Event \"B\"] [Result \"1-1\"]\n[Black \"Cy\"]\n\n1. 9-14 22-18 1-1\n\n"
      "[Event \"C\"]\n1. 9-14 22-18 {end} 0-2 {after}\n\n"
      "[Event \"D\"]\n1. 11-15 *\n\n"
      "[Event \"E\"]\n") +
      std::string("[Black \"Na\0me\"]\n", 16) + "1. 11-15 2-0\n\n" +
      "[Event \"F\"]\n1. 11-15 {a comment left open\n\n[Event \"G\"]\n1. 9-14 *\n";
  PdnFile file;
  FileProblem p;
  ASSERT_TRUE(ReadPdnFile(pdn, "real.pdn", file, p)) << p.text;
  ASSERT_EQ(file.games.size(), 7u);
  const PdnTags& a = file.games[0].tags;
  EXPECT_EQ(a.Event, "Club");
  EXPECT_EQ(a.Black, "Ann");
  EXPECT_EQ(a.White, "Bob");
  EXPECT_EQ(a.Site, "The \"Big\" Hall");
  EXPECT_EQ(a.Result, "1-0") << "no Result tag: the result that ends the moves";
  EXPECT_EQ(file.games[0].moveText, "1. 11-15 23-19 1-0");
  EXPECT_EQ(file.games[1].tags.Event, "B");
  EXPECT_EQ(file.games[1].tags.Black, "Cy");
  EXPECT_EQ(file.games[1].tags.Result, "1-1");
  EXPECT_EQ(file.games[2].tags.Result, "0-2");
  EXPECT_EQ(file.games[3].tags.Result, "*");
  EXPECT_EQ(file.games[4].tags.Black, "Na me");
  EXPECT_EQ(PdnRowColumns(file.games[4].tags)[3], "2-0");
  EXPECT_EQ(file.games[6].tags.Event, "G") << "an open comment does not hide the next game";

  // The result shown after loading is the one the file gives.
  ASSERT_TRUE(Load(g, pdn, 1)) << LastMessage();
  EXPECT_EQ(g.Flow.LoadedResult, "1-0");
  EXPECT_EQ(g.Header.GameSite, "The \"Big\" Hall");
  // Written back, a quote in a value is escaped and reads the same.
  const std::string written = PdnGameText(g, "01/02/2026");
  EXPECT_NE(written.find("[Site \"The \\\"Big\\\" Hall\"]"), std::string::npos);
  EXPECT_NE(written.find("[Result \"1-0\"]"), std::string::npos);
  ASSERT_TRUE(ReadPdnFile(written, "w.pdn", file, p));
  EXPECT_EQ(file.games[0].tags.Site, "The \"Big\" Hall");
}

TEST_F(RealPdnTest, FenSectionsOtherThanTheColoursPlaceNothing) {
  FenPosition f;
  EXPECT_FALSE(ParseFen("W:W1:B12-10", f)) << "a range does not run backwards";
  ASSERT_TRUE(ParseFen("W:WK1-K3, 5 :B10-12:H0:F1", f));
  ASSERT_EQ(f.pieces.size(), 7u);
  EXPECT_EQ(f.pieces[0].value, 2);
  EXPECT_EQ(f.pieces[2].number, 3);
  EXPECT_EQ(f.pieces[2].value, 2);
  EXPECT_EQ(f.pieces[3].number, 5);
  EXPECT_EQ(f.pieces[3].value, 1);
  EXPECT_EQ(f.pieces.back().number, 12);
  EXPECT_EQ(f.pieces.back().value, -1);
}

// The text of every file in the names' own letters: UTF-8 bytes are read as
// UTF-8, anything else as Windows-1251 when its letters form Cyrillic words
// (Russian collections) and as Windows-1252 otherwise.
TEST_F(RealPdnTest, NamesOfRealFilesInEveryEncoding) {
  const std::string utf8 = "\xEF\xBB\xBF[Event \"\xD0\xA7\xD0\xB5\xD0\xBC\xD0\xBF\"]\n[White \"" + kCyrillic +
                           "\"]\n[Black \"" + kChinese + "\"]\n\n1. 11-15 {" + kCyrillic + "} 23-19 *\n";
  const std::string western = "[Event \"Caf\xE9\"]\n[White \"Ren\xE9\"]\n[Black \"J\xFCrg\"]\n\n1. 11-15 {\x93" "d\xE9j\xE0\x94} 23-19 *\n";
  const std::string windows1251 = "[Event \"\xD7\xE5\xEC\xEF\"]\n[White \"" + kCyrillic1251 + "\"]\n[Black \"" +
                                  kIvanov1251 + "\"]\n\n1. 11-15 {\xD5\xEE\xE4} 23-19 *\n";
  struct Case {
    std::string bytes, event, white, black, comment;
  } cases[] = {
      {utf8, "\xD0\xA7\xD0\xB5\xD0\xBC\xD0\xBF", kCyrillic, kChinese, kCyrillic},
      {western, "Caf\xC3\xA9", "Ren\xC3\xA9", "J\xC3\xBCrg", "\xE2\x80\x9C" "d\xC3\xA9j\xC3\xA0\xE2\x80\x9D"},
      {windows1251, "\xD0\xA7\xD0\xB5\xD0\xBC\xD0\xBF", kCyrillic, kIvanov, "\xD0\xA5\xD0\xBE\xD0\xB4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.white);
    PdnFile file;
    FileProblem p;
    ASSERT_TRUE(ReadPdnFile(c.bytes, "names.pdn", file, p)) << p.text;
    EXPECT_EQ(PdnRowText(file.games[0].tags), c.event);
    EXPECT_EQ(PdnRowColumns(file.games[0].tags)[1], c.black);
    ASSERT_TRUE(Load(g, c.bytes)) << LastMessage();
    EXPECT_EQ(g.Header.GameEvent, c.event);
    EXPECT_EQ(g.Header.GameWhite, c.white);
    EXPECT_EQ(g.Flow.PlayerName2, c.white);
    EXPECT_EQ(g.Flow.PlayerName1, c.black);
    EXPECT_EQ(g.Game.PlyComments[1], c.comment);
  }
}

TEST_F(RealPdnTest, UnicodeNamesRoundTripThroughOwnFilePdnAndSettings) {
  for (const std::string& name : {kChinese, kCyrillic}) {
    SCOPED_TRACE(name);
    auto s = Fresh();
    PlayShortGame(*s);
    s->Opt.UserName = name;
    s->Header.GameBlack = name;
    s->Header.GameWhite = kCyrillic;
    s->Header.GameEvent = name;
    s->Game.PlyComments[1] = name + "\nsecond line";
    s->Game.PlyComments[3] = "final " + name;

    std::filesystem::remove(Path("own.tvn"));
    ASSERT_TRUE(SaveGame(*s, Path("own.tvn"), "own.tvn"));
    EXPECT_TRUE(IsValidUtf8(Read("own.tvn"))) << "a name beyond Latin-1 makes the whole file UTF-8";
    auto own = Fresh();
    ASSERT_TRUE(LoadGame(*own, kLoadOpen, Path("own.tvn"), "own.tvn")) << LastMessage();
    EXPECT_EQ(own->Opt.UserName, name);
    EXPECT_EQ(own->Game.PlyComments[1], name + "\nsecond line");
    EXPECT_EQ(own->Game.PlyComments[3], "final " + name);
    EXPECT_EQ(own->Game.GameLength, 3);

    std::filesystem::remove(Path("games.pdn"));
    ASSERT_TRUE(SaveGame(*s, Path("games.pdn"), "games.pdn"));
    const std::string bytes = Read("games.pdn");
    EXPECT_NE(bytes.find("[Black \"" + name + "\"]"), std::string::npos) << "PDN is written as UTF-8";
    auto pdn = Fresh();
    ASSERT_TRUE(LoadGame(*pdn, kLoadOpen, Path("games.pdn"), "games.pdn")) << LastMessage();
    EXPECT_EQ(pdn->Header.GameBlack, name);
    EXPECT_EQ(pdn->Header.GameWhite, kCyrillic);
    EXPECT_EQ(pdn->Header.GameEvent, name);
    EXPECT_EQ(pdn->Flow.PlayerName1, name);
    EXPECT_EQ(pdn->Game.PlyComments[1], name + "  second line");
    EXPECT_EQ(pdn->Game.PlyComments[3], "final " + name) << "the final position's comment is kept";
    EXPECT_EQ(pdn->Game.GameLength, 3);

    GameState settings;
    SetDefaultSettings(settings);
    settings.Opt.UserName = name;
    const std::string text = SettingsText(settings);
    EXPECT_TRUE(IsValidUtf8(text));
    GameState back;
    SetDefaultSettings(back);
    ASSERT_TRUE(ParseSettingsText(back, text).accepted);
    EXPECT_EQ(back.Opt.UserName, name);
  }
}

// Files whose every character fits Latin-1 are written in Latin-1 as before,
// and read back and written again byte for byte.
TEST_F(RealPdnTest, LatinOneOwnFilesStayByteIdentical) {
  PlayShortGame(g);
  g.Opt.UserName = "J\xC3\xBCrgen";
  g.Game.PlyComments[1] = "caf\xC3\xA9\nnoir";
  const std::string text = GameFileText(g);
  EXPECT_NE(text.find("\r\nPlayerName=J\xFCrgen\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n{caf\xE9\xFF\xFFnoir}\r\n"), std::string::npos);
  Write("old.tvn", text);
  auto t = Fresh();
  ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("old.tvn"), "old.tvn")) << LastMessage();
  EXPECT_EQ(t->Opt.UserName, "J\xC3\xBCrgen");
  EXPECT_EQ(t->Game.PlyComments[1], "caf\xC3\xA9\nnoir");
  EXPECT_EQ(GameFileText(*t), text);

  GameState s;
  SetDefaultSettings(s);
  s.Opt.UserName = "Ren\xC3\xA9";
  const std::string settings = SettingsText(s);
  EXPECT_NE(settings.find("\r\nRen\xE9\r\n"), std::string::npos);
  GameState back;
  SetDefaultSettings(back);
  ASSERT_TRUE(ParseSettingsText(back, settings).accepted);
  EXPECT_EQ(back.Opt.UserName, "Ren\xC3\xA9");
  EXPECT_EQ(SettingsText(back), settings);
}

// A game added to a PDN file that is not UTF-8 joins it in the file's code
// page (Windows-1252 or Windows-1251); the file becomes UTF-8, its old names
// kept in their letters, only for a name that code page cannot write, and
// only when the user agrees.
TEST_F(RealPdnTest, GamesAddedToAPdnFileKeepItInOneEncoding) {
  struct Case {
    std::string old, oldEvent, oldBlack;  // the file's first game, and its tags as read
    std::string joins, joinsBytes;        // a name the code page writes, and its bytes
    std::string wide;                     // a name it cannot write
  } cases[] = {
      {"[Event \"Caf\xE9\"]\r\n[Black \"Fran\xE7ois Dupr\xE9\"]\r\n\r\n1. 11-15 *\r\n", "Caf\xC3\xA9",
       "Fran\xC3\xA7ois Dupr\xC3\xA9", "J\xC3\xBCrgen", "J\xFCrgen", kChinese},
      {"[Event \"\xD7\xE5\xEC\xEF\"]\r\n[Black \"" + kCyrillic1251 + "\"]\r\n\r\n1. 11-15 *\r\n",
       "\xD0\xA7\xD0\xB5\xD0\xBC\xD0\xBF", kCyrillic, kIvanov, kIvanov1251, "J\xC3\xBCrgen"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.oldEvent);
    Write("club.pdn", c.old);
    auto s = Fresh();
    PlayShortGame(*s);
    s->Header.GameBlack = c.joins;
    ASSERT_TRUE(SaveGame(*s, Path("club.pdn"), "club.pdn"));
    std::string bytes = Read("club.pdn");
    EXPECT_EQ(bytes.substr(0, c.old.size()), c.old);
    EXPECT_NE(bytes.find("[Black \"" + c.joinsBytes + "\"]"), std::string::npos);

    s->Header.GameBlack = c.wide;
    host.answer = true;
    const std::string before = bytes;
    ASSERT_TRUE(SaveGame(*s, Path("club.pdn"), "club.pdn"));
    EXPECT_EQ(Read("club.pdn.bak"), before);
    std::filesystem::remove(Path("club.pdn.bak"));
    host.answer = false;
    bytes = Read("club.pdn");
    ASSERT_TRUE(IsValidUtf8(bytes));
    PdnFile file;
    FileProblem p;
    ASSERT_TRUE(ReadPdnFile(bytes, "club.pdn", file, p));
    ASSERT_EQ(file.games.size(), 3u);
    EXPECT_EQ(file.games[0].tags.Event, c.oldEvent);
    EXPECT_EQ(file.games[0].tags.Black, c.oldBlack);
    EXPECT_EQ(file.games[1].tags.Black, c.joins);
    EXPECT_EQ(file.games[2].tags.Black, c.wide);
  }
}

TEST_F(RealPdnTest, DiagramDeclaresItsCharset) {
  g.Variant.LoadedVariantName = kCyrillic;
  g.Flow.CommentText = kChinese;
  const std::string html = DiagramHtml(g);
  EXPECT_NE(html.find("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n<TITLE>"),
            std::string::npos);
  EXPECT_NE(html.find("<TITLE>" + kCyrillic + "</TITLE>"), std::string::npos);
  EXPECT_NE(html.find("\r\n" + kChinese + "\r\n"), std::string::npos);
}

TEST_F(RealPdnTest, SkinPictureNamesInLatinOne) {
  Write("skins/Mine.ini", "dark_square=d\xE4rk.bmp\r\nEND\r\n");
  Write("skins/Mine/d\xC3\xA4rk.bmp", "BM");
  g.Opt.SkinName = "Mine";
  ASSERT_TRUE(LoadSkin(g)) << LastMessage();
  const std::string& picture = g.Skin.Pictures[static_cast<int>(SkinPicture::DarkSquare)];
  EXPECT_TRUE(picture.ends_with("/d\xC3\xA4rk.bmp")) << picture;
}

// The bound is named wherever a file meets it: opening, adding a game and
// the command-line reader.
TEST_F(RealPdnTest, FilesOverSixteenMegabytesAreRefusedAsTooLarge) {
  Write("big.pdn", "[Event \"x\"]\n1. 11-15 *\n" + std::string((16u << 20) + 1, ' '));
  EXPECT_FALSE(LoadGame(g, kLoadOpen, Path("big.pdn"), "big.pdn"));
  EXPECT_NE(LastMessage().find("big.pdn is too large"), std::string::npos) << LastMessage();
  EXPECT_NE(LastMessage().find("at most 16 MB"), std::string::npos) << LastMessage();
  PlayShortGame(g);
  EXPECT_FALSE(SaveGame(g, Path("big.pdn"), "big.pdn"));
  EXPECT_NE(LastMessage().find("big.pdn is too large"), std::string::npos) << LastMessage();
  EXPECT_NE(LastMessage().find("at most 16 MB"), std::string::npos) << LastMessage();

  const std::string tool = std::string(M8_BIN_DIR) + "/morventa8-pdn";
  ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is missing beside the tests";
  FILE* pipe = popen((tool + " " + Path("big.pdn") + " 2>&1").c_str(), "r");
  ASSERT_TRUE(pipe);
  std::string said;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe)) said += buffer;
  EXPECT_NE(pclose(pipe), 0);
  EXPECT_NE(said.find("big.pdn is too large"), std::string::npos) << said;
  EXPECT_NE(said.find("at most 16 MB"), std::string::npos) << said;
}

}  // namespace
}  // namespace m8
