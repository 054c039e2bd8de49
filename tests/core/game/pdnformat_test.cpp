// PDN as written and read: the GameType tag, results ending the moves,
// comments in a row, the line wrap, games under random colours, and the
// command-line reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/game/domoves.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

// A clock that moves on at every reading, so that every game set-up seeds
// the random generator differently.
class TickingHost : public testing::RecordingHost {
 public:
  double secondsSinceMidnight() override { return seconds += 0.013; }
  double seconds = 1000.0;
};

class PdnFormatTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    // The shipped variants, and room for one of the test's own.
    std::filesystem::create_directories(folder / "variants");
    for (const auto& e : std::filesystem::directory_iterator(std::string(M8_DATA_DIR) + "/variants"))
      if (e.is_regular_file())
        std::filesystem::create_symlink(e.path(), folder / "variants" / e.path().filename());
    g.host = &ticking;
    InitGame(g);
  }

  PdnGame Game(const std::string& moveText) {
    PdnGame game;
    game.moveText = moveText;
    game.firstLine = 1;
    game.lineStarts.emplace_back(0, 1);
    return game;
  }

  std::vector<GameFileItem> Split(const std::string& moveText) {
    std::vector<GameFileItem> items;
    FileProblem p;
    EXPECT_TRUE(SplitPdnMoves(Game(moveText), "t.pdn", items, p)) << p.text;
    return items;
  }

  static int Moves(const std::vector<GameFileItem>& items) {
    int n = 0;
    for (const auto& i : items) n += i.comment ? 0 : 1;
    return n;
  }

  TickingHost ticking;
};

TEST_F(PdnFormatTest, GameTypeNumbersReachTheShippedVariants) {
  struct Case {
    const char* value;
    const char* variant;  // "" refused
    const char* named;    // in the reason
  } cases[] = {
      {"21", "American Checkers", ""},
      {"21,B,8,8,N1,0", "American Checkers", ""},
      {"22", "Italian Checkers", ""},
      {"23", "Pool Checkers", ""},
      {"23,W,8,8,A0,0", "Pool Checkers", ""},
      {"25", "Russian Checkers", ""},
      {"26", "German Checkers", ""},
      {"30", "Turkish Checkers", ""},
      {"20", "", "International Checkers on the 10x10 board"},
      {"20,W,10,10,N2,0", "", "International Checkers"},
      {"27", "", "Canadian Checkers on the 12x12 board"},
      {"40", "", "Frisian Checkers"},
      {"25,W,10,10,N2,0", "", "on the 10x10 board"},
      {"99", "", "game type 99"},
      {"0", "", "game type 0"},
      {"abc", "", "GameType \"abc\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::string variant, why;
    const bool ok = PdnGameTypeVariant(c.value, &variant, &why);
    EXPECT_EQ(ok, *c.variant != '\0');
    if (ok) {
      EXPECT_EQ(variant, c.variant);
      EXPECT_TRUE(std::filesystem::exists(folder / "variants" / (variant + ".ini")));
    } else {
      EXPECT_NE(why.find(c.named), std::string::npos) << why;
    }
  }
  EXPECT_EQ(PdnGameTypeNumber("Pool Checkers"), 23);
  EXPECT_EQ(PdnGameTypeNumber("German Checkers"), 26);
  EXPECT_EQ(PdnGameTypeNumber("Gothic Checkers"), 0);

  // Loading: Pool Checkers is played; a 10x10 game and a variant file that is
  // not there are refused with their reason, and the game in hand stays.
  Write("pool.pdn", "[Event \"x\"]\n[GameType \"23\"]\n1. 11-15 *\n");
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("pool.pdn"), "pool.pdn"));
  EXPECT_EQ(g.Rules.Variant, "Pool Checkers");
  EXPECT_EQ(g.Rules.LongKings, 1);
  EXPECT_EQ(g.Game.GameLength, 1);
  const Board before = g.board;
  struct Refused {
    std::string bytes, openAs, expect;
  } refused[] = {
      {"[Event \"x\"]\n[GameType \"20\"]\n1. 32-28 *\n", "", "International Checkers"},
      {"[Event \"x\"]\n[GameType \"77\"]\n1. 11-15 *\n", "", "game type 77"},
      {"[Event \"x\"]\n1. 11-15 *\n", "Nowhere Checkers", "Nowhere Checkers"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.expect);
    Write("bad.pdn", r.bytes);
    ticking.messages.clear();
    PdnChooser choose = [&](const PdnFile&, bool, std::string* openAs) {
      *openAs = r.openAs;
      return 1;
    };
    EXPECT_FALSE(LoadGame(g, kLoadOpen, Path("bad.pdn"), "bad.pdn", choose));
    ASSERT_EQ(ticking.messages.size(), 1u);
    EXPECT_NE(ticking.messages[0].text.find(r.expect), std::string::npos) << ticking.messages[0].text;
    EXPECT_EQ(g.Rules.Variant, "Pool Checkers");
    EXPECT_EQ(g.board, before);
  }
}

