#include "app/dialogs/frmoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/mainwindow/mainwindow.h"

namespace m8 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QSlider* NamedSlider(const char* name, SliderRange r, int largeStep, QWidget* parent) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setObjectName(name);
  s->setRange(r.lo, r.hi);
  s->setSingleStep(1);
  s->setPageStep(largeStep);
  s->setTickPosition(QSlider::TicksBelow);
  return s;
}

void SetEnabled(const std::vector<QWidget*>& ws, bool on) {
  for (QWidget* w : ws) w->setEnabled(on);
}

}  // namespace

FrmOptions::FrmOptions(GameState& g, QWidget* parent) : QDialog(parent), g_(g) {
  setObjectName("frmOptions");
  setWindowTitle(" Options");
  buildControls();
  // Form_Load: centred on the screen.
  adjustSize();
  if (QScreen* s = screen()) move(s->geometry().center() - rect().center());
}

QCheckBox* FrmOptions::box(int32_t Options::*option) const {
  for (int i = 0; i < kOptionBoxes; ++i)
    if (kOptionBoxTable[i].option == option) return boxes_[i];
  return nullptr;
}

void FrmOptions::buildControls() {
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tbsOptions");
  std::array<QWidget*, 4> pages{};
  const char* tabNames[4] = {"Computer", "Board", "Engine", "Misc"};
  for (int i = 0; i < 4; ++i) {
    pages[i] = new QWidget;
    pages[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
    tabs_->addTab(pages[i], tabNames[i]);
  }
  for (int i = 0; i < kOptionBoxes; ++i) {
    boxes_[i] = new QCheckBox(kOptionBoxTable[i].caption);
    boxes_[i]->setObjectName(kOptionBoxTable[i].control);
  }
  auto group = [](const char* title, QWidget* page) {
    auto* f = new QGroupBox(title, page);
    page->layout()->addWidget(f);
    return f;
  };
  for (QWidget* p : pages) new QVBoxLayout(p);

  // Computer: strength and level.
  {
    QGroupBox* strength = group(" Strength ", pages[0]);
    auto* gl = new QGridLayout(strength);
    slider2_ = NamedSlider("Slider2", StrengthSliderRange(), 1, strength);
    gl->addWidget(slider2_, 0, 0, 1, 3);
    gl->addWidget(NamedLabel("Label5", "Easy", strength), 1, 0, Qt::AlignLeft);
    gl->addWidget(NamedLabel("Label6", "Medium", strength), 1, 1, Qt::AlignCenter);
    gl->addWidget(NamedLabel("Label7", "Hard", strength), 1, 2, Qt::AlignRight);

    QGroupBox* level = group(" Level ", pages[0]);
    auto* ll = new QGridLayout(level);
    check1_ = new QCheckBox(level);
    check1_->setObjectName("Check1");
    QLabel* l12 = NamedLabel("Label12", "Depth:", level);
    slider4_ = NamedSlider("Slider4", DepthSliderRange(), 1, level);
    QLabel* l10 = NamedLabel("Label10", "1", level);
    QLabel* l8 = NamedLabel("Label8", "10", level);
    QLabel* l9 = NamedLabel("Label9", "20", level);
    check2_ = new QCheckBox(level);
    check2_->setObjectName("Check2");
    QLabel* l1 = NamedLabel("Label1", "Time:", level);
    slider1_ = NamedSlider("Slider1", TimeSliderRange(), 5, level);
    QLabel* l2 = NamedLabel("Label2", "1", level);
    QLabel* l4 = NamedLabel("Label4", "90", level);
    QLabel* l3 = NamedLabel("Label3", "180", level);
    ll->addWidget(check1_, 0, 0);
    ll->addWidget(l12, 0, 1);
    ll->addWidget(slider4_, 0, 2, 1, 3);
    ll->addWidget(l10, 1, 2, Qt::AlignLeft);
    ll->addWidget(l8, 1, 3, Qt::AlignCenter);
    ll->addWidget(l9, 1, 4, Qt::AlignRight);
    ll->addWidget(check2_, 2, 0);
    ll->addWidget(l1, 2, 1);
    ll->addWidget(slider1_, 2, 2, 1, 3);
    ll->addWidget(l2, 3, 2, Qt::AlignLeft);
    ll->addWidget(l4, 3, 3, Qt::AlignCenter);
    ll->addWidget(l3, 3, 4, Qt::AlignRight);
    depthControls_ = {slider4_, l12, l10, l8, l9};
    timeControls_ = {slider1_, l1, l2, l4, l3};
  }

  // Board: skin and notation.
  {
    QGroupBox* skin = group(" Skin ", pages[1]);
    auto* sl = new QHBoxLayout(skin);
    sl->addWidget(NamedLabel("Label17", "Choose a skin:", skin));
    combo1_ = new QComboBox(skin);
    combo1_->setObjectName("Combo1");
    sl->addWidget(combo1_, 1);

    QGroupBox* misc = group(" Misc ", pages[1]);
    auto* ml = new QGridLayout(misc);
    ml->addWidget(NamedLabel("Label14", "Capture character:", misc), 0, 0);
    auto* captureGroup = new QButtonGroup(misc);
    for (int i = 0; i < 2; ++i) {
      option1_[i] = new QRadioButton(i == 0 ? "X" : ":", misc);
      option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
      captureGroup->addButton(option1_[i]);
      ml->addWidget(option1_[i], 0, 1 + i);
    }
    ml->addWidget(box(&Options::CapitalNotation), 1, 0, 1, 3);
    ml->addWidget(box(&Options::ShowMoves), 2, 0, 1, 3);
  }

  // Engine: search and draw.
  {
    QGroupBox* search = group(" Search ", pages[2]);
    auto* sl = new QGridLayout(search);
    sl->addWidget(box(&Options::ExtendedSearch), 0, 0, 1, 2);
    sl->addWidget(box(&Options::BruteForce), 1, 0, 1, 2);
    QLabel* l15 = NamedLabel("Label15", "Plys (default=3) :", search);
    QLabel* l16 = NamedLabel("Label16", "Balance (default=150) :", search);
    text2_ = new QLineEdit(search);
    text2_->setObjectName("Text2");
    text3_ = new QLineEdit(search);
    text3_->setObjectName("Text3");
    text4_ = new QLineEdit(search);
    text4_->setObjectName("Text4");
    sl->addWidget(l15, 2, 0);
    sl->addWidget(text2_, 2, 1);
    sl->addWidget(l16, 3, 0);
    sl->addWidget(text3_, 3, 1);
    sl->addWidget(NamedLabel("Label18", "Ply Value Table Search :", search), 4, 0);
    sl->addWidget(text4_, 4, 1);
    extendedControls_ = {l15, text2_, l16, text3_};

    QGroupBox* draw = group(" Draw ", pages[2]);
    auto* dl = new QGridLayout(draw);
    dl->addWidget(box(&Options::ChessDrawRules), 0, 0, 1, kFiftyButtons + 1);
    QLabel* l13 = NamedLabel("Label13", "Number of moves in 50 move rule:", draw);
    dl->addWidget(l13, 1, 0);
    auto* fiftyGroup = new QButtonGroup(draw);
    fiftyControls_ = {l13};
    for (int i = 0; i < kFiftyButtons; ++i) {
      fifty_[i] = new QRadioButton(kFiftyButtonTable[i].caption, draw);
      fifty_[i]->setObjectName(kFiftyButtonTable[i].control);
      fiftyGroup->addButton(fifty_[i]);
      dl->addWidget(fifty_[i], 1, 1 + i);
      fiftyControls_.push_back(fifty_[i]);
    }
    dl->addWidget(box(&Options::KingVersusKing), 2, 0, 1, kFiftyButtons + 1);
    dl->addWidget(box(&Options::AskForDraw), 3, 0, 1, kFiftyButtons + 1);
  }

  // Misc: book and program.
  {
    QGroupBox* book = group(" Book ", pages[3]);
    auto* bl = new QVBoxLayout(book);
    for (auto o : {&Options::UseBook, &Options::AmericanBookForAll, &Options::ChooseOpening, &Options::BookRandom})
      bl->addWidget(box(o));

    QGroupBox* misc = group(" Misc ", pages[3]);
    auto* ml = new QGridLayout(misc);
    ml->addWidget(box(&Options::TouchMove), 0, 0, 1, 2);
    ml->addWidget(box(&Options::PdnAlgebraic), 1, 0, 1, 2);
    ml->addWidget(box(&Options::UseSound), 2, 0, 1, 2);
    ml->addWidget(box(&Options::AutoSave), 3, 0, 1, 2);
    ml->addWidget(box(&Options::UseRating), 4, 0);
    command1_ = new QPushButton("Reset", misc);
    command1_->setObjectName("Command1");
    ml->addWidget(command1_, 4, 1);
    ml->addWidget(NamedLabel("Label11", "Your Name:", misc), 5, 0);
    text1_ = new QLineEdit(misc);
    text1_->setObjectName("Text1");
    ml->addWidget(text1_, 5, 1);
    ml->addWidget(box(&Options::ConfirmExit), 6, 0, 1, 2);
  }

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("cmdOK");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cmdCancel");
  auto* apply = new QPushButton("Apply", this);
  apply->setObjectName("cmdApply");
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(apply);
  auto* top = new QVBoxLayout(this);
  top->addWidget(tabs_);
  top->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(apply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(check1_, &QCheckBox::toggled, this, [this] { Check1_Click(); });
  connect(check2_, &QCheckBox::toggled, this, [this] { Check2_Click(); });
  for (auto o : {&Options::ChessDrawRules, &Options::ExtendedSearch, &Options::UseBook, &Options::ChooseOpening})
    connect(box(o), &QCheckBox::toggled, this, [this] { updateDependents(); });
  connect(combo1_, &QComboBox::activated, this, [this](int i) {
    // Combo1_Click: the skin name is taken at once; ShowOptions applies it.
    if (i >= 0) g_.Opt.SkinName = combo1_->itemText(i).toStdString();
  });
  // Ctrl+Tab goes to the next page (after the last, the first);
  // Ctrl+Shift+Tab does nothing.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [this] { Form_KeyDown(Qt::Key_Tab, Qt::ControlModifier); });
  for (QKeySequence k : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)})
    new QShortcut(k, this);
}

