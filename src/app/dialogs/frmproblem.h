// frmProblem, "Problems/Combinations": the problem lines the hint search
// collects, in a plain text box, and an Ok button.
#pragma once

#include <QWidget>

#include "core/state.h"

class QPlainTextEdit;
class QPushButton;

namespace m8 {

class FrmProblem : public QWidget {
  Q_OBJECT
 public:
  explicit FrmProblem(GameState& g, QWidget* parent = nullptr);
  // Text1 from the problem text; the window is not shown by this.
  void refreshText();
  QPlainTextEdit* problemText() const { return problemText_; }
  QPushButton* okButton() const { return okButton_; }

 private:
  GameState& g_;
  QPlainTextEdit* problemText_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace m8
