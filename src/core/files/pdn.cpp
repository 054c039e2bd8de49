#include "core/files/pdn.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <iterator>
#include <map>
#include <utility>

#include "core/rules/builtinrules.h"
#include "core/fileio.h"
#include "core/files/builtinvariants.h"
#include "core/files/settings.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/rules/variantfile.h"
#include "core/textcode.h"
#include "core/textlimits.h"

namespace m8 {

namespace {

// The tags a PDN file may begin with.
constexpr const char* kFirstTags[] = {
    "Tavrin", "KVersion", "Event", "Date",   "Site", "Round", "Year", "Black", "BlackElo", "White", "WhiteElo",
    "Result", "SetUp",    "Setup", "FEN",    "fen",  "Comment", "ECO", "eco",  "Rem",      "Ram",   "GameType",
};

constexpr const char* kRulesTagVersion = "1.13";

// The game types of PDN 3.0 for draughts. A game of another board has no
// variant here.
struct GameType {
  int number;
  const char* game;
  const char* variant;  // the shipped variant that plays it; "" for none
  const char* board;
  char starts;  // the colour that makes the first move of a game: 'W' or 'B'
};
constexpr GameType kGameTypes[] = {
    {20, "International Checkers", "", "10x10", 'W'},
    {21, "American Checkers", "American Checkers", "8x8", 'B'},
    {22, "Italian Checkers", "Italian Checkers", "8x8", 'W'},
    {23, "American Pool Checkers", "Pool Checkers", "8x8", 'B'},
    {24, "Spanish Checkers", "Spanish Checkers", "8x8", 'W'},
    {25, "Russian Checkers", "Russian Checkers", "8x8", 'W'},
    {26, "Brazilian Checkers", "German Checkers", "8x8", 'W'},
    {27, "Canadian Checkers", "", "12x12", 'W'},
    {28, "Portuguese Checkers", "Portuguese Checkers", "8x8", 'W'},
    {29, "Czech Checkers", "Czech Checkers", "8x8", 'W'},
    {30, "Turkish Checkers", "Turkish Checkers", "8x8", 'W'},
    {31, "Thai Checkers", "Thai Checkers", "8x8", 'B'},
    {40, "Frisian Checkers", "", "10x10", 'W'},
    {41, "Spantsiretti Checkers", "", "10x8", 'W'},
};

// The colour that starts a game of the game type a file names; a file that
// names none is read as American Checkers, where Black starts.
char UsualFirstColour(int gameType) {
  for (const auto& t : kGameTypes)
    if (t.number == gameType) return t.starts;
  return 'B';
}

// Fields of the rules tag after the set-up string: the three before the
// promotion squares, then the rest up to CapRequired (every form), then the
// optional groups of the full form with the version that added each.
constexpr const char* kTagHead[] = {"MulJumps", "MaxCapMove", "BlackStarts"};
constexpr const char* kTagBody[] = {"PiecesOnBlack", "AntiMode",     "WinAtPromo",    "MaxCapMoveKings",
                                    "ManCapKing",    "KingCapMove",  "ManContJump",   "LongKings",
                                    "RemovePieces",  "KingFirst",    "ManCapMoveKing", "KingWin",
                                    "MaxCapMoveK",   "CapRequired"};
struct TagGroup {
  int version;  // hundredths: 101 = 1.01; 0 = always in the full form
  std::vector<const char*> keys;
};
const TagGroup kTagGroups[] = {
    {0, {"NoLegalDraw"}},
    {101, {"RemoveMen", "NumberMen", "DoMoves", "NumberMoves"}},
    {102, {"LastCap", "ManKing"}},
    {103, {"KingMan"}},
    {104, {"ChangeSide"}},
    {111, {"ThreeKings", "NumberKings"}},
    {112,
     {"CapReverse", "RndColor", "JumpFriend", "NumberFriends", "TwoKings", "NumberKings2", "NumberPieces",
      "canContract", "ContractNumber", "ContractW1", "ContractW2", "ContractB1", "ContractB2"}},
};

std::string_view TrimView(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A text with each "½" written as "1/2".
std::string HalvesAsDigits(std::string_view t) {
  static constexpr std::string_view kHalf = "\xC2\xBD";
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t.substr(i, kHalf.size()) == kHalf) {
      out += "1/2";
      i += kHalf.size() - 1;
    } else {
      out += t[i];
    }
  }
  return out;
}

bool IsResult(std::string_view text) {
  // Results as other programs write them too: "1:0" in Russian collections,
  // "+-", "-+" and "=" as in printed game scores, "½-½".
  const std::string t = HalvesAsDigits(text);
  static constexpr const char* kResults[] = {"*",   "1-0", "0-1", "1/2-1/2", "2-0", "0-2", "1-1", "0-0",
                                             "1",   "0",   "2",   "1/2",     "1:0", "0:1", "1:1",
                                             "2:0", "0:2", "0:0", "1/2:1/2", "+-", "-+", "="};
  for (const char* r : kResults)
    if (t == r) return true;
  // "0-" alone is a result cut short, as "1-" and "1/2-1/" are.
  return StartsWith(t, "0-") && t.size() > 2;
}

// The result that ends a move text ("... 22-17 1-0", a comment after it
// allowed), or "*" when it ends otherwise. Half a draw's result ("1/2",
// "½") is the draw where more of the file follows the game; at the end of
// the file it may be one cut short, and the result is unknown.
std::string ResultAtEnd(std::string_view moves, bool endsFile) {
  moves = TrimView(moves);
  while (!moves.empty() && moves.back() == '}') {
    const size_t open = moves.rfind('{');
    if (open == std::string_view::npos) return "*";
    moves = TrimView(moves.substr(0, open));
  }
  const size_t blank = moves.find_last_of(" \t");
  const std::string_view last = blank == std::string_view::npos ? moves : moves.substr(blank + 1);
  if (!endsFile && HalvesAsDigits(last) == "1/2") return std::string(last);
  return IsResult(last) && last.find_first_of("-:*=") != std::string_view::npos ? std::string(last) : "*";
}

// The longest move token read: a capture of every piece a record holds,
// written with all its landing squares ("1x10x19x...", three characters a
// square).
constexpr size_t kMaxMoveTokenChars = 3 * (kMaxCaptured + 1) + 8;

bool IsSeparator(char c) { return c == '-' || c == 'x' || c == 'X' || c == ':'; }

bool IsSquareName(std::string_view t) {
  if (AllDigits(t)) return t.size() <= 2;
  return t.size() == 2 && std::isalpha(static_cast<unsigned char>(t[0])) && t[1] >= '1' && t[1] <= '8';
}

std::string Pad2(std::string_view s) { return s.size() == 1 ? " " + std::string(s) : std::string(s); }

std::string CleanValue(std::string_view text) {
  std::string out;
  for (char c : text) out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
  return out;
}

// Where the games of the file begin in its bytes, for reading each in its own
// encoding: at every line beginning with "[" after a line of moves (the tags
// are ASCII in every encoding but UTF-16).
std::vector<size_t> GameStarts(std::string_view bytes) {
  std::vector<size_t> starts;
  bool moves = false;
  ForEachLine(bytes, [&](std::string_view line) {
    std::string_view trimmed = TrimView(line);
    // The first line may begin with the byte-order mark of UTF-8.
    if (line.data() == bytes.data() && trimmed.substr(0, 3) == "\xEF\xBB\xBF") trimmed = TrimView(trimmed.substr(3));
    if (StartsWith(trimmed, "[")) {
      if (moves) starts.push_back(static_cast<size_t>(line.data() - bytes.data()));
      moves = false;
    } else if (!trimmed.empty()) {
      moves = true;
    }
  });
  return starts;
}

// True when the text begins with one of the tags a PDN file may begin with.
bool IsFirstTag(std::string_view head) {
  PdnTagText tag;
  if (!CutPdnTag(head, &tag)) return false;
  for (const char* name : kFirstTags)
    if (tag.name == name) return true;
  return false;
}

// Where a tag begins in a move line, outside comments, or npos. inComment
// carries an open "{" from line to line. Only the first "[" after a blank is
// tried, so that a long line is read once.
size_t TagAfterMoves(std::string_view line, bool& inComment) {
  bool tried = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '{') {
      inComment = true;
    } else if (c == '}') {
      inComment = false;
    } else if (c == '[' && !inComment && !tried && i > 0 && (line[i - 1] == ' ' || line[i - 1] == '\t')) {
      tried = true;
      PdnTagText tag;
      if (CutPdnTag(line.substr(i), &tag) && tag.closed) return i;
    }
  }
  return std::string_view::npos;
}