void FrmOptions::Form_KeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key != Qt::Key_Tab || shift != Qt::ControlModifier) return;
  tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

void FrmOptions::setDepthControls(bool on) { SetEnabled(depthControls_, on); }
void FrmOptions::setTimeControls(bool on) { SetEnabled(timeControls_, on); }

// Depth (Check1) and time (Check2) exclude each other and one of them is
// always ticked: ticking one clears the other and enables its own controls;
// clearing the ticked one ticks it again.
void FrmOptions::pickSearchLimit(bool depth) {
  QCheckBox* mine = depth ? check1_ : check2_;
  QCheckBox* other = depth ? check2_ : check1_;
  if (mine->isChecked()) {
    other->setChecked(false);
    setDepthControls(depth);
    setTimeControls(!depth);
  } else if (!other->isChecked()) {
    mine->setChecked(true);
  }
}

void FrmOptions::Check1_Click() { pickSearchLimit(true); }
void FrmOptions::Check2_Click() { pickSearchLimit(false); }

void FrmOptions::updateDependents() {
  SetEnabled(fiftyControls_, box(&Options::ChessDrawRules)->isChecked());
  SetEnabled(extendedControls_, box(&Options::ExtendedSearch)->isChecked());
  box(&Options::AmericanBookForAll)->setEnabled(box(&Options::UseBook)->isChecked());
  box(&Options::BookRandom)->setEnabled(box(&Options::ChooseOpening)->isChecked());
}

