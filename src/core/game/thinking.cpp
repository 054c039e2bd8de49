#include "core/game/thinking.h"

#include <initializer_list>

#include "core/engine/searchprogress.h"

namespace m8 {

namespace {

void Enable(Host& h, std::initializer_list<Command> commands, bool on) {
  for (Command c : commands) h.setCommandEnabled(c, on);
}

}  // namespace

void DisableCommandsWhileThinking(GameState& g) {
  Host& h = *g.host;
  Enable(h,
         {Command::PlayerPlayer, Command::ComputerPlayer, Command::ComputerComputer, Command::TurnBoard,
          Command::Back, Command::First, Command::Compute, Command::Analyze, Command::NewGame, Command::Open,
          Command::Save, Command::NewVariant, Command::Options, Command::OfferDraw, Command::Hint,
          Command::Resign, Command::Forward, Command::Last, Command::MoveEntry},
         false);
  h.setCommandEnabled(Command::Cancel, true);
}

void BeginThinking(GameState& g, bool keepListCommands) {
  g.Flow.PiecePicked = 0;
  g.Flow.GameStarted = 1;
  g.Flow.GameResult.clear();
  if (!keepListCommands) Enable(*g.host, {Command::MoveList, Command::RootScores, Command::LegalMoves}, false);
  DisableCommandsWhileThinking(g);
}

void EnableCommandsAfterThinking(GameState& g, AfterThinking kind) {
  Host& h = *g.host;
  const int mode = g.Opt.PlayMode;
  const bool over = g.Flow.GameOver == 1;
  h.setCommandEnabled(Command::MoveList, true);
  if (!over) {
    Enable(h, {Command::Compute, Command::ComputerComputer, Command::Analyze}, true);
    if (kind == AfterThinking::Analysis || mode != 2) h.setCommandEnabled(Command::LegalMoves, true);
    if (mode != 2) h.setCommandEnabled(Command::Hint, true);
    if (mode == 0) Enable(h, {Command::OfferDraw, Command::Resign}, true);
  }
  // The Board menu stays off while a computer-against-computer game goes on.
  const bool gameRunsOn = mode == 2 && !over && g.P.SearchAborted != 1;
  if (!gameRunsOn) h.setCommandEnabled(Command::BoardMenu, true);
  if (kind != AfterThinking::Analysis && mode != 2) h.setCommandEnabled(Command::RootScores, true);
  Enable(h,
         {Command::PlayerPlayer, Command::ComputerPlayer, Command::TurnBoard, Command::NewGame, Command::Open,
          Command::Save, Command::NewVariant, Command::Options},
         true);
  h.setCommandEnabled(Command::Cancel, false);
  // Nothing runs now: the bar is empty.
  SetProgressValue(g, 0);
  if (g.P.GamePly > 0) Enable(h, {Command::Back, Command::First}, true);
  if (kind == AfterThinking::Analysis) {
    if (g.P.GamePly < g.Game.GameLength) Enable(h, {Command::Forward, Command::Last}, true);
  } else {
    // Nothing is stored ahead of the position any more.
    if (g.P.GamePly + 1 < kGameTables) g.Game.GameMoves[g.P.GamePly + 1].From = 0;
    Enable(h, {Command::Forward, Command::Last}, false);
  }
  h.setCommandEnabled(Command::MoveEntry, true);
  if (kind == AfterThinking::PlyValue)
    Enable(h, {Command::MoveList, Command::RootScores, Command::LegalMoves}, true);
}

}  // namespace m8
