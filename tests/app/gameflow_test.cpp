// Game control in the window: the play commands, navigation through the
// toolbar and the move list, the play modes, the notation of the stored game
// and the position editor's popup.
#include <QDesktopServices>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

#include "app/board_mouse.h"
#include "app/dialogs/dlgpdn.h"
#include "app/dialogs_fixture.h"
#include "app/window_fixture.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"
#include "core/rules/notation.h"

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

// A player-against-computer game, rated, in numbered squares, whose file
// dialogs answer with `chosen`.
std::unique_ptr<MainWindow> StartRated(QTemporaryDir& dir, Boxes& boxes, QString* chosen, int depthMode = 1) {
  WriteSettings(dir.path(), [depthMode](GameState& g) {
    g.Opt.PlayMode = 0;
    g.Opt.DepthMode = depthMode;
    g.Opt.SearchDepth = 2;
    g.Opt.SearchTime = 1;
    g.Opt.UseBook = 0;
    g.Opt.UseRating = 1;
    g.Opt.ConfirmExit = 0;
    g.Opt.Notation = 1;
  });
  return StartWithFiles(dir.path(), boxes, chosen);
}

void Type(MainWindow& w, const QString& text) {
  w.moveBox()->setText(text);
  QTest::keyClick(w.moveBox(), Qt::Key_Return);
}

// The set-up popup opened on the named square the way a right click opens
// it; `entry` is chosen as soon as it is up (none: closed as Escape closes it).
void UsePopup(MainWindow& w, std::string_view square, const char* entry) {
  QMenu* popup = w.setupPopup();
  QTimer::singleShot(0, popup, [popup, entry] {
    if (entry) popup->findChild<QAction*>(entry)->trigger();
    popup->close();
  });
  const int control = Control(w, square);
  w.OpenSetupPopup(control, control, QPoint(20, 20));
}

