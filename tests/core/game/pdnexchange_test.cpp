// PDN as other programs read it: the start of a game that does not begin from
// the usual position with the usual colour, the numbering of its moves, and
// the tags of a loaded game written again.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/files/pdntags.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/newgame.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/textcode.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

// ---------------------------------------------------------------------------
// A reader of its own, written from the public PDN rules for the 32 squares
// (squares 1 to 4 on the first row, rows alternately offset; Black's men start
// on 1 to 12 and crown on 29 to 32, White's the other way). It takes nothing
// from the program's reader.

using Position = std::map<int, int>;  // square number -> +1/-1 man, +2/-2 king

struct Replayed {
  std::map<std::string, std::string> tags;
  char firstColour = 'B';
  Position start, end;
  char toMove = 'B';
  std::vector<std::string> problems;
};

// Row and column of a square number.
std::pair<int, int> Coordinates(int n) {
  const int row = (n - 1) / 4;
  return {row, 2 * ((n - 1) % 4) + (row % 2 == 0 ? 1 : 0)};
}
int SquareAt(int row, int col) {
  if (row < 0 || row > 7 || col < 0 || col > 7 || (col % 2 == 0) != (row % 2 == 1)) return 0;
  return row * 4 + col / 2 + 1;
}

Position FenPosition(const std::string& fen, char* side, std::vector<std::string>& problems) {
  Position pos;
  std::stringstream sections(fen);
  std::string section;
  std::getline(sections, section, ':');
  *side = section == "W" ? 'W' : 'B';
  if (section != "W" && section != "B") problems.push_back("side to move " + section);
  while (std::getline(sections, section, ':')) {
    if (section.empty()) continue;
    const int sign = section[0] == 'W' ? 1 : -1;
    std::stringstream squares(section.substr(1));
    std::string sq;
    while (std::getline(squares, sq, ',')) {
      if (sq.empty()) continue;
      const bool king = sq[0] == 'K';
      pos[std::stoi(king ? sq.substr(1) : sq)] = sign * (king ? 2 : 1);
    }
  }
  return pos;
}

// Plays a move text "a-b" or "axbxc" on the position, as the side `colour`.
void PlayToken(Position& pos, const std::string& token, char colour, std::vector<std::string>& problems) {
  std::vector<int> squares;
  std::string n;
  for (char c : token + "-") {
    if (c == '-' || c == 'x') {
      squares.push_back(std::stoi(n));
      n.clear();
    } else {
      n += c;
    }
  }
  const int from = squares.front();
  const int piece = pos.count(from) ? pos[from] : 0;
  if (piece == 0 || (piece > 0) != (colour == 'W')) {
    problems.push_back(token + ": no piece of " + std::string(1, colour) + " on " + std::to_string(from));
    return;
  }
  pos.erase(from);
  // Each leg of a capture runs along one diagonal (a flying king's far) and
  // takes what stands between its ends.
  for (size_t i = 1; token.find('x') != std::string::npos && i < squares.size(); ++i) {
    const auto [r1, c1] = Coordinates(squares[i - 1]);
    const auto [r2, c2] = Coordinates(squares[i]);
    const int steps = std::abs(r2 - r1);
    if (steps < 2 || std::abs(c2 - c1) != steps) problems.push_back(token + ": not a capture along a diagonal");
    for (int k = 1; k < steps; ++k) pos.erase(SquareAt(r1 + k * (r2 - r1) / steps, c1 + k * (c2 - c1) / steps));
  }
  const int to = squares.back();
  if (pos.count(to)) problems.push_back(token + ": " + std::to_string(to) + " is taken");
  const bool crowns = std::abs(piece) == 1 && (piece > 0 ? to <= 4 : to >= 29);
  pos[to] = crowns ? 2 * piece : piece;
}

