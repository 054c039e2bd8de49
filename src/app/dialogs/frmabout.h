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
  QLabel* titleLabel() const { return titleLabel_; }
  QLabel* versionLabel() const { return versionLabel_; }
  QLabel* descriptionLabel() const { return descriptionLabel_; }
  QLabel* noticeLabel() const { return noticeLabel_; }
  QLabel* mailLink() const { return mailLink_; }
  QLabel* webLink() const { return webLink_; }
  QFrame* linksFrame() const { return linksFrame_; }

  void onMailLinkClicked();
  void onWebLinkClicked();

 private:
  LinkOpener opener_ = DesktopLinkOpener();
  QLabel* noticeLabel_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* webLink_ = nullptr;
  QLabel* mailLink_ = nullptr;
  QFrame* linksFrame_ = nullptr;
};

// The About command: the window shown modally.
void ShowAbout(QWidget* parent);

}  // namespace m8
