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
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/dialogs/dialogbuttons.h"
#include "app/mainwindow/mainwindow.h"
#include "app/dialogs/screenfit.h"
#include "app/objectnames.h"

namespace m8 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The object name of the check box that holds an option.
const char* BoxName(int32_t Options::*option) {
  static constexpr std::pair<int32_t Options::*, const char*> kNames[] = {
      {&Options::CapitalNotation, objectnames::kCapitalNotationBox},
      {&Options::ShowMoves, objectnames::kShowMovesBox},
      {&Options::ExtendedSearch, objectnames::kExtendedSearchBox},
      {&Options::BruteForce, objectnames::kBruteForceBox},
      {&Options::ChessDrawRules, objectnames::kChessDrawRulesBox},
      {&Options::KingVersusKing, objectnames::kKingVersusKingBox},
      {&Options::AskForDraw, objectnames::kAskForDrawBox},
      {&Options::UseBook, objectnames::kUseBookBox},
      {&Options::AmericanBookForAll, objectnames::kAmericanBookBox},
      {&Options::ChooseOpening, objectnames::kChooseOpeningBox},
      {&Options::BookRandom, objectnames::kBookRandomBox},
      {&Options::TouchMove, objectnames::kTouchMoveBox},
      {&Options::PdnAlgebraic, objectnames::kPdnAlgebraicBox},
      {&Options::UseSound, objectnames::kUseSoundBox},
      {&Options::AutoSave, objectnames::kAutoSaveBox},
      {&Options::UseRating, objectnames::kUseRatingBox},
      {&Options::ConfirmExit, objectnames::kConfirmExitBox},
  };
  for (const auto& [o, name] : kNames)
    if (o == option) return name;
  return "";
}

// The object name of the move-count button for a FiftyMoveChoice value.
const char* FiftyButtonName(int32_t choice) {
  switch (choice) {
    case 0: return objectnames::kFifty32Button;
    case 1: return objectnames::kFifty50Button;
    case 2: return objectnames::kFifty16Button;
    case 3: return objectnames::kFifty20Button;
    case 4: return objectnames::kFifty40Button;
    default: return "";
  }
}

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
  setObjectName(objectnames::kOptionsDialog);
  setWindowTitle(" Options");
  buildControls();
  // On opening: fitted to the screen and centred over the main window.
  KeepOnScreen(this);
}

QCheckBox* FrmOptions::box(int32_t Options::*option) const {
  for (int i = 0; i < kOptionBoxes; ++i)
    if (kOptionBoxTable[i].option == option) return boxes_[i];
  return nullptr;
}