// Reads one PDN game: its tags, its start (the FEN when SetUp is 1, else the
// standard start with Black to move), and its moves, each played as the
// colour its numbering gives it ("n." the first colour's move, "n..." the
// other's, an unnumbered move the colour after the one before).
Replayed ReplayIndependently(const std::string& pdn) {
  Replayed r;
  std::stringstream lines(pdn);
  std::string line, moves;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line[0] == '[') {
      const size_t q = line.find('"');
      r.tags[line.substr(1, q - 2)] = line.substr(q + 1, line.rfind('"') - q - 1);
    } else {
      moves += line + " ";
    }
  }
  const bool gameTypeWhite = r.tags.count("GameType") && r.tags["GameType"] != "21" && r.tags["GameType"] != "23";
  const char usual = gameTypeWhite ? 'W' : 'B', other = usual == 'W' ? 'B' : 'W';
  if (r.tags["SetUp"] == "1") {
    r.start = FenPosition(r.tags["FEN"], &r.firstColour, r.problems);
  } else {
    r.firstColour = usual;
    for (int n = 1; n <= 12; ++n) r.start[n] = -1;
    for (int n = 21; n <= 32; ++n) r.start[n] = 1;
  }
  r.end = r.start;
  r.toMove = r.firstColour;
  bool first = true;
  std::stringstream tokens(moves);
  std::string token;
  while (tokens >> token) {
    if (token[0] == '{') {
      while (token.back() != '}' && tokens >> token) {
      }
      continue;
    }
    if (token == "*" || token == "1-0" || token == "0-1" || token == "1/2-1/2") break;
    const size_t dot = token.find('.');
    if (dot != std::string::npos) {
      r.toMove = token.substr(dot) == "..." ? other : usual;
      continue;
    }
    if (first && r.toMove != r.firstColour)
      r.problems.push_back("the first move is numbered for " + std::string(1, r.toMove) + ", but " +
                           std::string(1, r.firstColour) + " is to move");
    first = false;
    PlayToken(r.end, token, r.toMove, r.problems);
    r.toMove = r.toMove == 'W' ? 'B' : 'W';
  }
  return r;
}

// ---------------------------------------------------------------------------

class PdnExchangeTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
  }

  // The board of the game by square number.
  static Position Squares(GameState& s, const Board& board) {
    ScopedNotation numbers(s, 1);
    Position pos;
    for (int n = 1; n <= 32; ++n) {
      const int v = board[SquareNumber(s, std::to_string(n))];
      if (v != 0) pos[n] = v;
    }
    return pos;
  }

  // A position set up by hand from square numbers, `side` to move.
  static void SetUpPosition(GameState& s, const Position& pos, int side) {
    ScopedNotation numbers(s, 1);
    for (auto& cell : s.board)
      if (cell != kOffBoard) cell = 0;
    for (const auto& [n, v] : pos) s.board[SquareNumber(s, std::to_string(n))] = v;
    s.P.SideToMove = side;
    s.Flow.PositionPreset = 1;
    SetupPositionState(s);
  }

  // The first legal move, `plies` times, as a player enters it.
  static void PlayFirstMoves(GameState& s, int plies) {
    MoveFollowUps quiet;
    s.Opt.PlayMode = 1;
    for (int p = 0; p < plies; ++p) {
      ResetPly(s);
      ASSERT_TRUE(GenerateLegalMoves(s));
      ASSERT_TRUE(EnterMoveIndex(s, s.P.PlyStart[0], MoveSource::Typed, quiet));
    }
  }
};

// A man or king of each colour on squares a reader can check by hand.
const Position kSmallPosition = {{18, 1}, {26, 2}, {27, 1}, {1, -1}, {2, -1}, {5, -2}};

