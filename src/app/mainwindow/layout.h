// Window geometry of the three board sizes, each for a 12-twips-per-pixel
// screen and for any other screen. Every value is in twips, exactly as the
// window was designed; TwipsToPixels is the one conversion to pixels.
#pragma once

namespace m8 {

enum class LayoutSize { None, Small, Medium, Big };

// The layout for a skin: BoardSizeCode 0 small, 2 medium, 3 big, 4 a skin
// file whose BoardCustomSize picks the size (0 small, 1 big, anything else
// medium, a file without a size line included).
LayoutSize ChooseLayout(int boardSizeCode, int boardCustomSize);

// The layout the window takes on a screen whose free area is width x height
// pixels: `wanted` when its outer size fits, else the largest smaller one
// that fits, else Small. None stays None.
LayoutSize FittingLayout(LayoutSize wanted, int twipsPerPixel, int width, int height);
// The built-in skin of a layout: 0 "Classic Small", 2 "Classic Medium", 3
// "Classic Big" (the BoardSizeCode values); -1 for None.
int BuiltinSizeCode(LayoutSize size);

// twips / TwipsPerPixel, rounded to the nearest pixel.
int TwipsToPixels(int twips, int twipsPerPixel);

// TwipsPerPixel from the screen's logical dots per inch: round(1440 / dpi).
int TwipsPerPixelFromDpi(double logicalDpi);

struct BoardGeometry {
  int windowWidth, windowHeight;  // outer size of the window
  int squareSize, squarePitch;    // S and P
  int x0, y0;                     // Left and Top of c(0)
  int emblemLeft, emblemTop;  // the decorative draughtsman picture
};

// The side panel and the engine-output box.
struct PanelGeometry {
  int listTop, listHeight;
  int playedMovesLeft, legalMovesLeft, rootMovesLeft;
  int sidePanelLeft, sidePanelHeight;
  int headRuleX1, headRuleX2, headDividerX;
  int sideLabelLeft, nameLabelLeft, countLabelLeft, variantNameLeft, strengthLeft;
  int moveBoxLeft, moveBoxTop, playMoveButtonLeft, playMoveButtonTop;
  int commentBoxLeft, commentBoxTop, commentBoxHeight;
  int engineOutputFrameTop, engineOutputFrameWidth;
  int engineOutputTop, engineOutputWidth;
  int progressTop, progressWidth;
  // The extra-pieces row, shown when the variant starts with pieces off the
  // board (the comment box then gives up its top 200 twips).
  int extraPiecesLeft, extraBlackLeft, extraBlackCountLeft, extraWhiteLeft, extraWhiteCountLeft, extraRowTop;
};

// Coordinate labels printed beside the board and the frame around it.
struct CoordinateGeometry {
  int letterXMul, letterXAdd;  // column X = mul * k + add
  int bottomY;
  int numberXMul, numberXAdd, numberXN, numberXT, numberXZ;  // mul*k + add + N*n + T*t + Z*z
  int rowYAdd, rowYMul;                                      // row Y = add - mul * k
  int frameRight, frameBottom;
};

const BoardGeometry& BoardGeometryFor(LayoutSize size, int twipsPerPixel);
const PanelGeometry& PanelGeometryFor(LayoutSize size, int twipsPerPixel);
const CoordinateGeometry& CoordinateGeometryFor(LayoutSize size, int twipsPerPixel);

// Left and Top of square k (0..63) in twips.
int SquareLeft(const BoardGeometry& g, int k);
int SquareTop(const BoardGeometry& g, int k);

// Where the coordinate labels go, in twips from the client area's corner.
int LetterX(const CoordinateGeometry& c, int k);
int BottomNumberX(const CoordinateGeometry& c, int k, bool turned, bool piecesOnWhite);
int RowY(const CoordinateGeometry& c, int k);
int LeftDigitX(int twipsPerPixel);
int LeftNumberX(int number, int twipsPerPixel);

// Fixed positions that do not change with the layout.
constexpr int kFrameLeft = 366, kFrameTop = 466;
// Squares before the first arrangement: 600 x 600 at a pitch of 585.
constexpr int kDesignSquareSize = 600, kDesignSquarePitch = 585, kDesignX0 = 328, kDesignY0 = 428;

}  // namespace m8
