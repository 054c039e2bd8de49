// What the command-line tools share: where the program's files are, and
// how a tool starts and ends.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/fileio.h"

namespace m8tools {

// The folder of the running program (its variants/ and other data folders lie
// beside it); from argv[0] when /proc/self/exe cannot be read.
inline std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

// Runs a tool's main part. Output past the file-size limit (ulimit -f), or
// to a full disk, fails instead of ending the tool; output that could not all
// be written is told on the error stream, and the exit code is then 1.
inline int RunTool(int (*run)(int, char**), const char* name, int argc, char** argv) {
  m8::IgnoreFileSizeSignal();
  const int code = run(argc, argv);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "%s: the output could not be written completely\n", name);
    return 1;
  }
  return code;
}

}  // namespace m8tools
