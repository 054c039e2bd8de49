// The move-execution path: move texts from typed text and list lines, the
// reasons of a refused move, and the record, lists and log a played move
// leaves, for every entry.
#include "core/game/moveexec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "core/game/gamesetup.h"
#include "core/game/legalmovelist.h"
#include "core/game/navigation.h"
#include "core/game/playmode.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {
namespace {

namespace fs = std::filesystem;

class MoveExecHost : public Host {
 public:
  std::vector<std::string> messages;  // "title|text"
  std::map<int, std::string> statusText;
  std::map<Command, bool> enabled;
  int clicks = 0;
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + "|" + std::string(text));
  }
  void status(int panel, std::string_view text) override { statusText[panel] = std::string(text); }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  void playSound(Sound s) override { clicks += s == Sound::Click; }
  double secondsSinceMidnight() override { return 1000.0; }
  // The capture popup: what it offered, and the entry it answers (-1:
  // dismissed).
  std::vector<std::string> offered;
  int pick = -1;
  int choose(std::string_view, const std::vector<std::string>& choices) override {
    offered = choices;
    return pick;
  }
};

// Setup digits of a position given by cells: 1/2 white/black man, 3/4
// white/black king.
std::string Digits(std::initializer_list<std::pair<int, char>> pieces) {
  std::string s(64, '0');
  for (auto [cell, piece] : pieces) s[(cell / 10 - 2) * 8 + (cell % 10 - 1)] = piece;
  return s;
}

struct Game {
  std::unique_ptr<MoveExecHost> host = std::make_unique<MoveExecHost>();
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  GameState& g = *state;
  int gameOverTests = 0;
  MoveFollowUps f;

  Game() {
    g.host = host.get();
    g.ProgramFolder = M8_BIN_DIR;
    g.Opt.PlayMode = 1;
    g.Opt.UseSound = 1;
    g.Rules.Variant = "American Checkers";
    InitGame(g);
    f.checkGameOver = [this](GameState& s, int) {
      ++gameOverTests;
      ResetPly(s);
      if (!GenerateLegalMoves(s) || s.P.PlyStart[1] == s.P.PlyStart[0]) s.Flow.GameOver = 1;
    };
  }
  // The position `digits` with `side` to move, as a new game.
  void Setup(const std::string& digits, int side) {
    for (int i = 0; i < 64; ++i) {
      constexpr int kValue[5] = {0, 1, -1, 2, -2};
      g.board[10 * (2 + i / 8) + 1 + i % 8] = kValue[digits[i] - '0'];
    }
    g.P.SideToMove = side;
    g.Flow.PositionPreset = 1;
    SetupPositionState(g);
    g.Flow.PositionPreset = 0;
  }
  bool Typed(const std::string& text) { return EnterTypedMove(g, text, f); }
  std::vector<std::string> Lines() const {
    return {g.Driver.MoveListLines.begin(), g.Driver.MoveListLines.begin() + g.Driver.MoveListCount};
  }
};

TEST(MoveText, TypedTextInEitherNotationBecomesTheSquarePair) {
  Game t;
  struct Case {
    int notation;
    const char* captureChar;
    const char* typed;
    const char* text;
  } cases[] = {
      {0, "x", "c3-d4", "C3D4"},  {0, "x", "C3D4", "C3D4"},   {0, "x", "c3d4", "C3D4"},
      {0, "x", "e5xc3", "E5C3"},  {0, "x", "E5XC3", "E5C3"},  {1, "x", "9-14", " 914"},
      {1, "x", "09-14", "0914"},  {1, "x", " 914", " 914"},   {1, "x", "9-5", " 9 5"},
      {1, "x", "11x18", "1118"},  {1, "x", "11X18", "1118"},  {1, ":", "11:18", "1118"},
      {1, ":", "11x18", "1118"},  {1, "x", "9x14", " 914"},   {0, "x", "C3 D4", "C3 D4"},
      {0, "x", "", ""},           {1, "x", "-", ""},          {1, "x", "1-2-3", " 1 2 3"},
      // Either capture separator, whatever the capture character, and every
      // landing square of a capture path.
      {0, "x", "d4:b6", "D4B6"},  {1, "x", "9:18:27", " 91827"}, {0, ":", "c3xa5xc7", "C3A5C7"},
      {1, ":", "22x13x6", "2213 6"}, {1, "x", "22:13:6", "2213 6"}, {0, "x", "C3:E5:C7", "C3E5C7"},
  };
  for (const Case& c : cases) {
    t.g.Opt.Notation = c.notation;
    t.g.Texts.CaptureChar = c.captureChar;
    EXPECT_EQ(TypedMoveText(t.g, c.typed), c.text) << c.typed;
  }
}

