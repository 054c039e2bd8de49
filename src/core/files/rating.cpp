#include "core/files/rating.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/fileio.h"
#include "core/numtext.h"

namespace m8 {

namespace {

std::string RatingPath(const GameState& g) { return ResolvePath(UserFolderOf(g), kRatingFileName); }

constexpr int kMaxRatingDigits = 6;

}  // namespace

std::string EncodeRating(std::string_view key, std::string_view digits) {
  std::string out;
  out.reserve(digits.size());
  for (char c : digits) {
    int index = c - '0';
    // Only digits have a code; anything else would index outside the key.
    out += (index >= 0 && index < static_cast<int>(key.size())) ? key[index] : '/';
  }
  return out;
}

std::string DecodeRating(std::string_view key, std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    size_t p = key.find(c);
    out += static_cast<char>(p == std::string_view::npos ? '/' : '0' + static_cast<int>(p));
  }
  return out;
}

int32_t RatingFromFileText(std::string_view text, std::string_view key, bool* damaged) {
  // The file is one line of key characters ended by its line end. A text
  // without that line end was cut short, and a character outside the key is
  // garbled; either way its digits are not the rating that was saved ("7R"
  // may be what is left of 1200), so the rating of a new player is used.
  const size_t end = text.find_first_of("\r\n");
  const std::string first = Trim(text.substr(0, end));
  bool whole = end != std::string_view::npos && !first.empty() &&
               first.size() <= static_cast<size_t>(kMaxRatingDigits);
  const std::string digits = whole ? DecodeRating(key, first) : std::string();
  whole = whole && digits.find('/') == std::string::npos;
  if (damaged) *damaged = !whole;
  return whole ? ValInt(digits) : kDefaultRating;
}

std::string RatingFileText(int32_t rating, std::string_view key) {
  return EncodeRating(key, std::to_string(std::max<int32_t>(rating, 0))) + "\r\n";
}

void LoadRating(GameState& g) {
  const std::string path = RatingPath(g);
  g.Rating.UserRating = kDefaultRating;
  g.Rating.KeepFile = false;
  const FileRead read = ReadFileChecked(path, kRatingReadLimit, g.RefuseOpen);
  const std::string used = "the rating" + SignedText(kDefaultRating) + " is used";
  if (read.status == ReadStatus::Missing) return;
  if (read.status == ReadStatus::Unreadable) {
    // Left as it is: what it holds may be the user's rating after all.
    g.Rating.KeepFile = true;
    g.host->message(Icon::Exclamation, "Error",
                    "The rating file \"" + path + "\" cannot be read: " + read.reason + ".\r\nFor now " + used +
                        "; the file is left as it is, and this run's rating is not saved in it.");
    return;
  }
  bool damaged = read.status == ReadStatus::TooLarge;
  if (!damaged) g.Rating.UserRating = RatingFromFileText(read.bytes, kRatingKey, &damaged);
  if (!damaged) return;
  // The damaged file is kept beside before the next exit writes over it.
  const std::string kept = path + kRatingKeptSuffix;
  std::string keepError;
  const bool keep = CopyWholeFile(path, kept, &keepError);
  if (!keep) g.Rating.KeepFile = true;
  // The reader's reason begins "it is larger than ...": a sentence of its own.
  std::string tooLarge;
  if (read.status == ReadStatus::TooLarge && !read.reason.empty()) {
    tooLarge = " " + read.reason + ".";
    tooLarge[1] = static_cast<char>(std::toupper(static_cast<unsigned char>(tooLarge[1])));
  }
  g.host->message(Icon::Exclamation, "Error",
                  "The rating file \"" + path + "\" is damaged; " + used + "." + tooLarge +
                      (keep ? "\r\nThe old file is kept as \"" + kept + "\"."
                            : "\r\nThe old file is left as it is: " + keepError));
}

bool SaveRating(const GameState& g, std::string* error) {
  if (g.Rating.KeepFile || g.UserFilesNotKept) return true;  // the user was told at start-up
  return ReplaceFile(RatingPath(g), RatingFileText(g.Rating.UserRating), error);
}

std::string GameComment(const GameState& g) {
  const int last = std::clamp(g.P.GamePly, 0, kMaxGamePly);
  for (int p = last % 2 == 0 ? 1 : 2; p <= last; p += 2)
    if (g.Game.MoveChoiceHistory[p] > 1 && g.Game.ScoreHistory[p] > 199) return "  Good game";
  return "  Great game";
}

void UpdateRating(GameState& g, double result) {
  auto& r = g.Rating;
  const auto& rec = g.Game.GameRecord;
  r.RatingMessage.clear();
  if (g.Opt.UseRating == 0) return;

  // The first flag of each side that is not a move read from a file.
  int flag[2] = {0, 0};
  for (int side = 0; side < 2; ++side)
    for (int row = 1; row < kGameRecordRows; ++row)
      if (rec[row][2 + side] != "3") {
        flag[side] = ValInt(rec[row][2 + side]);
        break;
      }
  if (flag[0] != 1 && flag[1] != 1) r.RatedGame = 0;

  int scanned = 0, computerMoves = 0;
  double depthSum = 0;
  bool done = g.P.GamePly <= 0;
  for (int row = 1; row < kGameRecordRows && !done; ++row) {
    for (int side = 0; side < 2; ++side) {
      if (scanned >= g.P.GamePly) {
        done = true;
        break;
      }
      const std::string& cell = rec[row][2 + side];
      const int v = ValInt(cell);
      if (v != flag[side] && v != 3) {
        if (cell.empty()) break;  // no move here: the rest of the row does not count
        r.RatedGame = 0;          // the sides changed hands during the game
        done = true;
        break;
      }
      if (v != 3 && flag[side] == 1) {
        depthSum += Val(rec[row][4]);
        ++computerMoves;
      }
      ++scanned;
    }
  }
  if (r.RatedGame == 0) return;

  if (result == 1) r.RatingMessage = GameComment(g);
  // Depths are below 100; the bound keeps a damaged record from overflowing.
  const double average = std::clamp(computerMoves > 0 ? depthSum / computerMoves : 1.0, 0.0, 1000.0);
  r.ComputerRating = static_cast<int32_t>(IntFloor(average * 100)) + 700;
  const int32_t old = r.UserRating;
  const double expected = 1 / (1 + std::pow(10.0, -(old - r.ComputerRating) / 400.0));
  double k = 30;
  if (old > 2400)
    k = 10;
  else if (old >= 2000)
    k = RoundHalfEven(130 - old / 20.0);
  r.UserRating = RoundHalfEven(old + k * (result - expected));
  r.RatedGame = 0;  // a game changes the rating once
  r.RatingMessage += "\r\n\r\nYour previous rating was" + SignedText(old) +
                     "\r\nThe computers' rating in this game was" + SignedText(r.ComputerRating) +
                     "\r\n\r\nYour new rating is" + SignedText(r.UserRating);
}

std::string RatingClickText(const GameState& g) {
  return "Your currrent rating is" + SignedText(g.Rating.UserRating);
}

}  // namespace m8
