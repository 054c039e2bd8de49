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

// The editor's check boxes, each named for the rule key it sets; the value
// is the box's number, which its object name carries (there is no 32).
enum RuleCheckBox : int {
  kMaxCapMoveBox = 1,
  kMulJumpsBox = 2,
  kPiecesOnBlackBox = 3,
  kBlackStartsBox = 4,
  kAntiModeBox = 5,
  kWinAtPromoBox = 6,
  kMaxCapMoveKingsBox = 7,
  kManCapKingBox = 8,
  kKingCapMoveBox = 9,
  kManContJumpBox = 10,
  kLongKingsBox = 11,
  kManContJumpCrownedBox = 12,
  kRemovePiecesBox = 13,
  kKingFirstBox = 14,
  kManCapMoveKingBox = 15,
  kKingWinBox = 16,
  kMaxCapMoveKBox = 17,
  kCapRequiredBox = 18,
  kNoLegalDrawBox = 19,
  kRemoveMenBox = 20,
  kDoMovesBox = 21,
  kLastCapBox = 22,
  kManKingBox = 23,
  kKingManBox = 24,
  kChangeSideBox = 25,
  kThreeKingsBox = 26,
  kCapReverseBox = 27,
  kRndColorBox = 28,
  kJumpFriendBox = 29,
  kUnlimitedFriendsBox = 30,  // NumberFriends as "unlimited" (-1)
  kTwoKingsBox = 31,
  kCanContractBox = 33,
};

// The editor's number boxes, each named for the rule key it holds; the value
// is the box's number, which its object name carries.
enum RuleNumberBox : int {
  kNumberMenBox = 3,
  kNumberMovesBox = 4,
  kNumberKingsBox = 5,
  kNumberFriendsBox = 6,
  kNumberKings2Box = 7,
  kNumberPiecesBox = 8,
  kContractW1Box = 9,
  kContractNumberBox = 10,
  kContractW2Box = 11,
  kContractB1Box = 12,
  kContractB2Box = 13,
};

// The promotion squares are 24 boxes (White 0..11, Black 12..23), the
// movement lists 8 (kind k: moves in k, captures in k + 4).
constexpr int kEditorChecks = kCanContractBox + 1;   // indexed by RuleCheckBox
constexpr int kEditorNumbers = kContractB2Box + 1;   // indexed by RuleNumberBox
constexpr int kFirstNumberBox = kNumberMenBox;
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
// one: kUnlimitedFriendsBox is the "unlimited" mark of NumberFriends).
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

  // On opening: the working copies from the rules in force; no control is
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
