// frmRules: the help text of the current variant and its help link.
#pragma once

#include <QDialog>

#include "app/dialogs/linklabels.h"
#include "core/state.h"

class QLabel;
class QPushButton;

namespace m8 {

class FrmRules : public QDialog {
  Q_OBJECT
 public:
  // On opening: the help text and the link from the variant read last.
  explicit FrmRules(const GameState& g, QWidget* parent = nullptr);

  void setLinkOpener(LinkOpener opener) { opener_ = std::move(opener); }
  QLabel* linkLabel() const { return linkLabel_; }  // the link
  QLabel* rulesText() const { return rulesText_; }  // the text

  void onHelpLinkClicked();

 private:
  const GameState& g_;
  LinkOpener opener_ = DesktopLinkOpener();
  QLabel* linkLabel_ = nullptr;
  QLabel* rulesText_ = nullptr;
};

// The rules help commands' window: captioned " Rules for <variant>" and shown
// modally.
void ShowRulesWindow(const GameState& g, QWidget* parent);

}  // namespace m8
