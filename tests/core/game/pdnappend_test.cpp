// Games added to PDN files of other programs that are not UTF-8: the games
// already there keep their bytes unless the user agrees to convert the file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/game/gamesetup.h"
#include "core/textcode.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

class PdnAppendTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }

  // Saves a game between `white` and `black` to club.pdn, the question
  // answered with `convert`.
  bool Add(const std::string& white, const std::string& black, bool convert) {
    g.Header.GameWhite = white;
    g.Header.GameBlack = black;
    host.answer = convert;
    host.questions.clear();
    return SaveGame(g, Path("club.pdn"), "club.pdn");
  }

  // The players of every game of club.pdn as the chooser lists them.
  std::vector<std::string> Players() {
    PdnFile file;
    FileProblem p;
    EXPECT_TRUE(ReadPdnFile(Read("club.pdn"), "club.pdn", file, p)) << p.text;
    std::vector<std::string> out;
    for (const auto& game : file.games) {
      out.push_back(game.tags.White);
      out.push_back(game.tags.Black);
    }
    return out;
  }
};

// One file a row in its code page and a game added to it: the game joins
// the file in that code page when its names fit (the old bytes kept, no
// question), else the user is asked, naming the code page; No leaves the
// file byte for byte as it was, Yes makes it UTF-8 with every name in its
// letters and the old file kept as club.pdn.bak.
TEST_F(PdnAppendTest, AGameJoinsInTheFilesCodePageOrTheUserChooses) {
  struct Case {
    CodePage page;
    std::vector<std::string> old;  // white and black of each game already in the file
    std::string white, black;      // the game added
    bool fits;
    std::string readAs = "";  // the code page the question names, when not `page`
  } cases[] = {
      {CodePage::Windows1251, {"Ли Ю.", "Ким В.", "Иванов С.", "Кубок"}, "Пётр", "Ким В.", true},
      {CodePage::Windows1251, {"Ли Ю.", "Ким В.", "Иванов С.", "Кубок"}, "Jürgen Müller", "Ли Ю.", false},
      {CodePage::Windows1253, {"Γιώργος Παπαδόπουλος", "Νίκος Ζ."}, "Γιώργος", "Νίκος Ζ.", true},
      {CodePage::Windows1253, {"Γιώργος Παπαδόπουλος", "Νίκος Ζ."}, "Γιώργος", "Пётр", false, "ISO-8859-7"},
      {CodePage::Windows1250, {"Łukasz Żółć", "Brzęczyszczykiewicz"}, "Łukasz", "Paweł Żak", true},
      {CodePage::Windows1250, {"Łukasz Żółć", "Brzęczyszczykiewicz"}, "Łukasz", "Paweł Śliwa", false, "ISO-8859-2"},
      {CodePage::Windows1250, {"Jiří Kříž", "Petr Novák"}, "Jiří", "Ævarr", false},
      {CodePage::Windows1252, {"Jürgen Müller", "Hélène Noël"}, "Søren", "Hélène", true},
      {CodePage::Windows1252, {"Jürgen Müller", "Hélène Noël"}, "Łukasz", "Jürgen", false},
      // uchardet reads these Icelandic names in Windows-1257: a guess, so
      // that even letters of the code page are asked about.
      {CodePage::Windows1252, {"Ævarr Þórðarson", "Jürgen Müller"}, "Søren", "Hélène", false},
      {CodePage::Windows1257, {"Jonas Žemaitis", "Kęstutis Šimkūnas"}, "Jonas", "Smith", true},
      {CodePage::Windows1257, {"Jonas Žemaitis", "Kęstutis Šimkūnas"}, "Jonas", "Пётр", false},
      // Files whose letters read the same in a second code page, where the
      // new game's letters would not.
      {CodePage::Windows1250, {"Paweł Łój", "Żak Józef"}, "Świątek", "Paweł Łój", false, "ISO-8859-2"},
      {CodePage::Windows1253, {"Γιώργος Παπαδόπουλος", "Νίκος Ζ."}, "Άρης", "Νίκος Ζ.", false, "ISO-8859-7"},
      {CodePage::Windows1252, {"René Martin", "Paul Smith"}, "Łukasz Żółć", "Paul Smith", false, "ISO-8859-2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(CodePageName(c.page)) + " " + c.white + " " + c.black);
    std::string text;
    for (size_t i = 0; i + 1 < c.old.size(); i += 2)
      text += "[Event \"Open\"]\r\n[White \"" + c.old[i] + "\"]\r\n[Black \"" + c.old[i + 1] + "\"]\r\n\r\n1. 11-15 *\r\n\r\n";
    const std::string old = Utf8ToCodePage(text, c.page);
    ASSERT_FALSE(IsValidUtf8(old));
    std::vector<std::string> players = c.old;
    players.push_back(c.white);
    players.push_back(c.black);

    Write("club.pdn", old);
    const bool saved = Add(c.white, c.black, false);
    EXPECT_EQ(saved, c.fits);
    ASSERT_EQ(host.questions.size(), c.fits ? 0u : 1u);
    const std::string after = Read("club.pdn");
    EXPECT_EQ(after.substr(0, old.size()), old);
    EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));
    if (c.fits) {
      EXPECT_EQ(Players(), players);
      continue;
    }
    EXPECT_EQ(after, old);
    const std::string readAs = c.readAs.empty() ? std::string(CodePageName(c.page)) : c.readAs;
    EXPECT_NE(host.questions[0].text.find("code page " + readAs + ","), std::string::npos)
        << host.questions[0].text;

    EXPECT_TRUE(Add(c.white, c.black, true));
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_TRUE(IsValidUtf8(Read("club.pdn")));
    EXPECT_EQ(Players(), players);
    EXPECT_EQ(Read("club.pdn.bak"), old);
    std::filesystem::remove(Path("club.pdn.bak"));
  }
}

