// The host, the menus and toolbar, and the comment box.
#include "app/window_fixture.h"

class CommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void pumpLetsEventsThroughEveryFewMilliseconds() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    int delivered = 0;
    auto post = [&] { QMetaObject::invokeMethod(w.get(), [&] { ++delivered; }, Qt::QueuedConnection); };
    // The pump looks at the clock only every so many calls, as a search
    // calls it at every node.
    auto pumpBurst = [&] {
      for (unsigned i = 0; i < m8::PumpThrottle::kCallsPerCheck; ++i) w->host().pump();
    };
    QTest::qWait(10);
    post();
    w->host().pump();
    QCOMPARE(delivered, 0);
    pumpBurst();
    QCOMPARE(delivered, 1);
    const auto t = std::chrono::steady_clock::now();
    post();
    pumpBurst();
    if (std::chrono::steady_clock::now() - t < std::chrono::milliseconds(4)) QCOMPARE(delivered, 1);
    QTest::qWait(10);
    pumpBurst();
    QCOMPARE(delivered, 2);
  }

  void commentIsStoredAsTyped() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    w->text1()->setFocus();
    QTest::keyClicks(w->text1(), "Old Faithful");
    QCOMPARE(w->state().Game.PlyComments[0], std::string("Old Faithful"));  // the last key too
    w->state().Flow.CommentText = "after 9-14";
    w->host().refresh(View::Comment);
    QCOMPARE(w->text1()->toPlainText(), QStringLiteral("after 9-14"));
    QCOMPARE(w->state().Game.PlyComments[0], std::string("Old Faithful"));
  }

  void hostForwardsToTheWindow() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    Host& h = w->host();
    h.status(2, "Opening: Old Faithful");
    QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("Opening: Old Faithful"));
    h.progress(3, 10);
    QCOMPARE(w->progressBar()->value(), 3);
    QCOMPARE(w->progressBar()->maximum(), 10);
    h.setCommandChecked(Command::PlayerPlayer, true);
    QVERIFY(w->commands()->entry("Pplayer")->isChecked());
    QVERIFY(w->commands()->button(20)->isChecked());
    h.setCommandEnabled(Command::TurnBoard, false);
    QVERIFY(!w->commands()->entry("Turn")->isEnabled());
    QVERIFY(!w->commands()->button(27)->isEnabled());
    h.setCommandEnabled(Command::TurnBoard, true);
    QVERIFY(w->commands()->button(27)->isEnabled());
    // A connected command follows what the game asks.
    h.setCommandEnabled(Command::Compute, false);
    QVERIFY(!w->commands()->entry("Compute")->isEnabled());
    QVERIFY(!w->commands()->button(7)->isEnabled());
    h.setCommandEnabled(Command::Compute, true);
    QVERIFY(w->commands()->entry("Compute")->isEnabled());
    h.setCommandEnabled(Command::BoardMenu, false);
    QVERIFY(!w->commands()->menu("mnu_Board1")->menuAction()->isEnabled());
    h.playSound(Sound::Click);  // no sounds folder here: nothing plays, nothing fails
    w->state().Search.EngineOutputText = "D: 5";
    h.refresh(View::EngineOutput);
    QCOMPARE(w->label(9)->text(), QStringLiteral("D: 5"));
    // The move lists show the texts the core keeps.
    GameState& g = w->state();
    g.Driver.MoveListLines[0] = " 1. 11-15";
    g.Driver.MoveListLines[1] = "    23-19";
    g.Driver.MoveListCount = 2;
    g.Driver.MoveListSelected = 1;
    h.refresh(View::MoveList);
    QCOMPARE(w->list(1)->count(), 2);
    QCOMPARE(w->list(1)->item(0)->text(), QStringLiteral(" 1. 11-15"));
    QCOMPARE(w->list(1)->currentRow(), 1);
    g.Driver.RootScoreLines = {"1115  12", "0913 -40"};
    h.refresh(View::RootScores);
    QCOMPARE(w->list(3)->count(), 2);
    g.Driver.LegalMoveLines = {"09-13b"};
    h.refresh(View::LegalMoves);
    QCOMPARE(w->list(2)->item(0)->text(), QStringLiteral("09-13b"));
    // Cancel and the calculation switch.
    w->cancelClick();
    QCOMPARE(w->state().P.StopRequest, 1);
    QVERIFY(!w->commands()->button(8)->isEnabled());
    w->calculationClick();
    QCOMPARE(w->label(9)->text(), QStringLiteral("no calculation"));
    QVERIFY(!w->commands()->entry("calculation")->isChecked());
    // Menu entry and toolbar button run the same operation.
    const int turned = w->state().Opt.BoardTurned;
    w->commands()->button(27)->trigger();
    QCOMPARE(w->state().Opt.BoardTurned, 1 - turned);
    w->commands()->entry("Turn")->trigger();
    QCOMPARE(w->state().Opt.BoardTurned, turned);
    w->DisableMenusWhileThinking();
    QVERIFY(!w->commands()->menu("mnuGame")->menuAction()->isEnabled());
    QVERIFY(w->commands()->menu("extra")->menuAction()->isEnabled());
    QVERIFY(!w->commands()->toolBar()->isEnabled());
    w->EnableMenusAfterThinking();
    QVERIFY(w->commands()->menu("mnuGame")->menuAction()->isEnabled());
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
