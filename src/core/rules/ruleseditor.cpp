#include "core/rules/ruleseditor.h"
#include "core/rules/rulekeys.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/variantfile.h"

namespace m8 {

namespace {

using Member = int32_t RuleSet::*;

struct BoxKey {
  int box;
  Member member;
};

constexpr BoxKey kCheckKeys[] = {
    {kMaxCapMoveBox, &RuleSet::MaxCapMove},
    {kMulJumpsBox, &RuleSet::MulJumps},
    {kPiecesOnBlackBox, &RuleSet::PiecesOnBlack},
    {kBlackStartsBox, &RuleSet::BlackStarts},
    {kAntiModeBox, &RuleSet::AntiMode},
    {kWinAtPromoBox, &RuleSet::WinAtPromo},
    {kMaxCapMoveKingsBox, &RuleSet::MaxCapMoveKings},
    {kManCapKingBox, &RuleSet::ManCapKing},
    {kKingCapMoveBox, &RuleSet::KingCapMove},
    {kManContJumpBox, &RuleSet::ManContJump},
    {kLongKingsBox, &RuleSet::LongKings},
    {kManContJumpCrownedBox, &RuleSet::ManContJumpCrowned},
    {kRemovePiecesBox, &RuleSet::RemovePieces},
    {kKingFirstBox, &RuleSet::KingFirst},
    {kManCapMoveKingBox, &RuleSet::ManCapMoveKing},
    {kKingWinBox, &RuleSet::KingWin},
    {kMaxCapMoveKBox, &RuleSet::MaxCapMoveK},
    {kCapRequiredBox, &RuleSet::CapRequired},
    {kNoLegalDrawBox, &RuleSet::NoLegalDraw},
    {kRemoveMenBox, &RuleSet::RemoveMen},
    {kDoMovesBox, &RuleSet::DoMoves},
    {kLastCapBox, &RuleSet::LastCap},
    {kManKingBox, &RuleSet::ManKing},
    {kKingManBox, &RuleSet::KingMan},
    {kChangeSideBox, &RuleSet::ChangeSide},
    {kThreeKingsBox, &RuleSet::ThreeKings},
    {kCapReverseBox, &RuleSet::CapReverse},
    {kRndColorBox, &RuleSet::RndColor},
    {kJumpFriendBox, &RuleSet::JumpFriend},
    {kTwoKingsBox, &RuleSet::TwoKings},
    {kCanContractBox, &RuleSet::canContract},
};

constexpr BoxKey kNumberKeys[] = {
    {kNumberMenBox, &RuleSet::NumberMen},
    {kNumberMovesBox, &RuleSet::NumberMoves},
    {kNumberKingsBox, &RuleSet::NumberKings},
    {kNumberFriendsBox, &RuleSet::NumberFriends},
    {kNumberKings2Box, &RuleSet::NumberKings2},
    {kNumberPiecesBox, &RuleSet::NumberPieces},
    {kContractW1Box, &RuleSet::ContractW1},
    {kContractNumberBox, &RuleSet::ContractNumber},
    {kContractW2Box, &RuleSet::ContractW2},
    {kContractB1Box, &RuleSet::ContractB1},
    {kContractB2Box, &RuleSet::ContractB2},
};

// Flags the random rules draw after the first five, in drawing order.
constexpr Member kRandomFlags[] = {
    &RuleSet::AntiMode,     &RuleSet::WinAtPromo,         &RuleSet::KingWin,        &RuleSet::JumpFriend,
    &RuleSet::MaxCapMoveKings, &RuleSet::MaxCapMoveK,     &RuleSet::ManCapKing,     &RuleSet::CapRequired,
    &RuleSet::KingCapMove,  &RuleSet::ManContJump,        &RuleSet::LongKings,      &RuleSet::ManContJumpCrowned,
    &RuleSet::RemovePieces, &RuleSet::KingFirst,          &RuleSet::ManCapMoveKing, &RuleSet::NoLegalDraw,
    &RuleSet::RemoveMen,    &RuleSet::LastCap,            &RuleSet::ManKing,        &RuleSet::KingMan,
    &RuleSet::CapReverse,
};

const char* KeyName(Member m) {
  for (const auto& k : NumericRuleKeys())
    if (k.member == m) return k.name;
  return "";
}

// A box written from code: a changed text counts as an edit, which clears
// the box's refusal mark.
void ShowText(std::string& box, bool& mark, std::string text) {
  if (box == text) return;
  box = std::move(text);
  mark = false;
}

// One ';'-separated list into a row; false at the first word that is no
// direction name or past the eighth name (the row then ends there).
bool ParseList(std::array<int32_t, 9>& row, std::string_view list, int kind) {
  int index = 0;
  while (true) {
    const size_t semi = list.find(';');
    const int off = DirectionOffset(list.substr(0, semi));
    if (off == 0 || index == static_cast<int>(row.size()) - 1) return false;
    row[index++] = (kind == 1 || kind == 3) ? -off : off;
    if (semi == std::string_view::npos) return true;
    list.remove_prefix(semi + 1);
  }
}

}  // namespace

EditorControls::EditorControls() {
  CheckEnabled.fill(true);
  NumberEnabled.fill(true);
}

std::string EditorControls::SelectedName() const {
  if (Selected < 0 || Selected >= static_cast<int>(VariantNames.size())) return "";
  return VariantNames[static_cast<size_t>(Selected)];
}

int32_t RuleSet::*CheckBoxRule(int box) {
  for (const auto& k : kCheckKeys)
    if (k.box == box) return k.member;
  return nullptr;
}

int32_t RuleSet::*NumberBoxRule(int box) {
  for (const auto& k : kNumberKeys)
    if (k.box == box) return k.member;
  return nullptr;
}

std::vector<std::string> ListVariantNames(const std::string& root, int32_t useClassic) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  const std::string folder = ResolvePath(root, useClassic == 1 ? "variants" : "variants/uservariants");
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return names;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (!e.is_regular_file(ec)) continue;
    const std::string file = e.path().filename().string();
    if (file.size() <= 4 || ToLower(file.substr(file.size() - 4)) != ".ini") continue;
    std::string name = file.substr(0, file.size() - 4);
    if (IsSafeFileName(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

int ParseDirectionParts(DirectionRows& t, std::string_view moves, std::string_view captures, int kind) {
  if (kind < 0 || kind > 3) return 0;
  t[kind].fill(kDirEnd);
  t[kind + 4].fill(kDirEnd);
  if (!ParseList(t[kind], moves, kind)) return 0;
  if (captures.empty()) return -1;
  if (!ParseList(t[kind + 4], captures, kind)) return 1;
  return -1;
}

RulesEditor::RulesEditor(GameState& g) : g_(g) {}

RulesEditor::Kept RulesEditor::Keep() const {
  return Kept{g_.Rules,    g_.VariantRules, g_.Variant, g_.board, g_.StartBoard, g_.Mat, g_.Opt.Notation,
              g_.P.MaterialBalance[0], g_.Tables.DirectionTable};
}

void RulesEditor::Load() {
  c_ = EditorControls{};
  kept_ = Keep();
  listedFolder_ = rulesFolder_ = g_.Opt.UseClassic == 1 ? 1 : 0;
  firstSelection_ = 1;
  directionErrorPart_ = -1;
  editPromo_ = g_.Rules.PromoSquares;
  for (int k = 0; k < 4; ++k) SetMovementParts(k, g_.Rules.MovementStrings[k]);
  editMovement_ = g_.Rules.MovementStrings;
  editDirections_ = g_.Tables.DirectionTable;
}

void RulesEditor::SetMovementParts(int kind, std::string_view movement) {
  const size_t blank = movement.find(' ');
  movementParts_[kind] = std::string(movement.substr(0, blank));
  movementParts_[kind + 4] = blank == std::string_view::npos ? std::string() : std::string(movement.substr(blank + 1));
}

void RulesEditor::FillVariantList() {
  c_.VariantNames = ListVariantNames(VariantsRoot(g_, listedFolder_), listedFolder_);
  c_.Selected = -1;
}

void RulesEditor::ListVariantFiles() {
  FillVariantList();
  if (!c_.VariantNames.empty()) Select(0);
}

void RulesEditor::ChooseFolder(int32_t useClassic) {
  listedFolder_ = useClassic == 1 ? 1 : 0;
  ListVariantFiles();
}

void RulesEditor::Cancel() {
  if (rulesFolder_ == (g_.Opt.UseClassic == 1 ? 1 : 0)) return;
  g_.Rules = kept_.Rules;
  g_.VariantRules = kept_.VariantRules;
  g_.Variant = kept_.Variant;
  g_.board = kept_.board;
  g_.StartBoard = kept_.StartBoard;
  g_.Mat = kept_.Mat;
  g_.Opt.Notation = kept_.Notation;
  g_.P.MaterialBalance[0] = kept_.Balance;
  g_.Game.MaterialBalanceHistory[0] = kept_.Balance;
  g_.Tables.DirectionTable = kept_.DirectionTable;
  rulesFolder_ = g_.Opt.UseClassic == 1 ? 1 : 0;
}

int RulesEditor::FindName(const std::string& name) const {
  for (size_t i = 0; i < c_.VariantNames.size(); ++i)
    if (c_.VariantNames[i] == name) return static_cast<int>(i);
  return -1;
}

void RulesEditor::Open(const std::string& loadedVariantName) {
  // The standard-folder button is selected when the dialog loads; choosing
  // the user-folder button is a click that lists the user folder.
  if (listedFolder_ != 1) ChooseFolder(0);
  const int i = FindName(loadedVariantName);
  if (i >= 0) {
    Select(i);
  } else if (firstSelection_ == 1) {
    // The folder does not hold the variant being played: show the rules in
    // force all the same, so that no control stays empty.
    ShowRulesInForce();
    firstSelection_ = 0;
  }
}

bool RulesEditor::Select(int index) {
  if (index < 0 || index >= static_cast<int>(c_.VariantNames.size())) return false;
  const std::string name = c_.VariantNames[static_cast<size_t>(index)];
  if (firstSelection_ == 0) {
    if (!ReadVariantFile(name)) {
      // A file deleted since the list was made leaves the list.
      std::error_code ec;
      if (IsSafeFileName(name) && !std::filesystem::exists(VariantFilePath(g_, listedFolder_, name), ec)) {
        c_.VariantNames.erase(c_.VariantNames.begin() + index);
        if (c_.Selected > index) --c_.Selected;
        else if (c_.Selected == index) c_.Selected = -1;
      }
      return false;
    }
    rulesFolder_ = listedFolder_;
  }
  c_.Selected = index;
  ShowRulesInForce();
  firstSelection_ = 0;
  return true;
}

bool RulesEditor::ReadVariantFile(const std::string& name) {
  Host& h = *g_.host;
  std::string why;
  if (!IsVariantName(name, &why)) {
    h.message(Icon::Exclamation, "Error", why);
    return false;
  }
  const std::string path = VariantFilePath(g_, listedFolder_, name);
  std::string error;
  const auto text = ReadVariantBytes(path, &error);
  VariantFileData d;
  // The editor reads the file's first line as a key line too.
  const bool parsed = text && ParseVariantText(*text, path, d, &error, true);
  if (!parsed) {
    h.message(Icon::Exclamation, "Error", error + "\r\nThe rules stay as they were.");
    return false;
  }

  // The file's rules go into the variant rules and, whole, into the rules in
  // force: the game chosen in the list is that variant even when the dialog
  // is then cancelled, with movement and promotion squares that belong to it.
  d.rules.Variant = name;
  g_.Rules = d.rules;
  g_.VariantRules = d.rules;
  g_.Variant = d.info;
  g_.Variant.LoadedVariantName = name;
  g_.Variant.StartPosition = d.setup;
  if (d.rules.PiecesOnBlack == 2) g_.Opt.Notation = 0;

  // The start position: the file's, or the standard one for "normal".
  const Board b = d.setup ? *d.setup : DefaultStartBoard();
  g_.board = b;
  g_.StartBoard = b;
  int white = 0, black = 0;
  g_.Mat.WhiteMen = g_.Mat.BlackMen = g_.Mat.TotalMaterial = 0;
  for (int v : b) {
    if (v == 0 || v == kOffBoard) continue;
    (v > 0 ? white : black) += v > 0 ? v : -v;
    g_.Mat.WhiteMen += v == 1;
    g_.Mat.BlackMen += v == -1;
  }
  g_.Mat.TotalMaterial = white + black;
  g_.P.MaterialBalance[0] = (black - white) * 100;
  g_.Game.MaterialBalanceHistory[0] = g_.P.MaterialBalance[0];

  editPromo_ = d.rules.PromoSquares;
  for (int k = 0; k < 4; ++k) {
    SetMovementParts(k, d.rules.MovementStrings[k]);
    ParseDirectionParts(g_.Tables.DirectionTable, movementParts_[k], movementParts_[k + 4], k);
  }
  editMovement_ = d.rules.MovementStrings;
  editDirections_ = g_.Tables.DirectionTable;
  return true;
}

void RulesEditor::SetChecksFromRules(std::initializer_list<int> boxes) {
  for (int box : boxes) {
    const int32_t v = g_.Rules.*CheckBoxRule(box);
    if (v != 0 && v != 1) unusualChecks_ += "\r\n" + std::string(KeyName(CheckBoxRule(box))) + " = " + std::to_string(v);
    SetCheck(box, v);
  }
}

void RulesEditor::SetNumbersFromRules(std::initializer_list<int> boxes) {
  for (int box : boxes)
    ShowText(c_.Number[box], c_.NumberMarked[box], std::to_string(g_.Rules.*NumberBoxRule(box)));
}

void RulesEditor::ShowRulesInForce() {
  const RuleSet& r = g_.Rules;
  auto& c = c_;
  unusualChecks_.clear();
  SetChecksFromRules({kMaxCapMoveBox, kMulJumpsBox, kBlackStartsBox, kRndColorBox});
  c.CheckEnabled[kBlackStartsBox] = r.RndColor != 1;
  if (r.PiecesOnBlack < 2) {
    c.CheckEnabled[kPiecesOnBlackBox] = true;
    SetCheck(kPiecesOnBlackBox, r.PiecesOnBlack);
  } else {
    c.CheckEnabled[kPiecesOnBlackBox] = false;
  }
  SetChecksFromRules({kAntiModeBox, kWinAtPromoBox, kKingWinBox, kJumpFriendBox});
  if (r.NumberFriends == -1) {
    SetCheck(kUnlimitedFriendsBox, 1);
  } else {
    SetCheck(kUnlimitedFriendsBox, 0);
    SetNumbersFromRules({kNumberFriendsBox});
  }
  SetChecksFromRules({kMaxCapMoveKingsBox, kManCapKingBox, kCapRequiredBox, kKingCapMoveBox, kManContJumpBox,
      kLongKingsBox, kManContJumpCrownedBox, kRemovePiecesBox, kKingFirstBox, kManCapMoveKingBox,
      kMaxCapMoveKBox, kNoLegalDrawBox, kRemoveMenBox, kLastCapBox, kManKingBox, kKingManBox,
      kChangeSideBox, kThreeKingsBox, kCapReverseBox, kTwoKingsBox});
  SetNumbersFromRules({kNumberMenBox, kNumberKingsBox, kNumberKings2Box, kNumberPiecesBox});
  SetChecksFromRules({kDoMovesBox});
  SetNumbersFromRules({kNumberMovesBox});
  SetChecksFromRules({kCanContractBox});
  SetNumbersFromRules({kContractNumberBox, kContractW1Box, kContractW2Box, kContractB1Box, kContractB2Box});

  for (int box = kContractW1Box; box <= kContractB2Box; ++box) c.NumberEnabled[box] = r.canContract != 0;
  c.NumberEnabled[kNumberMenBox] = r.RemoveMen != 0;
  c.NumberEnabled[kNumberMovesBox] = r.DoMoves != 0;
  if (r.MaxCapMove == 0) c.CheckEnabled[kMaxCapMoveKingsBox] = false;
  if (r.ManContJump == 0) c.CheckEnabled[kManContJumpCrownedBox] = false;
  c.NumberEnabled[kNumberKingsBox] = r.ThreeKings != 0;
  c.NumberEnabled[kNumberKings2Box] = r.TwoKings != 0;
  c.CheckEnabled[kWinAtPromoBox] = c.Check[kKingWinBox] != 1;
  c.CheckEnabled[kKingWinBox] = c.Check[kWinAtPromoBox] != 1;
  if (r.LongKings == 0) c.CheckEnabled[kKingFirstBox] = c.CheckEnabled[kMaxCapMoveKBox] = false;
  if (r.JumpFriend == 0) {
    c.CheckEnabled[kUnlimitedFriendsBox] = false;
    c.NumberEnabled[kNumberFriendsBox] = false;
  }

  for (int side = 0; side < 2; ++side)
    for (int k = 0; k < kPromoEntries; ++k) {
      const int cell = editPromo_[side][k];
      const int box = kPromoEntries * side + k;
      ShowText(c.Promo[box], c.PromoMarked[box], cell == -1 ? std::string() : SquareNotation(g_, cell, 0));
    }
  for (int i = 0; i < kEditorMovementBoxes; ++i) ShowText(c.Movement[i], c.MovementMarked[i], movementParts_[i]);
  c.HelpLink = g_.Variant.HelpLink;
  if (r.PiecesOnBlack < 0) unusualChecks_ += "\r\nPiecesOnBlack = " + std::to_string(r.PiecesOnBlack);
  if (!unusualChecks_.empty())
    g_.host->message(Icon::Exclamation, "Error",
                     "These rules hold a value that is neither 0 nor 1:" + unusualChecks_ +
                         "\r\nTheir boxes are shown ticked; OK or Apply stores 1 for each.");
}

void RulesEditor::SetCheck(int box, int32_t value) {
  if (box < 1 || box >= kEditorChecks) return;
  value = value != 0 ? 1 : 0;
  if (c_.Check[box] == value) return;
  c_.Check[box] = value;
  RunCheckRule(box);
}

void RulesEditor::RunCheckRule(int box) {
  auto& c = c_;
  const int32_t v = c.Check[box];
  switch (box) {
    case kMaxCapMoveBox:
      if (v == 1) {
        SetCheck(kMulJumpsBox, 1);
        c.CheckEnabled[kMulJumpsBox] = false;
        c.CheckEnabled[kMaxCapMoveKingsBox] = true;
      } else {
        c.CheckEnabled[kMulJumpsBox] = true;
        SetCheck(kMaxCapMoveKingsBox, 0);
        c.CheckEnabled[kMaxCapMoveKingsBox] = false;
      }
      break;
    case kPiecesOnBlackBox: {
      g_.Rules.PiecesOnBlack = v;
      g_.VariantRules.PiecesOnBlack = v;
      for (int side = 0; side < 2; ++side)
        for (int k = 0; k < kPromoEntries; ++k) {
          int& cell = editPromo_[side][k];
          if (cell == -1) continue;
          cell += IsPlayableCorrection(v, cell);
          const int i = kPromoEntries * side + k;
          ShowText(c.Promo[i], c.PromoMarked[i], SquareNotation(g_, cell, 0));
        }
      break;
    }
    case kWinAtPromoBox: c.CheckEnabled[kKingWinBox] = v != 1; break;
    case kKingWinBox: c.CheckEnabled[kWinAtPromoBox] = v != 1; break;
    case kRndColorBox: c.CheckEnabled[kBlackStartsBox] = v != 1; break;
    case kManContJumpBox:
      if (v == 1) {
        c.CheckEnabled[kManContJumpCrownedBox] = true;
      } else {
        SetCheck(kManContJumpCrownedBox, 0);
        c.CheckEnabled[kManContJumpCrownedBox] = false;
      }
      break;
    case kLongKingsBox: c.CheckEnabled[kKingFirstBox] = c.CheckEnabled[kMaxCapMoveKBox] = v == 1; break;
    case kRemoveMenBox: c.NumberEnabled[kNumberMenBox] = v != 0; break;
    case kDoMovesBox: c.NumberEnabled[kNumberMovesBox] = v != 0; break;
    case kThreeKingsBox: c.NumberEnabled[kNumberKingsBox] = v != 0; break;
    case kTwoKingsBox: c.NumberEnabled[kNumberKings2Box] = v != 0; break;
    case kCanContractBox:
      for (int n = kContractW1Box; n <= kContractB2Box; ++n) c.NumberEnabled[n] = v != 0;
      break;
    case kJumpFriendBox:
      c.CheckEnabled[kUnlimitedFriendsBox] = v == 1;
      c.NumberEnabled[kNumberFriendsBox] = v == 1 && c.Check[kUnlimitedFriendsBox] != 1;
      break;
    case kUnlimitedFriendsBox: c.NumberEnabled[kNumberFriendsBox] = v != 1; break;
    default: break;
  }
}

void RulesEditor::SetNumber(int box, std::string text) {
  if (box < kFirstNumberBox || box >= kEditorNumbers) return;
  c_.Number[box] = std::move(text);
  c_.NumberMarked[box] = false;
}

void RulesEditor::SetPromo(int index, std::string text) {
  if (index < 0 || index >= kEditorPromoBoxes) return;
  c_.Promo[index] = std::move(text);
  c_.PromoMarked[index] = false;
}

void RulesEditor::SetMovement(int index, std::string text) {
  if (index < 0 || index >= kEditorMovementBoxes) return;
  c_.Movement[index] = std::move(text);
  c_.MovementMarked[index] = false;
}

void RulesEditor::Refuse(bool& mark) {
  mark = true;
  g_.host->message(Icon::Exclamation, "Error", "Illegal entry!");
}

bool RulesEditor::Apply(bool ok) {
  RuleSet& r = g_.Rules;
  auto& c = c_;
  const bool takeFriends = ok && c.Check[kUnlimitedFriendsBox] == 0;

  // Numbers the program cannot use are refused before anything is taken.
  for (const auto& k : kNumberKeys) {
    if (k.box == kNumberFriendsBox && !takeFriends) continue;
    const double v = Val(c.Number[k.box]);
    bool bad = v <= std::numeric_limits<int32_t>::min() - 0.5 || v >= std::numeric_limits<int32_t>::max() + 0.5;
    int lo = 0, hi = 0;
    if (!bad && RuleValueRange(KeyName(k.member), &lo, &hi)) {
      const int32_t n = RoundHalfEven(v);
      bad = n < lo || n > hi;
    }
    if (bad) {
      Refuse(c.NumberMarked[k.box]);
      return false;
    }
  }

  if (c.Selected >= 0) {
    // A name the game files could not carry is never put in force.
    std::string why;
    if (!IsVariantName(c.SelectedName(), &why)) {
      g_.host->message(Icon::Exclamation, "Error", why);
      return false;
    }
    r.Variant = c.SelectedName();
  }
  const int32_t blackStarts = r.BlackStarts;
  for (const auto& k : kCheckKeys) {
    if (k.box == kPiecesOnBlackBox && !c.CheckEnabled[kPiecesOnBlackBox]) continue;
    r.*k.member = c.Check[k.box];
  }
  // A first mover chosen here outlasts the one a set-up position gave.
  if (r.BlackStarts != blackStarts) g_.Flow.BlackStartsBeforeSetup = -1;
  for (const auto& k : kNumberKeys)
    if (k.box != kNumberFriendsBox) r.*k.member = ValInt(c.Number[k.box]);
  if (ok) r.NumberFriends = c.Check[kUnlimitedFriendsBox] == 1 ? -1 : ValInt(c.Number[kNumberFriendsBox]);

  for (int side = 0; side < 2; ++side)
    for (int k = 0; k < kPromoEntries; ++k) {
      const int box = kPromoEntries * side + k;
      const std::string& text = c.Promo[box];
      if (text.empty()) {
        r.PromoSquares[side][k] = -1;
        continue;
      }
      const int cell = SquareNumber(g_, ToUpper(text));
      int playable = 0;
      IsPlayableCorrection(r.PiecesOnBlack, cell, &playable);
      if (cell < 21 || cell > 98 || (playable == 0 && r.PiecesOnBlack < 2)) {
        Refuse(c.PromoMarked[box]);
        return false;
      }
      r.PromoSquares[side][k] = cell;
    }

  for (int k = 0; k < 4; ++k) {
    const std::string& moves = c.Movement[k];
    const std::string& captures = c.Movement[k + 4];
    r.MovementStrings[k] = captures.empty() ? moves : moves + " " + captures;
    directionErrorPart_ = ParseDirectionParts(g_.Tables.DirectionTable, moves, captures, k);
    if (directionErrorPart_ >= 0) {
      r.MovementStrings = editMovement_;
      g_.Tables.DirectionTable = editDirections_;
      Refuse(c.MovementMarked[4 * directionErrorPart_ + k]);
      return false;
    }
  }
  // Taken over: the folder of the variant chosen is the folder from now on.
  g_.Opt.UseClassic = rulesFolder_;
  kept_ = Keep();
  return true;
}

void RulesEditor::Random() {
  RuleSet& r = g_.Rules;
  auto flag = [&] { return static_cast<int32_t>(IntFloor(Rnd(g_) * 2)); };
  auto count = [&](int n) { return static_cast<int32_t>(IntFloor(Rnd(g_) * n)) + 1; };
  r.MaxCapMove = flag();
  r.MulJumps = flag();
  r.BlackStarts = flag();
  r.RndColor = flag();
  if (c_.CheckEnabled[kPiecesOnBlackBox]) r.PiecesOnBlack = flag();
  for (Member m : kRandomFlags) r.*m = flag();
  r.NumberMen = count(10);
  r.NumberKings = count(20);
  r.DoMoves = flag();
  r.NumberMoves = count(10);
  r.ChangeSide = flag();
  r.ThreeKings = flag();
  // The drawn rules keep to what the boxes allow together, so that no box
  // ends locked in a state the user could not undo.
  if (r.MaxCapMove == 1) r.MulJumps = 1;
  if (r.MaxCapMove == 0) r.MaxCapMoveKings = 0;
  if (r.ManContJump == 0) r.ManContJumpCrowned = 0;
  if (r.WinAtPromo == 1) r.KingWin = 0;

  auto& c = c_;
  SetChecksFromRules({kMaxCapMoveBox, kMulJumpsBox, kBlackStartsBox, kRndColorBox});
  c.CheckEnabled[kBlackStartsBox] = r.RndColor != 1;
  if (r.PiecesOnBlack >= 2) {
    c.CheckEnabled[kPiecesOnBlackBox] = false;
  } else {
    c.CheckEnabled[kPiecesOnBlackBox] = true;
    SetCheck(kPiecesOnBlackBox, r.PiecesOnBlack);
  }
  SetChecksFromRules({kAntiModeBox, kWinAtPromoBox, kKingWinBox, kJumpFriendBox, kMaxCapMoveKingsBox,
      kManCapKingBox, kCapRequiredBox, kKingCapMoveBox, kManContJumpBox, kLongKingsBox,
      kManContJumpCrownedBox, kRemovePiecesBox, kKingFirstBox, kManCapMoveKingBox, kMaxCapMoveKBox,
      kNoLegalDrawBox, kRemoveMenBox, kLastCapBox, kManKingBox, kKingManBox, kChangeSideBox,
      kThreeKingsBox, kTwoKingsBox, kCapReverseBox});
  SetNumbersFromRules({kNumberMenBox, kNumberKingsBox, kNumberKings2Box, kNumberPiecesBox});
  SetChecksFromRules({kDoMovesBox});
  SetNumbersFromRules({kNumberMovesBox});
  SetChecksFromRules({kCanContractBox});
  SetNumbersFromRules({kContractNumberBox, kContractW1Box, kContractW2Box, kContractB1Box, kContractB2Box});
  if (r.MaxCapMove == 0) c.CheckEnabled[kMaxCapMoveKingsBox] = false;
  if (r.ManContJump == 0) c.CheckEnabled[kManContJumpCrownedBox] = false;
}

}  // namespace m8