// The pieces of the start position on the squares in play (a new game on
// the other colour keeps its start board as the variant gives it and moves
// the pieces over on the board only): cell and value.
std::vector<std::pair<int, int>> StartPieces(const GameState& g) {
  std::vector<std::pair<int, int>> pieces;
  for (int cell = 0; cell < kCells; ++cell) {
    const int v = g.StartBoard[cell];
    if (v == 0 || v == kOffBoard || v < -2 || v > 2) continue;
    int playable = 1;
    const int correction = g.Rules.PiecesOnBlack < 2 ? IsPlayableCorrection(g.Rules.PiecesOnBlack, cell, &playable) : 0;
    pieces.emplace_back(playable ? cell : cell + correction, v);
  }
  return pieces;
}

// The start position of the game as the FEN tag gives it: the colour that
// moves first, then the white and the black pieces by their squares in the
// notation in force ("W:W18,K26,27:B1,2,K5"), in the order of their names.
std::string FenOfStart(const GameState& g, char firstColour) {
  std::array<std::vector<std::pair<int, std::string>>, 2> sides;  // white, black
  for (const auto& [cell, v] : StartPieces(g)) {
    const std::string name = SquareNotation(g, cell, 1);
    if (name.empty() || SquareNumber(g, ToUpper(name)) != cell) continue;
    // Numbers in their order; algebraic squares rank by rank, then by file.
    const bool letter = std::isalpha(static_cast<unsigned char>(name[0])) != 0;
    const int order = letter ? ValInt(name.substr(1)) * 32 + (std::tolower(static_cast<unsigned char>(name[0])) - 'a')
                             : ValInt(name);
    sides[v > 0 ? 0 : 1].emplace_back(order, (v == 2 || v == -2 ? "K" : "") + name);
  }
  std::string fen(1, firstColour);
  for (int s = 0; s < 2; ++s) {
    std::sort(sides[s].begin(), sides[s].end());
    fen += s == 0 ? ":W" : ":B";
    for (size_t i = 0; i < sides[s].size(); ++i) fen += (i ? "," : "") + sides[s][i].second;
  }
  return fen;
}

