// What the dialog tests share: answering a modal dialog once it is open, and
// pointer events sent straight to a widget.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/wait_fixture.h"

namespace dialogs_test {

// Runs `act` on the modal dialog of type D as soon as it is open, while the
// returned poll lives (keep it for as long as the dialog may come). When none
// opens within the wait every open dialog is rejected, so that the test
// fails instead of hanging.
template <typename D>
[[nodiscard]] std::unique_ptr<wait_test::Poll> WhenModal(std::function<void(D*)> act) {
  return std::make_unique<wait_test::Poll>(
      [act] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) return false;
        act(d);
        return true;
      },
      [] {
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
