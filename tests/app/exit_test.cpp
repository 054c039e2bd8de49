// Program end: the question, what is written, a close during a search, the fatal path.
#include "app/window_fixture.h"

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
    w->Exit_Click();
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
        w->Exit_Click();
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
    QTest::qWait(60);
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.ini"));
    g.Flow.Busy = 0;  // the search returned
    QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 2000);
    QVERIFY(QFile::exists(dir.path() + "/tavrin.ini"));
    QCOMPARE(boxes.questions, 1);
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
