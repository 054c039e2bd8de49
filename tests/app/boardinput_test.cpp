// Moves entered in the window: dragged on the board, typed into the move box
// and double-clicked in the move lists; the refusals and their reasons, touch
// move, the computer's reply and input kept out while the computer thinks.
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <string_view>

#include "app/board_mouse.h"
#include "app/window_fixture.h"
#include "core/game/boardmouse.h"
#include "core/game/gamesetup.h"
#include "core/rules/movegen.h"

namespace {

std::unique_ptr<MainWindow> StartMode(QTemporaryDir& dir, Boxes& boxes, int playMode, int depthMode = 1) {
  WriteSettings(dir.path(), [&](GameState& g) {
    g.Opt.PlayMode = playMode;
    g.Opt.DepthMode = depthMode;
    g.Opt.SearchDepth = 2;
    g.Opt.SearchTime = 1;
    g.Opt.UseBook = 0;
    g.Opt.ConfirmExit = 0;
    g.Opt.ShowMoves = 1;
    g.Opt.Notation = 1;
  });
  return Start(dir.path(), boxes);
}

QStringList Lines(QListWidget* l) {
  QStringList out;
  for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
  return out;
}

// Digits of a position given by square names: 1/2 white/black man, 3/4 white/black king.
std::string Digits(std::initializer_list<std::pair<const char*, char>> pieces) {
  GameState board;  // the standard board: its squares numbered from Black's side
  std::string s(64, '0');
  for (auto [name, piece] : pieces) {
    const int cell = CellOf(board, name);
    s[(cell / 10 - 2) * 8 + (cell % 10 - 1)] = piece;
  }
  return s;
}

// A new game from the position, Black to move.
void SetUp(MainWindow& w, const std::string& digits) { SetUpPosition(w, digits, -1); }

void Type(MainWindow& w, const QString& text) {
  w.moveBox()->setText(text);
  QTest::keyClick(w.moveBox(), Qt::Key_Return);
}

}  // namespace

class BoardInputTest : public QObject {
  Q_OBJECT
 private slots:
  void shortGameByDragBetweenPlayers() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    QCOMPARE(g.Opt.BoardTurned, 1);
    QVERIFY(w->moveBox()->isEnabled());
    QVERIFY(w->playMoveButton()->isEnabled());
    Drag(*w, "11", "15");
    Drag(*w, "22", "18");
    Drag(*w, "15", "22");
    Drag(*w, "25", "18");
    QCOMPARE(boxes.messages, QStringList());
    QCOMPARE(g.P.GamePly, 4);
    QCOMPARE(Lines(w->playedMoves()), QStringList({"   1. 11-15", "      22-18", "   2. 15x22", "      25x18"}));
    QCOMPARE(w->playedMoves()->currentRow(), 3);
    QCOMPARE(g.board[Cell(*w, "18")], 1);
    QCOMPARE(g.board[Cell(*w, "22")], 0);
    QCOMPARE(g.board[Cell(*w, "15")], 0);
    QCOMPARE(QString::fromStdString(g.Game.GameRecord[2][1]), QStringLiteral("2518 25x18"));
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Player-Player mode"));
    QVERIFY(w->legalMoves()->count() > 0);  // the next player's moves
    QCOMPARE(w->board()->picture(Control(*w, "18")), w->board()->picture(Control(*w, "29")));
    QVERIFY(w->board()->cursor().shape() != Qt::BitmapCursor);

