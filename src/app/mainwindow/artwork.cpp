#include "app/mainwindow/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace m8 {

namespace {

// Board colours: a calm walnut and maple.
const QColor kDarkSquare(0x6e, 0x4b, 0x2e);
const QColor kLightSquare(0xe8, 0xd5, 0xae);

struct Palette {
  QColor face, faceLight, edge, groove;
};
const Palette kWhitePiece{QColor(0xf3, 0xec, 0xdc), QColor(0xff, 0xfc, 0xf4), QColor(0xb9, 0xa9, 0x8a),
                          QColor(0xcf, 0xc1, 0xa3)};
const Palette kBlackPiece{QColor(0x2a, 0x27, 0x25), QColor(0x55, 0x50, 0x4b), QColor(0x0e, 0x0d, 0x0c),
                          QColor(0x16, 0x14, 0x13)};

bool IsWhite(SquareContent c) { return c == SquareContent::WhiteMan || c == SquareContent::WhiteKing; }
bool IsKing(SquareContent c) { return c == SquareContent::WhiteKing || c == SquareContent::BlackKing; }

// A small deterministic noise source for the wood grain.
uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

void PaintWood(QPainter& p, const QRectF& r, const QColor& base, uint32_t seed, double strength) {
  p.fillRect(r, base);
  const int lines = std::max(4, static_cast<int>(r.width() / 3));
  for (int i = 0; i < lines; ++i) {
    uint32_t h = Hash(seed * 7919U + static_cast<uint32_t>(i));
    double x = r.left() + r.width() * (h % 1000) / 1000.0;
    double shade = ((h >> 10) % 100) / 100.0;
    QColor c = shade < 0.5 ? base.darker(100 + static_cast<int>(strength * 12))
                           : base.lighter(100 + static_cast<int>(strength * 8));
    c.setAlpha(70);
    QPen pen(c, 0.6 + ((h >> 17) % 10) / 10.0);
    p.setPen(pen);
    QPainterPath path;
    path.moveTo(x, r.top());
    double wobble = r.width() * 0.03 * (((h >> 21) % 7) - 3) / 3.0;
    path.cubicTo(x + wobble, r.top() + r.height() * 0.33, x - wobble, r.top() + r.height() * 0.66, x + wobble * 0.5,
                 r.bottom());
    p.drawPath(path);
  }
}

void PaintCrown(QPainter& p, const QPointF& c, double w, bool onWhite) {
  const double h = w * 0.62;
  const double left = c.x() - w / 2, right = c.x() + w / 2;
  const double base = c.y() + h * 0.45, top = c.y() - h * 0.55;
  QPolygonF crown;
  crown << QPointF(left, base) << QPointF(left, top + h * 0.25) << QPointF(left + w * 0.25, c.y() - h * 0.05)
        << QPointF(c.x(), top) << QPointF(right - w * 0.25, c.y() - h * 0.05) << QPointF(right, top + h * 0.25)
        << QPointF(right, base);
  QLinearGradient g(c.x(), top, c.x(), base);
  g.setColorAt(0, QColor(0xff, 0xe0, 0x6a));
  g.setColorAt(1, QColor(0xd0, 0x90, 0x10));
  p.setBrush(g);
  p.setPen(QPen(onWhite ? QColor(0x7a, 0x52, 0x08) : QColor(0x3a, 0x26, 0x00), std::max(1.0, w / 14)));
  p.drawPolygon(crown);
  // Jewels on the three points.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc0, 0x20, 0x20));
  const double jr = std::max(1.0, w * 0.07);
  p.drawEllipse(QPointF(c.x(), top + jr * 0.6), jr, jr);
  p.drawEllipse(QPointF(left + jr * 0.3, top + h * 0.25 + jr * 0.3), jr * 0.8, jr * 0.8);
  p.drawEllipse(QPointF(right - jr * 0.3, top + h * 0.25 + jr * 0.3), jr * 0.8, jr * 0.8);
}

// Paints a piece centred in a square of `size` pixels.
void PaintPiece(QPainter& p, double size, SquareContent content) {
  if (content == SquareContent::Empty) return;
  const Palette& pal = IsWhite(content) ? kWhitePiece : kBlackPiece;
  const double cx = size / 2, r = size * 0.40, thick = size * 0.07;
  const double cy = size / 2 - thick / 2;
  p.setRenderHint(QPainter::Antialiasing, true);
  // Shadow.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawEllipse(QPointF(cx + size * 0.03, cy + thick + size * 0.03), r, r * 0.96);
  // Edge (the thickness of the piece).
  p.setBrush(pal.edge);
  p.drawEllipse(QPointF(cx, cy + thick), r, r);
  p.drawRect(QRectF(cx - r, cy, 2 * r, thick));
  // Face.
  QRadialGradient face(QPointF(cx - r * 0.35, cy - r * 0.4), r * 1.5);
  face.setColorAt(0, pal.faceLight);
  face.setColorAt(1, pal.face);
  p.setBrush(face);
  p.setPen(QPen(pal.edge, std::max(0.8, size / 60)));
  p.drawEllipse(QPointF(cx, cy), r, r);
  // Grooves.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(pal.groove, std::max(0.8, size / 48)));
  p.drawEllipse(QPointF(cx, cy), r * 0.74, r * 0.74);
  if (!IsKing(content)) p.drawEllipse(QPointF(cx, cy), r * 0.42, r * 0.42);
  if (IsKing(content)) PaintCrown(p, QPointF(cx, cy + r * 0.02), r * 1.05, IsWhite(content));
}

}  // namespace

