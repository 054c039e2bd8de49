#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/engine/book.h"
#include "core/engine/book_fixture.h"
#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"

using namespace m8;
using namespace m8::book_test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Candidates(const GameState& g) {
  std::vector<std::string> c;
  for (const auto& m : g.Book.BookCandidates)
    if (!m.empty()) c.push_back(m);
  return c;
}

// The opening lines of a book file, each expanded over the line before it.
std::vector<std::string> ExpandedBookLines(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  std::vector<std::string> out;
  if (!bytes) return out;
  bool inLines = false;
  std::string previous;
  ForEachLine(*bytes, [&](std::string_view line) {
    if (line == "start") {
      inLines = true;
      return;
    }
    if (line == "names" || line == "end") inLines = false;
    if (!inLines) return;
    const size_t p = line.find_first_not_of(' ');
    if (p == std::string_view::npos) return;
    std::string expanded = previous.substr(0, std::min(p, previous.size()));
    expanded.resize(p, ' ');
    expanded += line.substr(p);
    previous = expanded;
    out.push_back(expanded);
  });
  return out;
}

const std::string kAmericanBook = std::string(M8_DATA_DIR) + "/books/American Checkers.bok";

}  // namespace

TEST(Book, FlipSquareIsAHalfTurn) {
  const std::pair<int, int> pairs[] = {{21, 98}, {27, 92}, {52, 67}, {43, 76}, {98, 21}};
  for (auto [a, b] : pairs) EXPECT_EQ(FlipSquare(a), b) << a;
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col) {
      const int c = row * 10 + col, f = FlipSquare(c);
      EXPECT_EQ(FlipSquare(f), c);
      EXPECT_EQ(f / 10, 11 - row);
      EXPECT_EQ(f % 10, 9 - col);
      EXPECT_EQ((f / 10 + f % 10) % 2, (row + col) % 2) << "a half turn keeps the square colour";
    }
}

// Every line of the shipped book is a legal game, every move of it is offered
// by the book in the position before it, and the game stays in the book.
TEST(Book, AmericanBookLinesAreLegalAndFound) {
  const auto lines = ExpandedBookLines(kAmericanBook);
  ASSERT_GE(lines.size(), 50u);
  RecordingHost host;
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size() % 5, 0u) << line;
    const size_t plies = line.size() / 5;
    EXPECT_GE(plies, 8u) << line;
    EXPECT_LE(plies, 12u) << line;
    auto g = NewGame(host, M8_DATA_DIR);
    for (size_t k = 0; k < plies; ++k) {
      const std::string move = line.substr(5 * k, 4);
      const char side = line[5 * k + 4];
      ASSERT_EQ(side, k % 2 == 0 ? 'b' : 'w') << line;
      BookMove(*g, 1);
      EXPECT_EQ(g->Book.InBook, k > 0 ? 1 : 0) << line << " ply " << k;
      const auto c = Candidates(*g);
      EXPECT_NE(std::find(c.begin(), c.end(), move), c.end()) << line << " ply " << k;
      ASSERT_GT(g->Book.BookFrom, 0) << line;
      ASSERT_TRUE(PlayBookMove(*g, move)) << "illegal move " << move << " in " << line;
    }
    BookMove(*g, 1);
    EXPECT_EQ(g->Book.InBook, 1) << line;
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST(Book, AmericanBookOffersEveryFirstMoveAndNamesOpenings) {
  RecordingHost host;
  auto g = NewGame(host, M8_DATA_DIR);
  BookMove(*g, 1);
  auto c = Candidates(*g);
  for (const char* first : {"0913", "0914", "1014", "1015", "1115", "1116", "1216"})
    EXPECT_NE(std::find(c.begin(), c.end(), first), c.end()) << first;
  EXPECT_EQ(std::count(c.begin(), c.end(), "1115"), 3) << "11-15 is offered most often";

  struct Case {
    std::vector<const char*> moves;
    const char* name;
  } cases[] = {
      {{"1115", "2218"}, "Single Corner"},
      {{"1115", "2318"}, "Cross"},
      {{"0914"}, "Double Corner"},
      {{"1115", "2319", "0811", "2217"}, "Old Faithful"},
      {{"1115", "2319", "0811", "2217", "1116", "2420", "1623", "2711", "0716"}, "Glasgow"},
      {{"1115", "2319", "0913"}, "Will o' the Wisp"},
      {{"1115", "2217", "1519"}, "Dyke"},
      // An opening is named once its own position is reached, not before.
      {{"1115", "2217", "0811"}, ""},
      {{"1115", "2217", "0811", "1713"}, ""},
      {{"1115", "2217", "0811", "1713", "1518"}, "Maid of the Mill"},
  };
  for (const auto& tc : cases) {
    auto game = NewGame(host, M8_DATA_DIR);
    for (const char* m : tc.moves) ASSERT_TRUE(PlayBookMove(*game, m)) << m;
    BookMove(*game, 0);
    EXPECT_EQ(game->Book.OpeningName, tc.name);
    EXPECT_EQ(host.panel3, tc.name);
    EXPECT_EQ(game->Book.InBook, 1);
  }
}

