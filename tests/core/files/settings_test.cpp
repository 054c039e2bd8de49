#include "core/files/settings.h"

#include <gtest/gtest.h>

#include <random>

#include "core/files/rating.h"
#include "core/rules/rulekeys.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

using testing::CrLfLines;
using SettingsTest = testing::FilesTest;

// The fresh file, written out by hand from the table of settings lines.
const std::vector<std::string> kDefaultLines = {
    "TAVRIN0.89", "0", "1", "2", "0", "1", "0", "1", "1", "1",           // 1-10
    "American Checkers", "1", "0", "0", "2", "0", "1", "0", "1", "0",    // 11-20
    "Player", "0", "1", "0", "1", "0", "0", "0", "0", "B8D8F8H8",        // 21-30
    "A1C1E1G1", "NW;NE NW;NE", "NW;NE NW;NE", "NW;NE;SE;SW NW;NE;SE;SW",  // 31-34
    "NW;NE;SE;SW NW;NE;SE;SW", "1", "1", "1", "0", "0",                  // 35-40
    "0", "0", "0", "0", "1", "3", "150", "1", "0", "0",                  // 41-50
    "1", "2", "0", "0", "0", "0", "0", "0", "0", "0",                    // 51-60
    "0", "0", "0", "Classic Medium", "1", "0", "0", "0", "0", "0",       // 61-70
    "5", "1", "0", "0", "0", "0", "0", "0", "0", "0",                    // 71-80
    "0", "0", "0", "0",                                                  // 81-84
};

std::string Join(const std::vector<std::string>& lines, const char* eol = "\r\n") {
  std::string s;
  for (const auto& l : lines) s += l + eol;
  return s;
}

std::vector<std::string> WithLine(int lineNo, const std::string& value) {
  auto lines = kDefaultLines;
  lines[lineNo - 1] = value;
  return lines;
}

