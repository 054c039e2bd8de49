// Captures named by their landing squares in game files: the loader plays
// exactly the route a file writes out, and a game holding one of two
// captures between the same squares reloads as the game played.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/game/navigation.h"
#include "core/game/playmode.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

constexpr int kB4 = 52, kD4 = 54, kB6 = 72, kD6 = 74, kC7 = 83, kD8 = 94;

class CapturePathFiles : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    Prepare(g);
  }

  static void Prepare(GameState& s) {
    InitGame(s);
    s.Opt.PlayMode = 1;
    s.Opt.UseBook = 0;
    s.Opt.Notation = 1;
  }

  std::unique_ptr<GameState> Fresh() {
    auto s = std::make_unique<GameState>();
    Restart(*s);
    Prepare(*s);
    return s;
  }

  // American: white men a1 and c3, black men b4, d4, b6, d6 and h8 (and d8
  // when asked), white to move. c3 reaches c7 over b4 and b6 (by a5), the
  // route the generator finds first, or over d4 and d6 (by e5).
  static void SetUpTwoRoutes(GameState& s, bool blackOnD8) {
    for (auto& cell : s.board)
      if (cell != kOffBoard) cell = 0;
    s.board[21] = s.board[43] = 1;
    for (int cell : {kB4, kD4, kB6, kD6, 98}) s.board[cell] = -1;
    if (blackOnD8) s.board[kD8] = -1;
    s.P.SideToMove = 1;
    s.Flow.PositionPreset = 1;
    SetupPositionState(s);
  }

  std::string LastMessage() const { return host.messages.empty() ? std::string() : host.messages.back().text; }
};

// With a black man on d8, taking b4 and b6 loses the man on c7 at once: the
// computer takes d4 and d6, the second of the two captures to c7. Forward,
// the own file and PDN all give back that position.
TEST_F(CapturePathFiles, ComputersSecondCaptureReplaysAsPlayed) {
  SetUpTwoRoutes(g, true);
  GenerateLegalMoves(g);
  ASSERT_EQ(g.P.PlyStart[1] - g.P.PlyStart[0], 2);
  ASSERT_EQ(g.P.MoveList[g.P.PlyStart[0]].CapturedCell[0], kB4);  // the first route
  g.Opt.PlayMode = 0;
  g.Opt.DepthMode = 1;
  g.Opt.SearchDepth = 4;
  ComputerMoveNow(g, /*swapNames=*/false);
  ASSERT_EQ(g.Game.GameLength, 1);
  ASSERT_EQ(g.board[kD4], 0);
  ASSERT_EQ(g.board[kD6], 0);
  ASSERT_EQ(g.board[kC7], 1);
  const Board played = g.board;
  EXPECT_EQ(g.Game.GameRecord[1][0].substr(0, 6), "2215 6");

  GotoMove(g, 1, 0, 0);
  GotoMove(g, -1, 0, 0);
  EXPECT_EQ(g.board, played);

  for (const char* name : {"two.tvn", "two.pdn"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(SaveGame(g, Path(name), name));
    const std::string written = Read(name);
    EXPECT_NE(written.find(std::string(name) == "two.pdn" ? "22x15x6" : "\r\n2215 6\r\n"), std::string::npos)
        << written;
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(name), name)) << LastMessage();
    EXPECT_EQ(t->board, played);
    EXPECT_EQ(t->Game.GameLength, 1);
    EXPECT_EQ(t->Game.GameMoves[1].FullPath, 1);
    // And its own Forward.
    GotoMove(*t, 1, 0, 0);
    GotoMove(*t, -1, 0, 0);
    EXPECT_EQ(t->board, played);
  }
}

