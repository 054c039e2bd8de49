// The searches a window starts, and the window's close: the ply value table
// and the Problems/Combinations search stop when their window closes and give
// the commands back; the progress bars are empty once nothing runs.
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "app/dialogs/frmproblem.h"
#include "app/dialogs/frmpv.h"
#include "app/window_fixture.h"
#include "core/game/gameloader.h"

namespace {

// Runs `act` once `ready` holds, looked at from the event loop that a running
// search pumps; gives up, running `late` instead, once `limitMs` have passed
// without it. Dies with the test's scope, its timer with it.
class WhenReady {
 public:
  WhenReady(std::function<bool()> ready, std::function<void()> act, int limitMs, std::function<void()> late = {})
      : poll_(
            [ready = std::move(ready), act = std::move(act)] {
              if (!ready()) return false;
              act();
              return true;
            },
            std::move(late), limitMs) {}
  bool acted() const { return poll_.done(); }

 private:
  wait_test::Poll poll_;
};

// How long a stopped search may take to return: far more than it needs, so
// that only a search that was never stopped reaches it.
constexpr int kStopLimitMs = 60000;
// How long a run may take to show what the test waits for.
constexpr int kStartLimitMs = 120000;

FrmPV* PlyValueWindow(MainWindow& w) { return w.findChild<FrmPV*>("frmPV"); }
FrmProblem* ProblemWindow(MainWindow& w) { return w.findChild<FrmProblem*>("frmProblem"); }

bool Enabled(MainWindow& w, const char* entry) { return w.commands()->entry(entry)->isEnabled(); }

// The commands a running search takes away come back once it has ended.
void VerifyCommandsBack(MainWindow& w) {
  for (const char* entry : {"New1", "Open1", "Save", "plyvaluetable", "problems", "Compute", "Analyze"})
    QVERIFY2(Enabled(w, entry), entry);
  QVERIFY(!Enabled(w, "mnu_Play_Cancel"));
  QVERIFY(w.legalMoves()->isEnabled());
  QCOMPARE(w.state().Flow.Busy, 0);
}

// Stops a run that the window's close did not stop, with the main window's
// Cancel, and says so.
std::unique_ptr<WhenReady> CancelIfStillRunning(MainWindow& w, bool& stillRunning) {
  return std::make_unique<WhenReady>([] { return false; }, [] {}, kStopLimitMs, [&w, &stillRunning] {
    if (w.state().Flow.Busy == 0) return;
    stillRunning = true;
    w.commands()->entry("mnu_Play_Cancel")->trigger();
  });
}

}  // namespace

class SearchWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  // The table's close (the title bar's X, say) in the middle of a run acts as
  // its Cancel: the run ends, the rows finished before it stay, the commands
  // come back and the next showing runs and shows the table again.
  void closingThePlyValueTableStopsItsRun_data() {
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("rowsBefore");  // rows finished when the table is closed
    QTest::newRow("at once") << 14 << 0;
    QTest::newRow("after a row") << 9 << 1;
  }

  void closingThePlyValueTableStopsItsRun() {
    QFETCH(int, depth);
    QFETCH(int, rowsBefore);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = depth;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    int rowsAtClose = -1;
    bool stillRunning = false;
    std::unique_ptr<WhenReady> guard;
    WhenReady close(
        [&] {
          FrmPV* pv = PlyValueWindow(*w);
          const auto& t = g.PlyValue;
          return pv && pv->isVisible() && t.CancelEnabled && t.ProgressValue >= rowsBefore * t.PlyValuePlies &&
                 pv->outputLabel()->text().startsWith("Score:");
        },
        [&] {
          rowsAtClose = g.PlyValue.ProgressValue / g.PlyValue.PlyValuePlies;
          QVERIFY(PlyValueWindow(*w)->close());
          guard = CancelIfStillRunning(*w, stillRunning);
        },
        kStartLimitMs, [&] { w->commands()->entry("mnu_Play_Cancel")->trigger(); });
    w->commands()->entry("plyvaluetable")->trigger();
    QVERIFY(close.acted());
    QVERIFY(!stillRunning);
    FrmPV* pv = PlyValueWindow(*w);
    QVERIFY(!pv->isVisible());  // closed, and not shown again by the run's end
    VerifyCommandsBack(*w);
    QVERIFY(rowsAtClose >= rowsBefore);
    QCOMPARE(g.PlyValue.PlyValueRows, rowsAtClose);
    QVERIFY(g.PlyValue.PlyValueRows < 7);
    QCOMPARE(g.PlyValue.ReadyMark, std::string("1"));
    QCOMPARE(pv->outputLabel()->text(), QString("Stopped: %1 of 7 moves searched.").arg(rowsAtClose));
    // The rows searched are in the table, one line each.
    QCOMPARE(pv->tableText()->toPlainText().count('\n'), 2 + rowsAtClose);
    QCOMPARE(pv->progress()->value(), 0);
    QCOMPARE(w->progressBar()->value(), 0);

    // The next showing runs the table and shows it.
    g.Opt.PlyValueDepth = 1;
    w->commands()->entry("plyvaluetable")->trigger();
    QVERIFY(pv->isVisible());
    QCOMPARE(pv->outputLabel()->text(), QStringLiteral("Done!"));
    QCOMPARE(g.PlyValue.PlyValueRows, 7);
  }

  // Problems/Combinations searches the position in hand: the window shows at
  // once and says what the search found, the progress bar counts the moves
  // searched, and the commands are off meanwhile and come back after.
  void problemSearchRunsWithProgressAndSaysWhatItFound() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = 6;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    bool seenRunning = false;
    WhenReady during(
        [&] { return g.Flow.Busy == 1 && w->progressBar()->value() > 0; },
        [&] {
          seenRunning = true;
          FrmProblem* p = ProblemWindow(*w);
          QVERIFY(p && p->isVisible());
          QVERIFY2(p->summary()->text().contains("searching to depth 6"), qPrintable(p->summary()->text()));
          QVERIFY(Enabled(*w, "mnu_Play_Cancel"));
          for (const char* entry : {"New1", "Open1", "Save", "Compute"}) QVERIFY2(!Enabled(*w, entry), entry);
          QCOMPARE(w->progressBar()->maximum(), 6 * 7);
        },
        kStartLimitMs);
    w->commands()->entry("problems")->trigger();
    QVERIFY(seenRunning);
    FrmProblem* p = ProblemWindow(*w);
    QVERIFY(p->isVisible());
    // The opening position holds no combination.
    QCOMPARE(p->summary()->text(),
             QStringLiteral("Move 1, Black to move: no combination found. Searched to depth 6 (7 moves)."));
    QVERIFY(p->problemText()->toPlainText().isEmpty());
    VerifyCommandsBack(*w);
    QCOMPARE(w->progressBar()->value(), 0);
    QCOMPARE(w->statusPanel(1)->text(), QString());
    // Escape closes the window once the search is over.
    QTest::keyClick(p->problemText(), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
  }

  // Closing the problem window while its search runs stops the search, as
  // the main window's Cancel does.
  void closingTheProblemWindowStopsItsSearch() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = 20;  // far longer than the test waits
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    bool stillRunning = false;
    std::unique_ptr<WhenReady> guard;
    WhenReady close(
        [&] {
          FrmProblem* p = ProblemWindow(*w);
          return p && p->isVisible() && g.Flow.Busy == 1 && w->progressBar()->value() > 0;
        },
        [&] {
          QTest::keyClick(ProblemWindow(*w)->problemText(), Qt::Key_Escape);
          guard = CancelIfStillRunning(*w, stillRunning);
        },
        kStartLimitMs, [&] { w->commands()->entry("mnu_Play_Cancel")->trigger(); });
    w->commands()->entry("problems")->trigger();
    QVERIFY(close.acted());
    QVERIFY(!stillRunning);
    FrmProblem* p = ProblemWindow(*w);
    QVERIFY(!p->isVisible());
    QVERIFY2(p->summary()->text().contains("Stopped after depth"), qPrintable(p->summary()->text()));
    VerifyCommandsBack(*w);
    QCOMPARE(w->progressBar()->value(), 0);
  }

  // Once the computer has moved, nothing runs: the bar is empty, whether
  // the search ran to its end or was stopped.
  void theProgressBarIsEmptyOnceTheComputerHasMoved_data() {
    QTest::addColumn<bool>("stop");
    QTest::newRow("searched to its depth") << false;
    QTest::newRow("stopped") << true;
  }

  void theProgressBarIsEmptyOnceTheComputerHasMoved() {
    QFETCH(bool, stop);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.DepthMode = 1;
    g.Opt.SearchDepth = stop ? 20 : 3;
    g.Opt.UseBook = 0;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    int maximum = 0;
    WhenReady during(
        [&] { return g.Flow.Busy == 1 && w->progressBar()->value() > 0; },
        [&] {
          maximum = w->progressBar()->maximum();
          if (stop) w->commands()->entry("mnu_Play_Cancel")->trigger();
        },
        kStartLimitMs, [&] { w->commands()->entry("mnu_Play_Cancel")->trigger(); });
    w->commands()->entry("Compute")->trigger();
    // A search that ran to its end may have been too quick to be seen.
    QVERIFY(during.acted() || !stop);
    if (!during.acted()) maximum = w->progressBar()->maximum();
    QCOMPARE(g.P.GamePly, 1);  // the computer has moved
    QVERIFY(maximum > 0);
    QCOMPARE(w->progressBar()->value(), 0);
  }
};

QTEST_MAIN(SearchWindowsTest)
#include "searchwindows_test.moc"
