#include "app/dialogs/frmrules.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"
#include "core/game/helpwindows.h"

namespace m8 {

FrmRules::FrmRules(const GameState& g, QWidget* parent) : QDialog(parent), g_(g) {
  setObjectName(objectnames::kRulesWindow);
  setWindowTitle(" Rules");
  auto* frame = new QFrame(this);
  frame->setObjectName(objectnames::kRulesFrame);
  frame->setFrameShape(QFrame::Box);
  QFont arial(QStringLiteral("Arial"));
  rulesText_ = new QLabel;
  rulesText_->setObjectName(objectnames::kRulesText);
  rulesText_->setFont(arial);
  rulesText_->setWordWrap(true);
  rulesText_->setTextFormat(Qt::PlainText);
  rulesText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  linkLabel_ = new QLabel(this);
  linkLabel_->setObjectName(objectnames::kRulesLinkLabel);
  linkLabel_->setFont(arial);
  linkLabel_->setTextFormat(Qt::PlainText);
  auto* row = new QHBoxLayout;
  row->addWidget(linkLabel_, 1);
  QPushButton* ok = AddDialogButtons(row, this, {{objectnames::kRulesOk, "Ok", true}})[0];
  // A long help text scrolls inside the frame; the window stays on the screen.
  auto* scroll = new QScrollArea(frame);
  scroll->setObjectName(objectnames::kRulesScroll);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(rulesText_);
  auto* inFrame = new QVBoxLayout(frame);
  inFrame->addWidget(scroll, 1);
  auto* top = new QVBoxLayout(this);
  top->addWidget(frame, 1);
  top->addLayout(row);
  resize(520, 420);
  KeepOnScreen(this);

  // What the dialog shows on opening.
  rulesText_->setText(QString::fromStdString(RulesHelpText(g_)).replace("\r\n", "\n"));
  const std::string link = ShownHelpLink(g_);
  linkLabel_->setText(QString::fromStdString(link));
  SetLinkLook(linkLabel_, !link.empty());

  auto* hooks = new MouseHooks(this);
  hooks->onMove(linkLabel_, [this] { SetUnderline(linkLabel_, true); });
  for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(rulesText_), static_cast<QWidget*>(frame)})
    hooks->onMove(w, [this] { SetUnderline(linkLabel_, false); });
  hooks->onClick(linkLabel_, [this] { onHelpLinkClicked(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmRules::onHelpLinkClicked() {
  // An empty label (a link into the program's own site) opens nothing.
  if (!g_.Variant.HelpLink.empty() && !linkLabel_->text().isEmpty()) opener_(QUrl(linkLabel_->text()));
  SetUnderline(linkLabel_, false);
}

void ShowRulesWindow(const GameState& g, QWidget* parent) {
  FrmRules rules(g, parent);
  rules.setWindowTitle(QString::fromStdString(RulesWindowCaption(g)));
  rules.exec();
}

}  // namespace m8
