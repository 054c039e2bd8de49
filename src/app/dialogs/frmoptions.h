// frmOptions, the options dialog, and ShowOptions, which fills it from the
// options, shows it and brings the main window up to date afterwards.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "core/game/optionsform.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace m8 {

class MainWindow;

class FrmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit FrmOptions(GameState& g, QWidget* parent = nullptr);

  // ShowOptions' steps 2 and 3: every control from its option, the dependent
  // controls, the rating caption and the skin list.
  void fillFromOptions();
  // What the controls hold now.
  OptionsForm form() const;
  // Called by Apply when the notation's letter case changes.
  void setClearDrawing(std::function<void()> f) { clearDrawing_ = std::move(f); }

  // The buttons and the page key.
  void applyOptions();
  void applyAndClose();
  void closeWithoutApplying();
  void onResetRatingClicked();
  void turnPageOnKey(int key, Qt::KeyboardModifiers shift);

  QTabWidget* tabs() const { return tabs_; }
  QCheckBox* box(int32_t Options::*option) const;

 private:
  void buildControls();
  void onDepthLimitToggled();
  void onTimeLimitToggled();
  void pickSearchLimit(bool depth);
  void setDepthControls(bool on);
  void setTimeControls(bool on);
  void updateDependents();

  GameState& g_;
  std::function<void()> clearDrawing_;
  QTabWidget* tabs_ = nullptr;
  QSlider* strengthSlider_ = nullptr;
  QSlider* depthSlider_ = nullptr;
  QSlider* timeSlider_ = nullptr;
  QCheckBox* depthLimitBox_ = nullptr;
  QCheckBox* timeLimitBox_ = nullptr;
  std::vector<QWidget*> depthControls_;
  std::vector<QWidget*> timeControls_;
  std::vector<QWidget*> fiftyControls_;
  std::vector<QWidget*> extendedControls_;
  QComboBox* skinBox_ = nullptr;
  std::array<QRadioButton*, 2> captureCharButtons_{};
  std::array<QCheckBox*, kOptionBoxes> boxes_{};
  std::array<QRadioButton*, kFiftyButtons> fifty_{};
  QLineEdit* userNameBox_ = nullptr;
  QLineEdit* pliesBox_ = nullptr;
  QLineEdit* balanceBox_ = nullptr;
  QLineEdit* plyValueDepthBox_ = nullptr;
  QPushButton* resetRatingButton_ = nullptr;
};

// The Options command: fills and shows the dialog modally; afterwards a
// changed skin is applied and the strength line, the capture character, the
// player names, the board and the legal-move list are brought up to date.
void ShowOptions(MainWindow& w);

}  // namespace m8
