#include "app/dialogs/screenfit.h"

#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "app/mainwindow/mainwindow.h"
#include "app/objectnames.h"

namespace m8 {

namespace {

// Fits its dialog as it is shown, before the window system shows it, and
// once more as the showing ends, for dialogs that settle their size while
// they are shown (message boxes do).
class ShowFitter : public QObject {
 public:
  explicit ShowFitter(QWidget* dialog) : QObject(dialog) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* w = static_cast<QWidget*>(watched);
    if (e->type() == QEvent::Show && w->isWindow()) {
      FitOnScreen(w);
      shownSize_ = w->size();
    } else if (e->type() == QEvent::ShowToParent && w->isWindow() && w->size() != shownSize_) {
      FitOnScreen(w);
    }
    return false;
  }

 private:
  QSize shownSize_;
};

}  // namespace

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

QRect FreeScreenArea(const QWidget* w) {
  for (const QWidget* p = w; p; p = p->parentWidget())
    if (const auto* main = qobject_cast<const MainWindow*>(p)) {
      const QRect area = main->availableArea();
      if (area.isValid()) return area;
      break;
    }
  const QScreen* s = w->screen();
  return s ? s->availableGeometry() : QRect();
}

QRect MovedOnto(QRect r, const QRect& area) {
  r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() + 1 - r.width())));
  r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() + 1 - r.height())));
  return r;
}

void FitOnScreen(QWidget* dialog) {
  for (ScrollingBody* b : dialog->findChildren<ScrollingBody*>())
    if (b->widget()) b->widget()->adjustSize();
  const QRect area = FreeScreenArea(dialog);
  if (!area.isValid()) return;
  // The frame is known once the dialog is on the screen; before, none.
  const QSize frame = dialog->frameGeometry().size() - dialog->geometry().size();
  const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
  // A size the program gave the dialog (or the user, at an earlier showing)
  // is kept as far as the screen allows; else the size it asks for.
  const QSize wanted = dialog->testAttribute(Qt::WA_Resized) ? dialog->size() : dialog->sizeHint();
  dialog->resize(wanted.expandedTo(dialog->minimumSizeHint()).boundedTo(room));
  QRect outer(QPoint(0, 0), dialog->size() + frame);
  const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
  outer.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : area.center());
  dialog->move(MovedOnto(outer, area).topLeft());
}

void KeepOnScreen(QWidget* dialog) { dialog->installEventFilter(new ShowFitter(dialog)); }

}  // namespace m8
