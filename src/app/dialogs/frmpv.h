// frmPV, the ply value table window: the table text, the sort keys, the
// search's main line, the progress of a run, Cancel and Ok. It shows what
// PlyValueState holds; the table run (BuildPlyValueTable) fills that.
#pragma once

#include <QWidget>

#include "core/state.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace m8 {

class FrmPV : public QWidget {
  Q_OBJECT
 public:
  explicit FrmPV(GameState& g, QWidget* parent = nullptr);

  // The table run changed the window's state: show it (once the run has shown
  // the window) with its text, label, buttons, keys and progress. A run that
  // starts brings the window to the front with the keyboard in it.
  void refreshTable();
  // Only the progress and main-line label.
  void refreshOutput();

  void onSortKeyChosen(int index);
  void onOkClicked();
  void onCancelClicked();

  QComboBox* sortBox() const { return sortBox_; }
  QPlainTextEdit* tableText() const { return tableText_; }
  QLabel* outputLabel() const { return outputLabel_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QProgressBar* progress() const { return progress_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  GameState& g_;
  QLabel* sortLabel_ = nullptr;
  QComboBox* sortBox_ = nullptr;
  QPlainTextEdit* tableText_ = nullptr;
  QLabel* outputLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool running_ = false;  // a run was shown going (Cancel on)
};

}  // namespace m8
