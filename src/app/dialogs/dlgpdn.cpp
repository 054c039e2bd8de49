#include "app/dialogs/dlgpdn.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"

namespace m8 {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

DlgPdn::DlgPdn(QWidget* parent) : QDialog(parent) {
  setObjectName(objectnames::kPdnDialog);
  setWindowTitle(" Open PDN game");
  list_ = new QTreeWidget(this);
  list_->setObjectName(objectnames::kPdnGamesList);
  list_->setRootIsDecorated(false);
  list_->setSortingEnabled(false);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels(
      {"Event", "Date", "Black", "White", "Result", "Site", "Setup", "Eco", "BlackElo", "WhiteElo"});
  auto* openAsLabel = new QLabel("Open as:", this);
  openAsLabel->setObjectName(objectnames::kPdnOpenAsLabel);
  openAsBox_ = new QComboBox(this);
  openAsBox_->setObjectName(objectnames::kPdnOpenAsBox);
  openAsBox_->addItem("DEFAULT");
  QFont comic(QStringLiteral("Comic Sans MS"));
  auto* row = new QHBoxLayout;
  row->addWidget(openAsLabel);
  row->addWidget(openAsBox_, 1);
  row->addStretch(1);
  const auto [ok, cancel] = AddDialogButtons(
      row, this, {{objectnames::kPdnOk, "OK", true}, {objectnames::kPdnCancel, "Cancel"}});
  ok->setFont(comic);
  cancel->setFont(comic);
  auto* top = new QVBoxLayout(this);
  top->addWidget(list_, 1);
  top->addLayout(row);
  resize(820, 380);
  KeepOnScreen(this);
  connect(ok, &QPushButton::clicked, this, [this] { openChosenGame(); });
  connect(cancel, &QPushButton::clicked, this, [this] { closeWithoutChoosing(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { openChosenGame(); });
}

void DlgPdn::setRows(const std::vector<PdnChooserRow>& rows) {
  list_->clear();
  QList<QTreeWidgetItem*> items;
  for (const PdnChooserRow& r : rows) {
    QStringList cells{Q(r.text)};
    for (const std::string& c : r.columns) cells << Q(c);
    items << new QTreeWidgetItem(cells);
  }
  list_->addTopLevelItems(items);
  if (!items.isEmpty()) list_->setCurrentItem(items.front());
  for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
}

void DlgPdn::setVariants(const std::vector<std::string>& names) {
  openAsBox_->clear();
  openAsBox_->addItem("DEFAULT");
  for (const std::string& n : names) openAsBox_->addItem(Q(n));
  openAsBox_->setCurrentIndex(0);
}

void DlgPdn::openChosenGame() {
  QTreeWidgetItem* item = list_->currentItem();
  const int row = item && item->isSelected() ? list_->indexOfTopLevelItem(item) : -1;
  if (row < 0) {
    // Nothing chosen: as Cancel.
    closeWithoutChoosing();
    return;
  }
  choice_.ChosenGame = row + 1;
  choice_.OpenAsIndex = std::max(0, openAsBox_->currentIndex());
  choice_.OpenAsName = choice_.OpenAsIndex >= 1 ? openAsBox_->currentText().toStdString() : std::string();
  accept();
}

void DlgPdn::closeWithoutChoosing() { reject(); }

void DlgPdn::done(int r) {
  QDialog::done(r);
  // On closing: the window the dialog covered is painted again.
  if (QWidget* p = parentWidget()) p->update();
}

std::vector<PdnChooserRow> PdnChooserRows(const PdnFile& file) {
  std::vector<PdnChooserRow> rows;
  rows.reserve(file.games.size());
  for (const PdnGame& game : file.games) rows.push_back({PdnRowText(game.tags), PdnRowColumns(game.tags)});
  return rows;
}

PdnChooser MakePdnChooser(QWidget* parent, const GameState& g) {
  return [parent, &g](const PdnFile& file, bool opening, std::string* openAs) {
    const PdnChoice c = ChoosePdnGame(parent, PdnChooserRows(file), PdnVariantNames(g),
                                      opening ? " Choose Opening" : " Open PDN game");
    if (openAs) *openAs = c.ChosenGame >= 1 ? c.OpenAsName : std::string();
    return c.ChosenGame;
  };
}

PdnChoice ChoosePdnGame(QWidget* parent, const std::vector<PdnChooserRow>& rows,
                        const std::vector<std::string>& variantNames, const QString& caption) {
  DlgPdn dlg(parent);
  dlg.setWindowTitle(caption);
  dlg.setRows(rows);
  dlg.setVariants(variantNames);
  dlg.exec();
  return dlg.choice();
}

}  // namespace m8
