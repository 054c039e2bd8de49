#include "core/game/analyzecommand.h"

#include <string>

#include "core/clock.h"
#include "core/engine/evaluate.h"
#include "core/engine/rootdriver.h"
#include "core/engine/searchprogress.h"
#include "core/game/announce.h"
#include "core/game/gameresult.h"
#include "core/game/thinking.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// What the analysis found, told on the unchanged position.
void AnnounceAnalysis(GameState& g) {
  const int best = g.Flow.BestScore;
  const int side = g.P.SideToMove;
  bool ruleWin = false;
  if (best >= -kInfinity) {
    MoveString(g, 0);
    const int e = Evaluate(g, -kInfinity, kInfinity, -side);
    if (best >= 31980 && e >= 31981) {
      SetGameResult(g, 0);
      ruleWin = true;
      ShowStatus(g, WinnerText(g, side, 0));
    } else {
      const std::string forced = ForcedResultText(g, best);
      if (!forced.empty()) ShowStatus(g, forced);
    }
  }
  g.host->refresh(View::Board);
  if (ruleWin) {
    SetGameResult(g, 0);
    Pause(*g.host, 0.5);
    g.host->message(Icon::Exclamation, "Congratulations", WinnerText(g, side, 0));
  }
  const int reason = g.Draw.DrawReason;
  if (reason != kNoDraw && DrawRuleEndsGame(g)) {
    SetGameResult(g, 2);
    Pause(*g.host, 0.5);
    AnnounceDraw(g, 0);
  }
}

// A game found decided before the search, told without the rating's text
// (the analysis rates nothing).
void AnnounceDecided(GameState& g, const DriverRun& run) {
  const std::string text = DecidedGameText(g, run, 0);
  ShowStatus(g, text);
  g.host->message(Icon::Exclamation, "Congratulations", text);
}

}  // namespace

void AnalyzePosition(GameState& g) {
  if (g.Flow.GameOver == 1) return;
  g.Rating.RatedGame = 0;
  BeginThinking(g, false);
  const DriverRun run = RunDriverSearch(g, DriverMode::Analysis);
  ApplyDriverRun(g, run);
  if (run.searched)
    AnnounceAnalysis(g);
  else if (run.decided)
    AnnounceDecided(g, run);
  ResetPly(g);
  GenerateLegalMoves(g);
  EnableCommandsAfterThinking(g, AfterThinking::Analysis);
  g.Book.BookFrom = 0;
}

void StartAnalysis(GameState& g) {
  if (g.Flow.GameOver == 1) return;
  ShowStatus(g, "");
  g.Flow.Busy = 1;
  g.host->setCommandEnabled(Command::BoardMenu, false);
  AnalyzePosition(g);
  g.Flow.Busy = 0;
}

}  // namespace m8
