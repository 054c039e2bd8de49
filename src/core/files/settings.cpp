#include "core/files/settings.h"

#include <cstdint>
#include <memory>
#include <span>

#include "core/fileio.h"
#include "core/files/rating.h"
#include "core/files/skin.h"
#include "core/numtext.h"
#include "core/textlimits.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/rules/variantfile.h"

namespace m8 {

namespace {

enum class Kind {
  Option,    // number in Options
  Rule,      // number in the rules in force, by rule key name
  Variant,   // whole-line text: Rules.Variant
  UserName,  // delimited text, quoted when needed
  Skin,      // whole-line text: Opt.SkinName
  Promo,     // delimited text: promotion squares of one side
  Movement,  // delimited text: movement string of one piece kind
};

// What a number outside its range becomes.
enum class Fix {
  None,     // any value is kept
  Clamp,    // the nearer bound (the options dialog's limits)
  Default,  // the default value
  Flag,     // any value but 0 means 1
};

struct Line {
  const char* name;
  Kind kind;
  int32_t Options::*opt = nullptr;
  int32_t def = 0;
  int32_t lo = 0, hi = 0;
  Fix fix = Fix::None;
  int index = 0;  // promotion side or movement kind
};

constexpr Line Opt(const char* name, int32_t Options::*m, int32_t def, int32_t lo, int32_t hi,
                   Fix fix) {
  return Line{name, Kind::Option, m, def, lo, hi, fix, 0};
}
constexpr Line Flag(const char* name, int32_t Options::*m, int32_t def) {
  return Line{name, Kind::Option, m, def, 0, 1, Fix::Default, 0};
}
// A rule value outside its key's range (NumericRuleKeys) takes the default.
constexpr Line Rule(const char* name, int32_t def) {
  return Line{name, Kind::Rule, nullptr, def, 0, 0, Fix::Default, 0};
}
constexpr Line Text(const char* name, Kind kind, int index = 0) {
  return Line{name, kind, nullptr, 0, 0, 0, Fix::None, index};
}

// Lines 2..84 of the file, in order.
constexpr Line kLines[] = {
    Opt("PlayMode", &Options::PlayMode, 0, 0, 2, Fix::Default),
    Opt("Weakness", &Options::Weakness, 1, 0, 9, Fix::Clamp),
    Opt("SearchDepth", &Options::SearchDepth, 2, 0, 20, Fix::Clamp),
    Opt("Notation", &Options::Notation, 0, 0, 2, Fix::Default),
    Opt("BoardTurned", &Options::BoardTurned, 1, 0, 1, Fix::Flag),
    Rule("MaxCapMove", 0),
    Rule("MulJumps", 1),
    Flag("ShowMoves", &Options::ShowMoves, 1),
    Rule("BlackStarts", 1),
    Text("VariantName", Kind::Variant),
    Rule("PiecesOnBlack", 1),
    Rule("AntiMode", 0),
    Rule("WinAtPromo", 0),
    Opt("SearchTime", &Options::SearchTime, 2, 1, 180, Fix::Clamp),
    Flag("DepthMode", &Options::DepthMode, 0),
    Flag("ChessDrawRules", &Options::ChessDrawRules, 1),
    Rule("MaxCapMoveKings", 0),
    Rule("ManCapKing", 1),
    Rule("KingCapMove", 0),
    Text("UserName", Kind::UserName),
    Flag("CapitalNotation", &Options::CapitalNotation, 0),
    Flag("ConfirmExit", &Options::ConfirmExit, 1),
    Flag("AskForDraw", &Options::AskForDraw, 0),
    Flag("ExtendedSearch", &Options::ExtendedSearch, 1),
    Rule("ManContJump", 0),
    Rule("LongKings", 0),
    Rule("ManContJumpCrowned", 0),
    Rule("RemovePieces", 0),
    Text("PromoW", Kind::Promo, 0),
    Text("PromoB", Kind::Promo, 1),
    Text("WhiteManMovement", Kind::Movement, 0),
    Text("BlackManMovement", Kind::Movement, 1),
    Text("WhiteKingMovement", Kind::Movement, 2),
    Text("BlackKingMovement", Kind::Movement, 3),
    Flag("UseBook", &Options::UseBook, 1),
    Opt("FiftyMoveChoice", &Options::FiftyMoveChoice, 1, 0, 4, Fix::Default),
    Flag("ShowCalculation", &Options::ShowCalculation, 1),
    Flag("AmericanBookForAll", &Options::AmericanBookForAll, 0),
    Flag("BruteForce", &Options::BruteForce, 0),
    Rule("KingFirst", 0),
    Rule("ManCapMoveKing", 0),
    Flag("CaptureCharStyle", &Options::CaptureCharStyle, 0),
    Rule("KingWin", 0),
    Rule("MaxCapMoveK", 1),
    Opt("ExtendedPlies", &Options::ExtendedPlies, 3, 1, 6, Fix::Clamp),
    Opt("Balance", &Options::Balance, 150, 1, 750, Fix::Clamp),
    Rule("CapRequired", 1),
    Flag("ChooseOpening", &Options::ChooseOpening, 0),
    Flag("BookRandom", &Options::BookRandom, 0),
    Flag("UseRating", &Options::UseRating, 1),
    Opt("BoardSizeCode", &Options::BoardSizeCode, 2, 0, 4, Fix::Default),
    Rule("NoLegalDraw", 0),
    Rule("RemoveMen", 0),
    Rule("NumberMen", 0),
    Rule("DoMoves", 0),
    Rule("NumberMoves", 0),
    Rule("LastCap", 0),
    Rule("ManKing", 0),
    Rule("KingMan", 0),
    Flag("AutoSave", &Options::AutoSave, 0),
    Flag("UseSound", &Options::UseSound, 0),
    Rule("ChangeSide", 0),
    Text("SkinName", Kind::Skin),
    Flag("KingVersusKing", &Options::KingVersusKing, 1),
    Rule("ThreeKings", 0),
    Rule("NumberKings", 0),
    Flag("PdnAlgebraic", &Options::PdnAlgebraic, 0),
    Rule("CapReverse", 0),
    Rule("RndColor", 0),
    Opt("PlyValueDepth", &Options::PlyValueDepth, 5, 1, 20, Fix::Clamp),
    Opt("UseClassic", &Options::UseClassic, 1, 0, 1, Fix::Default),
    Flag("TouchMove", &Options::TouchMove, 0),
    Rule("JumpFriend", 0),
    Rule("NumberFriends", 0),
    Rule("TwoKings", 0),
    Rule("NumberKings2", 0),
    Rule("NumberPieces", 0),
    Rule("canContract", 0),
    Rule("ContractNumber", 0),
    Rule("ContractW1", 0),
    Rule("ContractW2", 0),
    Rule("ContractB1", 0),
    Rule("ContractB2", 0),
};
static_assert(std::size(kLines) == kSettingsValues);

constexpr const char* kDefaultVariant = "American Checkers";
constexpr const char* kDefaultUserName = "Player";
constexpr const char* kDefaultSkin = kDefaultSkinName;
constexpr const char* kDefaultPromo[2] = {"B8D8F8H8", "A1C1E1G1"};
constexpr const char* kDefaultMovement[4] = {"NW;NE NW;NE", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW",
                                             "NW;NE;SE;SW NW;NE;SE;SW"};

int32_t& RuleField(RuleSet& r, const char* name) { return r.*FindRuleKey(name)->member; }
int32_t RuleField(const RuleSet& r, const char* name) { return r.*FindRuleKey(name)->member; }

// The value of a delimited read: blanks skipped; a value starting with a
// double quote runs to the closing quote (two quotes in a row stand for one),
// any other value to the first comma, trailing blanks dropped.
std::string DelimitedValue(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] == '"') {
    std::string out;
    for (size_t j = i + 1; j < line.size(); ++j) {
      if (line[j] == '"') {
        if (j + 1 < line.size() && line[j + 1] == '"') {
          out += '"';
          ++j;
          continue;
        }
        break;
      }
      out += line[j];
    }
    return out;
  }
  const size_t comma = line.find(',', i);
  return Trim(line.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i));
}

