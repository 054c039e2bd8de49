// The user's rating: the file "tavrin.rtg" (one line of scrambled digits) and
// the update after a finished game.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

namespace m8 {

inline constexpr const char* kRatingFileName = "tavrin.rtg";
// Key character d + 1 stands for the digit d.
inline constexpr std::string_view kRatingKey = "Q7R2XK9M4T";
inline constexpr int32_t kDefaultRating = 1200;
// A rating file is one short line: a larger file is damaged.
inline constexpr size_t kRatingReadLimit = 4096;
// A damaged rating file is kept under its name with this added.
inline constexpr const char* kRatingKeptSuffix = ".bad";

std::string EncodeRating(std::string_view key, std::string_view digits);
// Characters not in the key become '/'.
std::string DecodeRating(std::string_view key, std::string_view text);

// The rating a file's bytes hold; kDefaultRating, with *damaged set, for a
// text that is not one whole line of key characters: empty, cut short before
// its line end, garbled (a character outside the key) or more than six long.
int32_t RatingFromFileText(std::string_view text, std::string_view key = kRatingKey,
                           bool* damaged = nullptr);
// The line written to the file (with CR LF); a negative rating is stored as 0.
std::string RatingFileText(int32_t rating, std::string_view key = kRatingKey);

// Start-up: Rating.UserRating from tavrin.rtg of the user's folder
// (UserFolderOf), 1200 when it is missing. A damaged file (garbled, cut
// short, larger than kRatingReadLimit) gives 1200 and is kept as
// "tavrin.rtg.bad", and the user is told. A file that exists but cannot be
// read gives 1200 with a message and is left as it is: Rating.KeepFile is
// set, and SaveRating then leaves it alone.
void LoadRating(GameState& g);
// Writes the user's tavrin.rtg through a temporary file; nothing (and true)
// while Rating.KeepFile or UserFilesNotKept is set.
bool SaveRating(const GameState& g, std::string* error);

// After a finished game; result is the user's score (1 win, 0.5 draw, 0 loss).
// Reads Opt.UseRating, Rating.RatedGame, Game.GameRecord, P.GamePly and the
// score histories; sets Rating.UserRating, ComputerRating, RatedGame and
// RatingMessage (empty when the rating did not change). A game that changed
// the rating is no longer rated: it changes the rating once.
void UpdateRating(GameState& g, double result);

// "  Good game" or "  Great game".
std::string GameComment(const GameState& g);

// The text of the "Rating..." menu command's box (title "Rating").
std::string RatingClickText(const GameState& g);
inline constexpr const char* kRatingTitle = "Rating";

}  // namespace m8