// Whether the start position is the one every game of the 32 squares begins
// with: black men on squares 1 to 12, white men on 21 to 32.
bool StandardStart(GameState& g) {
  if (g.Rules.PiecesOnBlack >= 2) return false;
  ScopedNotation numbers(g, 1);
  const auto pieces = StartPieces(g);
  for (const auto& [cell, v] : pieces) {
    const int n = ValInt(SquareNotation(g, cell, 1));
    if (!((v == -1 && n >= 1 && n <= 12) || (v == 1 && n >= 21 && n <= 32))) return false;
  }
  return pieces.size() == 24;
}

// The GameType number a game goes out with: its variant's, when the rules in
// force are those the shipped variant gives the game type (whichever colour
// moves first); else 0, so that no other program takes a variant of the
// user's under a shipped name for the standard game.
int WrittenGameType(const GameState& g) {
  const int type = PdnGameTypeNumber(g.Rules.Variant);
  if (type == 0) return 0;
  RuleSet shipped;
  if (type == PdnGameTypeNumber(BuiltinVariantName(1))) {
    shipped = BuiltInRules(1);
  } else {
    VariantFileData data;
    const auto bytes = ReadVariantBytes(VariantFilePath(g, 1, g.Rules.Variant), nullptr);
    if (!bytes || !ParseVariantText(*bytes, g.Rules.Variant, data, nullptr)) return 0;
    shipped = data.rules;
  }
  shipped.BlackStarts = g.Rules.BlackStarts;  // a set-up position says who starts
  return SameRules(g.Rules, shipped) ? type : 0;
}

}  // namespace

ForeignText ReadPdnText(std::string_view bytes) {
  ForeignText reading = ReadForeignText(bytes, GameStarts(bytes));
  std::replace(reading.text.begin(), reading.text.end(), '\0', ' ');
  return reading;
}

int PdnGame::LineAt(size_t offset) const {
  // lineStarts grows with the offset: the last start at or before it.
  const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset,
                                      [](size_t at, const std::pair<size_t, int>& s) { return at < s.first; });
  return after == lineStarts.begin() ? firstLine : std::prev(after)->second;
}

std::string PdnRowText(const PdnTags& t) { return t.Round.empty() ? t.Event : t.Event + " " + t.Round; }

std::array<std::string, 9> PdnRowColumns(const PdnTags& t) {
  return {t.Date, t.Black, t.White, t.Result, t.Site, t.SetUp, t.Eco, t.BlackElo, t.WhiteElo};
}

bool ReadPdnFile(std::string_view bytes, std::string_view fileTitle, PdnFile& out, FileProblem& problem) {
  out = PdnFile{};
  const std::string title(fileTitle);
  ForeignText reading = ReadPdnText(bytes);
  const std::string& text = reading.text;
  std::string_view head = std::string_view(text).substr(0, 80);
  while (!head.empty() && (head[0] == '\r' || head[0] == '\n' || head[0] == ' ' || head[0] == '\t'))
    head.remove_prefix(1);
  if (!IsFirstTag(head)) {
    problem = {"Morventa8", title + " is not a PDN file"};
    return false;
  }

  PdnTags tags;
  PdnGame* current = nullptr;  // the game whose move lines are being joined
  bool inComment = false;      // inside a "{...}" of the current game's moves
  bool tagsSinceGame = false;
  size_t tagsAt = 0;  // where the tags of the next game begin in the text
  std::vector<std::pair<std::string, std::string>> tagList;  // of the next game
  int n = 0;
  bool bad = false;
  // Reads the tags standing one after another at the front of the text.
  auto readTags = [&](std::string_view rest) {
    if (!out.games.empty()) out.games.back().endsFile = false;
    current = nullptr;
    if (!tagsSinceGame) tagsAt = static_cast<size_t>(rest.data() - text.data());
    tagsSinceGame = true;
    while (!rest.empty() && rest[0] == '[') {
      PdnTagText tag;
      const bool cut = CutPdnTag(rest, &tag);
      const size_t length = cut ? tag.length : rest.size();
      const std::string_view one = rest.substr(0, length);
      if (!ParsePdnTag(one, tags, n)) {
        problem = {"Error", "Error in loading PDN file!\r\n" + title + ", line " + std::to_string(n) +
                                ": the tag has no value"};
        bad = true;
        return;
      }
      if (cut && tag.hasValue) tagList.emplace_back(tag.name, tag.value);
      std::string version;
      if (PdnTagValue(one, "KVersion", &version)) out.version = version;
      rest = TrimView(rest.substr(length));
    }
  };
  // A move line: joined to the game being read, or the first line of a new
  // game after its tags; further lines after an empty line are skipped.
  auto addMoveLine = [&](std::string_view line) {
    if (current) {
      current->lineStarts.emplace_back(current->moveText.size() + 1, n);
      current->moveText += ' ';
      current->moveText += line;
      return;
    }
    if (!tagsSinceGame) return;
    tagsSinceGame = false;
    PdnGame& game = out.games.emplace_back();
    game.tags = tags;
    game.encoding = std::string(ReadingName(reading.ReadingAt(tagsAt)));
    game.tagList = std::move(tagList);
    tagList.clear();
    game.firstLine = n;
    game.lineStarts.emplace_back(0, n);
    game.moveText = std::string(line);
    current = &game;
    tags = PdnTags{};
  };
  ForEachLine(text, [&](std::string_view raw) {
    ++n;
    if (bad) return;
    const std::string_view line = TrimView(raw);
    // A line of tags, unless it goes on with a comment that closes on it (a
    // comment left open never hides the games after it).
    const bool commentGoesOn = current && inComment && line.find('}') != std::string_view::npos;
    if (StartsWith(line, "[") && !commentGoesOn) {
      readTags(line);
      return;
    }
    if (line.empty()) {
      current = nullptr;
      return;
    }
    // Lines after a game's moves (another game, or lines left over after
    // an empty line): the file goes on after it.
    if (!current && !out.games.empty()) out.games.back().endsFile = false;
    if (!current && tagsSinceGame) inComment = false;  // a game begins here
    // A tag after the moves on the same line ("... 1-0 [Event ...") begins
    // the next game.
    const size_t tag = TagAfterMoves(line, inComment);
    const std::string_view moves = TrimView(line.substr(0, tag));
    if (!moves.empty()) addMoveLine(moves);
    if (tag != std::string_view::npos) readTags(line.substr(tag));
  });
  if (bad) return false;
  if (out.games.empty()) {
    problem = {"Morventa8", "No games found!"};
    return false;
  }
  for (PdnGame& game : out.games)
    if (game.tags.Result.empty()) game.tags.Result = ResultAtEnd(game.moveText, game.endsFile);
  return true;
}

