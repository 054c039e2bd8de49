#include "app/dialogs/frmabout.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialogbuttons.h"
#include "app/mainwindow/artwork.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"
#include "core/game/helpwindows.h"
#include "core/version.h"

namespace m8 {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(objectnames::kAboutWindow);
  setWindowTitle(" About");
  auto named = [this](QLabel*& l, const char* name, const QString& text) {
    l = new QLabel(text, this);
    l->setObjectName(name);
  };
  named(titleLabel_, objectnames::kAboutTitleLabel, kProgramName);
  QFont big = titleLabel_->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  big.setBold(true);
  titleLabel_->setFont(big);
  named(versionLabel_, objectnames::kAboutVersionLabel, "Version 1.0");
  named(descriptionLabel_, objectnames::kAboutDescriptionLabel, kAboutDescription);
  named(noticeLabel_, objectnames::kAboutNoticeLabel, kAboutNotice);
  named(mailLink_, objectnames::kAboutMailLink, kMakerMail);
  named(webLink_, objectnames::kAboutWebLink, kProductPage);
  SetLinkLook(mailLink_, true);
  SetLinkLook(webLink_, true);
  auto* icon = new QLabel(this);
  icon->setObjectName(objectnames::kAboutIcon);
  icon->setPixmap(ProgramIcon().pixmap(64, 64));
  linksFrame_ = new QFrame(this);
  linksFrame_->setObjectName(objectnames::kAboutLinksFrame);
  linksFrame_->setFrameShape(QFrame::Box);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok = AddDialogButtons(row, this, {{objectnames::kAboutOk, "OK", true}})[0];

  auto* texts = new QVBoxLayout;
  for (QLabel* l : {titleLabel_, versionLabel_, descriptionLabel_, noticeLabel_}) texts->addWidget(l);
  auto* head = new QHBoxLayout;
  head->addWidget(icon, 0, Qt::AlignTop);
  head->addLayout(texts, 1);
  auto* links = new QVBoxLayout(linksFrame_);
  links->addWidget(mailLink_);
  links->addWidget(webLink_);
  auto* top = new QVBoxLayout(this);
  top->addLayout(head);
  top->addWidget(linksFrame_);
  top->addLayout(row);

  KeepOnScreen(this);

  // What the dialog shows on opening.
  versionLabel_->setText(QString::fromStdString(AboutVersionText()));

  auto* hooks = new MouseHooks(this);
  hooks->onMove(mailLink_, [this] {
    SetUnderline(webLink_, false);
    SetUnderline(mailLink_, true);
  });
  hooks->onMove(webLink_, [this] {
    SetUnderline(webLink_, true);
    SetUnderline(mailLink_, false);
  });
  for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(linksFrame_)})
    hooks->onMove(w, [this] {
      SetUnderline(webLink_, false);
      SetUnderline(mailLink_, false);
    });
  hooks->onClick(mailLink_, [this] { onMailLinkClicked(); });
  hooks->onClick(webLink_, [this] { onWebLinkClicked(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmAbout::onMailLinkClicked() {
  opener_(QUrl(QStringLiteral("mailto:") + kMakerMail));
  SetUnderline(mailLink_, false);
}

void FrmAbout::onWebLinkClicked() {
  opener_(QUrl(QString::fromLatin1(kProductPage)));
  SetUnderline(webLink_, false);
}

void ShowAbout(QWidget* parent) {
  FrmAbout about(parent);
  about.exec();
}

}  // namespace m8
