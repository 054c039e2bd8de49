// One PDN collection that two programs add games to at the same time: every
// game either program was told it saved is in the file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/files_fixture.h"
#include "core/otheruser_fixture.h"
#include "core/game/gamesetup.h"
#include "core/textcode.h"

namespace m8 {
namespace {

class SharedCollectionTest : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
    InitGame(g);
  }

  // A child process that waits at `gate` (until it is closed), then saves
  // `games` games to `name` whose White is "Writer <writer>.<k>". Its exit
  // code is the number of saves that reported failure.
  pid_t StartWriter(int writer, int games, const std::string& name, int gate[2]) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::close(gate[1]);
    char byte;
    while (::read(gate[0], &byte, 1) > 0) {
    }
    int failed = 0;
    for (int k = 0; k < games; ++k) {
      g.Header.GameWhite = "Writer " + std::to_string(writer) + "." + std::to_string(k);
      if (!SaveGame(g, Path(name), name)) ++failed;
    }
    for (const auto& m : host.messages) std::fprintf(stderr, "writer %d: %s\n", writer, m.text.c_str());
    ::_exit(failed);
  }
};

// Two programs each add 40 games at the same time to a collection of 2.5 MB,
// and to a collection that does not exist yet. Each save reads the whole
// file, adds its game and replaces the file, so without a lock the one that
// replaces last drops the other's games.
TEST_F(SharedCollectionTest, TwoProgramsAddingGamesLoseNone) {
  std::string big;
  for (int k = 0; big.size() < (5u << 19); ++k)
    big += "[Event \"Club " + std::to_string(k) +
           "\"]\r\n[White \"Old White\"]\r\n[Black \"Old Black\"]\r\n[Result \"*\"]\r\n\r\n"
           "1. 11-15 23-19 2. 8-11 22-17 3. 9-13 17x10 4. 6x15 21-17 5. 13x22 25x18 *\r\n\r\n";
  for (const bool exists : {true, false}) {
    SCOPED_TRACE(exists ? "a collection of 2.5 MB" : "a new collection");
    const std::string old = exists ? big : "";
    const std::string name = exists ? "club.pdn" : "new.pdn";
    if (exists) Write(name, old);
    constexpr int kWriters = 2, kGames = 40;
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    pid_t writers[kWriters];
    for (int w = 0; w < kWriters; ++w) writers[w] = StartWriter(w, kGames, name, gate);
    ::close(gate[0]);
    ::close(gate[1]);  // both start now
    for (int w = 0; w < kWriters; ++w) {
      int status = 0;
      ASSERT_EQ(::waitpid(writers[w], &status, 0), writers[w]);
      ASSERT_TRUE(WIFEXITED(status)) << "writer " << w << " ended by signal " << WTERMSIG(status);
      EXPECT_EQ(WEXITSTATUS(status), 0) << "saves of writer " << w << " that failed";
    }
    // Counted in the bytes, without the program's reader: the old games as
    // they were, then each new game once.
    const std::string now = Read(name);
    ASSERT_EQ(now.substr(0, old.size()), old);
    for (int w = 0; w < kWriters; ++w)
      for (int k = 0; k < kGames; ++k) {
        const std::string tag = "[White \"Writer " + std::to_string(w) + "." + std::to_string(k) + "\"]";
        const size_t at = now.find(tag, old.size());
        EXPECT_NE(at, std::string::npos) << tag << " is lost";
        if (at != std::string::npos) {
          EXPECT_EQ(now.find(tag, at + 1), std::string::npos) << tag << " twice";
        }
      }
  }
}

// A host that, while the user thinks about a question, lets another program
// add games to the file.
class BusyHost : public testing::RecordingHost {
 public:
  bool askYesNo(std::string_view title, std::string_view text) override {
    if (meanwhile) meanwhile();
    return RecordingHost::askYesNo(title, text);
  }
  std::function<void()> meanwhile;
};