bool SplitPdnMoves(const PdnGame& game, std::string_view fileTitle, std::vector<GameFileItem>& items,
                   FileProblem& problem, std::string* note) {
  items.clear();
  if (note) note->clear();
  const std::string& t = game.moveText;
  const size_t n = t.size();
  std::string pending;
  bool hasPending = false;
  int pendingLine = 0;
  auto flush = [&] {
    if (hasPending) items.push_back({true, pending, pendingLine});
    pending.clear();
    hasPending = false;
  };
  auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  size_t i = 0;
  while (i < n) {
    const char c = t[i];
    if (isSpace(c)) {
      ++i;
      continue;
    }
    if (c == '{') {
      const size_t close = t.find('}', i + 1);
      const std::string comment = Trim(t.substr(i + 1, (close == std::string::npos ? n : close) - i - 1));
      // Comments in a row become one, a line each (appended in place: a
      // file of many empty comments stays linear).
      if (hasPending) pending += '\n';
      pending += comment;
      if (!hasPending) pendingLine = game.LineAt(i);
      hasPending = true;
      i = close == std::string::npos ? n : close + 1;
      continue;
    }
    if (c == '(') {  // a variation, with its own variations and comments
      int depth = 0;
      for (; i < n; ++i) {
        if (t[i] == '{') {
          const size_t close = t.find('}', i + 1);
          i = close == std::string::npos ? n - 1 : close;
        } else if (t[i] == '(') {
          ++depth;
        } else if (t[i] == ')' && --depth == 0) {
          ++i;
          break;
        }
      }
      continue;
    }
    const size_t start = i;
    auto readToken = [&] {
      std::string tok;
      while (i < n && !isSpace(t[i]) && t[i] != '{' && t[i] != '(') tok += t[i++];
      return tok;
    };
    std::string token = readToken();
    // "11- 15" and "9x 14": a separator at the end joins the next token,
    // the rest of the move. Dashes alone are no move in two parts ("1. - -
    // 2. - -"); a result such as "+-" is no move either, nor is a next token
    // that is a move of its own ("1- 23-19": "1-" is what the file holds).
    while (!token.empty() && IsSeparator(token.back()) && token.find('.') == std::string::npos &&
           token.find_first_not_of('-') != std::string::npos && !IsResult(token)) {
      size_t j = i;
      while (j < n && isSpace(t[j])) ++j;
      if (j >= n || t[j] == '{' || t[j] == '(') break;
      const size_t restStart = j;
      size_t restEnd = j;
      while (restEnd < n && !isSpace(t[restEnd]) && t[restEnd] != '{' && t[restEnd] != '(') ++restEnd;
      const std::string_view rest = std::string_view(t).substr(restStart, restEnd - restStart);
      const size_t inner = rest.find_first_of("-xX:");
      if (inner != std::string_view::npos && inner + 1 < rest.size() && inner > 0) break;
      i = j;
      token += readToken();
    }
    // A move number, alone or glued to the move ("12.", "1...", "1.11-15").
    size_t digits = 0;
    while (digits < token.size() && token[digits] >= '0' && token[digits] <= '9') ++digits;
    if (digits < token.size() && token[digits] == '.') {
      size_t dots = digits;
      while (dots < token.size() && token[dots] == '.') ++dots;
      token.erase(0, dots);
    } else if (!token.empty() && token.find_first_not_of('.') == std::string::npos) {
      token.clear();
    }
    if (token.empty()) continue;
    const bool atEnd = t.find_first_not_of(" \t", i) == std::string::npos;
    // "1/2" (or "½") alone is half a draw's result: at the end of the file,
    // one cut short as "1/2-" is; where the file goes on, the draw.
    const std::string plain = HalvesAsDigits(token);
    const bool halfAtEnd = plain == "1/2" && atEnd && game.endsFile;
    if (IsResult(token) && !halfAtEnd) break;
    if (token[0] == '$') continue;
    while (!token.empty() && (token.back() == '!' || token.back() == '?')) token.pop_back();
    auto refuse = [&](const std::string& why) {
      const int line = game.LineAt(start);
      problem = {"Error",
                 "Error in loading PDN file!\r\n" + std::string(fileTitle) + ", line " + std::to_string(line) +
                     ": \"" + Excerpt(token) + "\" " + why,
                 line};
      return false;
    };
    // "1. - - 2. - -": dashes stand where the moves were left out.
    if (token.find_first_not_of('-') == std::string::npos)
      return refuse("is a placeholder, not a move: the file leaves this move out");
    // A token of result characters that is no result: "+/-", or "1/2-" where
    // the file ends in the middle of one.
    const bool resultLike = plain.find_first_not_of("0123456789/-+=:*") == std::string::npos &&
                            (plain.find_first_of("/+=*") != std::string::npos || IsSeparator(plain.front()) ||
                             IsSeparator(plain.back()));
    if (resultLike && atEnd) {
      // The moves before it stand; the result is what the tags say, or
      // unknown. A Result tag that the token begins ("1/2" of "1/2-1/2")
      // already gives the result: nothing to tell.
      const std::string& tagged = game.tags.Result;
      const std::string taggedResult = PdnStandardResult(tagged);
      const bool tagGivesIt = taggedResult != "*" && StartsWith(taggedResult, plain);
      if (note && !tagGivesIt) {
        *note = std::string(fileTitle) + ", line " + std::to_string(game.LineAt(start)) + ": \"" + Excerpt(token) +
                "\" looks like the game's result, cut short by the end of " +
                (game.endsFile ? "the file; " : "the game's moves; ") +
                (tagged.empty() || tagged == "*" ? std::string("the result is taken as unknown (*).")
                                                 : "the Result tag's \"" + Excerpt(tagged) + "\" stands.");
      }
      break;
    }
    // A separator stands between two squares: "d4:" names no square to go to.
    const bool squareMissing = IsSeparator(token.front()) || IsSeparator(token.back());
    const bool move = !resultLike && !squareMissing &&
                      (token.find_first_of("-xX:") != std::string::npos || IsSquareName(token));
    if (!move || token.size() > kMaxMoveTokenChars) return refuse("is not a move");
    flush();
    if (static_cast<int>(items.size()) >= 2 * kGameTables) {
      problem = {"Error", "Error in loading PDN file!\r\n" + std::string(fileTitle) + ": the game is too long"};
      return false;
    }
    items.push_back({false, token, game.LineAt(start)});
  }
  flush();
  return true;
}

