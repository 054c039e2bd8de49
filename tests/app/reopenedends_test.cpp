// A finished game saved by the window and opened again through its Open
// command: its end is told as it opens, under that game's names, and the
// window shows it over.
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <vector>

#include "app/dialogs/dlgpdn.h"
#include "app/dialogs_fixture.h"
#include "app/window_fixture.h"
#include "core/game/gamesetup.h"
#include "core/rules/notation.h"

namespace {

// A king walking a closed path of squares, `steps` moves from its first.
QStringList Walk(const QStringList& cycle, int steps) {
  QStringList out;
  for (int k = 0; k < steps; ++k) out << cycle[k % cycle.size()] + "-" + cycle[(k + 1) % cycle.size()];
  return out;
}

QStringList Interleave(const QStringList& white, const QStringList& black) {
  QStringList out;
  for (int k = 0; k < std::max(white.size(), black.size()); ++k) {
    if (k < white.size()) out << white[k];
    if (k < black.size()) out << black[k];
  }
  return out;
}

struct Piece {
  const char* square;
  int value;  // 1 man, 2 king; negative for Black
};

struct Ending {
  const char* what;
  std::vector<Piece> pieces;  // American Checkers, White to move
  QStringList moves;
  int fiftyMoveChoice;  // 2: the move limit is 32 plies
  QString box;          // the end as the game was played
};

int CellOf(GameState& g, const char* square) {
  const int keep = g.Opt.Notation;
  g.Opt.Notation = 0;
  const int cell = SquareNumber(g, QString(square).toUpper().toStdString());
  g.Opt.Notation = keep;
  return cell;
}

// What the window shows of the game.
struct Shown {
  QString top, bottom, status;
  int legal = -1;
  bool legalEnabled = true;
};

Shown ShownBy(MainWindow& w) {
  return {w.topNameLabel()->text(), w.bottomNameLabel()->text(), w.statusPanel(1)->text(), w.legalMoves()->count(),
          w.legalMoves()->isEnabled()};
}

}  // namespace

