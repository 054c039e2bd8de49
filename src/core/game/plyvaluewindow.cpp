#include "core/game/plyvaluewindow.h"

#include <algorithm>
#include <cstdlib>

#include "core/engine/plyvaluesearch.h"

namespace m8 {

namespace {

constexpr int kResortRule = 107;

// The rows both the arrays and their saved copies hold.
int RowCount(const PlyValueState& pv) {
  size_t n = static_cast<size_t>(std::max(0, pv.PlyValueRows));
  for (size_t s : {pv.PlyValues.size(), pv.PlyValueMoves.size(), pv.PlyValueDiff.size(), pv.PlyValueTime.size(),
                   pv.PlyValueLines.size(), pv.PlyValueMarks.size(), pv.PlyValuesSaved.size(),
                   pv.PlyValueMovesSaved.size(), pv.PlyValueDiffSaved.size(), pv.PlyValueTimeSaved.size(),
                   pv.PlyValueLinesSaved.size(), pv.PlyValueMarksSaved.size()})
    n = std::min(n, s);
  return static_cast<int>(n);
}

int32_t DeepestValue(const PlyValueState& pv, int row) {
  const auto& v = pv.PlyValues[row];
  const int d = pv.PlyValuePlies;
  return d >= 0 && d < static_cast<int>(v.size()) ? v[d] : 0;
}

bool Exchange(const PlyValueState& pv, int key, int i, int j) {
  switch (static_cast<PlyValueKey>(key)) {
    case PlyValueKey::BestDifference: return pv.PlyValueDiff[i] < pv.PlyValueDiff[j];
    case PlyValueKey::BothDifference:
    case PlyValueKey::Combinations: return std::abs(pv.PlyValueDiff[i]) > std::abs(pv.PlyValueDiff[j]);
    case PlyValueKey::BestValue: return DeepestValue(pv, i) < DeepestValue(pv, j);
    case PlyValueKey::MostTime: return pv.PlyValueTime[i] > pv.PlyValueTime[j];
  }
  return false;
}

}  // namespace

void SortPlyValueRows(GameState& g, int key) {
  auto& pv = g.PlyValue;
  const int m = RowCount(pv);
  for (int r = 0; r < m; ++r) {
    pv.PlyValueMoves[r] = pv.PlyValueMovesSaved[r];
    pv.PlyValueDiff[r] = pv.PlyValueDiffSaved[r];
    pv.PlyValueTime[r] = pv.PlyValueTimeSaved[r];
    pv.PlyValueLines[r] = pv.PlyValueLinesSaved[r];
    pv.PlyValueMarks[r] = pv.PlyValueMarksSaved[r];
    pv.PlyValues[r] = pv.PlyValuesSaved[r];
  }
  if (key < 0 || key >= kPlyValueKeys) return;
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j)
      if (Exchange(pv, key, i, j)) SwapRows(pv, i, j);
}

bool ChoosePlyValueKey(GameState& g, int key) {
  auto& pv = g.PlyValue;
  if (pv.ReadyMark != "1") return false;
  SortPlyValueRows(g, key);
  if (key >= 0 && key < static_cast<int>(pv.SortKeys.size())) pv.SortKey = pv.SortKeys[key];
  pv.TableText = PlyValueTableText(g, kResortRule, key == static_cast<int>(PlyValueKey::Combinations));
  return true;
}

void CancelPlyValueTable(GameState& g) {
  g.P.StopRequest = 1;
  g.PlyValue.CancelEnabled = false;
  g.PlyValue.CloseEnabled = true;
}

}  // namespace m8
