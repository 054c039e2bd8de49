// The end of a game: the game-over test after a move, the user's draw offer
// and resignation, and whether the user plays a colour.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// 1 when the side labels put the user's name beside the colour ("white" or
// "black", exact): PlayerName1 stands beside the side that moves first.
int UserPlaysColour(const GameState& g, const std::string& colour);

// After a move played or replayed: ends the game when the side to move has
// no move, a variant rule has decided it, or a draw reason holds that the
// options make final. The play commands go off, the result is set, the rating
// updated and the outcome told ("White wins!", "Black wins!", "It's a draw!"
// or the draw reason, title "Congratulations"). A draw by reason is told as
// AnnounceDraw's quiet says. Does nothing once the game is over; otherwise
// leaves Ply 0 with every move of the side to move listed.
//
// In play the board shows the last move for half a second before the game
// ends (GameOverPause::Wait); a game read from a file, by the window or the
// command-line tools, ends at once (GameOverPause::None).
enum class GameOverPause { Wait, None };
void CheckGameOver(GameState& g, int quiet, GameOverPause pause = GameOverPause::Wait);

// Whether CheckGameOver would end the game in the position on the board, the
// game not being over yet; ends nothing. Leaves Ply 0 with every move of the
// side to move listed.
bool PositionEndsGame(GameState& g);

// The user's draw offer: accepted once the game has started and the
// computer's last score is not above 0; otherwise "Offer rejected... Play on!".
// Nothing once the game is over.
void HandleDrawOffer(GameState& g);

// The user resigns: the computer wins, and the result names the side that
// did not resign. Nothing once the game is over.
void ResignGame(GameState& g);

// The play commands taken away when a draw is agreed or the user resigns.
void DisableEndOfGameCommands(GameState& g);

}  // namespace m8
