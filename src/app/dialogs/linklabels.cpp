#include "app/dialogs/linklabels.h"

#include <QDesktopServices>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace m8 {

LinkOpener DesktopLinkOpener() {
  return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void SetLinkLook(QLabel* label, bool isLink) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, isLink ? QColor(0x00, 0x00, 0xC0) : QColor(Qt::black));
  label->setPalette(p);
  label->setCursor(isLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SetUnderline(QLabel* label, bool on) {
  QFont f = label->font();
  f.setUnderline(on);
  label->setFont(f);
}

void MouseHooks::onMove(QWidget* w, std::function<void()> handler) {
  w->setMouseTracking(true);
  w->installEventFilter(this);
  moves_[w] = std::move(handler);
}

void MouseHooks::onClick(QWidget* w, std::function<void()> handler) {
  w->setFocusPolicy(Qt::StrongFocus);
  w->installEventFilter(this);
  clicks_[w] = std::move(handler);
}

bool MouseHooks::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto it = moves_.find(watched);
    if (it != moves_.end()) {
      it->second();
      return true;  // the widgets below do not see it
    }
  } else if (event->type() == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    auto it = clicks_.find(watched);
    if (it != clicks_.end()) it->second();
  } else if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto it = clicks_.find(watched);
    if (it != clicks_.end() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
      it->second();
      return true;
    }
  }
  return false;
}

}  // namespace m8
