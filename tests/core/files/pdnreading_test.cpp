// PDN files of other programs in the encodings collections come in, read in
// the letters they were written in, game by game where a file gathers games
// of different encodings.
#include <unicode/ucnv.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/files/pdn.h"
#include "core/textcode.h"
#include "core/icubytes_fixture.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

struct Game {
  const char* encoding;  // ICU's name of the encoding the game is written in
  std::string event, white, black;
};

std::string GameText(const Game& game) {
  return "[Event \"" + game.event + "\"]\r\n[White \"" + game.white + "\"]\r\n[Black \"" + game.black +
         "\"]\r\n\r\n1. 11-15 23-19 2. 8-11 *\r\n\r\n";
}

// A file of the games, each in its own encoding; `bom` goes in front.
std::string FileOf(const std::vector<Game>& games, const std::string& bom = "") {
  std::string bytes = bom;
  for (const Game& game : games) bytes += IcuBytes(GameText(game), game.encoding);
  return bytes;
}

// One file a row: the names the program shows are the ones written.
TEST(PdnReading, EachGameReadsInTheLettersItWasWrittenIn) {
  struct Case {
    const char* what;
    std::vector<Game> games;
    std::string bom = "";
  } cases[] = {
      {"Hungarian, Windows-1250",
       {{"windows-1250", "Bajnokság", "Szőke Győző", "Kovács Ödön"}}},
      {"Greek with capital alpha with tonos, Windows-1253",
       {{"windows-1253", "Κύπελλο", "Άρης Νικολάου", "Γιώργος Ζ."}}},
      {"ISO-8859-15",
       {{"ISO-8859-15", "Coupe 50 €", "Jean Lebœuf", "Šimon Žák"}}},
      {"Ukrainian, KOI8-U",
       {{"KOI8-U", "Кубок Києва", "Їжак Ґрицько", "Євген Іваненко"}}},
      {"Russian, DOS code page 866",
       {{"IBM866", "Кубок города", "Иванов С.", "Петров А."}}},
      {"UTF-16 little-endian with its mark",
       {{"UTF-16LE", "Кубок", "Jürgen Müller", "Иванов С."}, {"UTF-16LE", "Open", "Ævarr", "Łukasz"}},
       "\xFF\xFE"},
      {"UTF-16 big-endian with its mark",
       {{"UTF-16BE", "Кубок", "Jürgen Müller", "Иванов С."}}, "\xFE\xFF"},
      {"UTF-16 little-endian without a mark",
       {{"UTF-16LE", "Кубок", "Jürgen Müller", "Иванов С."}, {"UTF-16LE", "Open", "Ævarr", "Łukasz"}}},
      {"UTF-16 big-endian without a mark", {{"UTF-16BE", "Open", "Smith", "Jones"}}},
      {"UTF-16 little-endian without a mark, mostly Cyrillic",
       {{"UTF-16LE", "Кубок города Москвы", "Иванов Сергей Петрович", "Петров Андрей Николаевич"}}},
      {"UTF-16 big-endian without a mark, mostly Greek",
       {{"UTF-16BE", "Πρωτάθλημα Αθήνας", "Γιώργος Παπαδόπουλος", "Νίκος Κωνσταντίνου"}}},
      {"Ukrainian Windows-1251 games and a Lithuanian Windows-1257 one",
       {{"windows-1251", "Кубок Києва", "Їжак Ґрицько", "Євген Іваненко"},
        {"windows-1251", "Кубок Києва", "Олег Петренко", "Іван Сірко"},
        {"windows-1257", "Open", "Dalia Grybauskaitė", "Smith"}}},
      {"UTF-8 collection with one Windows-1252 game",
       {{"UTF-8", "Кубок", "Иванов С.", "François Dupré"},
        {"windows-1252", "Turnier", "Jürgen Müller", "Hélène Noël"},
        {"UTF-8", "Open", "Петров А.", "Ævarr Þórðarson"}}},
      {"Windows-1251 games, then Windows-1252 games",
       {{"windows-1251", "Кубок", "Ли Ю.", "Ким В."},
        {"windows-1251", "Кубок", "Ким В.", "Ли Ю."},
        {"windows-1252", "Turnier", "François Dupré", "Jürgen Müller"},
        {"windows-1252", "Turnier", "Hélène Noël", "Søren Åberg"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PdnFile file;
    FileProblem problem;
    if (!ReadPdnFile(FileOf(c.games, c.bom), "club.pdn", file, problem)) {
      ADD_FAILURE() << problem.text;
      continue;
    }
    if (file.games.size() != c.games.size()) {
      ADD_FAILURE() << file.games.size() << " games";
      continue;
    }
    for (size_t i = 0; i < c.games.size(); ++i) {
      EXPECT_EQ(file.games[i].tags.Event, c.games[i].event) << "game " << i + 1;
      EXPECT_EQ(file.games[i].tags.White, c.games[i].white) << "game " << i + 1;
      EXPECT_EQ(file.games[i].tags.Black, c.games[i].black) << "game " << i + 1;
    }
  }
}

// A UTF-8 game with one comment pasted in from a Windows-1252 file: its
// names stay UTF-8, and the comment reads in its own letters.
TEST(PdnReading, AUtf8GameKeepsItsNamesBesideACommentInACodePage) {
  const std::string comment = "Tr\xC3\xA8s belle d\xC3\xA9" "fense, Andr\xC3\xA9 \xC3\xA0 Montr\xC3\xA9" "al";
  const std::string bytes = "[Event \"Кубок\"]\r\n[White \"Иванов С.\"]\r\n[Black \"François Dupré\"]\r\n\r\n"
                            "1. 11-15 {" + IcuBytes(comment, "windows-1252") + "} 23-19 *\r\n";
  ASSERT_FALSE(IsValidUtf8(bytes));
  PdnFile file;
  FileProblem problem;
  ASSERT_TRUE(ReadPdnFile(bytes, "club.pdn", file, problem)) << problem.text;
  ASSERT_EQ(file.games.size(), 1u);
  EXPECT_EQ(file.games[0].tags.Event, "Кубок");
  EXPECT_EQ(file.games[0].tags.White, "Иванов С.");
  EXPECT_EQ(file.games[0].tags.Black, "François Dupré");
  EXPECT_NE(file.games[0].moveText.find("{" + comment + "}"), std::string::npos) << file.games[0].moveText;

  // A word of a code page whose bytes happen to be UTF-8 stays in its code
  // page: KOI8-R's "её" is the bytes of "ţ".
  const std::string koi8 = "[Event \"Кубок города\"]\r\n[White \"Иванов С.\"]\r\n[Black \"Петров А.\"]\r\n\r\n"
                           "1. 11-15 {её ход} 23-19 *\r\n";
  ASSERT_TRUE(ReadPdnFile(IcuBytes(koi8, "KOI8-R"), "club.pdn", file, problem)) << problem.text;
  ASSERT_EQ(file.games.size(), 1u);
  EXPECT_EQ(file.games[0].tags.White, "Иванов С.");
  EXPECT_NE(file.games[0].moveText.find("{её ход}"), std::string::npos) << file.games[0].moveText;
}

// A small Western file whose one sign beyond ASCII is the "½" of its result:
// the game is a draw, its moves all read.
TEST(PdnReading, AWesternFileWrittenWithHalvesIsADraw) {
  for (const char* page : {"windows-1252", "ISO-8859-1"})
    for (const char* white : {"René Dubois", "José Pérez"}) {
      SCOPED_TRACE(std::string(page) + " " + white);
      const std::string text = std::string("[Event \"Club\"]\r\n[White \"") + white +
                               "\"]\r\n[Black \"Smith\"]\r\n\r\n1. 11-15 23-19 2. 8-11 ½-½\r\n";
      PdnFile file;
      FileProblem problem;
      ASSERT_TRUE(ReadPdnFile(IcuBytes(text, page), "club.pdn", file, problem)) << problem.text;
      ASSERT_EQ(file.games.size(), 1u);
      EXPECT_EQ(file.games[0].tags.White, white);
      EXPECT_EQ(PdnStandardResult(file.games[0].tags.Result), "1/2-1/2") << file.games[0].tags.Result;
      std::vector<GameFileItem> items;
      EXPECT_TRUE(SplitPdnMoves(file.games[0], "club.pdn", items, problem)) << problem.text;
      EXPECT_EQ(items.size(), 3u);
    }
}

// Tags on one line: a value whose closing quote is missing ends at the
// first "]" when another tag follows it, and that tag is read too.
TEST(PdnReading, TagsOnOneLineAreReadEach) {
  struct Case {
    const char* line;
    const char* event;
    const char* white;
    const char* black;
  } cases[] = {
      {"[White \"Smith] [Black \"Jones\"]", "Open", "Smith", "Jones"},
      {"[White \"Smith]\t[Black \"Jones]", "Open", "Smith", "Jones"},
      {"[White \"Иванов] [Black \"Петров\"]", "Open", "Иванов", "Петров"},
      {"[White \"Smith \"] [Black \"Jones\"]", "Open", "Smith ", "Jones"},
      {"[White \"Smith\"] [Black \"Jones\"]", "Open", "Smith", "Jones"},
      {"[Event \"Cup [B]\"] [White \"Smith]", "Cup [B]", "Smith", ""},
      {"[Event \"Cup \"Neva\"\"] [White \"Smith\"]", "Cup \"Neva\"", "Smith", ""},
      {"[White \"Smith] [Black \"Jones] [Event \"Final\"]", "Final", "Smith", "Jones"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string text = "[Event \"Open\"]\r\n" + std::string(c.line) + "\r\n\r\n1. 11-15 *\r\n";
    PdnFile file;
    FileProblem problem;
    ASSERT_TRUE(ReadPdnFile(text, "club.pdn", file, problem)) << problem.text;
    ASSERT_EQ(file.games.size(), 1u);
    EXPECT_EQ(file.games[0].tags.Event, c.event);
    EXPECT_EQ(file.games[0].tags.White, c.white);
    EXPECT_EQ(file.games[0].tags.Black, c.black);
  }
}

// morventa8-pdn --tags shows the encoding the file was read in, and every tag
// of each game in UTF-8.
using PdnReadingTool = testing::FilesTest;

TEST_F(PdnReadingTool, ShowsEncodingAndTags) {
  const std::string tool = std::string(M8_BIN_DIR) + "/morventa8-pdn";
  ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is missing beside the tests";
  auto run = [&](const std::string& bytes) {
    Write("club.pdn", bytes);
    FILE* pipe = popen((tool + " --tags " + Path("club.pdn") + " 2>/dev/null").c_str(), "r");
    std::string text;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) text += buffer;
    EXPECT_EQ(pipe ? pclose(pipe) : -1, 0);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  };

  const auto single = run(IcuBytes("[Event \"Кубок\"]\r\n[White \"Ли \\\"Ю\\\"\"]\r\n[Annotator \"Ким\"]\r\n\r\n"
                                 "1. 11-15 *\r\n",
                                 "windows-1251"));
  ASSERT_EQ(single.size(), 5u);
  EXPECT_EQ(single[0], "encoding Windows-1251");
  EXPECT_EQ(single[1].rfind("game 1 ok plies 1 ", 0), 0u) << single[1];
  EXPECT_EQ(single[2], "  [Event \"Кубок\"]");
  EXPECT_EQ(single[3], "  [White \"Ли \\\"Ю\\\"\"]");
  EXPECT_EQ(single[4], "  [Annotator \"Ким\"]");

  const auto mixed = run(FileOf({{"UTF-8", "Кубок", "Ли Ю.", "Ким В."},
                                 {"windows-1252", "Turnier", "François Dupré", "Jürgen Müller"}}));
  const std::vector<std::string> expected = {
      "encoding mixed",
      mixed.size() > 1 ? mixed[1] : "",
      "  encoding UTF-8",
      "  [Event \"Кубок\"]",
      "  [White \"Ли Ю.\"]",
      "  [Black \"Ким В.\"]",
      mixed.size() > 6 ? mixed[6] : "",
      "  encoding Windows-1252",
      "  [Event \"Turnier\"]",
      "  [White \"François Dupré\"]",
      "  [Black \"Jürgen Müller\"]",
  };
  EXPECT_EQ(mixed, expected);
  ASSERT_EQ(mixed.size(), expected.size());
  EXPECT_EQ(mixed[1].rfind("game 1 ok plies 3 ", 0), 0u) << mixed[1];
  EXPECT_EQ(mixed[6].rfind("game 2 ok plies 3 ", 0), 0u) << mixed[6];

  // Behind the byte-order mark of UTF-8, a first game whose first line is
  // plain ASCII: it is labelled as it is read.
  const auto marked = run(FileOf({{"UTF-8", "Open", "Ли Ю.", "Ким В."},
                                  {"windows-1252", "Turnier", "François Dupré", "Jürgen Müller"}},
                                 "\xEF\xBB\xBF"));
  std::vector<std::string> markedExpected = expected;
  markedExpected[1] = marked.size() > 1 ? marked[1] : "";
  markedExpected[3] = "  [Event \"Open\"]";
  markedExpected[6] = marked.size() > 6 ? marked[6] : "";
  EXPECT_EQ(marked, markedExpected);
}

}  // namespace
}  // namespace m8
