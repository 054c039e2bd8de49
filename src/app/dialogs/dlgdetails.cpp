#include "app/dialogs/dlgdetails.h"
#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace m8 {

DlgDetails::DlgDetails(GameState& g, QWidget* parent) : QDialog(parent), g_(g) {
  setObjectName(objectnames::kDetailsDialog);
  setWindowTitle(" Game Details");
  const char* labels[kDetailsBoxes] = {"Event:", "Site:", "Date:", "Black:", "White:"};
  auto* game = new QGroupBox(" Game ", this);
  auto* players = new QGroupBox(" Players ", this);
  auto* gl = new QGridLayout(game);
  auto* pl = new QGridLayout(players);
  for (int i = 0; i < kDetailsBoxes; ++i) {
    // Event, site and date form the game's frame; the players theirs.
    const bool ofGame = i <= static_cast<int>(DetailsBox::Date);
    QGroupBox* frame = ofGame ? game : players;
    QGridLayout* l = ofGame ? gl : pl;
    auto* label = new QLabel(labels[i], frame);
    label->setObjectName(QString::fromLatin1(objectnames::kDetailsLabel).arg(i + 1));
    texts_[i] = new QLineEdit(frame);
    texts_[i]->setObjectName(QString::fromLatin1(objectnames::kDetailsBox).arg(i + 1));
    const bool date = i == static_cast<int>(DetailsBox::Date);
    if (date) texts_[i]->setMaximumWidth(120);  // the date box is shorter
    const int row = ofGame ? i : i - static_cast<int>(DetailsBox::Black);
    l->addWidget(label, row, 0);
    l->addWidget(texts_[i], row, 1, date ? Qt::AlignLeft : Qt::Alignment());
  }
  gl->setColumnMinimumWidth(1, 240);
  pl->setColumnMinimumWidth(1, 240);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  const auto [apply, ok, cancel] = AddDialogButtons(buttons, this,
                                                    {{objectnames::kDetailsApply, "Apply"},
                                                     {objectnames::kDetailsOk, "OK", true},
                                                     {objectnames::kDetailsCancel, "Cancel"}});
  auto* top = new QVBoxLayout(this);
  top->addWidget(game);
  top->addWidget(players);
  top->addLayout(buttons);
  connect(apply, &QPushButton::clicked, this, [this] { onApplyClicked(); });
  connect(ok, &QPushButton::clicked, this, [this] { applyAndClose(); });
  connect(cancel, &QPushButton::clicked, this, [this] { closeWithoutApplying(); });
  KeepOnScreen(this);
}

void DlgDetails::fillFromGame() {
  const DetailsTexts t = DetailsFromGame(g_);
  for (int i = 0; i < kDetailsBoxes; ++i) texts_[i]->setText(QString::fromStdString(t[i]));
}

void DlgDetails::onApplyClicked() {
  DetailsTexts t;
  for (int i = 0; i < kDetailsBoxes; ++i) t[i] = texts_[i]->text().toStdString();
  ApplyDetails(g_, t);
}

void DlgDetails::applyAndClose() {
  onApplyClicked();
  accept();
}

void DlgDetails::closeWithoutApplying() { reject(); }

void ShowDetailsDialog(GameState& g, QWidget* parent) {
  DlgDetails dlg(g, parent);
  dlg.fillFromGame();
  dlg.exec();
}

}  // namespace m8
