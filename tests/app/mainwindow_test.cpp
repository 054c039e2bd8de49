// The main window after start-up, its layouts, its drawing and its exits,
// each in a temporary program folder.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <memory>

#include "app/mainwindow/boardview.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "core/files/settings.h"

using namespace m8;

namespace {

struct Boxes {
  int questions = 0;
  bool answer = true;
  QStringList messages;  // "title|text"
};

std::unique_ptr<MainWindow> Start(const QString& folder, Boxes& boxes, int tpp = 15) {
  MainWindowOptions o;
  o.programFolder = folder;
  o.twipsPerPixel = tpp;
  o.boxes.askYesNo = [&boxes](const QString& title, const QString& text) {
    ++boxes.questions;
    if (title != "Confirmation" || text != "Are you sure you want to exit?") qWarning() << "unexpected question" << text;
    return boxes.answer;
  };
  o.boxes.message = [&boxes](Icon, const QString& title, const QString& text) {
    boxes.messages << title + "|" + text;
  };
  return std::make_unique<MainWindow>(o);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A settings file with every default but the values changed by `edit`.
template <typename F>
void WriteSettings(const QString& folder, F edit) {
  GameState g;
  SetDefaultSettings(g);
  edit(g);
  const std::string text = SettingsText(g);
  WriteFile(folder + "/tavrin.ini", QByteArray::fromStdString(text));
}

QString DefaultSettingsText() {
  GameState g;
  SetDefaultSettings(g);
  return QString::fromStdString(SettingsText(g));
}

int Px(int twips, int tpp) { return static_cast<int>(std::lround(static_cast<double>(twips) / tpp)); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void coldStartWritesDefaultSettings() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->startupFailed());
    QCOMPARE(QString::fromLatin1(ReadFile(dir.path() + "/tavrin.ini")), DefaultSettingsText());
    QVERIFY(boxes.messages.isEmpty());
    QCOMPARE(w->state().Rating.UserRating, 1200);
    QVERIFY(ReadFile(dir.path() + "/tavrin.log").startsWith("\r\nMorventa8 1.58   "));
  }

