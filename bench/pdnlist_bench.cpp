// Listing the games of large PDN files, as the game chooser does: a 15 MB
// collection of about 28,000 games (Latin-1 names, then the same in UTF-8),
// and a hostile file of one long move line full of brackets and comments.
// Goal: each under 1 s, and twice the file in about twice the time (the
// listing grows linearly with the file). Fails when a listing is wrong.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/files/pdn.h"

namespace {

// About `megabytes` of games, each with tags, comments, a variation and a
// result; `name` is written into every Black tag.
std::string Collection(double megabytes, const std::string& name, int* games) {
  std::string out;
  const size_t target = static_cast<size_t>(megabytes * 1024 * 1024);
  *games = 0;
  while (out.size() < target) {
    ++*games;
    out += "[Event \"Championship " + std::to_string(*games) + "\"]\r\n[Date \"1999.05.17\"]\r\n[Black \"" + name +
           "\"]\r\n[White \"Player " + std::to_string(*games % 97) + "\"]\r\n[Result \"1-0\"]\r\n\r\n";
    for (int move = 1; move <= 12; ++move)
      out += std::to_string(move) + ". 11-15 {a note} 23-19 (" + std::to_string(move) + ". 9-14 22-17) 8-11 22-17 ";
    out += "1-0\r\n\r\n";
  }
  return out;
}

std::string Hostile(double megabytes) {
  std::string out = "[Event \"x\"]\r\n1. 11-15 ";
  const size_t target = static_cast<size_t>(megabytes * 1024 * 1024);
  while (out.size() < target) out += "[a \"{}{ [b \"} [c \"x";
  return out + " *\r\n";
}

double Seconds(const std::string& bytes, size_t* games) {
  const auto start = std::chrono::steady_clock::now();
  m8::PdnFile file;
  m8::FileProblem problem;
  const bool ok = m8::ReadPdnFile(bytes, "bench.pdn", file, problem);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  *games = ok ? file.games.size() : 0;
  return s;
}

}  // namespace

int main() {
  bool failed = false;
  struct Shape {
    const char* what;
    std::string name;
  } shapes[] = {{"Latin-1 names", "J\xFCrgen"}, {"UTF-8 names", "\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB3\xD0\xB5\xD0\xB9"}};
  for (const auto& shape : shapes) {
    int gamesSmall = 0, gamesLarge = 0;
    const std::string small = Collection(7.5, shape.name, &gamesSmall);
    const std::string large = Collection(15, shape.name, &gamesLarge);
    size_t listedSmall = 0, listedLarge = 0;
    const double a = Seconds(small, &listedSmall), b = Seconds(large, &listedLarge);
    std::printf("%-14s %6d games %.1f MB: %.3f s; %6d games %.1f MB: %.3f s (ratio %.2f)\n", shape.what, gamesSmall,
                small.size() / 1048576.0, a, gamesLarge, large.size() / 1048576.0, b, a > 0 ? b / a : 0.0);
    if (listedSmall != static_cast<size_t>(gamesSmall) || listedLarge != static_cast<size_t>(gamesLarge)) {
      std::printf("  FAILED: %zu and %zu games listed\n", listedSmall, listedLarge);
      failed = true;
    }
  }
  size_t games = 0;
  const double small = Seconds(Hostile(2), &games), large = Seconds(Hostile(4), &games);
  std::printf("%-14s 2 MB: %.3f s; 4 MB: %.3f s (ratio %.2f)\n", "hostile line", small, large,
              small > 0 ? large / small : 0.0);
  if (games != 1) {
    std::printf("  FAILED: %zu games listed\n", games);
    failed = true;
  }
  return failed ? 1 : 0;
}
