#include "core/engine/book.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/textcode.h"

namespace fs = std::filesystem;

namespace m8 {

namespace {

constexpr std::string_view kStandardSetup =
    "1010101001010101101010100000000000000000020202022020202002020202";
constexpr std::string_view kAmericanBookName = "American Checkers";
constexpr std::string_view kAmericanVariantLine = "Variant=American Checkers";

std::string FirstTwo(std::string_view move) { return ToUpper(move.substr(0, 2)); }
std::string LastTwo(std::string_view move) {
  return ToUpper(move.size() >= 2 ? move.substr(move.size() - 2) : move);
}

// Tells the user about a book that cannot be used, once per file and state of
// that file, so that a bad book does not interrupt every move.
void ReportOnce(PositionState& g, const std::string& key, std::string_view title, const std::string& text) {
  if (g.Book.ReportedProblem == key) return;
  g.Book.ReportedProblem = key;
  g.host->message(Icon::Exclamation, title, text);
}

enum class BookFile { Missing, Unreadable, Ready };

// Brings the book file into the cache: read again only when its path, size or
// modification time differ from the cached copy, so the result is the same as
// reading it at every call.
BookFile LoadBookFile(PositionState& g, const std::string& path, std::string* stamp) {
  auto& b = g.Book;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return BookFile::Missing;
  const uint64_t size = fs::file_size(path, ec);
  if (ec) return BookFile::Unreadable;
  const auto time = fs::last_write_time(path, ec);
  if (ec) return BookFile::Unreadable;
  const int64_t ticks = static_cast<int64_t>(time.time_since_epoch().count());
  *stamp = path + "|" + std::to_string(size) + "|" + std::to_string(ticks);
  if (b.CacheValid && b.CachedPath == path && b.CachedSize == size && b.CachedTime == ticks)
    return BookFile::Ready;
  b.CacheValid = false;
  auto bytes = ReadWholeFile(path);
  if (!bytes) return BookFile::Unreadable;
  b.CachedLines.clear();
  // Opening names in any language: UTF-8 when the file is, else Latin-1.
  ForEachLine(DecodeText(*bytes), [&](std::string_view line) { b.CachedLines.emplace_back(line); });
  b.CachedFirstBytes = bytes->substr(0, std::string_view(kBookHeader).size());
  b.CachedPath = path;
  b.CachedSize = size;
  b.CachedTime = ticks;
  b.CacheValid = true;
  return BookFile::Ready;
}

// A "PromoW=" / "PromoB=" value: twelve two-character algebraic squares.
bool PromoLineMatches(PositionState& g, std::string_view value, int side) {
  ScopedNotation algebraic(g, 0);
  for (int k = 0; k < kPromoEntries; ++k) {
    const size_t at = static_cast<size_t>(2 * k);
    std::string_view pair = at < value.size() ? value.substr(at, 2) : std::string_view{};
    int cell = SquareNumber(g, pair);
    if (cell == 0) cell = -1;
    if (cell != g.Rules.PromoSquares[side][k]) return false;
  }
  return true;
}

// One line of a rule block other than "Variant=" and "start": false when it
// is a key line whose value differs from the rules in force. Movement lines
// are parsed into BookDirectionTable and compared at "start".
bool RuleLineMatches(PositionState& g, const std::string& line, const std::string& setup) {
  if (StartsWith(line, "Setup=")) return line.substr(6) == setup;
  if (StartsWith(line, "PromoW=")) return PromoLineMatches(g, std::string_view(line).substr(7), 0);
  if (StartsWith(line, "PromoB=")) return PromoLineMatches(g, std::string_view(line).substr(7), 1);
  for (const auto& key : MovementKeys()) {
    const std::string prefix = std::string(key.name) + "=";
    if (StartsWith(line, prefix)) {
      ParseDirections(g, std::string_view(line).substr(prefix.size()), key.kind, true);
      return true;
    }
  }
  for (const auto& key : NumericRuleKeys()) {
    const std::string prefix = std::string(key.name) + "=";
    if (StartsWith(line, prefix))
      return Val(std::string_view(line).substr(prefix.size())) == static_cast<double>(g.Rules.*key.member);
  }
  return true;
}

// The moves played so far in book form: four characters per ply, blanks as
// "0", joined by single blanks.
std::string BookGameString(PositionState& g, bool flip) {
  std::string game;
  const int plies = std::min<int>(g.P.GamePly, 2 * (kGameRecordRows - 1));
  for (int ply = 1; ply <= plies; ++ply) {
    const std::string& entry = g.Game.GameRecord[(ply + 1) / 2][(ply - 1) % 2];
    // From and to (a capture written with its landing squares has more).
    const size_t length = static_cast<size_t>(CompactTextLength(g.Game.GameMoves[ply]));
    std::string move = length > 4 && entry.size() >= length ? entry.substr(0, 2) + entry.substr(length - 2, 2)
                                                            : entry.substr(0, 4);
    if (g.Opt.Notation == 0 && g.Rules.PiecesOnBlack < 2) {
      const int from = SquareNumber(g, FirstTwo(move));
      const int to = SquareNumber(g, LastTwo(move));
      ScopedNotation numbered(g, 1);
      move = SquareNotation(g, from, 0) + SquareNotation(g, to, 0);
    }
    if (flip) {
      ScopedNotation numbered(g, g.Rules.PiecesOnBlack < 2 ? 1 : g.Opt.Notation);
      const int from = SquareNumber(g, FirstTwo(move));
      const int to = SquareNumber(g, LastTwo(move));
      move = SquareNotation(g, FlipSquare(from), 0) + SquareNotation(g, FlipSquare(to), 0);
    }
    std::replace(move.begin(), move.end(), ' ', '0');
    if (ply > 1) game += ' ';
    game += move;
  }
  return game;
}

std::string_view Piece(std::string_view text, size_t at, size_t length) {
  return at < text.size() ? text.substr(at, length) : std::string_view{};
}

}  // namespace

int FlipSquare(int square) { return (11 - square / 10) * 10 + (9 - square % 10); }

bool BookCandidateSquares(PositionState& g, std::string_view move, int* from, int* to) {
  if (move.size() < 4) return false;
  std::string text(move.substr(0, 4));
  if (text[0] == '0') text[0] = ' ';
  if (text[2] == '0') text[2] = ' ';
  ScopedNotation numbered(g, g.Rules.PiecesOnBlack < 2 ? 1 : g.Opt.Notation);
  int f = SquareNumber(g, FirstTwo(text));
  int t = SquareNumber(g, LastTwo(text));
  if (f <= 0 || t <= 0) return false;
  if (g.Rules.BlackStarts == 0 && g.Opt.AmericanBookForAll == 1) {
    f = FlipSquare(f);
    t = FlipSquare(t);
  }
  *from = f;
  *to = t;
  return true;
}

void BookMove(PositionState& g, int lookUpMove) {
  auto& b = g.Book;
  for (auto& c : b.BookCandidates) c.clear();
  b.InBook = 0;
  std::string foundName;

  const bool american = g.Opt.AmericanBookForAll == 1;
  const std::string& variantName = g.Rules.Variant;
  const std::string bookName = american ? std::string(kAmericanBookName) : variantName;
  if (!IsSafeFileName(bookName)) {
    ReportOnce(g, "name|" + bookName, "Morventa8",
               "The variant name \"" + bookName + "\" cannot name a book file; the opening book is not used.");
    return;
  }
  const std::string path = ResolvePath(g.ProgramFolder, "books/" + bookName + ".bok");
  std::string stamp;
  switch (LoadBookFile(g, path, &stamp)) {
    case BookFile::Missing:
      return;
    case BookFile::Unreadable:
      ReportOnce(g, "read|" + path + stamp, "Error", "Cannot read the opening book " + path + "; it is not used.");
      return;
    case BookFile::Ready:
      break;
  }
  const std::vector<std::string>& lines = b.CachedLines;
  if (b.CachedFirstBytes != kBookHeader || lines.empty()) {
    ReportOnce(g, "header|" + stamp, "Morventa8", variantName + ".BOK" + " is not an Morventa8 Book file");
    return;
  }
  const std::string_view versionText = std::string_view(lines[0]).substr(std::string_view(kBookHeader).size());
  if (static_cast<float>(Val(versionText)) != static_cast<float>(Val(kBookVersion))) {
    ReportOnce(g, "version|" + stamp, "Error",
               "Incorrect version of " + variantName + ".BOK" + "\r\n" + "Need version " + kBookVersion);
    return;
  }

  b.BookFrom = 0;
  b.BookTo = 0;
  const std::string setup = BoardToSetupString(g);

  // Rule blocks: the first block whose rules equal the rules in force.
  size_t i = 1;
  bool selected = false;
  bool match = false;
  std::string variantLine;
  for (; i < lines.size() && !selected; ++i) {
    const std::string& line = lines[i];
    if (StartsWith(line, "Variant=")) {
      match = line.substr(8) == g.Variant.LoadedVariantName;
      variantLine = line;
    } else if (line == "start") {
      if (g.Tables.BookDirectionTable != g.Tables.DirectionTable) match = false;
      if (american)
        match = variantLine == kAmericanVariantLine && setup == kStandardSetup && g.Rules.AntiMode == 0 &&
                g.Rules.PiecesOnBlack == 1;
      selected = match;
    } else if (!RuleLineMatches(g, line, setup)) {
      match = false;
    }
  }

  int count = 0;
  bool namesFollow = false;
  std::string game;
  if (selected) {
    const bool flip = g.Rules.BlackStarts == 0 && american;
    game = BookGameString(g, flip);
    const char side = g.P.SideToMove == 1 ? 'w' : 'b';
    const size_t plies = game.empty() ? 0 : (game.size() + 1) / 5;
    auto addCandidate = [&](std::string_view move) {
      // The table holds eleven moves; further continuations are left out.
      if (count < kBookCandidates) b.BookCandidates[count++] = std::string(move);
    };
    std::string previous;  // the line before, expanded
    for (; i < lines.size(); ++i) {
      std::string line = lines[i];
      if (flip)
        for (char& c : line) c = c == 'b' ? 'w' : c == 'w' ? 'b' : c;
      if (line == "names") {
        namesFollow = true;
        ++i;
        break;
      }
      if (line == "end") break;
      const size_t p = line.find_first_not_of(' ');
      if (p == std::string::npos) continue;  // an empty line holds no move
      if (plies == 0) {
        if (line.size() >= 5 && line[4] == side) addCandidate(std::string_view(line).substr(0, 4));
        continue;
      }
      std::string expanded = previous.substr(0, std::min(p, previous.size()));
      expanded.resize(p, ' ');
      expanded += line.substr(p);
      previous = expanded;
      bool lineMatches = true;
      for (size_t k = 0; k < game.size() && lineMatches; k += 5)
        lineMatches = Piece(expanded, k, 4) == Piece(game, k, 4);
      if (!lineMatches) continue;
      b.InBook = 1;
      if (line.size() >= 5 * plies + 5 && line[5 * plies + 4] == side)
        addCandidate(std::string_view(line).substr(5 * plies, 4));
    }
  }

  if (count > 0) {
    const int k = std::min(count - 1, static_cast<int>(IntFloor(Rnd(g) * count)));
    int from = 0, to = 0;
    if (lookUpMove == 1 && BookCandidateSquares(g, b.BookCandidates[k], &from, &to)) {
      b.BookFrom = from;
      b.BookTo = to;
    }
  }

  if (namesFollow) {
    const std::string trimmedGame = game.substr(std::min(game.size(), game.find_first_not_of(' ')));
    for (; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (line == "end") break;
      const size_t apostrophe = line.find('\'');
      if (apostrophe == std::string::npos) continue;  // not a names line
      if (StartsWith(trimmedGame, std::string_view(line).substr(0, apostrophe))) {
        const size_t start = apostrophe + 1;
        foundName = start < line.size() ? line.substr(start, line.size() - start - 1) : std::string();
      }
    }
  }

  if (lookUpMove == 0) {
    b.OpeningName = foundName;
    g.host->status(3, foundName);
  }
}

}  // namespace m8