TEST_F(PdnExchangeTest, GamesNotFromTheUsualStartReplayElsewhere) {
  struct Case {
    const char* name;
    const char* variant;
    const Position* position;  // nullptr: the variant's own start
    int side;                  // to move first
    const char* fen;           // as written, "" when none
    const char* firstNumber;   // the move text's first token
  } cases[] = {
      {"set-up, White first", "American Checkers", &kSmallPosition, 1, "W:W18,K26,27:B1,2,K5", "1..."},
      {"set-up, Black first", "American Checkers", &kSmallPosition, -1, "B:W18,K26,27:B1,2,K5", "1."},
      {"usual start, White first", "American Checkers", nullptr, 1,
       "W:W21,22,23,24,25,26,27,28,29,30,31,32:B1,2,3,4,5,6,7,8,9,10,11,12", "1..."},
      // Russian games begin with White: Black's first move is the second player's.
      {"Russian set-up, Black first", "Russian Checkers", &kSmallPosition, -1, "B:W18,K26,27:B1,2,K5", "1..."},
      {"Russian set-up, White first", "Russian Checkers", &kSmallPosition, 1, "W:W18,K26,27:B1,2,K5", "1."},
      // The usual start with the usual colour needs no set-up.
      {"usual start, Black first", "American Checkers", nullptr, -1, "", "1."},
      {"Russian usual start, White first", "Russian Checkers", nullptr, 1, "", "1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto s = std::make_unique<GameState>();
    Restart(*s);
    s->Rules.Variant = c.variant;
    InitGame(*s);
    s->Rules = s->VariantRules;
    s->Opt.Notation = 1;
    if (c.position) {
      SetUpPosition(*s, *c.position, c.side);
    } else {
      s->Rules.BlackStarts = c.side == -1 ? 1 : 0;
      InitGame(*s);
    }
    ASSERT_EQ(s->P.SideToMove, c.side);
    PlayFirstMoves(*s, 5);

    const std::string pdn = PdnGameText(*s, "01/02/2026");
    SCOPED_TRACE(pdn);
    Replayed r = ReplayIndependently(pdn);
    EXPECT_EQ(r.tags["SetUp"], *c.fen ? "1" : "");
    EXPECT_EQ(r.tags["FEN"], c.fen);
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_EQ(r.start, Squares(*s, s->StartBoard));
    EXPECT_EQ(r.end, Squares(*s, s->board));
    EXPECT_EQ(r.toMove == 'W' ? 1 : -1, s->P.SideToMove);
    const size_t moves = pdn.find("\r\n\r\n") + 4;
    EXPECT_EQ(pdn.substr(moves, pdn.find(' ', moves) - moves), c.firstNumber);
  }
}

// Without the program's own rules tag, the standard pair alone sets the game
// up again, also when the squares are written as letters.
TEST_F(PdnExchangeTest, TheStandardTagsAloneReopenTheGame) {
  struct Case {
    const char* name;
    const char* variant;
    bool setUp;  // kSmallPosition, White to move; else the usual start, Black to move
    int algebraic;
  } cases[] = {
      {"set-up in numbers", "American Checkers", true, 0},
      {"set-up in letters", "American Checkers", true, 1},
      // Italian pieces stand on the other colour: the start moves over with them.
      {"Italian start, Black first", "Italian Checkers", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto s = std::make_unique<GameState>();
    Restart(*s);
    s->Rules.Variant = c.variant;
    InitGame(*s);
    s->Rules = s->VariantRules;
    s->Opt.Notation = 1;
    s->Opt.PdnAlgebraic = c.algebraic;
    if (c.setUp) {
      SetUpPosition(*s, kSmallPosition, 1);
    } else {
      s->Rules.BlackStarts = 1;
      InitGame(*s);
    }
    PlayFirstMoves(*s, 3);
    std::string pdn = PdnGameText(*s, "01/02/2026");
    for (const char* tag : {"[Tavrin ", "[KVersion "}) {
      const size_t at = pdn.find(tag);
      ASSERT_NE(at, std::string::npos);
      pdn.erase(at, pdn.find("\r\n", at) + 2 - at);
    }
    Write("other.pdn", pdn);
    auto t = std::make_unique<GameState>();
    Restart(*t);
    InitGame(*t);
    host.messages.clear();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("other.pdn"), "other.pdn"))
        << pdn << (host.messages.empty() ? "" : host.messages.back().text);
    if (c.setUp) {
      EXPECT_EQ(Squares(*t, t->StartBoard), Squares(*s, s->StartBoard)) << pdn;
    }
    EXPECT_EQ(t->board, s->board) << pdn;
    EXPECT_EQ(t->Game.GameLength, 3);
    EXPECT_EQ(t->P.SideToMove, s->P.SideToMove);
  }
}

