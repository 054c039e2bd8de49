#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/rules/builtinrules.h"
#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/rules/variantfile.h"
#include "core/textcode.h"
#include "movegen_fixture.h"

using namespace m8;

namespace {

const char* const kStandardSetup = "1010101001010101101010100000000000000000020202022020202002020202";

// Squares written the way the promotion keys hold them ("B8D8F8H8").
std::array<int32_t, kPromoEntries> Squares(std::string_view text) {
  std::array<int32_t, kPromoEntries> side;
  side.fill(-1);
  for (size_t k = 0; 2 * k + 1 < text.size(); ++k)
    side[k] = (text[2 * k + 1] - '1' + 2) * 10 + (text[2 * k] - 'A' + 1);
  return side;
}

std::unique_ptr<GameState> StateAt(const std::string& folder, int useClassic = 1) {
  auto g = std::make_unique<GameState>();
  g->ProgramFolder = folder;
  g->Opt.UseClassic = useClassic;
  return g;
}

// What a game set-up does with freshly read variant rules: put them in force
// and build the movement and promotion tables.
void ApplyVariant(GameState& g) {
  g.Rules = g.VariantRules;
  ParseAllDirections(g);
  SetBoardModeFromDirections(g);
  if (g.Rules.PiecesOnBlack == 0) ShiftToOtherColour(g, false);
  BuildPromoReach(g);
  AnalyzePromotionSquares(g);
}

struct Shipped {
  const char* name;
  const char* setup;  // "normal" or the 64 digits
  int blackStarts;
  const char* promoW;
  const char* promoB;
  int piecesOnBlack;
  int builtInSet;  // the engine family whose rules the file gives exactly, or 0
};

constexpr const char* kRows8W = "A8B8C8D8E8F8G8H8";
constexpr const char* kRows1B = "A1B1C1D1E1F1G1H1";
constexpr const char* kEightMen =
    "1010101001010101000000000000000000000000000000002020202002020202";
constexpr const char* kSixteenRows12 =
    "1111111111111111000000000000000000000000000000002222222222222222";
constexpr const char* kSixteenRows23 =
    "0000000011111111111111110000000000000000222222222222222200000000";

// The 29 built-in variants, as their help texts describe them.
const Shipped kShipped[] = {
    {"American Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 1},
    {"NW Diagonal Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"NE Diagonal Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Anti Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Double-Back Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Italian Checkers", "normal", 0, "A8C8E8G8", "B1D1F1H1", 0, 2},
    {"German Checkers", "normal", 0, "B8D8F8H8", "A1C1E1G1", 1, 3},
    {"Russian Checkers", "normal", 0, "B8D8F8H8", "A1C1E1G1", 1, 4},
    {"Pool Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Spanish Checkers", "normal", 0, "A8C8E8G8", "B1D1F1H1", 0, 0},
    {"Central-S-German Checkers", "normal", 0, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Scandinavian Checkers", "normal", 0, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Gothic Checkers", kSixteenRows12, 0, kRows8W, kRows1B, 2, 0},
    {"Turkish Checkers", kSixteenRows23, 0, kRows8W, kRows1B, 2, 0},
    {"Armenian Checkers", kSixteenRows23, 0, kRows8W, kRows1B, 2, 0},
    {"King Race", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Portuguese Checkers", "normal", 0, "A8C8E8G8", "B1D1F1H1", 0, 0},
    {"Mini Checkers", kEightMen, 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"NoCap Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Fox and Geese", "1010101000000000000000000000000000000000000000000000000000040000", 1, "",
     "A1C1E1G1", 1, 0},
    {"Wolf and Goats", "1010101001010101101010100000000000000000000000000000000000040000", 1, "",
     "A1C1E1G1", 1, 0},
    {"Czech Checkers", "normal", 0, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"King Checkers", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"NoPromo Checkers", "normal", 1, "", "", 1, 0},
    {"Thai Checkers", kEightMen, 0, "B8D8F8H8", "A1C1E1G1", 1, 0},
    {"Kings", "3030303003030303303030300000000000000000040404044040404004040404", 1, "B8D8F8H8",
     "A1C1E1G1", 1, 0},
    {"Kings Corners", "normal", 1, "H8", "A1", 1, 0},
    {"Kings Corners 6", "1010101001000001000000000000000000000000000000002000002002020202", 1, "H8", "A1",
     1, 0},
    {"Anti Checkers Standoff", "normal", 1, "B8D8F8H8", "A1C1E1G1", 1, 0},
};

}  // namespace

TEST(ShippedVariants, ExactlyTheBuiltInNamesAreShipped) {
  std::set<std::string> onDisk, expected;
  for (const auto& e : std::filesystem::directory_iterator(std::string(M8_DATA_DIR) + "/variants"))
    if (e.is_regular_file() && e.path().extension() == ".ini") onDisk.insert(e.path().stem().string());
  for (const auto& v : kShipped) expected.insert(v.name);
  EXPECT_EQ(expected.size(), 29u);
  EXPECT_EQ(onDisk, expected);
  EXPECT_TRUE(std::filesystem::is_directory(std::string(M8_DATA_DIR) + "/variants/uservariants"));
}

TEST(ShippedVariants, EachReadsAndBuildsItsTables) {
  for (const auto& v : kShipped) {
    SCOPED_TRACE(v.name);
    auto g = StateAt(M8_DATA_DIR);
    g->Rules.Variant = v.name;
    std::string error;
    ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
    EXPECT_EQ(g->Variant.LoadedVariantName, v.name);
    EXPECT_FALSE(g->Variant.VariantHelp.empty());
    EXPECT_EQ(g->Variant.VariantHelp.find("<br>"), std::string::npos);
    EXPECT_TRUE(g->Variant.HelpLink.empty() || StartsWith(g->Variant.HelpLink, "https://"));

    // Start position, side to move, promotion squares, board kind.
    const std::string setup = v.setup;
    EXPECT_EQ(BoardToSetupString(g->StartBoard), setup == "normal" ? kStandardSetup : setup);
    EXPECT_EQ(g->board, g->StartBoard);
    EXPECT_EQ(g->VariantRules.BlackStarts, v.blackStarts);
    EXPECT_EQ(g->VariantRules.PromoSquares[0], Squares(v.promoW));
    EXPECT_EQ(g->VariantRules.PromoSquares[1], Squares(v.promoB));
    EXPECT_EQ(g->VariantRules.PiecesOnBlack, v.piecesOnBlack);
    EXPECT_EQ(g->VariantRules.Variant, v.name);

    // Every direction name is one the parser knows, and each list fits.
    for (const std::string& m : g->VariantRules.MovementStrings) EXPECT_TRUE(CheckMovementString(m, nullptr)) << m;

    ApplyVariant(*g);
    // The board kind the file states is the one the directions give.
    EXPECT_EQ(g->Rules.PiecesOnBlack, v.piecesOnBlack);
    // After the colour shift the pieces and the promotion squares stand on
    // squares in play (every square is when all 64 are played).
    const bool allSquares = g->Rules.PiecesOnBlack == 2;
    for (int c = 21; c <= 98 && !allSquares; ++c) {
      const int v2 = g->board[c];
      if (v2 == kOffBoard || v2 == 0) continue;
      int playable = 0;
      IsPlayableCorrection(g->Rules.PiecesOnBlack, c, &playable);
      EXPECT_EQ(playable, 1) << "piece on " << c;
    }
    for (const auto& side : g->Rules.PromoSquares)
      for (int p : side) {
        if (p == -1 || allSquares) continue;
        int playable = 0;
        IsPlayableCorrection(g->Rules.PiecesOnBlack, p, &playable);
        EXPECT_EQ(playable, 1) << "promotion square " << p;
      }

    if (v.builtInSet > 0) {
      EXPECT_TRUE(SameRules(g->VariantRules, BuiltInRules(v.builtInSet)));
    } else if (setup == "normal") {
      // Only its own start position would set it apart.
      for (int set = 1; set <= kBuiltInRuleSets; ++set)
        EXPECT_FALSE(SameRules(g->VariantRules, BuiltInRules(set))) << "same as set " << set;
    }
  }
}

TEST(ShippedVariants, AmericanCheckersGivesTheStandardValues) {
  auto g = StateAt(M8_DATA_DIR);
  std::string error;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  RuleSet standard;
  EXPECT_EQ(g->VariantRules, standard);
  EXPECT_EQ(g->board, DefaultStartBoard());
}

TEST(ShippedVariants, RussianRulesForThePerftYardstick) {
  auto g = StateAt(M8_DATA_DIR);
  g->Rules.Variant = "Russian Checkers";
  std::string error;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  const RuleSet& r = g->VariantRules;
  EXPECT_EQ(r.MovementStrings[0], "NW;NE NW;NE;SE;SW");
  EXPECT_EQ(r.MovementStrings[1], "NW;NE NW;NE;SE;SW");
  EXPECT_EQ(r.LongKings, 1);
  EXPECT_EQ(r.ManContJump, 1);
  EXPECT_EQ(r.ManContJumpCrowned, 1);
  EXPECT_EQ(r.MaxCapMove, 0);
  EXPECT_EQ(r.CapRequired, 1);
  EXPECT_EQ(r.BlackStarts, 0);
}

TEST(VariantReader, LoadingAfterAnotherEqualsLoadingAlone) {
  auto alone = StateAt(M8_DATA_DIR);
  alone->Rules.Variant = "NoCap Checkers";
  std::string error;
  ASSERT_TRUE(ReadVariantFile(*alone, &error)) << error;

  auto after = StateAt(M8_DATA_DIR);
  after->Rules.Variant = "Russian Checkers";
  ASSERT_TRUE(ReadVariantFile(*after, &error)) << error;
  after->Rules.Variant = "NoCap Checkers";
  ASSERT_TRUE(ReadVariantFile(*after, &error)) << error;
  EXPECT_EQ(after->VariantRules, alone->VariantRules);
  EXPECT_EQ(after->Variant.VariantHelp, alone->Variant.VariantHelp);
  EXPECT_EQ(after->Variant.HelpLink, alone->Variant.HelpLink);
  EXPECT_EQ(after->Variant.QuickHelpLink, alone->Variant.QuickHelpLink);

  // A file without links clears the links of the one read before.
  auto user = StateAt(std::string(M8_FIXTURE_DIR) + "/variants", 0);
  user->Variant.HelpLink = "https://example.org/old";
  user->Variant.QuickHelpLink = "https://example.org/old-quick";
  user->Rules.Variant = "User Only";
  ASSERT_TRUE(ReadVariantFile(*user, &error)) << error;
  EXPECT_EQ(user->Variant.HelpLink, "");
  EXPECT_EQ(user->Variant.QuickHelpLink, "");
  EXPECT_EQ(user->Variant.VariantHelp, "From the user folder.");
  EXPECT_EQ(user->VariantRules.MulJumps, 0);
}

TEST(VariantReader, RulesInForceAndDirectionTableUntouched) {
  auto g = StateAt(M8_DATA_DIR);
  g->Rules.Variant = "Turkish Checkers";
  ParseAllDirections(*g);
  const DirectionRows table = g->Tables.DirectionTable;
  RuleSet inForce = g->Rules;
  std::string error;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  EXPECT_EQ(g->VariantRules.MovementStrings[0], "W;N;E W;N;E");
  EXPECT_EQ(g->Tables.DirectionTable, table);
  EXPECT_EQ(g->Rules, inForce);
}

TEST(VariantReader, FolderChosenByUseClassic) {
  const std::string folder = std::string(M8_FIXTURE_DIR) + "/variants";
  std::string error;
  auto classic = StateAt(folder, 1);
  classic->Rules.Variant = "User Only";
  EXPECT_FALSE(ReadVariantFile(*classic, &error));
  EXPECT_NE(error.find("User Only.ini"), std::string::npos) << error;

  auto user = StateAt(folder, 0);
  user->Rules.Variant = "User Only";
  EXPECT_TRUE(ReadVariantFile(*user, &error)) << error;
}

namespace {

// A program folder of its own with a variants folder, removed at the end.
struct VariantFolder {
  std::string dir;
  explicit VariantFolder(const std::string& name) : dir(::testing::TempDir() + name) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "/variants");
  }
  ~VariantFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  void write(const std::string& variant, const std::string& bytes) const {
    ASSERT_TRUE(ReplaceFile(dir + "/variants/" + variant + ".ini", bytes));
  }
};

// A game in progress with rules from an earlier variant.
void PutInProgress(GameState& g) {
  g.Rules = RuleSet{};
  g.VariantRules = RuleSet{};
  g.VariantRules.LongKings = 1;
  g.VariantRules.MulJumps = 0;
  g.Rules.CapRequired = 0;
  g.Rules.canContract = 1;
  g.Variant = VariantInfo{};
  g.Variant.VariantHelp = "old help";
  g.Variant.HelpLink = "https://example.org/old";
  g.Variant.LoadedVariantName = "Old";
  g.board = g.StartBoard = DefaultStartBoard();
  g.board[54] = 2;
  g.P.MaterialBalance[0] = 700;
  g.Game.MaterialBalanceHistory[0] = 700;
}

std::unique_ptr<GameState> GameInProgress(const std::string& folder) {
  auto g = StateAt(folder);
  PutInProgress(*g);
  return g;
}

// What a refused file must leave as it was.
struct Snapshot {
  RuleSet rules, variantRules;
  VariantInfo info;
  Board board, start;
  int32_t balance, balanceHistory;
  explicit Snapshot(const GameState& g)
      : rules(g.Rules), variantRules(g.VariantRules), info(g.Variant), board(g.board), start(g.StartBoard),
        balance(g.P.MaterialBalance[0]), balanceHistory(g.Game.MaterialBalanceHistory[0]) {}
};

void ExpectUnchanged(const GameState& g, const Snapshot& before) {
  EXPECT_EQ(g.Rules, before.rules);
  EXPECT_EQ(g.VariantRules, before.variantRules);
  EXPECT_EQ(g.Variant.VariantHelp, before.info.VariantHelp);
  EXPECT_EQ(g.Variant.HelpLink, before.info.HelpLink);
  EXPECT_EQ(g.Variant.LoadedVariantName, before.info.LoadedVariantName);
  EXPECT_EQ(g.board, before.board);
  EXPECT_EQ(g.StartBoard, before.start);
  EXPECT_EQ(g.P.MaterialBalance[0], before.balance);
  EXPECT_EQ(g.Game.MaterialBalanceHistory[0], before.balanceHistory);
}

}  // namespace

TEST(VariantReader, BrokenFilesSayWhereAndChangeNothing) {
  const std::string start = kStandardSetup;
  std::string digit5 = start;
  digit5[40] = '5';
  const struct Case {
    const char* variant;
    std::string bytes;
    int line;         // the line the message names, 0 for none
    const char* key;  // the key it names, "" for none
    std::string says;
  } cases[] = {
      {"No End", "; t\nMulJumps=0\nHelp=never finished\n", 0, "", "no line END"},
      {"Lower End", "; t\nMulJumps=0\nend\n", 0, "", "no line END"},
      {"Setup Digit", "; t\nMulJumps=0\nSetup=" + digit5 + "\nEND\n", 3, "Setup", "'5' at position 41"},
      // Placement rows: a huge row overflowed the generator's arithmetic.
      {"Big Row", "; t\nMulJumps=0\r\nContractW1=2147483647\r\nEND\r\n", 3, "ContractW1",
       "\"2147483647\" is outside 0..9"},
      {"Huge Row", "; t\nContractB2=99999999999\nEND\n", 2, "ContractB2", "\"99999999999\" is outside 0..9"},
      {"Row Ten", "; t\nContractB1=10\nEND\n", 2, "ContractB1", "outside 0..9"},
      {"Row Minus", "; t\nContractW2=-1\nEND\n", 2, "ContractW2", "outside 0..9"},
      {"Flag Two", "; t\nMulJumps=2\nEND\n", 2, "MulJumps", "\"2\" is outside 0..1"},
      {"Bad Range", "; t\nPiecesOnBlack=3\nEND\n", 2, "PiecesOnBlack", "outside 0..2"},
      {"Friends", "; t\nNumberFriends=-2\nEND\n", 2, "NumberFriends", "outside -1..64"},
      {"Many Moves", "; t\nNumberMoves=1e9\nEND\n", 2, "NumberMoves", "\"1e9\" is not a whole number in 0..200"},
      // A long value is quoted in part, cut between two characters.
      {"Long Value", "; t\nNumberMen=99" + std::string(37, '0') + "\xc3\xa9" + "0\nEND\n", 2, "NumberMen",
       "\"99" + std::string(37, '0') + "\xc3\xa9\xE2\x80\xA6\" is not a whole number in 0..32"},
      {"Nine Names", "; t\nWhiteKingMovement=N;E;S;W;NW;NE;SE;SW;NN NW\nEND\n", 2, "WhiteKingMovement",
       "more than eight"},
      // Unknown direction names: the parser would end the list there, and
      // white men could not move at all.
      {"Bad Names", "; t\nWhiteManMovement=XX;YY ZZ\nEND\n", 2, "WhiteManMovement",
       "\"XX\" is not a direction name"},
      {"Lower Name", "; t\nBlackKingMovement=NW;ne NW\nEND\n", 2, "BlackKingMovement", "\"ne\""},
      {"Capture Name", "; t\nBlackManMovement=NW;NE NW;NX\nEND\n", 2, "BlackManMovement", "\"NX\""},
      {"Two Blanks", "; t\nBlackManMovement=NW;NE  NW\nEND\n", 2, "BlackManMovement", "\" NW\""},
      {"Empty Name", "; t\nWhiteKingMovement=NW;;NE NW\nEND\n", 2, "WhiteKingMovement", "empty direction name"},
      // Binary junk that happens to hold key lines and an END line.
      {"Binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\nMulJumps=0\nEND\n", 29), 0, "", "not a text file"},
      {"Controls", "; t\nMulJumps=0\nLongKings=1\x01\x02\nEND\n", 3, "", "not a text file"},
      {"Too Large", "; t\nEND\n" + std::string((1u << 20), '-'), 0, "", "too large"},
      {"Not There", "", 0, "", "missing"},
  };
  VariantFolder folder("m8_variantfile_broken");
  for (const auto& c : cases)
    if (std::string_view(c.variant) != "Not There") folder.write(c.variant, c.bytes);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    auto g = GameInProgress(folder.dir);
    g->Rules.Variant = c.variant;
    const Snapshot before(*g);
    std::string error;
    EXPECT_FALSE(ReadVariantFile(*g, &error));
    EXPECT_NE(error.find(std::string(c.variant) + ".ini'"), std::string::npos) << error;
    if (c.line > 0) {
      const std::string where = ", line " + std::to_string(c.line) + (*c.key ? ", key " + std::string(c.key) : "") + ":";
      EXPECT_NE(error.find(where), std::string::npos) << error;
    }
    EXPECT_NE(error.find(c.key), std::string::npos) << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_TRUE(IsValidUtf8(error)) << error;
    ExpectUnchanged(*g, before);
  }
}