std::string PdnMoveKey(std::string_view token) {
  // Every square the token names, two characters each: a capture given with
  // its landing squares keeps them all, so the loader plays that route.
  std::string key, name;
  bool separated = false;
  for (char c : token) {
    if (IsSeparator(c)) {
      key += Pad2(name).substr(0, 2);
      name.clear();
      separated = true;
    } else {
      name += c;
    }
  }
  if (!separated) return Pad2(name);
  return key + Pad2(name).substr(0, 2);
}

bool ParsePdnRulesTag(std::string_view value, std::string_view versionText, PdnRulesTag& out,
                      std::string* why) {
  out = PdnRulesTag{};
  auto fail = [&](const std::string& w) {
    if (why) *why = w;
    return false;
  };
  std::string_view rest;
  if (!StartsWith(value, "*")) {
    const size_t blank = value.find(' ');
    const std::string_view index = value.substr(0, blank);
    out.variant = AllDigits(index) ? BuiltinVariantName(ValInt(index)) : std::string();
    if (out.variant.empty()) return fail("no built-in variant has the number " + Excerpt(index));
    out.shortForm = true;
    rest = blank == std::string_view::npos ? std::string_view{} : value.substr(blank + 1);
  } else {
    const size_t close = value.find('*', 1);
    if (close == std::string_view::npos) return fail("the variant name has no closing *");
    out.variant = std::string(value.substr(1, close - 1));
    if (!IsSafeFileName(out.variant) || CharCount(out.variant) > kFieldChars)
      return fail("\"" + Excerpt(out.variant) + "\" is not a valid variant name");
    rest = value.substr(close + 1);
  }
  while (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);

  auto next = [&]() {
    const size_t blank = rest.find(' ');
    std::string_view tok = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    return tok;
  };
  // The first value that is no whole number in its key's range, quoted as
  // the tag writes it.
  std::string badValue;
  auto whole = [&](const char* key, std::string_view tok) {
    const std::optional<int32_t> n = WholeNumber(tok);
    int lo = 0, hi = 0;
    RuleValueRange(key, &lo, &hi);
    const std::string range = std::to_string(lo) + ".." + std::to_string(hi);
    if (badValue.empty() && (!n || *n < lo || *n > hi))
      badValue = std::string(key) + "=" + Excerpt(tok) +
                 (n ? " is outside " + range : " is not a whole number in " + range);
    out.values.emplace_back(FindRuleKey(key), n.value_or(0));
    return n.value_or(0);
  };
  auto number = [&](const char* key) { whole(key, next()); };

  out.setup = std::string(next());
  if (out.setup.size() > 64 || out.setup.find_first_not_of("01234") != std::string::npos)
    return fail("the position \"" + Excerpt(out.setup) + "\" is not a set-up of digits 0 to 4");
  for (const char* key : kTagHead) number(key);
  for (auto& promo : out.promo) {
    promo = ToUpper(next());
    std::array<int32_t, kPromoEntries> squares;
    std::string why;
    if (!ParsePromoSquares(promo, squares, &why)) return fail("the promotion squares: " + why);
  }
  for (const char* key : kTagBody) number(key);
  if (!out.shortForm) {
    // Bounded, so that no version text, however large, small or unreadable,
    // leaves the range: past the newest it reads every field.
    const int64_t version = std::clamp<int64_t>(IntFloor(Val(versionText) * 100 + 0.5), -1, 1000000);
    for (const auto& group : kTagGroups)
      if (version >= group.version)
        for (const char* key : group.keys) number(key);
  }
  if (!badValue.empty()) return fail(badValue);
  for (int k = 0; k < 4; ++k) {
    const size_t end = rest.find("  ");
    if (end == std::string_view::npos && k < 3) return fail("the four movement strings are missing");
    out.movement[k] = MovementText(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 2);
    const std::string& m = out.movement[k];
    std::string why;
    if (!CheckMovementString(m, &why)) return fail(why + " in the movement \"" + Excerpt(m) + "\"");
  }
  // The last field, checked as every other one.
  out.manContJumpCrowned = whole("ManContJumpCrowned", rest);
  return badValue.empty() || fail(badValue);
}