TEST_F(CapturePathFiles, WrittenOutPathsArePlayedAsWritten) {
  struct Case {
    const char* move;
    bool overD;  // takes d4 and d6 (else b4 and b6)
  } cases[] = {
      {"22x15x6", true},  {"22:15:6", true},  {"c3xe5xc7", true}, {"c3:e5:c7", true},
      {"22X15X6", true},  {"22x13x6", false}, {"c3xa5xc7", false}, {"c3:a5:c7", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.move);
    const std::string pdn = std::string("[Event \"paths\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n1. ") +
                            c.move + " 4-8 *\n";
    Write("paths.pdn", pdn);
    host.messages.clear();
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("paths.pdn"), "paths.pdn")) << LastMessage();
    EXPECT_EQ(t->board[kC7], 1);
    EXPECT_EQ(t->board[kD4], c.overD ? 0 : -1);
    EXPECT_EQ(t->board[kD6], c.overD ? 0 : -1);
    EXPECT_EQ(t->board[kB4], c.overD ? -1 : 0);
    EXPECT_EQ(t->board[kB6], c.overD ? -1 : 0);
    EXPECT_EQ(t->Game.GameLength, 2);
  }

  // The own format: move lines with every landing square.
  for (const char* line : {"2215 6", "2213 6"}) {
    SCOPED_TRACE(line);
    SetUpTwoRoutes(g, false);
    Write("paths.tvn", GameFileText(g) + line + "\r\n");
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("paths.tvn"), "paths.tvn")) << LastMessage();
    const bool overD = std::string(line) == "2215 6";
    EXPECT_EQ(t->board[kD4], overD ? 0 : -1);
    EXPECT_EQ(t->board[kB4], overD ? -1 : 0);
  }
}

TEST_F(CapturePathFiles, PathOfNoLegalMoveIsRefusedNamingItsLine) {
  for (const char* move : {"22x17x6", "22x15x10", "22x15x6x1"}) {
    SCOPED_TRACE(move);
    Write("bad.pdn", std::string("[Event \"paths\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n1. ") + move +
                         " 4-8 *\n");
    host.messages.clear();
    auto t = Fresh();
    const Board before = t->board;
    EXPECT_FALSE(LoadGame(*t, kLoadOpen, Path("bad.pdn"), "bad.pdn"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, std::string(move) + ": Illegal move!\r\nbad.pdn, line 5");
    EXPECT_EQ(t->board, before);
    EXPECT_EQ(t->Game.GameLength, 0);
  }
}

// Files written before captures were named by their landing squares hold
// the short text; the first of the two captures is read, as then.
TEST_F(CapturePathFiles, ShortTextOfTwoCapturesInAFileReadsAsBefore) {
  Write("old.pdn", "[Event \"old\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n1. 22x6 4-8 *\n");
  auto t = Fresh();
  ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("old.pdn"), "old.pdn")) << LastMessage();
  EXPECT_EQ(t->board[kB4], 0);
  EXPECT_EQ(t->board[kD4], -1);
}

// Where a short text fits both captures, the moves after it tell which was
// played: the loader takes the capture with which the rest of the game
// replays, backing up when a later move fails.
TEST_F(CapturePathFiles, ShortCaptureIsSettledByTheMovesAfterIt) {
  struct Case {
    const char* moves;
    bool overD;  // took d4 (18) and d6 (10), the second capture found
  } cases[] = {
      {"1. 22x6 17-21 *", true},               // 17 (b4) stands only after the second
      {"1. 22x6 4-8 2. 29-25 17-21 *", true},  // told two plies later
      {"1. 22x6 4-8 2. 29-25 18-23 *", false},
      {"1. 22x6 4-8 *", false},  // both replay: the first, as before
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moves);
    Write("short.pdn", std::string("[Event \"short\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n") +
                           c.moves + "\n");
    host.messages.clear();
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("short.pdn"), "short.pdn")) << LastMessage();
    EXPECT_EQ(t->Game.GameMoves[1].CapturedCell[0] == kD4 || t->Game.GameMoves[1].CapturedCell[1] == kD4, c.overD);
    const Board loaded = t->board;
    // The game in hand is that game: back to the start and forward again.
    GotoMove(*t, t->P.GamePly, 0, 0);
    GotoMove(*t, -t->Game.GameLength, 0, 0);
    EXPECT_EQ(t->board, loaded);
  }

  // The own format alike: the short text, then a move of the man on 17.
  SetUpTwoRoutes(g, false);
  Write("short.tvn", GameFileText(g) + "22 6\r\n 4 8\r\n2925\r\n1721\r\n");
  auto t = Fresh();
  ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("short.tvn"), "short.tvn")) << LastMessage();
  EXPECT_EQ(t->board[kD4], 0);
  EXPECT_EQ(t->board[kD6], 0);
  EXPECT_EQ(t->board[kB4], 0);  // moved on to a3
  EXPECT_EQ(t->board[41], -1);
  EXPECT_EQ(t->Game.GameLength, 4);

  // No capture lets the game go on: the move that fails after the first is
  // named, and the game in hand stays.
  Write("short.pdn", "[Event \"short\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n1. 22x6 4-8\n2. 29-25 12-16 *\n");
  host.messages.clear();
  auto u = Fresh();
  const Board before = u->board;
  EXPECT_FALSE(LoadGame(*u, kLoadOpen, Path("short.pdn"), "short.pdn"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "12-16: Illegal move!\r\nshort.pdn, line 6");
  EXPECT_EQ(u->board, before);
}

