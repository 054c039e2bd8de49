#include "core/fileio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/files_fixture.h"
#include "core/otheruser_fixture.h"

namespace m8 {
namespace {

namespace fs = std::filesystem;
using FileIoTest = testing::FilesTest;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A file that happens to bear the name a save might use for its temporary
// copy is the user's: a save that works and one that fails leave it alone,
// and neither leaves a temporary behind.
TEST_F(FileIoTest, ReplacingAFileNeverTouchesAFileNamedLikeItsTemporary) {
  Write("game.tvn.tmp", "the user's notes");
  Write("game.tvn", "old game");
  std::string error;
  ASSERT_TRUE(ReplaceFile(Path("game.tvn"), "new game", &error)) << error;
  EXPECT_EQ(Read("game.tvn"), "new game");
  EXPECT_EQ(Read("game.tvn.tmp"), "the user's notes");

  // The rename over a folder fails after the temporary was written.
  fs::create_directory(Path("folder.tvn"));
  Write("folder.tvn.tmp", "more notes");
  EXPECT_FALSE(ReplaceFile(Path("folder.tvn"), "a game", &error));
  EXPECT_NE(error.find("folder.tvn\""), std::string::npos) << error;
  EXPECT_EQ(Read("folder.tvn.tmp"), "more notes");
  EXPECT_EQ(Names(folder), (std::set<std::string>{"game.tvn", "game.tvn.tmp", "folder.tvn", "folder.tvn.tmp"}));
}

// A file its owner may not write is protected, whoever runs the program (the
// tests run as root, whom the system lets write anything): it is neither
// replaced nor copied over, directly or through a link, and the reason names
// the path the caller gave. A file its owner may write is written as ever.
TEST_F(FileIoTest, AFileItsOwnerMayNotWriteIsNeverReplaced) {
  using P = fs::perms;
  const struct {
    const char* name;
    P mode;
    bool isProtected;
  } cases[] = {
      {"r--r--r--", P::owner_read | P::group_read | P::others_read, true},
      {"r-xr-xr-x", P::owner_read | P::owner_exec | P::group_read | P::group_exec | P::others_read | P::others_exec,
       true},
      {"r--rw-rw-", P::owner_read | P::group_read | P::group_write | P::others_read | P::others_write, true},
      {"---------", P::none, true},
      {"rw-r--r--", P::owner_read | P::owner_write | P::group_read | P::others_read, false},
      {"-w-------", P::owner_write, false},
  };
  Write("copy source", "copied");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = Path(std::string("kept ") + c.name + ".tvn");
    const std::string link = Path(std::string("link ") + c.name + ".tvn");
    Write(fs::path(file).filename().string(), "the user's game");
    fs::create_symlink(file, link);
    fs::permissions(file, c.mode);
    EXPECT_EQ(IsProtectedFile(file), c.isProtected);
    EXPECT_EQ(IsProtectedFile(link), c.isProtected);
    for (const std::string& path : {file, link}) {
      std::string error, copyError;
      EXPECT_EQ(ReplaceFile(path, "new game", &error), !c.isProtected);
      EXPECT_EQ(CopyWholeFile(Path("copy source"), path, &copyError), !c.isProtected);
      if (c.isProtected) {
        EXPECT_EQ(error, "cannot write \"" + path + "\": the file is read-only");
        EXPECT_EQ(copyError, error);
      }
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(file).permissions(), c.mode);
    fs::permissions(file, P::owner_all);
    EXPECT_EQ(Read(fs::path(file).filename().string()), c.isProtected ? "the user's game" : "copied");
  }
  // Neither a missing file nor a folder counts as protected.
  fs::create_directory(Path("folder"));
  fs::permissions(Path("folder"), P::owner_read | P::owner_exec);
  EXPECT_FALSE(IsProtectedFile(Path("gone.tvn")));
  EXPECT_FALSE(IsProtectedFile(Path("folder")));
  fs::permissions(Path("folder"), P::owner_all);
  EXPECT_EQ(Names(folder).size(), 2 * std::size(cases) + 2) << "a temporary was left";
}

// A save that a run never finished leaves its temporary beside the file. The
// next write of that file removes such leftovers: files of exactly the names
// the program gives its temporaries of that file, last written before this
// run began. Whatever else is there, however like one it looks, stays.
TEST_F(FileIoTest, AWriteRemovesTheTemporariesAnEndedRunLeftOfThatFile) {
  const auto earlier = fs::file_time_type::clock::now() - std::chrono::hours(1);
  Write("game.tvn", "old game");
  Write("notes.txt", "the user's notes");
  const std::vector<std::string> leftovers = {"game.tvn.0123456789ab.tmp", "game.tvn.fedcba987654.tmp"};
  const std::vector<std::string> userFiles = {
      "game.tvn.old.tmp",           "game.tvn.0123456789AB.tmp", "game.tvn.0123456789a.tmp",
      "game.tvn.0123456789abc.tmp", "game.tvn.0123456789ab.TMP", "game.tvn.0123456789ab.tmp.bak",
      "game.tvn-0123456789ab.tmp",  "game.tvn0123456789ab.tmp",  "game.tvn.012345-789ab.tmp",
      "xgame.tvn.0123456789ab.tmp", "ame.tvn.0123456789ab.tmp",  "other.tvn.0123456789ab.tmp",
      "game.tvn.0123456789ab",      "game.tvn.tmp",
  };
  for (const auto& name : leftovers) Write(name, "a cut save");
  for (const auto& name : userFiles) Write(name, name);
  // Of the right name, but not a plain file.
  fs::create_directory(Path("game.tvn.aaaaaaaaaaaa.tmp"));
  fs::create_symlink(Path("notes.txt"), Path("game.tvn.bbbbbbbbbbbb.tmp"));
  for (const auto& e : fs::directory_iterator(folder)) fs::last_write_time(e.path(), earlier);
  // Of the right name, written during this run (by another save going on).
  Write("game.tvn.cccccccccccc.tmp", "a save going on");

  std::string error;
  ASSERT_TRUE(ReplaceFile(Path("game.tvn"), "new game", &error)) << error;
  EXPECT_EQ(Read("game.tvn"), "new game");
  std::set<std::string> want = {"game.tvn", "notes.txt", "game.tvn.aaaaaaaaaaaa.tmp", "game.tvn.bbbbbbbbbbbb.tmp",
                                "game.tvn.cccccccccccc.tmp"};
  want.insert(userFiles.begin(), userFiles.end());
  EXPECT_EQ(Names(folder), want);
  for (const auto& name : userFiles) EXPECT_EQ(Read(name), name);
  EXPECT_EQ(Read("notes.txt"), "the user's notes");
  EXPECT_EQ(Read("game.tvn.cccccccccccc.tmp"), "a save going on");

  // Through a link, the leftovers beside the file it names go.
  fs::create_directory(Path("real"));
  Write("real/club.pdn", "old games");
  Write("real/club.pdn.0123456789ab.tmp", "a cut save");
  fs::last_write_time(Path("real/club.pdn.0123456789ab.tmp"), earlier);
  fs::create_symlink(Path("real/club.pdn"), Path("club.pdn"));
  ASSERT_TRUE(CopyWholeFile(Path("notes.txt"), Path("club.pdn"), &error)) << error;
  EXPECT_EQ(Names(folder / "real"), std::set<std::string>{"club.pdn"});
}

TEST_F(FileIoTest, ReadingTellsAMissingFileFromOneThatCannotBeRead) {
  Write("here.txt", "abc");
  fs::create_directory(Path("folder.txt"));
  const OpenRefusal refuseHere = [](const std::string& p) { return p.ends_with("here.txt"); };
  const struct {
    const char* name;
    std::string path;
    OpenRefusal refused;
    size_t limit;
    ReadStatus want;
  } cases[] = {
      {"readable", Path("here.txt"), {}, 3, ReadStatus::Ok},
      {"missing", Path("gone.txt"), {}, 3, ReadStatus::Missing},
      {"refused", Path("here.txt"), refuseHere, 3, ReadStatus::Unreadable},
      {"a folder", Path("folder.txt"), {}, 3, ReadStatus::Unreadable},
      {"too large", Path("here.txt"), {}, 2, ReadStatus::TooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FileRead r = ReadFileChecked(c.path, c.limit, c.refused);
    EXPECT_EQ(r.status, c.want);
    EXPECT_EQ(r.bytes, c.want == ReadStatus::Ok ? "abc" : "");
    EXPECT_EQ(r.reason.empty(), c.want == ReadStatus::Ok) << r.reason;
  }
}

// Lines past the limit are skipped to their end, so the lines after a
// monstrous one are still read; a cut never splits a UTF-8 character.
TEST_F(FileIoTest, LeadingLinesSkipTheRestOfALongLine) {
  const std::string longLine = "ab" + std::string(3000, 'x') + "\r\n";
  const std::string cyrillic = "\xD0\x96\xD0\x96\xD0\x96\n";  // ЖЖЖ: 6 bytes
  Write("lines.txt", "one\r\n" + longLine + cyrillic + "\rfour\nfive");
  const FileRead r = ReadLeadingLines(Path("lines.txt"), 5, 5);
  ASSERT_EQ(r.status, ReadStatus::Ok);
  EXPECT_EQ(r.bytes, "one\r\nabxxx\r\n\xD0\x96\xD0\x96\r\n\r\nfour\r\n");
  EXPECT_EQ(ReadLeadingLines(Path("lines.txt"), 9, 100).bytes.substr(0, 5), "one\r\n");
  EXPECT_TRUE(ReadLeadingLines(Path("lines.txt"), 9, 100).bytes.ends_with("four\r\nfive\r\n"));
}

// A file whose name is as long as the folder takes (255 bytes here), or
// nearly, is replaced as any other: its temporary's name is cut short to fit,
// never inside a letter. A temporary of such a name that an ended run left is
// removed as well.
TEST_F(FileIoTest, AFileOfTheLongestNameIsReplaced) {
  ASSERT_EQ(pathconf(folder.c_str(), _PC_NAME_MAX), 255);
  const std::string cyrillic = "\xD0\xB6";  // one letter of two bytes
  std::string odd;
  while (odd.size() + 2 <= 251) odd += cyrillic;
  const std::vector<std::string> names = {
      std::string(234, 'a') + ".pdn",           // the temporary's name takes the folder's limit exactly
      std::string(235, 'b') + ".pdn",           // one byte more
      std::string(251, 'c') + ".pdn",           // the longest name
      "d" + odd + ".pdn",                       // cut short where a letter would be split
      odd + ".pdn",                             // cut short between two letters
  };
  const auto earlier = fs::file_time_type::clock::now() - std::chrono::hours(1);
  std::set<std::string> want;
  for (const auto& name : names) {
    SCOPED_TRACE(name.size());
    ASSERT_LE(name.size(), 255u);
    Write(name, "old game");
    want.insert(name);
    std::string error;
    ASSERT_TRUE(ReplaceFile(Path(name), "new game", &error)) << error;
    EXPECT_EQ(Read(name), "new game");
    ASSERT_TRUE(CopyWholeFile(Path(name), Path(name), &error)) << error;
    EXPECT_EQ(Read(name), "new game");
    EXPECT_EQ(Names(folder), want) << "a temporary was left";
  }
  // A leftover: the name cut short to the folder's limit, less the digits.
  const std::string longest = names[2];
  const std::string leftover = longest.substr(0, 255 - 17) + ".0123456789ab.tmp";
  Write(leftover, "a cut save");
  fs::last_write_time(Path(leftover), earlier);
  std::string error;
  ASSERT_TRUE(ReplaceFile(Path(longest), "newer game", &error)) << error;
  EXPECT_EQ(Names(folder), want);
}

// What a name stands for, the link itself when it is one.
fs::file_type TypeOf(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type();
}

// Only a regular file is ever replaced: a device, a named pipe, a socket and
// a folder, named directly or through a link, stay what they are, and the
// reason says what the name stands for. A link to a regular file is written
// through and stays a link.
TEST_F(FileIoTest, OnlyARegularFileIsReplaced) {
  fs::create_directory(Path("folder"));
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0666), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Path("socket");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  // A node of the null device, where the system lets one be made here.
  const bool device = ::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  Write("game.tvn", "old game");
  Write("copy source", "copied");
  fs::create_symlink(Path("pipe"), Path("link to pipe"));
  fs::create_symlink("game.tvn", Path("link to game"));
  const struct {
    const char* name;
    const char* what;  // "" for a file that is replaced
  } cases[] = {
      {"folder", "a folder"},      {"pipe", "a named pipe"}, {"socket", "a socket"},
      {"null", "a device"},        {"link to pipe", "a named pipe"}, {"link to game", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string_view(c.name) == "null" && !device) continue;
    const std::string path = Path(c.name);
    const fs::file_type before = TypeOf(path);
    std::string error, copyError, check;
    const bool replaceable = IsReplaceable(path, &check);
    const bool replaced = ReplaceFile(path, "new game", &error);
    const bool copied = CopyWholeFile(Path("copy source"), path, &copyError);
    EXPECT_EQ(TypeOf(path), before);
    if (*c.what) {
      EXPECT_FALSE(replaceable);
      EXPECT_FALSE(replaced);
      EXPECT_FALSE(copied);
      EXPECT_EQ(error, "cannot write \"" + path + "\": it is " + c.what + ", not a file");
      EXPECT_EQ(copyError, error);
      EXPECT_EQ(check, error);
    } else {
      EXPECT_TRUE(replaceable) << check;
      EXPECT_TRUE(replaced) << error;
      EXPECT_TRUE(copied) << copyError;
      EXPECT_EQ(Read("game.tvn"), "copied");
    }
  }
  ::close(sock);
  std::set<std::string> want = {"folder", "pipe", "socket", "game.tvn", "copy source", "link to pipe", "link to game"};
  if (device) want.insert("null");
  EXPECT_EQ(Names(folder), want) << "a temporary was left";
}

// A file rewritten by an administrator stays its owner's, with its group:
// the replacement and a copy over it, directly and through a link.
TEST_F(FileIoTest, AReplacementKeepsTheOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user takes root";
  const struct {
    uid_t uid;
    gid_t gid;
  } owners[] = {{testing::kOtherUser, testing::kOtherGroup}, {0, testing::kOtherGroup}, {testing::kOtherUser, 0}};
  Write("copy source", "copied");
  fs::create_symlink("game.tvn", Path("link.tvn"));
  for (const auto& o : owners) {
    SCOPED_TRACE(std::to_string(o.uid) + ":" + std::to_string(o.gid));
    Write("game.tvn", "the user's game");
    ASSERT_EQ(::chown(Path("game.tvn").c_str(), o.uid, o.gid), 0);
    ASSERT_EQ(::chmod(Path("game.tvn").c_str(), 0664), 0);
    for (const std::string& path : {Path("game.tvn"), Path("link.tvn")}) {
      std::string error;
      ASSERT_TRUE(ReplaceFile(path, "new game", &error)) << error;
      ASSERT_TRUE(CopyWholeFile(Path("copy source"), path, &error)) << error;
      struct stat now {};
      ASSERT_EQ(::stat(Path("game.tvn").c_str(), &now), 0);
      EXPECT_EQ(now.st_uid, o.uid);
      EXPECT_EQ(now.st_gid, o.gid);
      EXPECT_EQ(now.st_mode & 07777, 0664u);
      EXPECT_EQ(Read("game.tvn"), "copied");
    }
  }
  EXPECT_TRUE(fs::is_symlink(Path("link.tvn")));
}

// A user who may write into the folder of another user's file, and even
// the file, never replaces it: the new file would be this user's. The
// reason names the owner, for a file this user may not write as well (not
// "read-only": it is not).
TEST_F(FileIoTest, AnotherUsersFileIsNotTakenOver) {
  if (::geteuid() != 0) GTEST_SKIP() << "a file of another user takes root";
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  if (testing::ChildEnd(testing::ForkAsOtherUser([&] { return ::access(folder.c_str(), W_OK) == 0 ? 0 : 1; })) != "0")
    GTEST_SKIP() << "the test folder is out of the other user's reach";
  for (const mode_t mode : {0666u, 0644u}) {
    SCOPED_TRACE(mode);
    Write("game.tvn", "root's game");
    ASSERT_EQ(::chmod(Path("game.tvn").c_str(), mode), 0);
    const std::string want = "cannot write \"" + Path("game.tvn") + "\": the file belongs to another user (root)";
    const std::string end = testing::ChildEnd(testing::ForkAsOtherUser([&] {
      std::string error, check, copyError;
      const bool replaceable = IsReplaceable(Path("game.tvn"), &check);
      const bool replaced = ReplaceFile(Path("game.tvn"), "nobody's game", &error);
      // A copy over it from a file of this user's.
      const bool copied = CopyWholeFile(Path("game.tvn"), Path("game.tvn"), &copyError);
      for (const std::string* e : {&check, &error, &copyError})
        if (*e != want) std::fprintf(stderr, "%s\n", e->c_str());
      return (replaceable || replaced || copied) ? 1 : check == want && error == want && copyError == want ? 0 : 2;
    }));
    EXPECT_EQ(end, "0") << "1: replaced, 2: another reason";
    struct stat now {};
    ASSERT_EQ(::stat(Path("game.tvn").c_str(), &now), 0);
    EXPECT_EQ(now.st_uid, 0u);
    EXPECT_EQ(Read("game.tvn"), "root's game");
  }
  EXPECT_EQ(Names(folder), std::set<std::string>{"game.tvn"}) << "a temporary was left";
}

}  // namespace
}  // namespace m8
