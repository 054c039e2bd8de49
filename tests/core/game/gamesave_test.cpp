// Saving the game in hand to a file: what no save may do to the file.
#include "core/files/gamesave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/fileio.h"
#include "core/files/pdn.h"
#include "core/files_fixture.h"
#include "core/game/gamesetup.h"
#include "core/otheruser_fixture.h"
#include "core/textcode.h"

namespace m8 {
namespace {

namespace fs = std::filesystem;

class GameSaveTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    fs::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }
  // A file of any size, as it is.
  std::string ReadAll(const std::string& name) const {
    return ReadWholeFile(Path(name), fs::file_size(Path(name))).value_or("<unreadable>");
  }
};

// A collection grows to the largest file the program reads and no further.
// With room for exactly the game it is added, and the file is read again;
// with a byte less the game is refused, the file stays as it was, and the
// message names the bound.
TEST_F(GameSaveTest, NoGameTakesACollectionPastTheLargestFileRead) {
  g.Header.GameWhite = "Last Player";
  // The game's bytes, as a collection of its own holds them.
  ASSERT_TRUE(SaveGame(g, Path("one.pdn"), "one.pdn"));
  const std::string game = ReadAll("one.pdn");
  const std::string old = "[Event \"Old\"]\r\n\r\n1. 11-15 *\r\n\r\n";
  for (const size_t room : {game.size(), game.size() - 1}) {
    SCOPED_TRACE(room);
    const bool fits = room >= game.size();
    std::string file;
    while (file.size() + old.size() <= kMaxGameFileBytes - room) file += old;
    file.insert(0, kMaxGameFileBytes - room - file.size(), '\n');
    ASSERT_EQ(file.size() + room, kMaxGameFileBytes);
    Write("club.pdn", file);
    host.messages.clear();
    EXPECT_EQ(SaveGame(g, Path("club.pdn"), "club.pdn"), fits);
    const FileRead now = ReadFileChecked(Path("club.pdn"), kMaxGameFileBytes);
    ASSERT_EQ(now.status, ReadStatus::Ok) << now.reason;
    if (fits) {
      EXPECT_EQ(now.bytes.size(), kMaxGameFileBytes);
      EXPECT_TRUE(now.bytes == file + game);
      EXPECT_TRUE(host.messages.empty());
    } else {
      EXPECT_TRUE(now.bytes == file);
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_NE(host.messages[0].text.find("club.pdn is left as it is"), std::string::npos) << host.messages[0].text;
      EXPECT_NE(host.messages[0].text.find("16 MB"), std::string::npos) << host.messages[0].text;
    }
  }
}

// A collection of a code page that has no place for the new game's letters
// grows when it is converted to UTF-8: its Cyrillic letters take two bytes
// each. One that would pass the bound so is left as it is after the user
// agreed, with no copy beside it, though the game alone would fit.
TEST_F(GameSaveTest, NoConversionTakesACollectionPastTheLargestFileRead) {
  const std::string game = Utf8ToCodePage(
      "[Event \"Чемпионат области\"]\r\n[White \"Иванов Сергей\"]\r\n[Black \"Петров Алексей\"]\r\n\r\n"
      "1. 11-15 {Обычное начало партии, белые отвечают спокойно} 23-19 *\r\n\r\n",
      CodePage::Windows1251);
  std::string file;
  while (file.size() < (11u << 20)) file += game;
  const std::string utf8 = CodePageToUtf8(file, CodePage::Windows1251);
  ASSERT_GT(utf8.size(), kMaxGameFileBytes);
  Write("club.pdn", file);
  host.answer = true;
  g.Header.GameWhite = "Παπαδόπουλος";
  EXPECT_FALSE(SaveGame(g, Path("club.pdn"), "club.pdn"));
  EXPECT_EQ(host.questions.size(), 1u);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("converted to UTF-8"), std::string::npos) << host.messages[0].text;
  EXPECT_NE(host.messages[0].text.find("16 MB"), std::string::npos) << host.messages[0].text;
  EXPECT_TRUE(ReadAll("club.pdn") == file);
  EXPECT_FALSE(fs::exists(Path("club.pdn.bak")));
}

// Neither a PDN collection nor a game of the own format is saved onto a
// named pipe, or onto a device through a link: the message says what the
// name stands for, and it stays that.
TEST_F(GameSaveTest, ASaveOntoAnythingButAFileIsRefused) {
  ASSERT_EQ(::mkfifo(Path("pipe.sav").c_str(), 0666), 0);
  ASSERT_EQ(::mkfifo(Path("pipe.pdn").c_str(), 0666), 0);
  fs::create_symlink(Path("pipe.sav"), Path("link.sav"));
  for (const char* name : {"pipe.sav", "pipe.pdn", "link.sav"}) {
    SCOPED_TRACE(name);
    host.messages.clear();
    EXPECT_FALSE(SaveGame(g, Path(name), name));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("it is a named pipe, not a file"), std::string::npos) << host.messages[0].text;
    EXPECT_TRUE(fs::is_fifo(Path("pipe.sav")));
    EXPECT_TRUE(fs::is_fifo(Path("pipe.pdn")));
  }
  EXPECT_TRUE(fs::is_symlink(Path("link.sav")));
}

// An administrator adds a game to a user's collection: it stays the user's,
// with its group and permissions, and holds both games.
TEST_F(GameSaveTest, AGameAddedByAnAdministratorLeavesTheCollectionItsOwners) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user takes root";
  const std::string old = "[White \"Smith\"]\r\n\r\n1. 11-15 *\r\n";
  Write("club.pdn", old);
  ASSERT_EQ(::chown(Path("club.pdn").c_str(), testing::kOtherUser, testing::kOtherGroup), 0);
  ASSERT_EQ(::chmod(Path("club.pdn").c_str(), 0664), 0);
  g.Header.GameWhite = "Root";
  ASSERT_TRUE(SaveGame(g, Path("club.pdn"), "club.pdn"));
  struct stat now {};
  ASSERT_EQ(::stat(Path("club.pdn").c_str(), &now), 0);
  EXPECT_EQ(now.st_uid, testing::kOtherUser);
  EXPECT_EQ(now.st_gid, testing::kOtherGroup);
  EXPECT_EQ(now.st_mode & 07777, 0664u);
  const std::string file = Read("club.pdn");
  EXPECT_EQ(file.substr(0, old.size()), old);
  EXPECT_NE(file.find("[White \"Root\"]", old.size()), std::string::npos);
}

}  // namespace
}  // namespace m8
