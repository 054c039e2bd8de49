// The options dialog without its widgets: what each control shows of the
// options, how Apply writes the controls back (the three number boxes limited
// to the settings file's ranges), and what the main window brings up to date
// once the dialog is closed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace m8 {

// The check boxes that stand for one option each (shown ticked for any value
// but 0, written back as 1 or 0), by caption and the option each holds.
struct OptionBox {
  const char* caption;
  int32_t Options::*option;
};
inline constexpr int kOptionBoxes = 17;
extern const std::array<OptionBox, kOptionBoxes> kOptionBoxTable;

// The option buttons of the move-count draw rule, by caption and the
// FiftyMoveChoice value each stands for.
struct FiftyButton {
  const char* caption;
  int32_t choice;
};
inline constexpr int kFiftyButtons = 5;
extern const std::array<FiftyButton, kFiftyButtons> kFiftyButtonTable;

// Slider ranges: strength 1..10 (10 - Weakness), depth and time from the
// bounds of SearchDepth and SearchTime.
struct SliderRange {
  int lo = 0;
  int hi = 0;
};
SliderRange StrengthSliderRange();
SliderRange DepthSliderRange();
SliderRange TimeSliderRange();

// What the dialog's controls hold.
struct OptionsForm {
  int StrengthPosition = 9;  // the strength slider
  bool DepthTicked = false;  // the fixed-depth box
  bool TimeTicked = true;    // the time-per-move box
  int DepthPosition = 2;     // the depth slider
  int TimePosition = 2;      // the time slider
  std::vector<std::string> Skins;  // the skin list
  int SkinIndex = -1;              // the entry equal to SkinName; -1 none
  bool ColonCapture = false;       // the ":" capture button selected, else the "X" one
  std::array<bool, kOptionBoxes> Boxes{};  // by kOptionBoxTable
  std::string PliesText;           // the extended plies box: ExtendedPlies
  std::string BalanceText;         // the balance box: Balance
  std::string PlyValueDepthText;   // the ply value depth box: PlyValueDepth
  int32_t FiftyChoice = -1;        // the choice of the selected button; -1 none
  std::string UserNameText;        // the user name box
  int32_t UseRatingValue = 0;      // the rating shown in the caption of the Use Rating box
};

// The controls as ShowOptions sets them from the options (the skin list as
// SkinNames gives it).
OptionsForm FillOptionsForm(const GameState& g);

// The caption of the "Use Rating" box: "Use Rating (1200)".
std::string RatingBoxCaption(int32_t rating);

// A number box read as Apply reads it: the number at the start of the text
// (none reads 0), rounded half to even, then limited to the option's range.
int32_t OptionTextValue(std::string_view text, int32_t Options::*option);

// Apply and OK: every control into its option, changed or not. SkinName and
// the rating are not touched (they change at once in the dialog). True when
// CapitalNotation changed: the window then clears the board's drawing at once.
bool ApplyOptionsForm(GameState& g, const OptionsForm& form);

// The dialog's Reset: the rating back to its start value at once.
void ResetUserRating(GameState& g);

// After the dialog has closed (and a changed skin has been applied): the
// strength line, the capture character, the player names, the board and the
// legal-move list.
void FinishShowOptions(GameState& g);

// CaptureChar from CaptureCharStyle: ":" for 1, else "x".
void ApplyCaptureChar(GameState& g);

// The names beside the board: the user takes the side to move when it is the
// side that starts, the computer the other; both the user in player against
// player.
void AssignPlayerNamesAfterOptions(GameState& g);

}  // namespace m8
