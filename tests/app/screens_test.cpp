// The window on small and ordinary screens: every dialog, box and popup whole
// on the free area, centred over the main window and closed by Escape, and
// the notice of a board too large for the screen.
#include <QMessageBox>
#include <QStatusBar>

#include "app/board_mouse.h"
#include "app/dialogs/dlgpdn.h"
#include "app/dialogs/frmrules.h"
#include "app/objectnames.h"
#include "app/window_fixture.h"

namespace {

QString Rect(const QRect& r) { return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// The window the last action opened: a popup, else a modal dialog, else a
// shown window of the program with that object name.
QWidget* Opened(const QString& name) {
  if (QWidget* p = QApplication::activePopupWidget()) return p;
  if (QWidget* m = QApplication::activeModalWidget()) return m;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->objectName() == name) return w;
  return nullptr;
}

// What became of the window an action opened.
struct Outcome {
  bool found = false;
  bool escapeClosed = false;
};

// Runs `check` on the window `open` shows while it is open (a modal one holds
// `open` until it closes; one named `name` is looked for once `open` has
// returned), then presses Escape on it.
void CheckAndEscape(const QString& name, const std::function<void()>& open,
                    const std::function<void(QWidget*)>& check, Outcome& out) {
  auto look = [&] {
    QWidget* w = Opened(name);
    if (!w) return false;
    out.found = true;
    check(w);
    QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape);
    out.escapeClosed = wait_test::WaitFor([w] { return !w->isVisible(); });
    // A window Escape left open must not hold the test.
    if (w->isVisible()) w->close();
    return true;
  };
  // A modal window is looked for while `open` holds on it; another once
  // `open` has returned.
  std::unique_ptr<wait_test::Poll> poll;
  if (name.isEmpty()) poll = std::make_unique<wait_test::Poll>(look);
  open();
  if (!name.isEmpty()) poll = std::make_unique<wait_test::Poll>(look);
  QVERIFY(wait_test::WaitFor([&] { return !poll->active(); }));
}

// A one-row label reads whole, or ends at a whole word of its text with
// " …", its tool tip then telling the whole text; what it shows fits its box.
void VerifyReadsWholeOrToAWord(QLabel* label, const QString& whole) {
  const QString shown = label->text();
  const QString where = label->objectName() + ": \"" + shown + "\"";
  QVERIFY2(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width(), qPrintable(where));
  if (shown == whole) {
    QVERIFY2(label->toolTip().isEmpty(), qPrintable(where));
    return;
  }
  const QString more = QStringLiteral(" ") + QChar(0x2026);
  QVERIFY2(shown.endsWith(more), qPrintable(where));
  const QString kept = shown.chopped(more.size());
  QVERIFY2(!kept.isEmpty() && whole.startsWith(kept) && whole[kept.size()].isSpace(), qPrintable(where));
  QCOMPARE(label->toolTip(), whole);
}

}  // namespace

class ScreensTest : public QObject {
  Q_OBJECT
 private slots:
  void everyDialogOpensWholeOverTheMainWindow_data() {
    QTest::addColumn<QRect>("area");  // the free area of the screen
    QTest::newRow("800x600") << QRect(0, 0, 800, 600);
    QTest::newRow("1024x768") << QRect(0, 0, 1024, 768);
  }

