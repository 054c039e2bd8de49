// Time control: the wall time of searches in the time mode against their
// budget, on openings, king endings and positions with many flying kings of
// several variants, with a throttled event pump as the window runs it.
// Goal: every search ends within 1.5 times its budget (the grace for a
// falling score) plus 0.3 s. Prints the worst ratio of wall time to budget.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/engine/searchsetup.h"
#include "core/engine/rootsearch.h"
#include "core/game/toolsetup.h"
#include "core/state.h"

#include "throttledhost.h"

namespace {

struct Piece {
  int row;  // 0 is White's back row
  int col;
  char kind;  // '1'/'2' white/black man, '3'/'4' white/black king
};

std::string Place(std::initializer_list<Piece> pieces) {
  std::string s(64, '0');
  for (const Piece& p : pieces) s[static_cast<size_t>(8 * p.row + p.col)] = p.kind;
  return s;
}

struct Case {
  const char* name;
  const char* variant;
  std::string setup;  // "" for the variant's start position
  int side;           // +1 White, -1 Black to move
  double budget;      // seconds
};

}  // namespace

int main() {
  // Kings on the dark squares of the diagonal boards (row + column even),
  // none of them able to capture at once.
  const std::string manyKings = Place({{0, 0, '3'}, {0, 2, '3'}, {0, 4, '3'}, {0, 6, '3'}, {1, 1, '3'}, {1, 3, '3'},
                                       {7, 7, '4'}, {7, 5, '4'}, {7, 3, '4'}, {7, 1, '4'}, {6, 6, '4'}});
  const std::string fewKings = Place({{2, 2, '3'}, {3, 3, '3'}, {0, 6, '3'}, {7, 1, '4'}, {6, 4, '4'}});
  const std::string orthogonalKings =
      Place({{0, 0, '3'}, {0, 7, '3'}, {3, 3, '3'}, {2, 5, '1'}, {7, 7, '4'}, {4, 4, '4'}, {6, 1, '4'}, {5, 2, '2'}});
  const Case cases[] = {
      {"opening", "American Checkers", "", -1, 1},
      {"king ending", "American Checkers", fewKings, 1, 1},
      {"opening", "Russian Checkers", "", 1, 1},
      {"many flying kings", "Russian Checkers", manyKings, 1, 1},
      {"many flying kings", "Pool Checkers", manyKings, -1, 1},
      {"king ending", "Pool Checkers", fewKings, 1, 1},
      {"opening", "Italian Checkers", "", 1, 1},
      {"opening", "Thai Checkers", "", 1, 1},
      {"opening", "Turkish Checkers", "", 1, 1},
      {"orthogonal kings", "Turkish Checkers", orthogonalKings, 1, 1},
      {"opening", "Anti Checkers", "", -1, 1},
      {"long root move", "Armenian Checkers",
       "0002310000000000000000020020000000000000000000000000000430001100", -1, 3},
  };

  std::printf("timecontrol_bench: wall time of a search in the time mode against its budget\n");
  std::printf("%-20s %-18s %7s %7s %6s %6s\n", "variant", "position", "budget", "wall", "ratio", "depth");
  double worstRatio = 0, worstExcess = -1e9;
  const char* worstName = "";
  for (const Case& c : cases) {
    auto g = std::make_unique<m8::GameState>();
    g->ProgramFolder = M8_BIN_DIR;
    std::string error;
    if (!m8::SetupAnalysisPosition(*g, c.variant, c.setup, c.side, &error)) {
      std::fprintf(stderr, "%s: %s\n", c.variant, error.c_str());
      return 1;
    }
    ThrottledHost host;
    g->host = &host;
    m8::PrepareFullStrengthSearch(*g);
    m8::RootSearchParams params;
    params.member = m8::ChooseFullNode(*g);
    params.depthLimit = 20;
    params.timeLimitSeconds = c.budget;
    const auto t0 = std::chrono::steady_clock::now();
    const m8::RootSearchResult r = m8::SearchRoot(*g, params);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double ratio = wall / c.budget;
    const double excess = wall - (1.5 * c.budget + 0.3);
    std::printf("%-20s %-18s %7.2f %7.2f %6.2f %6d\n", c.variant, c.name, c.budget, wall, ratio, r.depth);
    if (ratio > worstRatio) {
      worstRatio = ratio;
      worstName = c.variant;
    }
    worstExcess = std::max(worstExcess, excess);
  }
  std::printf("worst ratio %.2f (%s); goal: every search within 1.5 x budget + 0.3 s %s\n", worstRatio,
              worstName, worstExcess <= 0 ? "met" : "MISSED");
  return 0;
}