    // A game that ends by a drag: the last white man is taken.
    SetUp(*w, Digits({{"11", '2'}, {"22", '1'}}));
    Drag(*w, "11", "15");
    Drag(*w, "22", "18");
    Drag(*w, "15", "22");
    QCOMPARE(g.Flow.GameOver, 1);
    QVERIFY(boxes.messages.contains("Congratulations|Black wins!"));
    const int shown = boxes.messages.size();
    Drag(*w, "22", "25");  // nothing moves once the game is over
    QCOMPARE(g.P.GamePly, 3);
    QCOMPARE(boxes.messages.size(), shown);
  }

  void refusedPickUpsAndDrops_data() {
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("kingCapMove");
    QTest::addColumn<QString>("message");
    const auto d = [](std::initializer_list<std::pair<const char*, char>> p) {
      return QString::fromStdString(Digits(p));
    };
    QTest::newRow("must jump") << d({{"15", '2'}, {"18", '1'}, {"8", '2'}}) << QString("15") << QString("19") << 0
                               << "Error|Illegal move: you need to jump";
    // Every move listed, as the game-over test leaves them: the man may be
    // picked up, but kings capture first.
    QTest::newRow("jump that way") << d({{"8", '4'}, {"11", '1'}, {"10", '2'}, {"14", '1'}})
                                   << QString("10") << QString("17") << 1
                                   << "Error|Illegal move: you cannot jump that way";
    QTest::newRow("occupied") << d({{"11", '2'}, {"15", '2'}, {"25", '1'}}) << QString("11") << QString("15") << 0
                              << "Error|Illegal move: that square is not empty";
    QTest::newRow("plain") << d({{"11", '2'}, {"25", '1'}})
                           << QString("11") << QString("19") << 0 << "Error|Illegal move";
    QTest::newRow("wrong side") << d({{"11", '2'}, {"25", '1'}})
                                << QString("25") << QString("22") << 0 << "Error|Black moves";
    QTest::newRow("no move") << d({{"4", '2'}, {"8", '2'}, {"11", '1'}, {"15", '2'}, {"25", '1'}})
                             << QString("4") << QString("8") << 0
                             << "Error|You cannot move that piece";
  }
  void refusedPickUpsAndDrops() {
    QFETCH(QString, digits);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, kingCapMove);
    QFETCH(QString, message);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    g.Rules.KingCapMove = kingCapMove;
    SetUp(*w, digits.toStdString());
    if (kingCapMove == 1) {
      ResetPly(g);
      GenerateMoves(g, 1);
    }
    const Board before = g.board;
    Drag(*w, from.toStdString(), to.toStdString());
    QCOMPARE(boxes.messages, QStringList({message}));
    QVERIFY(g.board == before);
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(w->playedMoves()->count(), 0);
    QCOMPARE(g.Flow.FromSquare, -1);
    // The piece is shown on its square again.
    const int k = Control(*w, from.toStdString());
    const int piece = g.board[Cell(*w, from.toStdString())];
    QCOMPARE(w->board()->picture(k),
             PictureIndex(StyleFromSizeCode(g.Opt.BoardSizeCode),
                          piece == -1   ? SquareContent::BlackMan
                          : piece == -2 ? SquareContent::BlackKing
                                                : SquareContent::WhiteMan,
                          true));
  }

  void dropsThatCancelAndPressesThatShowNumbers() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    Drag(*w, "11", "11");  // back on its own square
    QCOMPARE(g.P.GamePly, 0);
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(g.Flow.FromSquare, -1);
    BoardView* b = w->board();
    const QPoint off = Centre(*w, "11") + QPoint(0, 20 * b->squareRect(0).height());
    Send(b, QEvent::MouseMove, Centre(*w, "11"), Qt::NoButton, Qt::NoButton);
    Send(b, QEvent::MouseButtonPress, Centre(*w, "11"), Qt::LeftButton, Qt::LeftButton);
    Send(b, QEvent::MouseMove, off, Qt::NoButton, Qt::LeftButton);  // far off the board
    Send(b, QEvent::MouseButtonRelease, off, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(g.P.GamePly, 0);
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(g.board[Cell(*w, "11")], -1);

    // A press on an empty square shows the square numbers until the release.
    const int empty = Control(*w, "18");
    Send(b, QEvent::MouseButtonPress, Centre(*w, "18"), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(g.Flow.NumbersShown, 1);
    QVERIFY(!b->textsOn(empty).isEmpty());
    Send(b, QEvent::MouseButtonRelease, Centre(*w, "18"), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(g.Flow.NumbersShown, 0);
    QVERIFY(b->textsOn(empty).isEmpty());
  }

  void movablePiecesAndTargetsAreFramed() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    BoardView* b = w->board();
    const QColor yellow(0xFF, 0xFF, 0x00);
    const auto framed = [&] {
      QList<int> cells;
      for (int k = 0; k < 64; ++k)
        if (!b->framesOn(k).isEmpty()) cells << w->CellOfSquare(k);
      std::sort(cells.begin(), cells.end());
      return cells;
    };
    // The first pointer movement frames Black's four movable men, once.
    Send(b, QEvent::MouseMove, Centre(*w, "18"), Qt::NoButton, Qt::NoButton);
    QCOMPARE(framed(), QList<int>({72, 74, 76, 78}));
    QCOMPARE(b->framesOn(Control(*w, "11")), QList<QColor>({yellow}));
    QCOMPARE(g.BoardShown.MovesHighlighted, 1);
    QCOMPARE(g.Flow.HoverSquare, -1);  // nothing movable under the pointer yet
    Send(b, QEvent::MouseMove, Centre(*w, "11"), Qt::NoButton, Qt::NoButton);
    QCOMPARE(g.Flow.HoverCell, 76);
    QCOMPARE(b->framesOn(Control(*w, "9")).size(), 1);  // not drawn again

    // Picking up 11 keeps its own frame, takes the others' away and frames
    // its two targets; the pointer carries the piece.
    Send(b, QEvent::MouseButtonPress, Centre(*w, "11"), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(framed(), QList<int>({65, 67, 76}));
    QCOMPARE(b->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(g.Flow.DragStarted, 0);
    // One square left and one up on the turned board: from 76 to 67.
    const QPoint left = Centre(*w, "11") - QPoint(b->squareRect(0).width(), b->squareRect(0).height());
    Send(b, QEvent::MouseMove, left, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(g.Flow.DragStarted, 1);
    QVERIFY(g.Flow.DragX < 0);  // twips from the held square's corner
    Send(b, QEvent::MouseButtonRelease, left, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(g.board[Cell(*w, "16")], -1);
    QCOMPARE(b->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(g.Flow.DragX, 0);

    // Without the option nothing is framed.
    g.Opt.ShowMoves = 0;
    g.BoardShown.MovesHighlighted = 0;
    w->DrawBoard(0);
    Send(b, QEvent::MouseMove, Centre(*w, "22"), Qt::NoButton, Qt::NoButton);
    Send(b, QEvent::MouseButtonPress, Centre(*w, "22"), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(framed(), QList<int>());
    QCOMPARE(g.BoardShown.MovesHighlighted, 0);
    Send(b, QEvent::MouseButtonRelease, Centre(*w, "22"), Qt::LeftButton, Qt::NoButton);
    QVERIFY(boxes.messages.isEmpty());
  }

  void rightButtonOpensTheSetUpPopup() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    g.Opt.ShowMoves = 0;
    BoardView* b = w->board();
    QMenu* popup = w->setupPopup();
    QVERIFY(popup);
    // The popup is answered as soon as it is up: a white man on the square.
    bool answered = false;
    QTimer::singleShot(0, popup, [popup, &answered] {
      answered = true;
      popup->findChild<QAction*>("Whitechecker")->trigger();
      popup->close();
    });
    Send(b, QEvent::MouseButtonPress, Centre(*w, "18"), Qt::RightButton, Qt::RightButton);
    QCOMPARE(g.Flow.RightPressSquare, Control(*w, "18"));
    // Until the right button is released every press is ignored.
    Send(b, QEvent::MouseButtonPress, Centre(*w, "11"), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(g.Flow.FromSquare, -1);
    Send(b, QEvent::MouseButtonRelease, Centre(*w, "18"), Qt::RightButton, Qt::NoButton);
    QCOMPARE(g.Flow.RightPressSquare, -1);
    QVERIFY(answered);
    QCOMPARE(g.board[Cell(*w, "18")], 1);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers (M)"));
    QVERIFY(boxes.messages.isEmpty());
  }

  void aClickAfterACancelledDragMovesNothing() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    BoardView* b = w->board();
    // 12 dragged one step beyond the edge of the board, where 11 would
    // land on 16: the drag is cancelled.
    const QPoint step = Centre(*w, "16") - Centre(*w, "11");
    const QPoint from = Centre(*w, "12"), off = from + step;
    Send(b, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    Send(b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Send(b, QEvent::MouseMove, from + step / 2, Qt::NoButton, Qt::LeftButton);
    Send(b, QEvent::MouseMove, off, Qt::NoButton, Qt::LeftButton);
    Send(b, QEvent::MouseButtonRelease, off, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.Flow.FromSquare, -1);
    // A plain click on 11: pressed and released on its square, no movement.
    const QPoint eleven = Centre(*w, "11");
    Send(b, QEvent::MouseButtonPress, eleven, Qt::LeftButton, Qt::LeftButton);
    Send(b, QEvent::MouseButtonRelease, eleven, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.board[Cell(*w, "11")], -1);
    QCOMPARE(g.board[Cell(*w, "16")], 0);
    QCOMPARE(g.Flow.FromSquare, -1);
    QVERIFY(boxes.messages.isEmpty());
    // A real drag still plays.
    Drag(*w, "11", "16");
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(g.board[Cell(*w, "16")], -1);
  }

  void aRightClickDuringADragKeepsTheDrag() {
    // With the movable pieces framed the right press is ignored; without,
    // it is noted as the start of a set-up click. Either way the drag goes on.
    for (const int showMoves : {1, 0}) {
      QTemporaryDir dir;
      Boxes boxes;
      auto w = StartMode(dir, boxes, 1);
      GameState& g = w->state();
      g.Opt.ShowMoves = showMoves;
      // Black man a5 takes b4, landing on c3; a white man on e1 plays on.
      SetUp(*w, Digits({{"a5", '2'}, {"b4", '1'}, {"e1", '1'}}));
      BoardView* b = w->board();
      const QPoint from = Centre(*w, "a5"), to = Centre(*w, "c3"), half = (from + to) / 2;
      Send(b, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
      Send(b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
      Send(b, QEvent::MouseMove, half, Qt::NoButton, Qt::LeftButton);
      Send(b, QEvent::MouseButtonPress, half, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
      Send(b, QEvent::MouseButtonRelease, half, Qt::RightButton, Qt::LeftButton);
      Send(b, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
      Send(b, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
      QCOMPARE(boxes.messages, QStringList());
      QCOMPARE(g.P.GamePly, 1);
      QCOMPARE(g.board[Cell(*w, "c3")], -1);
      QCOMPARE(g.board[Cell(*w, "b4")], 0);
      QCOMPARE(g.board[Cell(*w, "a5")], 0);
    }
  }

  void touchMoveKeepsTheTouchedPiece() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    g.Opt.TouchMove = 1;
    Drag(*w, "11", "11");  // touched, put back
    QCOMPARE(g.P.TouchedSquare, 76);
    Drag(*w, "12", "16");  // another piece: refused
    QCOMPARE(boxes.messages, QStringList({"Error|Illegal move"}));
    QCOMPARE(g.P.GamePly, 0);
    Drag(*w, "11", "16");
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(g.P.TouchedSquare, 0);
    Drag(*w, "22", "18");  // the other side touches afresh
    QCOMPARE(g.P.GamePly, 2);
  }

  void typedMovesInBothNotations() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    QCOMPARE(g.Opt.Notation, 1);
    Type(*w, "11-15");
    QCOMPARE(w->moveBox()->text(), QString());
    w->setNotation(0);
    Type(*w, "c3-d4");
    w->moveBox()->setText("E5XC3");
    QTest::mouseClick(w->playMoveButton(), Qt::LeftButton);
    w->setNotation(1);
    Type(*w, "25x18");
    QCOMPARE(boxes.messages, QStringList());
    QCOMPARE(g.P.GamePly, 4);
    // The stored moves follow the notation.
    QCOMPARE(Lines(w->playedMoves()), QStringList({"   1. 11-15", "      22-18", "   2. 15x22", "      25x18"}));
    // Bad texts: a message, an empty box and nothing else.
    // Squares in the other notation also say which notation is in use.
    for (const char* bad : {"", "zz", "11-15", "C3 D4", "\xc3\xa9\xc3\xa9-99"}) {
      Type(*w, QString::fromUtf8(bad));
      QCOMPARE(w->moveBox()->text(), QString());
      const QString expected = std::string_view(bad) == "C3 D4"
                                   ? QStringLiteral("Error|Illegal move: the board is in numbered notation (as 9-14)")
                                   : QStringLiteral("Error|Illegal move");
      QCOMPARE(boxes.messages.last(), expected);
      QVERIFY(w->moveBox()->isEnabled());
    }
    QCOMPARE(g.P.GamePly, 4);
    QCOMPARE(w->playedMoves()->count(), 4);
  }

  void listDoubleClicksPlayTheirMoves() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 1);
    GameState& g = w->state();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    QListWidget* legal = w->legalMoves();
    QVERIFY(legal->count() > 0);
    const QString first = legal->item(0)->text();
    w->moveBox()->setText("leftover");
    const QPoint at = legal->visualItemRect(legal->item(0)).center();
    QTest::mouseClick(legal->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(legal->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(w->playedMoves()->item(0)->text(), "   1. " + first);
    QCOMPARE(w->moveBox()->text(), QString());
    QVERIFY(legal->count() > 0);  // the other side's moves now
    QVERIFY(legal->item(0)->text() != first);
    QVERIFY(boxes.messages.isEmpty());
  }

  void computerRepliesToADraggedMove() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 0);
    GameState& g = w->state();
    const QString user = QString::fromStdString(g.Opt.UserName);
    QCOMPARE(w->topNameLabel()->text(), user);  // beside Black, who starts
    Drag(*w, "11", "15");
    QCOMPARE(g.P.GamePly, 2);
    QCOMPARE(QString::fromStdString(g.Game.GameRecord[1][2]), QStringLiteral("2"));
    QCOMPARE(QString::fromStdString(g.Game.GameRecord[1][3]), QStringLiteral("1"));
    QCOMPARE(w->playedMoves()->count(), 2);
    QCOMPARE(g.Flow.Busy, 0);
    QCOMPARE(g.P.SideToMove, -1);
    QCOMPARE(w->topNameLabel()->text(), user);  // the names keep their sides
    QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Computer"));
    QVERIFY(w->legalMoves()->count() > 0);
    QVERIFY(w->legalMoves()->isEnabled());
    QVERIFY(w->moveBox()->isEnabled());
    // A typed move gets its reply too.
    Type(*w, w->legalMoves()->item(0)->text());
    QCOMPARE(g.P.GamePly, 4);

    // A root move of the computer's search played in place of its move: the
    // user is to move again and no reply follows.
    QListWidget* roots = w->rootMoves();
    QVERIFY(roots->count() > 1);
    QVERIFY(roots->isEnabled());
    const int row = roots->count() - 1;
    const int from = g.Driver.RootScores[0][row], to = g.Driver.RootScores[1][row];
    w->onRootMoveActivated(row);
    QCOMPARE(g.P.GamePly, 4);
    QCOMPARE(g.P.SideToMove, -1);
    QCOMPARE(g.Rating.RatedGame, 0);
    QCOMPARE(w->playedMoves()->count(), 4);
    QCOMPARE(g.Game.GameMoves[4].From, from);
    QCOMPARE(g.Game.GameMoves[4].To, to);
    QCOMPARE(w->topNameLabel()->text(), user);
    QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Computer"));
    QVERIFY(boxes.messages.isEmpty());
  }

  void inputWaitsWhileTheComputerThinks() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartMode(dir, boxes, 0, 0);  // one second per move
    GameState& g = w->state();
    int busySeen = 0, listedDuring = -1;
    // Tried once the computer's search has begun.
    wait_test::Poll during([&] {
      if (g.Flow.Busy != 1 || g.Search.Nodes == 0) return false;
      busySeen = g.Flow.Busy;
      listedDuring = w->playedMoves()->count();
      Drag(*w, "8", "11");
      w->moveBox()->setText("12-16");
      w->EnterTypedMove(13);
      w->onBoardPress(Control(*w, "4"), 1);
      return true;
    });
    Drag(*w, "11", "15");
    QCOMPARE(busySeen, 1);
    QCOMPARE(listedDuring, 1);
    QCOMPARE(g.P.GamePly, 2);
    QCOMPARE(g.Flow.FromSquare, -1);
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(g.board[Cell(*w, "11")], 0);  // 8-11 was not played
  }
};

QTEST_MAIN(BoardInputTest)
#include "boardinput_test.moc"
