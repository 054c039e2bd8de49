// A label whose text may be longer than its box: what it shows reads whole,
// never a row or a word cut off at the box's edge.
#pragma once

#include <QString>

class QLabel;

namespace m8 {

// Shows `text` in the label: whole when it fits the label's box, else up to
// the last word that fits, followed by an ellipsis. A word-wrapped label
// fits its rows into its height; any other label its one row into its width.
// Line ends may be CR LF. The tool tip holds the whole text when it was cut.
void SetFittedText(QLabel* label, const QString& text);

// The text the label was last given whole (its own text when it was given
// none through SetFittedText).
QString FullText(const QLabel* label);

// The label's box is set by a layout, or changes: from now on its text is
// fitted anew whenever the label is shown or resized, and until it is on the
// screen it shows the text whole.
void KeepFitted(QLabel* label);

}  // namespace m8
