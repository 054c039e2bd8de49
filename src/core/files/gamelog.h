// The running game log "tavrin.log": a banner at each start, a header before
// a game's first move, one line per move and a search block after each
// computer move. Lines end with CR LF. The file stays within kLogMaxBytes:
// an entry that would take it past that drops its oldest lines first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/rootdriver.h"
#include "core/state.h"

namespace m8 {

inline constexpr const char* kLogFileName = "tavrin.log";
// The largest log. A cut keeps its newest kLogKeptBytes (whole lines), so
// the next cut comes once as much again has been written.
inline constexpr uintmax_t kLogMaxBytes = 1u << 20;
inline constexpr uintmax_t kLogKeptBytes = kLogMaxBytes / 2;

// The newest whole lines of text (lines ended by LF or CR LF) that fit in
// maxBytes: the text itself when it fits, else it loses its front up to a
// line start. "" when even the last line is longer.
std::string KeepNewestLines(std::string_view text, size_t maxBytes);

// Pure line formats (each returned text ends with CR LF).

// Empty line, then "Morventa8 1.58", three blanks, date, two blanks, time.
std::string LogBannerText(std::string_view date, std::string_view time);
// Empty line, variant name, "Black   White" / "White   Black", column line.
std::string LogHeaderText(std::string_view variantName, int32_t blackStarts);
// A move not made by the computer: line, the separator, score in 6 columns.
std::string LogMoveLineText(std::string_view logLine, int32_t score);
// A computer move: line, separator, score (6), six blanks, depth (2), four
// blanks, main line.
std::string LogComputerMoveLineText(std::string_view logLine, int32_t score, int32_t depth,
                                    std::string_view mainLine);

// One line per iteration (engine/rootdriver.h), then an empty line. Without showCalculation the
// part from "D:" to the score is left out.
std::string LogSearchBlockText(const std::vector<SearchIterationLog>& iterations,
                               bool showCalculation);

// Writers: append to tavrin.log of the user's folder (UserFolderOf) through plain file I/O; the cut
// that keeps it within its size replaces it through a temporary. When the
// log cannot be opened, the program runs without it: the host is told once
// and later writes do nothing.

// Start-up: checks the log can be appended to and writes the banner with the
// local date and time. Sets g.Log.Enabled (never while UserFilesNotKept).
bool OpenLog(GameState& g);
// Appends text as it is (callers pass the texts above). False when not written.
bool AppendLog(GameState& g, std::string_view text);
// The game header (before the line of a game's first ply).
void PrintLogHeader(GameState& g);
// Convenience: write g.Log.LogLine as a user move / computer move line.
void LogUserMove(GameState& g, int32_t quickScore);
void LogComputerMove(GameState& g, int32_t bestScore, int32_t depth,
                     const std::vector<SearchIterationLog>& iterations);

}  // namespace m8
