// A piece dropped on a square that two captures of different pieces reach:
// the window asks which one with a small popup, plays the chosen one, and
// plays nothing when the popup is dismissed.
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <memory>

#include "app/board_mouse.h"
#include "app/window_fixture.h"
#include "core/game/gamesetup.h"

namespace {

// American: white men a1 and c3, black men b4, d4, b6, d6 and h8, white to
// move: c3 reaches c7 over b4 and b6 or over d4 and d6.
void SetUpTwoRoutes(MainWindow& w) {
  SetUpPosition(w, "1000000000000000001000000202000000000000020200000000000000000002", 1);
}

// A game of two players (no computer reply) without the book, the squares
// named in `notation` (0 algebraic, 1 numbered).
std::unique_ptr<MainWindow> StartTwoPlayers(QTemporaryDir& dir, Boxes& boxes, int notation) {
  WriteSettings(dir.path(), [notation](GameState& g) {
    g.Opt.PlayMode = 1;
    g.Opt.UseBook = 0;
    g.Opt.ConfirmExit = 0;
    g.Opt.Notation = notation;
  });
  return Start(dir.path(), boxes);
}

// Answers the capture popup as soon as it is up, while the returned poll
// lives: the entry whose text begins with `wanted`, or none (dismissed) when
// `wanted` is empty. `seen` receives the entries offered.
[[nodiscard]] std::unique_ptr<wait_test::Poll> AnswerPopup(const QString& wanted, QStringList* seen) {
  return std::make_unique<wait_test::Poll>([wanted, seen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return false;
    QAction* chosen = nullptr;
    for (QAction* a : menu->actions()) {
      if (a->isSeparator() || !a->data().isValid()) continue;
      *seen << a->text();
      if (!wanted.isEmpty() && a->text().startsWith(wanted)) chosen = a;
    }
    if (chosen)
      chosen->trigger();
    menu->close();
    return true;
  });
}

}  // namespace

class CaptureChoiceTest : public QObject {
  Q_OBJECT
 private slots:
  void dropOnASquareOfTwoCapturesAsks() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartTwoPlayers(dir, boxes, 0);
    GameState& g = w->state();
    SetUpTwoRoutes(*w);

    // Dismissed: nothing is played, the pieces stand as they stood.
    QStringList offered;
    auto answer = AnswerPopup(QString(), &offered);
    Drag(*w, "c3", "c7");
    offered.sort();
    QCOMPARE(offered, QStringList({"c3xa5xc7  takes b4, b6", "c3xe5xc7  takes d4, d6"}));
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.board[Cell(*w, "c3")], 1);
    QCOMPARE(g.board[Cell(*w, "c7")], 0);
    QCOMPARE(boxes.messages, QStringList());
    QCOMPARE(g.Flow.FromSquare, -1);

    // Chosen: the capture over d4 and d6, the second one found.
    offered.clear();
    answer = AnswerPopup("c3xe5xc7", &offered);
    Drag(*w, "c3", "c7");
    QCOMPARE(offered.size(), 2);
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(g.board[Cell(*w, "c7")], 1);
    QCOMPARE(g.board[Cell(*w, "d4")], 0);
    QCOMPARE(g.board[Cell(*w, "d6")], 0);
    QCOMPARE(g.board[Cell(*w, "b4")], -1);
    QCOMPARE(g.board[Cell(*w, "b6")], -1);
    QCOMPARE(w->playedMoves()->item(0)->text(), QStringLiteral("   1. c3xe5xc7"));
    QCOMPARE(boxes.messages, QStringList());
  }

  // A single jump that goes where a longer capture goes: dropped, the popup
  // offers both; the jump chosen is played, and the popup does not come
  // back for it.
  void singleJumpChosenInThePopupIsPlayedOnce() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartTwoPlayers(dir, boxes, 1);
    GameState& g = w->state();
    // Black king on 10 (d6): 10x1 over 6, or the loop 10x19x26x17x10x1.
    SetUpPosition(*w, "0000400000000000001010200000000140301000000400000030001000000000", -1);

    // Answers every popup that comes up with "10x1"; after three it gives
    // up (dismisses), so that a popup that keeps coming back ends.
    int popups = 0;
    QStringList offered;
    QPointer<QMenu> last;
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu || menu == last) return;
      last = menu;
      ++popups;
      QAction* chosen = nullptr;
      for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->data().isValid()) continue;
        if (popups == 1) offered << a->text();
        if (popups <= 3 && a->text().startsWith("10x1  ")) chosen = a;
      }
      if (chosen) chosen->trigger();
      menu->close();
    });
    answer.start();
    Drag(*w, "10", "1");
    answer.stop();
    QCOMPARE(offered.size(), 2);
    QVERIFY(offered.contains("10x1  takes 6"));
    QVERIFY(offered.filter("10x19x26x17x10x1  takes ").size() == 1);
    QCOMPARE(popups, 1);
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(g.board[Cell(*w, "1")], -2);  // the king on 1
    QCOMPARE(g.board[Cell(*w, "6")], 0);   // 6 taken
    QCOMPARE(w->playedMoves()->item(0)->text(), QStringLiteral("   1. 10x 1"));
    QCOMPARE(boxes.messages, QStringList());
  }
};

QTEST_MAIN(CaptureChoiceTest)
#include "capturechoice_test.moc"