// With RndColor in force the game's own moves decide who began: the game
// loads every time, under either colour, and nothing is lost.
TEST_F(PdnFormatTest, RandomColoursAgreeBetweenTrialAndReplay) {
  std::string ini = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/American Checkers.ini").value_or("");
  const size_t at = ini.find("RndColor=0");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 10, "RndColor=1");
  Write("variants/Random Checkers.ini", ini);
  PdnChooser openAs = [](const PdnFile&, bool, std::string* name) {
    *name = "Random Checkers";
    return 1;
  };
  struct Case {
    const char* moves;
    int firstMover;
  } cases[] = {{"1. 11-15 23-19 2. 8-11 *", -1}, {"1. 22-18 11-15 2. 18x11 8x15 *", 1}};
  for (const auto& c : cases)
    for (int round = 0; round < 8; ++round) {
      SCOPED_TRACE(std::string(c.moves) + " round " + std::to_string(round));
      Write("r.pdn", std::string("[Event \"x\"]\n") + c.moves + "\n");
      ticking.messages.clear();
      ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("r.pdn"), "r.pdn", openAs))
          << (ticking.messages.empty() ? "" : ticking.messages.back().text);
      EXPECT_TRUE(ticking.messages.empty());
      EXPECT_EQ(g.Rules.Variant, "Random Checkers");
      EXPECT_EQ(g.Rules.BlackStarts, c.firstMover == -1 ? 1 : 0);
      EXPECT_EQ(g.Rules.BlackStarts, g.VariantRules.BlackStarts);
      EXPECT_GE(g.Game.GameLength, 3);
    }
}

