#include "core/game/problemcommand.h"

#include <algorithm>
#include <string>

#include "core/engine/problemprobe.h"
#include "core/engine/searchprogress.h"
#include "core/game/legalmovelist.h"
#include "core/game/thinking.h"
#include "core/rules/movegen.h"

namespace m8 {

namespace {

std::string Plural(int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

std::string SummaryOf(const ProblemFinding& f, int plies, const std::string& where) {
  if (f.rootMoves == 0) return where + ": no legal move, nothing to search.";
  const std::string searched =
      f.stopped ? "Stopped after depth " + std::to_string(f.depth) + " of " + std::to_string(plies)
                : "Searched to depth " + std::to_string(plies);
  const std::string moves = " (" + Plural(f.rootMoves, "move") + ")";
  if (!f.line.empty()) return where + ": a combination found. " + searched + moves + "; it is the last line below.";
  return where + ": no combination found. " + searched + moves + ".";
}

}  // namespace

void SearchProblemsCommand(GameState& g) {
  Host& h = *g.host;
  g.Rating.RatedGame = 0;
  // The reply the last search expects stays for the Hint command.
  const int hintFrom = g.Search.HintFrom, hintTo = g.Search.HintTo, hintCapture = g.Search.HintCapture;
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;
  g.P.StopRequest = 0;
  g.P.SearchAborted = 0;
  g.Flow.Busy = 1;
  for (Command c : {Command::MoveList, Command::LegalMoves, Command::BoardMenu}) h.setCommandEnabled(c, false);
  DisableCommandsWhileThinking(g);

  const int plies = std::clamp(g.Opt.PlyValueDepth, 1, 20);
  const std::string side = g.P.SideToMove == -1 ? "Black" : "White";
  const std::string where = "Move " + std::to_string(g.P.GamePly / 2 + 1) + ", " + side + " to move";
  g.Driver.ProblemSummary = where + ": searching to depth " + std::to_string(plies) + "...";
  h.refresh(View::ProblemText);
  ShowStatus(g, "Searching for combinations...");
  ResetPly(g);
  GenerateLegalMoves(g);
  SetProgress(g, 0, plies * std::max(0, g.P.PlyStart[1] - g.P.PlyStart[0]));
  // The reference: the material on the board, from the view of the side to
  // move (a man is 100, as in the scores); under AntiMode the less the better.
  const int material = g.P.MaterialBalance[0];
  const int iniScore = g.Rules.AntiMode != 0 ? -material : material;
  const ProblemFinding found = SearchPositionProblems(g, iniScore, plies, where + ":", [&g] {
    SetProgressValue(g, g.Driver.ProgressValue + 1);
  });
  g.Driver.ProblemSummary = SummaryOf(found, plies, where);

  g.Search.HintFrom = hintFrom;
  g.Search.HintTo = hintTo;
  g.Search.HintCapture = hintCapture;
  ShowStatus(g, "");
  EnableCommandsAfterThinking(g, AfterThinking::Analysis);
  ResetPly(g);
  GenerateLegalMoves(g);
  g.Flow.Busy = 0;
  h.refresh(View::ProblemText);
}

}  // namespace m8
