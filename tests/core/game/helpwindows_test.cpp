// Texts of the rules, About and details windows and the PDN chooser's result.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/game/gamedetails.h"
#include "core/game/helpwindows.h"

using namespace m8;

TEST(HelpWindows, RulesTextAndLink) {
  GameState g;
  g.Variant.LoadedVariantName = "Pool Checkers";
  g.Variant.VariantHelp = "Men capture backwards.\r\nKings fly.";
  g.Variant.HelpLink = "https://en.wikipedia.org/wiki/Pool_checkers";
  EXPECT_EQ(RulesHelpText(g), "Rules for Pool Checkers\r\n\r\nMen capture backwards.\r\nKings fly.");
  EXPECT_EQ(ShownHelpLink(g), g.Variant.HelpLink);
  EXPECT_EQ(RulesWindowCaption(g), " Rules for Pool Checkers");
  // A link into the program's own site, in any letter case, is not offered.
  g.Variant.HelpLink = "https://www.example.org/MorVenta8/pool.html";
  EXPECT_EQ(ShownHelpLink(g), "");
  g.Variant.HelpLink.clear();
  EXPECT_EQ(ShownHelpLink(g), "");
  g.Variant.VariantHelp.clear();
  EXPECT_EQ(RulesHelpText(g), "No help available");
  EXPECT_EQ(AboutVersionText(), "Version 1.58");
}

TEST(HelpWindows, DetailsAreStoredExactlyAsTyped) {
  GameState g;
  g.Header.GameEvent = "Open 2004";
  g.Header.GameSite = "Leeds";
  g.Header.GameDate = "2004.05.01";
  g.Header.GameBlack = "Ann";
  g.Header.GameWhite = "Bob";
  const DetailsTexts shown = DetailsFromGame(g);
  EXPECT_EQ(shown, (DetailsTexts{"Open 2004", "Leeds", "2004.05.01", "Ann", "Bob"}));
  ApplyDetails(g, {" Club ", "", "some day", "Cy", "Di "});
  EXPECT_EQ(g.Header.GameEvent, " Club ");
  EXPECT_EQ(g.Header.GameSite, "");
  EXPECT_EQ(g.Header.GameDate, "some day");
  EXPECT_EQ(g.Header.GameBlack, "Cy");
  EXPECT_EQ(g.Header.GameWhite, "Di ");
}

TEST(HelpWindows, PdnVariantNamesComeFromTheFolderOfUseClassic) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "m8-pdn-variants";
  fs::remove_all(dir);
  fs::create_directories(dir / "variants" / "uservariants");
  for (const char* f : {"variants/American Checkers.ini", "variants/Pool Checkers.ini",
                        "variants/uservariants/My.Rules.ini", "variants/readme.txt"})
    std::ofstream(dir / f) << "END\r\n";
  GameState g;
  g.ProgramFolder = dir.string();
  g.Opt.UseClassic = 1;
  EXPECT_EQ(PdnVariantNames(g), (std::vector<std::string>{"American Checkers", "Pool Checkers"}));
  g.Opt.UseClassic = 0;
  EXPECT_EQ(PdnVariantNames(g), (std::vector<std::string>{"My.Rules"}));
  fs::remove_all(dir / "variants" / "uservariants");
  EXPECT_TRUE(PdnVariantNames(g).empty());
  fs::remove_all(dir);
}
