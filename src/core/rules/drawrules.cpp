#include "core/rules/drawrules.h"

#include <algorithm>
#include <cstdlib>

namespace m8 {

namespace {

// The position key with the material the king endings look at.
struct KeyedPosition {
  std::string key;
  int white = 0;  // sum of the piece values, a man 1 and a king 2
  int black = 0;
  bool anyMan = false;
};

// skipBelowKing: leave out cells below -2 (CheckDrawRules); otherwise every
// occupied cell counts, a negative value v with the code |v| + 2.
KeyedPosition Describe(const Board& b, int sideToMove, bool skipBelowKing) {
  KeyedPosition k;
  k.key.reserve(3 * 32 + 1);
  for (int row = 2; row <= 9; ++row)
    for (int col = 1; col <= 8; ++col) {
      const int cell = row * 10 + col;
      const int v = b[cell];
      if (v == 0 || v == kOffBoard || (skipBelowKing && v < -2)) continue;
      const int code = v > 0 ? v : -v + 2;
      k.key += static_cast<char>('0' + row);
      k.key += static_cast<char>('0' + col);
      k.key += std::to_string(code);
      (v > 0 ? k.white : k.black) += std::abs(v);
      if (v == 1 || v == -1) k.anyMan = true;
    }
  k.key += sideToMove > 0 ? 'W' : 'B';
  return k;
}

bool IrreversiblePly(const PositionState& g, int gamePly) {
  const MoveRecord& m = g.Game.GameMoves[gamePly];
  return m.IsCapture() || m.Crown != 0;
}

// Last 0-based ply p <= upToPly whose move (game ply p + 1) captured or
// crowned; -1 when none.
int LastIrreversiblePly(const PositionState& g, int upToPly) {
  upToPly = std::min(upToPly, kMaxGamePly - 1);
  for (int p = upToPly; p >= 0; --p)
    if (IrreversiblePly(g, p + 1)) return p;
  return -1;
}

bool Sums(const KeyedPosition& k, int a, int b) {
  return (k.white == a && k.black == b) || (k.white == b && k.black == a);
}

// One king ending with its counter: three or two kings against one.
void KingEnding(const PositionState& g, bool stands, int32_t rule, int32_t moves, int32_t& startPly,
                int32_t reason, int32_t& drawReason) {
  if (!stands) {
    startPly = 0;
    return;
  }
  if (rule != 1) return;
  if (startPly > 0 && g.P.GamePly - startPly + 2 > 2 * int64_t{moves}) drawReason = reason;
  if (startPly == 0) startPly = g.P.GamePly;
}

}  // namespace

int MoveLimitPlies(int fiftyMoveChoice) {
  switch (fiftyMoveChoice) {
    case 0: return 64;
    case 2: return 32;
    case 3: return 40;
    case 4: return 80;
    default: return 100;
  }
}

std::string PositionKey(const Board& b, int sideToMove) { return Describe(b, sideToMove, false).key; }

bool RecordGameMove(PositionState& g, const MoveRecord& m) {
  const int ply = g.P.GamePly;
  if (ply < 1 || ply > kMaxGamePly) return false;
  g.Game.GameMoves[ply] = m;
  g.Game.GameMoves[ply].FullPath = g.Texts.FullPath == 1 ? 1 : 0;
  g.Game.GameMoves[ply].QuietSharesEnds = g.Texts.QuietSharesEnds == 1 ? 1 : 0;
  g.Game.GameRecord[(ply + 1) / 2][(ply + 1) % 2] = g.Texts.CaptureSquaresText + " " + g.Texts.MoveText;
  g.Game.GameLength = ply;
  return true;
}

void CheckDrawRules(PositionState& g) {
  auto& d = g.Draw;
  if (d.DrawReason == kDrawThreeKings) return;
  d.DrawReason = kNoDraw;
  const int ply = g.P.GamePly;
  if (ply < 1 || ply > kMaxGamePly) return;

  const KeyedPosition pos = Describe(g.board, g.P.SideToMove, true);
  auto& history = g.Game.PositionHistory;
  history[ply - 1] = pos.key;
  const auto seen = std::count(history.begin(), history.begin() + ply, pos.key);
  if (seen > 2) d.DrawReason = kDrawRepetition;

  // Captures and crownings are read from the stored move records, so a change
  // of the capture character during the game cannot hide them.
  if (ply - LastIrreversiblePly(g, ply - 1) > MoveLimitPlies(g.Opt.FiftyMoveChoice))
    d.DrawReason = kDrawMoveLimit;

  if (!pos.anyMan && pos.white == 2 && pos.black == 2 && OneKingEachNamesDraw(g, d.DrawReason != kNoDraw))
    d.DrawReason = kDrawKingVersusKing;

  const auto& r = g.Rules;
  KingEnding(g, !pos.anyMan && Sums(pos, 6, 2), r.ThreeKings, r.NumberKings, d.ThreeKingsStartPly,
             kDrawThreeKings, d.DrawReason);
  KingEnding(g, !pos.anyMan && Sums(pos, 4, 2), r.TwoKings, r.NumberKings2, d.TwoKingsStartPly,
             kDrawTwoKings, d.DrawReason);
}

void CountRepetitions(PositionState& g, int upToPly) {
  const KeyedPosition pos = Describe(g.board, g.P.SideToMove, false);
  const int last = std::min(upToPly, kMaxGamePly);
  const auto& history = g.Game.PositionHistory;
  g.Eval.DrawnPosition =
      last < 0 ? 0 : static_cast<int32_t>(std::count(history.begin(), history.begin() + last + 1, pos.key));
  if (!pos.anyMan && pos.white == 2 && pos.black == 2) g.Draw.OneKingEach = 1;
}

void FindLastIrreversiblePly(PositionState& g, int upToPly) {
  g.Draw.MoveLimitReached = 0;
  if ((upToPly + 1) - LastIrreversiblePly(g, upToPly) > MoveLimitPlies(g.Opt.FiftyMoveChoice))
    g.Draw.MoveLimitReached = 1;
}

bool OneKingEachNamesDraw(const PositionState& g, bool repeatedOrAtLimit) {
  return !repeatedOrAtLimit || g.Opt.ChessDrawRules != 1;
}

bool DrawRuleEndsGame(const PositionState& g) {
  switch (g.Draw.DrawReason) {
    case kDrawRepetition:
    case kDrawMoveLimit: return g.Opt.ChessDrawRules == 1;
    case kDrawKingVersusKing: return g.Opt.KingVersusKing == 1;
    case kDrawThreeKings: return g.Rules.ThreeKings == 1;
    case kDrawTwoKings: return g.Rules.TwoKings == 1;
    default: return false;
  }
}

}  // namespace m8