TEST(VariantReader, HelpTextIsUtf8OrLatin1) {
  const struct {
    const char* variant;
    std::string bytes;
    std::string help;
  } cases[] = {
      // Latin-1 bytes: "Dame à la française", and a link with a Latin-1 letter.
      {"Latin", "; t\nHelp=Dame \xe0 la fran\xe7" "aise.\nHelpLink=https://example.org/fran\xe7" "ais\nEND\n",
       "Dame \xc3\xa0 la fran\xc3\xa7" "aise."},
      // The same text in UTF-8 stays as it is.
      {"Utf8", "; t\nHelp=Dame \xc3\xa0 la fran\xc3\xa7" "aise.\nEND\n", "Dame \xc3\xa0 la fran\xc3\xa7" "aise."},
      // UTF-8 with a byte-order mark on the title line, and a Greek letter.
      {"Bom", "\xef\xbb\xbf; t\nHelp=\xce\xb1 = 1\nEND\n", "\xce\xb1 = 1"},
  };
  VariantFolder folder("m8_variantfile_help");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    folder.write(c.variant, c.bytes);
    auto g = StateAt(folder.dir);
    g->Rules.Variant = c.variant;
    std::string error;
    ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
    EXPECT_EQ(g->Variant.VariantHelp, c.help);
    EXPECT_TRUE(IsValidUtf8(g->Variant.VariantHelp));
    EXPECT_EQ(g->Variant.VariantHelp.find("\xef\xbf\xbd"), std::string::npos);  // no replacement character
  }
  auto g = StateAt(folder.dir);
  g->Rules.Variant = "Latin";
  std::string error;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  EXPECT_EQ(g->Variant.HelpLink, "https://example.org/fran\xc3\xa7" "ais");
}