bool PdnGameTypeVariant(std::string_view gameType, std::string* variant, std::string* why) {
  const std::string value = Trim(gameType);
  const std::string number = value.substr(0, value.find(','));
  const std::string shown = "GameType \"" + Excerpt(value) + "\"";
  if (!AllDigits(number) || number.size() > 4) {
    *why = shown + " is not a game type number.";
    return false;
  }
  const GameType* type = nullptr;
  for (const auto& t : kGameTypes)
    if (t.number == ValInt(number)) type = &t;
  if (!type) {
    *why = shown + ": game type " + number + " is not a game Morventa8 knows.";
    return false;
  }
  // The optional attributes: colour, board width, board height, notation.
  std::vector<std::string> fields;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t comma = value.find(',', at);
    fields.push_back(Trim(std::string_view(value).substr(at, comma == std::string::npos ? comma : comma - at)));
    at = comma == std::string::npos ? comma : comma + 1;
  }
  const bool otherBoard = fields.size() >= 4 && (fields[2] != "8" || fields[3] != "8");
  if (*type->variant == '\0' || otherBoard) {
    const std::string board = otherBoard ? fields[2] + "x" + fields[3] : type->board;
    *why = shown + " is " + type->game + " on the " + board + " board; Morventa8 plays on the 8x8 board only.";
    return false;
  }
  *variant = type->variant;
  return true;
}

int PdnGameTypeNumber(std::string_view variant) {
  for (const auto& t : kGameTypes)
    if (variant == t.variant) return t.number;
  return 0;
}

std::string PdnStandardResult(std::string_view result) {
  // "½" as "1/2": "½-½" and "½" alone are draws as "1/2-1/2" and "1/2" are.
  std::string r = ToUpper(HalvesAsDigits(Trim(result)));
  r.erase(std::remove(r.begin(), r.end(), ' '), r.end());
  static constexpr const char* kKept[] = {"1-0", "0-1", "1/2-1/2", "*", "2-0", "0-2", "1-1", "0-0"};
  std::string dashed = r;  // "2:0" is "2-0"
  std::replace(dashed.begin(), dashed.end(), ':', '-');
  for (const char* k : kKept)
    if (r == k || dashed == k) return k;
  static constexpr const char* kWhite[] = {"1:0", "+/-", "+-", "WHITEWINS", "WHITEWON"};
  static constexpr const char* kBlack[] = {"0:1", "-/+", "-+", "BLACKWINS", "BLACKWON"};
  static constexpr const char* kDraw[] = {"1/2:1/2", "=", "1/2", "DRAW", "\xBD-\xBD", "\xBD", "0.5-0.5"};
  for (const char* k : kWhite)
    if (r == k) return "1-0";
  for (const char* k : kBlack)
    if (r == k) return "0-1";
  for (const char* k : kDraw)
    if (r == k) return "1/2-1/2";
  return "*";
}

