#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/engine/family.h"
#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/variantfile.h"

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

// Number of names in one list of a movement string, known or not.
int NamesInList(std::string_view list) {
  if (list.empty()) return 0;
  return static_cast<int>(std::count(list.begin(), list.end(), ';')) + 1;
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
    for (int kind = 0; kind < 4; ++kind) {
      const std::string& s = g->VariantRules.MovementStrings[kind];
      const size_t blank = s.find(' ');
      const std::string_view moves = std::string_view(s).substr(0, blank);
      const std::string_view caps =
          blank == std::string::npos ? std::string_view{} : std::string_view(s).substr(blank + 1);
      EXPECT_EQ(CountDirectionNames(moves), NamesInList(moves)) << s;
      EXPECT_EQ(CountDirectionNames(caps), NamesInList(caps)) << s;
      EXPECT_LE(NamesInList(moves), 8);
      EXPECT_LE(NamesInList(caps), 8);
    }

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

TEST(VariantReader, BrokenFilesChangeNothing) {
  struct Case {
    const char* variant;
    const char* key;  // the key the message must name
  } cases[] = {
      {"No End", "END"},           {"Lower End", "END"},          {"Setup Digit", "Setup"},
      {"Setup Short", "Setup"},    {"Nine Names", "WhiteKingMovement"}, {"Bad Promo", "PromoW"},
      {"Bad Range", "PiecesOnBlack"}, {"Not There", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    auto g = StateAt(std::string(M8_FIXTURE_DIR) + "/variants");
    // Rules from an earlier variant, and a game in progress.
    g->VariantRules.LongKings = 1;
    g->VariantRules.MulJumps = 0;
    g->Rules.CapRequired = 0;
    g->Variant.VariantHelp = "old help";
    g->Variant.HelpLink = "https://example.org/old";
    g->Variant.LoadedVariantName = "Old";
    g->board[54] = 2;
    g->P.MaterialBalance[0] = 700;
    g->Game.MaterialBalanceHistory[0] = 700;
    g->Rules.Variant = c.variant;
    const RuleSet rules = g->Rules, variantRules = g->VariantRules;
    const VariantInfo info = g->Variant;
    const Board board = g->board, start = g->StartBoard;

    std::string error;
    EXPECT_FALSE(ReadVariantFile(*g, &error));
    EXPECT_NE(error.find(std::string(c.variant) + ".ini"), std::string::npos) << error;
    EXPECT_NE(error.find(c.key), std::string::npos) << error;
    EXPECT_EQ(g->Rules, rules);
    EXPECT_EQ(g->VariantRules, variantRules);
    EXPECT_EQ(g->Variant.VariantHelp, info.VariantHelp);
    EXPECT_EQ(g->Variant.HelpLink, info.HelpLink);
    EXPECT_EQ(g->Variant.LoadedVariantName, info.LoadedVariantName);
    EXPECT_EQ(g->board, board);
    EXPECT_EQ(g->StartBoard, start);
    EXPECT_EQ(g->P.MaterialBalance[0], 700);
    EXPECT_EQ(g->Game.MaterialBalanceHistory[0], 700);
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
  auto d = Parse("t\nPromoW=A8C8E8G8\nPromoB=\nEND\n");
  EXPECT_EQ(d.rules.PromoSquares[0], (std::array<int32_t, kPromoEntries>{91, 93, 95, 97, -1, -1, -1, -1,
                                                                        -1, -1, -1, -1}));
  std::array<int32_t, kPromoEntries> none;
  none.fill(-1);
  EXPECT_EQ(d.rules.PromoSquares[1], none);
  // Twelve squares fit.
  d = Parse("t\nPromoW=A8B8C8D8E8F8G8H8A7B7C7D7\nEND\n");
  EXPECT_EQ(d.rules.PromoSquares[0][11], 84);

  struct Bad {
    const char* line;
    const char* key;
  } bad[] = {
      {"PromoW=a8", "PromoW"},    {"PromoW=B8D", "PromoW"},  {"PromoB=I1", "PromoB"},
      {"PromoB=A0", "PromoB"},    {"PromoW=A9", "PromoW"},   {"PromoW=B8 D8", "PromoW"},
      {"PromoB=A1B1C1D1E1F1G1H1A2B2C2D2E2", "PromoB"},
  };
  for (const auto& b : bad) {
    std::string error;
    Parse(std::string("t\n") + b.line + "\nEND\n", &error);
    EXPECT_NE(error.find("test.ini"), std::string::npos) << b.line << ": " << error;
    EXPECT_NE(error.find(b.key), std::string::npos) << b.line << ": " << error;
  }
}

TEST(VariantText, NumbersRoundHalvesToEven) {
  struct Case {
    const char* value;
    int expected;
  } cases[] = {{"1.5", 2}, {"2.5", 2}, {" 1", 1}, {"x1", 0}, {"", 0}, {"3abc", 3}, {"-0.5", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(Parse(std::string("t\nMulJumps=") + c.value + "\nEND\n").rules.MulJumps, c.expected)
        << '"' << c.value << '"';
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

  std::string error;
  for (const char* v : {"Normal", "", "10101010", "1010101001010101101010100000000000000000020202022020202002020202 ",
                        "101010100101010110101010000000000000000002020202202020200202020x"}) {
    Parse(std::string("t\nSetup=") + v + "\nEND\n", &error);
    EXPECT_NE(error.find("Setup"), std::string::npos) << '"' << v << "\": " << error;
  }
}

TEST(VariantText, RangesOfCounts) {
  struct Case {
    const char* line;
    bool ok;
  } cases[] = {
      {"PiecesOnBlack=2", true}, {"PiecesOnBlack=-1", false}, {"NumberFriends=-1", true},
      {"NumberFriends=-2", false}, {"NumberMen=33", false},     {"NumberMen=32", true},
      {"ContractNumber=100", false}, {"NumberKings=15", true},  {"NumberMoves=1e9", false},
  };
  for (const auto& c : cases) {
    std::string error;
    Parse(std::string("t\n") + c.line + "\nEND\n", &error);
    EXPECT_EQ(error.empty(), c.ok) << c.line << ": " << error;
    if (!c.ok) {
      const std::string key(c.line, std::string_view(c.line).find('='));
      EXPECT_NE(error.find(key), std::string::npos) << error;
    }
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

TEST(VariantText, FuzzedTextsGiveRulesOrAMessage) {
  std::vector<std::string> seeds;
  for (const char* name : {"Russian Checkers", "Turkish Checkers", "Fox and Geese", "Kings Corners 6"}) {
    auto text = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/" + name + ".ini");
    ASSERT_TRUE(text.has_value()) << name;
    seeds.push_back(*text);
  }
  std::mt19937 rng(20261210);
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  const std::string alphabet = "0123456789=;. -NSEWABCDHnormalEND\r\n\t\x80\xff";
  int accepted = 0, refused = 0;
  for (int iter = 0; iter < 3000; ++iter) {
    std::string t = seeds[pick(seeds.size())];
    const int edits = 1 + static_cast<int>(pick(6));
    for (int e = 0; e < edits && !t.empty(); ++e) {
      const size_t at = pick(t.size());
      switch (pick(5)) {
        case 0: t[at] = alphabet[pick(alphabet.size())]; break;
        case 1: t.erase(at, 1 + pick(40)); break;
        case 2: t.insert(at, 1 + pick(8), alphabet[pick(alphabet.size())]); break;
        case 3: t.insert(at, t.substr(pick(t.size()), pick(80))); break;
        default: t.resize(at); break;
      }
    }
    VariantFileData d;
    std::string error;
    if (ParseVariantText(t, "fuzz.ini", d, &error)) {
      ++accepted;
      EXPECT_GE(d.rules.PiecesOnBlack, 0);
      EXPECT_LE(d.rules.PiecesOnBlack, 2);
      for (const auto& side : d.rules.PromoSquares)
        for (int p : side) EXPECT_TRUE(p == -1 || (p >= 21 && p <= 98 && p % 10 >= 1 && p % 10 <= 8)) << p;
      if (d.setup) {
        for (int c = 0; c < kCells; ++c) EXPECT_TRUE((*d.setup)[c] == kOffBoard || std::abs((*d.setup)[c]) <= 2);
      }
    } else {
      ++refused;
      EXPECT_NE(error.find("fuzz.ini"), std::string::npos) << error;
    }
  }
  // Both paths were exercised.
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}