// A file whose games were written in different encodings takes a game only
// as UTF-8 after the user agrees, each old game converted from its own
// reading.
TEST_F(PdnAppendTest, AFileOfMixedEncodingsIsConvertedGameByGame) {
  auto game = [](const std::string& white, const std::string& black) {
    return "[Event \"Open\"]\r\n[White \"" + white + "\"]\r\n[Black \"" + black + "\"]\r\n\r\n1. 11-15 *\r\n\r\n";
  };
  struct Case {
    const char* what;
    std::string old;
    std::vector<std::string> players;
  } cases[] = {
      {"UTF-8 and Windows-1252",
       game("Иванов С.", "François Dupré") + Utf8ToCodePage(game("Jürgen Müller", "Hélène Noël"), CodePage::Windows1252),
       {"Иванов С.", "François Dupré", "Jürgen Müller", "Hélène Noël"}},
      {"Windows-1251, then Windows-1252",
       Utf8ToCodePage(game("Ли Ю.", "Ким В.") + game("Ким В.", "Ли Ю."), CodePage::Windows1251) +
           Utf8ToCodePage(game("François Dupré", "Jürgen Müller"), CodePage::Windows1252),
       {"Ли Ю.", "Ким В.", "Ким В.", "Ли Ю.", "François Dupré", "Jürgen Müller"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("club.pdn", c.old);
    EXPECT_FALSE(Add("Smith", "Jones", false));
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(Read("club.pdn"), c.old);
    EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));

    EXPECT_TRUE(Add("Smith", "Jones", true));
    EXPECT_TRUE(IsValidUtf8(Read("club.pdn")));
    std::vector<std::string> players = c.players;
    players.push_back("Smith");
    players.push_back("Jones");
    EXPECT_EQ(Players(), players);
    EXPECT_EQ(Read("club.pdn.bak"), c.old);
    std::filesystem::remove(Path("club.pdn.bak"));
  }
}

// A Windows-1251 file that begins with the mark of UTF-8: converted, it is
// UTF-8 indeed, and reads as before.
TEST_F(PdnAppendTest, AConvertedFileKeepsItsByteOrderMarkAsUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string old =
      mark + Utf8ToCodePage("[Event \"Кубок\"]\r\n[White \"Ли Ю.\"]\r\n[Black \"Ким В.\"]\r\n\r\n1. 11-15 *\r\n",
                            CodePage::Windows1251);
  Write("club.pdn", old);
  const std::vector<std::string> before = {"Ли Ю.", "Ким В."};
  EXPECT_EQ(Players(), before);
  EXPECT_TRUE(Add("Jürgen Müller", "Ли Ю.", true));
  EXPECT_EQ(host.questions.size(), 1u);
  const std::string after = Read("club.pdn");
  const std::string head = mark + "[Event \"Кубок\"]";
  EXPECT_EQ(after.substr(0, head.size()), head);
  const std::vector<std::string> players = {"Ли Ю.", "Ким В.", "Jürgen Müller", "Ли Ю."};
  EXPECT_EQ(Players(), players);
}

