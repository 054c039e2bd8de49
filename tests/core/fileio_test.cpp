#include "core/fileio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/files_fixture.h"

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

}  // namespace
}  // namespace m8