// Colours drawn in the game in hand (RndColor in force) are no part of the
// file's rules: a good game opens every time under its own first mover,
// whether its GameType tag or the "Open as" list names the variant, and a
// refused game leaves the game in hand exactly as it was.
TEST_F(PdnFormatTest, RandomColoursInForceNeitherRefuseAGoodGameNorLoseTheGameInHand) {
  Write("good.pdn", "[Event \"x\"]\n[GameType \"21\"]\n1. 11-15 23-19 2. 8-11 22-17 *\n");
  Write("plain.pdn", "[Event \"x\"]\n1. 11-15 23-19 2. 8-11 22-17 *\n");
  Write("bad.pdn", "[Event \"x\"]\n[GameType \"21\"]\n1. 11-15 23-19 2. 8-11 22-26 *\n");
  Write("badplain.pdn", "[Event \"x\"]\n1. 11-15 23-19 2. 8-11 22-26 *\n");
  // A variant that draws its colours itself: the retry with the other
  // colour runs, and fails as well.
  std::string ini = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/American Checkers.ini").value_or("");
  const size_t at = ini.find("RndColor=0");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 10, "RndColor=1");
  Write("variants/Random Checkers.ini", ini);
  struct Case {
    const char* file;
    const char* openAs;
    bool loads;
  } cases[] = {{"good.pdn", "", true},
               {"plain.pdn", "American Checkers", true},
               {"bad.pdn", "", false},
               {"plain.pdn", "", true},
               {"badplain.pdn", "Random Checkers", false}};
  for (const auto& c : cases)
    for (int round = 0; round < 12; ++round) {
      SCOPED_TRACE(std::string(c.file) + " as \"" + c.openAs + "\" round " + std::to_string(round));
      PdnChooser choose = [&](const PdnFile&, bool, std::string* name) {
        *name = c.openAs;
        return 1;
      };
      // The game in hand: American Checkers with drawn colours, one move in.
      ticking.seconds = 2000.0 + 7.31 * round;
      g.Flow.PositionPreset = 0;
      g.Rules = RuleSet{};
      g.Rules.RndColor = 1;
      InitGame(g);
      ResetPly(g);
      ASSERT_TRUE(GenerateLegalMoves(g));
      const MoveRecord m = g.P.MoveList[g.P.PlyStart[0]];
      ASSERT_TRUE(PlayMoveString(g, ToUpper(SquareNotation(g, m.From, 0) + SquareNotation(g, m.To, 0))));
      RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]);
      ResetPly(g);
      const Board board = g.board;
      const RuleSet rules = g.Rules;
      const std::string firstMove = g.Game.GameRecord[1][0];
      const int side = g.P.SideToMove;

      ticking.messages.clear();
      const bool loaded = LoadGame(g, kLoadOpen, Path(c.file), c.file, choose);
      ASSERT_EQ(loaded, c.loads) << (ticking.messages.empty() ? "" : ticking.messages.back().text);
      if (c.loads) {
        EXPECT_TRUE(ticking.messages.empty());
        EXPECT_EQ(g.Rules.Variant, "American Checkers");
        EXPECT_EQ(g.Rules.BlackStarts, 1);
        EXPECT_EQ(g.Game.GameLength, 4);
        continue;
      }
      ASSERT_EQ(ticking.messages.size(), 1u);
      EXPECT_NE(ticking.messages[0].text.find("Illegal move!"), std::string::npos) << ticking.messages[0].text;
      EXPECT_EQ(g.board, board);
      EXPECT_EQ(g.Rules, rules);
      EXPECT_EQ(g.Game.GameLength, 1);
      EXPECT_EQ(g.Game.GameRecord[1][0], firstMove);
      EXPECT_EQ(g.P.SideToMove, side);
    }
}

TEST_F(PdnFormatTest, EveryResultEndsTheMoves) {
  for (const char* result : {"1-0", "0-1", "1/2-1/2", "*", "2-0", "0-2", "1-1", "1:0", "0:1", "+-", "-+", "="}) {
    SCOPED_TRACE(result);
    const auto items = Split(std::string("1. 11-15 23-19 ") + result + " 2. 8-11 22-17");
    EXPECT_EQ(Moves(items), 2);
  }
}

TEST_F(PdnFormatTest, CommentsInARowBecomeOneWithALineEach) {
  const auto items = Split("{first}{second} {} { third } 1. 11-15 {after}{again} 23-19 *");
  ASSERT_EQ(items.size(), 4u);
  EXPECT_TRUE(items[0].comment);
  EXPECT_EQ(items[0].text, "first\nsecond\n\nthird");
  EXPECT_EQ(items[2].text, "after\nagain");

  // Many empty comments in a row: one comment of that many empty lines.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "{}";
  const auto empty = Split(many + " 1. 11-15 *");
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0].text, std::string(19999, '\n'));
}

