// frmAbout: the program's name and version, two fixed lines, a picture, and
// two link labels (a mail to the maker and the product's web page).
#pragma once

#include <QDialog>

#include "app/dialogs/linklabels.h"

class QFrame;
class QLabel;
class QPushButton;

namespace m8 {

class FrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit FrmAbout(QWidget* parent = nullptr);

  void setLinkOpener(LinkOpener opener) { opener_ = std::move(opener); }
  QLabel* label(int n) const;  // Label1, 2, 3, 8, 9, 10
  QFrame* frame1() const { return frame1_; }

  void Label10_Click();
  void Label9_Click();

 private:
  LinkOpener opener_ = DesktopLinkOpener();
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label8_ = nullptr;
  QLabel* label9_ = nullptr;
  QLabel* label10_ = nullptr;
  QFrame* frame1_ = nullptr;
};

// The About command: the window shown modally.
void ShowAbout(QWidget* parent);

}  // namespace m8