// The game record in algebraic notation is brought into book form.
TEST(Book, AlgebraicGameRecordIsReadInBookForm) {
  RecordingHost host;
  auto g = NewGame(host, M8_DATA_DIR);
  g->Opt.Notation = 0;
  ASSERT_TRUE(PlayCells(*g, 76, 65));  // 11-15
  EXPECT_EQ(g->Game.GameRecord[1][0].substr(0, 4), "f6e5");
  BookMove(*g, 1);
  EXPECT_EQ(g->Book.InBook, 1);
  EXPECT_EQ(Candidates(*g).size(), 7u) << "every white reply to 11-15";
  EXPECT_EQ(g->Opt.Notation, 0) << "the notation is restored";
  ASSERT_GT(g->Book.BookFrom, 0);
  EXPECT_TRUE(PlayCells(*g, g->Book.BookFrom, g->Book.BookTo));
}

TEST(Book, RuleBlocksInheritedLinesAndNames) {
  RecordingHost host;
  auto g = NewGame(host, M8_FIXTURE_DIR, "Fixture");

  // Start: the third block is selected (the first wants MulJumps=0).
  BookMove(*g, 0);
  EXPECT_EQ(Candidates(*g), (std::vector<std::string>{"1115", "1014"}));
  EXPECT_EQ(g->Book.InBook, 0);
  EXPECT_EQ(g->Book.OpeningName, "Any game");

  ASSERT_TRUE(PlayBookMove(*g, "1115"));
  BookMove(*g, 0);
  EXPECT_EQ(g->Book.InBook, 1);
  EXPECT_EQ(Candidates(*g), (std::vector<std::string>{"2218", "2319", "2319"}))
      << "a continuation written out on two lines counts twice";
  EXPECT_EQ(g->Book.OpeningName, "Eleven");

  ASSERT_TRUE(PlayBookMove(*g, "2218"));
  BookMove(*g, 1);
  EXPECT_EQ(Candidates(*g), (std::vector<std::string>{"1522", "0913"})) << "0913 comes from an inherited line";
  const std::pair<int, int> chosen{g->Book.BookFrom, g->Book.BookTo};
  EXPECT_TRUE(chosen == std::make_pair(SquareNumber(*g, "15"), SquareNumber(*g, "22")) ||
              chosen == std::make_pair(SquareNumber(*g, "9"), SquareNumber(*g, "13")));
  BookMove(*g, 0);
  EXPECT_EQ(g->Book.OpeningName, "Single");

  ASSERT_TRUE(PlayBookMove(*g, "1522"));
  BookMove(*g, 1);
  EXPECT_EQ(g->Book.InBook, 1) << "the game is a whole book line";
  EXPECT_TRUE(Candidates(*g).empty());
  EXPECT_EQ(g->Book.BookFrom, 0);

  // Out of the book.
  auto other = NewGame(host, M8_FIXTURE_DIR, "Fixture");
  ASSERT_TRUE(PlayBookMove(*other, "1216"));
  BookMove(*other, 0);
  EXPECT_EQ(other->Book.InBook, 0);
  EXPECT_EQ(other->Book.OpeningName, "Any game");

  // Under MulJumps=0 the first block is the one selected.
  auto free = NewGame(host, M8_FIXTURE_DIR, "Fixture");
  free->Rules.MulJumps = 0;
  BookMove(*free, 0);
  EXPECT_EQ(Candidates(*free), (std::vector<std::string>{"0914"}));
  EXPECT_EQ(free->Book.OpeningName, "");
  EXPECT_TRUE(host.messages.empty());
}

