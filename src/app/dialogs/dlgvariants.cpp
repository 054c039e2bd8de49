#include "app/dialogs/dlgvariants.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "app/dialogs/dialogbuttons.h"
#include "app/dialogs/screenfit.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/objectnames.h"

namespace m8 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

struct CheckDef {
  int box;
  const char* caption;
};

// The check boxes of each frame, top to bottom.
constexpr CheckDef kCaptureChecks[] = {
    {kCapRequiredBox, "Captures mandatory"},
    {kMulJumpsBox, "Multiple captures in one move mandatory"},
    {kMaxCapMoveBox, "Move with most captures mandatory"},
    {kMaxCapMoveKingsBox, "If even capture most Kings"},
    {kKingCapMoveBox, "Capture with King mandatory"},
    {kManCapKingBox, "Man can capture King"},
    {kLastCapBox, "Capture last moved piece mandatory"},
    {kRemovePiecesBox, "Remove captured pieces after move"},
    {kKingManBox, "King becomes Man after capturing"},
    {kManContJumpBox, "Man must continue jumping at last rank"},
    {kManContJumpCrownedBox, "if yes promote to King"},
    {kJumpFriendBox, "Men can jump own pieces"},
    {kUnlimitedFriendsBox, "unlimited"},
};
constexpr CheckDef kMiscChecks[] = {
    {kPiecesOnBlackBox, "Bottom left square is black"},
    {kBlackStartsBox, "Black begins"},
    {kRndColorBox, "Random"},
    {kAntiModeBox, "Anti Mode"},
    {kManKingBox, "Last Man becomes King"},
    {kChangeSideBox, "Promoted Men change color"},
};
constexpr CheckDef kWinDrawChecks[] = {
    {kWinAtPromoBox, "Win when King returns"},
    {kKingWinBox, "Win when player gets first King"},
    {kNoLegalDrawBox, "Draw when no moves but pieces"},
    {kThreeKingsBox, "Draw with 3 Kings versus 1 King "},
    {kTwoKingsBox, "Draw with 2 Kings versus 1 King "},
};
constexpr CheckDef kFlyingChecks[] = {
    {kLongKingsBox, "Kings can move multiple squares"},
    {kKingFirstBox, "Land on 1st square after last jumped piece"},
    {kMaxCapMoveKBox, "Finish a started capture move"},
    {kCapReverseBox, "Kings can reverse direction in capture"},
    {kManCapMoveKingBox, "Man move like a flying King when jumping"},
};

struct NumberDef {
  int box;
  int label;
  const char* caption;
};
constexpr NumberDef kNumbers[] = {
    {kNumberMenBox, 11, "#:"},
    {kNumberMovesBox, 12, "#:"},
    {kNumberKingsBox, 17, "After # moves:"},
    {kNumberFriendsBox, 18, "# pieces:"},
    {kNumberKings2Box, 19, "After # moves:"},
    {kNumberPiecesBox, 20, "Loose when less than # pieces:"},
    {kContractW1Box, 21, "White First Row:"},
    {kContractNumberBox, 22, "# pieces:"},
    {kContractW2Box, 23, "White Last Row:"},
    {kContractB1Box, 24, "Black First Row:"},
    {kContractB2Box, 25, "Black Last Row:"},
};

}  // namespace

const char* const kWidestMovementList = "NW;NE;SE;SW;WW;NN;EE;SS";

namespace {

const char* const kMarkedStyle = "QLineEdit { background-color: #000000; color: #ffffff; }";

}  // namespace

DlgVariants::DlgVariants(GameState& g, QWidget* parent) : QDialog(parent), g_(g), editor_(g) {
  setObjectName(objectnames::kVariantsDialog);
  setWindowTitle(" Variants");
  setModal(true);
  openLink = [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); };
  build();
  // On opening: never larger than the screen, centred over the main window.
  KeepOnScreen(this);
  connectControls();
  editor_.Load();
  showControls();
}

