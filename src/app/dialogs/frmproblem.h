// frmProblem, "Problems/Combinations": the problem lines the hint search
// collects, in a plain text box, and an Ok button.
#pragma once

#include <QWidget>

#include "core/state.h"

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

namespace m8 {

class FrmProblem : public QWidget {
  Q_OBJECT
 public:
  explicit FrmProblem(GameState& g, QWidget* parent = nullptr);
  // The text box from the problem text; the window is not shown by this.
  void refreshText();
  // Shows the window with the text in force, centred over the main window
  // when it opens; Escape or Ok close it.
  void showWindow();
  QPlainTextEdit* problemText() const { return problemText_; }
  QPushButton* okButton() const { return okButton_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  GameState& g_;
  QPlainTextEdit* problemText_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace m8