PieceStyle StyleFromSizeCode(int code) {
  switch (code) {
    case 0: return PieceStyle::Small;
    case 1:
    case 3: return PieceStyle::Big;
    case 2: return PieceStyle::Medium;
    case 4: return PieceStyle::Custom;
    default: return PieceStyle::None;
  }
}

namespace {
// Per style: dark empty, light empty, then dark/light of black man, white man,
// black king, white king.
struct StyleIndexes {
  int emptyDark, emptyLight, bmDark, bmLight, wmDark, wmLight, bkDark, bkLight, wkDark, wkLight;
  int icoWm, icoBm, icoWk, icoBk;
};
constexpr StyleIndexes kSmall{1, 2, 5, 14, 6, 15, 3, 12, 4, 13, 7, 8, 9, 10};
constexpr StyleIndexes kMedium{31, 32, 35, 44, 36, 45, 33, 42, 34, 43, 37, 38, 39, 40};
constexpr StyleIndexes kBig{16, 17, 20, 29, 21, 30, 18, 27, 19, 28, 22, 23, 24, 25};
constexpr StyleIndexes kCustom{46, 47, 50, 59, 51, 60, 48, 57, 49, 58, 52, 53, 54, 55};

const StyleIndexes* IndexesOf(PieceStyle s) {
  switch (s) {
    case PieceStyle::Small: return &kSmall;
    case PieceStyle::Medium: return &kMedium;
    case PieceStyle::Big: return &kBig;
    case PieceStyle::Custom: return &kCustom;
    default: return nullptr;
  }
}
}  // namespace

int PictureIndex(PieceStyle style, SquareContent content, bool dark) {
  const StyleIndexes* s = IndexesOf(style);
  if (!s) return 0;
  switch (content) {
    case SquareContent::Empty: return dark ? s->emptyDark : s->emptyLight;
    case SquareContent::BlackMan: return dark ? s->bmDark : s->bmLight;
    case SquareContent::WhiteMan: return dark ? s->wmDark : s->wmLight;
    case SquareContent::BlackKing: return dark ? s->bkDark : s->bkLight;
    case SquareContent::WhiteKing: return dark ? s->wkDark : s->wkLight;
  }
  return 0;
}

int IconIndex(PieceStyle style, SquareContent content) {
  const StyleIndexes* s = IndexesOf(style);
  if (!s) return 0;
  switch (content) {
    case SquareContent::WhiteMan: return s->icoWm;
    case SquareContent::BlackMan: return s->icoBm;
    case SquareContent::WhiteKing: return s->icoWk;
    case SquareContent::BlackKing: return s->icoBk;
    default: return 0;
  }
}

