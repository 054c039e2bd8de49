// morventa8-perft [--variant NAME] [--divide] DEPTH
// Sets up a new game of the variant (default "American Checkers") and prints
// one line per depth 1..DEPTH: "depth count milliseconds". With --divide it
// first prints the count below each legal move at DEPTH.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "core/rules/movegen.h"
#include "core/rules/perft.h"
#include "core/state.h"

namespace {

std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

// Messages of the set-up (a bad variant file) go to the error stream.
struct ConsoleHost : m8::Host {
  void message(m8::Icon, std::string_view title, std::string_view text) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
};

int Usage() {
  std::fprintf(stderr, "usage: morventa8-perft [--variant NAME] [--divide] DEPTH\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string variant = "American Checkers";
  bool divide = false;
  int depth = -1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--variant" && i + 1 < argc) {
      variant = argv[++i];
    } else if (a == "--divide") {
      divide = true;
    } else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos && depth < 0) {
      depth = std::atoi(a.c_str());
    } else {
      return Usage();
    }
  }
  if (depth < 1 || depth > m8::kMaxPly) return Usage();

  auto g = std::make_unique<m8::GameState>();
  ConsoleHost host;
  g->host = &host;
  g->ProgramFolder = ProgramFolder(argv[0]);
  std::string error;
  if (!m8::SetupVariantStart(*g, variant, &error)) {
    std::fprintf(stderr, "morventa8-perft: %s\n", error.c_str());
    return 1;
  }
  if (divide) {
    std::vector<std::pair<std::string, uint64_t>> rows;
    if (!m8::PerftDivide(*g, depth, rows)) {
      std::fprintf(stderr, "morventa8-perft: %s\n",
                   m8::MoveGenErrorText(static_cast<m8::MoveGenError>(g->P.GenError)).c_str());
      return 1;
    }
    uint64_t total = 0;
    for (const auto& [text, n] : rows) {
      std::printf("%s %llu\n", text.c_str(), static_cast<unsigned long long>(n));
      total += n;
    }
    std::printf("total %llu\n", static_cast<unsigned long long>(total));
  }
  for (int d = 1; d <= depth; ++d) {
    uint64_t n = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = m8::Perft(*g, d, n);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - t0).count();
    if (!ok) {
      std::fprintf(stderr, "morventa8-perft: depth %d: %s\n", d,
                   m8::MoveGenErrorText(static_cast<m8::MoveGenError>(g->P.GenError)).c_str());
      return 1;
    }
    std::printf("%d %llu %lld\n", d, static_cast<unsigned long long>(n), static_cast<long long>(ms));
    std::fflush(stdout);
  }
  return 0;
}
