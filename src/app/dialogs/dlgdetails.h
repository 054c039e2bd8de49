// dlgDetails, the game details dialog: event, site, date and the two
// players' names of the game in hand, with Apply, OK and Cancel.
#pragma once

#include <QDialog>
#include <array>

#include "core/game/gamedetails.h"

class QLineEdit;

namespace m8 {

class DlgDetails : public QDialog {
  Q_OBJECT
 public:
  explicit DlgDetails(GameState& g, QWidget* parent = nullptr);

  // ShowDetailsDialog's filling: the five boxes from the game's header.
  void fillFromGame();
  QLineEdit* box(DetailsBox b) const { return texts_[static_cast<int>(b)]; }
  QLineEdit* eventBox() const { return box(DetailsBox::Event); }
  QLineEdit* siteBox() const { return box(DetailsBox::Site); }
  QLineEdit* dateBox() const { return box(DetailsBox::Date); }
  QLineEdit* blackBox() const { return box(DetailsBox::Black); }
  QLineEdit* whiteBox() const { return box(DetailsBox::White); }

  void onApplyClicked();
  void applyAndClose();
  void closeWithoutApplying();

 private:
  GameState& g_;
  std::array<QLineEdit*, kDetailsBoxes> texts_{};
};

// The Details command: the dialog filled and shown modally.
void ShowDetailsDialog(GameState& g, QWidget* parent);

}  // namespace m8
