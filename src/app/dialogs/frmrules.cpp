#include "app/dialogs/frmrules.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/game/helpwindows.h"

namespace m8 {

FrmRules::FrmRules(const GameState& g, QWidget* parent) : QDialog(parent), g_(g) {
  setObjectName("frmRules");
  setWindowTitle(" Rules");
  auto* frame1 = new QFrame(this);
  frame1->setObjectName("Frame1");
  frame1->setFrameShape(QFrame::Box);
  QFont arial(QStringLiteral("Arial"));
  label2_ = new QLabel;
  label2_->setObjectName("Label2");
  label2_->setFont(arial);
  label2_->setWordWrap(true);
  label2_->setTextFormat(Qt::PlainText);
  label2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  label1_->setFont(arial);
  label1_->setTextFormat(Qt::PlainText);
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  // A long help text scrolls inside the frame; the window stays on the screen.
  auto* scroll = new QScrollArea(frame1);
  scroll->setObjectName("Scroll1");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(label2_);
  auto* inFrame = new QVBoxLayout(frame1);
  inFrame->addWidget(scroll, 1);
  auto* row = new QHBoxLayout;
  row->addWidget(label1_, 1);
  row->addWidget(ok);
  auto* top = new QVBoxLayout(this);
  top->addWidget(frame1, 1);
  top->addLayout(row);
  resize(520, 420);

  // Form_Load.
  label2_->setText(QString::fromStdString(RulesHelpText(g_)).replace("\r\n", "\n"));
  const std::string link = ShownHelpLink(g_);
  label1_->setText(QString::fromStdString(link));
  SetLinkLook(label1_, !link.empty());

  auto* hooks = new MouseHooks(this);
  hooks->onMove(label1_, [this] { SetUnderline(label1_, true); });
  for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(label2_), static_cast<QWidget*>(frame1)})
    hooks->onMove(w, [this] { SetUnderline(label1_, false); });
  hooks->onClick(label1_, [this] { Label1_Click(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmRules::Label1_Click() {
  // An empty label (a link into the program's own site) opens nothing.
  if (!g_.Variant.HelpLink.empty() && !label1_->text().isEmpty()) opener_(QUrl(label1_->text()));
  SetUnderline(label1_, false);
}

void ShowRulesWindow(const GameState& g, QWidget* parent) {
  FrmRules rules(g, parent);
  rules.setWindowTitle(QString::fromStdString(RulesWindowCaption(g)));
  rules.exec();
}

}  // namespace m8
