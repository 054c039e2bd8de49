// What the dialog tests share: answering a modal dialog once it is open, and
// pointer events sent straight to a widget.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace dialogs_test {

// Runs `act` on the modal dialog of type D as soon as it is open. When none
// opens within two seconds every open dialog is rejected, so that the test
// fails instead of hanging.
template <typename D>
void WhenModal(std::function<void(D*)> act, int tries = 200) {
  QTimer::singleShot(10, [act, tries] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
      act(d);
      return;
    }
    if (tries > 0) {
      WhenModal<D>(act, tries - 1);
      return;
    }
    qWarning("no modal dialog of the expected kind opened");
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dlg = qobject_cast<QDialog*>(w); dlg && dlg->isVisible()) dlg->reject();
  });
}

inline void PointerMove(QWidget* w) {
  QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void LeftClick(QWidget* w) {
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(t, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                  t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
}

inline bool Underlined(const QWidget* w) { return w->font().underline(); }

}  // namespace dialogs_test