// The readers keep placement rows in 0..9; the generator stays within the
// board whatever rows the rules in force hold (a huge row overflowed its
// arithmetic).
TEST(VariantReader, PlacementRowsOutsideTheBoardPlaceNothing) {
  const int32_t rows[] = {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), -1, 10};
  for (int32_t row : rows) {
    SCOPED_TRACE(row);
    RuleSet r;
    r.canContract = 1;
    r.ContractW1 = row;
    r.ContractW2 = 3;
    auto g = m8::testing::NewGame(r);
    m8::testing::PlacePieces(*g, "w:a1 b:h8", 1);
    g->Mat.WhiteToPlace = 1;
    EXPECT_EQ(m8::testing::LegalTexts(*g), (std::vector<std::string>{"a1-b2"}));
    g->Rules.ContractW1 = 2;
    g->Rules.ContractW2 = row;
    EXPECT_EQ(m8::testing::LegalTexts(*g), (std::vector<std::string>{"a1-b2"}));
  }
}

TEST(VariantReader, UnsafeVariantNameIsRefused) {
  auto g = StateAt(M8_DATA_DIR);
  std::string error;
  for (const char* name : {"../American Checkers", "", "a/b"}) {
    g->Rules.Variant = name;
    EXPECT_FALSE(ReadVariantFile(*g, &error)) << name;
    EXPECT_FALSE(error.empty());
  }
}