// Round, ratings and opening of a loaded game go out again with it, and stay
// behind when a new game or a set-up begins.
TEST_F(PdnExchangeTest, LoadedTagsAreSavedAgainUntilTheNextGame) {
  const std::string club =
      "[Event \"Club Open\"]\r\n[Round \"3\"]\r\n[Date \"2025.05.04\"]\r\n[Black \"Ann\"]\r\n[BlackElo \"2105\"]\r\n"
      "[White \"Bob\"]\r\n[WhiteElo \"1987\"]\r\n[Result \"1-0\"]\r\n[ECO \"011\"]\r\n\r\n"
      "1. 11-15 23-19 2. 8-11 22-17 1-0\r\n\r\n";
  const std::map<std::string, std::string> kept = {
      {"Round", "3"}, {"BlackElo", "2105"}, {"WhiteElo", "1987"}, {"ECO", "011"}};

  struct YesHost : testing::RecordingHost {
    bool askYesNo(std::string_view, std::string_view) override { return true; }
  } yes;
  struct Case {
    const char* name;
    std::function<void(GameState&)> next;  // what follows the load; nullptr: nothing
  } cases[] = {
      {"saved again", nullptr},
      {"after a new game", [&](GameState& s) { s.host = &yes; ASSERT_TRUE(NewGame(s, 0, {})); }},
      {"after a set-up", [&](GameState& s) { SetUpPosition(s, kSmallPosition, -1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("club.pdn", club);
    auto s = std::make_unique<GameState>();
    Restart(*s);
    InitGame(*s);
    ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("club.pdn"), "club.pdn"));
    if (c.next) c.next(*s);
    std::filesystem::remove(Path("again.pdn"));
    ASSERT_TRUE(SaveGame(*s, Path("again.pdn"), "again.pdn"));

    PdnFile file;
    FileProblem problem;
    ASSERT_TRUE(ReadPdnFile(Read("again.pdn"), "again.pdn", file, problem)) << problem.text;
    ASSERT_EQ(file.games.size(), 1u);
    const PdnTags& t = file.games[0].tags;
    const std::map<std::string, std::string> written = {
        {"Round", t.Round}, {"BlackElo", t.BlackElo}, {"WhiteElo", t.WhiteElo}, {"ECO", t.Eco}};
    if (c.next) {
      for (const auto& [name, value] : written) EXPECT_EQ(value, "") << name;
    } else {
      EXPECT_EQ(written, kept);
      EXPECT_EQ(PdnRowText(t), "Club Open 3");
    }
  }
}

// A tag whose closing quote is missing keeps every letter of its value, up
// to its "]": read, shown and written again whole, so that the file saved
// from it stays UTF-8 and reopens with the same names.
TEST_F(PdnExchangeTest, ATagWithoutItsClosingQuoteKeepsItsLetters) {
  struct Case {
    const char* line;
    const char* white;
  } cases[] = {
      {"[White \"\xD0\x90\xD0\xBD\xD0\xB4\xD1\x80\xD0\xB5\xD0\xB9]", "\xD0\x90\xD0\xBD\xD0\xB4\xD1\x80\xD0\xB5\xD0\xB9"},  // Андрей
      {"[White \"Smith]", "Smith"},
      {"[White \"Smith ]", "Smith"},
      {"[White \"J\xC3\xBCrgen\"", "J\xC3\xBCrgen"},         // a quote and no "]"
      {"[White \"\xD0\x90\xD0\xBD\xD0\xB4\xD1\x80\xD0\xB5\xD0\xB9", "\xD0\x90\xD0\xBD\xD0\xB4\xD1\x80\xD0\xB5\xD0\xB9"},  // neither
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    PdnTags tags;
    ASSERT_TRUE(ParsePdnTag(c.line, tags));
    EXPECT_EQ(tags.White, c.white);

    Write("club.pdn", "[Event \"\xD0\x9A\xD1\x83\xD0\xB1\xD0\xBE\xD0\xBA\"]\r\n" + std::string(c.line) +
                          "\r\n\r\n1. 11-15 23-19 *\r\n\r\n");
    auto s = std::make_unique<GameState>();
    Restart(*s);
    InitGame(*s);
    ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("club.pdn"), "club.pdn"))
        << (host.messages.empty() ? "" : host.messages.back().text);
    EXPECT_EQ(s->Header.GameWhite, c.white);
    std::filesystem::remove(Path("again.pdn"));
    ASSERT_TRUE(SaveGame(*s, Path("again.pdn"), "again.pdn"));
    const std::string again = Read("again.pdn");
    EXPECT_TRUE(IsValidUtf8(again)) << again;
    PdnFile file;
    FileProblem problem;
    ASSERT_TRUE(ReadPdnFile(again, "again.pdn", file, problem)) << problem.text;
    ASSERT_EQ(file.games.size(), 1u);
    EXPECT_EQ(file.games[0].tags.White, c.white);
    EXPECT_EQ(file.games[0].tags.Event, "\xD0\x9A\xD1\x83\xD0\xB1\xD0\xBE\xD0\xBA");  // Кубок
  }
}

}  // namespace
}  // namespace m8