// The move text is cut after the token that takes a line past 70 characters.
TEST_F(PdnFormatTest, MoveLinesWrapPastSeventyCharacters) {
  for (int p = 0; p < 40; ++p) {
    ResetPly(g);
    ASSERT_TRUE(GenerateLegalMoves(g));
    if (g.P.PlyStart[1] == g.P.PlyStart[0]) break;
    const MoveRecord m = g.P.MoveList[g.P.PlyStart[0] + p % (g.P.PlyStart[1] - g.P.PlyStart[0])];
    ASSERT_TRUE(PlayMoveString(g, ToUpper(SquareNotation(g, m.From, 0) + SquareNotation(g, m.To, 0))));
    RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]);
  }
  ResetPly(g);
  ASSERT_GE(g.Game.GameLength, 30);
  const auto lines = testing::CrLfLines(PdnGameText(g, "01/01/2026"));
  const size_t blank = std::find(lines.begin(), lines.end(), "") - lines.begin();
  ASSERT_LT(blank + 3, lines.size());
  const std::vector<std::string> moves(lines.begin() + static_cast<long>(blank) + 1, lines.end() - 1);
  ASSERT_GE(moves.size(), 3u);
  for (size_t i = 0; i + 1 < moves.size(); ++i) {
    SCOPED_TRACE(moves[i]);
    ASSERT_GT(moves[i].size(), 70u);
    EXPECT_EQ(moves[i].back(), ' ');
    // What stood before the last move (and its number) did not pass 70.
    std::string before = moves[i].substr(0, moves[i].rfind(' ', moves[i].size() - 2) + 1);
    const size_t word = before.rfind(' ', before.size() - 2);
    if (before.size() >= 2 && before[before.size() - 2] == '.')
      before.resize(word == std::string::npos ? 0 : word + 1);
    EXPECT_LE(before.size(), 70u);
  }
  EXPECT_EQ(lines.back(), "");
}

// The own format's 57 fixed lines, each key in its place.
TEST_F(PdnFormatTest, OwnFormatKeyLinesInTheirOrder) {
  const char* keys[] = {
      "TAVRIN Version=", "Variant=",      "Setup=",          "Book=",         "Notation=",      "MulJumps=",
      "MaxCapMove=",     "BlackStarts=",  "PromoW=",         "PromoB=",       "PiecesOnBlack=", "AntiMode=",
      "WinAtPromo=",     "MaxCapMoveKings=", "ManCapKing=",  "KingCapMove=",  "ManContJump=",   "LongKings=",
      "RemovePieces=",   "KingFirst=",    "ManCapMoveKing=", "KingWin=",      "MaxCapMoveK=",   "CapRequired=",
      "NoLegalDraw=",    "RemoveMen=",    "NumberMen=",      "DoMoves=",      "NumberMoves=",   "LastCap=",
      "ManKing=",        "KingMan=",      "ChangeSide=",     "ThreeKings=",   "NumberKings=",   "CapReverse=",
      "RndColor=",       "JumpFriend=",   "NumberFriends=",  "TwoKings=",     "NumberKings2=",  "NumberPieces=",
      "canContract=",    "ContractNumber=", "ContractW1=",   "ContractW2=",   "ContractB1=",    "ContractB2=",
      "UseClassic=",     "Offset=",       "NW;NE NW;NE",     "NW;NE NW;NE",   "NW;NE;SE;SW NW;NE;SE;SW",
      "NW;NE;SE;SW NW;NE;SE;SW", "ManContJumpCrowned=", "PlayerName=", "START"};
  g.Rules.NumberFriends = -1;
  const auto lines = testing::CrLfLines(GameFileText(g));
  ASSERT_EQ(lines.size(), std::size(keys));
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(StartsWith(lines[i], keys[i])) << i << ": " << lines[i];
  EXPECT_EQ(lines[38], "NumberFriends=-1");
  EXPECT_EQ(lines[49], "Offset=");
  EXPECT_EQ(lines[56], "START");
}

// A random opening move that ends the game is played but not written.
TEST_F(PdnFormatTest, DoMovesLeavesOutAGameEndingMove) {
  for (auto& cell : g.board)
    if (cell != kOffBoard) cell = 0;
  g.board[43] = 1;   // c3: a white man whose only move takes
  g.board[54] = -1;  // d4: Black's last piece
  g.P.SideToMove = 1;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.Rules.NumberMoves = 3;
  const auto lines = testing::CrLfLines(DoMovesFileText(g));
  EXPECT_EQ(lines.size(), 57u);
  EXPECT_EQ(lines.back(), "START");
  EXPECT_EQ(g.board[54], 0);  // the capture was played all the same
}

