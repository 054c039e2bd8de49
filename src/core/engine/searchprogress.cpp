#include "core/engine/searchprogress.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/numtext.h"
#include "core/rules/notation.h"

namespace m8 {

bool PauseUnlessStopped(PositionState& g, double seconds) {
  Host& h = *g.host;
  const double start = h.monotonicSeconds();
  for (;;) {
    h.pump();
    if (g.P.StopRequest != 0) {
      g.P.StopRequest = 0;
      g.P.SearchAborted = 1;
      return true;
    }
    const double waited = h.monotonicSeconds() - start;
    if (!(waited < seconds)) return false;
    std::this_thread::sleep_for(std::chrono::duration<double>(std::min(seconds - waited, 0.001)));
  }
}

void SetProgress(PositionState& g, int value, int maximum) {
  g.Driver.ProgressMax = std::max(0, maximum);
  SetProgressValue(g, value);
}

void SetProgressValue(PositionState& g, int value) {
  g.Driver.ProgressValue = std::clamp(value, 0, g.Driver.ProgressMax);
  g.host->progress(g.Driver.ProgressValue, g.Driver.ProgressMax);
}

void ShowStatus(PositionState& g, const std::string& text) { g.host->status(g.Skin.StatusPanel, text); }

const MoveRecord* RootScoreMove(const PositionState& g, int slot) {
  if (slot < 0 || slot >= kRootScoreSlots) return nullptr;
  const auto& t = g.Driver.RootScores;
  const auto& moves = g.Driver.RootScoreMoves;
  const int32_t k = t[kRootScoreMoveRow][slot];
  if (k < 0 || k >= static_cast<int32_t>(moves.size())) return nullptr;
  const MoveRecord& m = moves[static_cast<size_t>(k)];
  return m.From == t[0][slot] && m.To == t[1][slot] ? &m : nullptr;
}

std::string RootScoreMoveText(PositionState& g, int slot) {
  const MoveRecord* m = RootScoreMove(g, slot);
  if (!m) return {};
  const MoveTexts saved = g.Texts;
  MoveString(g, *m, SharesStartAndEnd(*m, g.Driver.RootScoreMoves));
  std::string text = g.Texts.MoveText;
  g.Texts = saved;
  return text;
}

void ListRootMoveScores(PositionState& g) {
  const auto& t = g.Driver.RootScores;
  if (t[0][0] == 0 || t[0][0] == kNoRootScore) return;
  auto& lines = g.Driver.RootScoreLines;
  lines.clear();
  for (int i = 0; i < kRootScoreSlots && t[0][i] != kNoRootScore && t[0][i] != 0; ++i) {
    std::string name = RootScoreMoveText(g, i);
    if (name.empty()) name = SquareNotation(g, t[0][i], 2) + SquareNotation(g, t[1][i], 2);
    std::string line = name + " ";
    if (t[2][i] == kNoRootScore)
      line += " n/a";
    else if (t[kRootScoreBoundRow][i] == 1)
      line += "\xE2\x89\xA4 " + std::to_string(t[2][i]);  // "≤ 4": no better than 4
    else
      line += SignedText(t[2][i]);
    lines.push_back(line);
  }
  // The first score comes from a deeper iteration than the others.
  const DriverState& d = g.Driver;
  if (lines.size() > 1 && d.RootScoreOtherDepth > 0 && d.RootScoreFirstDepth != d.RootScoreOtherDepth)
    lines.push_back("First at depth " + std::to_string(d.RootScoreFirstDepth) + ", the others at depth " +
                    std::to_string(d.RootScoreOtherDepth));
  g.host->refresh(View::RootScores);
}

void ClearRootMoveScores(PositionState& g) {
  g.Driver.RootScoreLines.clear();
  g.host->refresh(View::RootScores);
}

}  // namespace m8
