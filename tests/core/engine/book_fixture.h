// A game for the opening book tests: the book files of a folder, a host
// that records the messages and the opening name, moves played as the main
// window plays them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/state.h"

namespace m8::book_test {

class RecordingHost : public Host {
 public:
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + ": " + std::string(text));
  }
  void status(int panel, std::string_view text) override {
    if (panel == 3) panel3 = std::string(text);
  }
  std::vector<std::string> messages;
  std::string panel3 = "untouched";
};

// A fresh standard game (black to move) reading books from `folder`.
inline std::unique_ptr<GameState> NewGame(RecordingHost& host, const std::string& folder,
                                   const std::string& variant = "American Checkers") {
  auto g = std::make_unique<GameState>();
  g->host = &host;
  g->ProgramFolder = folder;
  g->Rules.Variant = variant;
  g->VariantRules.Variant = variant;
  g->Variant.LoadedVariantName = variant;
  ParseAllDirections(*g);
  SetBoardModeFromDirections(*g);
  g->P.SideToMove = g->Rules.BlackStarts == 1 ? -1 : 1;
  g->Opt.Notation = 1;
  return g;
}

// Plays a move given by its two cells, as the main window does, and stores
// its text in the game record.
inline bool PlayCells(GameState& g, int from, int to) {
  const std::string text = ToUpper(SquareNotation(g, from, 2) + SquareNotation(g, to, 2));
  if (!PlayMoveString(g, text)) return false;
  const int ply = g.P.GamePly;
  g.Game.GameRecord[(ply + 1) / 2][ply % 2 == 1 ? 0 : 1] = g.Texts.CaptureSquaresText + " " + g.Texts.MoveText;
  return true;
}

// Plays a move written in book form ("1115", "0914").
inline bool PlayBookMove(GameState& g, const std::string& move) {
  const int saved = g.Opt.Notation;
  g.Opt.Notation = 1;
  const int from = SquareNumber(g, move.substr(0, 2)), to = SquareNumber(g, move.substr(2, 2));
  g.Opt.Notation = saved;
  return PlayCells(g, from, to);
}

}  // namespace m8::book_test