class ReopenedEndsTest : public QObject {
  Q_OBJECT
 private slots:
  // A game drawn by a repetition or by the move limit, and a won one, each
  // saved in both formats and opened while a game of other players is in
  // progress: the box the game ended with comes as it opens, once; while it
  // is up the side labels name the opened game's players and the legal-move
  // list is empty, as after OK; the list stays empty and off, and the status
  // bar names the end (the own format) or the file's result (PDN), with the
  // draw beside it. The drawn positions still have legal moves.
  void aFinishedGameReopensToldUnderItsOwnNames() {
    const Ending endings[] = {
        {"repetition",
         {{"a1", 1}, {"b2", 2}, {"e5", -2}, {"h8", -1}},
         Interleave(Walk({"b2", "c3"}, 5), Walk({"e5", "f6"}, 4)),
         1,
         "It's a draw! Triple Repetition"},
        {"move limit",
         {{"a1", 1}, {"b2", 2}, {"e5", -2}, {"h8", -1}},
         Interleave(Walk({"b2", "c3", "d2", "c1"}, 16), Walk({"e5", "f6", "g7", "f8", "e7", "d6"}, 16)),
         2,
         "It's a draw! 50 Moves Rule"},
        {"win", {{"c3", 1}, {"d4", -1}}, {"c3xe5"}, 1, "White wins!"},
    };
    for (const Ending& e : endings) {
      QTemporaryDir dir;
      WriteSettings(dir.path(), [&e](GameState& g) {
        g.Opt.PlayMode = 1;
        g.Opt.Notation = 0;
        g.Opt.FiftyMoveChoice = e.fiftyMoveChoice;
        g.Opt.UseBook = 0;
        g.Opt.ConfirmExit = 0;
      });
      QString chosen;
      const QString own = dir.path() + "/ended.tvn", pdn = dir.path() + "/ended.pdn";
      const QString playing = dir.path() + "/playing.pdn";
      WriteFile(playing, "[Black \"Bob\"]\r\n[White \"Ann\"]\r\n\r\n1. 11-15 *\r\n");
      QString result;
      {
        Boxes boxes;
        auto w = StartWithFiles(dir.path(), boxes, &chosen);
        GameState& g = w->state();
        for (int& v : g.board)
          if (v != kOffBoard) v = 0;
        for (const Piece& p : e.pieces) {
          const int cell = CellOf(g, p.square);
          QVERIFY2(cell != 0, p.square);
          g.board[cell] = p.value;
        }
        g.P.SideToMove = 1;
        g.Flow.PositionPreset = 1;
        SetupPositionState(g);
        w->DrawBoard(0);
        for (const QString& move : e.moves) {
          QVERIFY2(g.Flow.GameOver == 0, qPrintable(QString(e.what) + " ended before " + move));
          w->moveBox()->setText(move);
          QTest::keyClick(w->moveBox(), Qt::Key_Return);
        }
        QVERIFY2(g.Flow.GameOver == 1, qPrintable(QString(e.what) + ": " + boxes.messages.join('\n')));
        QCOMPARE(g.P.GamePly, static_cast<int>(e.moves.size()));
        QCOMPARE(boxes.messages.last(), "Congratulations|" + e.box);
        if (e.moves.size() > 1) QVERIFY(w->legalMoves()->count() > 0);  // the draw leaves moves
        result = QString::fromStdString(g.Flow.GameResult);
        // The players: the user's name (which the own format keeps) as it
        // was then, and names typed in the details (which PDN keeps).
        g.Opt.UserName = "Sam";
        g.Header.GameBlack = "Boris";
        g.Header.GameWhite = "Wendy";
        for (const QString& file : {own, pdn}) {
          chosen = file;
          w->onSaveRequested();
          QVERIFY(QFile::exists(file));
        }
      }
      for (const QString& file : {pdn, own}) {
        const QString what = QString(e.what) + ", " + QFileInfo(file).fileName();
        Boxes boxes;
        MainWindow* window = nullptr;
        std::optional<Shown> atBox;
        auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) {
          o.fileDialog = [&chosen](const QString&, const QString&, bool) { return chosen; };
          o.boxes.askYesNo = [](const QString&, const QString&) { return true; };  // quit the game in progress
          o.boxes.message = [&](Icon, const QString& title, const QString& text) {
            boxes.messages << title + "|" + text;
            if (!atBox && window) atBox = ShownBy(*window);
          };
        });
        // A PDN file's chooser is answered with OK (its first game).
        const auto open = [&](const QString& path) {
          chosen = path;
          std::unique_ptr<wait_test::Poll> answer;
          if (path.endsWith(".pdn"))
            answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* d) { d->findChild<QPushButton*>("OKButton")->click(); });
          w->onOpenRequested();
        };
        open(playing);
        QCOMPARE(w->topNameLabel()->text(), QStringLiteral("Bob"));
        QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Ann"));
        QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join('\n')));
        w->state().Flow.GameStarted = 1;
        window = w.get();
        open(file);
        QCOMPARE(w->state().P.GamePly, static_cast<int>(e.moves.size()));
        QVERIFY2(w->state().Flow.GameOver == 1, qPrintable(what));
        QCOMPARE(boxes.messages, QStringList("Congratulations|" + e.box));
        const Shown after = ShownBy(*w);
        QVERIFY2(atBox.has_value(), qPrintable(what));
        // White, who moves first in these set-up games, stands on top.
        QCOMPARE(after.top, QString(file == own ? "Sam" : "Wendy"));
        QCOMPARE(after.bottom, QString(file == own ? "Sam" : "Boris"));
        QCOMPARE(atBox->top, after.top);
        QCOMPARE(atBox->bottom, after.bottom);
        QCOMPARE(atBox->legal, 0);
        QCOMPARE(after.legal, 0);
        QVERIFY2(!after.legalEnabled, qPrintable(what));
        if (file == own) {
          QCOMPARE(after.status, e.box);
        } else {
          QVERIFY2(after.status.startsWith(result + ";"), qPrintable(what + ": " + after.status));
          const QString named = QString(e.box).remove("It's a draw! ");
          if (result == "1/2-1/2") QVERIFY2(after.status.contains(named), qPrintable(what + ": " + after.status));
        }
      }
    }
  }
};

QTEST_MAIN(ReopenedEndsTest)
#include "reopenedends_test.moc"
