#include "core/game/gameloader.h"

#include <gtest/gtest.h>

#include <random>

#include "core/fileio.h"
#include "core/files/diagram.h"
#include "core/files_fixture.h"
#include "core/files/gamefile.h"
#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/game/domoves.h"
#include "core/game/gamesetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {
namespace {

using testing::CrLfLines;

// A program folder with the shipped variant files beside it.
class GameFilesTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }

  // Plays a move given by cells, as the move entry would, and records it.
  void Play(GameState& s, int from, int to) {
    const std::string text = ToUpper(SquareNotation(s, from, 0) + SquareNotation(s, to, 0));
    ASSERT_TRUE(PlayMoveString(s, text)) << text;
    RecordGameMove(s, s.P.MoveList[s.P.PlayedMoveIndex]);
    ResetPly(s);
  }

  // A set-up position, white to move: b6 takes c7 and crowns on d8; then
  // g7-h6, d8-e7, h6-g5.
  void PlayCrowningGame(GameState& s) {
    for (auto& cell : s.board)
      if (cell != kOffBoard) cell = 0;
    s.board[72] = 1;   // b6
    s.board[21] = 1;   // a1
    s.board[83] = -1;  // c7
    s.board[87] = -1;  // g7
    s.board[98] = -2;  // h8, a black king
    s.P.SideToMove = 1;
    s.Flow.PositionPreset = 1;
    SetupPositionState(s);
    Play(s, 72, 94);
    Play(s, 87, 78);
    Play(s, 94, 85);
    Play(s, 78, 67);
    s.Game.PlyComments[0] = "White to play";
    s.Game.PlyComments[1] = "Crowned\nwith a capture";
    s.Game.PlyComments[4] = "The end";
  }

  void ExpectSameGame(const GameState& a, const GameState& b) {
    EXPECT_EQ(a.board, b.board);
    EXPECT_EQ(a.StartBoard, b.StartBoard);
    EXPECT_EQ(a.P.SideToMove, b.P.SideToMove);
    EXPECT_EQ(a.Game.GameLength, b.Game.GameLength);
    EXPECT_EQ(a.P.GamePly, b.P.GamePly);
    for (int p = 1; p <= a.Game.GameLength; ++p) {
      EXPECT_EQ(a.Game.GameMoves[p].From, b.Game.GameMoves[p].From) << p;
      EXPECT_EQ(a.Game.GameMoves[p].To, b.Game.GameMoves[p].To) << p;
      EXPECT_EQ(a.Game.GameMoves[p].IsCapture(), b.Game.GameMoves[p].IsCapture()) << p;
      EXPECT_EQ(a.Game.GameMoves[p].Crown, b.Game.GameMoves[p].Crown) << p;
    }
    for (int p = 0; p <= a.Game.GameLength; ++p) EXPECT_EQ(a.Game.PlyComments[p], b.Game.PlyComments[p]) << p;
  }

  std::unique_ptr<GameState> Fresh() {
    auto s = std::make_unique<GameState>();
    Restart(*s);
    InitGame(*s);
    return s;
  }
};

TEST_F(GameFilesTest, SavedGameLoadsBackInBothFormatsAndNotations) {
  for (const char* name : {"game.tvn", "game.pdn"})
    for (int notation : {0, 1}) {
      SCOPED_TRACE(std::string(name) + " notation " + std::to_string(notation));
      auto s = Fresh();
      s->Opt.Notation = notation;
      // A rule set of no built-in family: the rules travel with the game.
      s->Rules.NumberFriends = -1;
      s->Rules.ThreeKings = 1;
      s->Rules.NumberKings = 13;
      s->Rules.ManContJumpCrowned = 1;
      PlayCrowningGame(*s);
      std::filesystem::remove(Path(name));
      ASSERT_TRUE(SaveGame(*s, Path(name), name));

      auto t = Fresh();
      t->Opt.Notation = 1 - notation;
      ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(name), name)) << (host.messages.empty() ? "" : host.messages.back().text);
      if (std::string(name) == "game.pdn") {
        // PDN keeps a comment on one line.
        s->Game.PlyComments[1] = "Crowned  with a capture";
      }
      ExpectSameGame(*s, *t);
      EXPECT_EQ(t->Rules, s->Rules);
      EXPECT_EQ(t->Flow.GameFileTitle, name);
      EXPECT_NE(t->Flow.Caption.find(name), std::string::npos);
      EXPECT_EQ(t->Game.GameRecord[1][2], "3");  // read from a file
      EXPECT_EQ(t->Rating.RatedGame, 0);
    }
}

TEST_F(GameFilesTest, OwnFormatLayout) {
  PlayCrowningGame(g);
  g.Opt.Notation = 1;
  const auto lines = CrLfLines(GameFileText(g));
  ASSERT_EQ(lines.size(), 57u + 7u);  // 4 moves, 3 comments
  EXPECT_EQ(lines[0], "TAVRIN Version=0.89");
  EXPECT_EQ(lines[1], "Variant=*American Checkers*");
  EXPECT_EQ(lines[2], "Setup=" + BoardToSetupString(g));
  EXPECT_EQ(lines[8], "PromoW= 1 2 3 4");
  EXPECT_EQ(lines[9], "PromoB=29303132");
  EXPECT_EQ(lines[49], "Offset=");
  EXPECT_EQ(lines[50], "NW;NE NW;NE");
  EXPECT_EQ(lines[56], "START");
  EXPECT_EQ(lines[57], "{White to play}");
  EXPECT_EQ(lines[58], " 9 2");  // b6 x d8 in square numbers
  EXPECT_EQ(lines[59], "{Crowned\xFF\xFFwith a capture}");
  EXPECT_EQ(lines.back(), "{The end}");
}