  void everyDialogOpensWholeOverTheMainWindow() {
    QFETCH(QRect, area);
    QTemporaryDir dir;
    CopyShipped("variants", dir.path());
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.ConfirmExit = 1;
      g.Opt.PlyValueDepth = 2;
    });
    const QString pdn = dir.path() + "/two.pdn";
    WriteFile(pdn, "[Event \"First\"]\n\n1. 11-15 23-19 *\n\n[Event \"Second\"]\n\n1. 9-14 *\n");
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) {
      o.availableGeometry = area;
      o.fileDialog = [pdn](const QString&, const QString&, bool) { return pdn; };
    });
    // From here on the boxes are the program's own.
    w->host().setBoxHooks({});
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    QVERIFY2(area.contains(w->frameGeometry()), qPrintable(Rect(w->frameGeometry())));
    GameState& g = w->state();
    auto command = [&w](const char* entry) { return [&w, entry] { w->commands()->entry(entry)->trigger(); }; };

    struct Case {
      const char* what;
      const char* name;  // its object name; none: a message box
      bool modal;
      std::function<void()> open;
    };
    const Case cases[] = {
        {"Options", objectnames::kOptionsDialog, true, command("Options")},
        {"Details", objectnames::kDetailsDialog, true, command("Details")},
        {"About", objectnames::kAboutWindow, true, command("mnu_Help_About")},
        {"Problems", objectnames::kProblemWindow, false, command("problems")},
        {"Ply Value Table", objectnames::kPlyValueWindow, false, command("plyvaluetable")},
        {"PDN chooser", objectnames::kPdnDialog, true, command("Open1")},
        {"rules editor", objectnames::kVariantsDialog, true, command("NewVariant")},
        {"rules window", objectnames::kRulesWindow, true, [&] { ShowRulesWindow(g, w.get()); }},
        {"message box", "", true, command("rating")},
        {"exit question", "", true, command("Exit")},
    };
    for (const Case& c : cases) {
      Outcome out;
      CheckAndEscape(c.modal ? "" : c.name, c.open, [&](QWidget* d) {
        if (*c.name)
          QCOMPARE(d->objectName(), QString(c.name));
        else
          QVERIFY(qobject_cast<QMessageBox*>(d));
        const QRect f = d->frameGeometry();
        QVERIFY2(area.contains(f), qPrintable(QString(c.what) + " at " + Rect(f)));
        const QPoint off = f.center() - w->frameGeometry().center();
        QVERIFY2(std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2,
                 qPrintable(QString(c.what) + " off the centre by " + QString("%1,%2").arg(off.x()).arg(off.y())));
        // No control is squeezed below the room it needs.
        QVERIFY2(d->width() >= d->minimumSizeHint().width() && d->height() >= d->minimumSizeHint().height(),
                 qPrintable(QString(c.what) + " squeezed"));
      }, out);
      QVERIFY2(out.found, c.what);
      QVERIFY2(out.escapeClosed, qPrintable(QString(c.what) + ": Escape left it open"));
    }
    QVERIFY(!w->programEnded());  // Escape answered the exit question No

    // The set-up popup opens at the pointer, all of it on the screen even in
    // the corner.
    const int square = Control(*w, "b4");
    Outcome popup;
    CheckAndEscape("", [&] { w->OpenSetupPopup(square, square, area.bottomRight() - QPoint(3, 3)); },
                   [&](QWidget* p) {
                     QCOMPARE(p->objectName(), QString(objectnames::kSetupPopup));
                     QVERIFY2(area.contains(p->frameGeometry()), qPrintable(Rect(p->frameGeometry())));
                   }, popup);
    QVERIFY(popup.found);
    QVERIFY(popup.escapeClosed);
  }

  // A board size too large for the screen is said in the status bar, not in
  // a box at every start; the skin chosen stays the user's.
  void theSmallScreenNoticeHoldsNoStartUp() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.SkinName = "Classic Medium";
      g.Opt.ConfirmExit = 0;
    });
    for (int start = 0; start < 2; ++start) {
      Boxes boxes;
      auto w = Start(dir.path(), boxes, 15, [](MainWindowOptions& o) { o.availableGeometry = QRect(0, 0, 800, 600); });
      QCOMPARE(w->state().Opt.BoardSizeCode, 0);
      QCOMPARE(boxes.messages, QStringList{});
      const QString notice = w->statusPanel(2)->text();
      QVERIFY2(notice.contains("\"Classic Medium\"") && notice.contains("\"Classic Small\""), qPrintable(notice));
      QVERIFY2(w->statusPanel(2)->toolTip().contains("800 x 600"), qPrintable(w->statusPanel(2)->toolTip()));
      QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
      // It stays while the board is shown smaller, also after a new game.
      w->NewGameCommand(0);
      QCOMPARE(w->statusPanel(2)->text(), notice);
      w->onExitRequested();
    }
    QVERIFY(ReadFile(dir.path() + "/tavrin.ini").contains("\r\nClassic Medium\r\n"));
    // A skin that fits says nothing.
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.SkinName = "Classic Small"; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [](MainWindowOptions& o) { o.availableGeometry = QRect(0, 0, 800, 600); });
    QVERIFY(w->statusPanel(2)->text().isEmpty());
  }

  // The notice of the smaller board reads whole in the status bar, beside a
  // search's status and an opening's name, on the screens where it is shown.
  void theSmallScreenNoticeReadsWhole_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QString>("skin");
    QTest::newRow("800x600, medium") << QRect(0, 0, 800, 600) << QStringLiteral("Classic Medium");
    QTest::newRow("800x600, big") << QRect(0, 0, 800, 600) << QStringLiteral("Classic Big");
    QTest::newRow("1024x768, big") << QRect(0, 0, 1024, 768) << QStringLiteral("Classic Big");
    // A skin of the user's, big, with a long name.
    QTest::newRow("800x600, a long skin name")
        << QRect(0, 0, 800, 600) << QStringLiteral("Walnut and Maple Inlay from the Workshop of My Grandfather");
  }

  void theSmallScreenNoticeReadsWhole() {
    QFETCH(QRect, area);
    QFETCH(QString, skin);
    QTemporaryDir dir;
    if (!skin.startsWith("Classic ")) WriteFile(dir.path() + "/skins/" + skin + ".ini", "BoardCustomSize=1\r\nEND\r\n");
    WriteSettings(dir.path(), [&](GameState& g) {
      g.Opt.SkinName = skin.toStdString();
      g.Opt.ConfirmExit = 0;
    });
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) { o.availableGeometry = area; });
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    QVERIFY(!w->statusPanel(2)->text().isEmpty());
    // The size shown is always named; the tool tip says the rest.
    QVERIFY2(w->statusPanel(2)->text().contains(w->state().Opt.BoardSizeCode == 0 ? "\"Classic Small\"" : "\"Classic Medium\""),
             qPrintable(w->statusPanel(2)->text()));
    QVERIFY2(w->statusPanel(2)->toolTip().contains("\"" + skin + "\""), qPrintable(w->statusPanel(2)->toolTip()));
    // The longest status of a search, with and without an opening's name.
    w->host().status(1, "Analyzing... (12/13)  c3xe5xg3xe1");
    for (const QString& opening : {QString(), QStringLiteral("Old Fourteenth")}) {
      w->host().status(3, opening.toStdString());
      QCoreApplication::processEvents();
      for (int n = 1; n <= 3; ++n) {
        QLabel* panel = w->statusPanel(n);
        const int needed = panel->fontMetrics().horizontalAdvance(panel->text());
        QVERIFY2(needed <= panel->contentsRect().width(),
                 qPrintable(QString("panel %1 \"%2\" needs %3 pixels, has %4")
                                .arg(n).arg(panel->text()).arg(needed).arg(panel->contentsRect().width())));
        QVERIFY2(panel->geometry().right() <= w->statusBar()->contentsRect().right(), qPrintable(panel->text()));
      }
    }
  }

  // At 800 x 600 with an opening's name beside it, a long status text and
  // long player names read whole or end at a whole word, their tool tips
  // telling them whole; the status text takes the room the name leaves when
  // it goes. A long name of the user still tells which side the user plays.
  void longStatusTextsAndNamesEndAtAWholeWord() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.ConfirmExit = 0;
      g.Opt.UserName = "Marion Tinsley-Abernathy the Younger";
    });
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [](MainWindowOptions& o) { o.availableGeometry = QRect(0, 0, 800, 600); });
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    GameState& g = w->state();
    const QString hint =
        "Think ahead and try not to leave your opponent with more than one capture: a man given away may be "
        "taken back twice.";
    w->host().status(3, "Old Fourteenth");
    w->host().status(1, hint.toStdString());
    QCoreApplication::processEvents();
    VerifyReadsWholeOrToAWord(w->statusPanel(1), hint);
    if (QTest::currentTestFailed()) return;
    QVERIFY2(w->statusPanel(1)->text() != hint, "the test's text fits: it tests nothing");
    QCOMPARE(w->statusPanel(3)->text(), QStringLiteral("Old Fourteenth"));
    QVERIFY(w->statusPanel(3)->fontMetrics().horizontalAdvance("Old Fourteenth") <=
            w->statusPanel(3)->contentsRect().width());
    QVERIFY(w->statusPanel(1)->geometry().right() < w->statusPanel(3)->geometry().left());
    // Without the opening's name the status text has more room.
    const int shownBefore = static_cast<int>(w->statusPanel(1)->text().size());
    w->host().status(3, "");
    QCoreApplication::processEvents();
    VerifyReadsWholeOrToAWord(w->statusPanel(1), hint);
    QVERIFY(w->statusPanel(1)->text().size() > shownBefore);

    const QString user = QString::fromStdString(g.Opt.UserName);
    g.Flow.PlayerName1 = user.toStdString();
    g.Flow.PlayerName2 = "Chinook (computer program, University of Alberta)";
    w->ShowSideToMove();
    VerifyReadsWholeOrToAWord(w->topNameLabel(), user);
    VerifyReadsWholeOrToAWord(w->bottomNameLabel(), QString::fromStdString(g.Flow.PlayerName2));
    if (QTest::currentTestFailed()) return;
    QVERIFY(w->topNameLabel()->text() != user);
    const bool blackFirst = g.Rules.BlackStarts == 1;
    QCOMPARE(w->IsUserColour(blackFirst ? "black" : "white"), 1);
    QCOMPARE(w->IsUserColour(blackFirst ? "white" : "black"), 0);
  }

  // Another skin lays the window out again and leaves the status bar as it
  // was: a finished game's result and the opening's name stay.
  void anotherSkinKeepsTheStatusBar() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.ConfirmExit = 0; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    GameState& g = w->state();
    g.Flow.GameOver = 1;
    w->host().status(1, "Computer wins!");
    w->host().status(3, "Old Fourteenth");
    for (const char* skin : {"Classic Small", "Classic Big"}) {
      g.Opt.SkinName = skin;
      w->ReloadSkin();
      QCoreApplication::processEvents();
      QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Computer wins!"));
      QCOMPARE(w->statusPanel(3)->text(), QStringLiteral("Old Fourteenth"));
    }
  }

  // The engine output of a deep search, its main line at full length, reads
  // whole in its box in every layout: no row is cut off at the box's foot.
  void theEngineOutputReadsWholeInEveryLayout() {
    const std::string main20 =
        "c3xe5 f6xd4 e3xc5 d6xb4 a3xc5 b6xd4 g3-f4 h6-g5 f4xh6 d4-e3 f2xd4 c7-b6 d4-e5 b6-a5 e5-f6 g7xe5 h6-g7 "
        "e5-f4 g7-h8K f4-g3 ";
    const std::string output = "Depth: 20   Best: c3xe5   Score: 125   Time: 00:12.34\r\nMain: " + main20;
    for (int tpp : {15, 12}) {
      for (int code : {0, 2, 3}) {
        const QString where = QString("tpp %1 size %2").arg(tpp).arg(code);
        QTemporaryDir dir;
        Boxes boxes;
        auto w = Start(dir.path(), boxes, tpp);
        GameState& g = w->state();
        g.Opt.BoardSizeCode = code;
        w->ArrangeLayout();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
        g.Search.EngineOutputText = output;
        w->host().refresh(View::EngineOutput);
        QCoreApplication::processEvents();
        QLabel* box = w->engineOutputLabel();
        const QRect room = box->contentsRect();
        const QString shown = box->text();
        const QRect needed =
            box->fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, shown);
        QVERIFY2(needed.height() <= room.height(),
                 qPrintable(where + QString(": needs %1 pixels, has %2 for \"%3\"").arg(needed.height()).arg(room.height()).arg(shown)));
        // The search's result line stays whole; of the main line at least its
        // first moves, in order.
        QVERIFY2(shown.startsWith("Depth: 20   Best: c3xe5   Score: 125   Time: 00:12.34\nMain: c3xe5 f6xd4 e3xc5 d6xb4"),
                 qPrintable(where + ": " + shown));
        QVERIFY2(QString::fromStdString(output).replace("\r\n", "\n").startsWith(QString(shown).remove(QChar(0x2026)).trimmed()),
                 qPrintable(where + ": " + shown));
        // A shortened output is read whole in its tool tip.
        if (shown != QString::fromStdString(output).replace("\r\n", "\n"))
          QCOMPARE(box->toolTip(), QString::fromStdString(output).replace("\r\n", "\n"));
      }
    }
  }
};

QTEST_MAIN(ScreensTest)
#include "screens_test.moc"
