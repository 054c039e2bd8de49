// Mouse input sent straight to the board view, as a user's hand would give it.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>

#include <cctype>
#include <string>
#include <string_view>

#include "app/window_fixture.h"
#include "core/game/gamesetup.h"
#include "core/rules/notation.h"

// A new game from the position `digits` (64 digits: 0 empty, 1/2 white/black
// man, 3/4 white/black king) with `side` to move, as the position editor
// leaves it, ready for the mouse.
inline void SetUpPosition(MainWindow& w, const std::string& digits, int side) {
  GameState& g = w.state();
  for (int i = 0; i < 64; ++i) {
    constexpr int kValue[5] = {0, 1, -1, 2, -2};
    g.board[10 * (2 + i / 8) + 1 + i % 8] = kValue[digits[i] - '0'];
  }
  g.P.SideToMove = side;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.Flow.PositionPreset = 0;
  g.Flow.IgnoreNextPress = 0;
  g.Flow.SkipSquareNumbers = 0;
  w.DrawBoard(0);
}

inline void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// The board cell of the square a player names: its number ("11") or its
// letters ("c3", any case), read by the program's own notation on the board
// of `g` whichever notation is in force. A name that is no square stops the
// test.
inline int CellOf(GameState& g, std::string_view name) {
  const bool letters = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0]));
  std::string text(name);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ScopedNotation reading(g, letters ? 0 : 1);
  const int cell = SquareNumber(g, text);
  if (cell == 0) qFatal("no square is named \"%s\"", text.c_str());
  return cell;
}

// The same on the window's board.
inline int Cell(MainWindow& w, std::string_view name) { return CellOf(w.state(), name); }

// The board view's square control (0..63) that shows the named square.
inline int Control(MainWindow& w, std::string_view name) { return w.SquareOfCell(Cell(w, name)); }

// The centre of the named square, in the board view's coordinates.
inline QPoint Centre(MainWindow& w, std::string_view name) {
  return w.board()->squareRect(Control(w, name)).center() - w.board()->pos();
}

// Pointer over the piece, press, two movements, release over the target.
inline void Drag(MainWindow& w, std::string_view from, std::string_view to) {
  BoardView* b = w.board();
  const QPoint p = Centre(w, from), q = Centre(w, to);
  Send(b, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
  Send(b, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseMove, (p + q) / 2, Qt::NoButton, Qt::LeftButton);
  Send(b, QEvent::MouseMove, q, Qt::NoButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, q, Qt::LeftButton, Qt::NoButton);
}
