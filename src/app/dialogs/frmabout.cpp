#include "app/dialogs/frmabout.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/mainwindow/artwork.h"
#include "core/game/helpwindows.h"
#include "core/version.h"

namespace m8 {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(" About");
  auto named = [this](QLabel*& l, const char* name, const QString& text) {
    l = new QLabel(text, this);
    l->setObjectName(name);
  };
  named(label8_, "Label8", kProgramName);
  QFont big = label8_->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  big.setBold(true);
  label8_->setFont(big);
  named(label3_, "Label3", "Version 1.0");
  named(label2_, "Label2", kAboutDescription);
  named(label1_, "Label1", kAboutNotice);
  named(label10_, "Label10", kMakerMail);
  named(label9_, "Label9", kProductPage);
  SetLinkLook(label10_, true);
  SetLinkLook(label9_, true);
  auto* picture1 = new QLabel(this);
  picture1->setObjectName("Picture1");
  picture1->setPixmap(ProgramIcon().pixmap(64, 64));
  frame1_ = new QFrame(this);
  frame1_->setObjectName("Frame1");
  frame1_->setFrameShape(QFrame::Box);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);

  auto* texts = new QVBoxLayout;
  for (QLabel* l : {label8_, label3_, label2_, label1_}) texts->addWidget(l);
  auto* head = new QHBoxLayout;
  head->addWidget(picture1, 0, Qt::AlignTop);
  head->addLayout(texts, 1);
  auto* links = new QVBoxLayout(frame1_);
  links->addWidget(label10_);
  links->addWidget(label9_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  auto* top = new QVBoxLayout(this);
  top->addLayout(head);
  top->addWidget(frame1_);
  top->addLayout(row);

  // Form_Load.
  label3_->setText(QString::fromStdString(AboutVersionText()));

  auto* hooks = new MouseHooks(this);
  hooks->onMove(label10_, [this] {
    SetUnderline(label9_, false);
    SetUnderline(label10_, true);
  });
  hooks->onMove(label9_, [this] {
    SetUnderline(label9_, true);
    SetUnderline(label10_, false);
  });
  for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(frame1_)})
    hooks->onMove(w, [this] {
      SetUnderline(label9_, false);
      SetUnderline(label10_, false);
    });
  hooks->onClick(label10_, [this] { Label10_Click(); });
  hooks->onClick(label9_, [this] { Label9_Click(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* FrmAbout::label(int n) const {
  switch (n) {
    case 1: return label1_;
    case 2: return label2_;
    case 3: return label3_;
    case 8: return label8_;
    case 9: return label9_;
    case 10: return label10_;
    default: return nullptr;
  }
}

void FrmAbout::Label10_Click() {
  opener_(QUrl(QStringLiteral("mailto:") + kMakerMail));
  SetUnderline(label10_, false);
}

void FrmAbout::Label9_Click() {
  opener_(QUrl(QString::fromLatin1(kProductPage)));
  SetUnderline(label9_, false);
}

void ShowAbout(QWidget* parent) {
  FrmAbout about(parent);
  about.exec();
}

}  // namespace m8