void FrmOptions::buildControls() {
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(objectnames::kOptionsTabs);
  std::array<QWidget*, 4> pages{};
  const char* tabNames[4] = {"Computer", "Board", "Engine", "Misc"};
  for (int i = 0; i < 4; ++i) {
    pages[i] = new QWidget;
    pages[i]->setObjectName(QString::fromLatin1(objectnames::kOptionsPage).arg(i));
    tabs_->addTab(pages[i], tabNames[i]);
  }
  for (int i = 0; i < kOptionBoxes; ++i) {
    boxes_[i] = new QCheckBox(kOptionBoxTable[i].caption);
    boxes_[i]->setObjectName(BoxName(kOptionBoxTable[i].option));
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
    strengthSlider_ = NamedSlider(objectnames::kStrengthSlider, StrengthSliderRange(), 1, strength);
    gl->addWidget(strengthSlider_, 0, 0, 1, 3);
    gl->addWidget(NamedLabel(objectnames::kStrengthEasyLabel, "Easy", strength), 1, 0, Qt::AlignLeft);
    gl->addWidget(NamedLabel(objectnames::kStrengthMediumLabel, "Medium", strength), 1, 1, Qt::AlignCenter);
    gl->addWidget(NamedLabel(objectnames::kStrengthHardLabel, "Hard", strength), 1, 2, Qt::AlignRight);

    QGroupBox* level = group(" Level ", pages[0]);
    auto* ll = new QGridLayout(level);
    depthLimitBox_ = new QCheckBox(level);
    depthLimitBox_->setObjectName(objectnames::kDepthLimitBox);
    QLabel* depthCaption = NamedLabel(objectnames::kDepthCaption, "Depth:", level);
    depthSlider_ = NamedSlider(objectnames::kDepthSlider, DepthSliderRange(), 1, level);
    QLabel* depthFirst = NamedLabel(objectnames::kDepthFirstLabel, "1", level);
    QLabel* depthMiddle = NamedLabel(objectnames::kDepthMiddleLabel, "10", level);
    QLabel* depthLast = NamedLabel(objectnames::kDepthLastLabel, "20", level);
    timeLimitBox_ = new QCheckBox(level);
    timeLimitBox_->setObjectName(objectnames::kTimeLimitBox);
    QLabel* timeCaption = NamedLabel(objectnames::kTimeCaption, "Time:", level);
    timeSlider_ = NamedSlider(objectnames::kTimeSlider, TimeSliderRange(), 5, level);
    QLabel* timeFirst = NamedLabel(objectnames::kTimeFirstLabel, "1", level);
    QLabel* timeMiddle = NamedLabel(objectnames::kTimeMiddleLabel, "90", level);
    QLabel* timeLast = NamedLabel(objectnames::kTimeLastLabel, "180", level);
    ll->addWidget(depthLimitBox_, 0, 0);
    ll->addWidget(depthCaption, 0, 1);
    ll->addWidget(depthSlider_, 0, 2, 1, 3);
    ll->addWidget(depthFirst, 1, 2, Qt::AlignLeft);
    ll->addWidget(depthMiddle, 1, 3, Qt::AlignCenter);
    ll->addWidget(depthLast, 1, 4, Qt::AlignRight);
    ll->addWidget(timeLimitBox_, 2, 0);
    ll->addWidget(timeCaption, 2, 1);
    ll->addWidget(timeSlider_, 2, 2, 1, 3);
    ll->addWidget(timeFirst, 3, 2, Qt::AlignLeft);
    ll->addWidget(timeMiddle, 3, 3, Qt::AlignCenter);
    ll->addWidget(timeLast, 3, 4, Qt::AlignRight);
    depthControls_ = {depthSlider_, depthCaption, depthFirst, depthMiddle, depthLast};
    timeControls_ = {timeSlider_, timeCaption, timeFirst, timeMiddle, timeLast};
  }

  // Board: skin and notation.
  {
    QGroupBox* skin = group(" Skin ", pages[1]);
    auto* sl = new QHBoxLayout(skin);
    sl->addWidget(NamedLabel(objectnames::kSkinCaption, "Choose a skin:", skin));
    skinBox_ = new QComboBox(skin);
    skinBox_->setObjectName(objectnames::kSkinBox);
    sl->addWidget(skinBox_, 1);

    QGroupBox* misc = group(" Misc ", pages[1]);
    auto* ml = new QGridLayout(misc);
    ml->addWidget(NamedLabel(objectnames::kCaptureCharCaption, "Capture character:", misc), 0, 0);
    auto* captureGroup = new QButtonGroup(misc);
    for (int i = 0; i < 2; ++i) {
      captureCharButtons_[i] = new QRadioButton(i == 0 ? "X" : ":", misc);
      captureCharButtons_[i]->setObjectName(QString::fromLatin1(objectnames::kCaptureCharButton).arg(i));
      captureGroup->addButton(captureCharButtons_[i]);
      ml->addWidget(captureCharButtons_[i], 0, 1 + i);
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
    QLabel* pliesCaption = NamedLabel(objectnames::kPliesCaption, "Plys (default=3) :", search);
    QLabel* balanceCaption = NamedLabel(objectnames::kBalanceCaption, "Balance (default=150) :", search);
    pliesBox_ = new QLineEdit(search);
    pliesBox_->setObjectName(objectnames::kPliesBox);
    balanceBox_ = new QLineEdit(search);
    balanceBox_->setObjectName(objectnames::kBalanceBox);
    plyValueDepthBox_ = new QLineEdit(search);
    plyValueDepthBox_->setObjectName(objectnames::kPlyValueDepthBox);
    sl->addWidget(pliesCaption, 2, 0);
    sl->addWidget(pliesBox_, 2, 1);
    sl->addWidget(balanceCaption, 3, 0);
    sl->addWidget(balanceBox_, 3, 1);
    sl->addWidget(NamedLabel(objectnames::kPlyValueDepthCaption, "Ply Value Table Search :", search), 4, 0);
    sl->addWidget(plyValueDepthBox_, 4, 1);
    extendedControls_ = {pliesCaption, pliesBox_, balanceCaption, balanceBox_};

    QGroupBox* draw = group(" Draw ", pages[2]);
    auto* dl = new QGridLayout(draw);
    dl->addWidget(box(&Options::ChessDrawRules), 0, 0, 1, kFiftyButtons + 1);
    QLabel* fiftyCaption = NamedLabel(objectnames::kFiftyCaption, "Number of moves in 50 move rule:", draw);
    dl->addWidget(fiftyCaption, 1, 0);
    auto* fiftyGroup = new QButtonGroup(draw);
    fiftyControls_ = {fiftyCaption};
    for (int i = 0; i < kFiftyButtons; ++i) {
      fifty_[i] = new QRadioButton(kFiftyButtonTable[i].caption, draw);
      fifty_[i]->setObjectName(FiftyButtonName(kFiftyButtonTable[i].choice));
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
    resetRatingButton_ = new QPushButton("Reset", misc);
    resetRatingButton_->setObjectName(objectnames::kResetRatingButton);
    ml->addWidget(resetRatingButton_, 4, 1);
    ml->addWidget(NamedLabel(objectnames::kUserNameCaption, "Your Name:", misc), 5, 0);
    userNameBox_ = new QLineEdit(misc);
    userNameBox_->setObjectName(objectnames::kUserNameBox);
    ml->addWidget(userNameBox_, 5, 1);
    ml->addWidget(box(&Options::ConfirmExit), 6, 0, 1, 2);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  const auto [ok, cancel, apply] = AddDialogButtons(buttons, this,
                                                    {{objectnames::kOptionsOk, "OK", true},
                                                     {objectnames::kOptionsCancel, "Cancel"},
                                                     {objectnames::kOptionsApply, "Apply"}});
  auto* top = new QVBoxLayout(this);
  top->addWidget(tabs_);
  top->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, [this] { applyAndClose(); });
  connect(cancel, &QPushButton::clicked, this, [this] { closeWithoutApplying(); });
  connect(apply, &QPushButton::clicked, this, [this] { applyOptions(); });
  connect(resetRatingButton_, &QPushButton::clicked, this, [this] { onResetRatingClicked(); });
  connect(depthLimitBox_, &QCheckBox::toggled, this, [this] { onDepthLimitToggled(); });
  connect(timeLimitBox_, &QCheckBox::toggled, this, [this] { onTimeLimitToggled(); });
  for (auto o : {&Options::ChessDrawRules, &Options::ExtendedSearch, &Options::UseBook, &Options::ChooseOpening})
    connect(box(o), &QCheckBox::toggled, this, [this] { updateDependents(); });
  connect(skinBox_, &QComboBox::activated, this, [this](int i) {
    // A chosen skin: its name is taken at once; ShowOptions applies it.
    if (i >= 0) g_.Opt.SkinName = skinBox_->itemText(i).toStdString();
  });
  // Ctrl+Tab goes to the next page (after the last, the first);
  // Ctrl+Shift+Tab does nothing.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [this] { turnPageOnKey(Qt::Key_Tab, Qt::ControlModifier); });
  for (QKeySequence k : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)})
    new QShortcut(k, this);
}

