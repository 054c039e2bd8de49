#include "core/game/plyvaluecommand.h"

#include <algorithm>

#include "core/engine/evaluate.h"
#include "core/engine/plyvaluesearch.h"
#include "core/engine/searchprogress.h"
#include "core/game/legalmovelist.h"
#include "core/game/thinking.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

void ShowTable(GameState& g) { g.host->refresh(View::PlyValueTable); }

void SetTableProgress(GameState& g, int value) {
  auto& pv = g.PlyValue;
  pv.ProgressValue = std::clamp(value, 0, std::max(0, pv.ProgressMax));
  ShowTable(g);
}

void ResizeRows(PlyValueState& pv, int n, int plies) {
  pv.PlyValues.assign(n, std::vector<int32_t>(plies + 1, 0));
  pv.PlyValueMoves.assign(n, "");
  pv.PlyValueDiff.assign(n, 0);
  pv.PlyValueTime.assign(n, 0);
  pv.PlyValueLines.assign(n, "");
  pv.PlyValueMarks.assign(n, 0);
  pv.PlyValuesSaved.assign(n, std::vector<int32_t>(plies + 1, 0));
  pv.PlyValueMovesSaved.assign(n, "");
  pv.PlyValueDiffSaved.assign(n, 0);
  pv.PlyValueTimeSaved.assign(n, 0);
  pv.PlyValueLinesSaved.assign(n, "");
  pv.PlyValueMarksSaved.assign(n, 0);
}

// Plays legal move r of the position into the game as a move from the board.
// False (nothing changed) when there is no such move or no room for it.
bool EnterRowMove(GameState& g, int r) {
  ResetPly(g);
  GenerateLegalMoves(g);
  const int first = g.P.PlyStart[0];
  if (r >= g.P.PlyStart[1] - first) return false;
  const MoveRecord m = g.P.MoveList[first + r];
  MoveString(g, m);
  if (!MakeMove(g, m)) return false;
  g.P.PlayedCapture = m.IsCapture() ? 1 : 0;
  g.P.PlayedCrowning = m.Crown == 2 ? 1 : 0;
  const int ply = g.P.GamePly;
  RecordGameMove(g, m);  // also cuts the stored game after this ply
  g.Game.MaterialBalanceHistory[ply] = g.P.MaterialBalance[g.P.Ply];
  g.Game.BoardMaterialHistory[ply] = g.P.BoardMaterial[g.P.Ply];
  if (ply + 1 < kGameTables) g.Game.GameMoves[ply + 1].From = 0;
  SetPhaseThresholds(g);
  g.Flow.GameResult.clear();
  const int row = (ply + 1) / 2, side = ply % 2 == 1 ? 0 : 1;
  g.Game.GameRecord[row][side] = ToLower(g.Game.GameRecord[row][side]);
  g.Game.GameRecord[row][2 + side] = "2";
  CheckDrawRules(g);
  return true;
}

// Takes the last game ply back and forgets it.
void TakeBackRowMove(GameState& g) {
  const int ply = g.P.GamePly;
  const MoveRecord m = g.Game.GameMoves[ply];
  g.P.Ply = 1;
  UnmakeMove(g, m);
  g.P.Ply = 0;
  g.P.MaterialBalance[0] = g.Game.MaterialBalanceHistory[ply - 1];
  g.P.BoardMaterial[0] = g.Game.BoardMaterialHistory[ply - 1];
  const int row = (ply + 1) / 2, side = ply % 2 == 1 ? 0 : 1;
  g.Game.GameRecord[row][side].clear();
  g.Game.GameRecord[row][2 + side].clear();
  g.Game.GameMoves[ply].From = 0;
  g.Game.PositionHistory[ply - 1].clear();
  g.Game.GameLength = g.P.GamePly;
  g.Draw.DrawReason = kNoDraw;
  g.host->refresh(View::Board);
}

}  // namespace

