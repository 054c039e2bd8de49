// What the command-line tools share: where the program's files are, the
// numbers of their options, and how a tool starts and ends.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
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

// A numeric option of a tool: its name as the usage line shows it, what it
// counts, and the numbers it can honour.
struct NumberOption {
  const char* name;   // "--depth", "DEPTH"
  const char* what;   // "a whole number", "a number of seconds"
  double low, high;
  bool whole;         // no decimal point
};

// Whether `text` is written as a number at all: an optional sign, then
// digits, with one decimal point among them.
inline bool LooksLikeNumber(const std::string& text) {
  size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  bool digit = false, point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digit = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// The value of `text` for `option`; nullopt, with the range told on the
// error stream, for a number the option cannot take (outside its range, of
// any size, or a fraction where a whole number is wanted). Text that is no
// number at all is the caller's to refuse (see LooksLikeNumber).
inline std::optional<double> ReadNumber(const char* tool, const NumberOption& option, const std::string& text) {
  const bool fraction = text.find('.') != std::string::npos;
  // strtod reads any length of digits; a number past a double's range is
  // infinite and so outside every option's range.
  const double value = std::strtod(text.c_str(), nullptr);
  if (LooksLikeNumber(text) && !(fraction && option.whole) && std::isfinite(value) && value >= option.low &&
      value <= option.high)
    return value;
  std::fprintf(stderr, "%s: %s must be %s from %g to %g, not %s\n", tool, option.name, option.what, option.low,
               option.high, text.c_str());
  return std::nullopt;
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