TEST(MoveText, ListLinesLoseTheirMarks) {
  Game t;
  t.g.Opt.Notation = 1;
  EXPECT_EQ(LegalListMoveText(t.g, "11-15b"), "1115");
  EXPECT_EQ(LegalListMoveText(t.g, " 9-14"), " 914");
  EXPECT_EQ(LegalListMoveText(t.g, "22-25K"), "2225");
  EXPECT_EQ(LegalListMoveText(t.g, "22-25Kb"), "2225");
  EXPECT_EQ(LegalListMoveText(t.g, "15x22"), "1522");
  t.g.Opt.Notation = 0;
  EXPECT_EQ(LegalListMoveText(t.g, "c3xd4"), "C3D4");
  EXPECT_EQ(LegalListMoveText(t.g, "e3b"), "E3");  // a placement offered by the book
  EXPECT_EQ(LegalListMoveText(t.g, "b6-a7K"), "B6A7");
}

TEST(MoveText, RootListRowsAndBoardDrops) {
  Game t;
  t.g.Opt.Notation = 1;
  auto& r = t.g.Driver.RootScores;
  r[0][0] = 76, r[1][0] = 65, r[2][0] = 12;
  r[0][1] = 87, r[1][1] = 76;
  EXPECT_EQ(RootListMoveText(t.g, 0), "1115");
  EXPECT_EQ(RootListMoveText(t.g, 1), " 811");
  EXPECT_EQ(RootListMoveText(t.g, 2), "");   // no root move there
  EXPECT_EQ(RootListMoveText(t.g, -1), "");  // no row chosen
  EXPECT_EQ(RootListMoveText(t.g, kRootScoreSlots), "");
  EXPECT_EQ(BoardMoveText(t.g, 87, 76), " 811");
  t.g.Opt.Notation = 0;
  EXPECT_EQ(BoardMoveText(t.g, 43, 54), "C3D4");
  EXPECT_EQ(BoardMoveText(t.g, 43, 43), "C3C3");
}

TEST(MoveListLine, NumberFieldIsFourColumnsWideForTheFirstMover) {
  EXPECT_EQ(MoveListLine(1, "c3-d4"), "   1. c3-d4");
  EXPECT_EQ(MoveListLine(2, "d6-e5"), "      d6-e5");
  EXPECT_EQ(MoveListLine(19, "a1-b2"), "  10. a1-b2");
  EXPECT_EQ(MoveListLine(199, "a1-b2"), " 100. a1-b2");
}