// A conversion the disk has no room for leaves the file as it was and no
// copy of it behind.
TEST_F(PdnAppendTest, AConversionThatCannotBeWrittenLeavesNoCopy) {
  const std::string old = Utf8ToCodePage("[White \"Jiří Kříž\"]\r\n\r\n1. 11-15 *\r\n", CodePage::Windows1250);
  Write("club.pdn", old);
  // Files may grow a little past the old one: its copy fits, the converted
  // file with the new game does not.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = old.size() + 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool added = Add("Jürgen", "Ли Ю.", true);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(added);
  EXPECT_EQ(host.questions.size(), 1u);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_NE(host.messages.back().text.find("club.pdn cannot be written"), std::string::npos) << host.messages.back().text;
  EXPECT_EQ(Read("club.pdn"), old);
  EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));
}

// A copy already beside the file is never written over.
TEST_F(PdnAppendTest, ConvertingKeepsEarlierCopies) {
  const std::string old = Utf8ToCodePage("[White \"Jiří Kříž\"]\r\n\r\n1. 11-15 *\r\n", CodePage::Windows1250);
  Write("club.pdn", old);
  Write("club.pdn.bak", "mine");
  EXPECT_TRUE(Add("Jürgen", "Ли Ю.", true));
  EXPECT_EQ(Read("club.pdn.bak"), "mine");
  EXPECT_EQ(Read("club.pdn.bak2"), old);
  const std::vector<std::string> players = {"Jiří Kříž", "", "Jürgen", "Ли Ю."};
  EXPECT_EQ(Players(), players);
}

// A few Hebrew words read as well in Greek: the file is read in Hebrew,
// unsure. A game in plain letters joins it; one whose letters the other
// reading would show otherwise is added only when the user agrees.
TEST_F(PdnAppendTest, AFileOfUnsureCodePageTakesOnlyGamesEveryReadingShowsAlike) {
  const std::string old =
      Utf8ToCodePage("[White \"דוד כהן\"]\r\n[Black \"משה לוי\"]\r\n\r\n1. 11-15 *\r\n", CodePage::Windows1255);
  const CodePageGuess guess = DetectCodePage(old);
  ASSERT_FALSE(guess.sure);
  ASSERT_FALSE(guess.rivals.empty());
  Write("club.pdn", old);
  EXPECT_TRUE(Add("Smith", "Jones", false));
  EXPECT_TRUE(host.questions.empty());
  const std::string joined = Read("club.pdn");
  EXPECT_EQ(joined.substr(0, old.size()), old);

  EXPECT_FALSE(Add("שלום", "Jones", false));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].text.find("not tell the code page for certain"), std::string::npos);
  EXPECT_EQ(Read("club.pdn"), joined);
  EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));
}

// Where the detectors disagree (ICU reads this Hungarian file as
// Windows-1252, "Szõke Z.", uchardet as ISO-8859-2) the code page is a
// guess: a game in plain letters joins it, but one with letters beyond
// ASCII, even letters every reading writes alike, only after the question,
// which names the code page as a guess. A file both detectors read alike is
// named as it is.
TEST_F(PdnAppendTest, AGuessedCodePageIsAskedAboutAndNamedAsAGuess) {
  auto fileOf = [](const std::string& white, const std::string& black, CodePage page) {
    return Utf8ToCodePage("[Event \"Open\"]\r\n[White \"" + white + "\"]\r\n[Black \"" + black +
                              "\"]\r\n\r\n1. 11-15 *\r\n\r\n",
                          page);
  };
  const std::string old = fileOf("Szőke Z.", "Smith", CodePage::Iso8859_2);
  ASSERT_FALSE(DetectCodePage(old).sure);
  Write("club.pdn", old);
  EXPECT_FALSE(Add("Kovács", "Smith", false));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].text.find("club.pdn was read in the code page ISO-8859-2, but its letters do not "
                                        "tell the code page for certain."),
            std::string::npos)
      << host.questions[0].text;
  EXPECT_EQ(Read("club.pdn"), old);

  EXPECT_FALSE(Add("Ævarr", "Smith", false));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].text.find("club.pdn seems to be written in the code page ISO-8859-2, which has no "
                                        "place for some letters of the new game."),
            std::string::npos)
      << host.questions[0].text;
  EXPECT_EQ(Read("club.pdn"), old);

  EXPECT_TRUE(Add("Smith", "Jones", false));
  EXPECT_TRUE(host.questions.empty());
  const std::vector<std::string> players = {"Szőke Z.", "Smith", "Smith", "Jones"};
  EXPECT_EQ(Players(), players);

  const std::string sure = fileOf("Иванов С.", "Петров А.", CodePage::Windows1251);
  ASSERT_TRUE(DetectCodePage(sure).sure);
  Write("club.pdn", sure);
  EXPECT_FALSE(Add("Jürgen", "Smith", false));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].text.find("club.pdn is written in the code page Windows-1251, which has no place"),
            std::string::npos)
      << host.questions[0].text;
}

}  // namespace
}  // namespace m8
