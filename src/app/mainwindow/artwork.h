// The program's own pictures, painted at run time: the squares and pieces of
// the three built-in board styles, the drag pointers, the wooden draughtsman
// of the side panel and the toolbar icons.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <array>

namespace m8 {

// What a square picture shows.
enum class SquareContent { Empty, BlackMan, WhiteMan, BlackKing, WhiteKing };

// What a board cell value shows: 1 / -1 a white / black man, 2 / -2 a white /
// black king, anything else an empty square.
inline SquareContent ContentOf(int value) {
  switch (value) {
    case 1: return SquareContent::WhiteMan;
    case -1: return SquareContent::BlackMan;
    case 2: return SquareContent::WhiteKing;
    case -2: return SquareContent::BlackKing;
    default: return SquareContent::Empty;
  }
}

// The reference pictures Picture1..Picture60 of the main window. The built-in
// sets are painted once; the custom set (46..60) is filled from skin files.
constexpr int kPictureCount = 61;  // index 0 unused

// Board style from BoardSizeCode: 0 small, 1 or 3 big, 2 medium, 4 custom;
// -1 for any other code.
enum class PieceStyle { None = -1, Small = 0, Medium = 2, Big = 3, Custom = 4 };
PieceStyle StyleFromSizeCode(int boardSizeCode);

// Index of the reference picture for a square of the style (0 for no style).
int PictureIndex(PieceStyle style, SquareContent content, bool dark);
// Index of the piece icon of the style used as the drag pointer (0 when none).
int IconIndex(PieceStyle style, SquareContent content);
// The picture of a built-in style (Small, Medium or Big) that stands in the
// same place as the custom picture customIndex (46..60); 0 when none.
int BuiltinTwin(int customIndex, PieceStyle style);
// Whether a picture index is one of the empty-square pictures.
bool IsEmptySquarePicture(int index);

// Paints one square picture, size x size pixels.
QPixmap PaintSquare(int size, bool dark, SquareContent content);
// Paints a piece on a transparent background (drag pointers and icons).
QPixmap PaintPieceIcon(int size, SquareContent content);
// The mouse pointer that carries a lifted piece: its icon, held at the centre.
QCursor PieceCursor(const QPixmap& icon);
// The 80 x 82 light wooden draughtsman with rings on its face.
QPixmap PaintDraughtsman();
// The window icon.
QIcon ProgramIcon();

// Toolbar icons by the button's key text ("New Game", "Open", ...).
QIcon ToolbarIcon(const QString& key);

class ReferencePictures {
 public:
  ReferencePictures();  // paints the built-in sets
  const QPixmap& at(int index) const;
  void setCustom(int index, const QPixmap& pixmap);  // 46..60 only

 private:
  std::array<QPixmap, kPictureCount> pictures_;
};

}  // namespace m8
