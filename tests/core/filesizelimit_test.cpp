// A file-size limit (ulimit -f) ends no program: a write past it fails, and
// the program says so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "core/files_fixture.h"

namespace m8 {
namespace {

using FileSizeLimitTest = testing::FilesTest;

// morventa8-pdn writes a line for each game of a large collection to a file,
// under a limit far below its output, with the system's signal for the limit
// at its default (which ends a program): the tool ends by itself, with exit
// code 1 and a message.
TEST_F(FileSizeLimitTest, AToolWhoseOutputPassesTheLimitSaysSo) {
  const std::string tool = std::string(M8_BIN_DIR) + "/morventa8-pdn";
  ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is missing beside the tests";
  std::string games;
  for (int k = 0; k < 500; ++k) games += "[Event \"Club\"]\r\n\r\n1. 11-15 23-19 *\r\n\r\n";
  Write("club.pdn", games);
  const std::string out = Path("out.txt"), err = Path("err.txt");
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{4096, 4096};
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(99);
    const std::string pdn = Path("club.pdn");
    ::execl(tool.c_str(), tool.c_str(), pdn.c_str(), static_cast<char*>(nullptr));
    ::_exit(98);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(std::filesystem::file_size(out), 4096u);
  EXPECT_NE(Read("err.txt").find("morventa8-pdn: the output could not be written completely"), std::string::npos)
      << Read("err.txt");
}

}  // namespace
}  // namespace m8
