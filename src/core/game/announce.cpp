#include "core/game/announce.h"

#include <algorithm>

#include "core/engine/searchprogress.h"
#include "core/game/gameresult.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"

namespace m8 {

std::string DrawAnnouncementText(int drawReason) {
  switch (drawReason) {
    case 1: return "It's a draw! Triple Repetition";
    case 2: return "It's a draw! 50 Moves Rule";
    case 3: return "It's a draw! King versus King";
    case 4: return "It's a draw! 3 Kings versus 1 King";
    default: return "It's a draw! 2 Kings versus 1 King";
  }
}

void AnnounceDraw(GameState& g, int quiet) {
  const int reason = g.Draw.DrawReason;
  if (quiet == kDrawAnnounced || quiet == kDrawAnnouncedAndNoted) AnnounceGameEnd(g, DrawAnnouncementText(reason));
  if (quiet == kDrawAnnounced || !g.Driver.DrawNote.empty()) return;
  std::string note;
  switch (reason) {
    case 1: note = "Triple Repetition at move "; break;
    default: note = DrawAnnouncementText(reason) + " "; break;
  }
  g.Driver.DrawNote = note + std::to_string((g.P.GamePly + 1) / 2);
}

void AnnounceGameEnd(GameState& g, const std::string& text) {
  ShowStatus(g, text);
  g.host->message(Icon::Exclamation, GameEndTitle(g), text + g.Rating.RatingMessage);
}

const char* GameEndTitle(const GameState& g) { return g.Opt.PlayMode == 2 ? "Morventa8" : "Congratulations"; }

std::string DecidedGameText(const GameState& g, const DriverRun& run, int computerSide) {
  if (run.winner != 0) return WinnerText(g, run.winner, computerSide);
  return run.drawReason == kNoDraw ? std::string("It's a draw!") : DrawAnnouncementText(run.drawReason);
}

std::string ForcedResultText(const GameState& g, int bestScore) {
  std::string head;
  int n = 0;
  if (bestScore <= -31980) {
    head = "Computer is losing in";
    n = (bestScore + kInfinity + (g.Rules.AntiMode == 1 ? 1 : 0)) / 2;
  } else if (bestScore >= 31980) {
    head = "Computer is winning in";
    n = (kInfinity - bestScore + 1) / 2;
  } else {
    return "";
  }
  n = std::max(n, 1);  // a decided game is still one move away
  return head + SignedText(n) + " move" + (n > 1 ? "s" : "") + "! ";
}

}  // namespace m8
