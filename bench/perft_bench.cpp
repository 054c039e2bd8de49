// American checkers perft at depths 10 and 11 with the program's own move
// generator, beside the independent bitboard yardstick (shared/tools/
// refperft.sh) run in the same benchmark run. Prints leaves per second of
// both and their ratio (the yardstick may be named on the command line:
// --yardstick PATH); fails when a count differs from the published one or
// when a perft allocates heap memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <string>

#include "core/game/toolsetup.h"
#include "core/rules/perft.h"
#include "core/state.h"

// Every heap allocation of the program is counted, so that the benchmark can
// tell that the generate/make/take-back path allocates nothing.
namespace {
uint64_t g_allocations = 0;
}  // namespace

void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr uint64_t kPublished[] = {1, 7, 49, 302, 1469, 7361, 36768, 179740, 845931,
                                   3963680, 18391564, 85242128};

// The yardstick beside the project (../shared/tools/refperft.sh from the
// checkout), unless the command line names one.
std::string YardstickPath(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--yardstick") return argv[2];
  return (std::filesystem::path(M8_SOURCE_DIR) / ".." / "shared" / "tools" / "refperft.sh")
      .lexically_normal()
      .string();
}

// depth -> (count, milliseconds) from the yardstick's output lines.
std::map<int, std::pair<uint64_t, double>> RunYardstick(const std::string& script, int depth) {
  std::map<int, std::pair<uint64_t, double>> out;
  // The path in single quotes, each quote of its own closed, escaped and reopened.
  std::string quoted = "'";
  for (char c : script) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  const std::string cmd = "bash " + quoted + "' " + std::to_string(depth);
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return out;
  int d = 0;
  unsigned long long n = 0;
  double ms = 0;
  char line[256];
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "%d %llu %lf", &d, &n, &ms) == 3) out[d] = {n, ms};
  pclose(f);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 1 && !(argc == 3 && std::string(argv[1]) == "--yardstick")) {
    std::fprintf(stderr, "usage: %s [--yardstick PATH/refperft.sh]\n", argv[0]);
    return 2;
  }
  auto g = std::make_unique<m8::GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  std::string error;
  if (!m8::SetupVariantStart(*g, "American Checkers", &error)) {
    std::fprintf(stderr, "perft_bench: %s\n", error.c_str());
    return 1;
  }
  // Without the yardstick (a clone without ../shared) the counts and our
  // speed are still measured; the comparison says it is left out.
  std::string script = YardstickPath(argc, argv);
  {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(script, ec)) {
      std::printf("perft yardstick %s not found: no comparison with it\n", script.c_str());
      script.clear();
    }
  }
  int failures = 0;
  {
    uint64_t n = 0;
    const uint64_t before = g_allocations;
    m8::Perft(*g, 8, n);
    const uint64_t allocations = g_allocations - before;
    std::printf("heap allocations during a perft of depth 8: %llu\n",
                static_cast<unsigned long long>(allocations));
    if (allocations != 0) ++failures;
  }
  std::printf("American perft: leaves per second, ours and the bitboard yardstick\n");
  for (int depth : {10, 11}) {
    // The fixed-rule generator of American Checkers first, for comparison.
    uint64_t n = 0;
    auto t0 = std::chrono::steady_clock::now();
    if (m8::Perft(*g, depth, n, m8::PerftGenerator::ForRuleSet) && n == kPublished[depth]) {
      const double fixedMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      std::printf("depth %2d  %s %.0f ms  %.2f M/s\n", depth,
                  m8::PerftGeneratorName(*g, m8::PerftGenerator::ForRuleSet).c_str(), fixedMs,
                  n / fixedMs / 1000.0);
    } else {
      std::printf("depth %d: %s count %llu differs\n", depth,
                  m8::PerftGeneratorName(*g, m8::PerftGenerator::ForRuleSet).c_str(),
                  static_cast<unsigned long long>(n));
      ++failures;
    }
    t0 = std::chrono::steady_clock::now();
    const bool ok = m8::Perft(*g, depth, n);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    if (!ok || n != kPublished[depth]) {
      std::printf("depth %d: count %llu, published %llu\n", depth, static_cast<unsigned long long>(n),
                  static_cast<unsigned long long>(kPublished[depth]));
      ++failures;
      continue;
    }
    const double ours = n / (ms / 1000.0);
    std::printf("depth %2d  %llu leaves  GenerateMoves %.0f ms  %.2f M/s", depth, static_cast<unsigned long long>(n),
                ms, ours / 1e6);
    if (script.empty()) {
      std::printf("  (no yardstick)\n");
      continue;
    }
    const auto ref = RunYardstick(script, depth);
    const auto it = ref.find(depth);
    if (it == ref.end() || it->second.second <= 0) {
      std::printf("  (yardstick gave no result)\n");
      continue;
    }
    if (it->second.first != n) {
      std::printf("  yardstick count %llu differs\n", static_cast<unsigned long long>(it->second.first));
      ++failures;
      continue;
    }
    const double theirs = n / (it->second.second / 1000.0);
    std::printf("  yardstick %.0f ms  %.2f M/s  ratio %.2f (goal >= 0.25)\n", it->second.second,
                theirs / 1e6, ours / theirs);
  }
  return failures == 0 ? 0 : 1;
}