// A short game of player against player: typed in numbers, then in letters.
TEST(EnterMove, ShortTypedGameInBothNotationsIsRecordedListedAndEnds) {
  for (int notation : {1, 0}) {
    Game t;
    t.Setup(Digits({{76, '2'}, {43, '1'}}), -1);
    t.g.Opt.Notation = notation;
    const char* moves[2][3] = {{"C3D4", "E5XC3", "F6-E5"}, {"22-18", "15x22", "11-15"}};
    const auto& m = moves[notation];
    ASSERT_TRUE(t.Typed(m[2])) << notation;
    ASSERT_TRUE(t.Typed(m[0]));
    EXPECT_EQ(t.g.Flow.GameOver, 0);
    EXPECT_EQ(t.host->statusText[1], "Player-Player mode");
    ASSERT_TRUE(t.Typed(m[1]));
    EXPECT_EQ(t.g.Flow.GameOver, 1);
    EXPECT_TRUE(t.host->messages.empty());
    EXPECT_EQ(t.g.P.GamePly, 3);
    EXPECT_EQ(t.g.Game.GameLength, 3);
    EXPECT_EQ(t.g.Game.GameMoves[4].From, 0);
    EXPECT_EQ(t.g.board[43], -1);
    EXPECT_EQ(t.g.board[54], 0);
    if (notation == 1) {
      EXPECT_EQ(t.Lines(), (std::vector<std::string>{"   1. 11-15", "      22-18", "   2. 15x22"}));
      EXPECT_EQ(t.g.Game.GameRecord[1][0], "1115 11-15");
      EXPECT_EQ(t.g.Game.GameRecord[2][0], "1522 15x22");
    } else {
      EXPECT_EQ(t.Lines(), (std::vector<std::string>{"   1. f6-e5", "      c3-d4", "   2. e5xc3"}));
      EXPECT_EQ(t.g.Game.GameRecord[1][1], "c3d4 c3-d4");
    }
    EXPECT_EQ(t.g.Game.GameRecord[1][2], "2");
    EXPECT_EQ(t.g.Game.GameRecord[1][3], "2");
    EXPECT_EQ(t.g.Game.GameRecord[2][2], "2");
    EXPECT_EQ(t.g.Driver.MoveListSelected, 2);
    EXPECT_EQ(t.g.Game.MoveChoiceHistory[3], 1);  // the capture was the only move
    EXPECT_EQ(t.host->clicks, 3);
    // Player against player: every move's quick score is kept.
    EXPECT_GT(t.g.Game.ScoreHistory[3], 0);
    EXPECT_EQ(t.gameOverTests, 2 * 2 + 1);
    // A finished game takes no more moves, even where one would be legal,
    // and says so.
    t.g.board[21] = 1;
    EXPECT_FALSE(t.Typed(notation == 1 ? "32-27" : "A1B2"));
    EXPECT_EQ(t.g.P.GamePly, 3);
    EXPECT_EQ(t.host->messages, std::vector<std::string>{"Error|the game is over"});
  }
}

TEST(EnterMove, RefusedMovesSayWhyAndChangeNothing) {
  struct Case {
    const char* name;
    std::string digits;
    int side;
    std::string text;
    MoveSource source;
    std::string message;
  } cases[] = {
      // Black must take 65x54 -> 43; another man's move is refused.
      {"must jump", Digits({{65, '2'}, {54, '1'}, {87, '2'}}), -1, " 811", MoveSource::Board,
       "Error|Illegal move: you need to jump"},
      // Kings capture first: the man's capture 12x19 is a capture path the
      // rules left out.
      {"jump that way", Digits({{76, '4'}, {65, '1'}, {78, '2'}, {67, '1'}}), -1, "1219",
       MoveSource::Typed, "Error|Illegal move: you cannot jump that way"},
      {"occupied", Digits({{76, '2'}, {65, '2'}, {32, '1'}}), -1, "1115", MoveSource::Board,
       "Error|Illegal move: that square is not empty"},
      {"empty target", Digits({{76, '2'}, {32, '1'}}), -1, "1119", MoveSource::Typed, "Error|Illegal move"},
      {"not a square", Digits({{76, '2'}, {32, '1'}}), -1, "zz99", MoveSource::Typed, "Error|Illegal move"},
      {"list row", Digits({{65, '2'}, {54, '1'}, {87, '2'}}), -1, " 811", MoveSource::LegalMoveList,
       "Error|Illegal move"},
  };
  for (const Case& c : cases) {
    Game t;
    t.Setup(c.digits, c.side);
    t.g.Opt.Notation = 1;
    if (std::string(c.name) == "jump that way") t.g.Rules.KingCapMove = 1;
    ResetPly(t.g);
    GenerateLegalMoves(t.g);
    const Board before = t.g.board;
    EXPECT_FALSE(EnterMove(t.g, c.text, c.source, t.f)) << c.name;
    ASSERT_EQ(t.host->messages.size(), 1u) << c.name;
    EXPECT_EQ(t.host->messages[0], c.message) << c.name;
    EXPECT_EQ(t.g.board, before) << c.name;
    EXPECT_EQ(t.g.P.GamePly, 0) << c.name;
    EXPECT_EQ(t.g.Driver.MoveListCount, 0) << c.name;
    EXPECT_EQ(t.gameOverTests, 0) << c.name;
    // The move box is off while the message is up, then on again.
    if (c.source != MoveSource::Board) {
      EXPECT_TRUE(t.host->enabled[Command::MoveEntry]) << c.name;
    }
  }
}

