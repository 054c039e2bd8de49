// Start-up in a temporary program folder: the settings written, the window's state, skins, variants and the folders it writes to.
#include <unistd.h>

#include "app/window_fixture.h"
#include "core/files/rating.h"
#include "core/game/helpwindows.h"
#include "core/rules/notation.h"

namespace {

// The variant and skin a settings file names.
std::pair<std::string, std::string> ChosenVariantAndSkin(const QString& settingsFile) {
  GameState g;
  SetDefaultSettings(g);
  ParseSettingsText(g, ReadFile(settingsFile).toStdString());
  return {g.Rules.Variant, g.Opt.SkinName};
}

}  // namespace

class StartupTest : public QObject {
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
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
  }

  void windowAfterStartup() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QCOMPARE(w->windowTitle(), QStringLiteral(" Morventa8 1.58"));
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
    QCOMPARE(w->strengthLabel()->text(), QStringLiteral("Strength: 9   Time: 2 sec"));
    QCOMPARE(w->statusPanel(1)->text(), QStringLiteral("Black moves"));
    QCOMPARE(w->topSideLabel()->text(), QStringLiteral("Black"));
    QCOMPARE(w->bottomSideLabel()->text(), QStringLiteral("White"));
    QCOMPARE(w->topCountLabel()->text(), QStringLiteral("12"));
    QCOMPARE(w->bottomCountLabel()->text(), QStringLiteral("12"));
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
    QVERIFY(c->entry("New1")->isEnabled());
    QVERIFY(c->button(7)->isEnabled());
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

  void partialSkinShowsTheBuiltinPicturesItDoesNotName() {
    QTemporaryDir dir;
    QImage red(54, 54, QImage::Format_RGB32);
    red.fill(QColor(200, 10, 10));
    QDir().mkpath(dir.path() + "/Skins/Test");
    QVERIFY(red.save(dir.path() + "/Skins/Test/dark.png"));
    WriteFile(dir.path() + "/skins/Test.ini", "BoardCustomSize=0\r\ndark_square=dark.png\r\nEND\r\n");
    WriteSettings(dir.path(), [](GameState& g) { g.Opt.SkinName = "Test"; });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QCOMPARE(w->state().Opt.BoardSizeCode, 4);
    QCOMPARE(w->board()->picture(24), 46);  // cell 58, dark and empty
    QCOMPARE(w->pictures().at(46).toImage().pixelColor(5, 5), QColor(200, 10, 10));
    QCOMPARE(w->board()->squareRect(0).size(), QSize(Px(568, 15), Px(568, 15)));  // small layout
    // The skin names one picture: the pieces and the rest come from the
    // built-in small set, and one message names what is missing.
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY2(boxes.messages[0].contains("light_square, dark_black_king") &&
                 boxes.messages[0].contains("light_white_man") && !boxes.messages[0].contains("dark_square"),
             qPrintable(boxes.messages[0]));
    ReferencePictures builtin;
    for (int k = 0; k < 64; ++k) {
      const int index = w->board()->picture(k);
      QVERIFY(index >= 46 && index <= 60);
      QVERIFY2(!w->pictures().at(index).isNull(), qPrintable(QString::number(k)));
    }
    QCOMPARE(w->board()->picture(7), 51);  // a white man on a dark square
    QCOMPARE(w->pictures().at(51).toImage(),
             builtin.at(PictureIndex(PieceStyle::Small, SquareContent::WhiteMan, true)).toImage());
    QCOMPARE(w->pictures().at(55).toImage(), builtin.at(IconIndex(PieceStyle::Small, SquareContent::BlackKing)).toImage());
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

  // The settings name a variant whose file cannot be read: a broken file,
  // or a name no file can have, with the rules of Turkish Checkers. The
  // window shows the built-in game whole: its name, the twelve men a side on
  // the dark squares and Black's seven opening moves.
  void unreadableVariantStartsTheBuiltInGame_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("says");
    QTest::newRow("broken file") << "Turkish Checkers" << "Turkish Checkers.ini', line 2";
    QTest::newRow("no file name") << "../x" << "\"../x\" is not a variant name";
  }
  void unreadableVariantStartsTheBuiltInGame() {
    QFETCH(QString, name);
    QFETCH(QString, says);
    QTemporaryDir dir;
    CopyShipped("variants", dir.path());
    const QString turkish = dir.path() + "/variants/Turkish Checkers.ini";
    WriteFile(turkish, "; broken\r\nMaxCapMove=7\r\n" + ReadFile(turkish));
    WriteSettings(dir.path(), [&name](GameState& g) {
      // The rules of Turkish Checkers, as the settings keep them.
      g.Rules.PiecesOnBlack = 2;
      g.Rules.BlackStarts = 0;
      g.Rules.MovementStrings = {"W;N;E W;N;E", "W;N;E W;N;E", "N;E;S;W N;E;S;W", "N;E;S;W N;E;S;W"};
      g.Rules.Variant = name.toStdString();
    });
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->startupFailed());
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY2(boxes.messages[0].contains(says), qPrintable(boxes.messages[0]));
    QVERIFY2(boxes.messages[0].contains("American Checkers"), qPrintable(boxes.messages[0]));
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
    const GameState& g = w->state();
    QVERIFY(g.Rules == RuleSet{});
    QCOMPARE(QString::fromStdString(BoardToSetupString(g.board)),
             QStringLiteral("1010101001010101101010100000000000000000020202022020202002020202"));
    QCOMPARE(g.P.SideToMove, -1);
    QCOMPARE(w->legalMoves()->count(), 7);
  }

  void readOnlyProgramFolderWritesToUserData() {
    QStandardPaths::setTestModeEnabled(true);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(data).removeRecursively();
    Boxes boxes;
    {
      auto w = Start("/proc", boxes);  // not writable, not even for root
      QCOMPARE(w->redirectedFolder(), data);
      QCOMPARE(QString::fromStdString(w->state().ProgramFolder), QStringLiteral("/proc"));
      QCOMPARE(QString::fromStdString(w->state().UserFolder), data);
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY(boxes.messages[0].contains(data));
      QVERIFY(QFile::exists(data + "/tavrin.ini"));
    }
    QDir(data).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
  }

  void readOnlyInstallKeepsTheUsersFiles() {
    // A program folder the program may not write, holding the user's files
    // from before: the first start takes them over and says so once.
    QTemporaryDir prog, user;
    const QString data = user.path() + "/Morventa8";
    WriteSettings(prog.path(), [](GameState& g) {
      g.Opt.Weakness = 6;
      g.Opt.ConfirmExit = 0;
    });
    WriteFile(prog.path() + "/tavrin.rtg", QByteArray::fromStdString(RatingFileText(1433)));
    WriteFile(prog.path() + "/tavrin.log", "\r\nMorventa8 1.58   an earlier run\r\n");
    QFile::setPermissions(prog.path() + "/tavrin.rtg", QFile::ReadOwner);
    const QByteArray settingsBefore = ReadFile(prog.path() + "/tavrin.ini");
    auto readOnly = [&](MainWindowOptions& o) {
      o.folderWritable = [&](const QString& f) { return f != prog.path(); };
      o.userDataFolder = data;
    };
    Boxes boxes;
    {
      auto w = Start(prog.path(), boxes, 15, readOnly);
      QVERIFY(!w->startupFailed());
      QCOMPARE(w->redirectedFolder(), data);
      QCOMPARE(w->state().Opt.Weakness, 6);
      QCOMPARE(w->state().Rating.UserRating, 1433);
      QCOMPARE(w->strengthLabel()->text(), QStringLiteral("Strength: 4   Time: 2 sec"));
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY2(boxes.messages[0].contains(data) && boxes.messages[0].contains(prog.path()), qPrintable(boxes.messages[0]));
      QVERIFY(ReadFile(data + "/tavrin.log").startsWith("\r\nMorventa8 1.58   an earlier run\r\n"));
      w->state().Opt.Weakness = 3;
      w->state().Rating.UserRating = 1450;
      w->onExitRequested();
    }
    // Nothing was written into the program folder.
    QCOMPARE(ReadFile(prog.path() + "/tavrin.ini"), settingsBefore);
    QVERIFY(!QFile::exists(prog.path() + "/tavrin.sav"));
    QCOMPARE(QFile::permissions(data + "/tavrin.rtg") & QFile::WriteOwner, QFile::WriteOwner);
    // The next start reads the data folder and asks nothing.
    boxes.messages.clear();
    {
      auto w = Start(prog.path(), boxes, 15, readOnly);
      QCOMPARE(w->state().Opt.Weakness, 3);
      QCOMPARE(w->state().Rating.UserRating, 1450);
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
    }
  }

  void movedReadOnlyInstallKeepsWorking() {
    // A read-only install used once, then moved (an upgrade, a new place):
    // the shipped data is read where the program stands now, the user's own
    // files and variants stay in the data folder.
    QTemporaryDir root, user;
    const QString first = root.path() + "/morventa8", moved = root.path() + "/morventa8-new";
    const QString data = user.path() + "/Morventa8";
    CopyShipped("variants", first);
    CopyShipped("skins", first);
    CopyShipped("skins/Walnut", first);
    WriteSettings(first, [](GameState& g) {
      g.Rules.Variant = "Pool Checkers";
      g.Opt.SkinName = "Walnut";
      g.Opt.ConfirmExit = 0;
    });
    auto readOnly = [&](MainWindowOptions& o) {
      o.folderWritable = [&](const QString& f) { return f != first && f != moved; };
      o.userDataFolder = data;
    };
    Boxes boxes;
    {
      auto w = Start(first, boxes, 15, readOnly);
      QCOMPARE(w->state().Rules.Variant, std::string("Pool Checkers"));
      w->onExitRequested();
    }
    QVERIFY(QDir().rename(first, moved));
    boxes.messages.clear();
    {
      auto w = Start(moved, boxes, 15, readOnly);
      GameState& g = w->state();
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
      QCOMPARE(g.Rules.Variant, std::string("Pool Checkers"));
      QCOMPARE(g.Opt.SkinName, std::string("Walnut"));
      QCOMPARE(g.Opt.BoardSizeCode, 4);
      const auto classic = PdnVariantNames(g);
      QVERIFY(std::find(classic.begin(), classic.end(), "Pool Checkers") != classic.end());
      // A variant of the user's own goes where the User list reads.
      QVERIFY(QFile::copy(moved + "/variants/Pool Checkers.ini", data + "/variants/uservariants/My Pool.ini"));
      g.Opt.UseClassic = 0;
      QCOMPARE(PdnVariantNames(g), std::vector<std::string>{"My Pool"});
      g.Opt.UseClassic = 1;
      w->onExitRequested();
    }
    QCOMPARE(ChosenVariantAndSkin(data + "/tavrin.ini"), std::make_pair(std::string("Pool Checkers"), std::string("Walnut")));
  }

  // Which program folders keep the user's files, judged without a stand-in
  // for the write test: an installed one (its install left the list of its
  // files there), one its owner marked read-only and another user's never
  // do, even when the program could create a file there, as root always
  // can. A portable folder of the user's own that the user can write does.
  void sharedProgramFoldersKeepNoUsersFiles_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("othersOpenToAll");
    QTest::addColumn<bool>("keepsUsersFiles");
    QTest::newRow("installed") << true << false << false << false;
    QTest::newRow("marked read-only") << false << true << false << false;
    QTest::newRow("another user's, open to all") << false << false << true << false;
    QTest::newRow("portable") << false << false << false << true;
  }

  void sharedProgramFoldersKeepNoUsersFiles() {
    QFETCH(bool, installed);
    QFETCH(bool, readOnly);
    QFETCH(bool, othersOpenToAll);
    QFETCH(bool, keepsUsersFiles);
    if (othersOpenToAll && ::geteuid() != 0) QSKIP("giving a folder to another user takes root");
    QTemporaryDir prog, user;
    const QString data = user.path() + "/Morventa8";
    if (installed) WriteFile(prog.path() + "/install_manifest.txt", "/usr/local/lib/morventa8/morventa8\n");
    const QFile::Permissions open = QFile::permissions(prog.path());
    const QFile::Permissions writes = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    if (readOnly) QVERIFY(QFile::setPermissions(prog.path(), open & ~writes));
    if (othersOpenToAll) {
      QVERIFY(QFile::setPermissions(prog.path(), open | writes | QFile::ExeGroup | QFile::ExeOther));
      QCOMPARE(::chown(QFile::encodeName(prog.path()).constData(), 65534, 65534), 0);  // nobody's
    }
    const QStringList before = QDir(prog.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    Boxes boxes;
    {
      auto w = Start(prog.path(), boxes, 15, [&](MainWindowOptions& o) { o.userDataFolder = data; });
      QVERIFY(!w->startupFailed());
      QCOMPARE(w->redirectedFolder(), keepsUsersFiles ? QString() : data);
      w->onExitRequested();
    }
    const QStringList after = QDir(prog.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QFile::setPermissions(prog.path(), open);
    const QString home = keepsUsersFiles ? prog.path() : data;
    for (const char* name : {"tavrin.ini", "tavrin.rtg", "tavrin.sav", "tavrin.log"})
      QVERIFY2(QFile::exists(home + "/" + name), name);
    if (keepsUsersFiles) {
      QVERIFY(!QFile::exists(data));
    } else {
      QCOMPARE(after, before);
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY2(boxes.messages[0].contains(data), qPrintable(boxes.messages[0]));
    }
  }

  // A program folder that keeps no user's files, and a data folder that
  // cannot be made (its place is under a plain file, as a home folder that
  // is none leaves it): nothing is written into the program folder, not even
  // by root, who could write there. One message at the start names the data
  // folder and says that nothing is kept; the end adds none.
  void noDataFolderKeepsNothingInTheProgramFolder_data() {
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed") << true;
    QTest::newRow("read-only") << false;
  }

  void noDataFolderKeepsNothingInTheProgramFolder() {
    QFETCH(bool, installed);
    QTemporaryDir prog, user;
    if (installed) WriteFile(prog.path() + "/install_manifest.txt", "/usr/local/lib/morventa8/morventa8\n");
    WriteFile(user.path() + "/home", "a plain file");
    const QString data = user.path() + "/home/Morventa8";
    const auto entries = [&] {
      return QDir(prog.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();
    Boxes boxes;
    {
      auto w = Start(prog.path(), boxes, 15, [&](MainWindowOptions& o) {
        if (!installed) o.folderWritable = [&](const QString& f) { return f != prog.path(); };
        o.userDataFolder = data;
      });
      QVERIFY(!w->startupFailed());
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY2(boxes.messages[0].contains("\"" + data + "\" cannot be made") &&
                   boxes.messages[0].contains("not kept this time"),
               qPrintable(boxes.messages[0]));
      w->state().Opt.Weakness = 3;
      w->onExitRequested();
    }
    QCOMPARE(entries(), before);
    QVERIFY(!QFileInfo::exists(data));
    QVERIFY2(boxes.messages.size() == 1, qPrintable(boxes.messages.join("\n")));
  }

  // Files in the program folder that belong to another user (root's run of
  // an earlier version left them there) are never taken over: that user's
  // settings and log stay that user's, while the user's own rating comes.
  void theFirstStartTakesOverOnlyTheUsersOwnFiles() {
    if (::geteuid() != 0) QSKIP("giving a file to another user takes root");
    QTemporaryDir prog, user;
    const QString data = user.path() + "/Morventa8";
    WriteSettings(prog.path(), [](GameState& g) {
      g.Opt.Weakness = 6;
      g.Opt.ConfirmExit = 0;
    });
    WriteFile(prog.path() + "/tavrin.log", "\r\nMorventa8 1.58   another user's run\r\n");
    WriteFile(prog.path() + "/tavrin.rtg", QByteArray::fromStdString(RatingFileText(1433)));
    const uid_t other = 65534;  // nobody
    for (const char* name : {"tavrin.ini", "tavrin.log"})
      QCOMPARE(::chown(QFile::encodeName(prog.path() + "/" + name).constData(), other, other), 0);
    const QByteArray othersSettings = ReadFile(prog.path() + "/tavrin.ini");
    Boxes boxes;
    {
      auto w = Start(prog.path(), boxes, 15, [&](MainWindowOptions& o) {
        o.folderWritable = [&](const QString& f) { return f != prog.path(); };
        o.userDataFolder = data;
      });
      QVERIFY(!w->startupFailed());
      QCOMPARE(w->redirectedFolder(), data);
      QCOMPARE(w->state().Opt.Weakness, 1);
      QCOMPARE(w->state().Rating.UserRating, 1433);
      QCOMPARE(boxes.messages.size(), 1);
      QVERIFY2(boxes.messages[0].contains("Taken over from the program folder: tavrin.rtg.") &&
                   boxes.messages[0].contains("another user's: tavrin.ini, tavrin.log."),
               qPrintable(boxes.messages[0]));
      w->onExitRequested();
    }
    QVERIFY(ReadFile(data + "/tavrin.ini") != othersSettings);
    QVERIFY(!ReadFile(data + "/tavrin.log").contains("another user's run"));
    QVERIFY(ReadFile(data + "/tavrin.log").contains("Morventa8 1.58"));
  }

  void choicesWhoseFilesAreMissingAreKept() {
    // The variant and the skin named by the settings are gone this time:
    // the program says so and runs the built-in game (without the file the
    // variant's start position is unknown) and Classic Medium, and the
    // settings keep naming them, with the variant's rules, for when they are
    // back.
    QTemporaryDir dir;
    WriteSettings(dir.path(), [](GameState& g) {
      g.Rules.Variant = "Pool Checkers";
      g.Rules.LongKings = 1;
      g.Rules.ManCapKing = 1;
      g.Opt.SkinName = "Walnut";
      g.Opt.ConfirmExit = 0;
    });
    Boxes boxes;
    {
      auto w = Start(dir.path(), boxes);
      QCOMPARE(boxes.messages.size(), 2);
      QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
      QVERIFY(w->state().Rules == RuleSet{});
      QCOMPARE(w->state().Opt.SkinName, std::string("Classic Medium"));
      w->onExitRequested();
    }
    QCOMPARE(ChosenVariantAndSkin(dir.path() + "/tavrin.ini"),
             std::make_pair(std::string("Pool Checkers"), std::string("Walnut")));
    CopyShipped("variants", dir.path());
    CopyShipped("skins", dir.path());
    CopyShipped("skins/Walnut", dir.path());
    boxes.messages.clear();
    {
      auto w = Start(dir.path(), boxes);
      QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
      QCOMPARE(w->state().Rules.Variant, std::string("Pool Checkers"));
      QCOMPARE(w->state().Rules.LongKings, 1);
      QCOMPARE(w->state().Rules.ManCapKing, 1);
      QCOMPARE(w->state().Opt.BoardSizeCode, 4);
    }
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
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
