// Who has won and the result a game records: from the position, from the
// winner, or from what the engine found before any search.
#pragma once

#include <string>

#include "core/engine/rootdriver.h"
#include "core/state.h"

namespace m8 {

// GameResult: mode 2 "1/2-1/2"; otherwise from the position (a side without
// pieces, or a side to move without a legal move, has lost), told from the
// first mover's view and reversed under AntiMode; "" when nobody has lost.
void SetGameResult(GameState& g, int mode);
// GameResult for a game that `winnerSide` (+1 White, -1 Black) has won,
// however it was decided (a resignation, a win by a variant rule): "1-0"
// when the first mover won, else "0-1".
void SetWinResult(GameState& g, int winnerSide);

// A game the engine found decided before any search (run.decided) ends: the
// result set (the draw reason of the move limit recorded), GameOver; after a
// win half a second's pause before it is told.
void EndGameDecidedBeforeSearch(GameState& g, const DriverRun& run);

// What the driver reported, taken into the game: after a search the progress
// text goes and the best score is kept (Flow.BestScore); a game found decided
// ends (EndGameDecidedBeforeSearch).
void ApplyDriverRun(GameState& g, const DriverRun& run);

// Who has won, named for the announcement: "White wins!" / "Black wins!" in
// player-against-player and computer-against-computer games; otherwise
// "Computer wins!" or the user's name. computerSide is the computer's colour
// (+1/-1), or 0 to tell it from the player names.
std::string WinnerText(const GameState& g, int winnerSide, int computerSide);
// Whether the winner is the computer (for the rating).
bool ComputerIsWinner(const GameState& g, int winnerSide, int computerSide);

// Equal material on the board and no man left: the ending in which the
// computer offers a draw.
bool EqualKingsOnly(const GameState& g);

}  // namespace m8