TEST(EnterMove, AFullGameTableRefusesTheMoveByItsLimit) {
  // The game has reached the last ply the tables hold: a legal move is not
  // played, and it is not called illegal either. A game file's move is
  // refused without a word (the loader tells its own story).
  for (MoveSource source : {MoveSource::Typed, MoveSource::LegalMoveList, MoveSource::GameFile}) {
    Game t;
    t.g.Opt.Notation = 1;
    t.g.P.GamePly = kMaxGamePly;
    t.g.Game.GameLength = kMaxGamePly;
    const Board before = t.g.board;
    EXPECT_FALSE(EnterMove(t.g, "1115", source, t.f));
    EXPECT_EQ(t.g.board, before);
    EXPECT_EQ(t.g.P.GamePly, kMaxGamePly);
    if (source == MoveSource::GameFile) {
      EXPECT_TRUE(t.host->messages.empty());
    } else {
      EXPECT_EQ(t.host->messages, std::vector<std::string>{"Error|the game has reached its move limit"});
    }
  }
}

TEST(EnterMove, TouchMoveHoldsTheTouchedPieceUntilAMoveIsMade) {
  Game t;
  t.g.Opt.Notation = 1;
  t.g.Opt.TouchMove = 1;
  t.g.P.TouchedSquare = 72;  // square 9 was picked up
  EXPECT_FALSE(t.Typed("11-15"));
  EXPECT_EQ(t.host->messages.back(), "Error|Illegal move");
  EXPECT_EQ(t.g.P.TouchedSquare, 72);
  EXPECT_TRUE(t.Typed("9-13"));
  EXPECT_EQ(t.g.P.TouchedSquare, 0);
  EXPECT_TRUE(t.Typed("22-18"));
  // A touch the position no longer backs (moves taken back under it) is
  // forgotten.
  t.g.P.TouchedSquare = 54;
  EXPECT_TRUE(t.Typed("10-14"));
}


// The opening from the start position, in a program folder of its own with
// the American book and a log.
TEST(EnterMove, ListLinesBookMarksLogAndCutOffAfterTakingBack) {
  Game t;
  const fs::path dir = fs::path(::testing::TempDir()) / "moveexec_log";
  fs::remove_all(dir);
  fs::create_directories(dir / "books");
  fs::copy_file(fs::path(M8_BIN_DIR) / "books" / "American Checkers.bok", dir / "books" / "American Checkers.bok");
  t.g.ProgramFolder = dir.string();
  t.g.Log.Enabled = true;
  t.g.Opt.Notation = 1;
  for (const char* m : {"11-15", "23-19", "8-11", "22-18", "15x22", "25x18"}) ASSERT_TRUE(t.Typed(m)) << m;
  EXPECT_EQ(t.Lines(), (std::vector<std::string>{"   1. 11-15b", "      23-19b", "   2.  8-11b", "      22-18b",
                                                 "   3. 15x22b", "      25x18b"}));
  EXPECT_EQ(t.g.Game.GameRecord[2][0], " 811  8-11");
  std::ifstream in(dir / "tavrin.log", std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  const std::string text = log.str();
  EXPECT_EQ(text.find("\r\nAmerican Checkers\r\nBlack   White\r\n"), 0u) << text;
  EXPECT_NE(text.find("   1. 11-15b  "), std::string::npos) << text;  // two blanks after a mark
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + 6);

  // Three plies taken back, then another move: the old continuation goes.
  for (int i = 0; i < 3; ++i) {
    t.g.P.Ply = 1;
    ASSERT_TRUE(UnmakeMove(t.g, t.g.Game.GameMoves[t.g.P.GamePly]));
  }
  t.g.Game.PlyComments[4] = "old comment";
  t.g.Game.ScoreHistory[5] = 77;
  ASSERT_TRUE(t.Typed("24-20"));
  EXPECT_EQ(t.g.Game.GameLength, 4);
  EXPECT_EQ(t.Lines().size(), 4u);
  EXPECT_EQ(t.Lines()[3].substr(0, 11), "      24-20");
  EXPECT_EQ(t.g.Driver.MoveListLines[4], "");
  EXPECT_EQ(t.g.Game.PlyComments[4], "");
  EXPECT_EQ(t.g.Game.ScoreHistory[5], 0);
  EXPECT_EQ(t.g.Game.GameMoves[5].From, 0);
  EXPECT_FALSE(t.host->enabled[Command::Forward]);
  EXPECT_TRUE(t.host->enabled[Command::Back]);
  fs::remove_all(dir);
}

