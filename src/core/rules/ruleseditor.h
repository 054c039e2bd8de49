// The rules editor (the variant dialog) without its widgets: every control's
// value and enabled state, the lists of variant files, loading a variant into
// the controls and the rules in force, the dependent controls, the random
// rules, and taking the edited rules over (OK and Apply). The Qt dialog shows
// these controls and forwards the user's actions here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace m8 {

// Control numbers as the dialog names them: Check1..Check33 (no Check32),
// Text3..Text13 (number boxes), Text1(0..23) promotion squares (White 0..11,
// Black 12..23), Text2(0..7) movement lists (kind k: moves in k, captures in
// k + 4).
constexpr int kEditorChecks = 34;     // index = check box number
constexpr int kEditorNumbers = 14;    // index = text box number 3..13
constexpr int kFirstNumberBox = 3;
constexpr int kEditorPromoBoxes = 2 * kPromoEntries;
constexpr int kEditorMovementBoxes = 8;

// The value of every control, as the dialog shows it. A number box's label is
// enabled with its box.
struct EditorControls {
  std::array<int32_t, kEditorChecks> Check{};  // 0 clear, 1 ticked
  std::array<bool, kEditorChecks> CheckEnabled{};
  std::array<std::string, kEditorNumbers> Number{};
  std::array<bool, kEditorNumbers> NumberEnabled{};
  std::array<bool, kEditorNumbers> NumberMarked{};  // refused by OK/Apply
  std::array<std::string, kEditorPromoBoxes> Promo{};
  std::array<bool, kEditorPromoBoxes> PromoMarked{};
  std::array<std::string, kEditorMovementBoxes> Movement{};
  std::array<bool, kEditorMovementBoxes> MovementMarked{};
  std::vector<std::string> VariantNames;  // the variant list
  int32_t Selected = -1;                  // the variant list's selection, -1 none
  std::string HelpLink;                   // the help link label
  bool RandomVisible = false;             // the "r" button
  bool RandomEnabled = false;

  EditorControls();
  std::string SelectedName() const;
};

// The rule key a check box or number box carries (nullptr for a box without
// one: Check30 is the "unlimited" mark of NumberFriends).
int32_t RuleSet::*CheckBoxRule(int box);
int32_t RuleSet::*NumberBoxRule(int box);

// The variant names of one folder (UseClassic 1: variants/, 0:
// variants/uservariants/) below root (VariantsRoot): the files "*.ini" less
// their extension, in name order. Names that could not be used as a file
// name are left out.
std::vector<std::string> ListVariantNames(const std::string& root, int32_t useClassic);

// Parses the two lists of a movement string into the move row and the capture
// row of a kind. Returns -1 when every name is a direction, 0 when the move
// list holds another word (the capture row is then left empty), 1 when the
// capture list does; a list of more than eight names counts as bad. Rows end
// at the first bad word.
int ParseDirectionParts(DirectionRows& table, std::string_view moves, std::string_view captures, int kind);

class RulesEditor {
 public:
  explicit RulesEditor(GameState& g);

  const EditorControls& controls() const { return c_; }
  GameState& state() { return g_; }

  // Form_Load: the working copies from the rules in force; no control is
  // filled before the first selection.
  void Load();

  // FillVariantList: the list of the folder UseClassic names, nothing
  // selected.
  void FillVariantList();
  // The standard-folder button (useClassic 1) and the user-folder button (0): lists that folder and selects its
  // first name. The setting UseClassic follows only when a variant of the
  // folder is taken over (OK or Apply); Cancel goes back to the folder and the
  // variant of before.
  void ChooseFolder(int32_t useClassic);
  // The folder listed: 1 the standard variants, 0 the user's.
  int32_t ListedFolder() const { return listedFolder_; }
  // Cancel (or closing the dialog): when the variant in force was read from
  // a folder other than the one UseClassic names, the variant, its rules and
  // its start position as they were when the dialog opened (or at the last
  // Apply) come back, so the game and the next start keep one folder.
  void Cancel();
  // What the New Variant command does before showing the dialog: the folder
  // button of UseClassic, then the variant being played is selected (or,
  // when the folder does not hold it, the rules in force are shown).
  void Open(const std::string& loadedVariantName);

  // Choosing list entry `index` of the variant list. Every selection but the first after
  // Load reads the variant's file into the rules in force; a file that cannot
  // be read or is broken is reported, changes nothing and the earlier
  // selection stays. False in that case.
  bool Select(int index);

  // A check box set by the user or by code; its dependent controls follow
  // when the value changes.
  void SetCheck(int box, int32_t value);
  // Typing into the boxes (clears a refusal mark).
  void SetNumber(int box, std::string text);
  void SetPromo(int index, std::string text);
  void SetMovement(int index, std::string text);

  // OK (ok = true) and Apply: copy the controls into the rules in force and
  // check the squares and movement lists; the first bad box is marked and
  // "Illegal entry!" shown. True after a fully legal pass (OK then closes);
  // the listed folder then becomes UseClassic when a variant of it is chosen.
  bool Apply(bool ok);

  // The "r" button: random values for most flags and counts, straight into
  // the rules in force, then shown.
  void Random();

  // The dialog's working copies, as the rules editor keeps them.
  const PromoTable& EditPromoSquares() const { return editPromo_; }
  const std::array<std::string, 4>& EditMovementStrings() const { return editMovement_; }
  const DirectionRows& EditDirectionTable() const { return editDirections_; }
  int32_t FirstSelection() const { return firstSelection_; }
  int32_t DirectionErrorPart() const { return directionErrorPart_; }

 private:
  void RunCheckRule(int box);
  void ShowRulesInForce();
  void SetChecksFromRules(std::initializer_list<int> boxes);
  void SetNumbersFromRules(std::initializer_list<int> boxes);
  bool ReadVariantFile(const std::string& name);
  void SetMovementParts(int kind, std::string_view movement);
  void ListVariantFiles();
  int FindName(const std::string& name) const;
  void Refuse(bool& mark);

  // What Cancel brings back.
  struct Kept {
    RuleSet Rules, VariantRules;
    VariantInfo Variant;
    Board board{}, StartBoard{};
    Material Mat;
    int32_t Notation = 0, Balance = 0;
    DirectionRows DirectionTable{};
  };
  Kept Keep() const;

  GameState& g_;
  EditorControls c_;
  Kept kept_;
  int32_t listedFolder_ = 1;
  int32_t rulesFolder_ = 1;  // the folder of the variant in force
  std::string unusualChecks_;  // check-box rules outside 0..1, for one message
  PromoTable editPromo_{};
  std::array<std::string, kEditorMovementBoxes> movementParts_{};
  std::array<std::string, 4> editMovement_{};
  DirectionRows editDirections_{};
  int32_t firstSelection_ = 1;
  int32_t directionErrorPart_ = -1;
};

}  // namespace m8
