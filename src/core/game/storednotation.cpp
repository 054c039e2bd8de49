#include "core/game/storednotation.h"

#include <algorithm>
#include <vector>

#include "core/engine/book.h"
#include "core/engine/searchprogress.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

std::string Upper(std::string_view text) { return ToUpper(text); }

// One stored ply text rewritten into newNotation; `display` receives the new
// display text (with "K" for a crowning move).
std::string RewriteEntry(GameState& g, const std::string& entry, const MoveRecord& m, int newNotation,
                         std::string* display) {
  const bool placement = m.From == kNoSquare, crowned = m.Crown != 0;
  const int oldNotation = 1 - newNotation;
  g.Opt.Notation = oldNotation;
  std::string stored;
  const size_t keyLength = static_cast<size_t>(CompactTextLength(m));
  if (placement) {
    const int square = SquareNumber(g, Upper(entry.substr(0, 2)));
    g.Opt.Notation = newNotation;
    const std::string name = SquareNotation(g, square, 0);
    *display = name;
    stored = name + " " + name;
  } else if (keyLength > 4) {
    // A capture written with every landing square.
    std::vector<int> cells = CompactTextCells(g, Upper(entry.substr(0, keyLength)));
    const std::string oldDisplay = entry.size() > keyLength + 1 ? entry.substr(keyLength + 1) : std::string();
    const size_t sepAt = oldDisplay.find_first_of("x:");
    const char separator = sepAt == std::string::npos ? 'x' : oldDisplay[sepAt];
    g.Opt.Notation = newNotation;
    std::string compact;
    *display = SquareNotation(g, cells.front(), 0);
    for (size_t i = 0; i < cells.size(); ++i) {
      compact += SquareNotation(g, cells[i], 0);
      if (i > 0) *display += separator + SquareNotation(g, cells[i], 1);
    }
    stored = compact + " " + *display;
  } else {
    const int from = SquareNumber(g, Upper(entry.substr(0, 2)));
    const int to = SquareNumber(g, Upper(entry.size() > 2 ? entry.substr(2, 2) : std::string()));
    g.Opt.Notation = newNotation;
    const std::string newFrom = SquareNotation(g, from, 0), newTo = SquareNotation(g, to, 0);
    // The separator is kept as it was recorded: the display text follows the
    // four name characters and a blank.
    const std::string oldDisplay = entry.size() > 5 ? entry.substr(5) : std::string();
    const char separator = oldDisplay.size() > 2 ? oldDisplay[2] : '-';
    *display = newFrom + separator + newTo;
    stored = newFrom + newTo + " " + *display;
  }
  if (crowned || (!entry.empty() && entry.back() == 'K')) *display += "K";
  return stored;
}

// The move-list line of game ply n: the first mover's ply with its move
// number right-aligned in four characters and ". ", the other side's with six
// blanks in front.
std::string ListLineOf(int n, const std::string& displayText) {
  if (n % 2 == 1) {
    std::string number = SignedText((n + 1) / 2);
    if (number.size() < 4) number.insert(0, 4 - number.size(), ' ');
    return number + ". " + displayText;
  }
  return std::string(6, ' ') + displayText;
}

}  // namespace

void ConvertStoredNotation(GameState& g, int newNotation) {
  DriverState& d = g.Driver;
  d.LegalMoveLines.clear();
  d.RootScoreLines.clear();
  for (int i = 0; i < d.MoveListCount && i < kGameTables; ++i) d.MoveListLines[i].clear();
  d.MoveListCount = 0;

  const int shownPly = g.P.GamePly;
  const int savedFrom = g.Book.BookFrom, savedTo = g.Book.BookTo;
  const int length = std::min(g.Game.GameLength, 2 * (kGameRecordRows - 1));
  int k = 0;
  for (int i = 1; k < length; ++i) {
    auto& entry = g.Game.GameRecord[(i + 1) / 2][i % 2 == 1 ? 0 : 1];
    if (entry.empty()) break;
    const MoveRecord& m = g.Game.GameMoves[i];
    std::string display;
    entry = RewriteEntry(g, entry, m, newNotation, &display);
    std::string line = ListLineOf(i, display);
    g.P.GamePly = k + 1;
    BookMove(g, 1);
    g.P.GamePly = shownPly;
    if (g.Book.InBook == 1) line += "b";
    d.MoveListLines[k] = line;
    ++k;
  }
  g.Book.BookFrom = savedFrom;
  g.Book.BookTo = savedTo;
  d.MoveListCount = k;
  d.MoveListSelected = shownPly > 0 && shownPly <= k ? shownPly - 1 : -1;
  ShowStatus(g, "");
  Host& h = *g.host;
  h.refresh(View::MoveList);
  h.refresh(View::LegalMoves);
  h.refresh(View::RootScores);
}

bool SelectNotation(GameState& g, int target) {
  if (target == 1 && g.Rules.PiecesOnBlack == 2) return false;
  const bool letters = NamesInLetters(g);
  bool lettersAfter;
  {
    ScopedNotation chosen(g, target);
    lettersAfter = NamesInLetters(g);
  }
  if (letters != lettersAfter) {
    ConvertStoredNotation(g, lettersAfter ? 0 : 1);
    ListRootMoveScores(g);
  }
  g.Opt.Notation = lettersAfter ? 0 : 1;
  ListLegalMoves(g);
  g.Opt.Notation = target;
  return true;
}

}  // namespace m8