TEST(EnterMove, ListDoubleClicksPlayTheirMoves) {
  Game t;
  t.g.Opt.Notation = 0;
  ListLegalMoves(t.g);
  ASSERT_FALSE(t.g.Driver.LegalMoveLines.empty());
  const std::string first = t.g.Driver.LegalMoveLines[0];
  EXPECT_FALSE(PlayLegalListMove(t.g, -1, t.f));
  EXPECT_FALSE(PlayLegalListMove(t.g, 99, t.f));
  ASSERT_TRUE(PlayLegalListMove(t.g, 0, t.f));
  EXPECT_EQ(t.g.P.GamePly, 1);
  EXPECT_EQ(t.Lines()[0].substr(6, 5), first.substr(0, 5));
  EXPECT_EQ(t.g.Game.GameRecord[1][2], "2");
  ASSERT_FALSE(t.g.Driver.LegalMoveLines.empty());  // listed again for the next side

  // The root-score list: the last ply is replaced by the chosen root move, nobody replies.
  auto& r = t.g.Driver.RootScores;
  const std::string before = t.g.Game.GameRecord[1][0];
  ResetPly(t.g);
  GenerateLegalMoves(t.g);
  ASSERT_TRUE(EnterMove(t.g, "C3D4", MoveSource::LegalMoveList, t.f));  // white replies
  t.g.Game.GameRecord[1][3] = "1";  // as if the computer had played it
  r[0][0] = 45, r[1][0] = 54;       // e3-d4 instead
  const auto takeBack = [](GameState& s) {
    s.P.Ply = 1;
    UnmakeMove(s, s.Game.GameMoves[s.P.GamePly]);
  };
  t.g.Opt.PlayMode = 0;
  t.g.Rating.RatedGame = 1;
  ASSERT_TRUE(PlayRootListMove(t.g, 0, t.f, takeBack));
  EXPECT_EQ(t.g.Rating.RatedGame, 0);
  EXPECT_EQ(t.g.P.GamePly, 2);
  EXPECT_EQ(t.g.Game.GameRecord[1][1], "e3d4 e3-d4");
  EXPECT_EQ(t.g.Game.GameRecord[1][3], "1");  // the replaced computer move keeps its mark
  EXPECT_EQ(t.g.Game.GameRecord[1][0], before);
  EXPECT_EQ(t.g.P.SideToMove, -1);            // the user is to move again
  EXPECT_EQ(t.g.Flow.Busy, 0);
  // A refused root move leaves the ply taken back.
  r[0][0] = 21, r[1][0] = 43;
  EXPECT_FALSE(PlayRootListMove(t.g, 0, t.f, takeBack));
  EXPECT_EQ(t.g.P.GamePly, 1);
  EXPECT_EQ(t.host->messages.back(), "Error|Illegal move");
}

TEST(EnterMove, ComputerRepliesInPlayerAgainstComputerMode) {
  Game t;
  t.g.Opt.PlayMode = 0;
  t.g.Opt.DepthMode = 1;
  t.g.Opt.SearchDepth = 2;
  t.g.Opt.UseBook = 0;
  t.g.Opt.Notation = 1;
  t.g.Flow.PlayerName1 = t.g.Opt.UserName;
  t.g.Flow.PlayerName2 = "Computer";
  int busyDuringReply = -1;
  t.f.computerReply = [&](GameState& s) {
    busyDuringReply = s.Flow.Busy;
    ComputerMoveNow(s, /*swapNames=*/false);
    busyDuringReply = busyDuringReply == 0 ? s.Flow.Busy : -2;
  };
  ASSERT_TRUE(t.Typed("11-15"));
  EXPECT_EQ(busyDuringReply, 0);
  EXPECT_EQ(t.g.P.GamePly, 2);
  EXPECT_EQ(t.g.Game.GameRecord[1][3], "1");
  EXPECT_EQ(t.g.Flow.Busy, 0);
  EXPECT_EQ(t.g.P.SideToMove, -1);
  EXPECT_EQ(t.g.Flow.PlayerName1, t.g.Opt.UserName);  // the names keep their sides
  EXPECT_EQ(t.g.Flow.PlayerName2, "Computer");
  EXPECT_FALSE(t.g.Driver.LegalMoveLines.empty());
  // The default reply does the same.
  t.f.computerReply = nullptr;
  ResetPly(t.g);
  ASSERT_TRUE(t.Typed(t.g.Driver.LegalMoveLines[0]));
  EXPECT_EQ(t.g.P.GamePly, 4);
}

