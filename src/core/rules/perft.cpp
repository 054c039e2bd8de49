#include "core/rules/perft.h"

#include "core/rules/movegen.h"
#include "core/rules/gamesetup.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

uint64_t PerftNode(GameState& g, int depth, bool& ok) {
  if (!GenerateMoves(g, 0)) {
    ok = false;
    return 0;
  }
  PlyState& P = g.P;
  int first = P.PlyStart[P.Ply], end = P.PlyStart[P.Ply + 1];
  if (first == end) {
    if (!GenerateMoves(g, 1)) {
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
    n += PerftNode(g, depth - 1, ok);
    UnmakeMove(g, k);
  }
  return n;
}

}  // namespace

bool SetupVariantStart(GameState& g, std::string_view variant, std::string* error) {
  // As the new-variant command does it: read the file, put its rules in
  // force, set the game up again under them.
  g.Flow.PositionPreset = 0;
  g.Rules.Variant = std::string(variant);
  InitGame(g);
  if (g.Rules.Variant != variant) {
    if (error) *error = "The variant file of '" + std::string(variant) + "' is missing or cannot be read.";
    return false;
  }
  g.Rules = g.VariantRules;
  InitGame(g);
  return true;
}

bool Perft(GameState& g, int depth, uint64_t& count) {
  count = 0;
  if (depth < 0 || depth > kMaxPly) return false;
  if (depth == 0) {
    count = 1;
    return true;
  }
  bool ok = true;
  count = PerftNode(g, depth, ok);
  return ok;
}

bool PerftDivide(GameState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out) {
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
      const bool ok = Perft(g, depth - 1, n);
      UnmakeMove(g, k);
      if (!ok) return false;
    }
    out.emplace_back(std::move(text), n);
  }
  return true;
}

}  // namespace m8
