// The board's mouse input: picking a piece up, the drag feedback and the
// drop. The window only shows; which piece may move and which move the drop
// names is worked out in core/game (boardmouse.h, moveexec.h).
#include <QCursor>
#include <algorithm>
#include <QPoint>

#include "app/mainwindow/boardview.h"
#include "app/mainwindow/mainwindow.h"
#include "core/game/boardmouse.h"
#include "core/game/moveexec.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// A colour laid out 0x00BBGGRR.
QColor FromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// The far corner S of the square frame, in twips; 0 when the board style has
// no frame (a skin without a known size).
int FrameCorner(const GameState& g, int tpp) {
  int size = -1;  // 0 small, 1 medium, 2 big
  switch (g.Opt.BoardSizeCode) {
    case 0: size = 0; break;
    case 1:
    case 3: size = 2; break;
    case 2: size = 1; break;
    case 4: {
      const int c = g.Skin.BoardCustomSize;
      size = c == 0 ? 0 : c == 1 ? 2 : c == 2 ? 1 : -1;
      break;
    }
    default: break;
  }
  if (size < 0) return 0;
  static constexpr int k12[3] = {434, 629, 814};
  static constexpr int kOther[3] = {544, 784, 1024};
  return tpp == 12 ? k12[size] : kOther[size];
}

}  // namespace

void MainWindow::frameSquareOf(int k, int testedCell) {
  GameState& g = *state_;
  const int s = FrameCorner(g, tpp_);
  if (s == 0 || k < 0 || k >= 64) return;
  IsPlayableSquare(g, testedCell);
  const bool playable = g.SquareIsPlayable == 1;
  QColor colour;
  if (g.Opt.BoardSizeCode == 4)
    colour = FromBgr(playable ? g.Skin.DarkHighlightColor : g.Skin.LightHighlightColor);
  else
    colour = playable ? QColor(0xFF, 0xFF, 0x00) : QColor(0x80, 0x80, 0x00);
  board_->frameSquare(k, QRect(QPoint(px(16), px(16)), QPoint(px(s), px(s))), colour);
}

void MainWindow::showPieceOf(int cell) {
  GameState& g = *state_;
  const int v = g.board[cell];
  const PieceStyle style = StyleFromSizeCode(g.Opt.BoardSizeCode);
  if (style == PieceStyle::None || ContentOf(v) == SquareContent::Empty) return;
  bool dark = true;
  if (g.Rules.PiecesOnBlack == 2) {
    IsPlayableSquare(g, cell);
    dark = g.SquareIsPlayable == 1;
  }
  board_->setPicture(SquareOfCell(cell), PictureIndex(style, ContentOf(v), dark));
}

void MainWindow::onBoardPress(int index, int button) {
  GameState& g = *state_;
  GameFlow& f = g.Flow;
  if (index < 0 || index >= 64) return;
  if (f.Busy == 1 || f.RightPressSquare >= 0 || f.IgnoreNextPress == 1) return;
  if (button == 2) {
    if (g.BoardShown.MovesHighlighted == 1) return;
    f.RightPressSquare = index;
    return;
  }
  const PieceStyle style = StyleFromSizeCode(g.Opt.BoardSizeCode);
  const int shown = board_->picture(index);
  if (shown == PictureIndex(style, SquareContent::Empty, true) ||
      shown == PictureIndex(style, SquareContent::Empty, false)) {
    if (f.SkipSquareNumbers == 0) {
      f.NumbersShown = 1;
      g.BoardShown.MovesHighlighted = 0;
      DrawBoard(1);
    }
    f.SkipSquareNumbers = 0;
    return;
  }
  if (f.GameOver == 1) return;

  f.FromSquare = index;
  const int cell = CellOfSquare(index);
  IsPlayableSquare(g, cell);
  board_->setPicture(index, PictureIndex(style, SquareContent::Empty, g.SquareIsPlayable == 1));
  const PickUp why = TestPickUp(g, cell);
  if (why != PickUp::Ok) {
    showPieceOf(cell);
    host_->message(Icon::Exclamation, "Error", PickUpMessage(g, why));
    f.FromSquare = -1;
    return;
  }

  board_->setCursor(PieceCursor(pictures_.at(IconIndex(style, ContentOf(g.board[cell])))));
  // The press is over the piece: what it frames is that piece, also when no
  // pointer movement over it was reported first.
  f.HoverCell = cell;
  f.HoverSquare = index;
  if (g.Opt.ShowMoves == 1) frameSquareOf(f.HoverSquare, cell);
  // The drop is measured from this drag alone: nothing of an earlier,
  // cancelled drag may name its target.
  f.DragStarted = 0;
  f.DragX = f.DragY = 0;
  if (g.Opt.ShowMoves == 1) {
    const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
    const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
    const int end = std::clamp(g.P.PlyStart[ply + 1], first, kMoveListSize);
    for (int i = first; i < end; ++i) {
      const int from = g.P.MoveList[i].From;
      if (from != f.HoverCell && from != kNoSquare) showPieceOf(from);
    }
    g.BoardShown.MovesHighlighted = 1;
    for (int i = first; i < end; ++i)
      if (g.P.MoveList[i].From == f.HoverCell) {
        const int to = g.P.MoveList[i].To;
        frameSquareOf(SquareOfCell(to), to);
      }
  }
  // Touch move: the first piece picked up in the turn is the one to move.
  if (g.P.TouchedSquare == 0) g.P.TouchedSquare = cell;
}

