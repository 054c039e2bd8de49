#include "core/engine/mainline.h"

#include <string>
#include <string_view>

#include "core/rules/notation.h"

namespace m8 {

namespace {

void AppendMainLine(PositionState& g, std::string& label, std::string_view head, View view) {
  std::string& text = g.Log.MainLineText;
  text.clear();
  const bool show = g.Opt.ShowCalculation == 1;
  if (show) {
    label += "\r\n";
    label += head;
    text = MainLineTextOf(g);
  }
  const auto& row = g.SearchTab.PVTable[0];
  for (int c = 0; c <= kMaxPly && row[c].From != 0; ++c) {
    const PVEntry& e = row[c];
    if (c == 1) {
      g.Search.HintFrom = e.From;
      g.Search.HintTo = e.To;
      g.Search.HintCapture = e.Kind % 10 == 1 ? 1 : 0;
    }
  }
  if (show) {
    label += text;
    g.host->refresh(view);
  }
}

}  // namespace

std::string MainLineTextOf(const PositionState& g) {
  std::string text;
  const auto& row = g.SearchTab.PVTable[0];
  for (int c = 0; c < 20 && c <= kMaxPly && row[c].From != 0; ++c) {
    const PVEntry& e = row[c];
    text += SquareNotation(g, e.From, 1);
    if (e.Kind % 10 == 1)
      text += g.Texts.CaptureChar;
    else if (e.From != kNoSquare)
      text += '-';
    text += SquareNotation(g, e.To, 1);
    if (e.Kind > 1) text += 'K';
    text += ' ';
  }
  return text;
}

void ShowMainLine(PositionState& g) {
  AppendMainLine(g, g.Search.EngineOutputText, "Main: ", View::EngineOutput);
}

void ShowMainLinePV(PositionState& g) {
  const std::string head = g.Texts.DisplayMoveText + " ";
  AppendMainLine(g, g.Search.PlyValueOutputText, head, View::PlyValueOutput);
}

}  // namespace m8