// Stands in for the desktop's browser of one URL scheme.
class Browser : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened << url; }
};

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
    QCOMPARE(w->playedMoves()->count(), 2);
    QCOMPARE(w->playedMoves()->currentRow(), 1);

    Button(*w, "Back");
    QCOMPARE(g.P.GamePly, 1);
    QCOMPARE(w->playedMoves()->currentRow(), 0);
    Button(*w, "First");
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(w->playedMoves()->currentRow(), -1);
    QVERIFY(!w->commands()->entry("First")->isEnabled());
    QVERIFY(!w->commands()->button(11)->isEnabled());
    Trigger(*w, "MoveForward");
    QCOMPARE(g.P.GamePly, 1);
    Trigger(*w, "Last");
    QCOMPARE(g.P.GamePly, 2);
    QVERIFY(!w->commands()->button(12)->isEnabled());

    // A click on a line of the move list shows its position.
    w->show();
    QListWidget* played = w->playedMoves();
    const QRect r = played->visualItemRect(played->item(0));
    QTest::mouseClick(played->viewport(), Qt::LeftButton, {}, r.center());
    WAIT_COMPARE(g.P.GamePly, 1);
    // Enter on a chosen line does the same; other keys do nothing.
    played->setCurrentRow(1);
    QTest::keyClick(played, Qt::Key_Space);
    QCoreApplication::processEvents();  // whatever the key posted
    QCOMPARE(g.P.GamePly, 1);
    played->setCurrentRow(1);
    QTest::keyClick(played, Qt::Key_Return);
    WAIT_COMPARE(g.P.GamePly, 2);

    // The notation commands rewrite the stored game.
    Trigger(*w, "mnu_Board_Notation_Chess");
    QVERIFY(played->item(0)->text().contains(QRegularExpression("[a-h][1-8]")));
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Chess")->isChecked());
    Trigger(*w, "mnu_Board_Notation_Checkers");
    QVERIFY(!played->item(0)->text().contains(QRegularExpression("[a-h][1-8]")));

    boxes.answer = true;
    Trigger(*w, "New1");
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.Game.GameLength, 0);
    QCOMPARE(w->playedMoves()->count(), 0);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
  }

  void playModesAndTheEndOfAGame() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    const QString user = QString::fromStdString(g.Opt.UserName);
    Button(*w, "PlayerPlayer");
    QCOMPARE(w->topNameLabel()->text(), user);
    QCOMPARE(w->bottomNameLabel()->text(), user);
    // The side labels are shown after the mode text, and with it the side to move.
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
    QVERIFY(w->commands()->entry("Pplayer")->isChecked());
    QVERIFY(!w->commands()->entry("Offerdraw")->isEnabled());
    Trigger(*w, "Cplayer");
    QVERIFY(w->commands()->button(19)->isChecked());
    QVERIFY(!w->commands()->button(20)->isChecked());
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Computer-Player mode"));
    QCOMPARE(w->topNameLabel()->text(), user);  // Black to move: the user plays Black
    QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Computer"));

    Trigger(*w, "Resign");
    QCOMPARE(g.Flow.GameOver, 1);
    QVERIFY(boxes.messages.contains("Congratulations|OK... Computer wins!"));
    QVERIFY(!w->commands()->entry("Compute")->isEnabled());
    QVERIFY(!w->legalMoves()->isEnabled());
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
    const int darkEmpty = Control(*w, "d4");
    const int light = Control(*w, "e4");
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
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));

    w->rootMoves()->addItem("stale");
    QVERIFY(w->prepareSetupPopup(darkEmpty, darkEmpty));
    popup->findChild<QAction*>("mnu_PopUp_BlackKing")->trigger();
    w->finishSetupPopup();
    QCOMPARE(g.board[Cell(*w, "d4")], -2);
    QCOMPARE(g.StartBoard[Cell(*w, "d4")], -2);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers (M)"));
    QCOMPARE(w->rootMoves()->count(), 0);

    // Opened again on that square, the check mark names the king.
    QVERIFY(w->prepareSetupPopup(darkEmpty, darkEmpty));
    QVERIFY(popup->findChild<QAction*>("mnu_PopUp_BlackKing")->isChecked());
    QVERIFY(!popup->findChild<QAction*>("empty1")->isChecked());
    popup->findChild<QAction*>("WhiteM")->trigger();
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("White moves"));
    w->finishSetupPopup();
    QCOMPARE(g.Rules.BlackStarts, 0);
  }

  void dismissingTheSetUpPopupKeepsTheGame() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    UsePopup(*w, "d4", "mnu_PopUp_BlackKing");  // an earlier edit
    QCOMPARE(g.StartBoard[Cell(*w, "d4")], -2);
    Trigger(*w, "Compute");
    Trigger(*w, "Compute");
    QCOMPARE(g.P.GamePly, 2);
    const auto board = g.board, start = g.StartBoard;
    const QStringList moves = {w->playedMoves()->item(0)->text(), w->playedMoves()->item(1)->text()};
    const int side = g.P.SideToMove, blackStarts = g.Rules.BlackStarts;

    // Escape, "Priority", and an entry naming what the square already holds
    // (the white man on a1) change nothing of the game.
    struct Case {
      const char* square;
      const char* entry;
    };
    for (const Case& c : {Case{"e5", nullptr}, Case{"e5", "mnuFocus"}, Case{"a1", "Whitechecker"}}) {
      UsePopup(*w, c.square, c.entry);
      QCOMPARE(g.P.GamePly, 2);
      QCOMPARE(g.Game.GameLength, 2);
      QCOMPARE(w->playedMoves()->count(), 2);
      QCOMPARE(QStringList({w->playedMoves()->item(0)->text(), w->playedMoves()->item(1)->text()}), moves);
      QVERIFY(g.board == board);
      QVERIFY(g.StartBoard == start);
      QCOMPARE(g.P.SideToMove, side);
      QCOMPARE(g.Rules.BlackStarts, blackStarts);
    }
    QCOMPARE(g.Eval.PrioritySquare, Cell(*w, "e5"));
    // A change through the popup still starts the edited game.
    UsePopup(*w, "a1", "mnu_PopUp_BlackKing");
    QCOMPARE(g.P.GamePly, 0);
    QCOMPARE(g.StartBoard[Cell(*w, "a1")], -2);
    QCOMPARE(w->playedMoves()->count(), 0);
  }

  void dismissingThePopupKeepsALoadedSetUpGame() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen = dir.path() + "/setup.pdn";
    WriteFile(chosen, "[Event \"set up\"]\r\n[FEN \"B:W18,22,23:B9,10,11\"]\r\n\r\n*\r\n");
    auto w = StartRated(dir, boxes, &chosen);
    GameState& g = w->state();
    // The chooser takes the file's one game.
    const auto answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* d) {
      d->gamesList()->setCurrentItem(d->gamesList()->topLevelItem(0));
      d->openChosenGame();
    });
    w->onOpenRequested();
    QCOMPARE(g.Flow.PositionPreset, 1);
    const auto start = g.StartBoard;
    Type(*w, "10-15");  // the user's move and the computer's reply
    QCOMPARE(g.P.GamePly, 2);
    const auto board = g.board;
    UsePopup(*w, "e5", nullptr);
    QCOMPARE(g.P.GamePly, 2);
    QCOMPARE(w->playedMoves()->count(), 2);
    QVERIFY(g.board == board);
    QVERIFY(g.StartBoard == start);
  }

  void aNewGameAfterASetUpWithWhiteToMoveStartsWithBlack() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    UsePopup(*w, "d4", "WhiteM");
    QCOMPARE(g.Rules.BlackStarts, 0);
    QCOMPARE(g.P.SideToMove, 1);
    Trigger(*w, "New1");
    QCOMPARE(g.Rules.BlackStarts, 1);
    QCOMPARE(g.P.SideToMove, -1);
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
    // The next new game as well.
    Trigger(*w, "New1");
    QCOMPARE(g.Rules.BlackStarts, 1);
  }

  // A saved game of a position with White to move, opened in American
  // Checkers: that game goes on with White, but a new game, and the next
  // start of the program, begin with Black as the variant has it. With
  // AutoSave on the next start resumes the loaded game first.
  void aNewGameAfterLoadingASetUpGameStartsWithTheVariantsFirstMover() {
    for (int autoSave : {0, 1}) {
      QTemporaryDir dir;
      WriteSettings(dir.path(), [autoSave](GameState& g) {
        g.Opt.DepthMode = 1;
        g.Opt.SearchDepth = 2;
        g.Opt.UseBook = 0;
        g.Opt.ConfirmExit = 0;
        g.Opt.AutoSave = autoSave;
      });
      Boxes boxes;
      QString chosen = dir.path() + "/white.tvn";
      auto w = StartWithFiles(dir.path(), boxes, &chosen);
      UsePopup(*w, "d4", "WhiteM");
      w->onSaveRequested();
      QVERIFY(ReadFile(chosen).contains("\r\nBlackStarts=0\r\n"));
      Trigger(*w, "New1");
      QCOMPARE(w->state().Rules.BlackStarts, 1);

      w->onOpenRequested();
      QCOMPARE(w->state().P.SideToMove, 1);  // the file's position, White to move
      QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("White moves"));
      Trigger(*w, "New1");
      QCOMPARE(w->state().Rules.BlackStarts, 1);
      QCOMPARE(w->state().P.SideToMove, -1);
      QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
      QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));

      // Opened again and the program left with that game in hand.
      w->onOpenRequested();
      QCOMPARE(w->state().P.SideToMove, 1);
      w->onExitRequested();
      w.reset();
      auto again = StartWithFiles(dir.path(), boxes, &chosen);
      GameState& g = again->state();
      QCOMPARE(g.P.SideToMove, autoSave == 1 ? 1 : -1);
      if (autoSave == 1) Trigger(*again, "New1");
      QCOMPARE(g.Rules.BlackStarts, 1);
      QCOMPARE(g.P.SideToMove, -1);
      QCOMPARE(again->statusPanel(1)->text(), QStringLiteral("Black moves"));
      QCOMPARE(again->variantNameLabel()->text(), QStringLiteral("American Checkers"));
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join('\n')));
    }
  }

  // Compute at the start: the root-move list names each move as the
  // legal-move list did, the played move first with its score, and every
  // other move with the bound its null-window search gave ("≤ 4"), never
  // with a score that looks exact.
  void theRootMoveListShowsBoundsForTheMovesNotPlayed() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    ListLegalMoves(g);
    QStringList legal;
    for (int i = 0; i < w->legalMoves()->count(); ++i) legal << w->legalMoves()->item(i)->text();
    Trigger(*w, "Compute");
    QCOMPARE(g.P.GamePly, 1);
    QListWidget* list = w->rootMoves();
    QCOMPARE(list->count(), 7);
    QCOMPARE(legal.size(), 7);
    const MoveRecord& played = g.Game.GameMoves[1];
    const QString playedName = QString::fromStdString(SquareNotation(g, played.From, 0) + "-" +
                                                      SquareNotation(g, played.To, 0));
    QVERIFY2(legal.contains(playedName), qPrintable(playedName));
    QCOMPARE(list->item(0)->text(), playedName + " " + QString::fromStdString(SignedText(g.Flow.BestScore)));
    const QString bound = QString::fromUtf8("\u2264 ");
    QStringList named{playedName};
    for (int i = 1; i < list->count(); ++i) {
      const QString text = list->item(i)->text();
      const QString name = text.section(QLatin1Char(' '), 0, 0);
      QVERIFY2(legal.contains(name) && !named.contains(name), qPrintable(text));
      named << name;
      QVERIFY2(text.mid(name.size() + 1, 2) == bound, qPrintable(text));
      QVERIFY2(text.mid(name.size() + 3).toInt() <= g.Flow.BestScore, qPrintable(text));
    }
  }

  void aResignedGameIsRatedOnceAndKeepsItsResult() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartRated(dir, boxes, &chosen);
    GameState& g = w->state();
    Type(*w, "11-15");  // the user's move, the computer's reply
    QCOMPARE(g.P.GamePly, 2);
    const int before = g.Rating.UserRating;
    Trigger(*w, "Resign");
    const int after = g.Rating.UserRating;
    QVERIFY(after < before);
    QCOMPARE(QString::fromStdString(g.Flow.GameResult), QStringLiteral("0-1"));  // Black moved first and resigned
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Computer wins!"));

    // Computer-Player again: the finished game offers no resignation.
    Trigger(*w, "Cplayer");
    QVERIFY(!w->commands()->entry("Resign")->isEnabled());
    QVERIFY(!w->commands()->buttonByKey("Resign")->isEnabled());
    QVERIFY(!w->commands()->entry("Offerdraw")->isEnabled());
    ResignGame(g);  // one that still arrives
    QCOMPARE(g.Rating.UserRating, after);

    // A move typed now is told why it is not played.
    boxes.messages.clear();
    Type(*w, "9-14");
    QCOMPARE(boxes.messages, QStringList({"Error|the game is over"}));

    // The saved game carries the result.
    chosen = dir.path() + "/resigned.pdn";
    w->onSaveRequested();
    const QByteArray pdn = ReadFile(chosen);
    QVERIFY2(pdn.contains("[Result \"0-1\"]"), pdn.constData());
    QVERIFY2(pdn.trimmed().endsWith("0-1"), pdn.constData());
  }

  void theEndOfAWonGameStaysVisible() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartRated(dir, boxes, &chosen);
    GameState& g = w->state();
    const QString user = QString::fromStdString(g.Opt.UserName);
    // Black (the user) takes White's last man.
    for (int& v : g.board)
      if (v != kOffBoard) v = 0;
    g.board[Cell(*w, "11")] = -1;
    g.board[Cell(*w, "15")] = 1;
    g.P.SideToMove = -1;
    g.Flow.PositionPreset = 1;
    SetupPositionState(g);
    w->DrawBoard(0);
    QCOMPARE(w->topNameLabel()->text(), user);
    Type(*w, "11x18");
    QCOMPARE(g.Flow.GameOver, 1);
    QVERIFY(boxes.messages.contains("Congratulations|Black wins!"));
    // After the box: the result in the status bar, the names where they played.
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black wins!"));
    QCOMPARE(w->topNameLabel()->text(), user);
    QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Computer"));
    QCOMPARE(QString::fromStdString(g.Flow.GameResult), QStringLiteral("1-0"));
    // Taken back, the user is to move again beside Black.
    Button(*w, "Back");
    QCOMPARE(g.P.SideToMove, -1);
    QCOMPARE(w->topNameLabel()->text(), user);
    QCOMPARE(w->bottomNameLabel()->text(), QStringLiteral("Computer"));
  }

  void theCommentBoxWaitsWhileTheComputerThinks() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartRated(dir, boxes, &chosen, 0);  // one second per move
    GameState& g = w->state();
    int busySeen = 0;
    bool enabledDuring = true;
    // Looked at once the computer's search has begun.
    wait_test::Poll during([&] {
      if (g.Flow.Busy != 1 || g.Search.Nodes == 0) return false;
      busySeen = g.Flow.Busy;
      enabledDuring = w->commentBox()->isEnabled();
      return true;
    });
    QVERIFY(w->commentBox()->isEnabled());
    Type(*w, "11-15");
    QCOMPARE(busySeen, 1);
    QVERIFY(!enabledDuring);
    QCOMPARE(g.P.GamePly, 2);
    QVERIFY(w->commentBox()->isEnabled());
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

  // Help > Rules and Quick Rules (F1) with a link: when no browser starts
  // for it, the user is told so, with the link named.
  void rulesHelpSaysWhenNoBrowserOpensTheLink() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = StartQuick(dir, boxes);
    int shown = 0;
    w->gameFlowHooks.showRulesWindow = [&] { ++shown; };
    const QString link = "https://example.org/rules/pool.html", quick = "https://example.org/rules/quick.html";
    w->state().Variant.HelpLink = link.toStdString();
    w->state().Variant.QuickHelpLink = quick.toStdString();
    // The offscreen platform has no browser.
    boxes.messages.clear();
    Trigger(*w, "Rules");
    Trigger(*w, "QuickRules");
    QCOMPARE(boxes.messages.size(), 2);
    QVERIFY2(boxes.messages[0].startsWith("Error|") && boxes.messages[0].contains('"' + link + '"'),
             qPrintable(boxes.messages[0]));
    QVERIFY2(boxes.messages[1].contains('"' + quick + '"'), qPrintable(boxes.messages[1]));
    // A browser that takes the link: nothing to say.
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    boxes.messages.clear();
    Trigger(*w, "Rules");
    Trigger(*w, "QuickRules");
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(browser.opened, (QList<QUrl>{QUrl(link), QUrl(quick)}));
    QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join('\n')));
    QCOMPARE(shown, 0);
  }
};

QTEST_MAIN(GameFlowTest)
#include "gameflow_test.moc"