TEST_F(GameFilesTest, BrokenFilesAreRefusedAndTheGameStays) {
  PlayCrowningGame(g);
  const std::string good = GameFileText(g);
  auto withLine = [&](int n, const std::string& text) {
    auto lines = CrLfLines(good);
    lines[n - 1] = text;
    std::string s;
    for (auto& l : lines) s += l + "\r\n";
    return s;
  };
  auto lineOf = [&](const std::string& prefix) {
    const auto lines = CrLfLines(good);
    for (size_t i = 0; i < lines.size(); ++i)
      if (StartsWith(lines[i], prefix)) return static_cast<int>(i) + 1;
    ADD_FAILURE() << prefix;
    return 1;
  };
  struct Case {
    std::string bytes, expect;
  } cases[] = {
      {"tavrin version=0.89\r\n" + good.substr(21), "is not an Morventa8 file"},
      // Every rule has its range; unknown direction names are named.
      {withLine(lineOf("ContractW1="), "ContractW1=2147483647"), "ContractW1=2147483647 is outside 0..9"},
      {withLine(lineOf("MulJumps="), "MulJumps=2"), "MulJumps=2 is outside 0..1"},
      // A value past the 32-bit range is quoted as written, with its line.
      {withLine(lineOf("MulJumps="), "MulJumps=99999999999"),
       "bad.tvn, line " + std::to_string(lineOf("MulJumps=")) + ": MulJumps=99999999999 is outside 0..1"},
      {withLine(lineOf("ContractW1="), "ContractW1=-4294967296"),
       "bad.tvn, line " + std::to_string(lineOf("ContractW1=")) + ": ContractW1=-4294967296 is outside 0..9"},
      {withLine(lineOf("NW;NE NW;NE"), "XX;YY ZZ"), "\"XX\" is not a direction name"},
      {withLine(1, "TAVRIN Version=0.9"), "Need version 0.89"},
      {withLine(3, "Setup=10101x"), "bad.tvn, line 3"},
      {withLine(2, "Variant=*../../secret*"), "line 2"},
      {withLine(2, "Variant=77"), "line 2"},
      {withLine(4, "Book=yes"), "line 4"},
      {withLine(11, "PiecesOnBlack=7"), "PiecesOnBlack=7 is outside"},
      // A rule value is read exactly, and quoted as the file writes it.
      {withLine(11, "PiecesOnBlack=1.5"), "line 11: PiecesOnBlack=1.5 is not a whole number in 0..2"},
      {withLine(lineOf("MulJumps="), "MulJumps=1junk"), "MulJumps=1junk is not a whole number in 0..1"},
      {withLine(lineOf("MulJumps="), "MulJumps=0x1"), "MulJumps=0x1 is not a whole number in 0..1"},
      {good.substr(0, good.find("START")), "ends before the line START"},
      {withLine(61, "8781"), "line 61"},  // not a legal move there
      // A move line ending in a colon: the move is quoted, its colon not doubled.
      {withLine(61, "d4:"), "\"D4:\": Illegal move!\r\nbad.tvn, line 61"},
  };
  auto s = Fresh();
  PlayCrowningGame(*s);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    Write("bad.tvn", c.bytes);
    host.messages.clear();
    EXPECT_FALSE(LoadGame(*s, kLoadOpen, Path("bad.tvn"), "bad.tvn"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(c.expect), std::string::npos) << host.messages[0].text;
    ExpectSameGame(g, *s);
  }
}

TEST_F(GameFilesTest, VersionWithTrailingZeroAndNumberedVariant) {
  InitGame(g);
  std::string text = GameFileText(g);
  text.replace(0, text.find("\r\n"), "TAVRIN Version=0.890");
  GameFileData d;
  FileProblem p;
  ASSERT_TRUE(ParseGameFile(text, "x.tvn", d, p));
  const size_t v = text.find("Variant=");
  text.replace(v, text.find("\r\n", v) - v, "Variant=3");
  ASSERT_TRUE(ParseGameFile(text, "x.tvn", d, p));
  EXPECT_EQ(*d.Variant, "NE Diagonal Checkers");
}

TEST_F(GameFilesTest, AutosaveKeepsTheSavedGameAndNoCaption) {
  PlayCrowningGame(g);
  ASSERT_TRUE(SaveAutosave(g));
  auto t = Fresh();
  ASSERT_TRUE(LoadGame(*t, kLoadAutosave));
  ExpectSameGame(g, *t);
  EXPECT_EQ(t->Flow.PositionPreset, 0);
  EXPECT_TRUE(std::filesystem::exists(Path(kAutosaveFileName)));
}

