#include "app/dialogs/frmpv.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/game/plyvaluesort.h"

namespace m8 {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FrmPV::FrmPV(GameState& g, QWidget* parent) : QWidget(parent, Qt::Window), g_(g) {
  setObjectName("frmPV");
  setWindowTitle("Ply Value Table");
  label1_ = new QLabel("Sort:", this);
  label1_->setObjectName("Label1");
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  combo1_->setMinimumContentsLength(22);
  text1_ = new QPlainTextEdit(this);
  text1_->setObjectName("Text1");
  text1_->setReadOnly(true);
  text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont fixed(QStringLiteral("Consolas"));
  fixed.setStyleHint(QFont::Monospace);
  fixed.setFixedPitch(true);
  if (!QFontDatabase::isFixedPitch(fixed.family())) fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  text1_->setFont(fixed);
  label9_ = new QLabel(this);
  label9_->setObjectName("Label9");
  label9_->setWordWrap(true);
  label9_->setMinimumHeight(label9_->fontMetrics().height() * 2);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("Progress");
  progress_->setTextVisible(false);
  command2_ = new QPushButton("Cancel", this);
  command2_->setObjectName("Command2");
  command1_ = new QPushButton("Ok", this);
  command1_->setObjectName("Command1");

  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(label1_);
  sortRow->addWidget(combo1_);
  sortRow->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progress_, 1);
  buttons->addWidget(command2_);
  buttons->addWidget(command1_);
  auto* top = new QVBoxLayout(this);
  top->addLayout(sortRow);
  top->addWidget(text1_, 1);
  top->addWidget(label9_);
  top->addLayout(buttons);
  resize(900, 420);

  connect(combo1_, &QComboBox::activated, this, [this](int i) { Combo1_Click(i); });
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  refreshTable();
}

void FrmPV::refreshOutput() {
  const auto& pv = g_.PlyValue;
  label9_->setText(Q(g_.Search.PlyValueOutputText).replace("\r\n", "\n"));
  progress_->setMaximum(std::max(0, pv.ProgressMax));
  progress_->setValue(std::clamp(pv.ProgressValue, 0, std::max(0, pv.ProgressMax)));
}

void FrmPV::refreshTable() {
  const auto& pv = g_.PlyValue;
  const QString text = Q(pv.TableText);
  if (text1_->toPlainText() != text) text1_->setPlainText(text);
  command1_->setEnabled(pv.CloseEnabled);
  command2_->setEnabled(pv.CancelEnabled);
  {
    const QSignalBlocker block(combo1_);
    QStringList keys;
    for (const std::string& k : pv.SortKeys) keys << Q(k);
    QStringList shown;
    for (int i = 0; i < combo1_->count(); ++i) shown << combo1_->itemText(i);
    if (shown != keys) {
      combo1_->clear();
      combo1_->addItems(keys);
    }
    combo1_->setCurrentIndex(combo1_->findText(Q(pv.SortKey)));
  }
  combo1_->setEnabled(pv.SortEnabled);
  label1_->setEnabled(pv.SortEnabled);
  refreshOutput();
  if (pv.Shown && !isVisible()) show();
}

void FrmPV::Combo1_Click(int index) {
  if (ChoosePlyValueKey(g_, index)) refreshTable();
}

void FrmPV::Command2_Click() {
  CancelPlyValueTable(g_);
  refreshTable();
}

void FrmPV::Command1_Click() { close(); }

void FrmPV::closeEvent(QCloseEvent* e) {
  // Unloaded: the arrays keep their contents; the next run shows it again.
  g_.PlyValue.Shown = false;
  QWidget::closeEvent(e);
}

}  // namespace m8