// A whole decimal number (sign, digits, decimals, exponent) or &H / &O form;
// an empty field reads 0.
bool IsNumberText(std::string_view t) {
  if (t.empty()) return true;
  size_t i = 0;
  auto digits = [&](auto ok) {
    size_t start = i;
    while (i < t.size() && ok(t[i])) ++i;
    return i > start;
  };
  auto dec = [](char c) { return c >= '0' && c <= '9'; };
  if (t.size() > 2 && t[0] == '&') {
    char r = t[1];
    i = 2;
    if (r == 'H' || r == 'h')
      digits([](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); });
    else if (r == 'O' || r == 'o')
      digits([](char c) { return c >= '0' && c <= '7'; });
    else
      return false;
    return i == t.size();
  }
  if (t[i] == '+' || t[i] == '-') ++i;
  bool any = digits(dec);
  if (i < t.size() && t[i] == '.') {
    ++i;
    any = digits(dec) || any;
  }
  if (!any) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (!digits(dec)) return false;
  }
  return i == t.size();
}

// A text value as the file holds it: no control characters, at most
// kFieldChars characters.
std::string StripControls(std::string_view t) {
  std::string s;
  for (char c : t)
    if (static_cast<unsigned char>(c) >= 32) s += c;
  LimitField(s);
  return s;
}

