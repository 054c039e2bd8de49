// Game files in the window: Open and Save through the file dialogs, the
// diagram, and the autosave game written at exit and resumed at start-up.
#include <QPushButton>
#include <optional>
#include <QTreeWidget>

#include "app/dialogs/dlgpdn.h"
#include "app/dialogs_fixture.h"
#include "app/window_fixture.h"
#include "core/files/gamefile.h"
#include "core/game/gamesetup.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"

namespace {

// Three plies of American Checkers played into the window's game.
void PlayOpening(GameState& g) {
  g.Opt.Notation = 1;
  for (const char* move : {"1115", "2218", "1522"}) {
    QVERIFY2(PlayMoveString(g, move), move);
    RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]);
    ResetPly(g);
  }
  g.Flow.GameStarted = 1;
  g.Game.PlyComments[3] = "a capture";
}

}  // namespace

class FileCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void autosaveIsWrittenAtExitAndResumedAtStart() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.AutoSave = 1;
      g.Opt.ConfirmExit = 0;
    });
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    PlayOpening(w->state());
    w->onExitRequested();
    const QByteArray saved = ReadFile(dir.path() + "/tavrin.sav");
    QVERIFY(saved.startsWith("TAVRIN Version=0.89\r\n"));
    QVERIFY(saved.endsWith("\r\n1115\r\n2218\r\n1522\r\n{a capture}\r\n"));

    Boxes again;
    auto w2 = StartWithFiles(dir.path(), again, &chosen);
    GameState& g = w2->state();
    QCOMPARE(g.Game.GameLength, 3);
    QCOMPARE(g.P.GamePly, 3);
    QCOMPARE(w2->playedMoves()->count(), 3);
    QCOMPARE(w2->commentBox()->toPlainText(), QString("a capture"));
    QVERIFY(g.Game.GameMoves[3].IsCapture());
    QVERIFY(again.messages.isEmpty());
    // The status bar says who is to move in the resumed game.
    QCOMPARE(g.P.SideToMove, 1);
    QCOMPARE(w2->statusPanel(1)->text(), QStringLiteral("White moves"));
  }

  void autosaveOffStartsFresh() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.AutoSave = 0; });
    {
      GameState g;
      InitGame(g);
      PlayOpening(g);
      WriteFile(dir.path() + "/tavrin.sav", QByteArray::fromStdString(GameFileText(g)));
    }
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    QCOMPARE(w->state().Game.GameLength, 0);
  }

  void startUpOpensARandomOpeningOrPlaysTheDoMoves() {
    QTemporaryDir dir;
    QFile::copy(QString(M8_DATA_DIR) + "/opening.pdn", dir.path() + "/opening.pdn");
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.ChooseOpening = 1;
      g.Opt.BookRandom = 1;  // no chooser: a game drawn at random
    });
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    QVERIFY(w->state().Game.GameLength >= 1);
    QCOMPARE(w->playedMoves()->count(), w->state().Game.GameLength);
    QVERIFY(w->state().Flow.GameFileTitle.empty());

    QTemporaryDir dir2;
    WriteSettings(dir2.path(), [](GameState& g) {
      g.Rules.DoMoves = 1;
      g.Rules.NumberMoves = 4;
    });
    auto w2 = StartWithFiles(dir2.path(), boxes, &chosen);
    QVERIFY(w2->state().Game.GameLength >= 1);
    QVERIFY(w2->state().Game.GameLength <= 4);
    QVERIFY(!QFile::exists(dir2.path() + "/domoves.tvn"));
    QVERIFY(boxes.messages.isEmpty());
    // A new game plays them again.
    w2->NewGameCommand(0);
    QVERIFY(w2->state().Game.GameLength >= 1);
    QVERIFY(w2->state().Game.GameLength <= 4);
    QCOMPARE(w2->playedMoves()->count(), w2->state().Game.GameLength);
  }

  void saveThenOpen() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    PlayOpening(w->state());
    chosen = dir.path() + "/mine.tvn";
    w->onSaveRequested();
    QVERIFY(QFile::exists(chosen));
    QCOMPARE(w->windowTitle(), QString(" Morventa8 1.58 - mine.tvn"));
    QCOMPARE(boxes.questions, 0);
    // Saving again over the file asks first; No leaves it.
    const QByteArray before = ReadFile(chosen);
    w->state().Game.PlyComments[3] = "changed";
    boxes.answer = false;
    w->onSaveRequested();
    QCOMPARE(boxes.questions, 1);
    QCOMPARE(ReadFile(chosen), before);

    // PDN is added to, never asked about.
    chosen = dir.path() + "/games.PDN";
    w->onSaveRequested();
    w->onSaveRequested();
    QCOMPARE(boxes.questions, 1);
    QCOMPARE(ReadFile(chosen).count("[Date \""), 2);

    Boxes again;
    chosen = dir.path() + "/mine.tvn";
    auto w2 = StartWithFiles(dir.path(), again, &chosen);
    w2->onOpenRequested();
    QCOMPARE(w2->state().Game.GameLength, 3);
    QCOMPARE(w2->playedMoves()->count(), 3);
    QCOMPARE(w2->windowTitle(), QString(" Morventa8 1.58 - mine.tvn"));

    // A broken file is refused and the game stays.
    chosen = dir.path() + "/broken.tvn";
    WriteFile(chosen, "TAVRIN Version=0.89\r\nSetup=12x\r\nSTART\r\n");
    w2->onOpenRequested();
    QCOMPARE(w2->state().Game.GameLength, 3);
    QVERIFY(again.messages.last().contains("broken.tvn, line 2"));
  }

  // The caption names the file the game is in: a save that wrote nothing
  // (refused, declined or cancelled) leaves it and the game's file as they were.
  void aSaveThatWritesNothingLeavesTheCaption() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    PlayOpening(w->state());
    chosen = dir.path() + "/mine.tvn";
    w->onSaveRequested();
    const QString caption = " Morventa8 1.58 - mine.tvn";
    QCOMPARE(w->windowTitle(), caption);
    WriteFile(dir.path() + "/plain", "a file, not a folder");
    WriteFile(dir.path() + "/other.tvn", "kept");
    boxes.answer = false;  // do not overwrite other.tvn
    for (const QString& name : QStringList{"plain/game.tvn", "plain/game.pdn", "other.tvn", ""}) {
      boxes.messages.clear();
      chosen = name.isEmpty() ? QString() : dir.path() + "/" + name;
      w->onSaveRequested();
      QCOMPARE(w->windowTitle(), caption);
      QCOMPARE(w->state().Flow.GameFileTitle, std::string("mine.tvn"));
      QCOMPARE(w->fileDialogFolder(), dir.path());
      QCOMPARE(boxes.messages.size(), name.startsWith("plain/") ? 1 : 0);
    }
    QCOMPARE(ReadFile(dir.path() + "/other.tvn"), QByteArray("kept"));
  }

  void theFileDialogsStartWhereTheGameIs() {
    QTemporaryDir dir, first, second;
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    QCOMPARE(w->fileDialogFolder(), QDir::currentPath());  // nothing chosen yet
    PlayOpening(w->state());
    chosen = first.path() + "/mine.tvn";
    w->onSaveRequested();
    QCOMPARE(w->fileDialogFolder(), first.path());
    // A file refused in another folder: the game in hand still comes from
    // the first one.
    chosen = second.path() + "/broken.tvn";
    WriteFile(chosen, "TAVRIN Version=0.89\r\nSetup=12x\r\nSTART\r\n");
    w->onOpenRequested();
    QCOMPARE(w->state().Game.GameLength, 3);
    QCOMPARE(w->fileDialogFolder(), first.path());
    // A new game is in no file: the folder chosen last.
    w->NewGameCommand(0);
    QCOMPARE(w->fileDialogFolder(), second.path());
    // The game opened from the first folder again.
    chosen = first.path() + "/mine.tvn";
    w->onOpenRequested();
    QCOMPARE(w->state().Game.GameLength, 3);
    QCOMPARE(w->fileDialogFolder(), first.path());
  }

  // Names in any language reach the chooser and the side labels: a Latin-1
  // file and a UTF-8 file of the same games, and a Windows-1251 file of
  // short Russian names and initials.
  void namesInAnyLanguageShowAsWritten() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen;
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    const QString black = QString::fromUtf8("Сергей"), white = QString::fromUtf8("Jürgen 张伟");
    const QByteArray utf8 = "[Event \"Club\"]\n[Black \"" + black.toUtf8() + "\"]\n[White \"" + white.toUtf8() +
                            "\"]\n\n1. 11-15 23-19 *\n\n[Event \"Second\"]\n\n1. 9-14 *\n";
    const QByteArray latin1 = "[Event \"Club\"]\n[Black \"J\xFCrg\"]\n[White \"Ren\xE9\"]\n\n1. 11-15 23-19 *\n\n"
                              "[Event \"Second\"]\n\n1. 9-14 *\n";
    const QByteArray windows1251 = "[Event \"\xCA\xF3\xE1\xEE\xEA\"]\n[Black \"\xCB\xE8 \xDE.\"]\n"
                                   "[White \"\xCA\xE8\xEC \xC2.\"]\n\n1. 11-15 23-19 *\n\n[Event \"Second\"]\n\n1. 9-14 *\n";
    struct Case {
      QByteArray bytes;
      QString black, white;
    } cases[] = {{utf8, black, white},
                 {latin1, QString::fromUtf8("Jürg"), QString::fromUtf8("René")},
                 {windows1251, QString::fromUtf8("Ли Ю."), QString::fromUtf8("Ким В.")}};
    for (const Case& c : cases) {
      chosen = dir.path() + "/names.pdn";
      WriteFile(chosen, c.bytes);
      QString shownBlack, shownWhite;
      const auto answer = dialogs_test::WhenModal<DlgPdn>([&](DlgPdn* d) {
        shownBlack = d->gamesList()->topLevelItem(0)->text(2);
        shownWhite = d->gamesList()->topLevelItem(0)->text(3);
        d->gamesList()->setCurrentItem(d->gamesList()->topLevelItem(0));
        d->findChild<QPushButton*>("OKButton")->click();
      });
      w->onOpenRequested();
      QCOMPARE(shownBlack, c.black);
      QCOMPARE(shownWhite, c.white);
      QCOMPARE(w->state().Game.GameLength, 2);
      QCOMPARE(w->topNameLabel()->text(), c.black);
      QCOMPARE(w->bottomNameLabel()->text(), c.white);
      w->state().Flow.GameStarted = 0;  // open the next file without asking
    }
  }

  // A game won by its last move tells so while it is being opened, in a
  // different notation from the one shown before: beside the box the board
  // bears the labels of one notation only.
  void theEndOfAnOpenedGameShowsOneSetOfLabels() {
    QTemporaryDir dir;
    const QString chosen = dir.path() + "/won.pdn";
    WriteFile(chosen, "[GameType \"21\"]\r\n[FEN \"W:W18:B14\"]\r\n\r\n1. 18x9 1-0\r\n");
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.Notation = 0; });
    MainWindow* window = nullptr;
    const auto texts = [&window] {
      QStringList out;
      for (const auto& t : window->surface()->printedTexts())
        out << QStringLiteral("%1,%2 %3").arg(t.x).arg(t.y).arg(t.text);
      out.sort();
      return out;
    };
    Boxes boxes;
    QStringList atBox, clean;
    auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) {
      o.fileDialog = [&chosen](const QString&, const QString&, bool) { return chosen; };
      o.boxes.message = [&](Icon, const QString& title, const QString& text) {
        boxes.messages << title + "|" + text;
        if (!atBox.isEmpty()) return;
        atBox = texts();
        window->clearDrawing();
        window->printCoordinates();
        clean = texts();
      };
    });
    window = w.get();
    const QStringList letters = texts();
    QCOMPARE(letters.size(), 16);
    const auto answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* c) {
      c->gamesList()->setCurrentItem(c->gamesList()->topLevelItem(0));
      c->findChild<QPushButton*>("OKButton")->click();
    });
    w->onOpenRequested();
    QCOMPARE(w->state().Game.GameLength, 1);
    QVERIFY2(!atBox.isEmpty(), qPrintable(boxes.messages.join('\n')));
    QCOMPARE(atBox, clean);
  }

  // A finished game opened while a game of another variant is in progress
  // shows itself while the box tells its end: the caption names its file,
  // the variant name carries no "(M)", the legal-move list holds what it
  // holds after OK (nothing of the game before, in that game's notation),
  // and the progress bar is empty again.
  void aFinishedGameShowsItselfWhileItsEndIsTold() {
    QTemporaryDir dir;
    const QString russianPlaying = dir.path() + "/playing-ru.pdn";
    const QString americanPlaying = dir.path() + "/playing-am.pdn";
    const QString americanWon = dir.path() + "/won-am.pdn";
    const QString americanOwn = dir.path() + "/won-am.tvn";
    const QString russianWon = dir.path() + "/won-ru.pdn";
    CopyShipped("variants", dir.path());
    WriteFile(russianPlaying, "[GameType \"25\"]\r\n\r\n1. c3-d4 *\r\n");
    WriteFile(americanPlaying, "[GameType \"21\"]\r\n\r\n1. 11-15 23-19 *\r\n");
    WriteFile(americanWon, "[GameType \"21\"]\r\n[FEN \"W:W18:B14\"]\r\n\r\n1. 18x9 1-0\r\n");
    WriteFile(russianWon, "[GameType \"25\"]\r\n[FEN \"W:Wc3:Bd4\"]\r\n\r\n1. c3xe5 1-0\r\n");
    QString chosen;
    {
      // The American game in the program's own format, as the program saves it.
      Boxes boxes;
      auto w = StartWithFiles(dir.path(), boxes, &chosen);
      chosen = americanWon;
      const auto answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* c) { c->findChild<QPushButton*>("OKButton")->click(); });
      w->onOpenRequested();
      chosen = americanOwn;
      w->onSaveRequested();
      QVERIFY(QFile::exists(americanOwn));
    }
    struct Case {
      const char* what;
      QString playing, finished;
    };
    const Case cases[] = {
        {"American PDN after Russian", russianPlaying, americanWon},
        {"American own file after Russian", russianPlaying, americanOwn},
        {"Russian PDN after American", americanPlaying, russianWon},
    };
    for (const Case& c : cases) {
      struct Shown {
        QString caption, variant;
        QStringList legal, played;
        int progress = -1;
      };
      MainWindow* window = nullptr;
      const auto shown = [&window] {
        Shown s{window->windowTitle(), window->variantNameLabel()->text(), {}, {}, window->progressBar()->value()};
        for (int i = 0; i < window->legalMoves()->count(); ++i) s.legal << window->legalMoves()->item(i)->text();
        for (int i = 0; i < window->playedMoves()->count(); ++i) s.played << window->playedMoves()->item(i)->text();
        return s;
      };
      Boxes boxes;
      std::optional<Shown> atBox;
      auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) {
        o.fileDialog = [&chosen](const QString&, const QString&, bool) { return chosen; };
        o.boxes.askYesNo = [](const QString&, const QString&) { return true; };  // quit the game in progress
        o.boxes.message = [&](Icon, const QString& title, const QString& text) {
          boxes.messages << title + "|" + text;
          if (!atBox) atBox = shown();
        };
      });
      window = w.get();
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
      const auto open = [&](const QString& file) {
        chosen = file;
        std::unique_ptr<wait_test::Poll> answer;
        if (file.endsWith(".pdn"))
          answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* d) { d->findChild<QPushButton*>("OKButton")->click(); });
        w->onOpenRequested();
      };
      open(c.playing);
      QVERIFY2(w->state().Flow.GameOver == 0 && w->legalMoves()->count() > 0, c.what);
      const QStringList before = shown().legal;
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join('\n')));
      w->state().Flow.GameStarted = 1;  // a game in progress
      open(c.finished);
      QVERIFY2(atBox.has_value(), c.what);
      QVERIFY2(boxes.messages.first().contains("wins"), qPrintable(boxes.messages.join('\n')));
      QCOMPARE(w->state().Flow.GameOver, 1);
      // What the window shows after OK, worked out by the program at rest.
      const Shown after = shown();
      const QString name = QFileInfo(c.finished).fileName();
      QVERIFY2(after.caption.endsWith(" - " + name), qPrintable(after.caption));
      // While the box is up.
      QCOMPARE(atBox->caption, after.caption);
      QCOMPARE(atBox->variant, after.variant);
      QCOMPARE(atBox->legal, after.legal);
      QCOMPARE(atBox->played, after.played);
      for (const QString& line : before) QVERIFY2(!atBox->legal.contains(line), qPrintable(QString(c.what) + ": " + line));
      // The bar is empty again, during the box and after.
      QCOMPARE(after.progress, w->progressBar()->minimum());
      QCOMPARE(atBox->progress, after.progress);
    }
  }

  void openingAGameRedrawsTheCoordinates() {
    QTemporaryDir dir;
    Boxes boxes;
    QString chosen = dir.path() + "/games.pdn";
    {
      auto w = StartWithFiles(dir.path(), boxes, &chosen);
      PlayOpening(w->state());  // numbered squares
      w->onSaveRequested();
      chosen = dir.path() + "/mine.tvn";
      w->onSaveRequested();
    }
    QVERIFY(QFile::exists(chosen));
    chosen = dir.path() + "/games.pdn";
    {
      // As another program writes it: no GameType tag, so the moves are
      // shown in the user's notation.
      QFile f(chosen);
      QVERIFY(f.open(QIODevice::ReadOnly));
      QByteArray bytes = f.readAll();
      f.close();
      bytes.replace("[GameType \"21\"]\r\n", "");
      WriteFile(chosen, bytes);
    }
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.Notation = 0; });
    auto w = StartWithFiles(dir.path(), boxes, &chosen);
    auto texts = [&] {
      QStringList out;
      for (const auto& t : w->surface()->printedTexts()) out << QStringLiteral("%1,%2 %3").arg(t.x).arg(t.y).arg(t.text);
      out.sort();
      return out;
    };
    const QStringList before = texts();
    QCOMPARE(before.size(), 16);  // eight letters and eight digits
    const auto answer = dialogs_test::WhenModal<DlgPdn>([](DlgPdn* c) {
      c->gamesList()->setCurrentItem(c->gamesList()->topLevelItem(0));
      c->findChild<QPushButton*>("OKButton")->click();
    });
    w->onOpenRequested();
    QCOMPARE(w->state().Game.GameLength, 3);
    // The game is read with numbered squares and shown with the program's
    // letters: only the labels of the board as shown remain, none of those
    // printed while the game was read.
    QCOMPARE(w->state().Opt.Notation, 0);
    QCOMPARE(texts(), before);
    // A game file of the program's own brings its numbered squares along:
    // the numbers replace the letters instead of being printed over them.
    chosen = dir.path() + "/mine.tvn";
    w->onOpenRequested();
    QCOMPARE(w->state().Opt.Notation, 1);
    const QStringList loaded = texts();
    w->clearDrawing();
    w->DrawBoard(0);
    QCOMPARE(loaded, texts());
    QCOMPARE(loaded.size(), 12);  // four numbers along the bottom, eight up the side
  }

  void diagramIsWritten() {
    // The message says where the file went: the program folder, or the
    // user's data folder when the program folder is read-only.
    for (const bool readOnly : {false, true}) {
      QTemporaryDir dir, user;
      const QString data = user.path() + "/Morventa8";
      Boxes boxes;
      auto w = Start(dir.path(), boxes, 15, [&](MainWindowOptions& o) {
        if (!readOnly) return;
        o.folderWritable = [&dir](const QString& f) { return f != dir.path(); };
        o.userDataFolder = data;
      });
      const QString folder = readOnly ? data : dir.path();
      boxes.messages.clear();
      w->commands()->entry("CreateHtml")->trigger();
      QVERIFY(ReadFile(folder + "/diagram.html").startsWith("<HTML>\r\n"));
      QCOMPARE(boxes.messages, QStringList("Diagram|DIAGRAM.HTML created\r\n" + folder + "/diagram.html"));
    }
  }
};

QTEST_MAIN(FileCommandsTest)
#include "filecommands_test.moc"
