// Mouse input sent straight to the board view, as a user's hand would give it.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>

#include "app/window_fixture.h"

inline void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// The centre of the square showing `cell`, in the board view's coordinates.
inline QPoint Centre(MainWindow& w, int cell) {
  return w.board()->squareRect(w.SquareOfCell(cell)).center() - w.board()->pos();
}

// Pointer over the piece, press, two movements, release over the target.
inline void Drag(MainWindow& w, int from, int to) {
  BoardView* b = w.board();
  const QPoint p = Centre(w, from), q = Centre(w, to);
  Send(b, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
  Send(b, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
  Send(b, QEvent::MouseMove, (p + q) / 2, Qt::NoButton, Qt::LeftButton);
  Send(b, QEvent::MouseMove, q, Qt::NoButton, Qt::LeftButton);
  Send(b, QEvent::MouseButtonRelease, q, Qt::LeftButton, Qt::NoButton);
}