// The user name as the file holds it: plain when a delimited read gives it
// back as it is, otherwise in quotes with inner quotes doubled.
std::string UserNameField(std::string_view name) {
  std::string clean = StripControls(name);
  if (DelimitedValue(clean) == clean) return clean;
  std::string out = "\"";
  for (char c : clean) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string PromoText(const std::array<int32_t, kPromoEntries>& side) {
  std::string s;
  for (int32_t cell : side) {
    int row = cell / 10, col = cell % 10;
    if (cell < 21 || cell > 98 || col < 1 || col > 8) continue;
    s += static_cast<char>('A' + col - 1);
    s += static_cast<char>('1' + row - 2);
  }
  return s;
}

// Pieces of two characters; a piece that is no square stores -1.
void ParsePromoText(GameState& g, std::string_view text, std::array<int32_t, kPromoEntries>& side) {
  const int32_t notation = g.Opt.Notation;
  g.Opt.Notation = 0;
  for (int k = 0; k < kPromoEntries; ++k) {
    std::string_view piece = 2 * static_cast<size_t>(k) < text.size() ? text.substr(2 * k, 2) : "";
    int cell = SquareNumber(g, piece);
    side[k] = cell == 0 ? -1 : cell;
  }
  g.Opt.Notation = notation;
}

// The range of a number line: an option's own, a rule's from its key.
OptionBounds LineBounds(const Line& l) {
  if (l.kind == Kind::Rule) {
    const RuleKey* k = FindRuleKey(l.name);
    return {k->lo, k->hi};
  }
  return {l.lo, l.hi};
}

// The value an option read from the file has once the program runs: start-up
// turns a search depth of 0 into 2 and computer-against-computer play into
// player against computer.
int32_t StartUpValue(int32_t Options::*opt, int32_t v) {
  if (opt == &Options::SearchDepth && v == 0) return 2;
  if (opt == &Options::PlayMode && v == 2) return 0;
  return v;
}

std::string SettingsPath(const GameState& g) { return ResolvePath(UserFolderOf(g), kSettingsFileName); }

}  // namespace

