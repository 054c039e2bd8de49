#include "core/rules/perft.h"

#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/variantfile.h"

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
  g.board = DefaultStartBoard();
  g.StartBoard = g.board;
  g.VariantRules = RuleSet{};
  g.Rules.Variant = std::string(variant);
  g.P.MaterialBalance[0] = 0;
  g.Game.MaterialBalanceHistory[0] = 0;
  std::string err;
  if (!ReadVariantFile(g, &err)) {
    if (variant != "American Checkers") {
      if (error) *error = err;
      return false;
    }
    g.VariantRules = RuleSet{};  // the standard rules are built in
  }
  g.Rules = g.VariantRules;
  ParseAllDirections(g);
  SetBoardModeFromDirections(g);
  if (g.Rules.PiecesOnBlack == 0) ShiftToOtherColour(g, false);
  g.P.SideToMove = g.Rules.BlackStarts == 1 ? -1 : 1;
  g.Mat.WhiteToPlace = g.Rules.ContractNumber;
  g.Mat.BlackToPlace = g.Rules.ContractNumber;
  // Material counters from the board.
  int white = 0, black = 0;
  g.Mat.WhiteMen = g.Mat.BlackMen = 0;
  for (int c = 0; c < kCells; ++c) {
    const int v = g.board[c];
    if (v == kOffBoard || v == 0) continue;
    if (v > 0) white += v; else black -= v;
    g.Mat.WhiteMen += v == 1;
    g.Mat.BlackMen += v == -1;
  }
  g.Mat.TotalMaterial = white + black;
  g.Mat.StartMaterial = g.Mat.TotalMaterial * 100;
  g.P.Ply = 0;
  g.P.GamePly = 0;
  g.P.PlyStart[0] = 0;
  g.P.MoveListEnd = 0;
  g.P.StopRequest = 0;
  g.P.RootGeneration = 0;
  g.P.MaterialBalance[0] = g.P.SideToMove * (white - black) * 100;
  g.P.BoardMaterial[0] = g.Mat.StartMaterial;
  g.Game.MaterialBalanceHistory[0] = g.P.MaterialBalance[0];
  g.Game.BoardMaterialHistory[0] = g.P.BoardMaterial[0];
  g.Game.HistDestination.fill(0);
  g.Game.HistKingManFlag.fill(0);
  g.Game.HistManKingSquare.fill(0);
  if (g.Rules.PiecesOnBlack == 2) g.Opt.Notation = 0;
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