// Moves many settings away from their defaults.
void ChangeSettings(GameState& g) {
  g.Opt.PlayMode = 1;
  g.Opt.Weakness = 4;
  g.Opt.SearchDepth = 7;
  g.Opt.Notation = 1;
  g.Opt.BoardTurned = 0;
  g.Opt.SearchTime = 33;
  g.Opt.DepthMode = 1;
  g.Opt.UserName = "Ann";
  g.Opt.ExtendedPlies = 5;
  g.Opt.Balance = 400;
  g.Opt.FiftyMoveChoice = 3;
  g.Opt.UseSound = 1;
  g.Opt.SkinName = "Wood, Dark";
  g.Opt.PlyValueDepth = 9;
  g.Opt.UseClassic = 0;
  g.Rules.Variant = "Russian Checkers";
  g.Rules.MaxCapMove = 1;
  g.Rules.LongKings = 1;
  g.Rules.NumberMen = 3;
  g.Rules.ContractB2 = 5;
  g.Rules.PromoSquares[0] = {92, 94, 98, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  g.Rules.MovementStrings[2] = "NW;NE;SE;SW;NN NW;NE;SE;SW";
}

TEST_F(SettingsTest, ColdStartWritesTheDefaultFile) {
  ChangeSettings(g);
  auto r = LoadSettings(g);
  EXPECT_FALSE(r.accepted);
  EXPECT_TRUE(r.freshWritten);
  EXPECT_TRUE(host.messages.empty());
  const std::string text = Read("tavrin.ini");
  EXPECT_EQ(CrLfLines(text), kDefaultLines);
  EXPECT_EQ(text, SettingsText(g));

  GameState fresh;
  SetDefaultSettings(fresh);
  EXPECT_EQ(SettingsText(fresh), text);
  EXPECT_EQ(g.Rules, RuleSet{}) << "the settings' rule defaults are the standard rules";
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_EQ(g.Opt.SkinName, "Classic Medium");
  EXPECT_EQ(g.Tables.DirectionTable[0][0], fresh.Tables.DirectionTable[0][0]);
  EXPECT_NE(g.Tables.DirectionTable[0][0], kDirEnd);
}

TEST_F(SettingsTest, RejectedFilesGiveDefaultsAndAFreshFile) {
  const struct {
    const char* name;
    std::string text;
    bool kept;  // the old file is kept beside as tavrin.ini.bad
  } cases[] = {
      {"other version", Join(WithLine(1, "TAVRIN0.88")), true},
      {"tag in lower case", Join(WithLine(1, "tavrin0.89")), true},
      {"binary", std::string("\0\xff\r\n\x01", 5), true},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GameState run;
    Restart(run);
    host.messages.clear();
    std::filesystem::remove(Path("tavrin.ini.bad"));
    run.Opt.Weakness = 7;
    Write("tavrin.ini", c.text);
    auto r = LoadSettings(run);
    EXPECT_FALSE(r.accepted);
    EXPECT_TRUE(r.freshWritten);
    EXPECT_EQ(run.Opt.Weakness, 1);
    EXPECT_EQ(CrLfLines(Read("tavrin.ini")), kDefaultLines);
    if (c.kept) {
      EXPECT_EQ(Read("tavrin.ini.bad"), c.text);
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_NE(host.messages[0].text.find("tavrin.ini.bad"), std::string::npos) << host.messages[0].text;
    } else {
      EXPECT_FALSE(std::filesystem::exists(Path("tavrin.ini.bad")));
      EXPECT_TRUE(host.messages.empty());
    }
  }
}

// What can be read of the user's file is read; a file that must be replaced
// is kept beside it and the user is told.
TEST_F(SettingsTest, TheUsersFileIsReadAsFarAsItGoes) {
  auto changed = WithLine(3, "7");  // Weakness
  changed[63] = "Walnut";           // SkinName, line 64
  auto first50 = std::vector<std::string>(changed.begin(), changed.begin() + 50);
  auto only83 = std::vector<std::string>(changed.begin(), changed.end() - 1);
  std::string huge = Join(changed);
  while (huge.size() <= kSettingsReadLimit + 1000) huge += "a line after the last one that matters\r\n";
  const struct {
    const char* name;
    std::string text;
    int weakness;
    const char* skin;
    bool kept;
  } cases[] = {
      {"over 1 MiB", huge, 7, "Walnut", false},
      {"byte-order mark", "\xEF\xBB\xBF" + Join(changed), 7, "Walnut", false},
      {"byte-order mark, LF only", "\xEF\xBB\xBF" + Join(changed, "\n"), 7, "Walnut", false},
      {"first 50 lines", Join(first50), 7, "Classic Medium", true},
      {"83 lines", Join(only83), 7, "Walnut", true},
      {"the tag alone", "TAVRIN0.89\r\n", 1, "Classic Medium", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GameState run;
    Restart(run);
    host.messages.clear();
    std::filesystem::remove(Path("tavrin.ini.bad"));
    Write("tavrin.ini", c.text);
    auto r = LoadSettings(run);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(run.Opt.Weakness, c.weakness);
    EXPECT_EQ(run.Opt.SkinName, c.skin);
    EXPECT_EQ(run.Opt.SearchTime, 2);
    EXPECT_EQ(run.Rules.PromoSquares[0][3], 98);
    if (c.kept) {
      EXPECT_EQ(Read("tavrin.ini.bad"), c.text);
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].title, "Error");
      EXPECT_NE(host.messages[0].text.find("tavrin.ini.bad"), std::string::npos) << host.messages[0].text;
      // The completed file replaces it at once, so the next start is quiet.
      EXPECT_EQ(Read("tavrin.ini"), SettingsText(run));
    } else {
      EXPECT_FALSE(std::filesystem::exists(Path("tavrin.ini.bad")));
      EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
      EXPECT_EQ(Read("tavrin.ini").substr(0, 3), c.text.substr(0, 3)) << "the file is not rewritten at start";
    }
  }
}

