#include "app/dialogs/frmproblem.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace m8 {

FrmProblem::FrmProblem(GameState& g, QWidget* parent) : QWidget(parent, Qt::Window), g_(g) {
  setObjectName("frmProblem");
  setWindowTitle("Problems/Combinations");
  text1_ = new QPlainTextEdit(this);
  text1_->setObjectName("Text1");
  command1_ = new QPushButton("Ok", this);
  command1_->setObjectName("Command1");
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(command1_);
  auto* top = new QVBoxLayout(this);
  top->addWidget(text1_, 1);
  top->addLayout(row);
  resize(560, 320);
  connect(command1_, &QPushButton::clicked, this, &QWidget::close);
  refreshText();
}

void FrmProblem::refreshText() {
  // The text arrives with CR LF line ends.
  QString t = QString::fromStdString(g_.Driver.ProblemText);
  t.replace("\r\n", "\n");
  if (text1_->toPlainText() != t) text1_->setPlainText(t);
}

}  // namespace m8