namespace {
VariantFileData Parse(std::string_view text, std::string* error = nullptr) {
  VariantFileData d;
  std::string e;
  const bool ok = ParseVariantText(text, "test.ini", d, &e);
  EXPECT_TRUE(ok || error) << e;
  if (error) *error = ok ? "" : e;
  return d;
}
}  // namespace

TEST(VariantText, HelpJoining) {
  EXPECT_EQ(Parse("t\nHelp=Kings fly.\nHelp=Men do not.\nEND\n").info.VariantHelp,
            "Kings fly.Men do not.");
  EXPECT_EQ(Parse("t\nHelp=Kings fly.\nHelp=<br>\nHelp=Men do not.\nEND\n").info.VariantHelp,
            "Kings fly.\r\nMen do not.");
  // Only a line that is exactly "<br>" is a line break; HelpLink is no help line.
  const auto d = Parse("t\nHelp= <br>\nHelpLink=https://a\nQuickHelpLink=https://b\nEND\n");
  EXPECT_EQ(d.info.VariantHelp, " <br>");
  EXPECT_EQ(d.info.HelpLink, "https://a");
  EXPECT_EQ(d.info.QuickHelpLink, "https://b");
}

TEST(VariantText, PromotionSquareLists) {
  using Side = std::array<int32_t, kPromoEntries>;
  auto side = [](std::initializer_list<int32_t> cells) {
    Side s;
    s.fill(-1);
    std::copy(cells.begin(), cells.end(), s.begin());
    return s;
  };
  // Pairs of characters give the entries in order; letters may be lower
  // case; a pair that is no square (a half pair at the end too) refuses the
  // file with its key, rather than leaving a square out unnoticed.
  const struct {
    const char* value;
    Side want;
    bool ok = true;
  } cases[] = {
      {"A8C8E8G8", side({91, 93, 95, 97})},
      {"", side({})},
      {"b8d8f8h8", side({92, 94, 96, 98})},
      {"a1C1e1G1", side({21, 23, 25, 27})},
      {"B8D8F8H8  ", side({92, 94, 96, 98})},
      {"B8D9F8H8", side({}), false},
      {"B8D", side({}), false},
      {"I1A0B8", side({}), false},
      {"B8 D8", side({}), false},
      {"z9z9B8D8F8H8", side({}), false},
      {"B1D1F1H1e308", side({}), false},
      {"A8B8C8D8E8F8G8H8A7B7C7D7", side({91, 92, 93, 94, 95, 96, 97, 98, 81, 82, 83, 84})},
      {"A8B8C8D8E8F8G8H8A7B7C7D7E7", side({91, 92, 93, 94, 95, 96, 97, 98, 81, 82, 83, 84})},
  };
  for (const auto& c : cases)
    for (const char* key : {"PromoW", "PromoB"}) {
      SCOPED_TRACE(std::string(key) + "=" + c.value);
      std::string error;
      const auto d = Parse(std::string("t\n") + key + "=" + c.value + "\nEND\n", &error);
      EXPECT_EQ(error.empty(), c.ok) << error;
      if (c.ok) EXPECT_EQ(d.rules.PromoSquares[std::string(key) == "PromoW" ? 0 : 1], c.want);
      else EXPECT_NE(error.find("line 2, key " + std::string(key) + ":"), std::string::npos) << error;
    }
}

