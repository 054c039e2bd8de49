#include "core/rules/perft.h"

#include "core/rules/gamesetup.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

using GenerateFn = bool (*)(GameState&, int);

GenerateFn Generator(PerftGenerator which) {
  return which == PerftGenerator::ForRuleSet ? &GenerateMovesForRuleSet : &GenerateMoves;
}

uint64_t PerftNode(GameState& g, GenerateFn generate, int depth, bool& ok) {
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

bool SetupPerftPosition(GameState& g, std::string_view digits, int sideToMove, std::string* error) {
  if (digits.size() != 64) {
    if (error) *error = "The position must have 64 digits, it has " + std::to_string(digits.size()) + ".";
    return false;
  }
  Board b = DefaultStartBoard();
  size_t pos = 0;
  for (int c = 0; c < kCells; ++c) {
    if (b[c] == kOffBoard) continue;
    static constexpr int kValue[] = {0, 1, -1, 2, -2};
    const char ch = digits[pos];
    if (ch < '0' || ch > '4') {
      if (error) *error = std::string("'") + ch + "' at position " + std::to_string(pos + 1) + " is not a digit 0 to 4.";
      return false;
    }
    b[c] = kValue[ch - '0'];
    ++pos;
  }
  g.board = b;
  g.P.SideToMove = sideToMove > 0 ? 1 : -1;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.Flow.PositionPreset = 0;
  return true;
}

bool Perft(GameState& g, int depth, uint64_t& count, PerftGenerator which) {
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

bool PerftDivide(GameState& g, int depth, std::vector<std::pair<std::string, uint64_t>>& out,
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

std::string PerftGeneratorName(const GameState& g, PerftGenerator which) {
  if (which == PerftGenerator::ForRuleSet && g.Eval.StandardRuleSet >= 1 && g.Eval.StandardRuleSet <= 4)
    return "GenerateMoves" + std::to_string(g.Eval.StandardRuleSet);
  return "GenerateMoves";
}

}  // namespace m8
