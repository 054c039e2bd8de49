// Reading a hostile PDN game: a move text holding 0.4, 1.6 and 3.2 MB of
// empty comments ("{}{}{}..."). Listing the file and cutting the game into
// moves and comments must grow linearly with the file: the time per megabyte
// of the largest may be at most three times that of the smallest (a joining
// by copying grows with the square and fails this by far).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/files/pdn.h"

namespace {

double SecondsToRead(size_t comments) {
  std::string text = "[Event \"hostile\"]\r\n1. 11-15 ";
  text.reserve(text.size() + 2 * comments + 32);
  for (size_t i = 0; i < comments; ++i) text += "{}";
  text += " 23-19 *\r\n";
  const auto t0 = std::chrono::steady_clock::now();
  m8::PdnFile file;
  m8::FileProblem problem;
  std::vector<m8::GameFileItem> items;
  if (!m8::ReadPdnFile(text, "hostile.pdn", file, problem) ||
      !m8::SplitPdnMoves(file.games[0], "hostile.pdn", items, problem) || items.size() != 3) {
    std::fprintf(stderr, "pdnread: the game was not read: %s\n", problem.text.c_str());
    return -1;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  std::vector<double> perMegabyte;
  for (size_t megabytes10 : {4, 16, 32}) {  // tenths of a megabyte
    const size_t comments = megabytes10 * 100000 / 2;
    const double seconds = SecondsToRead(comments);
    if (seconds < 0) return 1;
    perMegabyte.push_back(seconds / (megabytes10 / 10.0));
    std::printf("pdnread %4.1f MB of empty comments: %.3f s (%.3f s/MB)\n", megabytes10 / 10.0, seconds,
                perMegabyte.back());
  }
  const bool linear = perMegabyte.back() <= 3 * perMegabyte.front() + 0.01;
  std::printf("pdnread: %s\n", linear ? "linear" : "NOT linear");
  return linear ? 0 : 1;
}