TEST(Book, KeysThatDifferFromTheRulesPassTheBlockOver) {
  RecordingHost host;
  struct Case {
    const char* what;
    void (*change)(GameState&);
  } cases[] = {
      {"PromoW", [](GameState& g) { g.Rules.PromoSquares[0][4] = 81; }},
      {"PromoB order", [](GameState& g) { std::swap(g.Rules.PromoSquares[1][0], g.Rules.PromoSquares[1][1]); }},
      {"Setup", [](GameState& g) { g.StartBoard[21] = 0; }},
      {"CapRequired", [](GameState& g) { g.Rules.CapRequired = 0; }},
      {"movement", [](GameState& g) { ParseDirections(g, "NW;NE NW;NE;SE;SW", 0, false); }},
      {"variant name", [](GameState& g) { g.Variant.LoadedVariantName = "Fixture2"; }},
  };
  for (const auto& c : cases) {
    auto g = NewGame(host, M8_FIXTURE_DIR, "Fixture");
    c.change(*g);
    g->Book.OpeningName = "old";
    BookMove(*g, 0);
    EXPECT_TRUE(Candidates(*g).empty()) << c.what;
    EXPECT_EQ(g->Book.OpeningName, "") << c.what << ": no block, no name";
  }
}

TEST(Book, CandidatesAreCappedAtEleven) {
  RecordingHost host;
  auto g = NewGame(host, M8_FIXTURE_DIR, "Cap");
  BookMove(*g, 1);
  const auto c = Candidates(*g);
  ASSERT_EQ(c.size(), 11u);
  EXPECT_EQ(c.front(), "0101");
  EXPECT_EQ(c.back(), "1111");
  EXPECT_GT(g->Book.BookFrom, 0);
  EXPECT_TRUE(host.messages.empty()) << "a trailing blank after the version is accepted";
}

TEST(Book, UnusableBooksAreReportedOnceAndTreatedAsAbsent) {
  struct Case {
    const char* variant;
    const char* message;  // empty: silent
  } cases[] = {
      {"Bad Header", "Morventa8: Bad Header.BOK is not an Morventa8 Book file"},
      {"Short", "Morventa8: Short.BOK is not an Morventa8 Book file"},
      {"Old Version", "Error: Incorrect version of Old Version.BOK\r\nNeed version 0.89"},
      {"Nowhere", ""},
      {"../books/Fixture", "name"},
      {"books/Fixture", "name"},
  };
  for (const auto& c : cases) {
    RecordingHost host;
    auto g = NewGame(host, M8_FIXTURE_DIR, c.variant);
    g->Book.OpeningName = "kept";
    for (int call = 0; call < 3; ++call) {
      BookMove(*g, call % 2);
      EXPECT_TRUE(Candidates(*g).empty()) << c.variant;
      EXPECT_EQ(g->Book.InBook, 0);
      EXPECT_EQ(g->Book.BookFrom, 0);
    }
    EXPECT_EQ(g->Book.OpeningName, "kept") << c.variant;
    EXPECT_EQ(host.panel3, "untouched") << c.variant;
    const std::string want = c.message;
    if (want.empty()) {
      EXPECT_TRUE(host.messages.empty()) << c.variant;
    } else {
      ASSERT_EQ(host.messages.size(), 1u) << c.variant << ": once, not after every move";
      if (want == "name")
        EXPECT_NE(host.messages[0].find("cannot name a book file"), std::string::npos) << host.messages[0];
      else
        EXPECT_EQ(host.messages[0], want);
    }
  }
}