TEST_F(SettingsTest, ALinkedSettingsFileStaysALinkAndFilesKeepTheirPermissions) {
  namespace fs = std::filesystem;
  Write("real/settings.ini", Join(WithLine(3, "5")));
  fs::create_symlink("real/settings.ini", Path("tavrin.ini"));
  Write("tavrin.rtg", RatingFileText(1500));
  fs::permissions(Path("tavrin.rtg"), fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(Path("real/settings.ini"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  LoadRating(g);
  ASSERT_TRUE(LoadSettings(g).accepted);
  EXPECT_EQ(g.Opt.Weakness, 5);
  g.Opt.Weakness = 3;
  g.Rating.UserRating = 1510;
  ASSERT_TRUE(SaveSettings(g));
  EXPECT_TRUE(fs::is_symlink(Path("tavrin.ini")));
  EXPECT_EQ(CrLfLines(Read("real/settings.ini"))[2], "3");
  EXPECT_EQ(fs::status(Path("real/settings.ini")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(fs::status(Path("tavrin.rtg")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Read("tavrin.rtg"), RatingFileText(1510));
  for (const auto& e : fs::recursive_directory_iterator(folder))
    EXPECT_NE(e.path().extension(), ".tmp") << "a temporary file is left: " << e.path();
}

// Each number line of the file and the value it holds, written out from the
// table of settings lines (not from the program's own list), so that two
// lines with the same default cannot trade places unnoticed.
struct NumberLine {
  int line;
  int32_t Options::*opt;
  int32_t RuleSet::*rule;
};
constexpr NumberLine O(int line, int32_t Options::*m) { return {line, m, nullptr}; }
constexpr NumberLine R(int line, int32_t RuleSet::*m) { return {line, nullptr, m}; }
const NumberLine kNumberLines[] = {
    O(2, &Options::PlayMode),           O(3, &Options::Weakness),
    O(4, &Options::SearchDepth),        O(5, &Options::Notation),
    O(6, &Options::BoardTurned),        R(7, &RuleSet::MaxCapMove),
    R(8, &RuleSet::MulJumps),           O(9, &Options::ShowMoves),
    R(10, &RuleSet::BlackStarts),       R(12, &RuleSet::PiecesOnBlack),
    R(13, &RuleSet::AntiMode),          R(14, &RuleSet::WinAtPromo),
    O(15, &Options::SearchTime),        O(16, &Options::DepthMode),
    O(17, &Options::ChessDrawRules),    R(18, &RuleSet::MaxCapMoveKings),
    R(19, &RuleSet::ManCapKing),        R(20, &RuleSet::KingCapMove),
    O(22, &Options::CapitalNotation),   O(23, &Options::ConfirmExit),
    O(24, &Options::AskForDraw),        O(25, &Options::ExtendedSearch),
    R(26, &RuleSet::ManContJump),       R(27, &RuleSet::LongKings),
    R(28, &RuleSet::ManContJumpCrowned), R(29, &RuleSet::RemovePieces),
    O(36, &Options::UseBook),           O(37, &Options::FiftyMoveChoice),
    O(38, &Options::ShowCalculation),   O(39, &Options::AmericanBookForAll),
    O(40, &Options::BruteForce),        R(41, &RuleSet::KingFirst),
    R(42, &RuleSet::ManCapMoveKing),    O(43, &Options::CaptureCharStyle),
    R(44, &RuleSet::KingWin),           R(45, &RuleSet::MaxCapMoveK),
    O(46, &Options::ExtendedPlies),     O(47, &Options::Balance),
    R(48, &RuleSet::CapRequired),       O(49, &Options::ChooseOpening),
    O(50, &Options::BookRandom),        O(51, &Options::UseRating),
    O(52, &Options::BoardSizeCode),     R(53, &RuleSet::NoLegalDraw),
    R(54, &RuleSet::RemoveMen),         R(55, &RuleSet::NumberMen),
    R(56, &RuleSet::DoMoves),           R(57, &RuleSet::NumberMoves),
    R(58, &RuleSet::LastCap),           R(59, &RuleSet::ManKing),
    R(60, &RuleSet::KingMan),           O(61, &Options::AutoSave),
    O(62, &Options::UseSound),          R(63, &RuleSet::ChangeSide),
    O(65, &Options::KingVersusKing),    R(66, &RuleSet::ThreeKings),
    R(67, &RuleSet::NumberKings),       O(68, &Options::PdnAlgebraic),
    R(69, &RuleSet::CapReverse),        R(70, &RuleSet::RndColor),
    O(71, &Options::PlyValueDepth),     O(72, &Options::UseClassic),
    O(73, &Options::TouchMove),         R(74, &RuleSet::JumpFriend),
    R(75, &RuleSet::NumberFriends),     R(76, &RuleSet::TwoKings),
    R(77, &RuleSet::NumberKings2),      R(78, &RuleSet::NumberPieces),
    R(79, &RuleSet::canContract),       R(80, &RuleSet::ContractNumber),
    R(81, &RuleSet::ContractW1),        R(82, &RuleSet::ContractW2),
    R(83, &RuleSet::ContractB1),        R(84, &RuleSet::ContractB2),
};

int32_t& Field(GameState& g, const NumberLine& l) { return l.opt ? g.Opt.*l.opt : g.Rules.*l.rule; }

TEST_F(SettingsTest, EveryValueStandsOnItsOwnLine) {
  ASSERT_EQ(std::size(kNumberLines) + 9, static_cast<size_t>(kSettingsValues));  // and nine text lines
  // Writing: every value different, each must land on its line.
  GameState out;
  SetDefaultSettings(out);
  for (const auto& l : kNumberLines) Field(out, l) = 1000 + l.line;
  out.Rules.Variant = "Line Eleven";
  out.Opt.UserName = "Line 21";
  out.Rules.MovementStrings = {"NN SS", "EE WW", "NW SE", "NE SW"};
  out.Rules.PromoSquares[0] = {92, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  out.Rules.PromoSquares[1] = {27, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  out.Opt.SkinName = "Line 64";
  const auto lines = CrLfLines(SettingsText(out));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kSettingsLines));
  for (const auto& l : kNumberLines) EXPECT_EQ(lines[l.line - 1], std::to_string(1000 + l.line)) << "line " << l.line;
  const std::pair<int, std::string> texts[] = {{11, "Line Eleven"}, {21, "Line 21"}, {30, "B8"},    {31, "G1"},
                                               {32, "NN SS"},       {33, "EE WW"},   {34, "NW SE"}, {35, "NE SW"},
                                               {64, "Line 64"}};
  for (const auto& [line, text] : texts) EXPECT_EQ(lines[line - 1], text) << "line " << line;

  // Reading: one line changed from its default reaches its own value and no
  // other.
  GameState defaults;
  SetDefaultSettings(defaults);
  for (const auto& l : kNumberLines) {
    SCOPED_TRACE("line " + std::to_string(l.line));
    const int32_t def = Field(defaults, l);
    const int32_t v = def == 0 ? 1 : def == 1 ? 0 : def + 1;
    GameState in;
    ASSERT_TRUE(ParseSettingsText(in, Join(WithLine(l.line, std::to_string(v)))).accepted);
    for (const auto& other : kNumberLines)
      EXPECT_EQ(Field(in, other), other.line == l.line ? v : Field(defaults, other)) << "line " << other.line;
  }
}

TEST_F(SettingsTest, RestartKeepsChangedSettingsAndRating) {
  ChangeSettings(g);
  g.Rating.UserRating = 1337;
  ASSERT_TRUE(SaveSettings(g));
  EXPECT_EQ(Read("tavrin.ini"), SettingsText(g));

  GameState next;
  Restart(next);
  LoadRating(next);
  auto r = LoadSettings(next);
  EXPECT_TRUE(r.accepted);
  EXPECT_TRUE(r.warnings.empty());
  EXPECT_EQ(next.Rating.UserRating, 1337);
  EXPECT_EQ(next.Rules, g.Rules);
  EXPECT_EQ(SettingsText(next), SettingsText(g));
  EXPECT_EQ(next.Opt.SkinName, "Wood, Dark");
  EXPECT_EQ(next.Opt.SearchTime, 33);
  EXPECT_EQ(next.Opt.PlayMode, 1);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsTest, EveryRuleKeyIsStored) {
  GameState out, in;
  for (const auto& k : NumericRuleKeys()) out.Rules.*k.member = out.Rules.*k.member == 1 ? 0 : 1;
  ASSERT_TRUE(ParseSettingsText(in, SettingsText(out)).accepted);
  for (const auto& k : NumericRuleKeys()) EXPECT_EQ(in.Rules.*k.member, out.Rules.*k.member) << k.name;
}

TEST_F(SettingsTest, ReadsEveryLineEnding) {
  auto lines = WithLine(3, "5");
  lines[10] = "Italian Checkers";
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(::testing::PrintToString(eol));
    GameState run;
    auto r = ParseSettingsText(run, Join(lines, eol));
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(run.Opt.Weakness, 5);
    EXPECT_EQ(run.Rules.Variant, "Italian Checkers");
  }
  // The last line may lack its line end; lines after the last are ignored.
  std::string text = Join(lines);
  text.resize(text.size() - 2);
  GameState run;
  EXPECT_TRUE(ParseSettingsText(run, text + "\r\n99\r\nrubbish").accepted);
  EXPECT_TRUE(ParseSettingsText(run, text).accepted);
}

TEST_F(SettingsTest, PromotionSquaresAreAlwaysLetterAndDigit) {
  GameState run;
  auto lines = WithLine(30, "B8D8");
  lines[30] = "A1C1E1G1XXH9";
  ASSERT_TRUE(ParseSettingsText(run, Join(lines)).accepted);
  EXPECT_EQ(run.Rules.PromoSquares[0],
            (std::array<int32_t, 12>{92, 94, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(run.Rules.PromoSquares[1],
            (std::array<int32_t, 12>{21, 23, 25, 27, -1, -1, -1, -1, -1, -1, -1, -1}));

  run.Opt.Notation = 1;  // numbered squares shown: the file still holds letters
  auto out = CrLfLines(SettingsText(run));
  EXPECT_EQ(out[4], "1");
  EXPECT_EQ(out[29], "B8D8");
  EXPECT_EQ(out[30], "A1C1E1G1");
}

TEST_F(SettingsTest, NamesRoundTripExactly) {
  const char* names[] = {"Smith, John", "\"Bob\"", "a\"b", "x,\"y\",z", " lead", "trail ", "",
                         "J\xc3\xbcrgen"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    GameState out, in;
    out.Opt.UserName = name;
    out.Opt.SkinName = std::string("Skin ") + name + ",x";
    out.Rules.Variant = std::string("Var, ") + "iant";
    const std::string text = SettingsText(out);
    auto r = ParseSettingsText(in, text);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(in.Opt.UserName, name);
    EXPECT_EQ(in.Rules.Variant, "Var, iant");
    EXPECT_EQ(in.Opt.Weakness, out.Opt.Weakness) << "later values do not shift";
    EXPECT_EQ(CrLfLines(text).size(), 84u);
  }
  // A plain name is written as it is, a Latin-1 one as Latin-1 bytes.
  GameState plain;
  plain.Opt.UserName = "J\xc3\xbcrgen";
  EXPECT_EQ(CrLfLines(SettingsText(plain))[20], "J\xfcrgen");
  plain.Opt.UserName = "Smith, John";
  EXPECT_EQ(CrLfLines(SettingsText(plain))[20], "\"Smith, John\"");
}

TEST_F(SettingsTest, ValuesOutsideTheirRangesAreCorrected) {
  const struct {
    int line;
    const char* text;
    int32_t Options::*opt;
    int32_t want;
    bool warned;
  } cases[] = {
      {4, "45", &Options::SearchDepth, 20, true},
      {4, "0", &Options::SearchDepth, 0, false},  // 0 is corrected to 2 only at start-up
      {4, "-3", &Options::SearchDepth, 0, true},
      {15, "-5", &Options::SearchTime, 1, true},
      {15, "99999999999", &Options::SearchTime, 180, true},
      {3, "12", &Options::Weakness, 9, true},
      {3, " 4 ", &Options::Weakness, 4, false},
      {3, "2.5", &Options::Weakness, 2, false},
      {3, "3.5", &Options::Weakness, 4, false},
      {3, "abc", &Options::Weakness, 1, true},
      {3, "12x", &Options::Weakness, 1, true},
      {47, "1000", &Options::Balance, 750, true},
      {46, "0", &Options::ExtendedPlies, 1, true},
      {71, "25", &Options::PlyValueDepth, 20, true},
      {37, "7", &Options::FiftyMoveChoice, 1, true},
      {6, "5", &Options::BoardTurned, 1, false},
      {2, "9", &Options::PlayMode, 0, true},
      {5, "3", &Options::Notation, 0, true},
      {52, "1", &Options::BoardSizeCode, 1, false},  // the big board, as the piece pictures read it
      {52, "5", &Options::BoardSizeCode, 2, true},
      {16, "2", &Options::DepthMode, 0, true},
      {72, "-1", &Options::UseClassic, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ": " + c.text);
    GameState run;
    auto r = ParseSettingsText(run, Join(WithLine(c.line, c.text)));
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(run.Opt.*c.opt, c.want);
    ASSERT_EQ(r.warnings.size(), c.warned ? 1u : 0u);
    if (c.warned) {
      EXPECT_NE(r.warnings[0].find("line " + std::to_string(c.line)), std::string::npos) << r.warnings[0];
    }
  }
  // Rule counts used as table sizes, unsafe names, oversized movement lists.
  GameState run;
  auto lines = WithLine(12, "7");
  lines[54] = "99";
  lines[10] = "../../etc/passwd";
  lines[63] = "..\\x";
  lines[31] = "NW;NE;NW;NE;NW;NE;NW;NE;NW NW";
  auto r = ParseSettingsText(run, Join(lines));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.warnings.size(), 5u);
  EXPECT_EQ(run.Rules.PiecesOnBlack, 1);
  EXPECT_EQ(run.Rules.NumberMen, 0);
  EXPECT_EQ(run.Rules.Variant, "American Checkers");
  EXPECT_EQ(run.Opt.SkinName, "Classic Medium");
  EXPECT_EQ(run.Rules.MovementStrings[0], "NW;NE NW;NE");
}

// A rule value is a whole number written out: one that only begins with a
// number takes the rule's default with a warning that quotes it (a
// PiecesOnBlack of 1.5 once gave a board with every square in play). The
// options keep reading any number, rounded.
TEST_F(SettingsTest, RuleValuesAreReadExactly) {
  const struct {
    int line;
    const char* text;
    int32_t RuleSet::*rule;
    int32_t want;
    const char* says;  // "" for no warning
  } cases[] = {
      {12, "1.5", &RuleSet::PiecesOnBlack, 1, "line 12 (PiecesOnBlack): \"1.5\" is not a whole number in 0..2; 1 is used."},
      {12, "2.0", &RuleSet::PiecesOnBlack, 1, "\"2.0\" is not a whole number in 0..2; 1 is used."},
      {8, "0x1", &RuleSet::MulJumps, 1, "line 8 (MulJumps): \"0x1\" is not a whole number in 0..1; 1 is used."},
      {7, "1junk", &RuleSet::MaxCapMove, 0, "line 7 (MaxCapMove): \"1junk\" is not a whole number"},
      {8, "&H0", &RuleSet::MulJumps, 1, "\"&H0\" is not a whole number"},
      {8, "0E0", &RuleSet::MulJumps, 1, "\"0E0\" is not a whole number"},
      {8, "", &RuleSet::MulJumps, 1, "\"\" is not a whole number"},
      {12, " 2 ", &RuleSet::PiecesOnBlack, 2, ""},
      {75, "-1", &RuleSet::NumberFriends, -1, ""},
      {8, "+0", &RuleSet::MulJumps, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ": " + c.text);
    GameState run;
    auto r = ParseSettingsText(run, Join(WithLine(c.line, c.text)));
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(run.Rules.*c.rule, c.want);
    ASSERT_EQ(r.warnings.size(), *c.says ? 1u : 0u);
    if (*c.says) {
      EXPECT_NE(r.warnings[0].find(c.says), std::string::npos) << r.warnings[0];
    }
  }
}

// A file that loads with some values replaced warns; it is no error.
TEST_F(SettingsTest, AFileThatLoadsWithReplacedValuesIsTitledAWarning) {
  Write("tavrin.ini", Join(WithLine(12, "1.5")));
  auto r = LoadSettings(g);
  EXPECT_TRUE(r.accepted);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Warning");
  EXPECT_NE(host.messages[0].text.find("\"1.5\" is not a whole number"), std::string::npos) << host.messages[0].text;
}

TEST_F(SettingsTest, MessagesNameTheValueUsed) {
  const struct {
    int line;
    const char* text;
    const char* says;
  } cases[] = {
      // The depth is clamped to 0, which start-up turns into 2.
      {4, "-5", "line 4 (SearchDepth): -5 is outside 0..20; 2 is used."},
      {4, "45", "line 4 (SearchDepth): 45 is outside 0..20; 20 is used."},
      {52, "7", "line 52 (BoardSizeCode): 7 is outside 0..4; 2 is used."},
      {2, "9", "line 2 (PlayMode): 9 is outside 0..2; 0 is used."},
      {15, "99999999999", "line 15 (SearchTime): 99999999999 is outside 1..180; 180 is used."},
      // Rules get the range of their key.
      {8, "2", "line 8 (MulJumps): 2 is outside 0..1; 1 is used."},
      {81, "2147483647", "line 81 (ContractW1): 2147483647 is outside 0..9; 0 is used."},
      {84, "-3", "line 84 (ContractB2): -3 is outside 0..9; 0 is used."},
      {75, "-2", "line 75 (NumberFriends): -2 is outside -1..64; 0 is used."},
      // A movement string with unknown direction names would leave the men
      // without a move.
      {32, "XX;YY ZZ",
       "line 32 (WhiteManMovement): \"XX\" is not a direction name (NW, NE, SE, SW, W, N, E, S, WW, NN, EE, SS); "
       "the standard movement \"NW;NE NW;NE\" is used."},
      {35, "NW;NE;SE;SW NW;se", "line 35 (BlackKingMovement): \"se\" is not a direction name"},
      {34, "NW;;SE NW", "line 34 (WhiteKingMovement): an empty direction name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ": " + c.text);
    GameState run;
    auto r = ParseSettingsText(run, Join(WithLine(c.line, c.text)));
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find(c.says), std::string::npos) << r.warnings[0];
  }
  GameState run;
  ParseSettingsText(run, Join(WithLine(32, "XX;YY ZZ")));
  EXPECT_EQ(run.Rules.MovementStrings[0], "NW;NE NW;NE");
  EXPECT_EQ(run.Tables.DirectionTable[0][0], 9);
  ParseSettingsText(run, Join(WithLine(81, "2147483647")));
  EXPECT_EQ(run.Rules.ContractW1, 0);

  // At start-up the depth the message names is the one in use.
  Write("tavrin.ini", Join(WithLine(4, "-5")));
  LoadSettings(g);
  EXPECT_EQ(g.Opt.SearchDepth, 2);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("-5 is outside 0..20; 2 is used."), std::string::npos)
      << host.messages[0].text;
}

TEST_F(SettingsTest, StartUpCorrectionsAndWarningsReachTheUser) {
  auto lines = WithLine(4, "0");
  lines[1] = "2";
  lines[2] = "x";
  Write("tavrin.ini", Join(lines));
  auto r = LoadSettings(g);
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(g.Opt.SearchDepth, 2);
  EXPECT_EQ(g.Opt.PlayMode, 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("tavrin.ini\", line 3 (Weakness)"), std::string::npos)
      << host.messages[0].text;
  EXPECT_EQ(Read("tavrin.ini"), Join(lines)) << "corrections are not written back at start-up";
}

TEST_F(SettingsTest, SaveCanKeepTheLastGoodVariantName) {
  g.Rules.Variant = "Broken Variant";
  const std::string good = "Pool Checkers";
  ASSERT_TRUE(SaveSettings(g, &good));
  EXPECT_EQ(CrLfLines(Read("tavrin.ini"))[10], "Pool Checkers");
}

TEST_F(SettingsTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
  g.ProgramFolder = (folder / "no" / "such" / "folder").string();
  EXPECT_FALSE(SaveSettings(g));
  ASSERT_EQ(host.messages.size(), 2u);  // the settings and the rating
  EXPECT_EQ(host.messages[0].title, "Error");
  EXPECT_NE(host.messages[0].text.find("settings"), std::string::npos);
  // The messages name the files the user knows and the reason, never the
  // temporary file the write goes through.
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.text.find(".tmp"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("No such file or directory"), std::string::npos) << m.text;
  }
  EXPECT_NE(host.messages[0].text.find("/tavrin.ini\""), std::string::npos) << host.messages[0].text;
  EXPECT_NE(host.messages[1].text.find("/tavrin.rtg\""), std::string::npos) << host.messages[1].text;

  // A fresh file that cannot be written is reported too; the defaults stand.
  host.messages.clear();
  auto r = LoadSettings(g);
  EXPECT_FALSE(r.freshWritten);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(host.messages.size(), 1u);
}

// A file full of junk gives a message that fits on the screen: each bad
// value quoted in part, and only the first fifteen warnings listed.
TEST_F(SettingsTest, WarningsAboutHugeOrManyBadLinesStayShort) {
  const std::string junk(1u << 20, 'x');
  const std::string ellipsis = "\xE2\x80\xA6";
  Write("tavrin.ini", Join(WithLine(3, junk)));
  LoadSettings(g);
  ASSERT_EQ(host.messages.size(), 1u);
  const std::string& one = host.messages[0].text;
  EXPECT_LT(one.size(), 300u) << one.substr(0, 300);
  EXPECT_NE(one.find("line 3 (Weakness): \"" + std::string(40, 'x') + ellipsis + "\" is not a number; 1 is used."),
            std::string::npos)
      << one.substr(0, 300);

  // Every number and movement line bad: 78 warnings.
  auto lines = kDefaultLines;
  for (size_t i = 1; i < lines.size(); ++i)
    if (lines[i].find_first_not_of("0123456789") == std::string::npos || lines[i].find(';') != std::string::npos)
      lines[i] = "bad" + std::to_string(i + 1);
  GameState run;
  Restart(run);
  host.messages.clear();
  Write("tavrin.ini", Join(lines));
  const auto r = LoadSettings(run);
  ASSERT_EQ(r.warnings.size(), 78u);
  ASSERT_EQ(host.messages.size(), 1u);
  const auto shown = CrLfLines(host.messages[0].text);
  ASSERT_EQ(shown.size(), 16u) << host.messages[0].text;
  EXPECT_NE(shown[0].find("line 2 (PlayMode): \"bad2\""), std::string::npos) << shown[0];
  EXPECT_NE(shown[14].find("line 17 (ChessDrawRules)"), std::string::npos) << shown[14];
  EXPECT_EQ(shown[15], "and 63 more.");
}

// A name of any length read from an old file no longer hides the settings
// after it: the name is cut (and the user told), the rest read as written.
TEST_F(SettingsTest, AHugeNameIsCutAndTheLinesAfterItAreRead) {
  auto lines = WithLine(21, std::string(4u << 20, 'n'));
  lines[63] = "Walnut";  // SkinName, line 64
  lines[70] = "9";       // PlyValueDepth, line 71
  Write("tavrin.ini", Join(lines));
  const auto r = LoadSettings(g);
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(g.Opt.UserName, std::string(200, 'n'));
  EXPECT_EQ(g.Opt.SkinName, "Walnut");
  EXPECT_EQ(g.Opt.PlyValueDepth, 9);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("line 21 (UserName): the name is longer than 200 characters"),
            std::string::npos)
      << host.messages[0].text.substr(0, 300);
  EXPECT_FALSE(std::filesystem::exists(Path("tavrin.ini.bad")));

  // Whatever the name in memory, the file written holds no more than the
  // reader reads, and the next start reads it whole and quietly.
  g.Opt.UserName = std::string(3u << 20, '\xC3');
  for (size_t i = 1; i < g.Opt.UserName.size(); i += 2) g.Opt.UserName[i] = '\xA9';  // é...
  ASSERT_TRUE(SaveSettings(g));
  const std::string saved = Read("tavrin.ini");
  EXPECT_LT(saved.size(), kSettingsReadLimit);
  GameState next;
  Restart(next);
  host.messages.clear();
  LoadSettings(next);
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text.substr(0, 300);
  EXPECT_EQ(next.Opt.UserName, g.Opt.UserName.substr(0, 400));
  EXPECT_EQ(next.Opt.SkinName, "Walnut");
}

// The copy kept of a rejected file is the whole file, however large.
TEST_F(SettingsTest, TheKeptCopyOfARejectedFileIsWhole) {
  std::string text = Join(WithLine(1, "TAVRIN0.88"));
  while (text.size() <= (2u << 20)) text += "one more line of an old file\r\n";
  Write("tavrin.ini", text);
  LoadSettings(g);
  EXPECT_EQ(Read("tavrin.ini.bad").size(), text.size());
  EXPECT_TRUE(Read("tavrin.ini.bad") == text);
  EXPECT_EQ(CrLfLines(Read("tavrin.ini")), kDefaultLines);
}

// A settings file the system refuses to open may hold the user's settings:
// the user is told, the defaults are used for the run, and neither the
// start nor the exit writes over it. The rating is still saved.
TEST_F(SettingsTest, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
  const std::string text = Join(WithLine(3, "7"));
  Write("tavrin.ini", text);
  g.RefuseOpen = [](const std::string& path) { return path.ends_with("tavrin.ini"); };
  const auto r = LoadSettings(g);
  EXPECT_FALSE(r.accepted);
  EXPECT_FALSE(r.freshWritten);
  EXPECT_EQ(g.Opt.Weakness, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("tavrin.ini\" cannot be read: Permission denied"), std::string::npos)
      << host.messages[0].text;
  EXPECT_EQ(Read("tavrin.ini"), text);
  g.Opt.Weakness = 4;
  g.Rating.UserRating = 1300;
  EXPECT_TRUE(SaveSettings(g));
  EXPECT_EQ(Read("tavrin.ini"), text);
  EXPECT_FALSE(std::filesystem::exists(Path("tavrin.ini.bad")));
  EXPECT_EQ(Read("tavrin.rtg"), RatingFileText(1300));
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(SettingsTest, MutatedFilesNeverBreakTheReader) {
  std::mt19937 rng(20261210);
  const std::string base = Join(kDefaultLines);
  const std::string alphabet = std::string("0123456789-+.,\"& \r\nEH;NWSx") + '\0' + "\xff";
  for (int round = 0; round < 1500; ++round) {
    std::string text = base;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = rng() % text.size();
      switch (rng() % 3) {
        case 0: text[at] = alphabet[rng() % alphabet.size()]; break;
        case 1: text.insert(at, 1, alphabet[rng() % alphabet.size()]); break;
        default: text.erase(at, 1 + rng() % 12); break;
      }
    }
    GameState run;
    auto r = ParseSettingsText(run, text);
    if (!r.accepted) continue;
    // Whatever was accepted is in range and survives a save and a re-read.
    EXPECT_GE(run.Opt.SearchDepth, 0);
    EXPECT_LE(run.Opt.SearchDepth, 20);
    EXPECT_GE(run.Opt.SearchTime, 1);
    EXPECT_TRUE(IsSafeFileName(run.Rules.Variant));
    const std::string saved = SettingsText(run);
    GameState again;
    auto r2 = ParseSettingsText(again, saved);
    ASSERT_TRUE(r2.accepted);
    EXPECT_TRUE(r2.warnings.empty());
    ASSERT_EQ(SettingsText(again), saved) << "round " << round;
  }
}

TEST(Latin1, ConvertsBothWays) {
  EXPECT_EQ(Latin1ToUtf8("a\xe9\xff"), "a\xc3\xa9\xc3\xbf");
  EXPECT_EQ(Utf8ToLatin1("a\xc3\xa9\xc3\xbf"), "a\xe9\xff");
  EXPECT_EQ(Utf8ToLatin1("\xe2\x82\xac!"), "?!");      // beyond Latin-1
  EXPECT_EQ(Utf8ToLatin1("\xc3"), "?");                // cut short
  EXPECT_EQ(Utf8ToLatin1("\x80z"), "?z");              // stray continuation byte
}

}  // namespace
}  // namespace m8
