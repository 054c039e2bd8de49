// dlgPDN, the PDN game chooser: one row per game of a PDN file, in file
// order, and the variant under which to open the chosen game.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/helpwindows.h"

class QComboBox;
class QTreeWidget;

namespace m8 {

// One game's row: the Event text and the columns Date, Black, White, Result,
// Site, Setup, Eco, BlackElo, WhiteElo.
struct PdnChooserRow {
  std::string text;
  std::array<std::string, 9> columns;
};

class DlgPdn : public QDialog {
  Q_OBJECT
 public:
  explicit DlgPdn(QWidget* parent = nullptr);

  // The rows in the order given; never sorted, the row's index is the game's
  // number in the file.
  void setRows(const std::vector<PdnChooserRow>& rows);
  // The "open as" list: "DEFAULT", then these names; "DEFAULT" selected.
  void setVariants(const std::vector<std::string>& names);
  // What OK returned; ChosenGame stays -1 after Cancel, the close box, or OK
  // without a selected row.
  const PdnChoice& choice() const { return choice_; }

  void openChosenGame();
  void closeWithoutChoosing();

  QTreeWidget* gamesList() const { return list_; }
  QComboBox* openAsBox() const { return openAsBox_; }

 protected:
  void done(int r) override;

 private:
  QTreeWidget* list_ = nullptr;
  QComboBox* openAsBox_ = nullptr;
  PdnChoice choice_;
};

// Shows the chooser modally with the rows and the variant names (caption
// " Open PDN game", or " Choose Opening" for the random openings) and
// returns the choice.
PdnChoice ChoosePdnGame(QWidget* parent, const std::vector<PdnChooserRow>& rows,
                        const std::vector<std::string>& variantNames, const QString& caption = " Open PDN game");

// The rows of the games of a PDN file, in file order.
std::vector<PdnChooserRow> PdnChooserRows(const PdnFile& file);

// The chooser the game loader asks when a PDN file holds several games: the
// games of the file, the variant names of the folder UseClassic selects; it
// returns the chosen game's number (-1 none) and the "Open as:" name ("" for
// "DEFAULT").
PdnChooser MakePdnChooser(QWidget* parent, const GameState& g);

}  // namespace m8
