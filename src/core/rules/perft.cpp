#include "core/rules/perft.h"

#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

using GenerateFn = bool (*)(PositionState&, int);

GenerateFn Generator(PerftGenerator which) {
  return which == PerftGenerator::ForRuleSet ? &GenerateMovesForRuleSet : &GenerateMoves;
}

uint64_t PerftNode(PositionState& g, GenerateFn generate, int depth, bool& ok) {
  if (!generate(g, 0)) {
    ok = false;
    return 0;
  }
  PlyState& P = g.P;
  int first = P.PlyStart[P.Ply], end = P.PlyStart[P.Ply + 1];
  if (first == end) {
    if (!generate(g, 1)) {
      ok = false;
      return 0;
    }
    end = P.PlyStart[P.Ply + 1];
  }
  if (depth <= 1) return static_cast<uint64_t>(end - first);
  uint64_t n = 0;
  for (int k = first; k < end && ok; ++k) {
    if (!MakeMove(g, k)) {
      ok = false;
      break;
    }
    n += PerftNode(g, generate, depth - 1, ok);
    UnmakeMove(g, k);
  }
  return n;
}

}  // namespace

bool Perft(PositionState& g, int depth, uint64_t& count, PerftGenerator which) {
  count = 0;
  if (depth < 0 || depth > kMaxPly) return false;
  if (depth == 0) {
    count = 1;
    return true;
  }
  bool ok = true;
  count = PerftNode(g, Generator(which), depth, ok);
  return ok;
}

bool PerftDivide(PositionState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out,
                 PerftGenerator which) {
  out.clear();
  if (depth < 1 || depth > kMaxPly) return false;
  if (!GenerateLegalMoves(g)) return false;
  PlyState& P = g.P;
  const int first = P.PlyStart[P.Ply], end = P.PlyStart[P.Ply + 1];
  for (int k = first; k < end; ++k) {
    MoveString(g, k);
    std::string text = g.Texts.MoveText;
    uint64_t n = 1;
    if (depth > 1) {
      if (!MakeMove(g, k)) return false;
      const bool ok = Perft(g, depth - 1, n, which);
      UnmakeMove(g, k);
      if (!ok) return false;
    }
    out.emplace_back(std::move(text), n);
  }
  return true;
}

std::string PerftGeneratorName(const PositionState& g, PerftGenerator which) {
  if (which == PerftGenerator::ForRuleSet && g.Eval.StandardRuleSet >= 1 && g.Eval.StandardRuleSet <= 4)
    return "GenerateMoves" + std::to_string(g.Eval.StandardRuleSet);
  return "GenerateMoves";
}

}  // namespace m8
