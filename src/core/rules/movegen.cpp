// GenerateMoves, the legal-move test and the record writers.
#include "core/rules/movegen.h"

#include "core/numtext.h"
#include "core/rules/movegen_core.h"

namespace m8 {

namespace {

// Ordering bonus of the principal move and the two killer moves of the ply.
int OrderingBonus(const PositionState& g, int from, int to) {
  const int ply = g.P.Ply;
  const PVEntry& pv = g.SearchTab.PVTable[0][ply];
  if (pv.From == from && pv.To == to) return 500;
  const auto& killers = g.SearchTab.KillerMoves[ply];
  if (killers[0].From == from && killers[0].To == to) return 250;
  if (killers[1].From == from && killers[1].To == to) return 150;
  return 0;
}

// The next free record, or nullptr (and StopRequest) when the list is full.
MoveRecord* NextRecord(PositionState& g) {
  PlyState& P = g.P;
  if (P.MoveListEnd < 0 || P.MoveListEnd >= kMoveListSize || P.Ply < 0 || P.Ply > kMaxPly) {
    P.StopRequest = 1;
    return nullptr;
  }
  return &P.MoveList[P.MoveListEnd];
}

void ReportCaptureOverflow(PositionState& g, MoveGenError e, int level, int candidates) {
  g.P.GenError = static_cast<int32_t>(e);
  if (g.P.StopRequest != 0) return;  // told once per search
  g.P.StopRequest = 1;
  std::string text = "X=" + SignedText(level) + "   K=" + SignedText(candidates) + "\r\n\r\n" +
                     MoveGenErrorText(e) + "\r\n";
  if (g.Rules.RemovePieces == 0)
    text += "\r\nTry to check 'Remove captured pieces after move'\r\nin the Variants dialog box.\r\n\r\n";
  g.host->message(Icon::Exclamation, "Error", text);
}

}  // namespace

bool AddMove(PositionState& g, int from, int to) {
  MoveRecord* m = NextRecord(g);
  if (!m) return false;
  *m = MoveRecord{};
  m->From = from;
  m->To = to;
  m->Score = OrderingBonus(g, from, to);
  ++g.P.MoveListEnd;
  return true;
}

bool AddCaptureMove(PositionState& g, int from, int to, std::span<const uint8_t> cells,
                    std::span<const int8_t> values, std::span<const uint8_t> landings) {
  if (cells.size() > static_cast<size_t>(kMaxCaptured) || cells.size() != values.size()) return false;
  MoveRecord* m = NextRecord(g);
  if (!m) return false;
  *m = MoveRecord{};
  m->From = from;
  m->To = to;
  int taken = 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    m->CapturedCell[i] = cells[i];
    m->CapturedValue[i] = values[i];
    if (landings.size() == cells.size()) m->LandingCell[i] = landings[i];
    taken += values[i];
  }
  m->CapturedCount = static_cast<uint8_t>(cells.size());
  m->NotationDigit = static_cast<uint8_t>(g.Opt.Notation >= 0 && g.Opt.Notation <= 9 ? g.Opt.Notation : 0);
  const int moverValue = (from >= 0 && from < kCells) ? g.board[from] : 1;
  int score = 100 * taken - (100 * (moverValue < 0 ? -moverValue : moverValue)) / 2;
  const int ply = g.P.Ply;
  if (ply > 0 && to == g.P.PlyDestination[ply - 1]) score += 300;
  m->Score = score + OrderingBonus(g, from, to);
  ++g.P.MoveListEnd;
  return true;
}

bool AddMoveCrowning(PositionState& g, int from, int to, std::span<const uint8_t> cells,
                     std::span<const int8_t> values, std::span<const uint8_t> landings) {
  const bool ok = cells.empty() ? AddMove(g, from, to) : AddCaptureMove(g, from, to, cells, values, landings);
  if (ok) g.P.MoveList[g.P.MoveListEnd - 1].Crown = 2;
  return ok;
}

void ResetPly(PositionState& g) {
  PlyState& P = g.P;
  if (P.Ply == 0) return;
  P.MaterialBalance[0] = P.MaterialBalance[1];
  P.BoardMaterial[0] = P.BoardMaterial[1];
  P.Ply = 0;
}

namespace {

template <class R>
bool Generate(PositionState& g, const R& rules, int mode) {
  movegen::Generator<R, false> gen(g, rules, g.Gen.Gen);
  const MoveGenError e = gen.Run(mode);
  g.P.GenError = static_cast<int32_t>(e);
  switch (e) {
    case MoveGenError::None:
      return true;
    case MoveGenError::MoveListFull:
    case MoveGenError::PlyOutOfRange:
      g.P.StopRequest = 1;
      return false;
    case MoveGenError::TooManyCaptured:
    case MoveGenError::TooManyCandidates:
      ReportCaptureOverflow(g, e, gen.failedDepth(), g.Gen.Gen.Count);
      return false;
  }
  return false;
}

template <int kSet>
bool GenerateFixed(PositionState& g, int mode) {
  return Generate(g, movegen::FixedRules<kSet>{}, mode);
}

}  // namespace

bool GenerateMoves(PositionState& g, int mode) { return Generate(g, movegen::DynamicRules(g), mode); }

bool GenerateMoves1(PositionState& g, int mode) { return GenerateFixed<1>(g, mode); }
bool GenerateMoves2(PositionState& g, int mode) { return GenerateFixed<2>(g, mode); }
bool GenerateMoves3(PositionState& g, int mode) { return GenerateFixed<3>(g, mode); }
bool GenerateMoves4(PositionState& g, int mode) { return GenerateFixed<4>(g, mode); }

bool GenerateMovesForRuleSet(PositionState& g, int mode) {
  switch (g.Eval.StandardRuleSet) {
    case 1:
      return GenerateMoves1(g, mode);
    case 2:
      return GenerateMoves2(g, mode);
    case 3:
      return GenerateMoves3(g, mode);
    case 4:
      return GenerateMoves4(g, mode);
    default:
      return GenerateMoves(g, mode);
  }
}

bool GenerateLegalMoves(PositionState& g) {
  if (!GenerateMoves(g, 0)) return false;
  const int ply = g.P.Ply;
  if (g.P.PlyStart[ply + 1] == g.P.PlyStart[ply]) return GenerateMoves(g, 1);
  return true;
}

bool HasLegalMove(PositionState& g, int mode) {
  movegen::DynamicRules rules(g);
  movegen::Generator<movegen::DynamicRules, true> gen(g, rules, g.Gen.Test);
  const MoveGenError e = gen.Run(mode);
  if (e == MoveGenError::TooManyCaptured || e == MoveGenError::TooManyCandidates)
    ReportCaptureOverflow(g, e, gen.failedDepth(), g.Gen.Test.Count);
  return gen.found();
}

std::string MoveGenErrorText(MoveGenError e) {
  switch (e) {
    case MoveGenError::None:
      return {};
    case MoveGenError::MoveListFull:
      return "Too many moves: the move list is full.";
    case MoveGenError::TooManyCaptured:
      return "A capture takes more pieces than a move can hold. The moves of this position "
             "cannot be generated.";
    case MoveGenError::TooManyCandidates:
      return "Too many capture sequences. The moves of this position cannot be generated.";
    case MoveGenError::PlyOutOfRange:
      return "The search went past its deepest ply.";
  }
  return {};
}

}  // namespace m8
