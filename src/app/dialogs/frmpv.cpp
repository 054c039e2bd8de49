#include "app/dialogs/frmpv.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"
#include "core/game/plyvaluewindow.h"

namespace m8 {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FrmPV::FrmPV(GameState& g, QWidget* parent) : QWidget(parent, Qt::Window), g_(g) {
  setObjectName(objectnames::kPlyValueWindow);
  setWindowTitle("Ply Value Table");
  sortLabel_ = new QLabel("Sort:", this);
  sortLabel_->setObjectName(objectnames::kPlyValueSortLabel);
  sortBox_ = new QComboBox(this);
  sortBox_->setObjectName(objectnames::kPlyValueSortBox);
  sortBox_->setMinimumContentsLength(22);
  tableText_ = new QPlainTextEdit(this);
  tableText_->setObjectName(objectnames::kPlyValueTable);
  tableText_->setReadOnly(true);
  tableText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont fixed(QStringLiteral("Consolas"));
  fixed.setStyleHint(QFont::Monospace);
  fixed.setFixedPitch(true);
  if (!QFontDatabase::isFixedPitch(fixed.family())) fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  tableText_->setFont(fixed);
  outputLabel_ = new QLabel(this);
  outputLabel_->setObjectName(objectnames::kPlyValueOutput);
  outputLabel_->setWordWrap(true);
  outputLabel_->setMinimumHeight(outputLabel_->fontMetrics().height() * 2);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(objectnames::kPlyValueProgress);
  progress_->setTextVisible(false);

  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(sortLabel_);
  sortRow->addWidget(sortBox_);
  sortRow->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progress_, 1);
  const auto [cancel, ok] = AddDialogButtons(
      buttons, this, {{objectnames::kPlyValueCancel, "Cancel"}, {objectnames::kPlyValueOk, "Ok"}});
  cancelButton_ = cancel;
  okButton_ = ok;
  auto* top = new QVBoxLayout(this);
  top->addLayout(sortRow);
  top->addWidget(tableText_, 1);
  top->addWidget(outputLabel_);
  top->addLayout(buttons);
  resize(900, 420);
  KeepOnScreen(this);

  connect(sortBox_, &QComboBox::activated, this, [this](int i) { onSortKeyChosen(i); });
  connect(okButton_, &QPushButton::clicked, this, [this] { onOkClicked(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { onCancelClicked(); });
  refreshTable();
}

void FrmPV::refreshOutput() {
  const auto& pv = g_.PlyValue;
  outputLabel_->setText(Q(g_.Search.PlyValueOutputText).replace("\r\n", "\n"));
  progress_->setMaximum(std::max(0, pv.ProgressMax));
  progress_->setValue(std::clamp(pv.ProgressValue, 0, std::max(0, pv.ProgressMax)));
}

void FrmPV::refreshTable() {
  const auto& pv = g_.PlyValue;
  const QString text = Q(pv.TableText);
  if (tableText_->toPlainText() != text) tableText_->setPlainText(text);
  okButton_->setEnabled(pv.CloseEnabled);
  cancelButton_->setEnabled(pv.CancelEnabled);
  {
    const QSignalBlocker block(sortBox_);
    QStringList keys;
    for (const std::string& k : pv.SortKeys) keys << Q(k);
    QStringList shown;
    for (int i = 0; i < sortBox_->count(); ++i) shown << sortBox_->itemText(i);
    if (shown != keys) {
      sortBox_->clear();
      sortBox_->addItems(keys);
    }
    sortBox_->setCurrentIndex(sortBox_->findText(Q(pv.SortKey)));
  }
  sortBox_->setEnabled(pv.SortEnabled);
  sortLabel_->setEnabled(pv.SortEnabled);
  refreshOutput();
  // A run starting shows the window in front with the keyboard in it, so
  // that Escape stops it at once, also when the window was open behind the
  // main window.
  const bool starting = pv.CancelEnabled && !running_;
  running_ = pv.CancelEnabled;
  if (pv.Shown && (starting || !isVisible())) {
    show();
    raise();
    activateWindow();
    tableText_->setFocus();
  }
}

void FrmPV::onSortKeyChosen(int index) {
  if (ChoosePlyValueKey(g_, index)) refreshTable();
}

void FrmPV::onCancelClicked() {
  CancelPlyValueTable(g_);
  refreshTable();
}

void FrmPV::onOkClicked() { close(); }

void FrmPV::keyPressEvent(QKeyEvent* e) {
  // Escape as in a dialog: it closes the finished table, and stops a run the
  // way Cancel does (the window stays to show the rows searched).
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    if (okButton_->isEnabled())
      onOkClicked();
    else if (cancelButton_->isEnabled())
      onCancelClicked();
    return;
  }
  QWidget::keyPressEvent(e);
}

void FrmPV::closeEvent(QCloseEvent* e) {
  // Closed while its table runs (the title bar's close, say): the run stops
  // as with Cancel, so that no search goes on out of sight with the commands
  // locked. The arrays keep the rows searched; the next run shows it again.
  if (g_.PlyValue.CancelEnabled) CancelPlyValueTable(g_);
  g_.PlyValue.Shown = false;
  QWidget::closeEvent(e);
}

}  // namespace m8
