#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "core/fileio.h"
#include "core/game/gamesetup.h"
#include "core/rules/notation.h"
#include "core/rules/variantfile.h"
#include "core/rules/setup_host.h"

using namespace m8;
using m8::testing::HostedGame;

namespace {

constexpr const char* kDefaultSetup = "1010101001010101101010100000000000000000020202022020202002020202";
const std::string kFixtures = std::string(M8_FIXTURE_DIR) + "/gamesetup";

// Chooses a variant as the new-variant command does: read its file, put its
// rules in force, set up the game.
void StartVariant(GameState& g, const std::string& folder, const std::string& name) {
  g.ProgramFolder = folder;
  g.Rules.Variant = name;
  InitGame(g);
  g.Rules = g.VariantRules;
  InitGame(g);
}

int Count(const Board& b, int value) {
  int n = 0;
  for (int v : b) n += v == value;
  return n;
}

}  // namespace

TEST(InitGame, AmericanCheckersFreshStart) {
  HostedGame t;
  GameState& g = *t.g;
  g.Flow.GameOver = 1;
  g.P.GamePly = 7;
  g.Game.GameLength = 9;
  g.Game.PositionHistory[3] = "211";
  g.Game.GameRecord[1][0] = "c3d4 c3-d4";
  g.Game.GameMoves[2].From = 32;
  g.Draw.DrawReason = 4;
  g.Draw.ThreeKingsStartPly = 12;
  g.Opt.CaptureCharStyle = 1;
  StartVariant(g, M8_DATA_DIR, "American Checkers");

  EXPECT_TRUE(t.host->messages.empty());
  EXPECT_EQ(BoardToSetupString(g.board), kDefaultSetup);
  EXPECT_EQ(BoardToSetupString(g.StartBoard), kDefaultSetup);
  EXPECT_EQ(g.P.SideToMove, -1);
  EXPECT_EQ(t.host->statusText[g.Skin.StatusPanel], "Black moves");
  EXPECT_EQ(g.Mat.StartMaterial, 2400);
  EXPECT_EQ(g.P.BoardMaterial[0], 2400);
  EXPECT_EQ(g.Game.BoardMaterialHistory[0], 2400);
  EXPECT_EQ(g.P.MaterialBalance[0], 0);
  EXPECT_EQ(g.Mat.WhiteToPlace, 0);
  EXPECT_EQ(g.Mat.BlackToPlace, 0);
  EXPECT_EQ(g.Eval.StandardRuleSet, 1);
  EXPECT_EQ(g.Eval.NoKingWinRule, 1);
  EXPECT_EQ(g.Eval.PromotionBonus[92][0], 50);  // distance table of the built-in sets
  EXPECT_EQ(g.Tables.MaxPromoIndex, 3);
  EXPECT_EQ(g.Tables.DirectionTable[1][0], -9);
  EXPECT_EQ(g.Rating.RatedGame, 1);
  EXPECT_EQ(g.Texts.CaptureChar, ":");
  // The game record and the per-game state start afresh.
  EXPECT_EQ(g.Flow.GameOver, 0);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.Game.GameLength, 0);
  EXPECT_EQ(g.Game.PositionHistory[3], "");
  EXPECT_EQ(g.Game.GameRecord[1][0], "");
  EXPECT_EQ(g.Game.GameMoves[2].From, 0);
  EXPECT_EQ(g.Draw.DrawReason, 0);
  EXPECT_EQ(g.Draw.ThreeKingsStartPly, 0);
  EXPECT_EQ(g.Search.EngineOutputText, "no calculation");
  EXPECT_EQ(g.Flow.Caption, " Morventa8 1.58");
  EXPECT_EQ(g.Flow.PlayerName1, g.Opt.UserName);
  EXPECT_EQ(g.Flow.PlayerName2, "Computer");
  // The first moves are generated for the lists.
  EXPECT_EQ(g.P.Ply, 0);
  EXPECT_EQ(g.P.PlyStart[1] - g.P.PlyStart[0], 7);
}

