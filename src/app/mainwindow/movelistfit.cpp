#include "app/mainwindow/movelistfit.h"

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
// The font of every list shrinks down to the first size, so that its lines
// fit as they are. When they do not, the lines are cut at that size, which
// still reads well: no list goes smaller for a long line. Only a single move
// mark wider than the list makes the font smaller still, down to the last
// size.
constexpr double kSmallestPoints = 9.0;
constexpr double kLastPoints = 5.0;
// A played move's line: the move number (or blanks) in six characters, then
// the move.
constexpr int kMoveNumberWidth = 6;

// How each list cuts a line too long for it: the characters kept ahead of the
// move on the first line, and the blanks before each further line.
struct LineCut {
  int head;
  int indent;
};

LineCut CutOf(MoveListKind kind) {
  return kind == MoveListKind::Played ? LineCut{kMoveNumberWidth, kMoveNumberWidth} : LineCut{0, 2};
}

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

// A line cut into lines of at most `room` pixels where it can be: after a
// move or capture mark ("c3x", "e5x", "g3") or after the blanks between a
// move and its score (a bound's mark stays with its number). The first
// `cut.head` characters stay on the first line; the further lines are
// indented.
QString WrapLine(const QString& line, const QFontMetrics& fm, int room, LineCut cut) {
  if (fm.horizontalAdvance(line) <= room || line.size() <= cut.head) return line;
  QStringList pieces;
  QString piece;
  const QString move = line.mid(cut.head);
  for (qsizetype i = 0; i < move.size(); ++i) {
    const QChar c = move[i];
    piece += c;
    const bool last = i + 1 == move.size();
    // A '-' after a blank is the sign of a score, not a move mark.
    const bool mark = c == QLatin1Char('x') || c == QLatin1Char(':') ||
                      (c == QLatin1Char('-') && i > 0 && !move[i - 1].isSpace());
    // The blank after a bound's mark ("\u2264 4") keeps the mark with its
    // number.
    const bool boundMark = i > 0 && move[i - 1] == QChar(0x2264);
    const bool blanksEnd = c.isSpace() && !last && !move[i + 1].isSpace() && !boundMark;
    if (mark || blanksEnd) {
      pieces << piece;
      piece.clear();
    }
  }
  if (!piece.isEmpty()) pieces << piece;
  const QString indent(cut.indent, QLatin1Char(' '));
  QString out;
  QString row = line.left(cut.head);
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

void FitMoveList(QListWidget* list, MoveListKind kind) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    const QVariant given = item->data(Qt::UserRole);
    lines << (given.isValid() ? given.toString() : item->text());
  }
  const LineCut cut = CutOf(kind);
  const int rows = static_cast<int>(lines.size());
  QFont font = MoveListFont();
  QStringList texts = lines;
  bool fit = false;
  // Lines that fit as they are need no cutting (the list is rebuilt at every
  // move, so this is the common case and worth not measuring again).
  for (double points = kDesignPoints; !fit && points > kSmallestPoints - 1e-6; points -= kPointStep) {
    font.setPointSizeF(points);
    fit = Widest(font, lines) <= LineRoom(list, font, rows);
  }
  for (double points = kSmallestPoints; !fit && points > kLastPoints - 1e-6; points -= kPointStep) {
    font.setPointSizeF(points);
    // Cut lines add rows, which may call for the scroll bar: cut again in
    // the room that leaves.
    const QFontMetrics fm(font);
    int room = 0;
    for (int pass = 0; pass < 2; ++pass) {
      room = LineRoom(list, font, pass == 0 ? rows : RowCount(texts));
      for (int i = 0; i < rows; ++i) texts[i] = WrapLine(lines[i], fm, room, cut);
    }
    fit = Widest(font, texts.join(QLatin1Char('\n')).split(QLatin1Char('\n'))) <= room;
  }
  if (list->font() != font) list->setFont(font);
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    item->setData(Qt::UserRole, lines[i]);
    if (item->text() != texts[i]) item->setText(texts[i]);
    // A line cut into several is read whole in its tool tip too.
    const QString tip = lines[i].trimmed();
    if (item->toolTip() != tip) item->setToolTip(tip);
  }
}

}  // namespace m8
