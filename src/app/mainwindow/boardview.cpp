#include "app/mainwindow/boardview.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/mainwindow/layout.h"
#include "app/objectnames.h"

namespace m8 {

BoardView::BoardView(const ReferencePictures& pictures, QWidget* parent) : QWidget(parent), pictures_(pictures) {
  setObjectName(objectnames::kBoard);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(7.8);
  setFont(f);
}

void BoardView::setSquareRects(const std::array<QRect, 64>& rects) {
  rects_ = rects;
  QRect all;
  for (const QRect& r : rects_) all = all.united(r);
  setGeometry(all);
  update();
}

QRect BoardView::local(int k) const { return rects_[k].translated(-pos()); }

void BoardView::setPicture(int k, int index) {
  if (k < 0 || k >= 64) return;
  picture_[k] = index;
  printed_[k].clear();
  frames_[k].clear();
  update(local(k));
}

void BoardView::printOnSquare(int k, QPoint offset, const QString& text, const QColor& colour) {
  if (k < 0 || k >= 64) return;
  printed_[k].push_back({offset, text, colour});
  update(local(k));
}

void BoardView::frameSquare(int k, QRect frame, const QColor& colour) {
  if (k < 0 || k >= 64) return;
  frames_[k].push_back({frame, colour});
  update(local(k));
}

QStringList BoardView::textsOn(int k) const {
  QStringList out;
  if (k < 0 || k >= 64) return out;
  for (const Printed& p : printed_[k]) out << p.text;
  return out;
}

QList<QColor> BoardView::framesOn(int k) const {
  QList<QColor> out;
  if (k < 0 || k >= 64) return out;
  for (const Frame& f : frames_[k]) out << f.colour;
  return out;
}

int BoardView::squareAt(QPoint widgetPos) const {
  const QPoint p = toClient(widgetPos);
  for (int k = 0; k < 64; ++k)
    if (rects_[k].contains(p)) return k;
  return -1;
}

void BoardView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int k = 0; k < 64; ++k) {
    const QRect r = local(k);
    const QPixmap& pic = pictures_.at(picture_[k]);
    if (pic.isNull()) {
      p.fillRect(r, palette().window());
    } else {
      // A picture smaller than its square sits in its top-left corner; the
      // rest of the square keeps the square's background.
      p.fillRect(r, palette().window());
      p.drawPixmap(r.topLeft(), pic, QRect(0, 0, std::min(r.width(), pic.width()), std::min(r.height(), pic.height())));
    }
    for (const Frame& f : frames_[k]) {
      p.setPen(QPen(f.colour, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(f.rect.translated(r.topLeft()));
    }
    for (const Printed& t : printed_[k]) {
      p.setPen(t.colour);
      p.drawText(r.topLeft() + t.offset + QPoint(0, p.fontMetrics().ascent()), t.text);
    }
  }
}

void BoardView::mousePressEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  emit squarePressed(squareAt(at), e->button(), toClient(at));
}

void BoardView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  emit squareMoved(squareAt(at), e->buttons(), toClient(at));
}

void BoardView::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  emit squareReleased(squareAt(at), e->button(), e->buttons(), toClient(at));
}

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(9);
  setFont(f);
}

int FormSurface::px(int twips) const { return TwipsToPixels(twips, tpp_); }

void FormSurface::printText(int x, int y, const QString& text) {
  // Printing the same text at the same place again changes nothing on the
  // screen; it is kept once so that redraws do not pile up.
  for (const PrintedText& t : texts_)
    if (t.x == x && t.y == y && t.text == text) return;
  texts_.push_back({x, y, text});
  update();
}

void FormSurface::drawRectangle(int x1, int y1, int x2, int y2, const QColor& colour) {
  for (const Rect& r : rects_)
    if (r.x1 == x1 && r.y1 == y1 && r.x2 == x2 && r.y2 == y2 && r.colour == colour) return;
  rects_.push_back({x1, y1, x2, y2, colour});
  update();
}

void FormSurface::clearDrawing() {
  texts_.clear();
  rects_.clear();
  update();
}

void FormSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor outline(0x80, 0x80, 0x80);
  p.setPen(QPen(outline, 1));
  p.setBrush(Qt::NoBrush);
  auto box = [&](const QRect& t) { p.drawRect(QRect(px(t.left()), px(t.top()), px(t.width()), px(t.height()))); };
  box(engineOutputFrame_);
  box(sidePanelFrame_);
  p.drawLine(px(30), 0, px(8466), 0);
  p.drawLine(px(headDividerX_), px(448), px(headDividerX_), px(1200));
  p.drawLine(px(headRuleX1_), px(1200), px(headRuleX2_), px(1200));
  for (const Rect& r : rects_) {
    p.setPen(QPen(r.colour, 1));
    p.drawRect(QRect(QPoint(px(r.x1), px(r.y1)), QPoint(px(r.x2), px(r.y2))));
  }
  p.setPen(palette().windowText().color());
  const int ascent = p.fontMetrics().ascent();
  for (const PrintedText& t : texts_) p.drawText(QPoint(px(t.x), px(t.y) + ascent), t.text);
}

void FormSurface::mouseMoveEvent(QMouseEvent*) { emit mouseMovedOutsideControls(); }

}  // namespace m8