void FrmOptions::fillFromOptions() {
  const OptionsForm f = FillOptionsForm(g_);
  slider2_->setValue(f.StrengthPosition);
  // The ticked one of the pair first, so that the other is never left alone.
  if (f.DepthTicked) {
    check1_->setChecked(true);
    check2_->setChecked(false);
  } else {
    check2_->setChecked(true);
    check1_->setChecked(false);
  }
  setDepthControls(check1_->isChecked());
  setTimeControls(check2_->isChecked());
  slider4_->setValue(f.DepthPosition);
  slider1_->setValue(f.TimePosition);
  option1_[f.ColonCapture ? 1 : 0]->setChecked(true);
  for (int i = 0; i < kOptionBoxes; ++i) boxes_[i]->setChecked(f.Boxes[i]);
  text2_->setText(Q(f.PliesText));
  text3_->setText(Q(f.BalanceText));
  text4_->setText(Q(f.PlyValueDepthText));
  for (int i = 0; i < kFiftyButtons; ++i) {
    // A value without a button leaves every button clear.
    fifty_[i]->setAutoExclusive(false);
    fifty_[i]->setChecked(kFiftyButtonTable[i].choice == f.FiftyChoice);
    fifty_[i]->setAutoExclusive(true);
  }
  box(&Options::UseRating)->setText(Q(RatingBoxCaption(f.UseRatingValue)));
  text1_->setText(Q(f.UserNameText));
  updateDependents();
  const QSignalBlocker block(combo1_);
  combo1_->clear();
  for (const std::string& s : f.Skins) combo1_->addItem(Q(s));
  combo1_->setCurrentIndex(f.SkinIndex);
  tabs_->setCurrentIndex(0);
}