// A game that needs the file converted to UTF-8 waits for the user's answer
// with the file free. Another program adds a game meanwhile: the save reads
// the file again and asks again, since the file it would convert is another
// one now. Converted, it holds every game, and the copy beside it is the
// file as it was when the user agreed. A file that changes during every
// question is left to the other program, and the save says so.
TEST_F(SharedCollectionTest, AFileChangedDuringTheQuestionIsReadAgain) {
  BusyHost busy;
  g.host = &busy;
  const std::string old =
      Utf8ToCodePage("[White \"Ли Ю.\"]\r\n[Black \"Ким В.\"]\r\n\r\n1. 11-15 *\r\n", CodePage::Windows1251);
  const std::string other =
      Utf8ToCodePage("\r\n[White \"Пётр\"]\r\n[Black \"Иванов С.\"]\r\n\r\n1. 9-13 *\r\n", CodePage::Windows1251);
  Write("club.pdn", old);
  busy.meanwhile = [&] {
    if (busy.questions.empty()) Write("club.pdn", old + other);
  };
  busy.answer = true;
  g.Header.GameWhite = "Jürgen Müller";
  g.Header.GameBlack = "Ли Ю.";
  ASSERT_TRUE(SaveGame(g, Path("club.pdn"), "club.pdn"));
  EXPECT_EQ(busy.questions.size(), 2u);
  EXPECT_EQ(Read("club.pdn.bak"), old + other);
  PdnFile file;
  FileProblem p;
  ASSERT_TRUE(ReadPdnFile(Read("club.pdn"), "club.pdn", file, p)) << p.text;
  std::vector<std::string> players;
  for (const auto& game : file.games) players.insert(players.end(), {game.tags.White, game.tags.Black});
  EXPECT_EQ(players, (std::vector<std::string>{"Ли Ю.", "Ким В.", "Пётр", "Иванов С.", "Jürgen Müller", "Ли Ю."}));

  Write("club.pdn", old);
  std::filesystem::remove(Path("club.pdn.bak"));
  std::string now = old;
  busy.questions.clear();
  busy.meanwhile = [&] { Write("club.pdn", now += other); };
  EXPECT_FALSE(SaveGame(g, Path("club.pdn"), "club.pdn"));
  EXPECT_GE(busy.questions.size(), 2u);
  EXPECT_EQ(Read("club.pdn"), now);
  EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));
  ASSERT_EQ(busy.messages.size(), 1u);
  EXPECT_NE(busy.messages[0].text.find("club.pdn was changed by another program each time you were asked about it"),
            std::string::npos)
      << busy.messages[0].text;
}

// A save that cannot add its game adds nothing, and says so: one that finds
// the file held by another program for all its wait, and one of a new
// collection past the file-size limit, which leaves no file behind.
TEST_F(SharedCollectionTest, ASaveThatCannotAddItsGameSaysSo) {
  const std::string old = "[White \"Smith\"]\r\n\r\n1. 11-15 *\r\n";
  Write("club.pdn", old);
  {
    FileLock other(Path("club.pdn"));
    ASSERT_TRUE(other.held());
    EXPECT_FALSE(SaveGame(g, Path("club.pdn"), "club.pdn"));
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("club.pdn is being written by another program, so the game is not added"),
            std::string::npos)
      << host.messages[0].text;
  EXPECT_EQ(Read("club.pdn"), old);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool added = SaveGame(g, Path("new.pdn"), "new.pdn");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(added);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_NE(host.messages[1].text.find("new.pdn cannot be written"), std::string::npos) << host.messages[1].text;
  EXPECT_FALSE(std::filesystem::exists(Path("new.pdn")));
}

// A folder its user may write into but not list (mode 0300, a drop box):
// three programs of that user add 20 games each to one collection in it at
// the same time. Every save that reports success has its game in the file,
// once; with the lock that such a folder allows, none fails.
TEST_F(SharedCollectionTest, AFolderItsUserMayNotListKeepsEveryGame) {
  const std::string old = "[Event \"Drop box\"]\r\n[White \"Old White\"]\r\n\r\n1. 11-15 *\r\n";
  Write("box/c.pdn", old);
  const uid_t user = testing::OtherUser();
  const gid_t group = ::geteuid() == 0 ? testing::kOtherGroup : ::getegid();
  ASSERT_EQ(::chown(Path("box/c.pdn").c_str(), user, group), 0);
  ASSERT_EQ(::chown(Path("box").c_str(), user, group), 0);
  ASSERT_EQ(::chmod(Path("box").c_str(), 0300), 0);
  const std::string name = "box/c.pdn";
  const std::string reach = testing::ChildEnd(testing::ForkAsOtherUser([&] {
    const bool writable = ::access(Path(name).c_str(), W_OK) == 0, listable = ::access(Path("box").c_str(), R_OK) == 0;
    return writable && !listable ? 0 : 1;
  }));
  if (reach != "0") GTEST_SKIP() << "the test folder is out of the other user's reach (" << reach << ")";

  constexpr int kWriters = 3, kGames = 20;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  pid_t writers[kWriters];
  int results[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    int result[2];
    ASSERT_EQ(::pipe(result), 0);
    writers[w] = testing::ForkAsOtherUser([&] {
      ::close(gate[1]);
      ::close(result[0]);
      char byte;
      while (::read(gate[0], &byte, 1) > 0) {
      }
      // One byte for each save: '+' it reported success, '-' failure.
      for (int k = 0; k < kGames; ++k) {
        g.Header.GameWhite = "Writer " + std::to_string(w) + "." + std::to_string(k);
        const char saved = SaveGame(g, Path(name), "c.pdn") ? '+' : '-';
        if (::write(result[1], &saved, 1) != 1) return 2;
      }
      for (const auto& m : host.messages) std::fprintf(stderr, "writer %d: %s\n", w, m.text.c_str());
      return 0;
    });
    ASSERT_GT(writers[w], 0);
    ::close(result[1]);
    results[w] = result[0];
  }
  ::close(gate[0]);
  ::close(gate[1]);  // all start now
  std::string saved[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    char buffer[64];
    ssize_t got;
    while ((got = ::read(results[w], buffer, sizeof buffer)) > 0) saved[w].append(buffer, static_cast<size_t>(got));
    ::close(results[w]);
    EXPECT_EQ(testing::ChildEnd(writers[w]), "0") << "writer " << w;
  }
  ::chmod(Path("box").c_str(), 0700);
  const std::string now = Read(name);
  ASSERT_EQ(now.substr(0, old.size()), old);
  for (int w = 0; w < kWriters; ++w) {
    ASSERT_EQ(saved[w].size(), size_t{kGames}) << "writer " << w;
    for (int k = 0; k < kGames; ++k) {
      const std::string tag = "[White \"Writer " + std::to_string(w) + "." + std::to_string(k) + "\"]";
      const size_t at = now.find(tag, old.size());
      EXPECT_EQ(saved[w][k], '+') << tag << " was refused";
      if (saved[w][k] == '+') {
        EXPECT_NE(at, std::string::npos) << tag << " reported saved, and lost";
      }
      if (at != std::string::npos) {
        EXPECT_EQ(now.find(tag, at + 1), std::string::npos) << tag << " twice";
      }
    }
  }
}