void DlgVariants::build() {
  // The variant choice first: it leads the tab order.
  auto* chooseLabel = new QLabel("Choose variant:", this);
  chooseLabel->setObjectName(objectnames::kVariantChooseLabel);
  variantBox_ = new QComboBox(this);
  variantBox_->setObjectName(objectnames::kVariantBox);
  variantBox_->setEditable(false);
  variantBox_->setMinimumWidth(220);
  classicOption_ = new QRadioButton("Classic", this);
  classicOption_->setObjectName(objectnames::kClassicVariants);
  classicOption_->setChecked(true);
  userOption_ = new QRadioButton("User", this);
  userOption_->setObjectName(objectnames::kUserVariants);
  random_ = new QPushButton("r", this);
  random_->setObjectName(objectnames::kVariantRandom);
  random_->setMaximumWidth(24);
  auto addCheck = [&](QGridLayout* grid, const CheckDef& d, int row, int col = 0, int span = 2) {
    auto* c = new QCheckBox(QString::fromUtf8(d.caption), this);
    c->setObjectName(QString::fromLatin1(objectnames::kRuleCheck).arg(d.box));
    checks_[d.box] = c;
    grid->addWidget(c, row, col, 1, span);
  };
  auto addNumber = [&](QGridLayout* grid, int box, int row, int col = 0) {
    for (const auto& d : kNumbers) {
      if (d.box != box) continue;
      auto* label = new QLabel(QString::fromUtf8(d.caption), this);
      label->setObjectName(QString::fromLatin1(objectnames::kRuleNumberLabel).arg(d.label));
      auto* edit = new QLineEdit(this);
      edit->setObjectName(QString::fromLatin1(objectnames::kRuleNumber).arg(box));
      edit->setMaximumWidth(60);
      numberLabels_[box] = label;
      numbers_[box] = edit;
      grid->addWidget(label, row, col, Qt::AlignRight);
      grid->addWidget(edit, row, col + 1);
    }
  };
  auto frame = [&](const char* caption, const char* name) {
    auto* f = new QGroupBox(QString::fromUtf8(caption), this);
    f->setObjectName(name);
    return f;
  };

  // "Captures"
  auto* captures = frame("Captures", objectnames::kCapturesFrame);
  auto* cg = new QGridLayout(captures);
  int row = 0;
  for (const auto& d : kCaptureChecks) {
    if (d.box == kJumpFriendBox) {
      auto* line = new QFrame(this);
      line->setObjectName(objectnames::kCapturesLine);
      line->setFrameShape(QFrame::HLine);
      cg->addWidget(line, row++, 0, 1, 2);
    }
    if (d.box == kUnlimitedFriendsBox) {
      addCheck(cg, d, row++, 0, 1);
      addNumber(cg, kNumberFriendsBox, row++);
    } else {
      addCheck(cg, d, row++);
    }
  }

  auto* misc = frame("Misc", objectnames::kMiscFrame);
  auto* mg = new QGridLayout(misc);
  row = 0;
  for (const auto& d : kMiscChecks) addCheck(mg, d, row++);

  auto* winDraw = frame("Win/Draw", objectnames::kWinDrawFrame);
  auto* wg = new QGridLayout(winDraw);
  row = 0;
  for (const auto& d : kWinDrawChecks) {
    addCheck(wg, d, row++);
    if (d.box == kThreeKingsBox) addNumber(wg, kNumberKingsBox, row++);
    if (d.box == kTwoKingsBox) addNumber(wg, kNumberKings2Box, row++);
  }
  addNumber(wg, kNumberPiecesBox, row++);

  auto* flying = frame("Flying Kings", objectnames::kFlyingKingsFrame);
  auto* fg = new QGridLayout(flying);
  row = 0;
  for (const auto& d : kFlyingChecks) addCheck(fg, d, row++);

  auto* opening = frame("Opening", objectnames::kOpeningFrame);
  auto* og = new QGridLayout(opening);
  addCheck(og, {kRemoveMenBox, "Remove Men"}, 0, 0, 1);
  addNumber(og, kNumberMenBox, 0, 1);
  addCheck(og, {kDoMovesBox, "Automatic Moves"}, 1, 0, 1);
  addNumber(og, kNumberMovesBox, 1, 1);

  auto* offBoard = frame("Off the Board", objectnames::kOffBoardFrame);
  auto* bg = new QGridLayout(offBoard);
  addCheck(bg, {kCanContractBox, "Start with pieces off the board"}, 0, 0, 4);
  addNumber(bg, kContractNumberBox, 1, 0);
  addNumber(bg, kContractW1Box, 2, 0);
  addNumber(bg, kContractW2Box, 2, 2);
  addNumber(bg, kContractB1Box, 3, 0);
  addNumber(bg, kContractB2Box, 3, 2);

  auto* promotion = frame("Promotion Squares", objectnames::kPromotionFrame);
  auto* pg = new QGridLayout(promotion);
  for (int side = 0; side < 2; ++side) {
    auto* label = new QLabel(side == 0 ? "White:" : "Black:", this);
    label->setObjectName(side == 0 ? objectnames::kPromoWhiteLabel : objectnames::kPromoBlackLabel);
    pg->addWidget(label, side * 4, 0, 1, 4);
    for (int k = 0; k < kPromoEntries; ++k) {
      const int i = kPromoEntries * side + k;
      auto* e = new QLineEdit(this);
      e->setObjectName(QString::fromLatin1(objectnames::kPromoBox).arg(i));
      e->setMaximumWidth(40);
      promo_[i] = e;
      pg->addWidget(e, side * 4 + 1 + k / 4, k % 4);
    }
  }

  auto* directions = frame("Movement Directions", objectnames::kDirectionsFrame);
  auto* dg = new QGridLayout(directions);
  auto* normal = new QLabel("Normal Moves", this);
  normal->setObjectName(objectnames::kNormalMovesLabel);
  auto* capture = new QLabel("Capture Moves", this);
  capture->setObjectName(objectnames::kCaptureMovesLabel);
  dg->addWidget(normal, 0, 1);
  dg->addWidget(capture, 0, 2);
  const struct {
    const char* caption;
    int kind;
  } kRows[] = {{"White Man:", 0}, {"White King:", 2}, {"Black Man:", 1}, {"Black King:", 3}};
  row = 1;
  for (const auto& r : kRows) {
    dg->addWidget(new QLabel(r.caption, this), row, 0);
    for (int part = 0; part < 2; ++part) {
      const int i = r.kind + 4 * part;
      auto* e = new QLineEdit(this);
      e->setObjectName(QString::fromLatin1(objectnames::kMovementBox).arg(i));
      // Wide enough for all eight direction names of one list.
      e->setMinimumWidth(e->fontMetrics().horizontalAdvance(kWidestMovementList) + 16);
      movement_[i] = e;
      dg->addWidget(e, row, 1 + part);
    }
    ++row;
  }

  auto* rulesFrame = frame("Rules", objectnames::kVariantRulesFrame);
  auto* rl = new QHBoxLayout(rulesFrame);
  helpLink_ = new QLabel(this);
  helpLink_->setObjectName(objectnames::kVariantHelpLink);
  helpLink_->setStyleSheet("color: #0000C0;");  // &H00C00000: dark blue
  helpLink_->setCursor(Qt::PointingHandCursor);
  helpLink_->setFocusPolicy(Qt::StrongFocus);  // reached with Tab, opened with Enter or Space
  helpLink_->installEventFilter(this);
  rl->addWidget(helpLink_);
  rulesFrame->installEventFilter(this);

  auto* helpFrame = new QFrame(this);
  helpFrame->setObjectName(objectnames::kVariantHelpFrame);
  helpFrame->setFrameShape(QFrame::StyledPanel);

  auto* top = new QHBoxLayout;
  top->addWidget(chooseLabel);
  top->addWidget(variantBox_, 1);
  top->addWidget(classicOption_);
  top->addWidget(userOption_);
  top->addWidget(random_);

  auto* left = new QVBoxLayout;
  left->addWidget(captures);
  left->addWidget(opening);
  left->addStretch(1);
  auto* middle = new QVBoxLayout;
  middle->addWidget(misc);
  middle->addWidget(winDraw);
  middle->addWidget(flying);
  auto* right = new QVBoxLayout;
  right->addWidget(promotion);
  right->addWidget(directions);
  right->addWidget(offBoard);
  right->addWidget(rulesFrame);
  right->addWidget(helpFrame);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(middle);
  columns->addLayout(right);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  // None of the buttons is pressed by Enter.
  const auto [ok, apply, cancel] = AddDialogButtons(buttons, this,
                                                    {{objectnames::kVariantsOk, "OK", false, false},
                                                     {objectnames::kVariantsApply, "Apply", false, false},
                                                     {objectnames::kVariantsCancel, "Cancel", false, false}});
  ok_ = ok;
  apply_ = apply;
  cancel_ = cancel;

  // The frames scroll when the screen is smaller than the dialog; the
  // variant choice and the buttons stay in reach.
  auto* body = new QWidget;
  body->setObjectName(objectnames::kRulesBody);
  auto* bodyLayout = new QVBoxLayout(body);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  bodyLayout->addLayout(columns);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(new ScrollingBody(body, this), 1);
  all->addLayout(buttons);
}