void MainWindow::onBoardDrag(int index, int xTwips, int yTwips) {
  GameState& g = *state_;
  GameFlow& f = g.Flow;
  if (index < 0 || index >= 64) return;
  if (f.NumbersShown == 1 || f.Busy == 1 || f.GameOver == 1) return;
  f.IgnoreNextPress = 0;
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
  const int end = std::clamp(g.P.PlyStart[ply + 1], first, kMoveListSize);
  if (g.Opt.ShowMoves == 1 && g.BoardShown.MovesHighlighted == 0) {
    g.BoardShown.MovesHighlighted = 1;
    for (int i = first; i < end; ++i) {
      const int cell = g.P.MoveList[i].From;
      if (cell == kNoSquare || cell < 21 || cell > 98) continue;
      showPieceOf(cell);
      frameSquareOf(SquareOfCell(cell), cell);
    }
  }
  if (f.FromSquare == -1) {
    const int cell = CellOfSquare(index);
    if (HasMoveFrom(g, cell)) {
      f.HoverCell = cell;
      f.HoverSquare = index;
    }
  } else if (f.FromSquare > -1) {
    if (f.DragStarted == 0) {
      f.DragStarted = 1;
      const SquareContent piece = ContentOf(g.board[CellOfSquare(f.FromSquare)]);
      const int icon = IconIndex(StyleFromSizeCode(g.Opt.BoardSizeCode), piece);
      if (icon != 0) board_->setCursor(PieceCursor(pictures_.at(icon)));
    }
    f.DragX = xTwips;
    f.DragY = yTwips;
  }
}

void MainWindow::onBoardRelease(int index, int button, int releasedSquare, const QPoint& globalPos) {
  GameState& g = *state_;
  GameFlow& f = g.Flow;
  if (f.Busy == 1) return;
  if (button == 2) {
    f.RightPressSquare = -1;
    if (f.FromSquare == -1) OpenSetupPopup(index, releasedSquare, globalPos);
    return;
  }
  if (f.NumbersShown == 1) {
    f.NumbersShown = 0;
    DrawBoard(0);
    return;
  }
  if (f.FromSquare <= -1) return;
  board_->unsetCursor();

  const int from = CellOfSquare(f.FromSquare);
  const int pitch = DropPitch(g.Opt.BoardSizeCode, g.Skin.BoardCustomSize, tpp_);
  // A press and release without any pointer movement moves nothing.
  const int to = f.DragStarted == 1 ? DropCell(g, from, f.DragX, f.DragY, pitch) : 0;
  if (to == 0 || (to == from && f.CanReturnToStart == 0)) {
    showPieceOf(from);
    f.FromSquare = -1;
    g.BoardShown.MovesHighlighted = 0;
    f.DragStarted = 0;
    f.DragX = f.DragY = 0;
    DrawBoard(0);
    return;
  }

  const std::string text = BoardMoveText(g, from, to);
  f.FromSquare = -1;
  f.DragX = f.DragY = 0;
  f.NumbersShown = 0;
  f.SkipSquareNumbers = 0;
  f.HoverSquare = -1;
  f.RightPressSquare = -1;
  f.HoverCell = 0;
  f.DragStarted = 0;
  f.IgnoreNextPress = 0;
  EnterMove(g, text, MoveSource::Board, {});
}

void MainWindow::connectBoardInput() {
  // The squares behave as one control each: while a button is held the
  // movements and the release go to the square pressed, in its coordinates.
  connect(board_, &BoardView::squarePressed, this, [this](int square, Qt::MouseButton button, QPoint) {
    if (heldSquare_ < 0) heldSquare_ = square;
    if (heldSquare_ < 0) return;
    onBoardPress(heldSquare_, static_cast<int>(button));
  });
  connect(board_, &BoardView::squareMoved, this, [this](int square, Qt::MouseButtons buttons, QPoint at) {
    // A release lost to a message box leaves no square held.
    if (buttons == Qt::NoButton) heldSquare_ = -1;
    const int k = heldSquare_ >= 0 ? heldSquare_ : square;
    if (k < 0) return;
    const QPoint rel = at - board_->squareRect(k).topLeft();
    onBoardDrag(k, rel.x() * tpp_, rel.y() * tpp_);
  });
  connect(board_, &BoardView::squareReleased, this,
          [this](int square, Qt::MouseButton button, Qt::MouseButtons stillHeld, QPoint at) {
    const int k = heldSquare_ >= 0 ? heldSquare_ : square;
    // The pressed square keeps the pointer until the last button is up: a
    // right click in the middle of a drag leaves the drag where it was.
    if (stillHeld == Qt::NoButton) heldSquare_ = -1;
    if (k < 0) return;
    onBoardRelease(k, static_cast<int>(button), square, board_->parentWidget()->mapToGlobal(at));
  });
}

}  // namespace m8