std::string PdnRulesTagValue(GameState& g) {
  const RuleSet& r = g.Rules;
  auto num = [&](const char* key) { return std::to_string(r.*FindRuleKey(key)->member) + " "; };
  std::string v = "*" + CleanValue(r.Variant) + "* " + BoardToSetupString(g) + " ";
  for (const char* key : kTagHead) v += num(key);
  {
    ScopedNotation hold(g, 0);
    v += PromoSquaresText(g, 0) + " " + PromoSquaresText(g, 1) + " ";
  }
  for (const char* key : kTagBody) v += num(key);
  for (const auto& group : kTagGroups)
    for (const char* key : group.keys) v += num(key);
  for (const auto& m : r.MovementStrings) v += CleanValue(MovementText(m)) + "  ";
  return v + std::to_string(r.ManContJumpCrowned);
}

bool ParseFen(std::string_view fen, FenPosition& out) {
  out = FenPosition{};
  auto refuse = [&](std::string why) {
    out.why = std::move(why);
    return false;
  };
  const std::string s = Trim(fen);
  const std::string upper = ToUpper(s);
  if (upper == "W::.") return refuse("the FEN \"" + s + "\" places no piece: the board is empty");
  if (upper.size() < 2 || upper[1] != ':' || (upper[0] != 'W' && upper[0] != 'B'))
    return refuse("the FEN \"" + Excerpt(s) + "\" does not begin with the side to move, W: or B:");
  out.sideToMove = upper[0] == 'W' ? 1 : -1;
  std::string_view rest = std::string_view(s).substr(2);
  rest = rest.substr(0, rest.find('.'));
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    std::string_view section = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    while (!section.empty() && section[0] == ' ') section.remove_prefix(1);
    if (section.empty()) continue;
    // Sections of other letters ("H0" half-moves, "F1" move number) place nothing.
    const char colour = static_cast<char>(std::toupper(static_cast<unsigned char>(section[0])));
    if (colour != 'W' && colour != 'B') continue;
    const int sign = colour == 'W' ? 1 : -1;
    section.remove_prefix(1);
    while (!section.empty()) {
      const size_t comma = section.find(',');
      std::string tok = Trim(section.substr(0, comma));
      section = comma == std::string_view::npos ? std::string_view{} : section.substr(comma + 1);
      int value = sign;
      if (!tok.empty() && (tok[0] == 'K' || tok[0] == 'k')) {
        value = 2 * sign;
        tok.erase(0, 1);
      }
      if (tok.empty()) continue;
      const std::string noSquare = "the FEN's \"" + Excerpt(tok) + "\" names no square";
      if (std::isalpha(static_cast<unsigned char>(tok[0]))) {
        // An algebraic square ("c3"), as files in the letters write them.
        if (tok.size() != 2 || !std::isdigit(static_cast<unsigned char>(tok[1]))) return refuse(noSquare);
        out.pieces.push_back({0, value, ToUpper(tok)});
        continue;
      }
      const size_t dash = tok.find('-');
      const std::string a = Trim(tok.substr(0, dash));
      std::string b = dash == std::string::npos ? a : Trim(tok.substr(dash + 1));
      if (!b.empty() && (b[0] == 'K' || b[0] == 'k')) b.erase(0, 1);  // "K1-K3"
      if (!AllDigits(a) || !AllDigits(b) || a.size() > 2 || b.size() > 2) return refuse(noSquare);
      const int lo = ValInt(a), hi = ValInt(b);
      if (lo > 32 || hi > 32) {
        out.squareAbove32 = true;
        return refuse("the FEN names square " + std::to_string(lo > 32 ? lo : hi) +
                      ", and the squares are numbered 1 to 32");
      }
      if (hi < lo) return refuse("the FEN's range \"" + Excerpt(tok) + "\" runs backwards");
      for (int k = lo; k <= hi; ++k) out.pieces.push_back({k, value, {}});
    }
  }
  // A square named for two different pieces ("B:W18:B18") is no position.
  std::map<std::pair<int, std::string>, int> placed;
  for (const FenPiece& piece : out.pieces) {
    const auto [at, added] = placed.emplace(std::pair(piece.number, piece.square), piece.value);
    if (!added && at->second != piece.value) {
      return refuse("the FEN puts two pieces on " +
                    (piece.square.empty() ? std::to_string(piece.number) : ToLower(piece.square)));
    }
  }
  return true;
}

std::string PdnToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%m/%d/%Y", &local);
  return buf;
}

namespace {

constexpr std::string_view kComputerPlayerName = "Computer";

// Whether the computer made every move of one side (0 the side that moves
// first) in the game record, and that side made one at least.
bool ComputerMadeEveryMove(const GameState& g, int side) {
  const int length = std::clamp(g.Game.GameLength, 0, kMaxGamePly);
  bool any = false;
  for (int ply = side + 1; ply <= length; ply += 2) {
    const std::string& madeBy = g.Game.GameRecord[(ply + 1) / 2][2 + side];
    if (madeBy != "1") return false;
    any = true;
  }
  return any;
}

}  // namespace