void FrmOptions::turnPageOnKey(int key, Qt::KeyboardModifiers shift) {
  if (key != Qt::Key_Tab || shift != Qt::ControlModifier) return;
  tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

void FrmOptions::setDepthControls(bool on) { SetEnabled(depthControls_, on); }
void FrmOptions::setTimeControls(bool on) { SetEnabled(timeControls_, on); }

// The depth and the time boxes exclude each other and one of them is
// always ticked: ticking one clears the other and enables its own controls;
// clearing the ticked one ticks it again.
void FrmOptions::pickSearchLimit(bool depth) {
  QCheckBox* mine = depth ? depthLimitBox_ : timeLimitBox_;
  QCheckBox* other = depth ? timeLimitBox_ : depthLimitBox_;
  if (mine->isChecked()) {
    other->setChecked(false);
    setDepthControls(depth);
    setTimeControls(!depth);
  } else if (!other->isChecked()) {
    mine->setChecked(true);
  }
}

void FrmOptions::onDepthLimitToggled() { pickSearchLimit(true); }
void FrmOptions::onTimeLimitToggled() { pickSearchLimit(false); }

void FrmOptions::updateDependents() {
  SetEnabled(fiftyControls_, box(&Options::ChessDrawRules)->isChecked());
  SetEnabled(extendedControls_, box(&Options::ExtendedSearch)->isChecked());
  box(&Options::AmericanBookForAll)->setEnabled(box(&Options::UseBook)->isChecked());
  box(&Options::BookRandom)->setEnabled(box(&Options::ChooseOpening)->isChecked());
}

void FrmOptions::fillFromOptions() {
  const OptionsForm f = FillOptionsForm(g_);
  strengthSlider_->setValue(f.StrengthPosition);
  // The ticked one of the pair first, so that the other is never left alone.
  if (f.DepthTicked) {
    depthLimitBox_->setChecked(true);
    timeLimitBox_->setChecked(false);
  } else {
    timeLimitBox_->setChecked(true);
    depthLimitBox_->setChecked(false);
  }
  setDepthControls(depthLimitBox_->isChecked());
  setTimeControls(timeLimitBox_->isChecked());
  depthSlider_->setValue(f.DepthPosition);
  timeSlider_->setValue(f.TimePosition);
  captureCharButtons_[f.ColonCapture ? 1 : 0]->setChecked(true);
  for (int i = 0; i < kOptionBoxes; ++i) boxes_[i]->setChecked(f.Boxes[i]);
  pliesBox_->setText(Q(f.PliesText));
  balanceBox_->setText(Q(f.BalanceText));
  plyValueDepthBox_->setText(Q(f.PlyValueDepthText));
  for (int i = 0; i < kFiftyButtons; ++i) {
    // A value without a button leaves every button clear.
    fifty_[i]->setAutoExclusive(false);
    fifty_[i]->setChecked(kFiftyButtonTable[i].choice == f.FiftyChoice);
    fifty_[i]->setAutoExclusive(true);
  }
  box(&Options::UseRating)->setText(Q(RatingBoxCaption(f.UseRatingValue)));
  userNameBox_->setText(Q(f.UserNameText));
  updateDependents();
  const QSignalBlocker block(skinBox_);
  skinBox_->clear();
  for (const std::string& s : f.Skins) skinBox_->addItem(Q(s));
  skinBox_->setCurrentIndex(f.SkinIndex);
  tabs_->setCurrentIndex(0);
}

OptionsForm FrmOptions::form() const {
  OptionsForm f = FillOptionsForm(g_);
  f.StrengthPosition = strengthSlider_->value();
  f.DepthTicked = depthLimitBox_->isChecked();
  f.TimeTicked = timeLimitBox_->isChecked();
  f.DepthPosition = depthSlider_->value();
  f.TimePosition = timeSlider_->value();
  f.SkinIndex = skinBox_->currentIndex();
  f.ColonCapture = !captureCharButtons_[0]->isChecked();
  for (int i = 0; i < kOptionBoxes; ++i) f.Boxes[i] = boxes_[i]->isChecked();
  f.PliesText = pliesBox_->text().toStdString();
  f.BalanceText = balanceBox_->text().toStdString();
  f.PlyValueDepthText = plyValueDepthBox_->text().toStdString();
  f.FiftyChoice = -1;
  for (int i = 0; i < kFiftyButtons; ++i)
    if (fifty_[i]->isChecked()) f.FiftyChoice = kFiftyButtonTable[i].choice;
  f.UserNameText = userNameBox_->text().toStdString();
  return f;
}

void FrmOptions::applyOptions() {
  if (ApplyOptionsForm(g_, form()) && clearDrawing_) clearDrawing_();
}

void FrmOptions::applyAndClose() {
  applyOptions();
  accept();
}

void FrmOptions::closeWithoutApplying() { reject(); }

void FrmOptions::onResetRatingClicked() {
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