const char* kStandardPdn =
    "[Event \"Club\"]\n"
    "[Round \"3\"]\n"
    "[Black \"Ann\"]\n"
    "[White \"Bob\"]\n"
    "[Result \"1-0\"]\n"
    "\n"
    "1. 11-15 {a classic} 22-18 2. 15x22 (2. 8-11 26-22 {side line}) 25x18 $1\n"
    "3. 8-11! 29-25 {quiet} 1-0\n"
    "\n"
    "[Event \"Problem\"]\n"
    "[SetUp \"1\"]\n"
    "[FEN \"W:W21,22,K30:B1,2.\"]\n"
    "[Result \"*\"]\n"
    "\n"
    "1. ... 30-26 2. 1-6 *\n";

TEST_F(GameFilesTest, StandardPdnGamesCommentsVariationsAndSetUps) {
  Write("club.pdn", kStandardPdn);
  PdnFile file;
  FileProblem p;
  ASSERT_TRUE(ReadPdnFile(kStandardPdn, "club.pdn", file, p));
  ASSERT_EQ(file.games.size(), 2u);
  EXPECT_EQ(PdnRowText(file.games[0].tags), "Club 3");
  EXPECT_EQ(file.games[1].tags.Fen, "W:W21,22,K30:B1,2.");

  int offered = 0;
  PdnChooser first = [&](const PdnFile& f, bool, std::string*) {
    offered = static_cast<int>(f.games.size());
    return 1;
  };
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("club.pdn"), "club.pdn", first)) << host.messages.back().text;
  EXPECT_EQ(offered, 2);
  EXPECT_EQ(g.Game.GameLength, 6);
  EXPECT_EQ(g.Game.PlyComments[1], "a classic");
  EXPECT_EQ(g.Game.PlyComments[6], "quiet");
  EXPECT_TRUE(g.Game.GameMoves[3].IsCapture());
  EXPECT_TRUE(g.Game.GameMoves[4].IsCapture());
  EXPECT_FALSE(g.Game.GameMoves[6].IsCapture());
  EXPECT_EQ(g.Flow.LoadedResult, "1-0");
  EXPECT_EQ(g.Header.GameBlack, "Ann");
  EXPECT_EQ(g.Flow.PlayerName2, "Bob");

  PdnChooser second = [](const PdnFile&, bool, std::string*) { return 2; };
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("club.pdn"), "club.pdn", second));
  EXPECT_EQ(g.Game.GameLength, 2);
  EXPECT_EQ(g.StartBoard[SquareNumber(g, "21")], 1);
  EXPECT_EQ(g.StartBoard[SquareNumber(g, "30")], 2);
  EXPECT_EQ(g.StartBoard[SquareNumber(g, "2")], -1);
  EXPECT_EQ(g.Game.GameMoves[1].From, SquareNumber(g, "30"));
}

// A game without rules of its own takes those of the chooser's "Open as"
// variant or of its GameType number; its first move decides the notation.
TEST_F(GameFilesTest, PdnGameUnderAChosenVariant) {
  Write("it.pdn", "[Event \"x\"]\n*\n");
  PdnChooser openAsItalian = [](const PdnFile&, bool, std::string* openAs) {
    *openAs = "Italian Checkers";
    return 1;
  };
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("it.pdn"), "it.pdn", openAsItalian));
  EXPECT_EQ(g.Rules.Variant, "Italian Checkers");
  EXPECT_EQ(g.Rules, g.VariantRules);
  EXPECT_EQ(g.Rules.BlackStarts, 0);
  EXPECT_EQ(g.Game.GameLength, 0);

  // A first move in algebraic squares, as Italian Checkers allows it.
  ASSERT_TRUE(GenerateLegalMoves(g));
  const MoveRecord m = g.P.MoveList[g.P.PlyStart[0]];
  std::string move;
  {
    ScopedNotation algebraic(g, 0);
    move = SquareNotation(g, m.From, 1) + "-" + SquareNotation(g, m.To, 1);
  }
  Write("it.pdn", "[Event \"y\"]\n[GameType \"22\"]\n1. " + move + " *\n");
  g.Flow.PositionPreset = 0;
  g.Rules = RuleSet{};
  InitGame(g);
  g.Opt.Notation = 1;
  ASSERT_TRUE(LoadGame(g, kLoadOpen, Path("it.pdn"), "it.pdn"))
      << move << " " << (host.messages.empty() ? "" : host.messages.back().text);
  EXPECT_EQ(g.Rules.Variant, "Italian Checkers");
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_EQ(g.Game.GameLength, 1);
}