// Two short captures, White's 30x14 (over b2 and b4, or over d2 and d4) and
// Black's 3x19 (over e7 and e5, or over g7 and g5), each settled by a later
// move of the other side: backing up to the second must keep the capture
// found for the first. Every pair of captures is the one some game needs.
TEST_F(CapturePathFiles, TwoShortCapturesAreSettledTogether) {
  constexpr int kA3 = 41, kC3 = 43, kF6 = 76;
  struct Case {
    const char* whiteTell;  // stands only after one of Black's captures
    const char* blackTell;  // stands only after one of White's captures
    int whiteTo, blackTo;
  } cases[] = {
      {"15-11", "17-21", kF6, kA3},
      {"15-11", "18-22", kF6, kC3},
      {"16-11", "17-21", kF6, kA3},
      {"16-11", "18-22", kF6, kC3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.whiteTell) + " " + c.blackTell);
    Write("two.pdn", std::string("[Event \"two\"]\n[SetUp \"1\"]\n[FEN \"W:W7,8,15,16,30:B3,17,18,25,26\"]\n\n") +
                         "1. 30x14 3x19 2. " + c.whiteTell + " " + c.blackTell + " *\n");
    host.messages.clear();
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("two.pdn"), "two.pdn")) << LastMessage();
    EXPECT_EQ(t->Game.GameLength, 4);
    EXPECT_EQ(t->board[c.whiteTo], 1);
    EXPECT_EQ(t->board[c.blackTo], -1);
  }
}

// The shipped variant files beside the program.
class ShortCaptureFiles : public CapturePathFiles {
 protected:
  void SetUp() override {
    CapturePathFiles::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
  }

  // Loads `name` into a fresh game, which is left in `loaded`.
  bool Load(const std::string& name) {
    host.messages.clear();
    loaded = Fresh();
    return LoadGame(*loaded, kLoadOpen, Path(name), name);
  }

  std::unique_ptr<GameState> loaded;
};

// A short text that is the full text of a single jump and the short text of
// longer captures between the same squares: in a file, the moves after it
// may tell that a longer one was played. (Typed, it names the jump.)
TEST_F(ShortCaptureFiles, SingleJumpTextGivesWayToTheLongerCapture) {
  // American: the black king on 10 takes 6 alone, or goes round
  // 10x19x26x17x10x1 over 15, 23, 22, 14 and 6.
  const std::string american = "[SetUp \"1\"]\n[FEN \"B:WK6,8,K14,15,20,22,23:BK10,K13,24,K31\"]\n\n";
  struct Case {
    std::string pdn;
    int plies;
    int taken;  // by the first move
  } cases[] = {
      {american + "1. 10x1 8-3 2. 13-9 20-16 *\n", 4, 5},
      {american + "1. 10x1 8-3 *\n", 2, 1},  // both go on: the jump the text names
      {"[GameType \"25\"]\n[SetUp \"1\"]\n[FEN \"B:Wa1,d2,f2,a3,Kc5,b6,Kc7:Bh4,Kd6,f6,e7,g7,d8,Kf8\"]\n\n"
       "1... d6:b8 2. a3-b4 b8-a7 3. a1-b2 a7:c1 *\n",
       5, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pdn);
    Write("short.pdn", c.pdn);
    ASSERT_TRUE(Load("short.pdn")) << LastMessage();
    EXPECT_EQ(loaded->Game.GameLength, c.plies);
    EXPECT_EQ(loaded->Game.GameMoves[1].CapturedCount, c.taken);
    const Board end = loaded->board;
    GotoMove(*loaded, loaded->P.GamePly, 0, 0);
    GotoMove(*loaded, -loaded->Game.GameLength, 0, 0);
    EXPECT_EQ(loaded->board, end);
  }

  // The own format alike: "10 1" as its first move line.
  Write("start.pdn", american + "*\n");
  ASSERT_TRUE(Load("start.pdn")) << LastMessage();
  Write("short.tvn", GameFileText(*loaded) + "10 1\r\n 8 3\r\n13 9\r\n2016\r\n");
  ASSERT_TRUE(Load("short.tvn")) << LastMessage();
  EXPECT_EQ(loaded->Game.GameLength, 4);
  EXPECT_EQ(loaded->Game.GameMoves[1].CapturedCount, 5);
}

