#include "app/mainwindow/labelfit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace m8 {

namespace {

constexpr char kFullTextProperty[] = "fullText";

bool Fits(const QLabel* label, const QString& text) {
  const QRect room = label->contentsRect();
  const QRect needed = QFontMetrics(label->font())
                           .boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap | label->alignment(), text);
  return needed.height() <= room.height() && needed.width() <= room.width();
}

}  // namespace

void SetFittedText(QLabel* label, const QString& given) {
  QString text = given;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  label->setProperty(kFullTextProperty, text);
  QString shown = text;
  if (!Fits(label, text)) {
    // Words go from the end until the rest and the ellipsis fit; the first
    // word stays even when nothing fits.
    const QString more = QStringLiteral(" ") + QChar(0x2026);
    auto chopBlanks = [](QString& t) {
      while (!t.isEmpty() && t.back().isSpace()) t.chop(1);
    };
    QString kept = text;
    chopBlanks(kept);
    for (;;) {
      qsizetype blank = kept.size() - 1;
      while (blank > 0 && !kept[blank].isSpace()) --blank;
      if (blank <= 0) break;
      kept.truncate(blank);
      chopBlanks(kept);
      if (Fits(label, kept + more)) break;
    }
    shown = kept + more;
  }
  if (label->text() != shown) label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
}

QString FullText(const QLabel* label) {
  const QVariant full = label->property(kFullTextProperty);
  return full.isValid() ? full.toString() : label->text();
}

}  // namespace m8
