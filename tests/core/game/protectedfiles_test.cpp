// Files the user made read-only are left as they are by every writer of the
// program, though the folder they are in may be written (and the tests run
// as root, whom the system lets write anything).
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <string>

#include "core/files/diagram.h"
#include "core/files/gamefile.h"
#include "core/files/gamelog.h"
#include "core/files/gamesave.h"
#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/game/domoves.h"
#include "core/game/gamesetup.h"
#include "core/game/startup.h"
#include "core/textcode.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

namespace fs = std::filesystem;

class ProtectedFilesTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    fs::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
    g.Header.GameWhite = "Jürgen Müller";
    g.Header.GameBlack = "Ли Ю.";
  }
};

std::string PdnGames(const std::string& white, const std::string& black) {
  return "[Event \"Open\"]\r\n[White \"" + white + "\"]\r\n[Black \"" + black + "\"]\r\n\r\n1. 11-15 *\r\n\r\n";
}

// One writer a row, its file read-only: the save reports failure, the message
// names the file, no question is asked (so nothing is converted), and the
// file, its mode and its folder stay as they were but for the other files
// the step writes: no copy of it, no temporary.
TEST_F(ProtectedFilesTest, EveryWriterLeavesAReadOnlyFileAsItIs) {
  const struct Row {
    const char* name;
    std::string file;
    std::string bytes;
    std::function<bool(GameState&)> save;
  } rows[] = {
      {"own game file", "game.tvn", "[Morventa8 game]\r\n",
       [this](GameState& s) { return SaveGame(s, Path("game.tvn"), "game.tvn"); }},
      {"PDN file in UTF-8", "club.pdn", PdnGames("Łukasz Żółć", "Søren"),
       [this](GameState& s) { return SaveGame(s, Path("club.pdn"), "club.pdn"); }},
      {"PDN file to be converted", "club.pdn",
       Utf8ToCodePage(PdnGames("Иванов С.", "Ким В.") + PdnGames("Кубок", "Пётр"), CodePage::Windows1251),
       [this](GameState& s) { return SaveGame(s, Path("club.pdn"), "club.pdn"); }},
      {"autosave", kAutosaveFileName, "[Morventa8 game]\r\n", [](GameState& s) { return SaveAutosave(s); }},
      {"settings at exit", kSettingsFileName, "the user's settings\r\n",
       [](GameState& s) { return SaveAtExit(s); }},
      {"rating at exit", kRatingFileName, "the user's rating\r\n", [](GameState& s) { return SaveAtExit(s); }},
      {"log", kLogFileName, "the log of earlier runs\r\n", [](GameState& s) { return OpenLog(s); }},
      {"diagram", kDiagramFileName, "<HTML></HTML>\r\n", [](GameState& s) { return CreateHtmlDiagram(s); }},
      {"random opening", kDoMovesFileName, "[Morventa8 game]\r\n",
       [](GameState& s) {
         s.Rules.DoMoves = 1;
         s.Rules.NumberMoves = 6;
         return WriteDoMovesFile(s);
       }},
  };
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = Path(row.file);
    Write(row.file, row.bytes);
    fs::permissions(path, readOnly);
    host.messages.clear();
    host.questions.clear();
    host.answer = true;  // were the user asked to convert, Yes

    EXPECT_FALSE(row.save(g));
    EXPECT_TRUE(host.questions.empty()) << host.questions.front().text;
    bool named = false;
    for (const auto& m : host.messages) named = named || m.text.find("\"" + path + "\"") != std::string::npos;
    EXPECT_TRUE(named) << (host.messages.empty() ? "no message" : host.messages.back().text);
    // Each further line of a message is a sentence of its own, also where
    // the reason of the failure follows the file's name.
    for (const auto& m : host.messages)
      for (size_t at = m.text.find('\n'); at != std::string::npos; at = m.text.find('\n', at + 1))
        if (at + 1 < m.text.size()) {
          EXPECT_FALSE(std::islower(static_cast<unsigned char>(m.text[at + 1]))) << m.text;
        }
    EXPECT_EQ(Read(row.file), row.bytes);
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
    for (const auto& e : fs::directory_iterator(folder)) {
      const std::string name = e.path().filename().string();
      EXPECT_FALSE(name.starts_with(row.file) && name != row.file) << name;
    }
    fs::permissions(path, fs::perms::owner_all);
    fs::remove(path);
    InitGame(g);
  }
}

// A read-only settings file is the user's choice: the run's settings are
// not saved in it, and the user is told so at exit, naming the file; the
// rating is saved all the same.
TEST_F(ProtectedFilesTest, ReadOnlySettingsAreToldAtExitAndTheRatingStillSaved) {
  ASSERT_TRUE(StartupReadFiles(g).freshSettingsWritten);
  const std::string settings = Read(kSettingsFileName);
  fs::permissions(Path(kSettingsFileName), fs::perms::owner_read);
  g.Opt.Weakness = 7;
  g.Rating.UserRating = 1333;
  host.messages.clear();
  EXPECT_FALSE(SaveAtExit(g));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The settings could not be saved: cannot write \"" + Path(kSettingsFileName) +
                                       "\": the file is read-only");
  EXPECT_EQ(Read(kSettingsFileName), settings);

  GameState next;
  Restart(next);
  StartupReadFiles(next);
  EXPECT_EQ(next.Rating.UserRating, 1333);
  EXPECT_NE(next.Opt.Weakness, 7);
}

}  // namespace
}  // namespace m8
