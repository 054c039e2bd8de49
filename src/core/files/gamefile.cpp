#include "core/files/gamefile.h"

#include <algorithm>
#include <optional>

#include "core/fileio.h"
#include "core/files/builtinvariants.h"
#include "core/files/settings.h"
#include "core/numtext.h"
#include "core/textlimits.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/rules/variantfile.h"

namespace m8 {

namespace {

// The rule keys of lines 6 to 48 in the order they are written; "" marks the
// two promotion lines.
constexpr const char* kWrittenKeys[] = {
    "MulJumps",      "MaxCapMove",     "BlackStarts",    "",               "",
    "PiecesOnBlack", "AntiMode",       "WinAtPromo",     "MaxCapMoveKings", "ManCapKing",
    "KingCapMove",   "ManContJump",    "LongKings",      "RemovePieces",   "KingFirst",
    "ManCapMoveKing", "KingWin",       "MaxCapMoveK",    "CapRequired",    "NoLegalDraw",
    "RemoveMen",     "NumberMen",      "DoMoves",        "NumberMoves",    "LastCap",
    "ManKing",       "KingMan",        "ChangeSide",     "ThreeKings",     "NumberKings",
    "CapReverse",    "RndColor",       "JumpFriend",     "NumberFriends",  "TwoKings",
    "NumberKings2",  "NumberPieces",   "canContract",    "ContractNumber", "ContractW1",
    "ContractW2",    "ContractB1",     "ContractB2",
};

// True when the text begins (after blanks) with a number Val can read.
bool HasNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// Control characters would break the line structure of the file.
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
  return out;
}

// Comment lines. The text is handled in UTF-8 here; the file's bytes are
// converted around it. A line break is written as two characters U+00FF
// ("\xFF\xFF" in a Latin-1 file). A comment that holds a U+00FF of its own,
// or whose text would leave the braces in doubt, is written between doubled
// braces, "{{...}}": there U+00FF is an escape, followed by a second one for a
// line break and by "!" for the character itself.
constexpr std::string_view kYDiaeresis = "\xC3\xBF";  // U+00FF in UTF-8

std::string CommentLine(std::string_view comment) {
  const bool escaped = comment.find(kYDiaeresis) != std::string_view::npos || StartsWith(comment, "{") ||
                       (!comment.empty() && comment.back() == '}');
  std::string out = escaped ? "{{" : "{";
  for (size_t i = 0; i < comment.size(); ++i) {
    const char c = comment[i];
    if (c == '\r' && i + 1 < comment.size() && comment[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') {
      out += kYDiaeresis;
      out += kYDiaeresis;
    } else if (escaped && comment.substr(i, 2) == kYDiaeresis) {
      out += kYDiaeresis;
      out += '!';
      ++i;
    } else {
      out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    }
  }
  return out + (escaped ? "}}" : "}");
}

// A comment line as UTF-8 back to the comment.
std::string CommentFromLine(std::string_view line) {
  const bool escaped = StartsWith(line, "{{") && line.size() >= 4 && line.substr(line.size() - 2) == "}}";
  const size_t brace = escaped ? 2 : 1;
  const std::string_view body = line.substr(brace, line.size() >= 2 * brace ? line.size() - 2 * brace : 0);
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body.substr(i, 4) == "\xC3\xBF\xC3\xBF") {
      out += '\n';
      i += 3;
    } else if (escaped && body.substr(i, 3) == "\xC3\xBF!") {
      out += kYDiaeresis;
      i += 2;
    } else {
      out += body[i];
    }
  }
  return out;
}

}  // namespace

std::string MovementText(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return std::string(text.substr(0, end));
}

namespace {

class Reader {
 public:
  Reader(std::string_view title, GameFileData& out, FileProblem& problem)
      : title_(title), out_(out), problem_(problem) {}

  bool Fail(int line, const std::string& why) {
    problem_.title = "Error";
    problem_.text = "Error in loading game file!\r\n" + title_ + ", line " + std::to_string(line) + ": " + why;
    return false;
  }

  bool Keyed(std::string_view line, int n);
  bool Move(std::string_view line, int n);