void DlgVariants::connectControls() {
  for (int box = 1; box < kEditorChecks; ++box) {
    if (!checks_[box]) continue;
    connect(checks_[box], &QCheckBox::clicked, this, [this, box](bool on) {
      editor_.SetCheck(box, on ? 1 : 0);
      showControls();
    });
  }
  for (int box = kFirstNumberBox; box < kEditorNumbers; ++box)
    connect(numbers_[box], &QLineEdit::textChanged, this, [this, box](const QString& t) {
      if (showing_) return;
      editor_.SetNumber(box, t.toStdString());
      showControls();
    });
  for (int i = 0; i < kEditorPromoBoxes; ++i)
    connect(promo_[i], &QLineEdit::textChanged, this, [this, i](const QString& t) {
      if (showing_) return;
      editor_.SetPromo(i, t.toStdString());
      showControls();
    });
  for (int i = 0; i < kEditorMovementBoxes; ++i)
    connect(movement_[i], &QLineEdit::textChanged, this, [this, i](const QString& t) {
      if (showing_) return;
      editor_.SetMovement(i, t.toStdString());
      showControls();
    });
  connect(variantBox_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    editor_.Select(index);  // a broken file is reported and the earlier choice stays
    showControls();
  });
  connect(classicOption_, &QRadioButton::toggled, this, [this](bool on) {
    if (showing_ || !on) return;
    editor_.ChooseFolder(1);
    showControls();
  });
  connect(userOption_, &QRadioButton::toggled, this, [this](bool on) {
    if (showing_ || !on) return;
    editor_.ChooseFolder(0);
    showControls();
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    const bool legal = editor_.Apply(true);
    showControls();
    if (legal) accept();
  });
  connect(apply_, &QPushButton::clicked, this, [this] {
    editor_.Apply(false);
    showControls();
  });
  connect(cancel_, &QPushButton::clicked, this, &DlgVariants::reject);
  connect(random_, &QPushButton::clicked, this, [this] {
    editor_.Random();
    showControls();
  });
}

