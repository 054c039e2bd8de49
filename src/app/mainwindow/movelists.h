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

// Sets the list's font to the largest size, from MoveListFont down to a
// smallest one, at which every line fits the width the list gives its text.
// With `wrapLongLines` (the played moves, whose capture paths can be long) a
// line still too wide goes on in further lines of the same item, cut after a
// move or capture mark and indented under the move. The lines as given stay
// in each item's Qt::UserRole.
void FitMoveList(QListWidget* list, bool wrapLongLines);

// The line of a played move as given, its continuation lines joined.
QString UnwrappedMoveLine(const QString& itemText);

}  // namespace m8