TEST(EnterMove, BusyKeepsTypedMovesOut) {
  Game t;
  t.g.Opt.Notation = 1;
  t.g.Flow.Busy = 1;
  EXPECT_FALSE(t.Typed("11-15"));
  EXPECT_EQ(t.g.P.GamePly, 0);
  EXPECT_TRUE(t.host->messages.empty());
}

// Random texts typed into the move box: a refusal or a legal move, never
// anything else, and a refusal changes nothing.
TEST(EnterMove, RandomTypedTextIsPlayedOrRefusedCleanly) {
  Game t;
  ListLegalMoves(t.g);
  std::mt19937 rng(7);
  const std::string alphabet = "abcdhABCDHXx0123456789-:  \t\xff";
  int played = 0;
  for (int i = 0; i < 3000; ++i) {
    t.g.Opt.Notation = static_cast<int>(rng() % 3);
    t.g.Texts.CaptureChar = rng() % 2 ? "x" : ":";
    std::string text;
    const auto& legal = t.g.Driver.LegalMoveLines;
    if (rng() % 4 == 0 && !legal.empty()) text = legal[rng() % legal.size()];  // now and then a listed move
    const int n = static_cast<int>(rng() % 9);
    for (int k = 0; k < n; ++k) text.insert(rng() % (text.size() + 1), 1, alphabet[rng() % alphabet.size()]);
    const Board before = t.g.board;
    const int ply = t.g.P.GamePly;
    const size_t boxes = t.host->messages.size();
    if (t.Typed(text)) {
      ++played;
      EXPECT_EQ(t.g.P.GamePly, ply + 1) << text;
      EXPECT_EQ(t.g.Driver.MoveListCount, ply + 1);
    } else {
      EXPECT_EQ(t.g.board, before) << text;
      EXPECT_EQ(t.g.P.GamePly, ply);
      ASSERT_EQ(t.host->messages.size(), boxes + 1);
      EXPECT_EQ(t.host->messages.back().rfind("Error|Illegal move", 0), 0u);
    }
    if (t.g.Flow.GameOver == 1) {
      t.g.Flow.GameOver = 0;
      InitGame(t.g);
    }
  }
  EXPECT_GT(played, 0);
}

// American: white men a1 and c3, black men b4, d4, b6, d6 and h8, white to
// move. c3 reaches c7 over b4 and b6 (by a5) or over d4 and d6 (by e5).
// Squares typed in the notation that is not in use: the refusal says which
// one is.
TEST(EnterMove, SquaresOfTheOtherNotationNameTheNotationInUse) {
  struct Case {
    int notation;
    const char* typed;
    const char* message;
  } cases[] = {
      {0, "11-15", "Error|Illegal move: the board is in algebraic notation (as c3-d4)"},
      {0, "9-14", "Error|Illegal move: the board is in algebraic notation (as c3-d4)"},
      {1, "c3-d4", "Error|Illegal move: the board is in numbered notation (as 9-14)"},
      {1, "B6xD4", "Error|Illegal move: the board is in numbered notation (as 9-14)"},
      {0, "z3-d4", "Error|Illegal move"},  // no square in either
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Game t;
    t.g.Opt.Notation = c.notation;
    EXPECT_FALSE(t.Typed(c.typed));
    EXPECT_EQ(t.host->messages, std::vector<std::string>{c.message});
    EXPECT_EQ(t.g.P.GamePly, 0);
  }
}