TEST(InitGame, CommandsOfAFreshGameFollowThePlayMode) {
  struct Case {
    int playMode;
    bool drawAndResign, hint;
  } cases[] = {{0, true, true}, {1, false, true}, {2, false, false}};
  for (const auto& c : cases) {
    HostedGame t;
    t.g->Opt.PlayMode = c.playMode;
    t.g->ProgramFolder = M8_DATA_DIR;
    InitGame(*t.g);
    auto& e = t.host->enabled;
    for (Command on : {Command::Analyze, Command::Compute, Command::ComputerComputer, Command::LegalMoves})
      EXPECT_TRUE(e.at(on)) << c.playMode;
    for (Command off : {Command::Back, Command::First, Command::Forward, Command::Last, Command::Cancel,
                        Command::RootScores})
      EXPECT_FALSE(e.at(off)) << c.playMode;
    EXPECT_EQ(e.count(Command::OfferDraw) && e[Command::OfferDraw], c.drawAndResign);
    EXPECT_EQ(e.count(Command::Resign) && e[Command::Resign], c.drawAndResign);
    EXPECT_EQ(e.count(Command::Hint) && e[Command::Hint], c.hint);
    if (c.playMode == 1) {
      EXPECT_EQ(t.g->Flow.PlayerName2, t.g->Opt.UserName);
    }
    if (c.playMode == 2) {
      EXPECT_EQ(t.g->Flow.PlayerName1, "Computer");
    }
  }
}

TEST(InitGame, ItalianPlaysOnTheOtherColourAndWhiteStarts) {
  HostedGame t;
  GameState& g = *t.g;
  StartVariant(g, M8_DATA_DIR, "Italian Checkers");
  ASSERT_TRUE(t.host->messages.empty()) << t.host->messages.front();
  EXPECT_EQ(g.P.SideToMove, 1);
  EXPECT_EQ(t.host->statusText[g.Skin.StatusPanel], "White moves");
  for (int c : {22, 24, 26, 28, 31, 33, 35, 37}) EXPECT_EQ(g.board[c], 1) << c;
  for (int c : {21, 32}) EXPECT_EQ(g.board[c], 0) << c;
  // Only the board moves; the start board keeps the default position, so the
  // built-in set is still recognised.
  EXPECT_EQ(BoardToSetupString(g.StartBoard), kDefaultSetup);
  EXPECT_EQ(g.Eval.StandardRuleSet, 2);
  EXPECT_EQ(g.Rules.PromoSquares[0][0], 91);
  EXPECT_EQ(g.P.PlyStart[1] - g.P.PlyStart[0], 7);
  EXPECT_EQ(g.P.MoveList[g.P.PlyStart[0]].From % 2, 0);  // white men stand on even cells of row 4
}

TEST(InitGame, AllSquaresVariantSwitchesToAlgebraicNames) {
  HostedGame t;
  GameState& g = *t.g;
  g.Opt.Notation = 1;
  StartVariant(g, M8_DATA_DIR, "Turkish Checkers");
  ASSERT_TRUE(t.host->messages.empty()) << t.host->messages.front();
  EXPECT_EQ(g.Rules.PiecesOnBlack, 2);
  EXPECT_EQ(g.Opt.Notation, 0);
  EXPECT_EQ(g.Eval.StandardRuleSet, 0);
  EXPECT_EQ(g.Mat.WhiteMen, 16);
  EXPECT_EQ(g.Mat.BlackMen, 16);
  EXPECT_EQ(g.Mat.StartMaterial, 3200);
  EXPECT_EQ(g.Eval.OrthogonalManyMen, 1);
  EXPECT_EQ(g.Eval.AllStepsOrthogonal, 1);
  // Not a built-in set: the move-based bonus table.
  EXPECT_EQ(g.Eval.PromotionBonus[94][0], 30);
  EXPECT_EQ(g.Eval.PromotionBonus[24][1], -30);
}

TEST(InitGame, OtherColourShiftsPromotionSquaresOfTheRulesInForce) {
  HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = kFixtures;
  g.Rules.Variant = "Other Colour";
  g.Rules.PiecesOnBlack = 0;  // in force; the file's set says 0 as well
  InitGame(g);
  EXPECT_EQ(g.Rules.PromoSquares[0][0], 92);  // same board kind: left alone
  g.VariantRules.PiecesOnBlack = 1;
  g.Rules.Variant = "American Checkers";
  g.ProgramFolder = M8_DATA_DIR;
  InitGame(g);  // the file says 1, the rules in force 0: shifted
  EXPECT_EQ(g.Rules.PromoSquares[0][0], 91);
  EXPECT_EQ(g.Rules.PromoSquares[1][0], 22);
  EXPECT_EQ(g.board[22], 1);
  EXPECT_EQ(g.board[21], 0);
}

