// dlgVariants, the rules editor: every rule of the game in its own control,
// the variant lists of the two folders, OK, Apply and Cancel. The controls
// show what the RulesEditor holds; every user action goes to it.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "core/rules/ruleseditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace m8 {

class MainWindow;

// The longest list a movement box holds: all eight direction names.
extern const char* const kWidestMovementList;

class DlgVariants : public QDialog {
  Q_OBJECT
 public:
  // On opening: the working copies taken from the rules in force.
  DlgVariants(GameState& g, QWidget* parent = nullptr);

  RulesEditor& editor() { return editor_; }

  // The New Variant command's steps before the dialog is shown: the variant
  // list, the folder button of UseClassic, the variant being played chosen.
  void OpenFor(const std::string& loadedVariantName);

  // Controls by the rule they set (RuleCheckBox, RuleNumberBox and the
  // labels of the number boxes), the promotion squares and the movement lists
  // by index.
  QCheckBox* check(int n) const { return checks_[n]; }
  QLineEdit* number(int n) const { return numbers_[n]; }
  QLabel* numberLabel(int n) const { return numberLabels_[n]; }
  QLineEdit* promo(int i) const { return promo_[i]; }
  QLineEdit* movement(int i) const { return movement_[i]; }
  QComboBox* variantBox() const { return variantBox_; }
  QRadioButton* classicOption() const { return classicOption_; }
  QRadioButton* userOption() const { return userOption_; }
  QLabel* helpLink() const { return helpLink_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* applyButton() const { return apply_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* randomButton() const { return random_; }

  // Opens a help link; tests replace it.
  std::function<void(const QString&)> openLink;

  // Cancel and closing the window: the editor goes back to the folder and
  // the variant of before when another folder's variant was looked at.
  void reject() override;

 private:
  void build();
  void connectControls();
  void showControls();
  void underlineLink(bool on);

  GameState& g_;
  RulesEditor editor_;
  std::array<QCheckBox*, kEditorChecks> checks_{};
  std::array<QLineEdit*, kEditorNumbers> numbers_{};
  std::array<QLabel*, kEditorNumbers> numberLabels_{};
  std::array<QLineEdit*, kEditorPromoBoxes> promo_{};
  std::array<QLineEdit*, kEditorMovementBoxes> movement_{};
  QComboBox* variantBox_ = nullptr;
  QRadioButton* classicOption_ = nullptr;
  QRadioButton* userOption_ = nullptr;
  QLabel* helpLink_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* random_ = nullptr;
  bool showing_ = false;  // the controls are being filled from the editor

  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The variant dialog step of the New Variant command: fills and shows the
// dialog modally over the main window; returns when it is closed.
void RunVariantsDialog(MainWindow& w);

// Connects the New Variant menu entry and toolbar button, and gives the new
// game its variant dialog.
void WireRulesEditor(MainWindow& w);

}  // namespace m8
