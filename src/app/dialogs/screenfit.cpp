#include "app/dialogs/screenfit.h"

#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "app/objectnames.h"

namespace m8 {

ScrollingBody::ScrollingBody(QWidget* body, QWidget* parent) : QScrollArea(parent) {
  setObjectName(objectnames::kScrollingBody);
  setFrameShape(QFrame::NoFrame);
  // The controls keep the room they ask for (FitOnScreen gives it to them);
  // a smaller view scrolls.
  setWidgetResizable(false);
  setFocusPolicy(Qt::NoFocus);  // the controls inside keep the tab order
  setWidget(body);
}

QSize ScrollingBody::sizeHint() const {
  const QSize inner = widget() ? widget()->sizeHint() : QSize();
  const int f = 2 * frameWidth();
  return inner + QSize(f, f);
}

void FitOnScreen(QWidget* dialog) {
  for (ScrollingBody* b : dialog->findChildren<ScrollingBody*>())
    if (b->widget()) b->widget()->adjustSize();
  QScreen* s = dialog->screen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  // The frame is known once the dialog is on the screen; before, none.
  const QSize frame = dialog->frameGeometry().size() - dialog->geometry().size();
  const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
  dialog->resize(dialog->sizeHint().expandedTo(dialog->minimumSizeHint()).boundedTo(room));
  const QSize outer = dialog->size() + frame;
  dialog->move(std::max(area.left(), area.center().x() - outer.width() / 2),
               std::max(area.top(), area.center().y() - outer.height() / 2));
}

}  // namespace m8
