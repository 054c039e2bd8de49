// Program end: the question, what is written, a close during a search, the fatal path.
#include <QLineEdit>

#include "app/window_fixture.h"
#include "core/files/gamelog.h"

namespace {

// A window that thinks `seconds` per move, saves its game at exit and resumes
// it at the next start, with the engine's time shown.
std::unique_ptr<MainWindow> StartTimed(QTemporaryDir& dir, Boxes& boxes, int seconds,
                                       const std::function<void(MainWindowOptions&)>& adjust = {}) {
  WriteSettings(dir.path(), [seconds](GameState& g) {
    g.Opt.DepthMode = 0;
    g.Opt.SearchTime = seconds;
    g.Opt.UseBook = 0;
    g.Opt.ConfirmExit = 1;
    g.Opt.AutoSave = 1;
    g.Opt.ShowCalculation = 1;
    g.Opt.Notation = 1;
  });
  auto w = Start(dir.path(), boxes, 15, adjust);
  w->show();
  return w;
}

// Closes the window once the computer's search has begun (after `before`,
// which runs then too).
void CloseWhileThinking(MainWindow& w, std::function<void()> before = {}) {
  auto* poll = new QTimer(&w);
  QObject::connect(poll, &QTimer::timeout, &w, [&w, poll, before] {
    if (w.state().Flow.Busy != 1 || w.state().Search.Nodes == 0) return;
    poll->stop();
    poll->deleteLater();
    if (before) before();
    w.close();
  });
  poll->start(10);
}

void Compute(MainWindow& w) {
  QAction* a = w.commands()->entry("Compute");
  QVERIFY(a && a->isEnabled());
  a->trigger();
}

}  // namespace

class ExitTest : public QObject {
  Q_OBJECT
 private slots:
  void failedWriteAtExitIsReported() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    QVERIFY(QFile::remove(dir.path() + "/tavrin.ini"));
    QVERIFY(QDir().mkpath(dir.path() + "/tavrin.ini"));  // cannot be replaced
    w->onExitRequested();
    QVERIFY(std::any_of(boxes.messages.begin(), boxes.messages.end(),
                        [](const QString& m) { return m.startsWith("Error|") && m.contains("settings"); }));
    QVERIFY(QFile::exists(dir.path() + "/tavrin.rtg"));  // the rating is still written
  }

  void exitAsksAndWrites_data() {
    QTest::addColumn<int>("confirm");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes") << 1 << true << 1 << true;
    QTest::newRow("No") << 1 << false << 1 << false;
    QTest::newRow("no question") << 0 << false << 0 << true;
  }

  void exitAsksAndWrites() {
    QFETCH(int, confirm);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(bool, written);
    for (bool viaClose : {false, true}) {
      QTemporaryDir dir;
      Boxes boxes;
      boxes.answer = answer;
      auto w = Start(dir.path(), boxes);
      w->show();
      QFile::remove(dir.path() + "/tavrin.ini");
      GameState& g = w->state();
      g.Opt.ConfirmExit = confirm;
      g.Opt.SearchTime = 7;
      g.Rating.UserRating = 1234;
      if (viaClose)
        w->close();
      else
        w->onExitRequested();
      QCOMPARE(boxes.questions, questions);
      QCOMPARE(QFile::exists(dir.path() + "/tavrin.ini"), written);
      QCOMPARE(QFile::exists(dir.path() + "/tavrin.rtg"), written);
      QCOMPARE(w->isVisible(), !written);
      if (!written) continue;
      // The next start reads back what was written.
      Boxes again;
      auto w2 = Start(dir.path(), again);
      QCOMPARE(w2->state().Opt.SearchTime, 7);
      QCOMPARE(w2->state().Rating.UserRating, 1234);
      QCOMPARE(w2->state().Opt.ConfirmExit, confirm);
    }
  }

  void closeDuringSearchWaitsForTheSearch() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    QFile::remove(dir.path() + "/tavrin.ini");
    GameState& g = w->state();
    g.Flow.Busy = 1;
    w->close();
    QCOMPARE(g.P.StopRequest, 1);
    QVERIFY(w->isVisible());
    // The window looks again while the search runs: it asks it to stop once
    // more and still writes nothing.
    g.P.StopRequest = 0;
    WAIT_COMPARE(g.P.StopRequest, 1);
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.ini"));
    g.Flow.Busy = 0;  // the search returned
    WAIT_VERIFY(!w->isVisible());
    QVERIFY(QFile::exists(dir.path() + "/tavrin.ini"));
    QCOMPARE(boxes.questions, 1);
  }

  void closingDuringASearchSavesTheGameOnTheBoard() {
    // The user's move, then the computer thinks long; the window is closed
    // meanwhile. The move being searched was never shown: it is not played,
    // logged or saved.
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartTimed(dir, boxes, 30);
    GameState& g = w->state();
    const QString logFile = dir.path() + "/" + kLogFileName;
    QByteArray log;  // as it stands while the computer thinks
    w->moveBox()->setText("11-15");
    CloseWhileThinking(*w, [&] { log = ReadFile(logFile); });
    QTest::keyClick(w->moveBox(), Qt::Key_Return);
    QCOMPARE(boxes.questions, 1);
    QCOMPARE(g.P.GamePly, 1);
    QVERIFY(log.contains("11-15"));
    WAIT_VERIFY(!w->isVisible());
    QCOMPARE(ReadFile(logFile), log);
    // The saved game ends with the user's move.
    Boxes again;
    auto w2 = Start(dir.path(), again);
    QCOMPARE(w2->state().P.GamePly, 1);
    QVERIFY(w2->state().board == g.board);
  }

  void theExitQuestionDoesNotRunTheComputersClock() {
    // The user is asked for a long while (the clock jumps 100 s) and says No:
    // the computer goes on thinking its two seconds, none of them lost.
    QTemporaryDir dir;
    Boxes boxes;
    boxes.answer = false;
    double jumped = 0;
    auto w = StartTimed(dir, boxes, 2, [&](MainWindowOptions& o) {
      o.monotonicClock = [&jumped] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count() + jumped;
      };
      o.boxes.askYesNo = [&](const QString&, const QString&) {
        ++boxes.questions;
        jumped += 100;
        return false;
      };
    });
    GameState& g = w->state();
    CloseWhileThinking(*w);
    Compute(*w);
    QCOMPARE(boxes.questions, 1);
    QCOMPARE(g.P.GamePly, 1);
    QVERIFY(w->isVisible());
    const QString output = w->engineOutputLabel()->text();
    QVERIFY2(output.contains("Time: 00:00."), qPrintable(output));
  }

  void fatalErrorWritesNothing() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    QFile::remove(dir.path() + "/tavrin.ini");
    w->host().fatal("Fatal Error! Morventa8 will exit.");
    QCOMPARE(boxes.messages, QStringList{"Error|Fatal Error! Morventa8 will exit."});
    QVERIFY(!w->isVisible());
    QCOMPARE(boxes.questions, 0);
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.ini"));
  }

  void fatalErrorBeforeTheWindowIsShown() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QFile::remove(dir.path() + "/tavrin.ini");
    w->host().fatal("Error found! Morventa8 will exit");
    QVERIFY(w->startupFailed());  // main() ends without showing the window
    w->close();
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.ini"));
    QCOMPARE(boxes.questions, 0);
  }
};

QTEST_MAIN(ExitTest)
#include "exit_test.moc"
