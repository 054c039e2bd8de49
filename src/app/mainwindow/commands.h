// The menu bar and the toolbar of the main window. Every entry carries its
// program name (objectName) and caption; menu entries and toolbar buttons are
// separate actions so that each pair can be switched together or apart.
//
// An entry runs only when its operation is connected (setHandler). Until then
// it stays disabled whatever the game asks, so the surface never offers a
// command that does nothing.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "core/host.h"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace m8 {

constexpr int kToolbarButtons = 27;

class CommandSurface : public QObject {
  Q_OBJECT
 public:
  CommandSurface(QMenuBar* menuBar, QToolBar* toolBar, QObject* parent);

  // Menu entries and top-level menus by object name (objectnames.h).
  QAction* entry(const QString& name) const;
  QMenu* menu(const QString& name) const;
  // Toolbar buttons by 1-based index (nullptr for a separator) and key text.
  QAction* button(int index) const;
  QAction* buttonByKey(const QString& key) const;
  QToolBar* toolBar() const { return toolBar_; }

  // Connects an operation to a menu entry and to the toolbar button with the
  // given key ("" for none). The two then run the same handler.
  void setHandler(const QString& entryName, const QString& buttonKey, std::function<void()> handler);

  // Enabled state as the game wants it; applied only when connected.
  void setEntryEnabled(const QString& entryName, bool enabled);
  void setButtonEnabled(int index, bool enabled);
  bool entryWanted(const QString& entryName) const;
  void setEntryChecked(const QString& entryName, bool checked);
  void setButtonPressed(int index, bool pressed);

  // The menu entry and toolbar button of a Host command (-1 / "" when none).
  static QString EntryOf(Command c);
  static int ButtonOf(Command c);

  // DisableMenusWhileThinking / EnableMenusAfterThinking: the Game, Play,
  // Board, View and Help menus and the whole toolbar.
  void setSurfaceLocked(bool locked);

 private:
  struct Item {
    QAction* action = nullptr;
    bool wanted = true;     // the state the game asked for
    bool connected = false; // an operation is attached
  };
  void apply(Item& it);
  QAction* addEntry(QMenu* m, const QString& name, const QString& caption, const QKeySequence& keys = {});
  void onToolbarTriggered(QAction* a);

  QMenuBar* menuBar_;
  QToolBar* toolBar_;
  std::map<QString, Item> entries_;
  std::map<QString, QMenu*> menus_;
  std::vector<Item> buttons_;              // index 1..27
  std::map<QString, int> buttonIndex_;     // key text -> index
  std::map<int, std::function<void()>> buttonHandlers_;
};

}  // namespace m8
