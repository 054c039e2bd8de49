// frmProblem, "Problems/Combinations": what the search of the Problems/
// Combinations command found in the last position, the combinations it found
// so far in a plain text box, and an Ok button.
#pragma once

#include <QWidget>

#include "core/state.h"

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace m8 {

class FrmProblem : public QWidget {
  Q_OBJECT
 public:
  explicit FrmProblem(GameState& g, QWidget* parent = nullptr);
  // The text box from the problem text and the line above it from the
  // summary; the window is not shown by this.
  void refreshText();
  // Shows the window with the text in force, centred over the main window
  // when it opens; Escape or Ok close it.
  void showWindow();
  // A search of the command runs (the window stops it when it is closed).
  void setRunning(bool running) { running_ = running; }
  QPlainTextEdit* problemText() const { return problemText_; }
  QLabel* summary() const { return summary_; }
  QPushButton* okButton() const { return okButton_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  GameState& g_;
  QLabel* summary_ = nullptr;
  QPlainTextEdit* problemText_ = nullptr;
  QPushButton* okButton_ = nullptr;
  bool running_ = false;
};

}  // namespace m8