  bool started = false;
  bool ended = false;
  int movementLeft = 0;
  int movementLine = 0;

 private:
  std::string title_;
  GameFileData& out_;
  FileProblem& problem_;
  std::string setup_;
  int setupLine_ = 0;
  std::optional<int32_t> notation_;
};

bool Reader::Keyed(std::string_view line, int n) {
  if (movementLeft > 0) {
    // A leading blank is an empty move part (men that only capture).
    (*out_.Movement)[4 - movementLeft] = MovementText(line);
    const std::string& s = (*out_.Movement)[4 - movementLeft];
    std::string why;
    if (!CheckMovementString(s, &why)) return Fail(n, why + " in the movement \"" + Excerpt(s) + "\"");
    --movementLeft;
    return true;
  }
  if (line == "START") {
    started = true;
    return true;
  }
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return true;  // no key: skipped
  const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
  if (key == "Setup") {
    const std::string setup = Trim(value);
    if (setup.size() > 64) return Fail(n, "the position has more than 64 squares");
    for (char c : setup)
      if (c < '0' || c > '4') return Fail(n, std::string("'") + c + "' in the position is not a digit 0 to 4");
    setup_ = setup;
    setupLine_ = n;
    out_.Setup = setup;
    out_.SetupLine = n;
  } else if (key == "Book") {
    if (!HasNumber(value)) return Fail(n, "Book is not a number");
    out_.Book = ValInt(value);
  } else if (key == "Variant") {
    std::string name;
    if (!StartsWith(value, "*")) {
      const int index = ValInt(value);
      name = BuiltinVariantName(index);
      if (!HasNumber(value) || name.empty()) return Fail(n, "no built-in variant has the number " + Excerpt(value));
    } else {
      name = std::string(value.substr(1, value.size() >= 2 ? value.size() - 2 : 0));
    }
    if (!IsVariantName(name))
      return Fail(n, "\"" + Excerpt(name) + "\" is not a valid variant name");
    out_.Variant = name;
  } else if (key == "Notation") {
    notation_ = std::clamp(ValInt(value), 0, 2);
    out_.Notation = notation_;
  } else if (key == "UseClassic") {
    out_.UseClassic = ValInt(value) == 1 ? 1 : 0;
    out_.UseClassicSeen = true;
    out_.SetupAtUseClassic = setup_;
    out_.SetupAtUseClassicLine = setupLine_;
  } else if (key == "PlayerName") {
    out_.PlayerName = std::string(value);
    if (LimitField(*out_.PlayerName))
      out_.CutFields.push_back(title_ + ", line " + std::to_string(n) + ": " + FieldCutText("the player's name"));
  } else if (key == "PromoW" || key == "PromoB") {
    if (value.size() > 2 * kPromoEntries) return Fail(n, "more than 12 promotion squares");
    (key == "PromoW" ? out_.PromoW : out_.PromoB) = GameFileData::Promo{std::string(value), notation_};
  } else if (key == "Offset") {
    out_.Movement.emplace();
    *out_.Movement = RuleSet{}.MovementStrings;
    movementLeft = 4;
    movementLine = n;
  } else if (const RuleKey* k = FindRuleKey(key)) {
    // A rule value is a whole number written out ("1.5" or "1junk" is none)
    // in its key's range, quoted as the file writes it.
    const std::optional<int32_t> v = WholeNumber(value);
    int lo = 0, hi = 0;
    const bool ranged = RuleValueRange(key, &lo, &hi);
    const std::string range = std::to_string(lo) + ".." + std::to_string(hi);
    const std::string quoted = std::string(key) + "=" + Excerpt(value);
    if (!v) return Fail(n, quoted + " is not a whole number" + (ranged ? " in " + range : ""));
    if (ranged && (*v < lo || *v > hi)) return Fail(n, quoted + " is outside " + range);
    out_.RuleValues.emplace_back(k, *v);
  }
  return true;
}

bool Reader::Move(std::string_view line, int n) {
  ++out_.MoveLineCount;
  if (ended) return true;
  if (line.empty()) {
    ended = true;
    return true;
  }
  if (line[0] == '{') {
    out_.Items.push_back({true, CommentFromLine(line), n});
    return true;
  }
  int moves = 0;
  for (const auto& item : out_.Items) moves += item.comment ? 0 : 1;
  if (moves >= kMaxGamePly) return Fail(n, "the game has more than " + std::to_string(kMaxGamePly) + " moves");
  out_.Items.push_back({false, ToUpper(line), n});
  return true;
}

}  // namespace

