// Search speed on American Checkers middle-game positions reached by known
// opening lines: nodes per second and the time to each depth, once with a
// host whose event pump does nothing and once with a throttled pump that
// reads a steady clock at every call (as the window's pump does) and acts
// only every few milliseconds.
// Goals: at least 2 million nodes per second on one core; the throttled pump
// within 5% of the plain one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/engine/searchsetup.h"
#include "core/engine/evaluate.h"
#include "core/engine/rootsearch.h"
#include "core/game/toolsetup.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/state.h"

#include "throttledhost.h"

namespace {

constexpr int kDepth = 10;

struct Opening {
  const char* name;
  const char* moves;  // from the start, Black first
  const char* setup;  // the position they reach
};

// clang-format off
const Opening kOpenings[] = {
    {"Single Corner", "11-15 22-18 15x22 25x18 8-11 29-25 4-8 25-22 12-16 24-20",
     "0010101000010101101010000001000100000020020202002020202002020200"},
    {"Old Fourteenth", "11-15 23-19 8-11 22-17 4-8 17-13 15-18 24-20 11-15 28-24",
     "1010101001010100100000100002010110002000020200022020202002020200"},
    {"Ayrshire Lassie", "11-15 24-20 8-11 28-24 9-13 22-18 15x22 25x18 4-8 26-22",
     "1010101000000100101010100001000120000000000202022020202002020200"},
    {"Glasgow", "11-15 23-19 8-11 22-17 11-16 24-20 16x23 27x11 7x16 20x11 3x7",
     "1010101001010001100000000100000000000000020201022020200002020002"},
    {"Dyke", "11-15 22-17 15-19 24x15 10x19 23x16 12x19 25-22 8-11 17-13",
     "1010101000010101101000000000020010000000020002002020200002020202"},
    {"Cross", "11-15 23-18 8-11 27-23 4-8 23-19 10-14 19x10 14x23 26x19",
     "1010101001000001101000100000010000000000020102022020202002020200"},
    {"Whilter", "11-15 23-19 9-13 22-17 13x22 25x11 8x15 26-22 6-9 24-20 15x24 28x19",
     "1010101000000100101000000000010100000000020200022000200002020202"},
    {"Souter", "11-15 23-19 9-14 22-17 6-9 17-13 1-6 25-22 8-11 29-25",
     "0010101001010101101000100000010010202000020202022020200000020202"},
    {"Fife", "11-15 23-19 9-14 22-17 5-9 17-13 14-18 24-20 15x24 28x19",
     "1010101001010100100000000002010110000000020200020020202002020202"},
    {"Switcher", "11-15 21-17 9-13 25-21 8-11 17-14 10x17 21x14 15-18 22x8 4x11",
     "1010101000010101000010100000000020100000000002022020200002020200"},
    {"Second Double Corner", "11-15 24-19 15x24 28x19 8-11 22-18 10-14 25-22 4-8 29-25",
     "0010101001010100101010000001010000200000020002022020202002020200"},
    {"Alma", "11-15 23-19 8-11 22-17 3-8 25-22 11-16 26-23 16-20 17-13",
     "1010101000000101101010100000010210002000020200022020202002020002"},
    {"Maid of the Mill", "11-15 22-17 8-11 17-13 15-18 23x14 9x18 21-17 4-8 26-23",
     "1010101001000101000010100102000010000000000202022020202002020200"},
    {"Double Corner", "9-14 22-18 5-9 24-19 11-16 25-22 16-20 29-25 8-11 18-15 11x18 22x15",
     "0010101001010101100010000000010200201000020200020020200002020202"},
    {"Kelso", "10-15 23-18 12-16 18-14 9x18 24-19 15x24 27x20",
     "1010101001010001101000000002000100000020000002002020202002020202"},
    {"Edinburgh", "9-13 22-18 10-14 18x9 5x14 24-19 6-10 25-22",
     "1010101000010101101010000000010020200000000202020000202002020202"},
    {"Paisley", "11-16 24-19 8-11 22-18 10-14 25-22 16-20 29-25 4-8 22-17",
     "0010101001010101100010000101010200200000020002022020202002020200"},
    {"Defiance", "11-15 23-19 9-14 27-23 8-11 22-18 15x22 25x9 5x14 26-22",
     "1010101000000001101010100000010000200000000202020020200002020202"},
    {"Laird and Lady", "11-15 23-19 8-11 22-17 9-13 17-14 10x17 21x14 15-18 19-15",
     "1010101001010101000000100002000020101000000002022020200002020202"},
    {"Denny", "10-14 24-19 7-10 22-17 14-18 23x7 3x10 25-22",
     "1010101000010101101000000100010000000000020202022020002002020002"},
    {"Will o' the Wisp", "11-15 23-19 9-13 26-23 5-9 22-18 15x22 25x18 10-14 24-20",
     "1010101000000101100010000001010120200000020000020020202002020202"},
};
// clang-format on

// Plays the opening's moves from a new game; false when a move is illegal or
// the position differs from the one written down.
bool PlayOpening(m8::GameState& g, const Opening& o) {
  std::string error;
  if (!m8::SetupAnalysisPosition(g, "American Checkers", "", -1, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  std::istringstream in(o.moves);
  std::string move;
  while (in >> move) {
    const size_t sep = move.find_first_of("-x");
    std::string from = move.substr(0, sep), to = move.substr(sep + 1);
    if (from.size() < 2) from = " " + from;
    if (to.size() < 2) to = " " + to;
    if (!m8::PlayMoveString(g, from + to)) {
      std::fprintf(stderr, "%s: illegal move %s\n", o.name, move.c_str());
      return false;
    }
  }
  if (m8::BoardToSetupString(g.board) != o.setup) {
    std::fprintf(stderr, "%s: reached %s\n", o.name, m8::BoardToSetupString(g.board).c_str());
    return false;
  }
  return true;
}

struct Run {
  uint64_t nodes = 0;
  double seconds = 0;
  std::vector<double> toDepth;  // seconds at the end of each iteration
};

bool Search(const Opening& o, m8::Host& host, Run& run) {
  auto g = std::make_unique<m8::GameState>();
  g->ProgramFolder = M8_BIN_DIR;
  if (!PlayOpening(*g, o)) return false;
  g->host = &host;
  m8::PrepareFullStrengthSearch(*g);
  m8::RootSearchParams params;
  params.member = m8::ChooseFullNode(*g);
  params.depthLimit = kDepth;
  m8::RootSearchHooks hooks;
  hooks.iterationDone = [&](const m8::RootIteration& it) { run.toDepth.push_back(it.seconds); };
  const m8::RootSearchResult r = m8::SearchRoot(*g, params, hooks);
  run.nodes = r.nodes;
  run.seconds = r.seconds;
  return true;
}

}  // namespace

int main() {
  std::printf("search_bench: %zu positions, depth %d, node %s\n", std::size(kOpenings), kDepth,
              "AlphaBeta1");
  std::printf("%-22s %10s %8s %8s  seconds to depth 6 / 8 / %d\n", "opening", "nodes", "ms",
              "Mnps", kDepth);
  uint64_t totalNodes = 0;
  double plainSeconds = 0, throttledSeconds = 0;
  for (const Opening& o : kOpenings) {
    // Best of two runs each, alternating, against the machine's noise.
    Run best, bestThrottled;
    best.seconds = bestThrottled.seconds = 1e9;
    for (int round = 0; round < 2; ++round) {
      m8::NullHost plain;
      ThrottledHost throttled;
      Run a, b;
      if (!Search(o, plain, a) || !Search(o, throttled, b)) return 1;
      if (a.seconds < best.seconds) best = a;
      if (b.seconds < bestThrottled.seconds) bestThrottled = b;
    }
    if (best.nodes != bestThrottled.nodes) {
      std::fprintf(stderr, "%s: the pump changed the search\n", o.name);
      return 1;
    }
    auto at = [&](int d) { return d <= static_cast<int>(best.toDepth.size()) ? best.toDepth[d - 1] : 0.0; };
    std::printf("%-22s %10llu %8.1f %8.2f  %.3f / %.3f / %.3f\n", o.name,
                static_cast<unsigned long long>(best.nodes), best.seconds * 1000,
                best.nodes / best.seconds / 1e6, at(6), at(8), at(kDepth));
    totalNodes += best.nodes;
    plainSeconds += best.seconds;
    throttledSeconds += bestThrottled.seconds;
  }
  const double nps = totalNodes / plainSeconds;
  const double slower = (throttledSeconds / plainSeconds - 1) * 100;
  std::printf("total %llu nodes in %.2f s: %.2f million nodes/s (goal >= 2.00) %s\n",
              static_cast<unsigned long long>(totalNodes), plainSeconds, nps / 1e6,
              nps >= 2e6 ? "met" : "MISSED");
  std::printf("throttled pump: %.2f s, %+.1f%% (goal within 5%%) %s\n", throttledSeconds, slower,
              slower <= 5 ? "met" : "MISSED");
  return 0;
}
