// What the engine shows while it searches, through the host: the status
// panel's progress text, the progress bar, the root-score list; and the pause
// before a search that answers Cancel at once. The game uses them too.
#pragma once

#include <string>

#include "core/state.h"

namespace m8 {

// Waits `seconds` on the host's monotonic clock with the window's events
// running, so that Cancel and closing the window are answered at once. A stop
// request ends the wait early: it becomes the user's stop (SearchAborted 1,
// StopRequest 0) and true is returned.
bool PauseUnlessStopped(PositionState& g, double seconds);

// The progress bar of the main window.
void SetProgress(PositionState& g, int value, int maximum);
void SetProgressValue(PositionState& g, int value);

// Status bar panel StatusPanel.
void ShowStatus(PositionState& g, const std::string& text);

// The root move of RootScores slot `slot` (its record in RootScoreMoves);
// none when the slot names no record there.
const MoveRecord* RootScoreMove(const PositionState& g, int slot);
// Its text as the legal-move list names it ("c3-d4", "c3xe5", a capture that
// shares its start and end with another by its whole route, "K" after a
// crowning); "" when the slot names no record.
std::string RootScoreMoveText(PositionState& g, int slot);

// The root-score list from RootScores: per root move its name (as
// RootScoreMoveText gives it, else the from and to names, pad mode 2), a
// blank and the score (" n/a" for none; "≤ 4" for a score that is only an
// upper bound). When the first score comes from a deeper iteration than the
// others, a last line says so. An empty table leaves the list alone.
void ListRootMoveScores(PositionState& g);
// The root-score list emptied.
void ClearRootMoveScores(PositionState& g);

}  // namespace m8