int BuiltinTwin(int customIndex, PieceStyle style) {
  const StyleIndexes* s = IndexesOf(style);
  if (!s || style == PieceStyle::Custom) return 0;
  auto all = [](const StyleIndexes& x) {
    return std::array<int, 14>{x.emptyDark, x.emptyLight, x.bmDark, x.bmLight, x.wmDark, x.wmLight, x.bkDark,
                               x.bkLight,   x.wkDark,     x.wkLight, x.icoWm, x.icoBm, x.icoWk,  x.icoBk};
  };
  const auto custom = all(kCustom), builtin = all(*s);
  for (size_t i = 0; i < custom.size(); ++i)
    if (custom[i] == customIndex) return builtin[i];
  return 0;
}

bool IsEmptySquarePicture(int index) {
  for (const StyleIndexes* s : {&kSmall, &kMedium, &kBig, &kCustom})
    if (index == s->emptyDark || index == s->emptyLight) return true;
  return false;
}

QPixmap PaintSquare(int size, bool dark, SquareContent content) {
  QImage img(size, size, QImage::Format_RGB32);
  QPainter p(&img);
  PaintWood(p, QRectF(0, 0, size, size), dark ? kDarkSquare : kLightSquare, dark ? 3U : 11U, dark ? 1.0 : 0.5);
  PaintPiece(p, size, content);
  p.end();
  return QPixmap::fromImage(img);
}

QPixmap PaintPieceIcon(int size, SquareContent content) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  PaintPiece(p, size, content);
  p.end();
  return QPixmap::fromImage(img);
}

QCursor PieceCursor(const QPixmap& icon) {
  if (icon.isNull()) return QCursor(Qt::ClosedHandCursor);
  return QCursor(icon, icon.width() / 2, icon.height() / 2);
}

QPixmap PaintDraughtsman() {
  QImage img(80, 82, QImage::Format_RGB32);
  img.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF c(40, 37);
  const double r = 34;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawEllipse(c + QPointF(2, 8), r, r * 0.97);
  p.setBrush(QColor(0xb0, 0x80, 0x4a));
  p.drawEllipse(c + QPointF(0, 6), r, r);
  p.drawRect(QRectF(c.x() - r, c.y(), 2 * r, 6));
  QRadialGradient face(c + QPointF(-10, -12), r * 1.6);
  face.setColorAt(0, QColor(0xf6, 0xdd, 0xae));
  face.setColorAt(1, QColor(0xd4, 0xa4, 0x66));
  p.setBrush(face);
  p.setPen(QPen(QColor(0x9a, 0x6a, 0x38), 1.2));
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
  for (double k : {0.86, 0.66, 0.46, 0.24}) {
    p.setPen(QPen(QColor(0xa8, 0x74, 0x3e), k > 0.5 ? 1.6 : 1.1));
    p.drawEllipse(c, r * k, r * k);
  }
  p.end();
  return QPixmap::fromImage(img);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int s : {16, 32, 48, 64}) icon.addPixmap(PaintSquare(s, true, SquareContent::WhiteKing));
  return icon;
}

namespace {

void Arrow(QPainter& p, double x, double dir, double s) {
  // A solid triangle pointing left (dir -1) or right (+1) with its tip at x.
  QPolygonF t;
  t << QPointF(x, s / 2) << QPointF(x - dir * s * 0.34, s * 0.22) << QPointF(x - dir * s * 0.34, s * 0.78);
  p.drawPolygon(t);
}

void PaintMonitor(QPainter& p, const QRectF& r) {
  p.setBrush(QColor(0x9c, 0xc8, 0xf0));
  p.setPen(QPen(QColor(0x30, 0x40, 0x58), 1.4));
  p.drawRoundedRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.7), 1.5, 1.5);
  p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.7), QPointF(r.center().x(), r.bottom() - 1));
  p.drawLine(QPointF(r.left() + r.width() * 0.25, r.bottom() - 0.5), QPointF(r.right() - r.width() * 0.25, r.bottom() - 0.5));
}