std::optional<OptionBounds> OptionRange(int32_t Options::*option) {
  for (const Line& l : kLines)
    if (l.kind == Kind::Option && l.opt == option && l.fix != Fix::None) return OptionBounds{l.lo, l.hi};
  return std::nullopt;
}

void SetDefaultSettings(GameState& g) {
  for (const Line& l : kLines) {
    if (l.kind == Kind::Option) g.Opt.*l.opt = l.def;
    if (l.kind == Kind::Rule) RuleField(g.Rules, l.name) = l.def;
  }
  g.Rules.Variant = kDefaultVariant;
  g.Opt.UserName = kDefaultUserName;
  g.Opt.SkinName = kDefaultSkin;
  for (int side = 0; side < 2; ++side) ParsePromoText(g, kDefaultPromo[side], g.Rules.PromoSquares[side]);
  for (int k = 0; k < 4; ++k) {
    g.Rules.MovementStrings[k] = kDefaultMovement[k];
    ParseDirections(g, g.Rules.MovementStrings[k], k, false);
  }
}

namespace {

// The rules kept for the next start. A first mover that only the position
// in hand gave (set up by hand or read from a game file) is not one of them:
// the next game starts with the first mover a new game would have.
int32_t SavedRuleValue(const GameState& g, const char* name) {
  if (std::string_view(name) == "BlackStarts" && g.Flow.BlackStartsBeforeSetup >= 0)
    return g.Flow.BlackStartsBeforeSetup;
  return RuleField(g.Rules, name);
}

}  // namespace

std::string SettingsText(const GameState& g, const std::string* variantName) {
  std::string out = std::string(kSettingsTag) + "\r\n";
  for (const Line& l : kLines) {
    std::string v;
    switch (l.kind) {
      case Kind::Option: v = std::to_string(g.Opt.*l.opt); break;
      case Kind::Rule: v = std::to_string(SavedRuleValue(g, l.name)); break;
      case Kind::Variant: v = StripControls(variantName ? *variantName : g.Rules.Variant); break;
      case Kind::UserName: v = UserNameField(g.Opt.UserName); break;
      case Kind::Skin: v = StripControls(g.Opt.SkinName); break;
      case Kind::Promo: v = PromoText(g.Rules.PromoSquares[l.index]); break;
      case Kind::Movement: v = StripControls(g.Rules.MovementStrings[l.index]); break;
    }
    out += v;
    out += "\r\n";
  }
  return EncodeOwnFormat(out);
}