// morventa8-pdn prints one line per game.
TEST_F(PdnFormatTest, CommandLineReader) {
  const std::string tool = std::string(M8_BIN_DIR) + "/morventa8-pdn";
  ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is missing beside the tests";
  Write("games.pdn",
        "[Event \"one\"]\n[Result \"1-0\"]\n1. 11-15 23-19 2. 8-11 22-17 1-0\n\n"
        "[Event \"two\"]\n1. 11-15 23-19\n2. 8-12 22-17 *\n\n"
        "[Event \"three\"]\n[GameType \"20\"]\n1. 32-28 *\n\n"
        "[Event \"four\"]\n[GameType \"25\"]\n1. c3-d4 f6-g5 *\n");
  auto run = [&](const std::string& args, int* status) {
    FILE* pipe = popen((tool + " " + args + " 2>/dev/null").c_str(), "r");
    std::string text;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) text += buffer;
    *status = pipe ? pclose(pipe) : -1;
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  };
  int status = -1;
  const auto lines = run(Path("games.pdn"), &status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(lines.size(), 4u);
  // The first game ends where the program's own loader ends it.
  PdnChooser first = [](const PdnFile&, bool, std::string*) { return 1; };
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("games.pdn"), "games.pdn", first));
  EXPECT_EQ(lines[0], "game 1 ok plies 4 result 1-0 setup " + BoardToSetupString(g.board) + " side b");
  EXPECT_NE(BoardToSetupString(g.board), BoardToSetupString(g.StartBoard));
  EXPECT_EQ(lines[1].rfind("game 2 refused line 7: ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find("Illegal move"), std::string::npos);
  EXPECT_EQ(lines[2].rfind("game 3 refused line 11: ", 0), 0u) << lines[2];
  EXPECT_NE(lines[2].find("International Checkers"), std::string::npos);
  EXPECT_EQ(lines[3].rfind("game 4 ok plies 2 result * setup ", 0), 0u) << lines[3];
  EXPECT_EQ(lines[3].substr(lines[3].size() - 6), "side w");

  const auto asRussian = run("--variant \"Russian Checkers\" " + Path("games.pdn"), &status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(asRussian.size(), 4u);
  EXPECT_EQ(asRussian[0].rfind("game 1 refused", 0), 0u) << asRussian[0];  // White moves first there
  EXPECT_EQ(asRussian[3].rfind("game 4 ok plies 2", 0), 0u) << asRussian[3];

  Write("none.pdn", "no tags here\n");
  EXPECT_TRUE(run(Path("none.pdn"), &status).empty());
  EXPECT_NE(status, 0);
  run(Path("missing.pdn"), &status);
  EXPECT_NE(status, 0);
}

// morventa8-pdn's line of a refused game is the line its message names: a
// bad rules tag's own line, a bad move's line in a game of several lines, the
// game's first line where the message names the game.
TEST_F(PdnFormatTest, TheCommandLineReaderGivesTheLineItsMessageNames) {
  const std::string tool = std::string(M8_BIN_DIR) + "/morventa8-pdn";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "morventa8-pdn not built";
  Write("bad.pdn",
        "[Event \"one\"]\n[Site \"Hall\"]\n[Tavrin \"*American Checkers* 101 x\"]\n[Date \"2026\"]\n\n"
        "1. 11-15 *\n\n"                                       // lines 1 to 7
        "[Event \"two\"]\n1. 11-15 23-19\n2. 8-11 q7 *\n\n"      // lines 8 to 11
        "[Event \"three\"]\n[SetUp \"1\"]\n[FEN \"W::.\"]\n1. 11-15 *\n");  // lines 12 to 15
  FILE* pipe = popen((tool + " " + Path("bad.pdn") + " 2>/dev/null").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
  EXPECT_EQ(pclose(pipe), 0);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u) << text;
  const int expected[] = {3, 10, 15};
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    const std::string head = "game " + std::to_string(i + 1) + " refused line ";
    ASSERT_EQ(lines[i].rfind(head, 0), 0u);
    const int printed = std::stoi(lines[i].substr(head.size()));
    EXPECT_EQ(printed, expected[i]);
    // The message itself names that line, and no other.
    const std::string message = lines[i].substr(lines[i].find(": ") + 2);
    const size_t named = message.find("line ");
    ASSERT_NE(named, std::string::npos);
    EXPECT_EQ(std::stoi(message.substr(named + 5)), printed);
    EXPECT_EQ(message.find("line ", named + 5), std::string::npos);
  }
}

}  // namespace
}  // namespace m8
