#include "app/dialogs/frmproblem.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
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
  summary_ = new QLabel(this);
  summary_->setObjectName(objectnames::kProblemSummary);
  summary_->setWordWrap(true);
  problemText_ = new QPlainTextEdit(this);
  problemText_->setObjectName(objectnames::kProblemText);
  problemText_->setReadOnly(true);
  problemText_->setPlaceholderText(
      "No combinations found yet.\n\nProblems/Combinations... searches the position on the board for a "
      "combination: a move that captures nothing and wins or loses material by the captures it leads to. "
      "Each one found is noted here: its score, the material before it, the depth, the position and the "
      "line of moves.");
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  okButton_ = AddDialogButtons(row, this, {{objectnames::kProblemOk, "Ok"}})[0];
  auto* top = new QVBoxLayout(this);
  top->addWidget(summary_);
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

void FrmProblem::closeEvent(QCloseEvent* e) {
  // Closed while its search runs: the search stops as with Cancel; what it
  // found up to then is kept.
  if (running_) g_.P.StopRequest = 1;
  QWidget::closeEvent(e);
}

void FrmProblem::refreshText() {
  // The text arrives with CR LF line ends.
  QString t = QString::fromStdString(g_.Driver.ProblemText);
  t.replace("\r\n", "\n");
  if (problemText_->toPlainText() != t) {
    problemText_->setPlainText(t);
    problemText_->moveCursor(QTextCursor::End);
  }
  const QString summary = QString::fromStdString(g_.Driver.ProblemSummary);
  summary_->setText(summary);
  summary_->setVisible(!summary.isEmpty());
}

}  // namespace m8
