// What the command-line tools share: where the program's files are.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace m8tools {

// The folder of the running program (its variants/ and other data folders lie
// beside it); from argv[0] when /proc/self/exe cannot be read.
inline std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

}  // namespace m8tools