TEST(InitGame, PlacementAndKingWinRulesSetTheirCounters) {
  HostedGame t;
  GameState& g = *t.g;
  StartVariant(g, kFixtures, "Placement");
  EXPECT_EQ(g.Mat.WhiteToPlace, 3);
  EXPECT_EQ(g.Mat.BlackToPlace, 3);
  EXPECT_EQ(g.Eval.NoKingWinRule, 0);
  EXPECT_EQ(g.Eval.StandardRuleSet, 0);
}

TEST(InitGame, RandomColourDrawsBothSidesAndKeepsTheBalanceRight) {
  std::set<int> seen;
  for (int second = 0; second < 40; ++second) {
    HostedGame t;
    GameState& g = *t.g;
    t.host->clock = 3600.0 + second * 7.25;
    StartVariant(g, kFixtures, "Random Colour");
    ASSERT_TRUE(t.host->messages.empty()) << t.host->messages.front();
    seen.insert(g.Rules.BlackStarts);
    EXPECT_EQ(g.VariantRules.BlackStarts, g.Rules.BlackStarts);
    EXPECT_EQ(g.P.SideToMove, g.Rules.BlackStarts == 1 ? -1 : 1);
    EXPECT_EQ(t.host->statusText[g.Skin.StatusPanel], g.P.SideToMove == -1 ? "Black moves" : "White moves");
    // White is a man short: the side to move sees +100 when it is Black.
    EXPECT_EQ(g.P.MaterialBalance[0], g.P.SideToMove == -1 ? 100 : -100) << second;
    EXPECT_EQ(g.Game.MaterialBalanceHistory[0], g.P.MaterialBalance[0]);
    EXPECT_EQ(g.Mat.StartMaterial, 2300);
    EXPECT_EQ(g.Eval.StandardRuleSet, 0);
  }
  EXPECT_EQ(seen.size(), 2u);
}

TEST(InitGame, SameClockSameColour) {
  int first = -1;
  for (int run = 0; run < 3; ++run) {
    HostedGame t;
    t.host->clock = 5000.5;
    StartVariant(*t.g, kFixtures, "Random Colour");
    if (first < 0) first = t.g->Rules.BlackStarts;
    EXPECT_EQ(t.g->Rules.BlackStarts, first);
  }
}