// Two such texts in one game, the second of which must be the longer
// capture. American, Black's kings on 14 (c5) and 19 (f4): 14x5 takes 9 alone
// or goes round 14x23x30x21x14x5 over 18, 26, 25 and 17 as well; 19x28 takes
// 24 alone or goes round 19x10x3x12x19x28 over 15, 7, 8 and 16 as well. 20-16
// stands only after the long 19x28; 29-25 only after the long 14x5 and 26-23
// only after the jump, both told after the second capture, so that the
// loader backs up over it to the first.
TEST_F(ShortCaptureFiles, SecondOfTwoSingleJumpTextsTakesTheLongRoute) {
  const std::string fen = "B:W7,8,9,15,16,17,18,20,24,25,26,29,31:BK14,K19";
  struct Case {
    std::vector<std::string> moves;
    int firstTaken;  // both go on after "14x5" alone: the jump the text names
  } cases[] = {
      {{"14x5", "31-27", "19x28", "20-16"}, 1},
      {{"14x5", "31-27", "19x28", "20-16", "5-1", "29-25"}, 5},
      {{"14x5", "31-27", "19x28", "20-16", "5-1", "26-23"}, 1},
  };
  for (const Case& c : cases) {
    std::string pdn = "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n\n";
    std::string lines;  // the own format's move lines: "14 5", "3127"
    for (size_t i = 0; i < c.moves.size(); ++i) {
      const std::string& m = c.moves[i];
      if (i % 2 == 0) pdn += std::to_string(i / 2 + 1) + ". ";
      pdn += m + " ";
      const size_t sep = m.find_first_of("-x");
      for (const std::string& square : {m.substr(0, sep), m.substr(sep + 1)})
        lines += std::string(2 - square.size(), ' ') + square;
      lines += "\r\n";
    }
    Write("start.pdn", "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n\n*\n");
    ASSERT_TRUE(Load("start.pdn")) << LastMessage();
    Write("two.pdn", pdn + "*\n");
    Write("two.tvn", GameFileText(*loaded) + lines);
    for (const char* name : {"two.pdn", "two.tvn"}) {
      SCOPED_TRACE(std::string(name) + ": " + pdn);
      ASSERT_TRUE(Load(name)) << LastMessage();
      ASSERT_EQ(loaded->Game.GameLength, static_cast<int>(c.moves.size()));
      EXPECT_EQ(loaded->Game.GameMoves[1].CapturedCount, c.firstTaken);
      EXPECT_EQ(loaded->Game.GameMoves[3].CapturedCount, 5);
      const Board end = loaded->board;
      GotoMove(*loaded, loaded->P.GamePly, 0, 0);
      GotoMove(*loaded, -loaded->Game.GameLength, 0, 0);
      EXPECT_EQ(loaded->board, end);
    }
  }
}

// A game that cannot be replayed is refused at the move where the replay
// that got furthest failed: here the capture is settled by 17-21 (b4 stands
// only after the capture over d4 and d6), and 12-16 moves no piece.
TEST_F(ShortCaptureFiles, RefusedGameNamesTheMoveFurthestReached) {
  Write("bad.pdn",
        "[Event \"bad\"]\n[SetUp \"1\"]\n[FEN \"W:W22,29:B4,9,10,17,18\"]\n\n"
        "1. 22x6 17-21\n2. 6-2 4-8\n3. 2-7 12-16 *\n");
  EXPECT_FALSE(Load("bad.pdn"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "12-16: Illegal move!\r\nbad.pdn, line 7");
  EXPECT_EQ(loaded->Game.GameLength, 0);
}

}  // namespace
}  // namespace m8