std::string PdnGameText(GameState& g, std::string_view today) {
  GameHeader& h = g.Header;
  if (h.GameDate.empty()) h.GameDate = std::string(today);
  if (g.Flow.GameResult.empty()) g.Flow.GameResult = "*";
  std::string out;
  auto line = [&](const std::string& s) { out += s + "\r\n"; };
  auto tag = [&](const char* name, const std::string& value, bool always) {
    if (always || !value.empty()) line(PdnTagLine(name, CleanValue(value)));
  };
  // Square numbers, unless every square is in play or algebraic PDN is asked for.
  const bool algebraic = g.Opt.PdnAlgebraic == 1 || g.Rules.PiecesOnBlack == 2;
  ScopedNotation hold(g, algebraic ? 0 : 1);

  tag("Event", h.GameEvent, false);
  tag("Round", h.GameRound, false);
  tag("Date", h.GameDate, true);
  // Each side goes out with the name typed in the details, else with the
  // name beside the board (the user's, "Computer"): PlayerName1 stands beside
  // the side that moves first. A side whose every move the computer made is
  // the computer's, whatever the board shows now (a game the computer played
  // against itself shows the user again once that mode ends).
  const bool blackFirst = g.Rules.BlackStarts == 1;
  const std::string first = ComputerMadeEveryMove(g, 0) ? std::string(kComputerPlayerName) : g.Flow.PlayerName1;
  const std::string second = ComputerMadeEveryMove(g, 1) ? std::string(kComputerPlayerName) : g.Flow.PlayerName2;
  const std::string black = !h.GameBlack.empty() ? h.GameBlack : blackFirst ? first : second;
  const std::string white = !h.GameWhite.empty() ? h.GameWhite : blackFirst ? second : first;
  tag("Black", black, false);
  tag("BlackElo", h.GameBlackElo, false);
  tag("White", white, false);
  tag("WhiteElo", h.GameWhiteElo, false);
  tag("Site", h.GameSite, false);
  const std::string result = PdnStandardResult(g.Flow.GameResult);
  tag("Result", result, true);
  tag("ECO", h.GameEco, false);
  const int type = WrittenGameType(g);
  if (type) line(PdnTagLine("GameType", std::to_string(type)));
  // Other programs start from the usual position with the usual colour to
  // move: a game that does not gets its start in the standard tags.
  const char firstColour = g.Rules.BlackStarts == 1 ? 'B' : 'W';
  const bool secondStarts = firstColour != UsualFirstColour(type);
  if (secondStarts || !StandardStart(g)) {
    line(PdnTagLine("SetUp", "1"));
    line(PdnTagLine("FEN", FenOfStart(g, firstColour)));
  }
  const int32_t savedSet = g.Eval.StandardRuleSet;
  const bool americanRules = IdentifyStandardRules(g);
  g.Eval.StandardRuleSet = savedSet;
  // A variant of the user's with the American rules is its own variant all
  // the same: only American Checkers itself goes without the rules tags.
  if (!americanRules || g.Rules.Variant != BuiltinVariantName(1)) {
    line(PdnTagLine("KVersion", kRulesTagVersion));
    line(PdnTagLine("Tavrin", PdnRulesTagValue(g)));
  }
  line("");
  const int length = std::clamp(g.Game.GameLength, 0, kMaxGamePly);
  std::string buffer;
  // The comment of the position before ply p + 1, on one line.
  auto addComment = [&](int p) {
    const std::string& comment = g.Game.PlyComments[p];
    if (comment.empty()) return;
    std::string c;
    for (size_t i = 0; i < comment.size(); ++i) {
      if (comment[i] == '\r' && i + 1 < comment.size() && comment[i + 1] == '\n') continue;
      c += comment[i] == '\n' || comment[i] == '\r' ? std::string("  ") : std::string(1, comment[i] == '}' ? ')' : comment[i]);
    }
    buffer += "{" + CleanValue(c) + "} ";
  };
  // Moves are numbered in pairs from the usual first colour's move; a game
  // that the other colour begins opens with "1... ".
  const int shift = secondStarts ? 1 : 0;
  for (int p = 0; p < length; ++p) {
    if ((p + shift) % 2 == 0) buffer += std::to_string((p + shift) / 2 + 1) + ". ";
    else if (p == 0) buffer += "1... ";
    addComment(p);
    const MoveRecord& m = g.Game.GameMoves[p + 1];
    std::string token = SquareNotation(g, m.To, 1);
    if (m.FullPath == 1 && m.IsCapture() && m.From != kNoSquare) {
      // The full form: every landing square ("22x13x6", "c3xa5xc7").
      const std::vector<int> path = CapturePath(m);
      token = SquareNotation(g, path.front(), 1);
      for (size_t i = 1; i < path.size(); ++i) token += "x" + SquareNotation(g, path[i], 1);
    } else if (m.From != kNoSquare) {
      token = SquareNotation(g, m.From, 1) + (m.IsCapture() ? "x" : "-") + token;
    }
    buffer += token + " ";
    if (buffer.size() > 70) {
      line(buffer);
      buffer.clear();
    }
  }
  addComment(length);  // the final position's comment stands before the result
  line(buffer + result);
  line("");
  return out;
}

}  // namespace m8
