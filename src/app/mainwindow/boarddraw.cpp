// The board half of the main window: layout per board size, the board
// redraw, the side-to-move display and the notation and orientation commands.
#include <algorithm>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/mainwindow/boardview.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/mainwindow/labelfit.h"
#include "app/mainwindow/movelistfit.h"
#include "app/objectnames.h"
#include "core/game/gameresult.h"
#include "core/game/storednotation.h"
#include "core/rules/notation.h"

namespace m8 {

int MainWindow::CellOfSquare(int k) const {
  const int normal = 91 - 10 * (k / 8) + (k % 8);
  return state_->Opt.BoardTurned != 0 ? 28 + 10 * (k / 8) - (k % 8) : normal;
}

int MainWindow::equalKingsOnly() const { return EqualKingsOnly(*state_) ? 1 : 0; }

int MainWindow::SquareOfCell(int cell) const {
  if (state_->Opt.BoardTurned != 0) return 8 * (cell / 10 - 2) + 8 - (cell % 10);
  return 72 - 8 * (cell / 10) + (cell % 10) - 1;
}

void MainWindow::ArrangeLayout() {
  GameState& g = *state_;
  LayoutSize size = ChooseLayout(g.Opt.BoardSizeCode, g.Skin.BoardCustomSize);
  const QRect area = availableArea();
  if (size != LayoutSize::None && area.isValid()) {
    // A window larger than the screen would hide its menu and status bar:
    // the board takes the largest built-in size that fits, for this run
    // (the skin chosen stays in the settings).
    const LayoutSize fit = FittingLayout(size, tpp_, area.width(), area.height());
    if (fit != size) {
      const BoardGeometry& wanted = BoardGeometryFor(size, tpp_);
      g.Opt.BoardSizeCode = BuiltinSizeCode(fit);
      size = fit;
      // Said in the status bar for as long as it holds: a box would come
      // back at every start on this screen.
      const char* names[] = {"Classic Small", "", "Classic Medium", "Classic Big"};
      const QString skin = QString::fromStdString(g.Opt.SkinName);
      sizeNotice_ = QString("\"%1\" shown as \"%2\"").arg(skin, names[g.Opt.BoardSizeCode]);
      // A long skin name would leave the other panels no room: the notice
      // then names the size shown only (the tool tip tells the rest).
      const int width = px(BoardGeometryFor(fit, tpp_).windowWidth);
      if (panels_[1]->fontMetrics().horizontalAdvance(sizeNotice_) > width / 2)
        sizeNotice_ = QString("Board shown as \"%1\"").arg(names[g.Opt.BoardSizeCode]);
      sizeNoticeDetail_ = QString("The window of the skin \"%1\" (%2 x %3) does not fit on this screen (%4 x %5): "
                                  "the board is shown in the size of \"%6\".")
                              .arg(skin)
                              .arg(px(wanted.windowWidth))
                              .arg(px(wanted.windowHeight))
                              .arg(area.width())
                              .arg(area.height())
                              .arg(names[g.Opt.BoardSizeCode]);
    }
  }
  panels_[1]->setText(sizeNotice_);
  panels_[1]->setToolTip(sizeNoticeDetail_);
  if (size != LayoutSize::None) {
    const BoardGeometry& b = BoardGeometryFor(size, tpp_);
    const PanelGeometry& p = PanelGeometryFor(size, tpp_);

    // The outer size includes the window frame; what the frame takes is known
    // once the window is on the screen.
    outerSize_ = QSize(px(b.windowWidth), px(b.windowHeight));
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    const QSize inner = outerSize_ - frame;
    setFixedSize(inner);

    toolBar_->setGeometry(0, 0, inner.width(), px(440));

    placeControl(playedMoves_, p.playedMovesLeft, p.listTop, 1935, p.listHeight);
    placeControl(legalMoves_, p.legalMovesLeft, p.listTop, 1095, p.listHeight);
    placeControl(rootMoves_, p.rootMovesLeft, p.listTop, 1695, p.listHeight);
    // Their heights change with the layout, and with them the room for the
    // vertical scroll bar.
    FitMoveList(playedMoves_, MoveListKind::Played);
    FitMoveList(legalMoves_, MoveListKind::Legal);
    FitMoveList(rootMoves_, MoveListKind::RootScores);
    surface_->setSidePanelFrame(QRect(p.sidePanelLeft, 428, 5655, p.sidePanelHeight));
    surface_->setHeadRuleX(p.headRuleX1, p.headRuleX2);
    surface_->setHeadDividerX(p.headDividerX);
    placeControl(topSideLabel_, p.sideLabelLeft, 600, 495, 255);
    placeControl(bottomSideLabel_, p.sideLabelLeft, 838, 495, 255);
    placeControl(topNameLabel_, p.nameLabelLeft, 568, 1455, 255);
    placeControl(bottomNameLabel_, p.nameLabelLeft, 820, 1455, 255);
    placeControl(topCountLabel_, p.countLabelLeft, 600, 375, 255);
    placeControl(bottomCountLabel_, p.countLabelLeft, 855, 375, 255);
    placeControl(variantNameLabel_, p.variantNameLeft, 583, 2535, 255);
    placeControl(strengthLabel_, p.strengthLeft, 838, 2055, 255);
    placeControl(moveBox_, p.moveBoxLeft, p.moveBoxTop, 2772, 285);
    placeControl(playMoveButton_, p.playMoveButtonLeft, p.playMoveButtonTop, 732, 252);
    surface_->setEngineOutputFrame(QRect(120, p.engineOutputFrameTop, p.engineOutputFrameWidth, 855));
    // The output takes its frame's height, less the margin above it; what
    // is still too long ends at the last word that fits.
    const int outputBottom = p.engineOutputFrameTop + 855 - (p.engineOutputTop - p.engineOutputFrameTop) / 2;
    placeControl(engineOutputLabel_, 240, p.engineOutputTop, p.engineOutputWidth, outputBottom - p.engineOutputTop);
    SetFittedText(engineOutputLabel_, FullText(engineOutputLabel_));
    placeControl(progress_, 480, p.progressTop, p.progressWidth, 288);

    // The extra-pieces row takes the top 200 twips of the comment box.
    const bool extra = g.Rules.canContract == 1;
    placeControl(commentBox_, p.commentBoxLeft, p.commentBoxTop + (extra ? 200 : 0), 3615, p.commentBoxHeight - (extra ? 200 : 0));
    QLabel* const row[5] = {extraPiecesLabel_, extraBlackLabel_, extraBlackCountLabel_, extraWhiteLabel_,
                            extraWhiteCountLabel_};
    const int lefts[5] = {p.extraPiecesLeft, p.extraBlackLeft, p.extraBlackCountLeft, p.extraWhiteLeft,
                          p.extraWhiteCountLeft};
    const int widths[5] = {972, 495, 375, 495, 375};
    for (int i = 0; i < 5; ++i) {
      QLabel* l = row[i];
      l->setVisible(extra);
      if (extra) placeControl(l, lefts[i], p.extraRowTop, widths[i], 252);
    }

    emblemPicture_->setProperty("twips", QRect(b.emblemLeft, b.emblemTop, 0, 0));
    emblemPicture_->move(px(b.emblemLeft), px(b.emblemTop));

    std::array<QRect, 64> rects;
    for (int k = 0; k < 64; ++k)
      rects[k] = QRect(px(SquareLeft(b, k)), px(SquareTop(b, k)), px(b.squareSize), px(b.squareSize));
    board_->setSquareRects(rects);
  }
  centreOnScreen(outerSize_.isValid() ? outerSize_ : frameGeometry().size());
}

QRect MainWindow::availableArea() const {
  if (options_.availableGeometry.isValid()) return options_.availableGeometry;
  if (QScreen* s = screen()) return s->availableGeometry();
  return {};
}

void MainWindow::centreOnScreen(const QSize& outer) {
  // Centred on the free area of the screen; a window larger than that keeps
  // its top left corner, title and menu bar on it.
  const QRect area = availableArea();
  if (!area.isValid()) return;
  move(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
       std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
}

void MainWindow::fitOuterSize() {
  // The layout gives the outer size, frame included; the frame is known once
  // the window is on the screen.
  if (!outerSize_.isValid()) return;
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.isEmpty() || size() == outerSize_ - frame) return;
  setFixedSize(outerSize_ - frame);
  centreOnScreen(outerSize_);
}

void MainWindow::DrawBoard(int mode) {
  GameState& g = *state_;
  const PieceStyle style = StyleFromSizeCode(g.Opt.BoardSizeCode);
  int white = 0, black = 0, number = 1, parity = 0;
  for (int r = 9; r >= 2; --r) {
    for (int f = 1; f <= 8; ++f) {
      const int cell = 10 * r + f;
      const int v = g.board[cell];
      const int a = v < 0 ? -v : v;
      if (v > 0 && v != kOffBoard) white += a;
      if (v < 0) black += a;
      const int k = SquareOfCell(cell);
      if (style != PieceStyle::None && a <= 2) {
        bool dark = true;
        if (a == 0 || g.Rules.PiecesOnBlack >= 2) {
          IsPlayableSquare(g, cell);
          dark = g.SquareIsPlayable == 1;
        }
        board_->setPicture(k, PictureIndex(style, ContentOf(v), dark));
      }
      const int q = parity;
      parity = 1 - parity;
      if (mode == 1 && g.Rules.PiecesOnBlack < 2 && q == g.Rules.PiecesOnBlack) {
        board_->printOnSquare(k, QPoint(px(100), px(100)), QStringLiteral(" %1").arg(number), Qt::white);
        ++number;
      }
    }
    parity = 1 - parity;
  }

  const bool blackFirst = g.Rules.BlackStarts == 1;
  topCountLabel_->setText(QString::number(blackFirst ? black : white));
  bottomCountLabel_->setText(QString::number(blackFirst ? white : black));
  if (g.Rules.canContract == 1) {
    extraBlackCountLabel_->setText(QString::number(g.Mat.BlackToPlace));
    extraWhiteCountLabel_->setText(QString::number(g.Mat.WhiteToPlace));
  }

  printCoordinates();
  ShowSideToMove();
}

// Coordinates along the bottom and left edges, and the frame. They replace
// whatever labels are printed: the labels of another notation, orientation
// or board size never stay beside them, not even while a box waits before
// the next full redraw.
void MainWindow::printCoordinates() {
  GameState& g = *state_;
  surface_->clearDrawing();
  const int code = g.Opt.BoardSizeCode, custom = g.Skin.BoardCustomSize;
  LayoutSize size = LayoutSize::None;
  if (code == 0 || (code == 4 && custom == 0)) size = LayoutSize::Small;
  else if (code == 1 || code == 3 || (code == 4 && custom == 1)) size = LayoutSize::Big;
  else if (code == 2 || code == 4) size = LayoutSize::Medium;
  if (size != LayoutSize::None) {
    const CoordinateGeometry& c = CoordinateGeometryFor(size, tpp_);
    const bool turned = g.Opt.BoardTurned != 0;
    const int notation = g.Opt.Notation;
    for (int k = 1; k <= 8; ++k) {
      if (notation == 0) {
        QChar letter = QChar('a' + (turned ? 8 - k : k - 1));
        if (g.Opt.CapitalNotation != 0) letter = letter.toUpper();
        surface_->printText(LetterX(c, k), c.bottomY, QString(letter));
        surface_->printText(LeftDigitX(tpp_), RowY(c, k), QString::number(turned ? 9 - k : k));
      } else if (notation == 1) {
        if (k % 2 == 1) {
          const int n = k + 29 - (k + 1) / 2;
          surface_->printText(BottomNumberX(c, k, turned, g.Rules.PiecesOnBlack == 0), c.bottomY,
                              QString::number(turned ? 33 - n : n));
        }
        const int left = turned ? 4 * k : 33 - 4 * k;
        surface_->printText(LeftNumberX(left, tpp_), RowY(c, k), QString::number(left));
      }
    }
    surface_->drawRectangle(kFrameLeft, kFrameTop, c.frameRight, c.frameBottom, Qt::black);
  }
}

void MainWindow::ShowSideToMove() {
  GameState& g = *state_;
  const bool blackFirst = g.Rules.BlackStarts == 1;
  topSideLabel_->setText(blackFirst ? "Black" : "White");
  bottomSideLabel_->setText(blackFirst ? "White" : "Black");
  // A long name ends at a whole word; its tool tip tells it whole.
  SetFittedText(topNameLabel_, QString::fromStdString(g.Flow.PlayerName1));
  SetFittedText(bottomNameLabel_, QString::fromStdString(g.Flow.PlayerName2));
  const bool upper = (g.P.SideToMove == -1 && blackFirst) || (g.P.SideToMove == 1 && !blackFirst);
  auto mark = [](QLabel* l, bool toMove) {
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, toMove ? QColor(255, 0, 0) : QColor(255, 255, 255));
    pal.setColor(QPalette::WindowText, toMove ? QColor(255, 255, 255) : QColor(255, 0, 0));
    l->setPalette(pal);
  };
  mark(topNameLabel_, upper);
  mark(bottomNameLabel_, !upper);
  // A finished game keeps its result in the status bar: nobody is to move.
  if (g.Skin.StatusPanel == 1 && g.Flow.GameOver != 1)
    setStatusText(1, g.P.SideToMove == -1 ? "Black moves" : "White moves");
}