  void logThatCannotBeOpenedIsReportedOnce() {
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.path() + "/tavrin.log"));  // a folder where the log should be
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->startupFailed());
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY2(boxes.messages[0].contains("tavrin.log"), qPrintable(boxes.messages[0]));
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers"));
  }

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

  void windowAfterStartup() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QCOMPARE(w->windowTitle(), QStringLiteral(" Morventa8 1.58"));
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers"));
    QCOMPARE(w->label(7)->text(), QStringLiteral("Strength: 9   Time: 2 sec"));
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
    QCOMPARE(w->label(3)->text(), QStringLiteral("Black"));
    QCOMPARE(w->label(4)->text(), QStringLiteral("White"));
    QCOMPARE(w->label(5)->text(), QStringLiteral("12"));
    QCOMPARE(w->label(6)->text(), QStringLiteral("12"));
    CommandSurface* c = w->commands();
    QVERIFY(c->entry("Cplayer")->isChecked());
    QVERIFY(!c->entry("Pplayer")->isChecked());
    QVERIFY(!c->entry("mnu_Play_Ccomputer")->isChecked());
    QVERIFY(c->button(19)->isChecked());
    QVERIFY(!c->button(20)->isChecked() && !c->button(21)->isChecked());
    QVERIFY(c->entry("mnu_Board_Notation_Chess")->isChecked());
    QVERIFY(c->entry("calculation")->isChecked());
    // Connected commands are live; the ones whose operations are not there
    // yet stay off.
    QVERIFY(c->entry("Exit")->isEnabled());
    QVERIFY(c->entry("Turn")->isEnabled());
    QVERIFY(c->button(27)->isEnabled());
    QVERIFY(!c->entry("New1")->isEnabled());
    QVERIFY(!c->button(7)->isEnabled());
    QCOMPARE(c->button(8)->data().toString(), QStringLiteral("Cancel"));
    QCOMPARE(c->button(8)->text(), QStringLiteral("Cancel Computing"));
    QVERIFY(c->button(3) == nullptr);  // a separator
  }

  void startsFromSavedPlayModeAndNotation_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<bool>("drawEnabled");
    QTest::addColumn<bool>("hintEnabled");
    QTest::newRow("player-computer") << 0 << "Cplayer" << 19 << true << true;
    QTest::newRow("player-player") << 1 << "Pplayer" << 20 << false << true;
    QTest::newRow("computer-computer starts as player-computer") << 2 << "Cplayer" << 19 << true << true;
  }
  void startsFromSavedPlayModeAndNotation() {
    QFETCH(int, mode);
    QFETCH(QString, checked);
    QFETCH(int, pressed);
    QFETCH(bool, drawEnabled);
    QFETCH(bool, hintEnabled);
    QTemporaryDir dir;
    WriteSettings(dir.path(), [&](GameState& g) {
      g.Opt.PlayMode = mode;
      g.Opt.Notation = 1;
    });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    CommandSurface* c = w->commands();
    QVERIFY(c->entry(checked)->isChecked());
    QVERIFY(c->button(pressed)->isChecked());
    QCOMPARE(c->entryWanted("Offerdraw"), drawEnabled);
    QCOMPARE(c->entryWanted("Hint"), hintEnabled);
    QVERIFY(c->entry("mnu_Board_Notation_Checkers")->isChecked());
    QVERIFY(!c->entry("mnu_Board_Notation_Chess")->isChecked());
  }

  void boardPicturesInBothOrientations() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    BoardView* b = w->board();
    // Medium board, turned (the default): cell 28 top left, cell 91 bottom right.
    QCOMPARE(w->state().Opt.BoardTurned, 1);
    QCOMPARE(b->picture(0), 32);   // cell 28: light square
    QCOMPARE(b->picture(7), 36);   // cell 21: white man on a dark square
    QCOMPARE(b->picture(63), 32);  // cell 91: light square
    QCOMPARE(b->picture(62), 35);  // cell 92: black man
    QCOMPARE(b->picture(24), 31);  // cell 58: dark and empty
    w->TurnBoard();
    QCOMPARE(w->state().Opt.BoardTurned, 0);
    QCOMPARE(b->picture(56), 36);  // cell 21 bottom left
    QCOMPARE(b->picture(0), 32);   // cell 91
    QCOMPARE(b->picture(1), 35);   // cell 92
    // Coordinates: letters a..h from the left on the normal board.
    const auto& texts = w->surface()->printedTexts();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const FormSurface::PrintedText& t) {
      return t.text == "a" && t.x == 809 - 85 && t.y == 7023;  // Medium at 15 twips per pixel
    }));
    const auto before = texts.size();
    QCOMPARE(before, size_t(16));  // eight letters and eight digits
    w->DrawBoard(0);  // a plain redraw prints the same labels again
    QCOMPARE(w->surface()->printedTexts().size(), before);
    w->TurnBoard();
    w->TurnBoard();
    QCOMPARE(w->surface()->printedTexts().size(), before);
    QCOMPARE(b->picture(56), 36);
  }

  void drawBoardCountsAndNumbers() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    for (int r = 2; r <= 9; ++r)
      for (int f = 1; f <= 8; ++f) g.board[10 * r + f] = 0;
    g.board[21] = 2;
    g.board[98] = -1;
    g.board[96] = -1;
    w->DrawBoard(0);
    QCOMPARE(w->label(5)->text(), QStringLiteral("2"));  // black first: black material
    QCOMPARE(w->label(6)->text(), QStringLiteral("2"));
    g.Rules.BlackStarts = 0;
    w->DrawBoard(0);
    QCOMPARE(w->label(3)->text(), QStringLiteral("White"));
    QCOMPARE(w->label(5)->text(), QStringLiteral("2"));
    // Numbered notation prints the square numbers along the edges.
    w->setNotation(1);
    QCOMPARE(g.Opt.Notation, 1);
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Checkers")->isChecked());
    const auto& texts = w->surface()->printedTexts();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == "4"; }));
    // With every square in play the numbered notation is refused.
    g.Rules.PiecesOnBlack = 2;
    w->setNotation(0);
    w->setNotation(1);
    QCOMPARE(g.Opt.Notation, 0);
    QVERIFY(w->commands()->entry("mnu_Board_Notation_Chess")->isChecked());
  }

  void sideToMoveDisplay_data() {
    QTest::addColumn<int>("blackStarts");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("upperWord");
    QTest::addColumn<bool>("upperMarked");
    QTest::addColumn<QString>("status");
    QTest::newRow("black first, white to move") << 1 << 1 << "Black" << false << "White moves";
    QTest::newRow("black first, black to move") << 1 << -1 << "Black" << true << "Black moves";
    QTest::newRow("white first, white to move") << 0 << 1 << "White" << true << "White moves";
  }
  void sideToMoveDisplay() {
    QFETCH(int, blackStarts);
    QFETCH(int, side);
    QFETCH(QString, upperWord);
    QFETCH(bool, upperMarked);
    QFETCH(QString, status);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Rules.BlackStarts = blackStarts;
    g.P.SideToMove = side;
    w->ShowSideToMove();
    QCOMPARE(w->label(3)->text(), upperWord);
    const QColor red(255, 0, 0), white(255, 255, 255);
    QCOMPARE(w->label(1)->palette().color(QPalette::Window), upperMarked ? red : white);
    QCOMPARE(w->label(1)->palette().color(QPalette::WindowText), upperMarked ? white : red);
    QCOMPARE(w->label(2)->palette().color(QPalette::Window), upperMarked ? white : red);
    QCOMPARE(w->statusPanel(1)->text(), status);
  }

  void isUserColour() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.UserName = "Ann";
    g.Flow.PlayerName1 = "Ann";
    g.Flow.PlayerName2 = "Computer";
    w->ShowSideToMove();  // black moves first: Ann plays Black
    QCOMPARE(w->IsUserColour("black"), 1);
    QCOMPARE(w->IsUserColour("white"), 0);
    QCOMPARE(w->IsUserColour("Black"), 0);
    g.Flow.PlayerName2 = "Ann";
    w->ShowSideToMove();
    QCOMPARE(w->IsUserColour("white"), 1);
  }

  void clearMoveHighlights() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.P.Ply = 0;
    g.P.PlyStart[0] = 0;
    g.P.PlyStart[1] = 2;
    g.P.MoveList[0].From = 21;
    g.P.MoveList[1].From = kNoSquare;
    w->board()->setPicture(7, 0);  // cell 21 on the turned board
    w->ClearMoveHighlights();
    QCOMPARE(w->board()->picture(7), 36);
  }

  void layoutGeometry_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("custom");
    QTest::addColumn<int>("tpp");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("x0");
    QTest::addColumn<int>("y0");
    QTest::addColumn<int>("listTop");
    QTest::addColumn<int>("list1Left");
    QTest::newRow("Small 12") << 0 << -1 << 12 << 10260 << 7200 << 458 << 456 << 384 << 474 << 1365 << 4540;
    QTest::newRow("Small other") << 0 << -1 << 15 << 11080 << 8200 << 568 << 571 << 374 << 474 << 1425 << 5400;
    QTest::newRow("Medium 12") << 2 << -1 << 12 << 11760 << 8700 << 648 << 648 << 384 << 484 << 1365 << 6040;
    QTest::newRow("Medium other") << 2 << -1 << 15 << 13100 << 10000 << 808 << 811 << 373 << 473 << 1425 << 7320;
    QTest::newRow("Big 12") << 3 << -1 << 12 << 13500 << 10390 << 838 << 839 << 388 << 483 << 1440 << 7740;
    QTest::newRow("Big other") << 3 << -1 << 15 << 15000 << 12100 << 1048 << 1051 << 373 << 473 << 1380 << 9240;
    QTest::newRow("skin, big") << 4 << 1 << 20 << 15000 << 12100 << 1048 << 1051 << 373 << 473 << 1380 << 9240;
    QTest::newRow("skin, small") << 4 << 0 << 12 << 10260 << 7200 << 458 << 456 << 384 << 474 << 1365 << 4540;
  }
  void layoutGeometry() {
    QFETCH(int, code);
    QFETCH(int, custom);
    QFETCH(int, tpp);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, size);
    QFETCH(int, pitch);
    QFETCH(int, x0);
    QFETCH(int, y0);
    QFETCH(int, listTop);
    QFETCH(int, list1Left);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, tpp);
    w->state().Opt.BoardSizeCode = code;
    w->state().Skin.BoardCustomSize = custom;
    w->ArrangeLayout();
    QCOMPARE(w->layoutOuterSize(), QSize(Px(width, tpp), Px(height, tpp)));
    QCOMPARE(w->size(), w->layoutOuterSize());  // no frame offscreen
    for (int k : {0, 9, 63}) {
      const QRect r = w->board()->squareRect(k);
      QCOMPARE(r.topLeft(), QPoint(Px(x0 + pitch * (k % 8), tpp), Px(y0 + pitch * (k / 8), tpp)));
      QCOMPARE(r.size(), QSize(Px(size, tpp), Px(size, tpp)));
    }
    QCOMPARE(w->list(1)->geometry().topLeft(), QPoint(Px(list1Left, tpp), Px(listTop, tpp)));
    QCOMPARE(w->list(1)->property("twips").toRect().topLeft(), QPoint(list1Left, listTop));
    // The extra-pieces row is hidden for rules without pieces to place.
    QVERIFY(!w->label(10)->isVisibleTo(w.get()));
  }

  void extraPiecesRowTakesCommentSpace() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 12);
    w->state().Rules.canContract = 1;
    w->ArrangeLayout();
    QCOMPARE(w->text1()->property("twips").toRect(), QRect(6130, 6795, 3615, 655));
    QVERIFY(w->label(10)->isVisibleTo(w.get()));
    QCOMPARE(w->label(12)->property("twips").toRect().topLeft(), QPoint(7730, 6470));
    w->state().Rules.canContract = 0;
    w->ArrangeLayout();
    QCOMPARE(w->text1()->property("twips").toRect(), QRect(6130, 6595, 3615, 855));
    QVERIFY(!w->label(10)->isVisibleTo(w.get()));
  }

  void renderedWindowShowsTheBoard() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15);
    const QImage img = w->grab().toImage();
    auto centre = [&](int cell) {
      const QRect r = w->board()->squareRect(w->SquareOfCell(cell));
      return img.pixelColor(w->surface()->mapTo(w.get(), r.center()));
    };
    const QColor dark = centre(52);  // an empty playing square
    QVERIFY2(dark.red() > 80 && dark.red() < 150 && dark.blue() < 80, qPrintable(dark.name()));
    QVERIFY(dark.red() > dark.blue() + 30);
    const QColor whiteMan = centre(21);
    QVERIFY2(whiteMan.lightness() > 180, qPrintable(whiteMan.name()));
    const QColor blackMan = centre(92);
    QVERIFY2(blackMan.lightness() < 70, qPrintable(blackMan.name()));
    const QColor light = centre(28);
    QVERIFY2(light.lightness() > 170 && light.red() > light.blue(), qPrintable(light.name()));
  }

  void customSkinPictures() {
    QTemporaryDir dir;
    QImage red(54, 54, QImage::Format_RGB32);
    red.fill(QColor(200, 10, 10));
    QDir().mkpath(dir.path() + "/Skins/Test");
    QVERIFY(red.save(dir.path() + "/Skins/Test/dark.png"));
    WriteFile(dir.path() + "/skins/Test.ini", "BoardCustomSize=0\r\ndark_square=dark.png\r\nEND\r\n");
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.SkinName = "Test"; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
    QCOMPARE(w->state().Opt.BoardSizeCode, 4);
    QCOMPARE(w->board()->picture(24), 46);  // cell 58, dark and empty
    QCOMPARE(w->pictures().at(46).toImage().pixelColor(5, 5), QColor(200, 10, 10));
    QCOMPARE(w->board()->squareRect(0).size(), QSize(Px(568, 15), Px(568, 15)));  // small layout
  }

  void shippedSkinsLoad() {
    const QStringList skins = QDir(M8_DATA_DIR "/skins").entryList({"*.ini"}, QDir::Files);
    for (const QString& file : skins) {
      QTemporaryDir dir;
      const QString name = QFileInfo(file).completeBaseName();
      QVERIFY(QFile::copy(QStringLiteral(M8_DATA_DIR "/skins/") + file, dir.path() + "/skins/" + file) ||
              (QDir().mkpath(dir.path() + "/skins") &&
               QFile::copy(QStringLiteral(M8_DATA_DIR "/skins/") + file, dir.path() + "/skins/" + file)));
      QDir().mkpath(dir.path() + "/skins/" + name);
      for (const QString& pic : QDir(M8_DATA_DIR "/skins/" + name).entryList(QDir::Files))
        QVERIFY(QFile::copy(M8_DATA_DIR "/skins/" + name + "/" + pic, dir.path() + "/skins/" + name + "/" + pic));
      WriteSettings(dir.path(), [&](GameState& g) { g.Opt.SkinName = name.toStdString(); });
      Boxes boxes;
      auto w = Start(dir.path(), boxes);
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
      QCOMPARE(w->state().Opt.BoardSizeCode, 4);
      for (int k = 0; k < 64; ++k) QVERIFY(!w->pictures().at(w->board()->picture(k)).isNull());
      if (qEnvironmentVariableIsSet("M8_SHOT")) w->grab().save(qEnvironmentVariable("M8_SHOT") + "/" + name + ".png");
    }
  }

  void badSkinFallsBackToClassicMedium_data() {
    QTest::addColumn<QByteArray>("skinFile");
    QTest::addColumn<QByteArray>("picture");
    QTest::newRow("no skin file") << QByteArray() << QByteArray();
    QTest::newRow("no END line") << QByteArray("BoardCustomSize=1\r\n END\r\n") << QByteArray();
    QTest::newRow("missing picture") << QByteArray("dark_square=none.png\r\nEND\r\n") << QByteArray();
    QTest::newRow("unreadable picture") << QByteArray("dark_square=bad.png\r\nEND\r\n") << QByteArray("not a picture");
  }
  void badSkinFallsBackToClassicMedium() {
    QFETCH(QByteArray, skinFile);
    QFETCH(QByteArray, picture);
    QTemporaryDir dir;
    if (!skinFile.isEmpty()) WriteFile(dir.path() + "/skins/Broken.ini", skinFile);
    if (!picture.isEmpty()) WriteFile(dir.path() + "/Skins/Broken/bad.png", picture);
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.SkinName = "Broken"; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->startupFailed());
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY(boxes.messages[0].startsWith("Error|"));
    QCOMPARE(w->state().Opt.SkinName, std::string("Classic Medium"));
    QCOMPARE(w->state().Opt.BoardSizeCode, 2);
    QCOMPARE(w->board()->picture(24), 31);
  }

  void badVariantFallsBackToStandardRules() {
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) { g.Rules.Variant = "No Such Checkers"; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->startupFailed());
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY(boxes.messages[0].startsWith("Error|"));
    QCOMPARE(w->label(8)->text(), QStringLiteral("American Checkers"));
    QCOMPARE(w->board()->picture(7), 36);
  }

  void readOnlyProgramFolderWritesToUserData() {
    QStandardPaths::setTestModeEnabled(true);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(data).removeRecursively();
    Boxes boxes;
    {
      auto w = Start("/proc", boxes);  // not writable, not even for root
      QCOMPARE(w->redirectedFolder(), data);
      QCOMPARE(QString::fromStdString(w->state().ProgramFolder), data);
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY(boxes.messages[0].contains(data));
      QVERIFY(QFile::exists(data + "/tavrin.ini"));
    }
    QDir(data).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
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

  void pumpLetsEventsThroughEveryFewMilliseconds() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    int delivered = 0;
    auto post = [&] { QMetaObject::invokeMethod(w.get(), [&] { ++delivered; }, Qt::QueuedConnection); };
    QTest::qWait(10);
    post();
    w->host().pump();
    QCOMPARE(delivered, 1);
    const auto t = std::chrono::steady_clock::now();
    post();
    w->host().pump();
    if (std::chrono::steady_clock::now() - t < std::chrono::milliseconds(4)) QCOMPARE(delivered, 1);
    QTest::qWait(10);
    w->host().pump();
    QCOMPARE(delivered, 2);
  }

  void drawBoardSeesKingsOnly() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    for (int r = 2; r <= 9; ++r)
      for (int f = 1; f <= 8; ++f) g.board[10 * r + f] = 0;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 1);
    QCOMPARE(w->label(5)->text(), QStringLiteral("0"));
    g.board[21] = 2;
    g.board[98] = -2;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 1);
    g.board[96] = -1;
    g.board[23] = 1;
    w->DrawBoard(0);
    QCOMPARE(w->equalKingsOnly(), 0);
    // Square numbers while a button is held: 1..32 on the playing squares.
    w->DrawBoard(1);
    QCOMPARE(w->board()->textsOn(w->SquareOfCell(92)), QStringList{" 1"});
    QCOMPARE(w->board()->textsOn(w->SquareOfCell(21)), QStringList{" 29"});
    QVERIFY(w->board()->textsOn(w->SquareOfCell(22)).isEmpty());
    w->DrawBoard(0);
    QVERIFY(w->board()->textsOn(w->SquareOfCell(92)).isEmpty());
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

  void skinChangeRelaysTheWindow() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 12);
    w->state().Opt.SkinName = "Classic Big";
    w->ReloadSkin();
    QCOMPARE(w->state().Opt.BoardSizeCode, 3);
    QCOMPARE(w->board()->squareRect(0).size(), QSize(70, 70));
    QCOMPARE(w->board()->picture(7), 21);  // the big white man
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
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
    // A command without its operation stays off whatever is asked.
    h.setCommandEnabled(Command::Compute, true);
    QVERIFY(!w->commands()->entry("Compute")->isEnabled());
    h.setCommandEnabled(Command::BoardMenu, false);
    QVERIFY(!w->commands()->menu("mnu_Board1")->menuAction()->isEnabled());
    h.playSound(Sound::Click);  // no sounds folder here: nothing plays, nothing fails
    w->state().Search.EngineOutputText = "D: 5";
    h.refresh(View::EngineOutput);
    QCOMPARE(w->label(9)->text(), QStringLiteral("D: 5"));
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

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
