// The options dialog's logic: what the controls show, what Apply writes, and
// what the main window takes over after the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/settings.h"
#include "core/game/optionsform.h"

using namespace m8;

namespace {

class OptionsHost : public Host {
 public:
  std::vector<View> refreshed;
  void refresh(View v) override { refreshed.push_back(v); }
};

}  // namespace

TEST(OptionsForm, ControlsShowTheOptions) {
  GameState g;
  g.ProgramFolder = "/nonexistent-m8-folder";
  g.Opt.Weakness = 1;
  g.Opt.DepthMode = 0;
  g.Opt.SearchTime = 17;
  g.Opt.SearchDepth = 6;
  g.Opt.CaptureCharStyle = 1;
  g.Opt.ExtendedPlies = 3;
  g.Opt.Balance = 150;
  g.Opt.PlyValueDepth = 12;
  g.Opt.BruteForce = 1;
  g.Opt.UseBook = 0;
  g.Opt.SkinName = "Classic Big";
  g.Rating.UserRating = 1432;
  const OptionsForm f = FillOptionsForm(g);
  EXPECT_EQ(f.StrengthPosition, 9);
  EXPECT_FALSE(f.DepthTicked);
  EXPECT_TRUE(f.TimeTicked);
  EXPECT_EQ(f.TimePosition, 17);
  EXPECT_EQ(f.DepthPosition, 6);
  EXPECT_TRUE(f.ColonCapture);
  EXPECT_EQ(f.PliesText, "3");  // no leading blank
  EXPECT_EQ(f.BalanceText, "150");
  EXPECT_EQ(f.PlyValueDepthText, "12");
  // No skins folder: the three built-in names only.
  EXPECT_EQ(f.Skins, (std::vector<std::string>{"Classic Small", "Classic Medium", "Classic Big"}));
  EXPECT_EQ(f.SkinIndex, 2);
  EXPECT_EQ(RatingBoxCaption(f.UseRatingValue), "Use Rating (1432)");
  for (int i = 0; i < kOptionBoxes; ++i) {
    const auto& b = kOptionBoxTable[i];
    EXPECT_EQ(f.Boxes[i], g.Opt.*b.option != 0) << b.caption;
  }
  g.Opt.SkinName = "Gone";
  EXPECT_EQ(FillOptionsForm(g).SkinIndex, -1);

  // Move-count options: 0 32 moves, 1 50, 2 16, 3 20, 4 40; others none.
  const std::pair<int, const char*> buttons[] = {{0, "32"}, {1, "50"}, {2, "16"}, {3, "20"}, {4, "40"}};
  for (auto [choice, caption] : buttons) {
    g.Opt.FiftyMoveChoice = choice;
    const int shown = FillOptionsForm(g).FiftyChoice;
    int selected = -1;
    for (int i = 0; i < kFiftyButtons; ++i)
      if (kFiftyButtonTable[i].choice == shown) selected = i;
    ASSERT_GE(selected, 0);
    EXPECT_STREQ(kFiftyButtonTable[selected].caption, caption);
  }
  g.Opt.FiftyMoveChoice = 7;
  OptionsForm none = FillOptionsForm(g);
  EXPECT_EQ(none.FiftyChoice, -1);
  ApplyOptionsForm(g, none);
  EXPECT_EQ(g.Opt.FiftyMoveChoice, 1);
}

