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

  QMenu* game = addMenu("mnuGame", tr("&Game"));
  addEntry(game, "New1", "New Game", QKeySequence(Qt::CTRL | Qt::Key_N));
  addEntry(game, "NewVariant", "New Variant...");
  game->addSeparator();
  addEntry(game, "Open1", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
  addEntry(game, "Save", "Save...", QKeySequence(Qt::CTRL | Qt::Key_S));
  game->addSeparator();
  addEntry(game, "Details", "Details...");
  game->addSeparator();
  addEntry(game, "Exit", "Exit");

  QMenu* play = addMenu("mnuPlay", tr("&Play"));
  addEntry(play, "Compute", "Compute");
  addEntry(play, "mnu_Play_Cancel", "Cancel");
  play->addSeparator();
  addEntry(play, "First", "First");
  addEntry(play, "Moveback", "Back", QKeySequence(Qt::CTRL | Qt::Key_B));
  addEntry(play, "MoveForward", "Forward", QKeySequence(Qt::CTRL | Qt::Key_F));
  addEntry(play, "Last", "Last");
  play->addSeparator();
  addEntry(play, "Offerdraw", "Offer draw");
  addEntry(play, "Resign", "Resign");
  addEntry(play, "Hint", "Hint", QKeySequence(Qt::CTRL | Qt::Key_H));
  play->addSeparator();
  addEntry(play, "Cplayer", "Player-Computer")->setCheckable(true);
  addEntry(play, "Pplayer", "Player-Player")->setCheckable(true);
  addEntry(play, "mnu_Play_Ccomputer", "Computer-Computer")->setCheckable(true);
  play->addSeparator();
  addEntry(play, "Options", "Options...");
  addEntry(play, "Analyze", "Analyze");

  QMenu* board = addMenu("mnu_Board1", tr("&Board"));
  addEntry(board, "Turn", "Turn Board");
  QMenu* notation = board->addMenu(tr("Notation"));
  notation->setObjectName("Notation1");
  menus_["Notation1"] = notation;
  addEntry(notation, "Nonotation", "None")->setCheckable(true);
  addEntry(notation, "mnu_Board_Notation_Chess", "Algebraic")->setCheckable(true);
  addEntry(notation, "mnu_Board_Notation_Checkers", "Numeric")->setCheckable(true);
  board->addSeparator();
  addEntry(board, "CreateHtml", "Create Diagram...");

  QMenu* view = addMenu("view", tr("&View"));
  addEntry(view, "calculation", "Calculation")->setCheckable(true);
  addEntry(view, "rating", "Rating...");

  QMenu* extra = addMenu("extra", tr("&Extra"));
  addEntry(extra, "plyvaluetable", "Show Ply Value Table");
  addEntry(extra, "problems", "Problems/Combinations...");

  QMenu* help = addMenu("Help", tr("&Help"));
  addEntry(help, "QuickRules", "Quick Rules", QKeySequence(Qt::Key_F1));
  addEntry(help, "Rules", "Rules");
  help->addSeparator();
  addEntry(help, "mnu_Help_About", "About");

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
    case Command::NewGame: return "New1";
    case Command::NewVariant: return "NewVariant";
    case Command::Open: return "Open1";
    case Command::Save: return "Save";
    case Command::Compute: return "Compute";
    case Command::Cancel: return "mnu_Play_Cancel";
    case Command::First: return "First";
    case Command::Back: return "Moveback";
    case Command::Forward: return "MoveForward";
    case Command::Last: return "Last";
    case Command::OfferDraw: return "Offerdraw";
    case Command::Resign: return "Resign";
    case Command::Hint: return "Hint";
    case Command::ComputerPlayer: return "Cplayer";
    case Command::PlayerPlayer: return "Pplayer";
    case Command::ComputerComputer: return "mnu_Play_Ccomputer";
    case Command::Options: return "Options";
    case Command::Analyze: return "Analyze";
    case Command::TurnBoard: return "Turn";
    case Command::NotationCheckers: return "mnu_Board_Notation_Checkers";
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
  for (const char* name : {"mnuGame", "mnuPlay", "mnu_Board1", "view", "Help"})
    if (QMenu* m = menu(name)) m->menuAction()->setEnabled(!locked);
  toolBar_->setEnabled(!locked);
}

}  // namespace m8