// A value is a whole number written out: one that only begins with a number
// is refused, not rounded or cut to its leading digits.
TEST(VariantText, NumbersAreWholeNumbersWrittenOut) {
  struct Case {
    const char* value;
    int expected;  // -1: refused
  } cases[] = {{"1.5", -1}, {"2.5", -1}, {" 1", 1}, {"x1", -1}, {"", -1}, {"3abc", -1}, {"-0.5", -1}, {"3", 3}};
  for (const auto& c : cases) {
    std::string error;
    const auto d = Parse(std::string("t\nNumberKings=") + c.value + "\nEND\n", &error);
    EXPECT_EQ(error.empty(), c.expected >= 0) << '"' << c.value << "\": " << error;
    if (c.expected >= 0) {
      EXPECT_EQ(d.rules.NumberKings, c.expected) << '"' << c.value << '"';
    }
  }
}

TEST(VariantText, LinesAndTerminator) {
  // The first line is ignored whatever it holds; lines after END are not read;
  // CR LF, LF and CR all end lines; unknown lines are ignored.
  auto d = Parse("MulJumps=0\r\nLongKings=1\r\nUnknown=5\r\nEND\r\nMaxCapMove=1\r\n");
  EXPECT_EQ(d.rules.MulJumps, 1);
  EXPECT_EQ(d.rules.LongKings, 1);
  EXPECT_EQ(d.rules.MaxCapMove, 0);
  d = Parse("t\rLongKings=1\rEND");
  EXPECT_EQ(d.rules.LongKings, 1);
  // Keys are matched with exact case and their "=".
  d = Parse("t\nlongkings=1\nLongKings 1\nEND\n");
  EXPECT_EQ(d.rules.LongKings, 0);
  // A later line overwrites an earlier one.
  d = Parse("t\nLongKings=1\nLongKings=0\nEND\n");
  EXPECT_EQ(d.rules.LongKings, 0);

  std::string error;
  Parse("t\nMulJumps=0\nend\n", &error);
  EXPECT_NE(error.find("END"), std::string::npos) << error;
  Parse("", &error);
  EXPECT_NE(error.find("END"), std::string::npos) << error;
  Parse("END\n", &error);  // the first line is never the terminator
  EXPECT_FALSE(error.empty());
  Parse("t\n END\n", &error);
  EXPECT_FALSE(error.empty());
}