// The American book serves a variant in which White starts: the squares are
// turned round and the side letters swapped.
TEST(Book, AmericanBookForAllTurnsTheBoardForWhite) {
  RecordingHost host;
  auto g = NewGame(host, M8_DATA_DIR, "White First");
  g->Rules.BlackStarts = 0;
  g->P.SideToMove = 1;
  g->Opt.AmericanBookForAll = 1;
  BookMove(*g, 1);
  EXPECT_EQ(Candidates(*g).size(), 9u);
  ASSERT_GT(g->Book.BookFrom, 0);
  // The chosen move, turned back, is one of Black's first moves in the book.
  g->Opt.Notation = 1;
  const std::string back = SquareNotation(*g, FlipSquare(g->Book.BookFrom), 2) +
                           SquareNotation(*g, FlipSquare(g->Book.BookTo), 2);
  const auto c = Candidates(*g);
  EXPECT_NE(std::find(c.begin(), c.end(), back), c.end()) << back;
  // And it is a legal white move; after it the game is in the book.
  ASSERT_TRUE(PlayCells(*g, g->Book.BookFrom, g->Book.BookTo));
  BookMove(*g, 1);
  EXPECT_EQ(g->Book.InBook, 1);
  ASSERT_GT(g->Book.BookFrom, 0);
  EXPECT_TRUE(PlayCells(*g, g->Book.BookFrom, g->Book.BookTo));

  // Rules the American book cannot serve.
  for (int which = 0; which < 3; ++which) {
    auto h = NewGame(host, M8_DATA_DIR, "Other");
    h->Opt.AmericanBookForAll = 1;
    if (which == 0) h->Rules.AntiMode = 1;
    if (which == 1) h->Rules.PiecesOnBlack = 0;
    if (which == 2) h->StartBoard[21] = 0;
    BookMove(*h, 1);
    EXPECT_TRUE(Candidates(*h).empty()) << which;
    EXPECT_EQ(h->Book.BookFrom, 0);
  }
  EXPECT_TRUE(host.messages.empty());
}

// A changed book file is read again; mutated books never break the reader.
TEST(Book, ChangedAndMutatedBooks) {
  const fs::path dir = fs::temp_directory_path() / ("m8_book_test_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir / "books");
  const fs::path file = dir / "books" / "Fixture.bok";
  auto write = [&](const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  };
  const std::string original = *ReadWholeFile(std::string(M8_FIXTURE_DIR) + "/books/Fixture.bok");
  RecordingHost host;
  auto g = NewGame(host, dir.string(), "Fixture");
  write(original);
  BookMove(*g, 1);
  EXPECT_EQ(Candidates(*g).size(), 2u);
  std::string changed = original;
  changed.replace(changed.find("1014b2217w"), 10, "1216b");
  write(changed);
  BookMove(*g, 1);
  EXPECT_EQ(Candidates(*g), (std::vector<std::string>{"1115", "1216"}));

  ASSERT_TRUE(PlayBookMove(*g, "1115"));
  std::mt19937 rng(20261210);
  for (int round = 0; round < 300; ++round) {
    std::string text = original;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const size_t at = rng() % text.size();
      switch (rng() % 4) {
        case 0: text[at] = static_cast<char>(rng() % 256); break;
        case 1: text.erase(at, 1 + rng() % 20); break;
        case 2: text.insert(at, std::string(1 + rng() % 12, " \n'bw0"[rng() % 6])); break;
        default: text.resize(at); break;
      }
    }
    write(text);
    g->Book.CacheValid = false;
    g->P.GamePly = round % 2;  // the empty game, and the game of one ply
    BookMove(*g, static_cast<int>(round % 2));
    EXPECT_LE(Candidates(*g).size(), static_cast<size_t>(kBookCandidates));
  }
  fs::remove_all(dir);
}

// Opening names in any language: a UTF-8 book as it is, any other as Latin-1.
TEST(Book, OpeningNamesInBothEncodings) {
  const fs::path dir = fs::temp_directory_path() / ("m8_book_names_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir / "books");
  const std::string original = *ReadWholeFile(std::string(M8_FIXTURE_DIR) + "/books/Fixture.bok");
  struct Case {
    std::string written, shown;
  } cases[] = {
      {"Ouverture \xE0 gauche", "Ouverture \xC3\xA0 gauche"},
      {"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB0\xD1\x8F", "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB0\xD1\x8F"},
  };
  for (const auto& c : cases) {
    std::string text = original;
    text.replace(text.find("'Any game'"), 10, "'" + c.written + "'");
    std::ofstream(dir / "books" / "Fixture.bok", std::ios::binary | std::ios::trunc) << text;
    RecordingHost host;
    auto g = NewGame(host, dir.string(), "Fixture");
    BookMove(*g, 0);
    EXPECT_EQ(g->Book.OpeningName, c.shown);
    EXPECT_EQ(host.panel3, c.shown);
  }
  fs::remove_all(dir);
}
