#include "core/game/playmode.h"

#include <utility>

#include "core/engine/searchprogress.h"
#include "core/game/computermove.h"

namespace m8 {

namespace {

constexpr const char* kComputerName = "Computer";

}  // namespace

void SwapPlayerNames(GameState& g) { std::swap(g.Flow.PlayerName1, g.Flow.PlayerName2); }

void PutPlayerBesideSideToMove(GameState& g) {
  std::string& first = g.Flow.PlayerName1;
  std::string& second = g.Flow.PlayerName2;
  if ((first == kComputerName) == (second == kComputerName)) return;
  const std::string player = first == kComputerName ? second : first;
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  const bool playerMovesFirst = g.P.SideToMove == firstMover;
  first = playerMovesFirst ? player : kComputerName;
  second = playerMovesFirst ? kComputerName : player;
}

void ComputerMoveNow(GameState& g, bool swapNames) {
  if (g.Flow.GameOver == 1) return;
  ShowStatus(g, "");
  g.Flow.Busy = 1;
  g.host->setCommandEnabled(Command::BoardMenu, false);
  if (swapNames) {
    SwapPlayerNames(g);
    g.host->refresh(View::SideToMove);
  }
  ComputerMove(g);
  g.Flow.Busy = 0;
}

void ShowPlayModeMarks(GameState& g, int mode) {
  Host& h = *g.host;
  h.setCommandChecked(Command::ComputerPlayer, mode == 0);
  h.setCommandChecked(Command::PlayerPlayer, mode == 1);
  h.setCommandChecked(Command::ComputerComputer, mode == 2);
}

void SetComputerPlayerMode(GameState& g) {
  Host& h = *g.host;
  g.Opt.PlayMode = 0;
  // A finished game is not offered a draw or resigned (it was rated once).
  const bool playing = g.Flow.GameOver != 1;
  h.setCommandEnabled(Command::OfferDraw, playing);
  h.setCommandEnabled(Command::Hint, playing);
  h.setCommandEnabled(Command::Resign, playing);
  ShowPlayModeMarks(g, 0);

  // The user takes the side to move: PlayerName1 names the side that moves
  // first.
  const int firstMover = g.Rules.BlackStarts == 1 ? -1 : 1;
  const bool userMovesFirst = g.P.SideToMove == firstMover;
  g.Flow.PlayerName1 = userMovesFirst ? g.Opt.UserName : kComputerName;
  g.Flow.PlayerName2 = userMovesFirst ? kComputerName : g.Opt.UserName;
  h.refresh(View::SideToMove);
  ShowStatus(g, "Computer-Player mode");
}

void SetPlayerPlayerMode(GameState& g) {
  Host& h = *g.host;
  g.Opt.PlayMode = 1;
  h.setCommandEnabled(Command::OfferDraw, false);
  h.setCommandEnabled(Command::Resign, false);
  ShowPlayModeMarks(g, 1);
  ShowStatus(g, "Player-Player mode");
  g.Flow.PlayerName2 = g.Opt.UserName;
  g.Flow.PlayerName1 = g.Opt.UserName;
  h.refresh(View::SideToMove);
}

}  // namespace m8