TEST_F(GameFilesTest, PdnMoveTextsAndTags) {
  EXPECT_EQ(PdnMoveKey("9-14"), " 914");
  EXPECT_EQ(PdnMoveKey("11-5"), "11 5");
  EXPECT_EQ(PdnMoveKey("9x18x27"), " 91827");  // every landing square kept
  EXPECT_EQ(PdnMoveKey("c3-d4"), "c3d4");
  EXPECT_EQ(PdnMoveKey("d4:b6"), "d4b6");
  EXPECT_EQ(PdnMoveKey("9:18:27"), " 91827");
  EXPECT_EQ(PdnMoveKey("c3xa5xc7"), "c3a5c7");
  EXPECT_EQ(PdnMoveKey("22X13x6"), "2213 6");
  EXPECT_EQ(PdnMoveKey("14"), "14");
  PdnTags t;
  EXPECT_TRUE(ParsePdnTag("[Date \"2004\"]", t));
  EXPECT_TRUE(ParsePdnTag("[Year \"1999\"]", t));
  EXPECT_EQ(t.Date, "1999");
  EXPECT_TRUE(ParsePdnTag("[Event\"x\"]", t));  // no blank: not this tag
  EXPECT_EQ(t.Event, "");
  EXPECT_FALSE(ParsePdnTag("[Event \"", t));
  FenPosition f;
  EXPECT_FALSE(ParseFen("W::.", f));
  EXPECT_FALSE(ParseFen("X:W1", f));
  EXPECT_FALSE(ParseFen("B:W33", f));
  ASSERT_TRUE(ParseFen("B:W21-23:BK1", f));
  EXPECT_EQ(f.pieces.size(), 4u);
  EXPECT_EQ(f.pieces.back().value, -2);
}