int MainWindow::IsUserColour(const std::string& colour) const {
  const QString user = QString::fromStdString(state_->Opt.UserName);
  QString word;
  if (colour == "black") word = "Black";
  else if (colour == "white") word = "White";
  else return 0;
  if (FullText(topNameLabel_) == user && topSideLabel_->text() == word) return 1;
  if (FullText(bottomNameLabel_) == user && bottomSideLabel_->text() == word) return 1;
  return 0;
}

void MainWindow::ClearMoveHighlights() {
  GameState& g = *state_;
  const PieceStyle style = StyleFromSizeCode(g.Opt.BoardSizeCode);
  if (style == PieceStyle::None) return;
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
  const int end = std::clamp(g.P.PlyStart[ply + 1], 0, kMoveListSize);
  for (int i = first; i < end; ++i) {
    const int s = g.P.MoveList[i].From;
    if (s == kNoSquare || s < 21 || s > 98) continue;
    const int v = g.board[s];
    if (v != 1 && v != 2 && v != -1 && v != -2) continue;
    bool dark = true;
    if (g.Rules.PiecesOnBlack >= 2) {
      IsPlayableSquare(g, s);
      dark = g.SquareIsPlayable == 1;
    }
    board_->setPicture(SquareOfCell(s), PictureIndex(style, ContentOf(v), dark));
  }
}

void MainWindow::clearDrawing() { surface_->clearDrawing(); }

void MainWindow::TurnBoard() {
  state_->Opt.BoardTurned = 1 - (state_->Opt.BoardTurned != 0 ? 1 : 0);
  clearDrawing();
  DrawBoard(0);
}

void MainWindow::setNotation(int target) {
  GameState& g = *state_;
  // The stored move texts follow a change between letters and numbers; the
  // lists are refilled. Every square in play: no numbers.
  if (!SelectNotation(g, target)) return;
  commands_->setEntryChecked(objectnames::kAlgebraicEntry, target == 0);
  commands_->setEntryChecked(objectnames::kNumericEntry, target == 1);
  commands_->setEntryChecked(objectnames::kNoNotationEntry, target == 2);
  clearDrawing();
  DrawBoard(0);
}

}  // namespace m8