void DlgVariants::OpenFor(const std::string& loadedVariantName) {
  editor_.FillVariantList();
  showing_ = true;
  classicOption_->setChecked(editor_.ListedFolder() == 1);
  userOption_->setChecked(editor_.ListedFolder() != 1);
  showing_ = false;
  editor_.Open(loadedVariantName);
  showControls();
  variantBox_->setFocus();  // the variant list has the focus
}

void DlgVariants::reject() {
  editor_.Cancel();
  QDialog::reject();
}

void DlgVariants::showControls() {
  const EditorControls& c = editor_.controls();
  showing_ = true;
  auto showText = [](QLineEdit* e, const std::string& text, bool marked) {
    const QString t = Q(text);
    if (e->text() != t) e->setText(t);
    e->setStyleSheet(marked ? kMarkedStyle : "");
  };
  for (int box = 1; box < kEditorChecks; ++box) {
    if (!checks_[box]) continue;
    checks_[box]->setChecked(c.Check[box] != 0);
    checks_[box]->setEnabled(c.CheckEnabled[box]);
  }
  for (int box = kFirstNumberBox; box < kEditorNumbers; ++box) {
    showText(numbers_[box], c.Number[box], c.NumberMarked[box]);
    numbers_[box]->setEnabled(c.NumberEnabled[box]);
    numberLabels_[box]->setEnabled(c.NumberEnabled[box]);
  }
  for (int i = 0; i < kEditorPromoBoxes; ++i) showText(promo_[i], c.Promo[i], c.PromoMarked[i]);
  for (int i = 0; i < kEditorMovementBoxes; ++i) showText(movement_[i], c.Movement[i], c.MovementMarked[i]);

  QStringList names;
  for (const auto& n : c.VariantNames) names << Q(n);
  QStringList shown;
  for (int i = 0; i < variantBox_->count(); ++i) shown << variantBox_->itemText(i);
  if (shown != names) {
    variantBox_->clear();
    variantBox_->addItems(names);
  }
  variantBox_->setCurrentIndex(c.Selected);
  classicOption_->setChecked(editor_.ListedFolder() == 1);
  userOption_->setChecked(editor_.ListedFolder() != 1);
  helpLink_->setText(Q(c.HelpLink));
  random_->setVisible(c.RandomVisible);
  random_->setEnabled(c.RandomEnabled);
  showing_ = false;
}

void DlgVariants::underlineLink(bool on) {
  QFont f = helpLink_->font();
  f.setUnderline(on);
  helpLink_->setFont(f);
}

bool DlgVariants::eventFilter(QObject* watched, QEvent* event) {
  if (watched == helpLink_) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) underlineLink(true);
    if (event->type() == QEvent::Leave) underlineLink(false);
    if (event->type() == QEvent::FocusIn) underlineLink(true);
    if (event->type() == QEvent::FocusOut) underlineLink(false);
    bool open = event->type() == QEvent::MouseButtonRelease;
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      open = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (open && !helpLink_->text().isEmpty()) {
      openLink(helpLink_->text());
      underlineLink(false);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RunVariantsDialog(MainWindow& w) {
  GameState& g = w.state();
  DlgVariants dlg(g, &w);
  dlg.OpenFor(g.Variant.LoadedVariantName);
  dlg.exec();
}

void WireRulesEditor(MainWindow& w) {
  w.gameFlowHooks.variantDialog = [&w] { RunVariantsDialog(w); };
  w.commands()->setHandler(objectnames::kNewVariantEntry, "New Variant", [&w] {
    if (w.state().Flow.Busy == 1) return;
    w.NewGameCommand(1);
  });
}

}  // namespace m8
