// morventa8-perft [--variant NAME] [--setup DIGITS] [--side w|b] [--generic]
//                 [--divide] DEPTH
// Sets up a new game of the variant (default "American Checkers"), or the
// position of a Setup string (64 digits 0..4) under its rules with the given
// side to move, and prints one line per depth 1..DEPTH: "depth count
// milliseconds". With --divide it first prints the count below each legal
// move at DEPTH. It walks with the generator of the built-in rule set in
// force (GenerateMoves1..4) when there is one, else with GenerateMoves, and
// names it on the error stream; --generic always uses GenerateMoves.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/game/toolsetup.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/rules/perft.h"
#include "core/state.h"
#include "toolsupport.h"

namespace {

// Messages of the set-up (a bad variant file) go to the error stream.
struct ConsoleHost : m8::Host {
  void message(m8::Icon, std::string_view title, std::string_view text) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
};

int Usage() {
  std::fprintf(stderr,
               "usage: morventa8-perft [--variant NAME] [--setup DIGITS] [--side w|b] [--generic] "
               "[--divide] DEPTH\n");
  return 2;
}

constexpr m8tools::NumberOption kDepth{"DEPTH", "a whole number", 1, m8::kMaxPly, true};

// The tool itself (see RunTool).
int Run(int argc, char** argv) {
  std::string variant = "American Checkers";
  bool divide = false;
  std::string setup;
  int side = 0;  // 0: the variant's starting side
  auto which = m8::PerftGenerator::ForRuleSet;
  int depth = -1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--variant" && i + 1 < argc) {
      variant = argv[++i];
    } else if (a == "--divide") {
      divide = true;
    } else if (a == "--generic") {
      which = m8::PerftGenerator::Generic;
    } else if (a == "--setup" && i + 1 < argc) {
      setup = argv[++i];
    } else if (a == "--side" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v != "w" && v != "b") return Usage();
      side = v == "w" ? 1 : -1;
    } else if (m8tools::LooksLikeNumber(a) && depth < 0) {
      const auto n = m8tools::ReadNumber("morventa8-perft", kDepth, a);
      if (!n) return 1;
      depth = static_cast<int>(*n);
    } else {
      return Usage();
    }
  }
  if (depth < 0) return Usage();

  auto g = std::make_unique<m8::GameState>();
  ConsoleHost host;
  g->host = &host;
  g->ProgramFolder = m8tools::ProgramFolder(argv[0]);
  std::string error;
  if (!m8::SetupVariantStart(*g, variant, &error)) {
    std::fprintf(stderr, "morventa8-perft: %s\n", error.c_str());
    return 1;
  }
  if (!setup.empty() || side != 0) {
    if (setup.empty()) setup = m8::BoardToSetupString(g->board);
    if (side == 0) side = g->P.SideToMove;
    if (!m8::SetupPerftPosition(*g, setup, side, &error)) {
      std::fprintf(stderr, "morventa8-perft: %s\n", error.c_str());
      return 1;
    }
  }
  std::fprintf(stderr, "generator: %s\n", m8::PerftGeneratorName(*g, which).c_str());
  if (divide) {
    std::vector<std::pair<std::string, uint64_t>> rows;
    if (!m8::PerftDivide(*g, depth, rows, which)) {
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
    const bool ok = m8::Perft(*g, d, n, which);
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

}  // namespace

int main(int argc, char** argv) { return m8tools::RunTool(Run, "morventa8-perft", argc, argv); }