OptionsForm FrmOptions::form() const {
  OptionsForm f = FillOptionsForm(g_);
  f.StrengthPosition = slider2_->value();
  f.DepthTicked = check1_->isChecked();
  f.TimeTicked = check2_->isChecked();
  f.DepthPosition = slider4_->value();
  f.TimePosition = slider1_->value();
  f.SkinIndex = combo1_->currentIndex();
  f.ColonCapture = !option1_[0]->isChecked();
  for (int i = 0; i < kOptionBoxes; ++i) f.Boxes[i] = boxes_[i]->isChecked();
  f.PliesText = text2_->text().toStdString();
  f.BalanceText = text3_->text().toStdString();
  f.PlyValueDepthText = text4_->text().toStdString();
  f.FiftyChoice = -1;
  for (int i = 0; i < kFiftyButtons; ++i)
    if (fifty_[i]->isChecked()) f.FiftyChoice = kFiftyButtonTable[i].choice;
  f.UserNameText = text1_->text().toStdString();
  return f;
}

void FrmOptions::cmdApply_Click() {
  if (ApplyOptionsForm(g_, form()) && clearDrawing_) clearDrawing_();
}

void FrmOptions::cmdOK_Click() {
  cmdApply_Click();
  accept();
}

void FrmOptions::cmdCancel_Click() { reject(); }

void FrmOptions::Command1_Click() {
  ResetUserRating(g_);
  box(&Options::UseRating)->setText(Q(RatingBoxCaption(g_.Rating.UserRating)));
}

void ShowOptions(MainWindow& w) {
  GameState& g = w.state();
  FrmOptions dlg(g, &w);
  dlg.setClearDrawing([&w] { w.clearDrawing(); });
  dlg.fillFromOptions();
  const std::string skin = g.Opt.SkinName;
  dlg.exec();
  if (g.Opt.SkinName != skin) w.ReloadSkin();
  FinishShowOptions(g);
}

}  // namespace m8