TEST(OptionsForm, NumberBoxesAreReadAndLimitedToTheSettingsRanges) {
  struct Case {
    int32_t Options::*option;
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {&Options::ExtendedPlies, "0", 1},    {&Options::ExtendedPlies, "abc", 1},
      {&Options::ExtendedPlies, "9", 6},    {&Options::ExtendedPlies, "2.5", 2},
      {&Options::ExtendedPlies, "3.5", 4},  {&Options::ExtendedPlies, " 4", 4},
      {&Options::ExtendedPlies, "12a", 6},  {&Options::ExtendedPlies, "", 1},
      {&Options::Balance, "1000", 750},     {&Options::Balance, "12345678901", 750},
      {&Options::Balance, "-5", 1},         {&Options::Balance, "150", 150},
      {&Options::PlyValueDepth, "25", 20},  {&Options::PlyValueDepth, "1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(OptionTextValue(c.text, c.option), c.value);
    GameState g;
    OptionsForm f = FillOptionsForm(g);
    (c.option == &Options::ExtendedPlies ? f.PliesText
     : c.option == &Options::Balance     ? f.BalanceText
                                         : f.PlyValueDepthText) = c.text;
    ApplyOptionsForm(g, f);
    EXPECT_EQ(g.Opt.*c.option, c.value);
  }
  // The dialog and the settings reader share their bounds.
  ASSERT_TRUE(OptionRange(&Options::Balance));
  EXPECT_EQ(OptionRange(&Options::Balance)->hi, 750);
  EXPECT_EQ(StrengthSliderRange().lo, 1);
  EXPECT_EQ(StrengthSliderRange().hi, 10);
  EXPECT_EQ(DepthSliderRange().lo, 1);
  EXPECT_EQ(DepthSliderRange().hi, 20);
  EXPECT_EQ(TimeSliderRange().lo, 1);
  EXPECT_EQ(TimeSliderRange().hi, 180);
}

TEST(OptionsForm, ApplyWritesEveryControl) {
  GameState g;
  g.Opt.CapitalNotation = 0;
  g.Opt.SkinName = "Classic Small";
  g.Rating.UserRating = 1500;
  OptionsForm f = FillOptionsForm(g);
  f.StrengthPosition = 3;
  f.DepthTicked = true;
  f.TimeTicked = false;
  f.DepthPosition = 8;
  f.TimePosition = 90;
  f.ColonCapture = true;
  f.Boxes.fill(true);
  f.FiftyChoice = 4;
  f.UserNameText = "  Ann Lee ";
  f.SkinIndex = 0;
  EXPECT_TRUE(ApplyOptionsForm(g, f));  // the capitals changed: clear the drawing
  EXPECT_EQ(g.Opt.Weakness, 7);
  EXPECT_EQ(g.Opt.DepthMode, 1);
  EXPECT_EQ(g.Opt.SearchDepth, 8);
  EXPECT_EQ(g.Opt.SearchTime, 90);
  EXPECT_EQ(g.Opt.CaptureCharStyle, 1);
  EXPECT_EQ(g.Opt.FiftyMoveChoice, 4);
  EXPECT_EQ(g.Opt.UserName, "  Ann Lee ");
  for (const auto& b : kOptionBoxTable) EXPECT_EQ(g.Opt.*b.option, 1) << b.caption;
  EXPECT_EQ(g.Opt.SkinName, "Classic Small");  // the skin changes when chosen, not here
  EXPECT_EQ(g.Rating.UserRating, 1500);
  EXPECT_FALSE(ApplyOptionsForm(g, f));  // nothing to redraw now
  f.UserNameText.clear();
  f.Boxes.fill(false);
  f.ColonCapture = false;
  ApplyOptionsForm(g, f);
  EXPECT_EQ(g.Opt.UserName, "");
  EXPECT_EQ(g.Opt.CaptureCharStyle, 0);
  EXPECT_EQ(g.Opt.ConfirmExit, 0);
  ResetUserRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200);
}

TEST(OptionsForm, AfterTheDialogCaptureCharacterNamesAndStrengthLine) {
  OptionsHost host;
  GameState g;
  g.host = &host;
  g.Opt.UserName = "Ann";
  g.Opt.CaptureCharStyle = 1;
  struct Case {
    int blackStarts, side, mode;
    const char* name1;
    const char* name2;
  };
  const Case cases[] = {
      {1, 1, 0, "Computer", "Ann"}, {1, -1, 0, "Ann", "Computer"}, {0, 1, 0, "Ann", "Computer"},
      {0, -1, 0, "Computer", "Ann"}, {1, 1, 1, "Ann", "Ann"},       {1, 1, 2, "Computer", "Ann"},
  };
  for (const Case& c : cases) {
    g.Rules.BlackStarts = c.blackStarts;
    g.P.SideToMove = c.side;
    g.Opt.PlayMode = c.mode;
    AssignPlayerNamesAfterOptions(g);
    EXPECT_EQ(g.Flow.PlayerName1, c.name1);
    EXPECT_EQ(g.Flow.PlayerName2, c.name2);
  }
  FinishShowOptions(g);
  EXPECT_EQ(g.Texts.CaptureChar, ":");
  g.Opt.CaptureCharStyle = 0;
  ApplyCaptureChar(g);
  EXPECT_EQ(g.Texts.CaptureChar, "x");
  ASSERT_GE(host.refreshed.size(), 3u);
  EXPECT_EQ(host.refreshed[0], View::Strength);
  EXPECT_EQ(host.refreshed[1], View::Board);
  EXPECT_EQ(host.refreshed.back(), View::LegalMoves);
}
