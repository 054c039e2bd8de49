#include "app/mainwindow/movelists.h"

#include <QFontMetrics>
#include <QHash>
#include <QListWidget>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <algorithm>

namespace m8 {

namespace {

constexpr double kDesignPoints = 11.4;
constexpr double kPointStep = 0.2;
// Below these the lists would be hard to read: the played moves wrap a long
// line instead; the other lists hold short texts only.
constexpr double kSmallestPlayedPoints = 9.0;
constexpr double kSmallestOtherPoints = 7.0;
// A played move's line: the move number (or blanks) in six characters, then
// the move.
constexpr int kMoveNumberWidth = 6;

// The width a line of `rows` lines has in the list: the list less its frame,
// the item's text margins and, when the lines will not all show one under
// another, the vertical scroll bar.
int LineRoom(const QListWidget* list, const QFont& font, int rows) {
  const QStyle* style = list->style();
  const int frame = list->frameWidth();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
  int room = list->width() - 2 * frame - 2 * margin - 1;
  // Rows are taken a little taller than the font's line, so that the bar is
  // rather allowed for once too often than left out.
  if (rows * (QFontMetrics(font).lineSpacing() + 2) > list->height() - 2 * frame)
    room -= style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
  return room;
}

// The widest of the lines in `font`. The lists are filled anew at every move
// (at every ply while a game loads), mostly with lines measured before, so
// the widths are kept by font and text; the store starts afresh when it grows
// large.
int Widest(const QFont& font, const QStringList& lines) {
  static QHash<QString, QHash<QString, int>> widths;
  static qsizetype stored = 0;
  if (stored > 20000) {
    widths.clear();
    stored = 0;
  }
  QHash<QString, int>& known = widths[font.key()];
  const QFontMetrics fm(font);
  int widest = 0;
  for (const QString& line : lines) {
    auto it = known.constFind(line);
    if (it == known.constEnd()) {
      it = known.insert(line, fm.horizontalAdvance(line));
      ++stored;
    }
    widest = std::max(widest, it.value());
  }
  return widest;
}

// A played move's line cut into lines of at most `room` pixels, each after a
// move or capture mark; the lines after the first are indented under the
// move.
QString WrapPlayedLine(const QString& line, const QFontMetrics& fm, int room) {
  if (fm.horizontalAdvance(line) <= room || line.size() <= kMoveNumberWidth) return line;
  const QString indent(kMoveNumberWidth, QLatin1Char(' '));
  QStringList pieces;  // "c3x", "e5x", "g3"
  QString piece;
  for (const QChar c : line.mid(kMoveNumberWidth)) {
    piece += c;
    if (c == QLatin1Char('x') || c == QLatin1Char(':') || c == QLatin1Char('-')) {
      pieces << piece;
      piece.clear();
    }
  }
  if (!piece.isEmpty()) pieces << piece;
  QString out;
  QString row = line.left(kMoveNumberWidth);
  bool rowHasPiece = false;
  for (const QString& p : pieces) {
    if (rowHasPiece && fm.horizontalAdvance(row + p) > room) {
      out += row + QLatin1Char('\n');
      row = indent;
    }
    row += p;
    rowHasPiece = true;
  }
  return out + row;
}

int RowCount(const QStringList& texts) {
  int rows = 0;
  for (const QString& t : texts) rows += static_cast<int>(t.count(QLatin1Char('\n'))) + 1;
  return rows;
}

}  // namespace

QFont MoveListFont() {
  QFont font(QStringLiteral("Consolas"));
  font.setStyleHint(QFont::Monospace);
  font.setBold(true);
  font.setPointSizeF(kDesignPoints);
  return font;
}

QString UnwrappedMoveLine(const QString& itemText) {
  QString joined = itemText;
  return joined.replace(QLatin1Char('\n') + QString(kMoveNumberWidth, QLatin1Char(' ')), QString());
}

void FitMoveList(QListWidget* list, bool wrapLongLines) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    const QVariant given = item->data(Qt::UserRole);
    lines << (given.isValid() ? given.toString() : item->text());
  }
  const double smallest = wrapLongLines ? kSmallestPlayedPoints : kSmallestOtherPoints;
  QFont font = MoveListFont();
  bool allFit = false;
  for (double points = kDesignPoints;; points -= kPointStep) {
    font.setPointSizeF(points);
    allFit = Widest(font, lines) <= LineRoom(list, font, static_cast<int>(lines.size()));
    if (allFit || points - kPointStep < smallest) break;
  }
  if (list->font() != font) list->setFont(font);

  QStringList texts = lines;
  // Lines that fit as they are need no cutting (the list is rebuilt at every
  // move, so this is the common case and worth not measuring again).
  if (wrapLongLines && !allFit) {
    const QFontMetrics fm(font);
    // Wrapped lines add rows, which may call for the scroll bar: cut again in
    // the room that leaves.
    for (int pass = 0; pass < 2; ++pass) {
      const int room = LineRoom(list, font, pass == 0 ? static_cast<int>(lines.size()) : RowCount(texts));
      for (int i = 0; i < lines.size(); ++i) texts[i] = WrapPlayedLine(lines[i], fm, room);
    }
  }
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    item->setData(Qt::UserRole, lines[i]);
    if (item->text() != texts[i]) item->setText(texts[i]);
  }
}

}  // namespace m8