SettingsReadResult ParseSettingsText(GameState& g, std::string_view bytes, std::string_view fileName) {
  SettingsReadResult result;
  const std::string text = DecodeText(bytes);
  std::vector<std::string_view> lines;
  ForEachLine(text, [&](std::string_view line) {
    if (lines.size() < static_cast<size_t>(kSettingsLines)) lines.push_back(line);
  });
  if (lines.empty() || DelimitedValue(lines[0]) != kSettingsTag) return result;
  result.linesRead = static_cast<int>(lines.size());
  // A file cut short: the lines it does not hold are read from the defaults.
  std::string defaults;
  if (lines.size() < static_cast<size_t>(kSettingsLines)) {
    GameState fresh;
    SetDefaultSettings(fresh);
    defaults = SettingsText(fresh);
    size_t n = 0;
    ForEachLine(defaults, [&](std::string_view line) {
      if (n++ >= lines.size()) lines.push_back(line);
    });
  }

  Options opt = g.Opt;
  RuleSet rules = g.Rules;
  bool variantRefused = false;
  PromoTable promo = rules.PromoSquares;
  std::array<std::string, 4> promoText;
  auto warn = [&](int lineNo, const Line& l, const std::string& what) {
    result.warnings.push_back("Settings file \"" + std::string(fileName) + "\", line " +
                              std::to_string(lineNo) + " (" + l.name + "): " + what);
  };

  for (size_t i = 0; i < std::size(kLines); ++i) {
    const Line& l = kLines[i];
    const int lineNo = static_cast<int>(i) + 2;
    const std::string_view raw = lines[i + 1];
    switch (l.kind) {
      case Kind::Option:
      case Kind::Rule: {
        const std::string field = DelimitedValue(raw);
        const OptionBounds b = LineBounds(l);
        // A rule value is a whole number written out; an option takes any
        // number and rounds it.
        const bool rule = l.kind == Kind::Rule;
        const std::optional<int32_t> read = rule                 ? WholeNumber(field)
                                            : IsNumberText(field) ? std::optional<int32_t>(ValInt(field))
                                                                  : std::nullopt;
        int32_t v;
        if (!read) {
          v = l.def;
          warn(lineNo, l,
               "\"" + Excerpt(field) + "\" is not " +
                   (rule ? "a whole number in " + std::to_string(b.lo) + ".." + std::to_string(b.hi) : "a number") +
                   "; " + std::to_string(v) + " is used.");
        } else {
          v = *read;
          const bool outside = l.fix != Fix::None && (v < b.lo || v > b.hi);
          if (outside) {
            int32_t fixed = l.fix == Fix::Clamp ? (v < b.lo ? b.lo : b.hi)
                            : l.fix == Fix::Flag ? 1
                                                 : l.def;
            if (l.fix != Fix::Flag)
              warn(lineNo, l,
                   Excerpt(field) +  // as written: a number past the 32-bit range reads as its bound
                       " is outside " + std::to_string(b.lo) + ".." + std::to_string(b.hi) + "; " +
                       std::to_string(l.opt ? StartUpValue(l.opt, fixed) : fixed) + " is used.");
            v = fixed;
          }
        }
        if (l.kind == Kind::Option)
          opt.*l.opt = v;
        else
          RuleField(rules, l.name) = v;
        break;
      }
      case Kind::Variant: {
        std::string name(raw);
        if (!IsVariantName(name)) {
          warn(lineNo, l,
               "\"" + Excerpt(name) + "\" is not a variant name; \"" + kDefaultVariant +
                   "\" is used, with its own rules.");
          name = kDefaultVariant;
          variantRefused = true;
        }
        rules.Variant = name;
        break;
      }
      case Kind::Skin: {
        std::string name(raw);
        if (!BuiltinSkinCode(name) && (!IsSafeFileName(name) || CharCount(name) > kFieldChars)) {
          warn(lineNo, l, "\"" + Excerpt(name) + "\" is not a skin name; \"" + kDefaultSkin + "\" is used.");
          name = kDefaultSkin;
        }
        opt.SkinName = name;
        break;
      }
      case Kind::UserName: {
        const std::string name = DelimitedValue(raw);
        opt.UserName = StripControls(name);
        if (CharCount(name) > kFieldChars)
          warn(lineNo, l, FieldCutText("the name"));
        break;
      }
      case Kind::Promo:
        promoText[l.index] = DelimitedValue(raw);
        break;
      case Kind::Movement: {
        std::string m = DelimitedValue(raw);
        std::string why;
        if (!CheckMovementString(m, &why)) {
          m = kDefaultMovement[l.index];
          warn(lineNo, l, why + "; the standard movement \"" + m + "\" is used.");
        }
        rules.MovementStrings[l.index] = m;
        break;
      }
    }
  }

  for (int side = 0; side < 2; ++side) ParsePromoText(g, promoText[side], promo[side]);
  rules.PromoSquares = promo;
  if (variantRefused) {
    // The rules were those of a game whose name is lost: the game used in its
    // place is played whole, name and rules together.
    auto fresh = std::make_unique<GameState>();
    SetDefaultSettings(*fresh);
    rules = fresh->Rules;
  }
  g.Opt = opt;
  g.Rules = rules;
  for (int k = 0; k < 4; ++k) ParseDirections(g, g.Rules.MovementStrings[k], k, false);
  result.accepted = true;
  return result;
}

