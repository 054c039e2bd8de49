// The board: one widget painting the 64 square pictures, and the surface of
// the main window's client area with its text printed at twip positions, its
// frame and its panel outlines.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

#include "app/mainwindow/artwork.h"

namespace m8 {

// Square k (0..63) is screen row k / 8 from the top and column k % 8 from the
// left. Each square shows one reference picture, by index, and may carry a
// printed text (the square numbers) and an unfilled frame.
class BoardView : public QWidget {
  Q_OBJECT
 public:
  BoardView(const ReferencePictures& pictures, QWidget* parent);

  // Square rectangles in pixels, relative to the client area; the widget
  // covers their union.
  void setSquareRects(const std::array<QRect, 64>& rects);
  const QRect& squareRect(int k) const { return rects_[k]; }

  // Assigning a picture removes the printed text and the frame of the square.
  void setPicture(int k, int pictureIndex);
  int picture(int k) const { return picture_[k]; }
  void printOnSquare(int k, QPoint offsetPixels, const QString& text, const QColor& colour);
  void frameSquare(int k, QRect framePixels, const QColor& colour);

  // The texts printed on a square since its picture was last assigned.
  QStringList textsOn(int k) const;
  // The colours of the frames drawn on a square since then.
  QList<QColor> framesOn(int k) const;

  // The square under a point of the widget, -1 when none.
  int squareAt(QPoint widgetPos) const;

 signals:
  void squarePressed(int square, Qt::MouseButton button, QPoint clientPos);
  void squareMoved(int square, Qt::MouseButtons buttons, QPoint clientPos);
  // stillHeld: the buttons held after this release.
  void squareReleased(int square, Qt::MouseButton button, Qt::MouseButtons stillHeld, QPoint clientPos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  struct Printed {
    QPoint offset;
    QString text;
    QColor colour;
  };
  struct Frame {
    QRect rect;
    QColor colour;
  };
  QRect local(int k) const;
  QPoint toClient(QPoint widgetPos) const { return widgetPos + pos(); }

  const ReferencePictures& pictures_;
  std::array<QRect, 64> rects_{};
  std::array<int, 64> picture_{};
  std::array<std::vector<Printed>, 64> printed_{};
  std::array<std::vector<Frame>, 64> frames_{};
};

// The client area below the menu bar. It keeps what the program prints on it
// (text at a twip position, rectangles) until clearDrawing(), and draws the
// panel outlines Shape1, Shape2 and the lines Line1..Line3.
class FormSurface : public QWidget {
  Q_OBJECT
 public:
  explicit FormSurface(QWidget* parent);

  void setTwipsPerPixel(int tpp) { tpp_ = tpp; }
  void printText(int xTwips, int yTwips, const QString& text);
  void drawRectangle(int x1Twips, int y1Twips, int x2Twips, int y2Twips, const QColor& colour);
  void clearDrawing();

  // Outlines, in twips.
  void setEngineOutputFrame(QRect twips) { engineOutputFrame_ = twips; update(); }
  void setSidePanelFrame(QRect twips) { sidePanelFrame_ = twips; update(); }
  void setHeadDividerX(int x) { headDividerX_ = x; update(); }
  void setHeadRuleX(int x1, int x2) { headRuleX1_ = x1; headRuleX2_ = x2; update(); }
  QRect engineOutputFrame() const { return engineOutputFrame_; }
  QRect sidePanelFrame() const { return sidePanelFrame_; }

  // What is printed now (tests and the diagram read it).
  struct PrintedText {
    int x, y;
    QString text;
  };
  const std::vector<PrintedText>& printedTexts() const { return texts_; }

 signals:
  void mouseMovedOutsideControls();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;

 private:
  int px(int twips) const;
  struct Rect {
    int x1, y1, x2, y2;
    QColor colour;
  };
  int tpp_ = 15;
  std::vector<PrintedText> texts_;
  std::vector<Rect> rects_;
  QRect engineOutputFrame_{120, 5475, 5055, 855};
  QRect sidePanelFrame_{5160, 428, 5655, 4663};
  int headDividerX_ = 8040;
  int headRuleX1_ = 5160, headRuleX2_ = 10800;
};

}  // namespace m8