TEST(VariantText, SetupValues) {
  auto d = Parse("t\nSetup=normal\nEND\n");
  EXPECT_FALSE(d.setup.has_value());
  d = Parse(std::string("t\nSetup=") + kStandardSetup + "\nEND\n");
  ASSERT_TRUE(d.setup.has_value());
  EXPECT_EQ(*d.setup, DefaultStartBoard());

  // One character per played cell; a missing character or one that is no
  // digit leaves its cell empty, characters past the 64th are not read.
  const std::string standard = kStandardSetup;
  std::string noH8 = standard;
  noH8[63] = '0';
  std::string noA1 = standard;
  noA1[0] = '0';
  const struct {
    std::string value;
    std::string board;  // the position read, as a Setup string
  } cases[] = {
      {standard.substr(0, 63), noH8},
      {"x" + standard.substr(1), noA1},
      {standard + " and more", standard},
      {"Normal", std::string(64, '0')},
      {"", std::string(64, '0')},
      {"10101010", "10101010" + std::string(56, '0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE('"' + c.value + '"');
    d = Parse("t\nSetup=" + c.value + "\nEND\n");
    ASSERT_TRUE(d.setup.has_value());
    EXPECT_EQ(BoardToSetupString(*d.setup), c.board);
  }
  std::string error;
  Parse("t\nSetup=" + standard.substr(0, 20) + "9\nEND\n", &error);
  EXPECT_NE(error.find("'9' at position 21"), std::string::npos) << error;
}

TEST(VariantText, RangesOfEveryKey) {
  struct Case {
    const char* line;
    bool ok;
  } cases[] = {
      {"PiecesOnBlack=2", true},    {"PiecesOnBlack=-1", false},  {"NumberFriends=-1", true},
      {"NumberFriends=-2", false},  {"NumberMen=33", false},      {"NumberMen=32", true},
      {"ContractNumber=100", false}, {"NumberKings=15", true},    {"NumberMoves=1e9", false},
      {"ContractW1=9", true},       {"ContractW1=0", true},       {"ContractB2=9.6", false},
      {"ContractW2=2147483647", false}, {"LongKings=1", true},    {"LongKings=-1", false},
      {"RndColor=1.5", false},      {"BlackStarts= 1", true},     {"MulJumps=x", false},
  };
  for (const auto& c : cases) {
    std::string error;
    Parse(std::string("t\n") + c.line + "\nEND\n", &error);
    EXPECT_EQ(error.empty(), c.ok) << c.line << ": " << error;
    if (!c.ok) {
      const std::string key(c.line, std::string_view(c.line).find('='));
      EXPECT_NE(error.find("line 2, key " + key + ":"), std::string::npos) << error;
    }
  }
  // Every numeric key has a range that holds its standard value.
  const RuleSet standard;
  for (const auto& k : NumericRuleKeys()) {
    EXPECT_LE(k.lo, standard.*k.member) << k.name;
    EXPECT_GE(k.hi, standard.*k.member) << k.name;
  }
}

TEST(VariantText, MovementStringsTheParserReadsWhole) {
  // Accepted as they are: lists the parser reads to their end.
  for (const char* m : {"NW;NE NW;NE", "NW;NE", "NW;NE ", " NW", "", "NW;NE; NW;NE;", "N;NE;E;SE;S;SW;W;NW N"}) {
    SCOPED_TRACE(m);
    const auto d = Parse(std::string("t\nWhiteManMovement=") + m + "\nEND\n");
    EXPECT_EQ(d.rules.MovementStrings[0], m);
  }
}

TEST(VariantReader, SetupFillsBoardAndMaterial) {
  const std::string dir = ::testing::TempDir() + "m8_variantfile_setup";
  std::filesystem::create_directories(dir + "/variants");
  auto write = [&](const std::string& name, const std::string& text) {
    ASSERT_TRUE(ReplaceFile(dir + "/variants/" + name + ".ini", text));
  };
  write("Standard Setup", std::string("t\nSetup=") + kStandardSetup + "\nEND\n");
  // One white man against two black men, white to move.
  std::string small(64, '0');
  small[0] = '1';
  small[63] = '2';
  small[62] = '4';
  write("Small White", "t\nSetup=" + small + "\nBlackStarts=0\nEND\n");
  write("White Starts", "t\nBlackStarts=0\nEND\n");

  auto g = StateAt(dir);
  std::string error;
  g->Rules.Variant = "Standard Setup";
  g->board[54] = 2;
  g->P.MaterialBalance[0] = 500;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  EXPECT_EQ(g->board, DefaultStartBoard());
  EXPECT_EQ(g->StartBoard, DefaultStartBoard());
  EXPECT_EQ(g->Mat.TotalMaterial, 24);
  EXPECT_EQ(g->Mat.WhiteMen, 12);
  EXPECT_EQ(g->Mat.BlackMen, 12);
  EXPECT_EQ(g->P.MaterialBalance[0], 0);
  EXPECT_EQ(g->Game.MaterialBalanceHistory[0], 0);

  g->Rules.Variant = "Small White";
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  EXPECT_EQ(g->board[21], 1);
  EXPECT_EQ(g->board[98], -1);
  EXPECT_EQ(g->board[97], -2);
  EXPECT_EQ(g->Mat.TotalMaterial, 4);
  EXPECT_EQ(g->Mat.WhiteMen, 1);
  EXPECT_EQ(g->Mat.BlackMen, 1);
  // Black's view is 300 - 100; white moves first, so the sign turns.
  EXPECT_EQ(g->P.MaterialBalance[0], -200);
  EXPECT_EQ(g->Game.MaterialBalanceHistory[0], -200);

  // Without a position the balances already there only change sign.
  g->Rules.Variant = "White Starts";
  g->P.MaterialBalance[0] = 300;
  g->Game.MaterialBalanceHistory[0] = 100;
  const Board before = g->board;
  ASSERT_TRUE(ReadVariantFile(*g, &error)) << error;
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(g->P.MaterialBalance[0], -300);
  EXPECT_EQ(g->Game.MaterialBalanceHistory[0], -100);
  std::filesystem::remove_all(dir);
}

namespace {

// Copies of shipped variant files with a few random edits: characters
// changed, cut, repeated or inserted (NUL bytes and Latin-1 letters among
// them), the file cut short, or a line giving a random key a random number.
class VariantMutator {
 public:
  explicit VariantMutator(unsigned seed) : rng_(seed) {
    for (const char* name : {"Russian Checkers", "Turkish Checkers", "Fox and Geese", "Kings Corners 6"}) {
      auto text = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/" + name + ".ini");
      EXPECT_TRUE(text.has_value()) << name;
      if (text) seeds_.push_back(*text);
    }
  }
  std::string next() {
    std::string t = seeds_[pick(seeds_.size())];
    const int edits = 1 + static_cast<int>(pick(6));
    for (int e = 0; e < edits && !t.empty(); ++e) {
      const size_t at = pick(t.size());
      switch (pick(6)) {
        case 0: t[at] = kAlphabet[pick(kAlphabet.size())]; break;
        case 1: t.erase(at, 1 + pick(40)); break;
        case 2: t.insert(at, 1 + pick(8), kAlphabet[pick(kAlphabet.size())]); break;
        case 3: t.insert(at, t.substr(pick(t.size()), pick(80))); break;
        case 4: {
          const auto keys = NumericRuleKeys();
          const auto& k = keys[pick(keys.size())];
          const int32_t v = static_cast<int32_t>(rng_());
          const size_t line = t.find('\n', at);
          if (line != std::string::npos)
            t.insert(line + 1, std::string(k.name) + "=" + std::to_string(pick(2) ? v : v % 12) + "\r\n");
          break;
        }
        default: t.resize(at); break;
      }
    }
    return t;
  }

 private:
  size_t pick(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  inline static const std::string kAlphabet =
      std::string("0123456789=;. -NSEWXYZabcdhBDHnormalEND\r\n\t\x80\xe9\xff") + '\0';
  std::mt19937 rng_;
  std::vector<std::string> seeds_;
};

// What any accepted file gives: every value within its key's range, squares
// on the board, pieces the board knows, movement lists read whole.
void ExpectUsableRules(const VariantFileData& d) {
  for (const auto& k : NumericRuleKeys()) {
    EXPECT_GE(d.rules.*k.member, k.lo) << k.name;
    EXPECT_LE(d.rules.*k.member, k.hi) << k.name;
  }
  for (const auto& side : d.rules.PromoSquares)
    for (int p : side) EXPECT_TRUE(p == -1 || (p >= 21 && p <= 98 && p % 10 >= 1 && p % 10 <= 8)) << p;
  for (const auto& m : d.rules.MovementStrings) EXPECT_TRUE(CheckMovementString(m, nullptr)) << m;
  if (d.setup) {
    for (int c = 0; c < kCells; ++c) EXPECT_TRUE((*d.setup)[c] == kOffBoard || std::abs((*d.setup)[c]) <= 2);
  }
  EXPECT_TRUE(IsValidUtf8(d.info.VariantHelp));
}

}  // namespace

TEST(VariantText, FuzzedTextsGiveRulesOrAMessage) {
  VariantMutator mutate(20261210);
  int accepted = 0, refused = 0;
  for (int iter = 0; iter < 3000; ++iter) {
    const std::string t = mutate.next();
    VariantFileData d;
    std::string error;
    if (ParseVariantText(t, "fuzz.ini", d, &error)) {
      ++accepted;
      ExpectUsableRules(d);
    } else {
      ++refused;
      EXPECT_NE(error.find("fuzz.ini"), std::string::npos) << error;
    }
  }
  // Both paths were exercised.
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

// Mutated files read as a game reads them: a refused file changes nothing; an
// accepted one sets up and generates moves (the sanitizer build checks the
// arithmetic on the way).
TEST(VariantReader, FuzzedFilesChangeNothingOrPlay) {
  VariantFolder folder("m8_variantfile_fuzz");
  VariantMutator mutate(77);
  int accepted = 0, refused = 0;
  auto g = StateAt(folder.dir);
  for (int iter = 0; iter < 300; ++iter) {
    folder.write("Fuzz", mutate.next());
    PutInProgress(*g);
    g->Rules.Variant = "Fuzz";
    const Snapshot before(*g);
    std::string error;
    if (!ReadVariantFile(*g, &error)) {
      ++refused;
      EXPECT_NE(error.find("Fuzz.ini"), std::string::npos) << error;
      ExpectUnchanged(*g, before);
      continue;
    }
    ++accepted;
    ApplyVariant(*g);
    g->P.SideToMove = g->Rules.BlackStarts == 1 ? -1 : 1;
    g->Mat.WhiteToPlace = g->Mat.BlackToPlace = g->Rules.ContractNumber;
    g->P.Ply = 0;
    GenerateMoves(*g, 1);
    EXPECT_LE(g->P.PlyStart[0], g->P.PlyStart[1]);
  }
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

// A rule value is a whole number in its key's range, written out: one that
// only begins with a number is refused, named by its key and quoted as the
// file writes it (PiecesOnBlack=1.5 once read as 2, every square in play).
TEST(VariantReader, RuleValuesAreReadExactly) {
  const struct {
    const char* line;
    int32_t RuleSet::*member;
    std::optional<int32_t> want;  // none: refused
    const char* says;
  } cases[] = {
      {"PiecesOnBlack=1.5", &RuleSet::PiecesOnBlack, {}, "key PiecesOnBlack: \"1.5\" is not a whole number in 0..2."},
      {"MulJumps=0x1", &RuleSet::MulJumps, {}, "key MulJumps: \"0x1\" is not a whole number in 0..1."},
      {"NumberMen=1junk", &RuleSet::NumberMen, {}, "key NumberMen: \"1junk\" is not a whole number in 0..32."},
      {"MaxCapMove=&H1", &RuleSet::MaxCapMove, {}, "\"&H1\" is not a whole number"},
      {"LongKings=1E0", &RuleSet::LongKings, {}, "\"1E0\" is not a whole number"},
      {"AntiMode=", &RuleSet::AntiMode, {}, "\"\" is not a whole number"},
      {"NumberMoves=1e9", &RuleSet::NumberMoves, {}, "\"1e9\" is not a whole number in 0..200."},
      {"MulJumps=7", &RuleSet::MulJumps, {}, "\"7\" is outside 0..1."},
      {"PiecesOnBlack= 2 ", &RuleSet::PiecesOnBlack, 2, ""},
      {"NumberFriends=-1", &RuleSet::NumberFriends, -1, ""},
      {"NumberMen=+04", &RuleSet::NumberMen, 4, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    VariantFileData d;
    std::string error;
    const bool ok = ParseVariantText("; t\nMulJumps=0\n" + std::string(c.line) + "\nEND\n", "x.ini", d, &error);
    ASSERT_EQ(ok, c.want.has_value()) << error;
    if (ok) {
      EXPECT_EQ(d.rules.*c.member, *c.want);
    } else {
      EXPECT_NE(error.find(std::string("line 3, ") + "key "), std::string::npos) << error;
      EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
  }
}