// The lock is one collection's: while another program holds one collection
// of a folder, a game is added at once to another collection there, a new
// one too, and the held one is refused after the wait.
TEST_F(SharedCollectionTest, ALockHoldsOneCollectionNotItsFolder) {
  const std::string old = "[White \"Smith\"]\r\n\r\n1. 11-15 *\r\n";
  Write("club.pdn", old);
  Write("home.pdn", old);
  FileLock other(Path("club.pdn"));
  ASSERT_TRUE(other.held());
  g.Header.GameWhite = "Jones";
  EXPECT_TRUE(SaveGame(g, Path("home.pdn"), "home.pdn"));
  EXPECT_TRUE(SaveGame(g, Path("new.pdn"), "new.pdn"));
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_NE(Read("home.pdn").find("[White \"Jones\"]", old.size()), std::string::npos);
  EXPECT_NE(Read("new.pdn").find("[White \"Jones\"]"), std::string::npos);
  EXPECT_EQ(Read("club.pdn"), old);
}

// A host that, whenever it shows a message, tries to lock the collection
// the message is about and another one of its folder, as another program
// saving would.
class LockTryingHost : public testing::RecordingHost {
 public:
  void message(Icon icon, std::string_view title, std::string_view text) override {
    for (const std::string& path : paths) {
      const FileLock lock(path, 0);
      if (!lock.held()) lockedDuringBox.push_back(path + (lock.busy() ? " (busy)" : " (" + lock.failure() + ")"));
    }
    RecordingHost::message(icon, title, text);
  }
  std::vector<std::string> paths;
  std::vector<std::string> lockedDuringBox;
};

// A save that is refused shows its message with every collection free: one
// too large to read, one a file-size limit keeps from being written, and one
// whose copy for its conversion the limit keeps from being written.
TEST_F(SharedCollectionTest, NoMessageIsShownWithACollectionLocked) {
  LockTryingHost boxes;
  g.host = &boxes;
  boxes.answer = true;
  boxes.paths = {Path("club.pdn"), Path("home.pdn")};
  const std::string small = "[White \"Smith\"]\r\n\r\n1. 11-15 *\r\n";
  const std::string legacy = Utf8ToCodePage("[White \"Ли Ю.\"]\r\n\r\n1. 11-15 *\r\n", CodePage::Windows1251);
  const struct {
    const char* name;
    std::string file;
    size_t limit;  // the file-size limit during the save; 0: none
    const char* message;
  } cases[] = {
      {"too large to read", std::string(kMaxGameFileBytes + 1, ' '), 0, "club.pdn is too large"},
      {"past the file-size limit", small, small.size() + 8, "club.pdn cannot be written"},
      {"no copy for its conversion", legacy, legacy.size() - 1, "its copy cannot be written"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write("club.pdn", c.file);
    g.Header.GameWhite = "Jürgen Müller";
    boxes.messages.clear();
    boxes.lockedDuringBox.clear();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (c.limit > 0) {
      rlimit limit = saved;
      limit.rlim_cur = c.limit;
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    const bool added = SaveGame(g, Path("club.pdn"), "club.pdn");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(added);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_NE(boxes.messages[0].text.find(c.message), std::string::npos) << boxes.messages[0].text;
    EXPECT_TRUE(boxes.lockedDuringBox.empty()) << boxes.lockedDuringBox[0];
    EXPECT_TRUE(ReadWholeFile(Path("club.pdn"), c.file.size()) == c.file);
    EXPECT_FALSE(std::filesystem::exists(Path("club.pdn.bak")));
  }
}

}  // namespace
}  // namespace m8
