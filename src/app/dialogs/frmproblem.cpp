#include "app/dialogs/frmproblem.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"

namespace m8 {

FrmProblem::FrmProblem(GameState& g, QWidget* parent) : QWidget(parent, Qt::Window), g_(g) {
  setObjectName(objectnames::kProblemWindow);
  setWindowTitle("Problems/Combinations");
  problemText_ = new QPlainTextEdit(this);
  problemText_->setObjectName(objectnames::kProblemText);
  problemText_->setPlaceholderText(
      "No problems or combinations yet.\n\nWhen the computer looks for a hint and finds a combination, "
      "it notes it here: the score, the depth and the line of moves.");
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  okButton_ = AddDialogButtons(row, this, {{objectnames::kProblemOk, "Ok"}})[0];
  auto* top = new QVBoxLayout(this);
  top->addWidget(problemText_, 1);
  top->addLayout(row);
  resize(560, 320);
  KeepOnScreen(this);
  connect(okButton_, &QPushButton::clicked, this, &QWidget::close);
  refreshText();
}

void FrmProblem::showWindow() {
  refreshText();
  show();
  raise();
  activateWindow();
}

void FrmProblem::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(e);
}

void FrmProblem::refreshText() {
  // The text arrives with CR LF line ends.
  QString t = QString::fromStdString(g_.Driver.ProblemText);
  t.replace("\r\n", "\n");
  if (problemText_->toPlainText() != t) problemText_->setPlainText(t);
}

}  // namespace m8
