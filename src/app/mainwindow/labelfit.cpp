#include "app/mainwindow/labelfit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace m8 {

namespace {

constexpr char kFullTextProperty[] = "fullText";
constexpr char kKeptFittedProperty[] = "keptFitted";

bool Fits(const QLabel* label, const QString& text) {
  const QRect room = label->contentsRect();
  const QFontMetrics metrics(label->font());
  if (!label->wordWrap()) {
    // One row: its width is what counts.
    const QRect needed = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), label->alignment(), text);
    return needed.width() <= room.width();
  }
  const QRect needed =
      metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap | label->alignment(), text);
  return needed.height() <= room.height() && needed.width() <= room.width();
}

// Fits the label's text anew when it is shown or its box changes.
class Refitter : public QObject {
 public:
  explicit Refitter(QLabel* label) : QObject(label) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Resize || e->type() == QEvent::Show) {
      auto* label = static_cast<QLabel*>(watched);
      SetFittedText(label, FullText(label));
    }
    return false;
  }
};

}  // namespace

void SetFittedText(QLabel* label, const QString& given) {
  QString text = given;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  label->setProperty(kFullTextProperty, text);
  QString shown = text;
  // A label laid out by others has no box of its own before it is shown.
  const bool measurable = label->isVisible() || !label->property(kKeptFittedProperty).toBool();
  if (measurable && !Fits(label, text)) {
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
    // One row whose first word is too long already ends where the room
    // does, with the ellipsis.
    if (!label->wordWrap() && !Fits(label, shown))
      shown = QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, label->contentsRect().width());
  }
  if (label->text() != shown) label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
}

QString FullText(const QLabel* label) {
  const QVariant full = label->property(kFullTextProperty);
  return full.isValid() ? full.toString() : label->text();
}

void KeepFitted(QLabel* label) {
  if (label->property(kKeptFittedProperty).toBool()) return;
  label->setProperty(kKeptFittedProperty, true);
  label->installEventFilter(new Refitter(label));
}

}  // namespace m8
