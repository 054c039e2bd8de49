#include "app/mainwindow/commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/mainwindow/artwork.h"
#include "app/objectnames.h"

namespace m8 {

namespace {

struct ButtonDef {
  const char* key;  // nullptr: separator
  const char* text;
};
// The 27 buttons by their 1-based index.
constexpr ButtonDef kButtons[kToolbarButtons] = {
    {"New Game", "New Game"},
    {"New Variant", "New Variant"},
    {nullptr, nullptr},
    {"Open", "Open"},
    {"Save", "Save"},
    {nullptr, nullptr},
    {"Compute", "Compute"},
    {"Cancel", "Cancel Computing"},
    {nullptr, nullptr},
    {"First", "Back to First Move"},
    {"Back", "Move Back"},
    {"Forward", "Move Forward"},
    {"Last", "Forward to Last Move"},
    {nullptr, nullptr},
    {"Draw", "Offer Draw"},
    {"Resign", "Resign"},
    {"Hint", "Hint"},
    {nullptr, nullptr},
    {"ComputerPlayer", "Computer-Player"},
    {"PlayerPlayer", "Player-Player"},
    {"ComputerComputer", "Computer-Computer"},
    {nullptr, nullptr},
    {"Options", "Options"},
    {nullptr, nullptr},
    {"Analyze", "Analyze"},
    {nullptr, nullptr},
    {"TurnBoard", "Turn Board"},
};

}  // namespace

CommandSurface::CommandSurface(QMenuBar* menuBar, QToolBar* toolBar, QObject* parent)
    : QObject(parent), menuBar_(menuBar), toolBar_(toolBar), buttons_(kToolbarButtons + 1) {
  auto addMenu = [&](const QString& name, const QString& caption) {
    QMenu* m = menuBar_->addMenu(caption);
    m->setObjectName(name);
    menus_[name] = m;
    return m;
  };

  QMenu* game = addMenu(objectnames::kGameMenu, tr("&Game"));
  addEntry(game, objectnames::kNewGameEntry, "New Game", QKeySequence(Qt::CTRL | Qt::Key_N));
  addEntry(game, objectnames::kNewVariantEntry, "New Variant...");
  game->addSeparator();
  addEntry(game, objectnames::kOpenEntry, "Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
  addEntry(game, objectnames::kSaveEntry, "Save...", QKeySequence(Qt::CTRL | Qt::Key_S));
  game->addSeparator();
  addEntry(game, objectnames::kDetailsEntry, "Details...");
  game->addSeparator();
  addEntry(game, objectnames::kExitEntry, "Exit");

  QMenu* play = addMenu(objectnames::kPlayMenu, tr("&Play"));
  addEntry(play, objectnames::kComputeEntry, "Compute");
  addEntry(play, objectnames::kCancelEntry, "Cancel");
  play->addSeparator();
  addEntry(play, objectnames::kFirstEntry, "First");
  addEntry(play, objectnames::kBackEntry, "Back", QKeySequence(Qt::CTRL | Qt::Key_B));
  addEntry(play, objectnames::kForwardEntry, "Forward", QKeySequence(Qt::CTRL | Qt::Key_F));
  addEntry(play, objectnames::kLastEntry, "Last");
  play->addSeparator();
  addEntry(play, objectnames::kOfferDrawEntry, "Offer draw");
  addEntry(play, objectnames::kResignEntry, "Resign");
  addEntry(play, objectnames::kHintEntry, "Hint", QKeySequence(Qt::CTRL | Qt::Key_H));
  play->addSeparator();
  addEntry(play, objectnames::kComputerPlayerEntry, "Player-Computer")->setCheckable(true);
  addEntry(play, objectnames::kPlayerPlayerEntry, "Player-Player")->setCheckable(true);
  addEntry(play, objectnames::kComputerComputerEntry, "Computer-Computer")->setCheckable(true);
  play->addSeparator();
  addEntry(play, objectnames::kOptionsEntry, "Options...");
  addEntry(play, objectnames::kAnalyzeEntry, "Analyze");

  QMenu* board = addMenu(objectnames::kBoardMenu, tr("&Board"));
  addEntry(board, objectnames::kTurnBoardEntry, "Turn Board");
  QMenu* notation = board->addMenu(tr("Notation"));
  notation->setObjectName(objectnames::kNotationMenu);
  menus_[objectnames::kNotationMenu] = notation;
  addEntry(notation, objectnames::kNoNotationEntry, "None")->setCheckable(true);
  addEntry(notation, objectnames::kAlgebraicEntry, "Algebraic")->setCheckable(true);
  addEntry(notation, objectnames::kNumericEntry, "Numeric")->setCheckable(true);
  board->addSeparator();
  addEntry(board, objectnames::kDiagramEntry, "Create Diagram...");

  QMenu* view = addMenu(objectnames::kViewMenu, tr("&View"));
  addEntry(view, objectnames::kCalculationEntry, "Calculation")->setCheckable(true);
  addEntry(view, objectnames::kRatingEntry, "Rating...");

  QMenu* extra = addMenu(objectnames::kExtraMenu, tr("&Extra"));
  addEntry(extra, objectnames::kPlyValueEntry, "Show Ply Value Table");
  addEntry(extra, objectnames::kProblemsEntry, "Problems/Combinations...");

  QMenu* help = addMenu(objectnames::kHelpMenu, tr("&Help"));
  addEntry(help, objectnames::kQuickRulesEntry, "Quick Rules", QKeySequence(Qt::Key_F1));
  addEntry(help, objectnames::kRulesEntry, "Rules");
  help->addSeparator();
  addEntry(help, objectnames::kAboutEntry, "About");

  for (int i = 1; i <= kToolbarButtons; ++i) {
    const ButtonDef& d = kButtons[i - 1];
    if (!d.key) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* a = toolBar_->addAction(ToolbarIcon(d.key), d.text);
    a->setObjectName(QString::fromLatin1(objectnames::kToolBarButton).arg(i));
    a->setData(QString::fromLatin1(d.key));
    a->setToolTip(d.text);
    if (i >= 19 && i <= 21) a->setCheckable(true);
    buttons_[i].action = a;
    buttonIndex_[d.key] = i;
    apply(buttons_[i]);
  }
  connect(toolBar_, &QToolBar::actionTriggered, this, &CommandSurface::onToolbarTriggered);
}

QAction* CommandSurface::addEntry(QMenu* m, const QString& name, const QString& caption, const QKeySequence& keys) {
  QAction* a = m->addAction(caption);
  a->setObjectName(name);
  if (!keys.isEmpty()) a->setShortcut(keys);
  Item& it = entries_[name];
  it.action = a;
  apply(it);
  return a;
}

void CommandSurface::apply(Item& it) {
  if (it.action) it.action->setEnabled(it.wanted && it.connected);
}

QAction* CommandSurface::entry(const QString& name) const {
  auto i = entries_.find(name);
  return i == entries_.end() ? nullptr : i->second.action;
}

QMenu* CommandSurface::menu(const QString& name) const {
  auto i = menus_.find(name);
  return i == menus_.end() ? nullptr : i->second;
}

QAction* CommandSurface::button(int index) const {
  if (index < 1 || index > kToolbarButtons) return nullptr;
  return buttons_[index].action;
}

QAction* CommandSurface::buttonByKey(const QString& key) const {
  auto i = buttonIndex_.find(key);
  return i == buttonIndex_.end() ? nullptr : buttons_[i->second].action;
}

void CommandSurface::setHandler(const QString& entryName, const QString& buttonKey, std::function<void()> handler) {
  auto e = entries_.find(entryName);
  if (e != entries_.end()) {
    e->second.connected = true;
    connect(e->second.action, &QAction::triggered, this, [handler] { handler(); });
    apply(e->second);
  }
  auto b = buttonIndex_.find(buttonKey);
  if (!buttonKey.isEmpty() && b != buttonIndex_.end()) {
    buttons_[b->second].connected = true;
    buttonHandlers_[b->second] = handler;
    apply(buttons_[b->second]);
  }
}

void CommandSurface::onToolbarTriggered(QAction* a) {
  // The toolbar lets pending events through once before it acts.
  QCoreApplication::processEvents();
  auto b = buttonIndex_.find(a->data().toString());
  if (b == buttonIndex_.end()) return;
  auto h = buttonHandlers_.find(b->second);
  if (h != buttonHandlers_.end() && h->second) h->second();
}

void CommandSurface::setEntryEnabled(const QString& name, bool enabled) {
  auto e = entries_.find(name);
  if (e == entries_.end()) return;
  e->second.wanted = enabled;
  apply(e->second);
}

bool CommandSurface::entryWanted(const QString& name) const {
  auto e = entries_.find(name);
  return e != entries_.end() && e->second.wanted;
}

void CommandSurface::setButtonEnabled(int index, bool enabled) {
  if (index < 1 || index > kToolbarButtons || !buttons_[index].action) return;
  buttons_[index].wanted = enabled;
  apply(buttons_[index]);
}

void CommandSurface::setEntryChecked(const QString& name, bool checked) {
  if (QAction* a = entry(name)) a->setChecked(checked);
}

void CommandSurface::setButtonPressed(int index, bool pressed) {
  if (QAction* a = button(index)) a->setChecked(pressed);
}

QString CommandSurface::EntryOf(Command c) {
  switch (c) {
    case Command::NewGame: return objectnames::kNewGameEntry;
    case Command::NewVariant: return objectnames::kNewVariantEntry;
    case Command::Open: return objectnames::kOpenEntry;
    case Command::Save: return objectnames::kSaveEntry;
    case Command::Compute: return objectnames::kComputeEntry;
    case Command::Cancel: return objectnames::kCancelEntry;
    case Command::First: return objectnames::kFirstEntry;
    case Command::Back: return objectnames::kBackEntry;
    case Command::Forward: return objectnames::kForwardEntry;
    case Command::Last: return objectnames::kLastEntry;
    case Command::OfferDraw: return objectnames::kOfferDrawEntry;
    case Command::Resign: return objectnames::kResignEntry;
    case Command::Hint: return objectnames::kHintEntry;
    case Command::ComputerPlayer: return objectnames::kComputerPlayerEntry;
    case Command::PlayerPlayer: return objectnames::kPlayerPlayerEntry;
    case Command::ComputerComputer: return objectnames::kComputerComputerEntry;
    case Command::Options: return objectnames::kOptionsEntry;
    case Command::Analyze: return objectnames::kAnalyzeEntry;
    case Command::TurnBoard: return objectnames::kTurnBoardEntry;
    case Command::NotationCheckers: return objectnames::kNumericEntry;
    default: return {};
  }
}

int CommandSurface::ButtonOf(Command c) {
  switch (c) {
    case Command::NewGame: return 1;
    case Command::NewVariant: return 2;
    case Command::Open: return 4;
    case Command::Save: return 5;
    case Command::Compute: return 7;
    case Command::Cancel: return 8;
    case Command::First: return 10;
    case Command::Back: return 11;
    case Command::Forward: return 12;
    case Command::Last: return 13;
    case Command::OfferDraw: return 15;
    case Command::Resign: return 16;
    case Command::Hint: return 17;
    case Command::ComputerPlayer: return 19;
    case Command::PlayerPlayer: return 20;
    case Command::ComputerComputer: return 21;
    case Command::Options: return 23;
    case Command::Analyze: return 25;
    case Command::TurnBoard: return 27;
    default: return -1;
  }
}

void CommandSurface::setSurfaceLocked(bool locked) {
  for (const char* name : {objectnames::kGameMenu, objectnames::kPlayMenu, objectnames::kBoardMenu,
                           objectnames::kViewMenu, objectnames::kHelpMenu})
    if (QMenu* m = menu(name)) m->menuAction()->setEnabled(!locked);
  toolBar_->setEnabled(!locked);
}

}  // namespace m8