TEST_F(GameFilesTest, BrokenPdnIsRefusedWithItsLine) {
  // The rules tag of the game in hand with one field written otherwise; each
  // field is checked as a variant file's value is.
  const std::string tag = PdnRulesTagValue(g);
  auto lastField = [&](const std::string& value) {
    return "[KVersion \"1.13\"]\n[Tavrin \"" + tag.substr(0, tag.rfind(' ') + 1) + value + "\"]\n1. 11-15 *\n";
  };
  auto promotion = [&](const std::string& value) {
    std::string t = tag;
    t.replace(t.find(" B8D8F8H8 "), 10, " " + value + " ");
    return "[KVersion \"1.13\"]\n[Tavrin \"" + t + "\"]\n1. 11-15 *\n";
  };
  struct Case {
    std::string bytes, expect;
  } cases[] = {
      {lastField("4294967296"), "ManContJumpCrowned=4294967296 is outside 0..1"},
      {lastField("1.5"), "ManContJumpCrowned=1.5 is not a whole number in 0..1"},
      {lastField("04"), "ManContJumpCrowned=04 is outside 0..1"},
      {lastField("x"), "ManContJumpCrowned=x is not a whole number in 0..1"},
      {promotion("B8D8F8H8e308"), "the promotion squares: \"08\""},
      {promotion("z9z9B8D8F8H8"), "the promotion squares: \"Z9\""},
      {"[Variant \"x\"]\n1. 11-15 *\n", "is not a PDN file"},
      {"[Event \"x\"]\n[Date \"y\"]\n", "No games found!"},
      {"[Event \"x\"]\n1. 11-15 23-19\n2. 8-11 hello 22-17 *\n", "club.pdn, line 3"},
      {"[Event \"x\"]\n1. 11-15 23-19\n2. 8-12 22-17 *\n", "line 3"},
      {"[FEN \"Q:W1\"]\n1. 11-15 *\n", "Illegal Setup!"},
      {"[Tavrin \"*American Checkers* 101 x\"]\n1. 11-15 *\n", "rules tag"},
      {"[Tavrin \"*../../etc/x* 1\"]\n1. 11-15 *\n", "not a valid variant name"},
      // A refused move is quoted as the file writes it.
      {"[Event \"x\"]\n1. 17-21 *\n", "17-21: Illegal move!\r\nclub.pdn, line 2"},
      {"[Event \"x\"]\n1. d4:b6 *\n", "d4:b6: Illegal move!\r\nclub.pdn, line 2"},
      {"[Event \"x\"]\n1. 32-28 19-23 2. 37-32 23x41 *\n",
       "32-28: Illegal move!\r\nclub.pdn, line 2\r\nIts moves name squares above 32 and it has no GameType tag: it "
       "looks like a game on a larger board."},
      {"[Event \"x\"]\n1. 11-15 23-19\n2. - - 3. - - *\n",
       "club.pdn, line 3: \"-\" is a placeholder, not a move: the file leaves this move out"},
      // A result-like token inside the moves is no move (one cut short by the
      // end of the file ends them instead).
      {"[Event \"x\"]\n1. 11-15 22-17 +/- {so} 2. 8-11 *", "club.pdn, line 2: \"+/-\" is not a move"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    Write("club.pdn", c.bytes);
    host.messages.clear();
    EXPECT_FALSE(LoadGame(g, kLoadOpen, Path("club.pdn"), "club.pdn"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(c.expect), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(g.Game.GameLength, 0);
  }
}

// A FEN that names a square by its letter puts a piece only on a square the
// game uses: b1 is none in American or Russian Checkers (the piece was left
// out without a word), but one in Turkish Checkers, where every square is.
TEST_F(GameFilesTest, FenPiecesStandOnSquaresInPlay) {
  const struct {
    const char* gameType;  // "" for none
    const char* fen;
    const char* refused;  // the square named, "" when taken
  } cases[] = {
      {"", "W:WKb1,c3:Bd6", "b1"},
      {"", "W:Wc3:Bd6,Kh1", "h1"},
      {"25", "W:WKb1,c3:Bd6", "b1"},
      {"", "W:Wc3:Bd6", ""},
      {"30", "W:WKb1,c3:Bd6", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.gameType) + " " + c.fen);
    std::string text = "[Event \"x\"]\n";
    if (*c.gameType) text += "[GameType \"" + std::string(c.gameType) + "\"]\n";
    text += "[SetUp \"1\"]\n[FEN \"" + std::string(c.fen) + "\"]\n*\n";
    Write("club.pdn", text);
    host.messages.clear();
    LoadGame(g, kLoadOpen, Path("club.pdn"), "club.pdn");
    std::string all;
    for (const auto& m : host.messages) all += m.text + "\n";
    if (*c.refused) {
      ASSERT_EQ(host.messages.size(), 1u) << all;
      EXPECT_EQ(all.rfind("Illegal Setup!\r\nclub.pdn, game 1 (line ", 0), 0u) << all;
      EXPECT_NE(all.find("): the FEN puts a piece on " + std::string(c.refused) + ", a square the game does not use."),
                std::string::npos)
          << all;
    } else {
      EXPECT_EQ(all.find("Illegal Setup"), std::string::npos) << all;
      EXPECT_EQ(g.board[43], 1) << all;  // c3
    }
  }
}

// The set-up strings of the game files put pieces only on the squares the
// game uses, as a FEN does: the own file's Setup line and the position of the
// rules tag are refused with their line when a piece stands elsewhere (such a
// piece was moved over one square without a word). A game on the light
// squares also takes its variant's own start all on the dark squares, as the
// files write an untouched start, and moves it over whole; any other position
// all on the dark squares is refused, naming the square, as a dark-square
// game refuses it.
TEST_F(GameFilesTest, SetUpStringsPutPiecesOnSquaresInPlayOnly) {
  using Pieces = std::vector<std::pair<const char*, char>>;
  // The 64 digits, a1 to h1, a2 to h2, ... with the pieces given.
  auto digits = [](const Pieces& pieces) {
    std::string d(64, '0');
    for (const auto& [square, piece] : pieces) d[static_cast<size_t>((square[1] - '1') * 8 + (square[0] - 'a'))] = piece;
    return d;
  };
  const std::string standard = "1010101001010101101010100000000000000000020202022020202002020202";
  // A variant of the user's on the light squares whose own start, on the
  // dark squares as variant files give it, lacks the men on a1 and h8.
  std::string shortStart = standard;
  shortStart[0] = shortStart[63] = '0';
  const std::string userFolder = (folder / "user").string();
  {
    const std::string italian = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/Italian Checkers.ini").value();
    std::string mine = italian;
    const size_t at = mine.find("Setup=normal");
    ASSERT_NE(at, std::string::npos);
    mine.replace(at, 12, "Setup=" + shortStart);
    Write("user/variants/uservariants/Short Italian.ini", mine);
  }
  const struct {
    const char* variant;
    Pieces given;
    std::string setup;    // when not empty, given in place of the pieces ("start": the variant's own start)
    const char* refused;  // the square named, "" when the file loads
    Pieces shown;         // the board once loaded; when empty, that of a new game of the variant
  } cases[] = {
      // American Checkers plays on the dark squares (a1 is one), Italian on
      // the light ones.
      {"American Checkers", {{"b1", '3'}, {"c8", '2'}}, "", "b1", {}},
      {"American Checkers", {{"a1", '3'}, {"c8", '2'}}, "", "c8", {}},
      {"American Checkers", {{"a1", '3'}, {"d8", '2'}}, "", "", {{"a1", '3'}, {"d8", '2'}}},
      {"Italian Checkers", {{"b1", '3'}, {"h8", '2'}}, "", "h8", {}},
      {"Italian Checkers", {{"b1", '3'}, {"c8", '2'}}, "", "", {{"b1", '3'}, {"c8", '2'}}},
      // All on the dark squares, but no start of the game: White's c3xa5 in
      // Italian is no d3 and a4 without a capture.
      {"Italian Checkers", {{"a1", '3'}, {"d8", '2'}}, "", "a1", {}},
      {"Italian Checkers", {{"c3", '1'}, {"b4", '2'}}, "", "c3", {}},
      {"Portuguese Checkers", {}, shortStart, "c1", {}},
      {"Short Italian", {}, standard, "a1", {}},
      // The variant's own start, all on the dark squares.
      {"Spanish Checkers", {}, "start", "", {}},
      {"Short Italian", {}, "start", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.variant) + " " + (c.setup.empty() ? digits(c.given) : c.setup));
    auto s = Fresh();
    const bool mine = std::string(c.variant) == "Short Italian";
    s->UserFolder = userFolder;
    s->Opt.UseClassic = mine ? 0 : 1;
    s->Flow.PositionPreset = 0;
    s->Rules.Variant = c.variant;
    InitGame(*s);
    s->Rules = s->VariantRules;
    InitGame(*s);
    ASSERT_EQ(s->Rules.Variant, c.variant);
    ASSERT_EQ(s->Variant.LoadedVariantName, c.variant);
    const Board newGame = s->board;
    const std::string start = BoardToSetupString(s->StartBoard);
    const std::string setup = c.setup == "start" ? start : c.setup.empty() ? digits(c.given) : c.setup;

    std::string own;
    int setupLine = 0, n = 0;
    for (const std::string& line : CrLfLines(GameFileText(*s))) {
      ++n;
      if (StartsWith(line, "Setup=")) setupLine = n;
      own += (StartsWith(line, "Setup=") ? "Setup=" + setup : line) + "\r\n";
    }
    ASSERT_GT(setupLine, 0);
    std::string tag = PdnRulesTagValue(*s);
    ASSERT_NE(tag.find(" " + start + " "), std::string::npos) << tag;
    tag.replace(tag.find(" " + start + " ") + 1, 64, setup);
    const std::string pdn = "[Event \"x\"]\n[KVersion \"1.13\"]\n[Tavrin \"" + tag + "\"]\n\n*\n";

    const struct {
      std::string name, bytes, where;
    } files[] = {
        {"own.tvn", own, "own.tvn, line " + std::to_string(setupLine) + ": "},
        {"tag.pdn", pdn, "tag.pdn, game 1, line 3: the rules tag: "},
    };
    for (const auto& f : files) {
      SCOPED_TRACE(f.name);
      Write(f.name, f.bytes);
      host.messages.clear();
      const bool loaded = LoadGame(*s, kLoadOpen, Path(f.name), f.name);
      std::string all;
      for (const auto& m : host.messages) all += m.text + "\n";
      if (*c.refused) {
        EXPECT_FALSE(loaded);
        EXPECT_NE(all.find(f.where + "the position puts a piece on " + c.refused + ", a square the game does not use"),
                  std::string::npos)
            << all;
      } else {
        ASSERT_TRUE(loaded) << all;
        if (c.shown.empty())
          EXPECT_EQ(BoardToSetupString(s->board), BoardToSetupString(newGame));
        else
          EXPECT_EQ(BoardToSetupString(s->board), digits(c.shown));
      }
    }
  }
}

// A move the file splits after its separator ("11- 15") is one move; a
// token that ends in a separator before a move of its own ("1- 23-19") is
// refused as the file writes it.
TEST_F(GameFilesTest, ASeparatorAtTheEndJoinsOnlyTheRestOfItsMove) {
  const struct {
    const char* moves;
    int plies;            // when the game loads
    const char* refused;  // else the message's end
  } cases[] = {
      {"1. 11- 15 23- 19 2. 8-11 *", 3, ""},
      {"1. 11-15 23-19 2. 8- 11 22x 17 *", 0, "22x17: Illegal move!\r\nclub.pdn, line 2"},
      {"1. 11-15 1- 23-19 *", 0, "club.pdn, line 2: \"1-\" is not a move"},
      {"1. 11-15 23-19 2. 8- 11-16 *", 0, "club.pdn, line 2: \"8-\" is not a move"},
      // A square before the separator and none after it, in letters too.
      {"1. 11-15 d4: f6g7:e5 *", 0, "club.pdn, line 2: \"d4:\" is not a move"},
      {"1. 11-15 c3x 23-19 *", 0, "club.pdn, line 2: \"c3x\" is not a move"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moves);
    Write("club.pdn", std::string("[Event \"x\"]\n") + c.moves + "\n");
    host.messages.clear();
    const bool loaded = LoadGame(g, kLoadOpen, Path("club.pdn"), "club.pdn");
    std::string all;
    for (const auto& m : host.messages) all += m.text + "\n";
    if (*c.refused) {
      EXPECT_FALSE(loaded);
      EXPECT_NE(all.find(c.refused), std::string::npos) << all;
    } else {
      ASSERT_TRUE(loaded) << all;
      EXPECT_EQ(g.Game.GameLength, c.plies);
    }
  }
}

// A FEN naming one square for two different pieces gives no position.
TEST_F(GameFilesTest, AFenNamingOneSquareForTwoPiecesIsRefused) {
  const struct {
    const char* fen;
    const char* square;  // "" when the FEN loads
  } cases[] = {
      {"B:W18:B18", "18"},
      {"B:W18,K18:B1", "18"},
      {"W:W14-18:B1,K16", "16"},
      {"W:Wc3:Bc3", "c3"},
      {"B:W18,18:B1", ""},  // the same man twice is one man
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fen);
    Write("two.pdn", "[Event \"x\"]\n[SetUp \"1\"]\n[FEN \"" + std::string(c.fen) + "\"]\n*\n");
    host.messages.clear();
    const bool loaded = LoadGame(g, kLoadOpen, Path("two.pdn"), "two.pdn");
    std::string all;
    for (const auto& m : host.messages) all += m.text + "\n";
    if (*c.square) {
      EXPECT_FALSE(loaded);
      EXPECT_EQ(all.rfind("Illegal Setup!\r\ntwo.pdn, game 1", 0), 0u) << all;
      EXPECT_NE(all.find("the FEN puts two pieces on " + std::string(c.square) + "."), std::string::npos) << all;
    } else {
      EXPECT_TRUE(loaded) << all;
    }
  }
}

