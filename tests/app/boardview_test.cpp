// The board view: pictures, counters, coordinates, the side-to-move display, the six layouts and the rendered window.
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QStyle>

#include "app/board_mouse.h"
#include "app/dialogs/dlgpdn.h"
#include "app/dialogs_fixture.h"
#include "app/mainwindow/movelistfit.h"
#include "app/window_fixture.h"
#include "core/engine/searchprogress.h"

class BoardViewTest : public QObject {
  Q_OBJECT
 private slots:
  void boardPicturesInBothOrientations() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    BoardView* b = w->board();
    // Medium board, turned (the default): h1 top left, a8 bottom right.
    QCOMPARE(w->state().Opt.BoardTurned, 1);
    QCOMPARE(b->picture(0), 32);   // h1: light square
    QCOMPARE(b->picture(7), 36);   // a1: white man on a dark square
    QCOMPARE(b->picture(63), 32);  // a8: light square
    QCOMPARE(b->picture(62), 35);  // b8: black man
    QCOMPARE(b->picture(24), 31);  // h4: dark and empty
    w->TurnBoard();
    QCOMPARE(w->state().Opt.BoardTurned, 0);
    QCOMPARE(b->picture(56), 36);  // a1 bottom left
    QCOMPARE(b->picture(0), 32);   // a8
    QCOMPARE(b->picture(1), 35);   // b8
    // Coordinates: letters a..h from the left on the normal board.
    const auto& texts = w->surface()->printedTexts();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const FormSurface::PrintedText& t) {
      return t.text == "a" && t.x == 809 - 85 && t.y == 7023;  // Medium at 15 twips per pixel
    }));
    const auto before = texts.size();
    QCOMPARE(before, size_t(16));  // eight letters and eight digits
    w->DrawBoard(0);  // a plain redraw prints the same labels again
    QCOMPARE(w->surface()->printedTexts().size(), before);
    w->TurnBoard();
    w->TurnBoard();
    QCOMPARE(w->surface()->printedTexts().size(), before);
    QCOMPARE(b->picture(56), 36);
  }

  void drawBoardCountsAndNumbers() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    for (int& v : g.board)
      if (v != kOffBoard) v = 0;
    g.board[Cell(*w, "a1")] = 2;
    g.board[Cell(*w, "h8")] = -1;
    g.board[Cell(*w, "f8")] = -1;
    w->DrawBoard(0);
    QCOMPARE(w->topCountLabel()->text(), QStringLiteral("2"));  // black first: black material
    QCOMPARE(w->bottomCountLabel()->text(), QStringLiteral("2"));
    g.Rules.BlackStarts = 0;
    w->DrawBoard(0);
    QCOMPARE(w->topSideLabel()->text(), QStringLiteral("White"));
    QCOMPARE(w->topCountLabel()->text(), QStringLiteral("2"));
    // Numbered notation prints the square numbers along the edges.
    w->setNotation(1);
    QCOMPARE(g.Opt.Notation, 1);
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Checkers")->isChecked());
    const auto& texts = w->surface()->printedTexts();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == "4"; }));
    // The legal moves are listed again in the new notation.
    QVERIFY(w->legalMoves()->count() > 0);
    QCOMPARE(w->legalMoves()->item(0)->text().trimmed().left(1).toInt() > 0, true);
    w->setNotation(0);
    QVERIFY(w->legalMoves()->item(0)->text().at(0).isLetter());
    w->setNotation(2);
    QCOMPARE(g.Opt.Notation, 2);
    QVERIFY(w->commands()->entry("Nonotation")->isChecked());
    QVERIFY(w->legalMoves()->item(0)->text().trimmed().at(0).isDigit());
    // With every square in play the numbered notation is refused.
    g.Rules.PiecesOnBlack = 2;
    w->setNotation(0);
    w->setNotation(1);
    QCOMPARE(g.Opt.Notation, 0);
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Chess")->isChecked());
  }

  void sideToMoveDisplay_data() {
    QTest::addColumn<int>("blackStarts");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("upperWord");
    QTest::addColumn<bool>("upperMarked");
    QTest::addColumn<QString>("status");
    QTest::newRow("black first, white to move") << 1 << 1 << "Black" << false << "White moves";
    QTest::newRow("black first, black to move") << 1 << -1 << "Black" << true << "Black moves";
    QTest::newRow("white first, white to move") << 0 << 1 << "White" << true << "White moves";
  }

  void sideToMoveDisplay() {
    QFETCH(int, blackStarts);
    QFETCH(int, side);
    QFETCH(QString, upperWord);
    QFETCH(bool, upperMarked);
    QFETCH(QString, status);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Rules.BlackStarts = blackStarts;
    g.P.SideToMove = side;
    w->ShowSideToMove();
    QCOMPARE(w->topSideLabel()->text(), upperWord);
    const QColor red(255, 0, 0), white(255, 255, 255);
    QCOMPARE(w->topNameLabel()->palette().color(QPalette::Window), upperMarked ? red : white);
    QCOMPARE(w->topNameLabel()->palette().color(QPalette::WindowText), upperMarked ? white : red);
    QCOMPARE(w->bottomNameLabel()->palette().color(QPalette::Window), upperMarked ? white : red);
    QCOMPARE(w->statusPanel(1)->text(), status);
  }

  void isUserColour() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.UserName = "Ann";
    g.Flow.PlayerName1 = "Ann";
    g.Flow.PlayerName2 = "Computer";
    w->ShowSideToMove();  // black moves first: Ann plays Black
    QCOMPARE(w->IsUserColour("black"), 1);
    QCOMPARE(w->IsUserColour("white"), 0);
    QCOMPARE(w->IsUserColour("Black"), 0);
    g.Flow.PlayerName2 = "Ann";
    w->ShowSideToMove();
    QCOMPARE(w->IsUserColour("white"), 1);
  }

  void clearMoveHighlights() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.P.Ply = 0;
    g.P.PlyStart[0] = 0;
    g.P.PlyStart[1] = 2;
    g.P.MoveList[0].From = Cell(*w, "a1");
    g.P.MoveList[1].From = kNoSquare;
    w->board()->setPicture(Control(*w, "a1"), 0);
    w->ClearMoveHighlights();
    QCOMPARE(w->board()->picture(Control(*w, "a1")), 36);
  }

  void layoutGeometry_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("custom");
    QTest::addColumn<int>("tpp");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("x0");
    QTest::addColumn<int>("y0");
    QTest::addColumn<int>("listTop");
    QTest::addColumn<int>("playedMovesLeft");
    QTest::newRow("Small 12") << 0 << -1 << 12 << 10260 << 7200 << 458 << 456 << 384 << 474 << 1365 << 4540;
    QTest::newRow("Small other") << 0 << -1 << 15 << 11080 << 8200 << 568 << 571 << 374 << 474 << 1425 << 5400;
    QTest::newRow("Medium 12") << 2 << -1 << 12 << 11760 << 8700 << 648 << 648 << 384 << 484 << 1365 << 6040;
    QTest::newRow("Medium other") << 2 << -1 << 15 << 13100 << 10000 << 808 << 811 << 373 << 473 << 1425 << 7320;
    QTest::newRow("Big 12") << 3 << -1 << 12 << 13500 << 10390 << 838 << 839 << 388 << 483 << 1440 << 7740;
    QTest::newRow("Big other") << 3 << -1 << 15 << 15000 << 12100 << 1048 << 1051 << 373 << 473 << 1380 << 9240;
    QTest::newRow("skin, big") << 4 << 1 << 20 << 15000 << 12100 << 1048 << 1051 << 373 << 473 << 1380 << 9240;
    QTest::newRow("skin, small") << 4 << 0 << 12 << 10260 << 7200 << 458 << 456 << 384 << 474 << 1365 << 4540;
  }

  void layoutGeometry() {
    QFETCH(int, code);
    QFETCH(int, custom);
    QFETCH(int, tpp);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, size);
    QFETCH(int, pitch);
    QFETCH(int, x0);
    QFETCH(int, y0);
    QFETCH(int, listTop);
    QFETCH(int, playedMovesLeft);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, tpp);
    w->state().Opt.BoardSizeCode = code;
    w->state().Skin.BoardCustomSize = custom;
    w->ArrangeLayout();
    QCOMPARE(w->layoutOuterSize(), QSize(Px(width, tpp), Px(height, tpp)));
    QCOMPARE(w->size(), w->layoutOuterSize());  // no frame offscreen
    for (int k : {0, 9, 63}) {
      const QRect r = w->board()->squareRect(k);
      QCOMPARE(r.topLeft(), QPoint(Px(x0 + pitch * (k % 8), tpp), Px(y0 + pitch * (k / 8), tpp)));
      QCOMPARE(r.size(), QSize(Px(size, tpp), Px(size, tpp)));
    }
    QCOMPARE(w->playedMoves()->geometry().topLeft(), QPoint(Px(playedMovesLeft, tpp), Px(listTop, tpp)));
    QCOMPARE(w->playedMoves()->property("twips").toRect().topLeft(), QPoint(playedMovesLeft, listTop));
    // The extra-pieces row is hidden for rules without pieces to place.
    QVERIFY(!w->extraPiecesLabel()->isVisibleTo(w.get()));
  }

  void theWindowFitsASmallScreen_data() {
    QTest::addColumn<QRect>("area");  // the free area of the screen
    QTest::addColumn<QString>("skin");
    QTest::addColumn<int>("code");    // the board size taken
    QTest::addColumn<QSize>("outer");
    QTest::newRow("800x600, medium") << QRect(0, 0, 800, 600) << QStringLiteral("Classic Medium") << 0 << QSize(739, 547);
    QTest::newRow("1024x768 with a task bar, big") << QRect(0, 0, 1024, 728) << QStringLiteral("Classic Big") << 2 << QSize(873, 667);
    QTest::newRow("1024x768, medium") << QRect(0, 0, 1024, 768) << QStringLiteral("Classic Medium") << 2 << QSize(873, 667);
    // Nothing fits: the smallest board, its corner on the free area.
    QTest::newRow("640x480 beside a side bar") << QRect(60, 0, 640, 480) << QStringLiteral("Classic Medium") << 0 << QSize(739, 547);
  }

  void theWindowFitsASmallScreen() {
    QFETCH(QRect, area);
    QFETCH(QString, skin);
    QFETCH(int, code);
    QFETCH(QSize, outer);
    QTemporaryDir dir;
    WriteSettings(dir.path(), [&](GameState& g) {
      g.Opt.SkinName = skin.toStdString();
      g.Opt.ConfirmExit = 0;
    });
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) { o.availableGeometry = area; });
    GameState& g = w->state();
    QCOMPARE(g.Opt.BoardSizeCode, code);
    QCOMPARE(w->layoutOuterSize(), outer);
    QCOMPARE(w->board()->squareRect(0).size(), code == 0 ? QSize(38, 38) : QSize(54, 54));
    const QPoint corner(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
                        std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
    QCOMPARE(w->pos(), corner);
    // Said in the status bar, naming both sizes, with no box; the skin
    // chosen stays the user's.
    const bool told = skin != (code == 0 ? "Classic Small" : "Classic Medium");
    QCOMPARE(boxes.messages.size(), 0);
    const QString notice = w->statusPanel(2)->text();
    QCOMPARE(notice.isEmpty(), !told);
    if (told) {
      QVERIFY2(notice.contains("\"" + skin + "\"") &&
                   notice.contains(code == 0 ? "\"Classic Small\"" : "\"Classic Medium\""),
               qPrintable(notice));
    }
    w->ReloadSkin();
    QCOMPARE(g.Opt.BoardSizeCode, code);
    QCOMPARE(boxes.messages.size(), 0);
    QCOMPARE(w->statusPanel(2)->text(), notice);
    QCOMPARE(QString::fromStdString(g.Opt.SkinName), skin);
    w->onExitRequested();
    QVERIFY(ReadFile(dir.path() + "/tavrin.ini").contains("\r\n" + skin.toLatin1() + "\r\n"));
  }

  void extraPiecesRowTakesCommentSpace() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 12);
    w->state().Rules.canContract = 1;
    w->ArrangeLayout();
    QCOMPARE(w->commentBox()->property("twips").toRect(), QRect(6130, 6795, 3615, 655));
    QVERIFY(w->extraPiecesLabel()->isVisibleTo(w.get()));
    QCOMPARE(w->extraBlackCountLabel()->property("twips").toRect().topLeft(), QPoint(7730, 6470));
    w->state().Rules.canContract = 0;
    w->ArrangeLayout();
    QCOMPARE(w->commentBox()->property("twips").toRect(), QRect(6130, 6595, 3615, 855));
    QVERIFY(!w->extraPiecesLabel()->isVisibleTo(w.get()));
  }

  void renderedWindowShowsTheBoard() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15);
    const QImage img = w->grab().toImage();
    auto centre = [&](std::string_view square) {
      const QRect r = w->board()->squareRect(Control(*w, square));
      return img.pixelColor(w->surface()->mapTo(w.get(), r.center()));
    };
    const QColor dark = centre("b4");  // an empty playing square
    QVERIFY2(dark.red() > 80 && dark.red() < 150 && dark.blue() < 80, qPrintable(dark.name()));
    QVERIFY(dark.red() > dark.blue() + 30);
    const QColor whiteMan = centre("a1");
    QVERIFY2(whiteMan.lightness() > 180, qPrintable(whiteMan.name()));
    const QColor blackMan = centre("b8");
    QVERIFY2(blackMan.lightness() < 70, qPrintable(blackMan.name()));
    const QColor light = centre("h1");
    QVERIFY2(light.lightness() > 170 && light.red() > light.blue(), qPrintable(light.name()));
  }

  void drawBoardSeesKingsOnly() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    for (int& v : g.board)
      if (v != kOffBoard) v = 0;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 1);
    QCOMPARE(w->topCountLabel()->text(), QStringLiteral("0"));
    g.board[Cell(*w, "a1")] = 2;
    g.board[Cell(*w, "h8")] = -2;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 1);
    g.board[Cell(*w, "f8")] = -1;
    g.board[Cell(*w, "c1")] = 1;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 0);
    // Square numbers while a button is held: 1..32 on the playing squares.
    w->DrawBoard(1);
    QCOMPARE(w->board()->textsOn(Control(*w, "b8")), QStringList{" 1"});
    QCOMPARE(w->board()->textsOn(Control(*w, "a1")), QStringList{" 29"});
    QVERIFY(w->board()->textsOn(Control(*w, "b1")).isEmpty());
    w->DrawBoard(0);
    QVERIFY(w->board()->textsOn(Control(*w, "b8")).isEmpty());
  }

  // Every line of the three lists readable whole in its list, in every
  // layout: the longest ordinary moves with their crowning and book marks,
  // capture paths that tell two routes to one square apart, and root moves
  // scored with a bound, in lists long enough to need the vertical scroll bar.
  void everyMoveIsReadableWholeInTheMoveLists() {
    const QStringList played = {"   1. c7-b8K",           "      h6xf8Kb", "  12. c3xe5xg3xe1xc3",
                                "      22x13x6x15x24x31", " 123. 32x23b",  "      a1-b2"};
    const QStringList legal = {"c7-b8K", "h6xf8Kb", "22x13", " 1-5Kb", "32x23K", "a1-b2"};
    const QStringList root = {"f6e5  4", QString::fromUtf8("c7b8 \u2264 -78"), QString::fromUtf8("3223 \u2264 1234"),
                              "0913  n/a", "h6f8 -1999"};
    struct Layout {
      int tpp, code;
    };
    for (const Layout& l : {Layout{15, 2}, Layout{12, 2}, Layout{15, 0}, Layout{12, 0}, Layout{15, 3}, Layout{12, 3}}) {
      const QString where = QString("tpp %1 size %2").arg(l.tpp).arg(l.code);
      QTemporaryDir dir;
      Boxes boxes;
      auto w = Start(dir.path(), boxes, l.tpp);
      GameState& g = w->state();
      g.Opt.BoardSizeCode = l.code;
      w->ArrangeLayout();
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
      g.Driver.MoveListCount = 48;
      for (int i = 0; i < g.Driver.MoveListCount; ++i) g.Driver.MoveListLines[i] = played[i % played.size()].toStdString();
      g.Driver.MoveListSelected = 0;
      g.Driver.LegalMoveLines.clear();
      g.Driver.RootScoreLines.clear();
      for (int i = 0; i < 48; ++i) {
        g.Driver.LegalMoveLines.push_back(legal[i % legal.size()].toStdString());
        g.Driver.RootScoreLines.push_back(root[i % root.size()].toStdString());
      }
      for (View v : {View::MoveList, View::LegalMoves, View::RootScores}) w->host().refresh(v);
      QCoreApplication::processEvents();

      const std::pair<QListWidget*, const QStringList*> lists[] = {
          {w->playedMoves(), &played}, {w->legalMoves(), &legal}, {w->rootMoves(), &root}};
      for (const auto& [list, lines] : lists) {
        const QString which = where + " " + list->objectName();
        QVERIFY2(list->verticalScrollBar()->isVisible(), qPrintable(which));
        QVERIFY2(!list->horizontalScrollBar()->isVisible(), qPrintable(which));
        const QFontMetrics fm(list->font());
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        QCOMPARE(list->count(), 48);
        for (int i = 0; i < list->count(); ++i) {
          const QString text = list->item(i)->text();
          for (const QString& shown : text.split('\n'))
            QVERIFY2(fm.horizontalAdvance(shown) + 2 * margin <= list->viewport()->width(),
                     qPrintable(which + ": " + shown));
          // A line too long for the column goes on under the move, indented
          // as its list indents.
          const QString indent = list == w->playedMoves() ? "\n      " : "\n  ";
          QCOMPARE(QString(text).replace(indent, ""), lines->at(i % lines->size()));
        }
      }
    }
  }

  // No list sets its text smaller than the played moves may go: a line too
  // long for its column at that size is cut and goes on under the move.
  // Pool captures and their root scores in the narrow columns of every
  // layout, the small one on an 800 x 600 screen as a user has it.
  void noListTextBelowThePlayedMovesSize() {
    // The smallest size of the played moves; a single mark wider than the
    // list is the only reason to go below it, and no move here has one.
    constexpr double kReadablePoints = 9.0;
    const QStringList played = {"   1. c3-d4", "      f6-g5", "  12. c1xa3xc5xe7", "      h8xf6"};
    const QStringList legal = {"c1xa3xc5xe7", "c1xa3xc5", "c1xa3", "g1-h2"};
    const QStringList root = {QString::fromUtf8("c1e7 \u2264 -78"), "c1c5  12", "c1a3 -1999", "g1h2  n/a"};
    struct Layout {
      const char* skin;
      int tpp;
    };
    for (const Layout& l : {Layout{"Classic Medium", 15}, Layout{"Classic Medium", 12}, Layout{"Classic Big", 15},
                            Layout{"Classic Big", 12}}) {
      for (const QRect& area : {QRect(0, 0, 800, 600), QRect(0, 0, 1920, 1200)}) {
        const QString where = QString("%1 tpp %2 on %3x%4").arg(l.skin).arg(l.tpp).arg(area.width()).arg(area.height());
        QTemporaryDir dir;
        WriteSettings(dir.path(), [&](GameState& g) { g.Opt.SkinName = l.skin; });
        Boxes boxes;
        auto w = Start(dir.path(), boxes, l.tpp, [&](MainWindowOptions& o) { o.availableGeometry = area; });
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
        GameState& g = w->state();
        g.Driver.MoveListCount = 40;
        for (int i = 0; i < g.Driver.MoveListCount; ++i) g.Driver.MoveListLines[i] = played[i % played.size()].toStdString();
        g.Driver.MoveListSelected = 0;
        g.Driver.LegalMoveLines.clear();
        g.Driver.RootScoreLines.clear();
        for (int i = 0; i < 4; ++i) {
          g.Driver.LegalMoveLines.push_back(legal[i].toStdString());
          g.Driver.RootScoreLines.push_back(root[i].toStdString());
        }
        for (View v : {View::MoveList, View::LegalMoves, View::RootScores}) w->host().refresh(v);
        QCoreApplication::processEvents();
        for (QListWidget* list : {w->playedMoves(), w->legalMoves(), w->rootMoves()}) {
          const QString which = where + " " + list->objectName();
          QVERIFY2(list->font().pointSizeF() >= kReadablePoints - 1e-6,
                   qPrintable(which + QString(": %1 pt").arg(list->font().pointSizeF())));
          const QFontMetrics fm(list->font());
          const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
          for (int i = 0; i < list->count(); ++i)
            for (const QString& shown : list->item(i)->text().split('\n'))
              QVERIFY2(fm.horizontalAdvance(shown) + 2 * margin <= list->viewport()->width(),
                       qPrintable(which + ": " + shown));
        }
        // The longest capture, where it is cut, is cut after a capture mark,
        // never inside a square.
        const QString cut = w->legalMoves()->item(0)->text();
        QCOMPARE(QString(cut).replace("\n  ", ""), legal[0]);
        static const QRegularExpression squares("^([a-h][1-8]x)*[a-h][1-8]x?$");
        for (const QString& row : cut.split('\n'))
          QVERIFY2(squares.match(row.trimmed()).hasMatch(), qPrintable(where + ": " + row));
      }
    }
  }

  // A Russian position whose man captures five times by two routes, opened
  // as a game: in every layout each route reads whole in the legal-move list
  // and the lists never scroll sideways; the root list takes the lines the
  // search writes for these moves.
  void longCapturesReadWholeInEveryLayout() {
    struct Layout {
      int tpp, code;
    };
    for (const Layout& l : {Layout{15, 0}, Layout{12, 0}, Layout{15, 2}, Layout{12, 2}, Layout{15, 3}, Layout{12, 3}}) {
      const QString where = QString("tpp %1 size %2").arg(l.tpp).arg(l.code);
      QTemporaryDir dir;
      CopyShipped("variants", dir.path());
      const QString pdn = dir.path() + "/long.pdn";
      WriteFile(pdn, "[Event \"Long\"]\n[GameType \"25\"]\n[FEN \"W:Wc1:Bb2,d2,b4,d4,d6,f6,h8,f8\"]\n\n*\n");
      Boxes boxes;
      auto w = Start(dir.path(), boxes, l.tpp, [&](MainWindowOptions& o) {
        o.fileDialog = [pdn](const QString&, const QString&, bool) { return pdn; };
      });
      GameState& g = w->state();
      g.Opt.BoardSizeCode = l.code;
      w->ArrangeLayout();
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
      const auto answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* c) {
        c->gamesList()->setCurrentItem(c->gamesList()->topLevelItem(0));
        c->findChild<QPushButton*>("OKButton")->click();
      });
      w->onOpenRequested();
      QCOMPARE(QString::fromStdString(g.Variant.LoadedVariantName), QStringLiteral("Russian Checkers"));
      const std::vector<std::string> legal = g.Driver.LegalMoveLines;
      QVERIFY2(legal.size() >= 2, qPrintable(where));
      QVERIFY2(std::any_of(legal.begin(), legal.end(), [](const std::string& m) { return m.size() >= 14; }),
               qPrintable(where + ": " + QString::fromStdString(legal[0])));
      // The search's lines for the same moves, one an upper bound.
      const int first = g.P.PlyStart[g.P.Ply];
      for (int i = 0; i < static_cast<int>(legal.size()); ++i) {
        g.Driver.RootScores[0][i] = g.P.MoveList[first + i].From;
        g.Driver.RootScores[1][i] = g.P.MoveList[first + i].To;
        g.Driver.RootScores[2][i] = i == 0 ? -1999 : 1234;
        g.Driver.RootScores[kRootScoreBoundRow][i] = i == 0 ? 1 : 0;
      }
      ListRootMoveScores(g);
      QCoreApplication::processEvents();

      const std::pair<QListWidget*, const std::vector<std::string>*> lists[] = {
          {w->legalMoves(), &legal}, {w->rootMoves(), &g.Driver.RootScoreLines}};
      for (const auto& [list, lines] : lists) {
        const QString which = where + " " + list->objectName();
        QVERIFY2(!list->horizontalScrollBar()->isVisible(), qPrintable(which));
        QVERIFY2(list->font().pointSizeF() >= 9.0 - 1e-6, qPrintable(which));
        const QFontMetrics fm(list->font());
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        QCOMPARE(list->count(), static_cast<int>(lines->size()));
        QStringList shownTexts;
        for (int i = 0; i < list->count(); ++i) {
          const QString text = list->item(i)->text();
          const QStringList rows = text.split('\n');
          for (const QString& shown : rows)
            QVERIFY2(fm.horizontalAdvance(shown) + 2 * margin <= list->viewport()->width(),
                     qPrintable(which + ": " + shown));
          // A line cut for the column goes on indented, in a font that reads
          // well.
          if (rows.size() > 1) QVERIFY2(list->font().pointSizeF() >= 9.0 - 1e-6, qPrintable(which));
          QCOMPARE(QString(text).replace("\n  ", ""), QString::fromStdString(lines->at(i)));
          QCOMPARE(list->item(i)->toolTip(), QString::fromStdString(lines->at(i)).trimmed());
          shownTexts << text;
        }
        if (list == w->legalMoves()) QCOMPARE(shownTexts.removeDuplicates(), 0);  // the routes told apart
      }
    }
  }

  void playedMoveListHasNoSidewaysScrollBar() {
    for (int tpp : {12, 15}) {
      QTemporaryDir dir;
      Boxes boxes;
      auto w = Start(dir.path(), boxes, tpp);
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
      GameState& g = w->state();
      for (int i = 0; i < 40; ++i)
        g.Driver.MoveListLines[i] = i % 2 ? "     23x14x5K" : QString("%1. 11-15").arg(i / 2 + 1, 2).toStdString();
      g.Driver.MoveListCount = 40;
      g.Driver.MoveListSelected = 39;
      w->host().refresh(View::MoveList);
      QCoreApplication::processEvents();
      QVERIFY(w->playedMoves()->verticalScrollBar()->isVisible());
      QVERIFY(!w->playedMoves()->horizontalScrollBar()->isVisible());
      QCOMPARE(w->playedMoves()->item(1)->toolTip(), QStringLiteral("23x14x5K"));  // a move cut short is read whole here
    }
  }

  // A root move scored with a bound keeps the bound's mark with its number
  // wherever its line is cut: at every width of the column, from one too
  // narrow for any move to one with room for all.
  void aBoundStaysWithItsNumberWhereverTheLineIsCut() {
    const QString bound = QString(QChar(0x2264));
    const QStringList root = {"c1xa3xc5xe7 " + bound + " -1999", "3223 " + bound + " 1234", "f6e5  4",
                              "c7b8 " + bound + " -78", "g1h2  n/a"};
    QListWidget list;
    list.addItems(root);
    int cut = 0;
    for (int width = 40; width <= 260; width += 2) {
      list.resize(width, 400);
      FitMoveList(&list, MoveListKind::RootScores);
      for (int i = 0; i < list.count(); ++i) {
        const QString text = list.item(i)->text();
        const QString where = QString("%1 px: \"%2\"").arg(width).arg(text);
        // Nothing is lost, and a cut line goes on indented.
        QCOMPARE(QString(text).replace("\n  ", ""), root[i]);
        cut += static_cast<int>(text.count('\n'));
        for (const QString& row : text.split('\n')) {
          const qsizetype at = row.indexOf(bound);
          if (at < 0) continue;
          const QString rest = row.mid(at + 1);
          QVERIFY2(rest.size() >= 2 && rest[0] == ' ' && (rest[1].isDigit() || rest[1] == '-'), qPrintable(where));
        }
      }
    }
    QVERIFY(cut > 0);  // the widths did call for cuts
  }
};

QTEST_MAIN(BoardViewTest)
#include "boardview_test.moc"
