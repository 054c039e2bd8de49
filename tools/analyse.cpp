// morventa8-analyse [--variant NAME] [--setup DIGITS --side w|b]
//                   (--depth N | --time SECONDS)
// Searches a position by iterative deepening with the search node of the
// variant's engine family and prints one line per finished iteration:
//   depth score best nodes milliseconds mainline
// then
//   bestmove MOVE score S depth D nodes N ms T after DIGITS
// where DIGITS is the Setup string of the position after the best move. A
// side without a move prints "bestmove none" with the score of the game's
// result for it: -32000 lost, 32000 won, 0 drawn.
#include <cstdio>
#include <memory>
#include <string>

#include "core/engine/searchsetup.h"
#include "core/engine/evaluate.h"
#include "core/engine/mainline.h"
#include "core/engine/rootsearch.h"
#include "core/game/toolsetup.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/state.h"
#include "toolsupport.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: morventa8-analyse [--variant NAME] [--setup DIGITS --side w|b] "
               "(--depth N | --time SECONDS)\n");
  return 2;
}

constexpr m8tools::NumberOption kDepth{"--depth", "a whole number", 1, m8::kMaxPly, true};
// At least one iteration is searched whatever the time; a day is more than
// any analysis is given.
constexpr m8tools::NumberOption kTime{"--time", "a number of seconds", 0.01, 86400, false};

// The tool itself (see RunTool).
int Run(int argc, char** argv) {
  std::string variant = "American Checkers";
  std::string setup, side;
  int depth = 0;
  double seconds = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--variant" && hasValue) {
      variant = argv[++i];
    } else if (a == "--setup" && hasValue) {
      setup = argv[++i];
    } else if (a == "--side" && hasValue) {
      side = argv[++i];
    } else if ((a == "--depth" || a == "--time") && hasValue && m8tools::LooksLikeNumber(argv[i + 1])) {
      const bool isDepth = a == "--depth";
      const auto n = m8tools::ReadNumber("morventa8-analyse", isDepth ? kDepth : kTime, argv[++i]);
      if (!n) return 1;
      if (isDepth)
        depth = static_cast<int>(*n);
      else
        seconds = *n;
    } else {
      return Usage();
    }
  }
  if ((depth > 0) == (seconds > 0)) return Usage();
  if (!setup.empty() && side != "w" && side != "b") return Usage();
  if (setup.empty() && !side.empty()) return Usage();

  auto g = std::make_unique<m8::GameState>();
  g->ProgramFolder = m8tools::ProgramFolder(argv[0]);
  std::string error;
  if (!m8::SetupAnalysisPosition(*g, variant, setup, side == "w" ? 1 : -1, &error)) {
    std::fprintf(stderr, "morventa8-analyse: %s\n", error.c_str());
    return 1;
  }

  m8::PrepareFullStrengthSearch(*g);
  g->Opt.ShowCalculation = 1;

  m8::RootSearchParams params;
  params.member = m8::ChooseFullNode(*g);
  params.depthLimit = depth > 0 ? depth : 20;
  params.timeLimitSeconds = seconds;
  m8::RootSearchHooks hooks;
  std::string best, mainLine;
  hooks.newBest = [&](int, int index, int) {
    m8::MoveString(*g, index);
    best = g->Texts.DisplayMoveText;
    m8::ShowMainLine(*g);
    mainLine = g->Log.MainLineText;
  };
  hooks.iterationDone = [&](const m8::RootIteration& it) {
    std::printf("%d %d %s %llu %lld %s\n", it.depth, it.score, best.c_str(),
                static_cast<unsigned long long>(it.nodes), static_cast<long long>(it.seconds * 1000),
                mainLine.c_str());
    std::fflush(stdout);
  };
  const m8::RootSearchResult r = m8::SearchRoot(*g, params, hooks);
  if (!r.hasMove) {
    // The side to move has no move: it has lost, won (the losing game) or
    // drawn (a variant where no move with pieces left is a draw).
    m8::Evaluate(*g, -m8::kInfinity, m8::kInfinity, g->P.SideToMove);
    const int score = g->Eval.NoLegalDrawFlag == 1 ? 0 : g->Rules.AntiMode == 1 ? m8::kInfinity : -m8::kInfinity;
    std::printf("bestmove none score %d depth 0 nodes 0 ms 0 after %s\n", score,
                m8::BoardToSetupString(g->board).c_str());
    return 0;
  }
  m8::MoveString(*g, 0);
  const std::string move = g->Texts.DisplayMoveText;
  m8::MakeMove(*g, 0);
  std::printf("bestmove %s score %d depth %d nodes %llu ms %lld after %s\n", move.c_str(), r.score,
              r.depth, static_cast<unsigned long long>(r.nodes),
              static_cast<long long>(r.seconds * 1000), m8::BoardToSetupString(g->board).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return m8tools::RunTool(Run, "morventa8-analyse", argc, argv); }
