// Game control in the window: the play commands, navigation through the
// toolbar and the move list, the play modes, the notation of the stored game
// and the position editor's popup.
#include "app/window_fixture.h"

namespace {

std::unique_ptr<MainWindow> StartQuick(QTemporaryDir& dir, Boxes& boxes) {
  WriteSettings(dir.path(), [](GameState& g) {
    g.Opt.DepthMode = 1;
    g.Opt.SearchDepth = 2;
    g.Opt.UseBook = 0;
    g.Opt.ConfirmExit = 0;
  });
  return Start(dir.path(), boxes);
}

void Trigger(MainWindow& w, const char* entry) {
  QAction* a = w.commands()->entry(entry);
  QVERIFY(a);
  QVERIFY2(a->isEnabled(), entry);
  a->trigger();
}

void Button(MainWindow& w, const char* key) {
  QAction* a = w.commands()->buttonByKey(key);
  QVERIFY(a);
  QVERIFY2(a->isEnabled(), key);
  a->trigger();
}

}  // namespace

class GameFlowTest : public QObject {
  Q_OBJECT
 private slots:
  void computeNavigateAndStartANewGame() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    Trigger(*w, "Compute");
    Trigger(*w, "Compute");
    QCOMPARE(g.P.GamePly, 2);
    QCOMPARE(w->list(1)->count(), 2);
    QCOMPARE(w->list(1)->currentRow(), 1);

    Button(*w, "Back");
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(w->list(1)->currentRow(), 0);
    Button(*w, "First");
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(w->list(1)->currentRow(), -1);
    QVERIFY(!w->commands()->entry("First")->isEnabled());
    QVERIFY(!w->commands()->button(11)->isEnabled());
    Trigger(*w, "MoveForward");
    QCOMPARE(g.P.GamePly, 1);
    Trigger(*w, "Last");
    QCOMPARE(g.P.GamePly, 2);
    QVERIFY(!w->commands()->button(12)->isEnabled());

    // A click on a line of the move list shows its position.
    w->show();
    QListWidget* list1 = w->list(1);
    const QRect r = list1->visualItemRect(list1->item(0));
    QTest::mouseClick(list1->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_COMPARE(g.P.GamePly, 1);
    // Enter on a chosen line does the same; other keys do nothing.
    list1->setCurrentRow(1);
    QTest::keyClick(list1, Qt::Key_Space);
    QTest::qWait(20);
    QCOMPARE(g.P.GamePly, 1);
    list1->setCurrentRow(1);
    QTest::keyClick(list1, Qt::Key_Return);
    QTRY_COMPARE(g.P.GamePly, 2);

    // The notation commands rewrite the stored game.
    Trigger(*w, "mnu_Board_Notation_Chess");
    QVERIFY(list1->item(0)->text().contains(QRegularExpression("[a-h][1-8]")));
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Chess")->isChecked());
    Trigger(*w, "mnu_Board_Notation_Checkers");
    QVERIFY(!list1->item(0)->text().contains(QRegularExpression("[a-h][1-8]")));

    boxes.answer = true;
    Trigger(*w, "New1");
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.Game.GameLength, 0);
    QCOMPARE(w->list(1)->count(), 0);
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers"));
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
  }

  void playModesAndTheEndOfAGame() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    const QString user = QString::fromStdString(g.Opt.UserName);
    Button(*w, "PlayerPlayer");
    QCOMPARE(w->label(1)->text(), user);
    QCOMPARE(w->label(2)->text(), user);
    // The side labels are shown after the mode text, and with it the side to move.
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
    QVERIFY(w->commands()->entry("Pplayer")->isChecked());
    QVERIFY(!w->commands()->entry("Offerdraw")->isEnabled());
    Trigger(*w, "Cplayer");
    QVERIFY(w->commands()->button(19)->isChecked());
    QVERIFY(!w->commands()->button(20)->isChecked());
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Computer-Player mode"));
    QCOMPARE(w->label(1)->text(), user);  // Black to move: the user plays Black
    QCOMPARE(w->label(2)->text(), QStringLiteral("Computer"));

    Trigger(*w, "Resign");
    QCOMPARE(g.Flow.GameOver, 1);
    QVERIFY(boxes.messages.contains("Congratulations|OK... Computer wins!"));
    QVERIFY(!w->commands()->entry("Compute")->isEnabled());
    QVERIFY(!w->list(2)->isEnabled());
  }

  void hintShowsTheExpectedReply() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    g.Search.HintFrom = 76;
    g.Search.HintTo = 65;
    Trigger(*w, "Hint");
    QVERIFY2(boxes.messages.contains("Hint|Try f6-e5"), qPrintable(boxes.messages.join(";")));
    QCOMPARE(w->statusPanel(1)->text(),
             QStringLiteral("Think ahead and try not to leave your opponent with multiple jumps"));
    QVERIFY(w->commands()->toolBar()->isEnabled());  // the surface is unlocked again
    QCOMPARE(g.Flow.Busy, 0);
  }

  void positionEditorPopup() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    QMenu* popup = w->setupPopup();
    QVERIFY(popup);
    const int darkEmpty = w->SquareOfCell(54);
    const int light = w->SquareOfCell(55);
    QVERIFY(!w->prepareSetupPopup(light, light));          // a light square opens nothing
    QVERIFY(!w->prepareSetupPopup(darkEmpty, light));      // released elsewhere
    g.Flow.FromSquare = darkEmpty;
    QVERIFY(!w->prepareSetupPopup(darkEmpty, darkEmpty));  // a piece is held
    g.Flow.FromSquare = -1;

    // Dismissed without a choice: nothing changes.
    QVERIFY(w->prepareSetupPopup(darkEmpty, darkEmpty));
    QVERIFY(popup->findChild<QAction*>("empty1")->isChecked());
    QVERIFY(popup->findChild<QAction*>("mnu_PopUp_BlackM")->isChecked());
    QVERIFY(!popup->findChild<QAction*>("WhiteM")->isChecked());
    w->finishSetupPopup();
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers"));

    w->list(3)->addItem("stale");
    QVERIFY(w->prepareSetupPopup(darkEmpty, darkEmpty));
    popup->findChild<QAction*>("mnu_PopUp_BlackKing")->trigger();
    w->finishSetupPopup();
    QCOMPARE(g.board[54], -2);
    QCOMPARE(g.StartBoard[54], -2);
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers (M)"));
    QCOMPARE(w->list(3)->count(), 0);

    // Opened again on that square, the check mark names the king.
    QVERIFY(w->prepareSetupPopup(darkEmpty, darkEmpty));
    QVERIFY(popup->findChild<QAction*>("mnu_PopUp_BlackKing")->isChecked());
    QVERIFY(!popup->findChild<QAction*>("empty1")->isChecked());
    popup->findChild<QAction*>("WhiteM")->trigger();
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("White moves"));
    w->finishSetupPopup();
    QCOMPARE(g.Rules.BlackStarts, 0);
  }

  void rulesHelpWithoutALinkOpensTheRulesWindow() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    int shown = 0;
    w->gameFlowHooks.showRulesWindow = [&] { ++shown; };
    w->state().Variant.QuickHelpLink.clear();
    w->state().Variant.HelpLink.clear();
    Trigger(*w, "Rules");
    Trigger(*w, "QuickRules");
    QCOMPARE(shown, 2);
  }
};

QTEST_MAIN(GameFlowTest)
#include "gameflow_test.moc"
