// What the computer move, the analysis and the ply value table share around
// their searches: the commands taken away while the engine thinks and given
// back afterwards, the progress bar, the two move lists beside the board, the
// result of a finished game and the texts that announce it.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Every command but Cancel off (menu items with their toolbar buttons and the
// move entry box); Cancel on.
void DisableCommandsWhileThinking(GameState& g);

// How the commands come back after a search.
enum class AfterThinking {
  ComputerMove,  // the computer has moved: no stored moves ahead of the position
  Analysis,      // nothing was played: forward commands when moves are stored ahead
  PlyValue,      // as ComputerMove, then every list on
};
void EnableCommandsAfterThinking(GameState& g, AfterThinking kind);

// A new or loaded game: the move list, the move texts and the root move
// scores of the last game are forgotten (DrawNote stays for the program's run).
void ClearDriverLists(GameState& g);

// Waits `seconds` on the host's monotonic clock with the window's events
// running, so that Cancel and closing the window are answered at once. A stop
// request ends the wait early: it becomes the user's stop (SearchAborted 1,
// StopRequest 0) and true is returned.
bool PauseUnlessStopped(GameState& g, double seconds);

// The progress bar of the main window.
void SetProgress(GameState& g, int value, int maximum);
void SetProgressValue(GameState& g, int value);

// Status bar panel StatusPanel.
void ShowStatus(GameState& g, const std::string& text);

// The legal-move list: generates the legal moves of the current ply (mode 0, then 1) and
// writes one line per move: its MoveText, "b" when the opening book offers
// it. The move texts of the caller are kept.
void ListLegalMoves(GameState& g);

// The root-score list from RootScores: per root move the from and to names (pad mode 2), a
// blank and the score (" n/a" for none; "≤ 4" for a score that is only an
// upper bound). An empty table leaves the list alone.
void ListRootMoveScores(GameState& g);
// The root-score list emptied.
void ClearRootMoveScores(GameState& g);

// GameResult: mode 2 "1/2-1/2"; otherwise from the position (a side without
// pieces, or a side to move without a legal move, has lost), told from the
// first mover's view and reversed under AntiMode; "" when nobody has lost.
void SetGameResult(GameState& g, int mode);
// GameResult for a game that `winnerSide` (+1 White, -1 Black) has won,
// however it was decided (a resignation, a win by a variant rule): "1-0"
// when the first mover won, else "0-1".
void SetWinResult(GameState& g, int winnerSide);

// The announcement of DrawReason ("It's a draw! Triple Repetition", ...).
std::string DrawAnnouncementText(int drawReason);
// quiet 0: the text in the status bar and in a GameEndTitle box with
// RatingMessage; otherwise only DrawNote, once, with the move number.
void AnnounceDraw(GameState& g, int quiet);

// The end of a game told to the user: the text in the status bar, then in a
// box titled GameEndTitle followed by RatingMessage.
void AnnounceGameEnd(GameState& g, const std::string& text);
// The title of the box that ends a game: "Congratulations" when a person
// plays; in computer-against-computer play there is nobody to congratulate,
// and the box has the program's title "Morventa8".
const char* GameEndTitle(const GameState& g);

// Who has won, named for the announcement: "White wins!" / "Black wins!" in
// player-against-player and computer-against-computer games; otherwise
// "Computer wins!" or the user's name. computerSide is the computer's colour
// (+1/-1), or 0 to tell it from the player names.
std::string WinnerText(const GameState& g, int winnerSide, int computerSide);
// Whether the winner is the computer (for the rating).
bool ComputerIsWinner(const GameState& g, int winnerSide, int computerSide);

// "Computer is winning in N moves! " / "Computer is losing in 1 move! " for a
// forced result score (at least one move); "" for any other score.
std::string ForcedResultText(const GameState& g, int bestScore);

// Equal material on the board and no man left.
bool EqualKingsOnly(const GameState& g);

}  // namespace m8