// The settings name a variant whose file cannot be read (broken, missing,
// or a name no file can have): without the file its start position is
// unknown, so the built-in game is played in its place, its name, rules and
// start position together, and the message names the file (and the line).
// Only a missing file stays the settings' choice, with the rules they held.
TEST(InitGame, UnreadableVariantAtStartUpPlaysTheBuiltInGame) {
  const struct {
    const char* name;
    const char* says;  // what the message names
    bool missing;
  } cases[] = {
      {"No End", "No End.ini", false},  {"Bad Value", "Bad Value.ini', line 2", false},
      {"Not There", "Not There.ini", true}, {"../escape", "'../escape' is not a valid variant name", false},
      {"Star*", "cannot hold \"*\"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostedGame t;
    GameState& g = *t.g;
    g.ProgramFolder = kFixtures;
    g.Rules.Variant = c.name;
    g.Rules.LongKings = 1;
    g.Rules.BlackStarts = 0;
    g.Rules.PiecesOnBlack = 2;
    g.Rules.PromoSquares[0][0] = 81;
    const RuleSet held = g.Rules;
    InitGame(g);
    ASSERT_EQ(t.host->messages.size(), 1u);
    const std::string& m = t.host->messages[0];
    EXPECT_EQ(m.rfind("Error: ", 0), 0u) << m;
    EXPECT_NE(m.find(c.says), std::string::npos) << m;
    EXPECT_NE(m.find("The game starts as American Checkers, the built-in game."), std::string::npos) << m;
    EXPECT_EQ(g.Rules, RuleSet{});
    EXPECT_EQ(g.VariantRules, RuleSet{});
    EXPECT_EQ(g.Variant.LoadedVariantName, "American Checkers");
    EXPECT_EQ(g.Eval.StandardRuleSet, 1);  // the built-in game's own generator
    EXPECT_EQ(g.P.SideToMove, -1);
    EXPECT_EQ(BoardToSetupString(g.board), kDefaultSetup);
    EXPECT_EQ(g.Unmet.Variant, c.missing ? c.name : "");
    ASSERT_EQ(g.Unmet.VariantRules.has_value(), c.missing);
    if (c.missing) {
      EXPECT_EQ(*g.Unmet.VariantRules, held);
    }
    // A new game is the built-in game again, without a word.
    t.host->messages.clear();
    InitGame(g);
    EXPECT_TRUE(t.host->messages.empty());
    EXPECT_EQ(g.Rules, RuleSet{});
  }
}

// A variant file broken while its game is in force: a new game is that game
// again, its rules, its start position and its name together, also after a
// position set up by hand.
TEST(InitGame, BrokenFileOfTheGameInForceKeepsItsStart) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("m8-broken-variant-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir / "variants");
  for (const char* name : {"Turkish Checkers", "Thai Checkers"})
    fs::copy_file(fs::path(M8_DATA_DIR) / "variants" / (std::string(name) + ".ini"),
                  dir / "variants" / (std::string(name) + ".ini"));
  auto breakFile = [&](const std::string& name) {
    const fs::path file = dir / "variants" / (name + ".ini");
    std::string text = ReadWholeFile(file.string()).value_or("");
    text.insert(text.find('\n') + 1, "MaxCapMove=7\n");
    ASSERT_TRUE(ReplaceFile(file.string(), text));
  };
  const struct {
    const char* variant;
    int men;  // a side at the start
  } cases[] = {{"Turkish Checkers", 16}, {"Thai Checkers", 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    fs::copy_file(fs::path(M8_DATA_DIR) / "variants" / (std::string(c.variant) + ".ini"),
                  dir / "variants" / (std::string(c.variant) + ".ini"), fs::copy_options::overwrite_existing);
    HostedGame t;
    GameState& g = *t.g;
    StartVariant(g, dir.string(), c.variant);
    ASSERT_TRUE(t.host->messages.empty()) << t.host->messages[0];
    const RuleSet rules = g.Rules;
    const Board start = g.board;
    ASSERT_EQ(Count(start, 1), c.men);
    ASSERT_EQ(Count(start, -1), c.men);
    // A position set up by hand is the start of that game only.
    Board edited = start;
    for (int& v : edited)
      if (v == 1) v = 0;
    g.board = edited;
    g.board[54] = 1;
    g.Flow.PositionPreset = 1;
    SetupPositionState(g);
    g.Flow.PositionPreset = 0;
    breakFile(c.variant);
    for (int game = 0; game < 2; ++game) {  // and the next new game alike
      SCOPED_TRACE(game);
      t.host->messages.clear();
      InitGame(g);
      ASSERT_EQ(t.host->messages.size(), 1u);
      EXPECT_NE(t.host->messages[0].find("MaxCapMove"), std::string::npos) << t.host->messages[0];
      EXPECT_NE(t.host->messages[0].find("rules in force"), std::string::npos) << t.host->messages[0];
      EXPECT_EQ(g.Rules, rules);
      EXPECT_EQ(g.VariantRules, rules);
      EXPECT_EQ(g.Variant.LoadedVariantName, c.variant);
      EXPECT_EQ(g.board, start);
      EXPECT_EQ(g.StartBoard, start);
      EXPECT_EQ(g.Mat.WhiteMen, c.men);
    }
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

TEST(InitGame, AmericanCheckersNeedsNoFile) {
  HostedGame t;
  t.g->ProgramFolder = kFixtures;  // no American Checkers.ini there
  InitGame(*t.g);
  EXPECT_TRUE(t.host->messages.empty());
  EXPECT_EQ(t.g->Eval.StandardRuleSet, 1);
  // Rules changed in the editor stay in force.
  t.g->Rules.MaxCapMove = 1;
  InitGame(*t.g);
  EXPECT_TRUE(t.host->messages.empty());
  EXPECT_EQ(t.g->Rules.MaxCapMove, 1);
  EXPECT_EQ(t.g->VariantRules.MaxCapMove, 0);
  EXPECT_EQ(t.g->Eval.StandardRuleSet, 0);
}

TEST(InitGame, PresetPositionIsKept) {
  HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = M8_DATA_DIR;
  InitGame(g);
  g.board[21] = 0;
  g.board[55] = 2;
  g.Flow.PositionPreset = 1;
  InitGame(g);
  EXPECT_EQ(g.board[21], 0);
  EXPECT_EQ(g.board[55], 2);
}

TEST(SetupPositionState, TheSideToMoveDecidesWhoStarts) {
  HostedGame t;
  GameState& g = *t.g;
  g.ProgramFolder = M8_DATA_DIR;
  InitGame(g);
  Board b = DefaultStartBoard();
  for (int c : {21, 23, 25}) b[c] = 0;  // white: 9 men
  b[43] = 2;                            // one of them a king
  g.board = b;
  g.P.SideToMove = 1;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  // White 8 men and a king (10), black 12.
  EXPECT_EQ(g.Rules.BlackStarts, 0);
  EXPECT_EQ(g.P.SideToMove, 1);
  EXPECT_EQ(g.P.MaterialBalance[0], (10 - 12) * 100);
  EXPECT_EQ(g.Game.MaterialBalanceHistory[0], -200);
  EXPECT_EQ(g.Mat.TotalMaterial, 22);
  EXPECT_EQ(g.Mat.WhiteMen, 8);
  EXPECT_EQ(g.Mat.BlackMen, 12);
  EXPECT_EQ(g.Mat.StartMaterial, 2200);
  EXPECT_EQ(g.StartBoard, b);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(g.Flow.SkipSquareNumbers, 1);
  EXPECT_EQ(g.Flow.IgnoreNextPress, 1);
  EXPECT_EQ(g.Eval.StandardRuleSet, 0);  // not the default start
  EXPECT_EQ(t.host->statusText[g.Skin.StatusPanel], "White moves");

  g.P.SideToMove = -1;
  SetupPositionState(g);
  EXPECT_EQ(g.Rules.BlackStarts, 1);
  EXPECT_EQ(g.P.MaterialBalance[0], 200);
}

TEST(RemoveRandomMen, LeavesAtLeastOnePieceAndIsRepeatable) {
  struct Case {
    int numberMen, whiteLeft, blackLeft;
  } cases[] = {{0, 12, 12}, {-3, 12, 12}, {5, 7, 7}, {11, 1, 1}, {20, 1, 1}};
  for (const auto& c : cases) {
    Board first{};
    for (int run = 0; run < 2; ++run) {
      HostedGame t;
      GameState& g = *t.g;
      g.Rules.NumberMen = c.numberMen;
      g.Rng.seed(42);
      RemoveRandomMen(g);
      EXPECT_EQ(g.Flow.PositionPreset, 1);
      EXPECT_EQ(Count(g.board, 1), c.whiteLeft) << c.numberMen;
      EXPECT_EQ(Count(g.board, -1), c.blackLeft) << c.numberMen;
      EXPECT_EQ(Count(g.board, kOffBoard), 56);
      if (run == 0) {
        first = g.board;
      } else {
        EXPECT_EQ(g.board, first) << "same seed, same men removed";
      }
    }
  }
}

TEST(RemoveRandomMen, SidesWithOneOrNoPieceLoseNothing) {
  HostedGame t;
  GameState& g = *t.g;
  g.board = DefaultStartBoard();
  for (int c = 0; c < kCells; ++c)
    if (g.board[c] != kOffBoard) g.board[c] = 0;
  g.board[55] = -2;
  g.Rules.NumberMen = 4;
  RemoveRandomMen(g);
  EXPECT_EQ(g.board[55], -2);
  EXPECT_EQ(Count(g.board, 0), 63);
}

TEST(InitGame, EveryShippedVariantSetsUpWithLegalMoves) {
  int variants = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(M8_DATA_DIR) + "/variants")) {
    if (entry.path().extension() != ".ini") continue;
    ++variants;
    const std::string name = entry.path().stem().string();
    HostedGame t;
    GameState& g = *t.g;
    StartVariant(g, M8_DATA_DIR, name);
    EXPECT_TRUE(t.host->messages.empty()) << name << ": " << (t.host->messages.empty() ? "" : t.host->messages[0]);
    EXPECT_EQ(g.Variant.LoadedVariantName, name);
    EXPECT_GT(g.P.PlyStart[1], g.P.PlyStart[0]) << name << ": no first move";
    EXPECT_EQ(g.P.SideToMove, g.Rules.BlackStarts == 1 ? -1 : 1) << name;
    EXPECT_EQ(g.Mat.StartMaterial, g.Mat.TotalMaterial * 100) << name;
  }
  EXPECT_GT(variants, 0);
}
