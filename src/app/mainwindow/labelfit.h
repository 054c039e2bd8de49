// A word-wrapped label whose text may be longer than its box: what it shows
// reads whole, never a row cut off at the box's foot.
#pragma once

#include <QString>

class QLabel;

namespace m8 {

// Shows `text` in the word-wrapped label: whole when its rows fit the label's
// height, else up to the last word that fits, followed by an ellipsis. Line
// ends may be CR LF. The tool tip holds the whole text when it was cut.
void SetFittedText(QLabel* label, const QString& text);

// The text the label was last given whole (its own text when it was given
// none through SetFittedText).
QString FullText(const QLabel* label);

}  // namespace m8
