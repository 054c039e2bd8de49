#include "core/game/optionsform.h"

#include <algorithm>

#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/files/skin.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"

namespace m8 {

const std::array<OptionBox, kOptionBoxes> kOptionBoxTable = {{
    {"Notation in capital letters", &Options::CapitalNotation},
    {"Show available moves", &Options::ShowMoves},
    {"Extended search", &Options::ExtendedSearch},
    {"Brute force", &Options::BruteForce},
    {"Use Chess drawing rules (position repetition and 50 moves rule)", &Options::ChessDrawRules},
    {"King versus King", &Options::KingVersusKing},
    {"Ask for draw if computer thinks it's a draw", &Options::AskForDraw},
    {"Opening book", &Options::UseBook},
    {"American Checkers book for other variants", &Options::AmericanBookForAll},
    {"Choose opening", &Options::ChooseOpening},
    {"Random", &Options::BookRandom},
    {"Use Touch-Move rule", &Options::TouchMove},
    {"Save PDN games in algebraic notation", &Options::PdnAlgebraic},
    {"Use Sound", &Options::UseSound},
    {"Auto Save", &Options::AutoSave},
    {"Use Rating", &Options::UseRating},
    {"Ask confirmation on exit", &Options::ConfirmExit},
}};

const std::array<FiftyButton, kFiftyButtons> kFiftyButtonTable = {{
    {"16", 2},
    {"20", 3},
    {"32", 0},
    {"40", 4},
    {"50", 1},
}};

namespace {

OptionBounds Bounds(int32_t Options::*option) {
  // Every option the dialog limits has its bounds in the settings table.
  return OptionRange(option).value_or(OptionBounds{0, 0});
}

}  // namespace

SliderRange StrengthSliderRange() {
  const OptionBounds b = Bounds(&Options::Weakness);
  return {10 - b.hi, 10 - b.lo};
}

SliderRange DepthSliderRange() {
  // A depth of 0 means "not set" in the settings file and is never chosen.
  const OptionBounds b = Bounds(&Options::SearchDepth);
  return {std::max(1, b.lo), b.hi};
}

SliderRange TimeSliderRange() {
  const OptionBounds b = Bounds(&Options::SearchTime);
  return {b.lo, b.hi};
}

std::string RatingBoxCaption(int32_t rating) { return "Use Rating (" + std::to_string(rating) + ")"; }

OptionsForm FillOptionsForm(const GameState& g) {
  const Options& o = g.Opt;
  OptionsForm f;
  f.StrengthPosition = 10 - o.Weakness;
  f.DepthTicked = o.DepthMode == 1;
  f.TimeTicked = o.DepthMode != 1;
  f.DepthPosition = o.SearchDepth;
  f.TimePosition = o.SearchTime;
  f.Skins = SkinNames(g);
  const auto it = std::find(f.Skins.begin(), f.Skins.end(), o.SkinName);
  f.SkinIndex = it == f.Skins.end() ? -1 : static_cast<int>(it - f.Skins.begin());
  f.ColonCapture = o.CaptureCharStyle != 0;
  for (int i = 0; i < kOptionBoxes; ++i) f.Boxes[i] = o.*kOptionBoxTable[i].option != 0;
  f.PliesText = std::to_string(o.ExtendedPlies);
  f.BalanceText = std::to_string(o.Balance);
  f.PlyValueDepthText = std::to_string(o.PlyValueDepth);
  f.FiftyChoice = o.FiftyMoveChoice >= 0 && o.FiftyMoveChoice < kFiftyButtons ? o.FiftyMoveChoice : -1;
  f.UserNameText = o.UserName;
  f.UseRatingValue = g.Rating.UserRating;
  return f;
}

int32_t OptionTextValue(std::string_view text, int32_t Options::*option) {
  const OptionBounds b = Bounds(option);
  return std::clamp(ValInt(text), b.lo, b.hi);
}

bool ApplyOptionsForm(GameState& g, const OptionsForm& f) {
  Options& o = g.Opt;
  o.Weakness = 10 - f.StrengthPosition;
  o.DepthMode = f.DepthTicked ? 1 : 0;
  o.SearchDepth = f.DepthPosition;
  o.SearchTime = f.TimePosition;
  o.CaptureCharStyle = f.ColonCapture ? 1 : 0;
  bool capitalsChanged = false;
  for (int i = 0; i < kOptionBoxes; ++i) {
    int32_t& value = o.*kOptionBoxTable[i].option;
    const int32_t v = f.Boxes[i] ? 1 : 0;
    if (kOptionBoxTable[i].option == &Options::CapitalNotation && v != value) capitalsChanged = true;
    value = v;
  }
  o.ExtendedPlies = OptionTextValue(f.PliesText, &Options::ExtendedPlies);
  o.Balance = OptionTextValue(f.BalanceText, &Options::Balance);
  o.PlyValueDepth = OptionTextValue(f.PlyValueDepthText, &Options::PlyValueDepth);
  o.FiftyMoveChoice = 1;
  for (const FiftyButton& b : kFiftyButtonTable)
    if (b.choice == f.FiftyChoice) o.FiftyMoveChoice = b.choice;
  o.UserName = f.UserNameText;
  return capitalsChanged;
}

void ResetUserRating(GameState& g) { g.Rating.UserRating = kDefaultRating; }

void ApplyCaptureChar(GameState& g) { g.Texts.CaptureChar = g.Opt.CaptureCharStyle == 1 ? ":" : "x"; }

void AssignPlayerNamesAfterOptions(GameState& g) {
  const int starter = g.Rules.BlackStarts == 1 ? -1 : 1;
  const int toMove = g.P.SideToMove == 1 ? 1 : -1;
  const std::string computer = "Computer";
  if (toMove == starter) {
    g.Flow.PlayerName1 = g.Opt.UserName;
    g.Flow.PlayerName2 = computer;
  } else {
    g.Flow.PlayerName1 = computer;
    g.Flow.PlayerName2 = g.Opt.UserName;
  }
  if (g.Opt.PlayMode == 1) g.Flow.PlayerName1 = g.Flow.PlayerName2 = g.Opt.UserName;
}

void FinishShowOptions(GameState& g) {
  g.host->refresh(View::Strength);
  ApplyCaptureChar(g);
  AssignPlayerNamesAfterOptions(g);
  g.host->refresh(View::Board);
  ListLegalMoves(g);
}

}  // namespace m8