// A FEN that gives no position says why under "Illegal Setup!": the square
// it names, or what it lacks.
TEST_F(GameFilesTest, ARefusedFenNamesTheSquareOrTheReason) {
  const struct {
    const char* tags;
    const char* why;
  } cases[] = {
      {"[GameType \"21\"]\n[FEN \"B:W33:B1\"]", "the FEN names square 33, and the squares are numbered 1 to 32."},
      {"[GameType \"21\"]\n[FEN \"B:W1-40:B31\"]", "the FEN names square 40, and the squares are numbered 1 to 32."},
      {"[SetUp \"1\"]\n[FEN \"W::.\"]", "the FEN \"W::.\" places no piece: the board is empty."},
      {"[SetUp \"1\"]\n[FEN \"Q:W1:B2\"]", "the FEN \"Q:W1:B2\" does not begin with the side to move, W: or B:."},
      {"[SetUp \"1\"]\n[FEN \"W:W3x:B1\"]", "the FEN's \"3x\" names no square."},
      {"[SetUp \"1\"]\n[FEN \"W:Wc33:B1\"]", "the FEN's \"c33\" names no square."},
      {"[SetUp \"1\"]\n[FEN \"W:W12-5:B1\"]", "the FEN's range \"12-5\" runs backwards."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tags);
    Write("fen.pdn", std::string("[Event \"x\"]\n") + c.tags + "\n\n1. 11-15 *\n");
    host.messages.clear();
    EXPECT_FALSE(LoadGame(g, kLoadOpen, Path("fen.pdn"), "fen.pdn"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Error");
    EXPECT_EQ(host.messages[0].text, std::string("Illegal Setup!\r\nfen.pdn, game 1 (line 5): ") + c.why);
  }
}

TEST_F(GameFilesTest, PdnAsWritten) {
  PlayCrowningGame(g);
  g.Opt.Notation = 0;
  g.Flow.GameResult.clear();
  const auto lines = CrLfLines(PdnGameText(g, "07/04/2026"));
  // A set-up position is outside the built-in families: the rules tag goes
  // along, after the standard tags of the start; White begins where Black
  // usually does, so the first move is the second player's.
  // The details name no player: the names beside the board go out, the
  // user's beside White, who moves first here.
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[0], "[Date \"07/04/2026\"]");
  EXPECT_EQ(lines[1], "[Black \"Computer\"]");
  EXPECT_EQ(lines[2], "[White \"Player\"]");
  EXPECT_EQ(lines[3], "[Result \"*\"]");
  EXPECT_EQ(lines[4], "[GameType \"21\"]");
  EXPECT_EQ(lines[5], "[SetUp \"1\"]");
  EXPECT_EQ(lines[6], "[FEN \"W:W9,29:BK4,6,8\"]");
  EXPECT_EQ(lines[7], "[KVersion \"1.13\"]");
  EXPECT_TRUE(StartsWith(lines[8], "[Tavrin \"*American Checkers* "));
  EXPECT_EQ(lines[9], "");
  EXPECT_EQ(lines[10], "1... {White to play} 9x2 2. {Crowned  with a capture} 8-12 2-7 3. 12-16 ");
  EXPECT_EQ(lines[11], "{The end} *");
  EXPECT_EQ(g.Header.GameDate, "07/04/2026");
  EXPECT_EQ(g.Flow.GameResult, "*");

  g.Flow.PositionPreset = 0;
  g.Rules = RuleSet{};
  InitGame(g);
  g.Header.GameDate.clear();
  const auto plain = CrLfLines(PdnGameText(g, "07/04/2026"));
  ASSERT_EQ(plain.size(), 8u);  // American Checkers from the start: its GameType, no rules tag
  EXPECT_EQ(plain[1], "[Black \"Player\"]");
  EXPECT_EQ(plain[2], "[White \"Computer\"]");
  EXPECT_EQ(plain[4], "[GameType \"21\"]");
  EXPECT_EQ(plain[5], "");
  EXPECT_EQ(plain[6], "*");
}

TEST_F(GameFilesTest, DoMovesFile) {
  g.Rules.NumberMoves = 0;
  InitGame(g);
  EXPECT_EQ(CrLfLines(DoMovesFileText(g)).size(), 57u);

  InitGame(g);
  g.Rules.DoMoves = 1;
  g.Rules.NumberMoves = 6;
  ASSERT_TRUE(WriteDoMovesFile(g));
  EXPECT_GT(g.Game.GameLength, 0);
  EXPECT_LE(g.Game.GameLength, 6);
  EXPECT_FALSE(std::filesystem::exists(Path(kDoMovesFileName)));
  EXPECT_TRUE(g.Flow.GameFileTitle.empty());
}

TEST_F(GameFilesTest, HtmlDiagram) {
  for (auto& cell : g.board)
    if (cell != kOffBoard) cell = 0;
  g.board[21] = 1;   // a1
  g.board[98] = -2;  // h8
  g.Opt.BoardTurned = 0;
  g.Flow.CommentText = "one\ntwo <b>";
  const auto lines = CrLfLines(DiagramHtml(g));
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[2], "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
  EXPECT_EQ(lines[3], "<TITLE>American Checkers</TITLE>");
  EXPECT_EQ(lines[7], "<TABLE BORDER=\"1\" BORDERCOLOR=\"#000000\">");
  EXPECT_TRUE(StartsWith(lines[10], "<IMG SRC=\"pieces/lsquare.bmp\"><IMG SRC=\"pieces/dsquare.bmp\"><IMG SRC=\"p"));
  EXPECT_NE(lines[10].find("dblack_king.bmp\"><BR>"), std::string::npos);
  EXPECT_TRUE(StartsWith(lines[17], "<IMG SRC=\"pieces/dwhite_man.bmp\">"));
  EXPECT_EQ(lines[21], "<BR>");
  EXPECT_EQ(lines[22], "one");
  EXPECT_EQ(lines[23], "<BR>");
  EXPECT_EQ(lines[24], "two &lt;b&gt;");
  EXPECT_EQ(lines[25], "</BODY>");

  g.Opt.BoardTurned = 1;
  const auto turned = CrLfLines(DiagramHtml(g));
  EXPECT_NE(turned[10].find("dwhite_man.bmp\"><BR>"), std::string::npos);
  EXPECT_TRUE(StartsWith(turned[17], "<IMG SRC=\"pieces/dblack_king.bmp\">"));
  ASSERT_TRUE(CreateHtmlDiagram(g));
  EXPECT_EQ(host.messages.back().text, "DIAGRAM.HTML created\r\n" + ProgramFile(g, "diagram.html"));
  EXPECT_EQ(host.messages.back().icon, Icon::Information);  // news, not a warning
}

// A read-only install keeps the diagram in the user's folder: its pictures
// are still the program folder's, named in full (a blank in a folder name
// escaped).
TEST_F(GameFilesTest, DiagramInTheUsersFolderShowsTheProgramsPictures) {
  const std::filesystem::path program = folder / "Morventa 8";
  std::filesystem::create_directories(program / "pieces");
  g.ProgramFolder = program.string();
  g.UserFolder = (folder / "user").string();
  std::filesystem::create_directories(g.UserFolder);
  ASSERT_TRUE(CreateHtmlDiagram(g));
  EXPECT_FALSE(std::filesystem::exists(program / kDiagramFileName));
  const auto text = ReadWholeFile(g.UserFolder + "/" + kDiagramFileName);
  ASSERT_TRUE(text);
  const std::string url = "file://" + folder.string() + "/Morventa%208/pieces/";
  const auto lines = CrLfLines(*text);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_TRUE(StartsWith(lines[10], "<IMG SRC=\"" + url + "lsquare.bmp\"><IMG SRC=\"" + url)) << lines[10];
}

// Every opening of the shipped collection replays legally, and a new game
// can start from one at random.
TEST_F(GameFilesTest, ShippedOpeningsReplay) {
  const std::string shipped = std::string(M8_DATA_DIR) + "/" + kOpeningFileName;
  PdnFile file;
  FileProblem p;
  ASSERT_TRUE(ReadPdnFile(ReadWholeFile(shipped).value_or(""), kOpeningFileName, file, p));
  ASSERT_GE(file.games.size(), 20u);
  for (int n = 1; n <= static_cast<int>(file.games.size()); ++n) {
    SCOPED_TRACE(file.games[n - 1].tags.Event);
    PdnChooser pick = [n](const PdnFile&, bool, std::string*) { return n; };
    host.messages.clear();
    ASSERT_TRUE(LoadGame(g, kLoadOpen, shipped, kOpeningFileName, pick))
        << (host.messages.empty() ? "" : host.messages.back().text);
    EXPECT_GE(g.Game.GameLength, 1);
  }

  std::filesystem::copy_file(shipped, Path(kOpeningFileName));
  g.Flow.PositionPreset = 0;
  g.Rules = RuleSet{};
  InitGame(g);
  g.Opt.BookRandom = 1;
  ASSERT_TRUE(LoadGame(g, kLoadOpening));
  EXPECT_GE(g.Game.GameLength, 1);
  EXPECT_TRUE(g.Flow.GameFileTitle.empty());

  // Only from the standard start with black to move on the dark squares.
  g.Rules.AntiMode = 1;
  EXPECT_FALSE(LoadGame(g, kLoadOpening));
}

// Mutated files never crash the readers, and a refused file leaves the game.
TEST_F(GameFilesTest, FuzzedFilesAreReadSafely) {
  PlayCrowningGame(g);
  const std::string own = GameFileText(g);
  const std::string written = PdnGameText(g, "01/02/2026");  // with the rules tag
  std::mt19937 rng(7);
  for (const auto& [name, base] : {std::pair<std::string, std::string>{"f.tvn", own},
                                   {"f.pdn", kStandardPdn},
                                   {"g.pdn", written}}) {
    for (int round = 0; round < 60; ++round) {
      std::string bytes = base;
      const int edits = 1 + static_cast<int>(rng() % 4);
      for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 4) {
          case 0: bytes[at] = static_cast<char>(rng() % 256); break;
          case 1: bytes.erase(at, 1 + rng() % 8); break;
          case 2: bytes.insert(at, bytes.substr(rng() % bytes.size(), rng() % 12)); break;
          default: bytes.resize(at); break;
        }
      }
      Write(name, bytes);
      auto s = Fresh();
      PlayCrowningGame(*s);
      PdnChooser last = [](const PdnFile& f, bool, std::string*) { return static_cast<int>(f.games.size()); };
      if (!LoadGame(*s, kLoadOpen, Path(name), name, last)) ExpectSameGame(g, *s);
    }
  }
}

}  // namespace
}  // namespace m8