bool WriteSettingsFile(const GameState& g, std::string* error, const std::string* variantName) {
  if (g.UserFilesNotKept) return true;
  return ReplaceFile(SettingsPath(g), SettingsText(g, variantName), error);
}

SettingsLoadResult LoadSettings(GameState& g) {
  SettingsLoadResult result;
  const std::string path = SettingsPath(g);
  g.KeepSettingsFile = false;
  // Only the first lines matter, and of each no more than a value can use:
  // a file of any size, or with a line of any length, is read that far.
  const FileRead read = ReadLeadingLines(path, kSettingsLines, kSettingsLineBytes, g.RefuseOpen);
  if (read.status == ReadStatus::Unreadable) {
    // Left as it is: what it holds may be the user's settings after all.
    g.KeepSettingsFile = true;
    SetDefaultSettings(g);
    g.host->message(Icon::Exclamation, "Error",
                    "The settings file \"" + path + "\" cannot be read: " + read.reason +
                        ".\r\nEvery setting takes its default for now; the file is left as it is, and this "
                        "run's settings are not saved in it.");
    g.Opt.SearchDepth = StartUpValue(&Options::SearchDepth, g.Opt.SearchDepth);
    g.Opt.PlayMode = StartUpValue(&Options::PlayMode, g.Opt.PlayMode);
    return result;
  }
  std::string problem;  // why the user's file is replaced
  if (!read.bytes.empty()) {
    auto parsed = ParseSettingsText(g, read.bytes, kSettingsFileName);
    result.accepted = parsed.accepted;
    result.warnings = std::move(parsed.warnings);
    if (!parsed.accepted)
      problem = "Its first line is not \"" + std::string(kSettingsTag) + "\": every setting takes its default.";
    else if (parsed.linesRead < kSettingsLines)
      problem = "It ends after line " + std::to_string(parsed.linesRead) + " of " + std::to_string(kSettingsLines) +
                ": the settings after it take their defaults.";
  }
  if (!result.accepted) SetDefaultSettings(g);
  if (!result.accepted || !problem.empty()) {
    // The user's file, the whole of it, is kept beside the new one before it
    // is replaced.
    std::string keepError;
    const std::string kept = path + kSettingsKeptSuffix;
    const bool keep = problem.empty() || CopyWholeFile(path, kept, &keepError);
    if (!problem.empty())
      g.host->message(Icon::Exclamation, "Error",
                      "The settings file \"" + path + "\" cannot be read whole. " + problem +
                          (keep ? "\r\nThe old file is kept as \"" + kept + "\"."
                                : "\r\nThe old file is left as it is: " + keepError));
    if (keep) {
      result.freshWritten = WriteSettingsFile(g, &result.error);
      if (!result.freshWritten)
        g.host->message(Icon::Exclamation, "Error", "The settings file could not be written: " + result.error);
    } else {
      g.KeepSettingsFile = true;
    }
  }
  if (!result.warnings.empty()) g.host->message(Icon::Exclamation, "Warning", ListText(result.warnings));
  g.Opt.SearchDepth = StartUpValue(&Options::SearchDepth, g.Opt.SearchDepth);
  g.Opt.PlayMode = StartUpValue(&Options::PlayMode, g.Opt.PlayMode);
  return result;
}

bool SaveSettings(GameState& g, const std::string* variantName) {
  std::string error;
  // A file that could not be read at start-up is left alone (the user was told).
  bool ok = g.KeepSettingsFile || WriteSettingsFile(g, &error, variantName);
  if (!ok)
    g.host->message(Icon::Exclamation, "Error", "The settings could not be saved: " + error);
  std::string ratingError;
  if (!SaveRating(g, &ratingError)) {
    g.host->message(Icon::Exclamation, "Error", "The rating could not be saved: " + ratingError);
    ok = false;
  }
  return ok;
}

}  // namespace m8
