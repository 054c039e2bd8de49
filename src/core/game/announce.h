// The end of a game told to the user, and the texts that tell it.
#pragma once

#include <string>

#include "core/engine/rootdriver.h"
#include "core/state.h"

namespace m8 {

// The announcement of DrawReason ("It's a draw! Triple Repetition", ...).
std::string DrawAnnouncementText(int drawReason);
// How AnnounceDraw tells a draw (its quiet argument, which CheckGameOver
// hands on): kDrawAnnounced the text in the status bar and in a GameEndTitle
// box with RatingMessage; kDrawNoted only DrawNote, once, with the move number
// (any other value but the last does the same); kDrawAnnouncedAndNoted both,
// for a game opened from a file: its end is told as a won game's is, and the
// loader names the draw again beside the file's result.
constexpr int kDrawAnnounced = 0;
constexpr int kDrawNoted = 1;
constexpr int kDrawAnnouncedAndNoted = 2;
void AnnounceDraw(GameState& g, int quiet);

// The end of a game told to the user: the text in the status bar, then in a
// box titled GameEndTitle followed by RatingMessage.
void AnnounceGameEnd(GameState& g, const std::string& text);
// The title of the box that ends a game: "Congratulations" when a person
// plays; in computer-against-computer play there is nobody to congratulate,
// and the box has the program's title "Morventa8".
const char* GameEndTitle(const GameState& g);

// What ends a game the engine found decided before any search (run.decided):
// the winner named by WinnerText with computerSide, "It's a draw!" for the
// no-move draw, the draw of the move limit by its announcement.
std::string DecidedGameText(const GameState& g, const DriverRun& run, int computerSide);

// "Computer is winning in N moves! " / "Computer is losing in 1 move! " for a
// forced result score (at least one move); "" for any other score.
std::string ForcedResultText(const GameState& g, int bestScore);

}  // namespace m8