void BuildPlyValueTable(GameState& g) {
  Host& h = *g.host;
  auto& pv = g.PlyValue;
  g.Driver.ProblemCount = 0;
  pv.PlyValuePlies = std::clamp(g.Opt.PlyValueDepth, 1, 20);
  const int plies = pv.PlyValuePlies;

  ClearRootMoveScores(g);
  for (Command c : {Command::MoveList, Command::LegalMoves, Command::RootScores}) h.setCommandEnabled(c, false);
  g.P.StopRequest = 0;
  g.P.SearchAborted = 0;

  pv.Shown = true;
  pv.TableText = "Searching...";
  if (g.Opt.ShowCalculation == 1) g.Search.PlyValueOutputText.clear();
  pv.CloseEnabled = false;
  pv.CancelEnabled = true;
  pv.SortEnabled = false;
  pv.SortKeys = {"Best difference", "Both difference", "Best value", "Most time", "Combinations/Problems"};
  pv.SortKey = "Best difference";

  DisableCommandsWhileThinking(g);
  if (g.Opt.ShowMoves == 1) h.refresh(View::MoveHighlights);
  g.Flow.Busy = 1;

  ResetPly(g);
  GenerateLegalMoves(g);
  const int n = std::max(0, g.P.PlyStart[1] - g.P.PlyStart[0]);
  pv.ProgressMax = n * plies;
  pv.ProgressValue = 0;
  ResizeRows(pv, n, plies);
  ShowTable(g);
  h.refresh(View::PlyValueOutput);

  // The game stored after the position goes, as for a move from the board.
  g.Driver.MoveListCount = std::clamp(std::min(g.Driver.MoveListCount, g.P.GamePly), 0, kGameTables);
  for (int i = g.P.GamePly + 1; i <= g.Game.GameLength && i < kGameTables; ++i) {
    g.Game.PlyComments[i].clear();
    g.Game.ScoreHistory[i] = 0;
  }
  g.Game.GameLength = g.P.GamePly;
  h.refresh(View::MoveList);

  int m = n;
  for (int r = 0; r < n; ++r) {
    if (EnterRowMove(g, r)) {
      if (g.Flow.GameOver == 0) {
        pv.PlyValueMoves[r] = g.Texts.DisplayMoveText;
        g.Rating.RatedGame = 0;
        PlyValueSearchOne(g, r);
      }
      TakeBackRowMove(g);
    }
    SetTableProgress(g, pv.ProgressValue + plies);
    if (g.P.SearchAborted != 0) {
      m = r;
      break;
    }
  }

  pv.ReadyMark = "0";
  pv.PlyValuesSaved.assign(pv.PlyValues.begin(), pv.PlyValues.begin() + m);
  pv.PlyValueMovesSaved.assign(pv.PlyValueMoves.begin(), pv.PlyValueMoves.begin() + m);
  pv.PlyValueDiffSaved.assign(pv.PlyValueDiff.begin(), pv.PlyValueDiff.begin() + m);
  pv.PlyValueTimeSaved.assign(pv.PlyValueTime.begin(), pv.PlyValueTime.begin() + m);
  pv.PlyValueLinesSaved.assign(pv.PlyValueLines.begin(), pv.PlyValueLines.begin() + m);
  pv.PlyValueMarksSaved.assign(pv.PlyValueMarks.begin(), pv.PlyValueMarks.begin() + m);
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j)
      if (pv.PlyValueDiff[i] < pv.PlyValueDiff[j]) SwapRows(pv, i, j);
  pv.PlyValueRows = m;
  // A run the user stopped says so, and how far it got.
  g.Search.PlyValueOutputText = g.P.SearchAborted == 0 ? std::string("Done!")
                                                        : "Stopped: " + std::to_string(m) + " of " +
                                                              std::to_string(n) + " moves searched.";
  h.refresh(View::PlyValueOutput);
  pv.TableText = PlyValueTableText(g);

  pv.CancelEnabled = false;
  pv.CloseEnabled = true;
  pv.SortEnabled = true;
  pv.ReadyMark = "1";
  // The run is over, whole or stopped: its bar is empty.
  pv.ProgressValue = 0;
  g.Flow.Busy = 0;
  h.status(1, "");
  ShowTable(g);

  EnableCommandsAfterThinking(g, AfterThinking::PlyValue);
  ResetPly(g);
  ListLegalMoves(g);
}

}  // namespace m8