bool ParseGameFile(std::string_view fileBytes, std::string_view fileTitle, GameFileData& out,
                   FileProblem& problem) {
  out = GameFileData{};
  const std::string text = DecodeText(fileBytes);
  const std::string_view bytes = text;
  const std::string title(fileTitle);
  const std::string_view header = kGameFileHeader;
  if (bytes.substr(0, header.size()) != header) {
    problem = {"Morventa8", title + " is not an Morventa8 file"};
    return false;
  }
  size_t eol = bytes.find_first_of("\r\n");
  std::string_view first = bytes.substr(0, eol);
  if (static_cast<float>(Val(first.substr(header.size()))) != static_cast<float>(Val(kGameFileVersion))) {
    problem = {"Error", std::string("Incorrect game file!\r\nNeed version ") + kGameFileVersion};
    return false;
  }

  Reader r(title, out, problem);
  int n = 0;
  bool ok = true;
  ForEachLine(bytes, [&](std::string_view line) {
    ++n;
    if (!ok || n == 1) return;
    ok = r.started ? r.Move(line, n) : r.Keyed(line, n);
  });
  if (!ok) return false;
  if (r.movementLeft > 0) return r.Fail(r.movementLine, "the file ends before the four movement lines");
  if (!r.started) return r.Fail(n, "the file ends before the line START");
  return true;
}

std::string PromoSquaresText(const GameState& g, int side) {
  std::string s;
  for (int sq : g.Rules.PromoSquares[side])
    if (sq != -1) s += ToUpper(SquareNotation(g, sq, 0));
  return s;
}

std::string MoveLineText(const GameState& g, const MoveRecord& m) {
  // A move line has no separator: a capture that a move without capture
  // shares its start and end with is written with every landing square.
  if (m.QuietSharesEnds == 1 && m.IsCapture() && m.From != kNoSquare) return CompactPathText(g, CapturePath(m));
  return CompactMoveText(g, m);
}

std::string GameFileHeaderText(const GameState& g) {
  std::string out;
  auto line = [&](const std::string& s) { out += s + "\r\n"; };
  const RuleSet& r = g.Rules;
  line(std::string(kGameFileHeader) + kGameFileVersion);
  line("Variant=*" + OneLine(r.Variant) + "*");
  line("Setup=" + BoardToSetupString(g));
  line("Book=" + std::to_string(g.Book.InBook));
  line("Notation=" + std::to_string(g.Opt.Notation));
  int promoSide = 0;
  for (const char* key : kWrittenKeys) {
    if (*key == '\0') {
      line((promoSide == 0 ? "PromoW=" : "PromoB=") + PromoSquaresText(g, promoSide));
      ++promoSide;
      continue;
    }
    line(std::string(key) + "=" + std::to_string(r.*FindRuleKey(key)->member));
  }
  line("UseClassic=" + std::to_string(g.Opt.UseClassic));
  line("Offset=");
  for (const auto& m : r.MovementStrings) line(OneLine(MovementText(m)));
  line("ManContJumpCrowned=" + std::to_string(r.ManContJumpCrowned));
  std::string name = OneLine(g.Opt.UserName);
  LimitField(name);  // as long as the reader takes
  line("PlayerName=" + name);
  line("START");
  return out;
}

std::string GameFileText(const GameState& g) {
  std::string out = GameFileHeaderText(g);
  const int length = std::clamp(g.Game.GameLength, 0, kMaxGamePly);
  for (int p = 0;; ++p) {
    if (!g.Game.PlyComments[p].empty()) out += CommentLine(g.Game.PlyComments[p]) + "\r\n";
    if (p == length) break;
    out += MoveLineText(g, g.Game.GameMoves[p + 1]) + "\r\n";
  }
  return EncodeOwnFormat(out);
}

}  // namespace m8
