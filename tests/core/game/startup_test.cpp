#include "core/game/startup.h"

#include <gtest/gtest.h>

#include <set>

#include "core/files_fixture.h"
#include "core/files/rating.h"
#include "core/files/settings.h"

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

}  // namespace
}  // namespace m8
