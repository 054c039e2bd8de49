#include "core/game/startup.h"

#include <gtest/gtest.h>

#include <set>

#include "core/files_fixture.h"
#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/game/gamesetup.h"
#include "core/game/toolsetup.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {
namespace {

using StartupTest = testing::FilesTest;

TEST(BuiltinVariantNames, IndexesOneToTwentyNine) {
  EXPECT_EQ(BuiltinVariantName(1), "American Checkers");
  EXPECT_EQ(BuiltinVariantName(11), "Central-S-German Checkers");
  EXPECT_EQ(BuiltinVariantName(29), "Anti Checkers Standoff");
  EXPECT_EQ(BuiltinVariantName(0), "");
  EXPECT_EQ(BuiltinVariantName(30), "");
  EXPECT_EQ(BuiltinVariantName(-7), "");
  std::set<std::string> names;
  for (int i = 1; i <= kBuiltinVariantCount; ++i) names.insert(BuiltinVariantName(i));
  EXPECT_EQ(names.size(), 29u);
}

TEST(StrengthLine, TimeAndDepth) {
  GameState g;
  g.Opt.Weakness = 1;
  g.Opt.DepthMode = 0;
  g.Opt.SearchTime = 2;
  EXPECT_EQ(StrengthLine(g), "Strength: 9   Time: 2 sec");
  g.Opt.DepthMode = 1;
  g.Opt.SearchDepth = 12;
  g.Opt.Weakness = 0;
  EXPECT_EQ(StrengthLine(g), "Strength: 10   Depth: 12 ply");
}

TEST_F(StartupTest, ColdStartThenRestart) {
  auto r = StartupReadFiles(g);
  EXPECT_FALSE(r.settingsAccepted);
  EXPECT_TRUE(r.freshSettingsWritten);
  EXPECT_TRUE(r.skinLoaded);
  EXPECT_TRUE(r.logOpen);
  EXPECT_EQ(g.Rating.UserRating, 1200);
  EXPECT_EQ(g.Rules.Variant, "American Checkers");
  EXPECT_EQ(g.Opt.SkinName, "Classic Medium");
  EXPECT_EQ(g.Opt.BoardSizeCode, 2);
  EXPECT_EQ(StrengthLine(g), "Strength: 9   Time: 2 sec");
  EXPECT_TRUE(std::filesystem::exists(folder / "tavrin.ini"));
  EXPECT_FALSE(std::filesystem::exists(folder / "tavrin.rtg")) << "the rating is written at exit only";

  g.Opt.Weakness = 3;
  g.Opt.PlayMode = 2;
  g.Opt.UserName = "Eve, \"the\" player";
  g.Rating.UserRating = 1412;
  ASSERT_TRUE(SaveAtExit(g));

  GameState next;
  Restart(next);
  auto r2 = StartupReadFiles(next);
  EXPECT_TRUE(r2.settingsAccepted);
  EXPECT_EQ(next.Opt.Weakness, 3);
  EXPECT_EQ(next.Opt.PlayMode, 0) << "never starts in computer-computer play";
  EXPECT_EQ(next.Opt.UserName, "Eve, \"the\" player");
  EXPECT_EQ(next.Rating.UserRating, 1412);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(StartupTest, BadSkinInSettingsFallsBack) {
  GameState first;
  Restart(first);
  SetDefaultSettings(first);
  first.Opt.SkinName = "Gone";
  ASSERT_TRUE(WriteSettingsFile(first, nullptr));
  auto r = StartupReadFiles(g);
  EXPECT_TRUE(r.settingsAccepted);
  EXPECT_FALSE(r.skinLoaded);
  EXPECT_EQ(g.Opt.SkinName, "Classic Medium");
  EXPECT_EQ(host.messages.size(), 1u);
}

// The settings name Turkish Checkers with its rules, and its variant file
// cannot be read: broken, missing, or named by a name no file can have. The
// program starts the built-in game whole (name, rules, start position and
// moves together), and the message names the file and the line. A missing
// file stays the settings' choice, with the rules they held, for when it is
// back.
TEST_F(StartupTest, AnUnreadableVariantFileStartsTheBuiltInGame) {
  namespace fs = std::filesystem;
  const fs::path turkish = folder / "variants" / "Turkish Checkers.ini";
  const std::string shipped = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/Turkish Checkers.ini").value();
  const struct {
    const char* what;
    const char* name;  // in the settings
    bool file;
    const char* says;  // in the message
  } cases[] = {
      {"broken", "Turkish Checkers", true, "Turkish Checkers.ini', line 2"},
      {"missing", "Turkish Checkers", false, "Turkish Checkers.ini' is missing"},
      {"no file name", "../x", true, "\"../x\" is not a variant name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder / "variants");
    Write("variants/Turkish Checkers.ini", shipped);
    GameState held;
    Restart(held);
    SetDefaultSettings(held);
    std::string error;
    ASSERT_TRUE(SetupVariantStart(held, "Turkish Checkers", &error)) << error;
    held.Rules.Variant = c.name;
    ASSERT_TRUE(WriteSettingsFile(held, nullptr));
    if (!c.file) fs::remove(turkish);
    else if (std::string(c.what) == "broken") Write("variants/Turkish Checkers.ini", ";\r\nMaxCapMove=7\r\n" + shipped);

    host.messages.clear();
    auto run = std::make_unique<GameState>();
    Restart(*run);
    StartupReadFiles(*run);
    InitGame(*run);
    GameState& g = *run;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(c.says), std::string::npos) << host.messages[0].text;
    EXPECT_NE(host.messages[0].text.find("American Checkers"), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(g.Rules, RuleSet{});
    EXPECT_EQ(g.Variant.LoadedVariantName, "American Checkers");
    // The built-in game's start: twelve men a side, Black to move with the
    // seven moves of the opening position.
    EXPECT_EQ(BoardToSetupString(g.board), "1010101001010101101010100000000000000000020202022020202002020202");
    EXPECT_EQ(g.P.SideToMove, -1);
    ResetPly(g);
    ASSERT_TRUE(GenerateLegalMoves(g));
    EXPECT_EQ(g.P.PlyStart[1] - g.P.PlyStart[0], 7);

    ASSERT_TRUE(SaveAtExit(g));
    Write("variants/Turkish Checkers.ini", shipped);
    host.messages.clear();
    auto next = std::make_unique<GameState>();
    Restart(*next);
    StartupReadFiles(*next);
    InitGame(*next);
    EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;
    if (c.file) {
      // The file was there and could not be read: the game played is kept.
      EXPECT_EQ(next->Rules, RuleSet{});
    } else {
      EXPECT_EQ(next->Rules, held.Rules);
      EXPECT_EQ(next->Rules, next->VariantRules);
      EXPECT_EQ(BoardToSetupString(next->board), BoardToSetupString(held.board));
    }
  }
}

}  // namespace
}  // namespace m8