void PaintPerson(QPainter& p, const QRectF& r, const QColor& c) {
  p.setBrush(c);
  p.setPen(QPen(c.darker(160), 1.0));
  p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.28), r.width() * 0.22, r.width() * 0.22);
  p.drawChord(QRectF(r.left() + r.width() * 0.1, r.top() + r.height() * 0.52, r.width() * 0.8, r.height() * 0.9), 0,
              180 * 16);
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  const int s = 24;
  QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor ink(0x2b, 0x3a, 0x55);
  const QColor green(0x2e, 0x8b, 0x3a), red(0xc0, 0x2a, 0x2a), gold(0xd8, 0xa0, 0x20);
  p.setPen(QPen(ink, 1.4));
  if (key == "New Game" || key == "New Variant") {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        p.fillRect(QRectF(2 + c * 4.5, 4 + r * 4.5, 4.5, 4.5), (r + c) % 2 ? kDarkSquare : kLightSquare);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 4, 18, 18));
    if (key == "New Variant") {
      p.setBrush(gold);
      p.setPen(QPen(QColor(0x80, 0x50, 0x00), 1));
      p.drawEllipse(QPointF(18, 6), 5, 5);
      p.setPen(QPen(Qt::white, 1.6));
      p.drawLine(QPointF(18, 3.5), QPointF(18, 8.5));
      p.drawLine(QPointF(15.5, 6), QPointF(20.5, 6));
    }
  } else if (key == "Open") {
    p.setBrush(QColor(0xf0, 0xc8, 0x5a));
    p.setPen(QPen(QColor(0x8a, 0x66, 0x10), 1.2));
    QPolygonF f;
    f << QPointF(2, 6) << QPointF(9, 6) << QPointF(11, 8) << QPointF(21, 8) << QPointF(21, 20) << QPointF(2, 20);
    p.drawPolygon(f);
    p.setBrush(QColor(0xfa, 0xdc, 0x80));
    QPolygonF front;
    front << QPointF(2, 20) << QPointF(5, 11) << QPointF(23, 11) << QPointF(21, 20);
    p.drawPolygon(front);
  } else if (key == "Save") {
    p.setBrush(QColor(0x3d, 0x6c, 0xb0));
    p.setPen(QPen(QColor(0x1c, 0x33, 0x5a), 1.2));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 12, 7));
    p.setBrush(QColor(0xd0, 0xd8, 0xe4));
    p.drawRect(QRectF(7, 14, 10, 7));
  } else if (key == "Compute") {
    PaintMonitor(p, QRectF(3, 3, 18, 18));
    p.setPen(QPen(green, 2));
    p.drawLine(QPointF(8, 10), QPointF(11, 13));
    p.drawLine(QPointF(11, 13), QPointF(16, 6));
  } else if (key == "Cancel") {
    p.setBrush(red);
    p.setPen(QPen(red.darker(150), 1.2));
    QPolygonF oct;
    for (int i = 0; i < 8; ++i) {
      double a = (22.5 + 45 * i) * M_PI / 180;
      oct << QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a));
    }
    p.drawPolygon(oct);
    p.setPen(QPen(Qt::white, 2.4));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
  } else if (key == "First" || key == "Back" || key == "Forward" || key == "Last") {
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    if (key == "First") {
      p.fillRect(QRectF(4, 5, 2.5, 14), ink);
      Arrow(p, 7, -1, s);
      Arrow(p, 14, -1, s);
    } else if (key == "Back") {
      Arrow(p, 8, -1, s);
    } else if (key == "Forward") {
      Arrow(p, 16, 1, s);
    } else {
      p.fillRect(QRectF(17.5, 5, 2.5, 14), ink);
      Arrow(p, 17, 1, s);
      Arrow(p, 10, 1, s);
    }
  } else if (key == "Draw") {
    QFont f = p.font();
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QString::fromUtf8("\xC2\xBD"));
  } else if (key == "Resign") {
    p.setPen(QPen(QColor(0x60, 0x48, 0x30), 2));
    p.drawLine(QPointF(6, 3), QPointF(6, 22));
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    QPainterPath flag;
    flag.moveTo(7, 4);
    flag.cubicTo(11, 2, 14, 7, 20, 4);
    flag.lineTo(20, 12);
    flag.cubicTo(14, 15, 11, 10, 7, 12);
    flag.closeSubpath();
    p.drawPath(flag);
  } else if (key == "Hint") {
    p.setBrush(QColor(0xff, 0xe6, 0x6a));
    p.setPen(QPen(QColor(0x9a, 0x7a, 0x10), 1.2));
    p.drawEllipse(QPointF(12, 10), 7, 7);
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRect(QRectF(9, 16, 6, 5));
    p.setPen(QPen(QColor(0x9a, 0x7a, 0x10), 1));
    p.drawLine(QPointF(9, 18.5), QPointF(15, 18.5));
  } else if (key == "ComputerPlayer") {
    PaintMonitor(p, QRectF(1, 5, 12, 13));
    PaintPerson(p, QRectF(12, 4, 11, 16), green);
  } else if (key == "PlayerPlayer") {
    PaintPerson(p, QRectF(1, 4, 11, 16), QColor(0x3a, 0x6f, 0xc0));
    PaintPerson(p, QRectF(12, 4, 11, 16), green);
  } else if (key == "ComputerComputer") {
    PaintMonitor(p, QRectF(0.5, 5, 11, 13));
    PaintMonitor(p, QRectF(12.5, 5, 11, 13));
  } else if (key == "Options") {
    p.setPen(QPen(ink, 1.6));
    for (int i = 0; i < 3; ++i) {
      double y = 6 + i * 6;
      p.drawLine(QPointF(3, y), QPointF(21, y));
      p.setBrush(i == 1 ? gold : QColor(0xe0, 0xe6, 0xee));
      p.drawRoundedRect(QRectF((i == 0 ? 13 : i == 1 ? 5 : 10) - 2.5, y - 3, 5, 6), 1, 1);
    }
  } else if (key == "Analyze") {
    p.setBrush(QColor(0xd8, 0xec, 0xfa));
    p.setPen(QPen(ink, 2));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
  } else if (key == "TurnBoard") {
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 150 * 16);
    p.drawArc(QRectF(4, 4, 16, 16), 210 * 16, 150 * 16);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    QPolygonF a1, a2;
    a1 << QPointF(19.5, 5) << QPointF(20, 11) << QPointF(14.5, 8.5);
    a2 << QPointF(4.5, 19) << QPointF(4, 13) << QPointF(9.5, 15.5);
    p.drawPolygon(a1);
    p.drawPolygon(a2);
  } else {
    p.drawRect(QRectF(4, 4, 16, 16));
  }
  p.end();
  return QIcon(QPixmap::fromImage(img));
}

ReferencePictures::ReferencePictures() {
  struct SizedStyle {
    PieceStyle style;
    int square, icon;
  };
  for (SizedStyle st : {SizedStyle{PieceStyle::Small, 38, 32}, SizedStyle{PieceStyle::Medium, 54, 48},
                        SizedStyle{PieceStyle::Big, 70, 64}}) {
    for (SquareContent c : {SquareContent::Empty, SquareContent::BlackMan, SquareContent::WhiteMan,
                            SquareContent::BlackKing, SquareContent::WhiteKing}) {
      for (bool dark : {true, false}) pictures_[PictureIndex(st.style, c, dark)] = PaintSquare(st.square, dark, c);
      if (c != SquareContent::Empty) pictures_[IconIndex(st.style, c)] = PaintPieceIcon(st.icon, c);
    }
  }
  pictures_[11] = PaintDraughtsman();
}

const QPixmap& ReferencePictures::at(int index) const {
  static const QPixmap none;
  if (index < 1 || index >= kPictureCount) return none;
  return pictures_[index];
}

void ReferencePictures::setCustom(int index, const QPixmap& pixmap) {
  if (index >= 46 && index <= 60) pictures_[index] = pixmap;
}

}  // namespace m8