constexpr const char* kTwoRoutes = "1000000000000000001000000202000000000000020200000000000000000002";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(EnterMove, TypedTextOfTwoCapturesIsRefusedWithTheChoicesAndTheFullTextPlays) {
  Game t;
  t.g.Opt.Notation = 0;
  t.Setup(kTwoRoutes, 1);
  EXPECT_FALSE(t.Typed("c3xc7"));
  EXPECT_EQ(t.g.P.GamePly, 0);
  ASSERT_EQ(t.host->messages.size(), 1u);
  const std::string& refusal = t.host->messages.back();
  EXPECT_TRUE(Has(refusal, "Error|Several captures fit this move. Enter one of:")) << refusal;
  EXPECT_TRUE(Has(refusal, "c3xa5xc7  takes b4, b6")) << refusal;
  EXPECT_TRUE(Has(refusal, "c3xe5xc7  takes d4, d6")) << refusal;
  EXPECT_TRUE(t.host->offered.empty());  // typed: no popup

  ASSERT_TRUE(t.Typed("c3:e5:c7"));
  EXPECT_EQ(t.g.board[54], 0);  // d4
  EXPECT_EQ(t.g.board[74], 0);  // d6
  EXPECT_EQ(t.g.board[52], -1);  // b4 stays
  EXPECT_EQ(t.g.Game.GameRecord[1][0], "c3e5c7 c3xe5xc7");
  EXPECT_EQ(t.g.Game.GameMoves[1].FullPath, 1);
  EXPECT_EQ(t.Lines()[0], "   1. c3xe5xc7");
  EXPECT_EQ(StoredPlyKey(t.g, 1), "C3E5C7");

  // Numbered squares.
  Game n;
  n.g.Opt.Notation = 1;
  n.Setup(kTwoRoutes, 1);
  EXPECT_FALSE(n.Typed("22x6"));
  EXPECT_TRUE(Has(n.host->messages.back(), "22x13x6  takes 17, 9")) << n.host->messages.back();
  ASSERT_TRUE(n.Typed("22x13x6"));
  EXPECT_EQ(n.g.board[52], 0);  // b4
  EXPECT_EQ(n.g.board[72], 0);  // b6
  EXPECT_EQ(n.g.Game.GameRecord[1][0], "2213 6 22x13x6");
  EXPECT_EQ(StoredPlyKey(n.g, 1), "2213 6");
}

TEST(EnterMove, DropReachedByTwoCapturesAsksWhichOne) {
  Game t;
  t.g.Opt.Notation = 0;
  t.Setup(kTwoRoutes, 1);
  // Dismissed: nothing is played, nothing is said.
  EXPECT_FALSE(EnterMove(t.g, BoardMoveText(t.g, 43, 83), MoveSource::Board, t.f));
  EXPECT_EQ(t.g.P.GamePly, 0);
  EXPECT_TRUE(t.host->messages.empty());
  ASSERT_EQ(t.host->offered.size(), 2u);
  const std::vector<std::string> order = t.host->offered;
  auto sorted = order;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{"c3xa5xc7  takes b4, b6", "c3xe5xc7  takes d4, d6"}));

  // Each entry plays its own capture.
  for (const char* wanted : {"c3xa5xc7", "c3xe5xc7"}) {
    Game v;
    v.g.Opt.Notation = 0;
    v.Setup(kTwoRoutes, 1);
    v.host->pick = Has(order[0], wanted) ? 0 : 1;
    ASSERT_TRUE(EnterMove(v.g, "C3C7", MoveSource::Board, v.f));
    EXPECT_EQ(v.g.Game.GameRecord[1][0].substr(7), wanted);
    const bool overB = std::string(wanted) == "c3xa5xc7";
    EXPECT_EQ(v.g.board[52], overB ? 0 : -1);
    EXPECT_EQ(v.g.board[54], overB ? -1 : 0);
    EXPECT_EQ(v.g.board[83], 1);
  }
}

TEST(EnterMove, LegalMoveListNamesEachCaptureAndForwardReplaysIt) {
  Game t;
  t.g.Opt.Notation = 1;
  t.Setup(kTwoRoutes, 1);
  ListLegalMoves(t.g);
  auto lines = t.g.Driver.LegalMoveLines;
  std::sort(lines.begin(), lines.end());
  ASSERT_EQ(lines, (std::vector<std::string>{"22x13x6", "22x15x6"}));
  // The second of the two as the generator lists them.
  const auto& shown = t.g.Driver.LegalMoveLines;
  const int row = shown[0] == "22x15x6" ? 0 : 1;
  ASSERT_TRUE(PlayLegalListMove(t.g, row, t.f));
  const Board played = t.g.board;
  EXPECT_EQ(played[54], 0);
  EXPECT_EQ(played[74], 0);
  GotoMove(t.g, 1, 0, 0);
  EXPECT_NE(t.g.board, played);
  GotoMove(t.g, -1, 0, 0);
  EXPECT_EQ(t.g.board, played);
  EXPECT_EQ(t.g.P.GamePly, 1);
}

}  // namespace
}  // namespace m8
