// The three move lists beside the board: every line readable whole in the
// list's width, without a sideways scroll bar.
#pragma once

#include <QFont>
#include <QString>

class QListWidget;

namespace m8 {

// The lists' own font: Consolas (or the monospace face that stands in for
// it), bold, 11.4 points.
QFont MoveListFont();

// The three lists, each cutting a long line its own way.
enum class MoveListKind {
  Played,     // "  12. c3xe5xg3": further lines indented under the move
  Legal,      // "c1xa3xc5xe7"
  RootScores  // "c1e3  12": the score goes on the next line
};

// Sets the list's font to the largest size, from MoveListFont down to the
// smallest readable one (the same for the three lists), at which every line
// fits the width the list gives its text. A line still too wide goes on in
// further lines of the same item at that size, cut after a move or capture
// mark (or before the score) and indented, so the list never scrolls
// sideways. The lines as given stay in each item's Qt::UserRole, and each
// item's tool tip shows its line whole.
void FitMoveList(QListWidget* list, MoveListKind kind);

}  // namespace m8
