// The real program told to stop by a signal (as at logout, shutdown or a
// kill), or losing its X display: it saves the game, the settings and the
// rating without asking, and it ends at once whatever it was showing and
// whatever it could not write.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/syscall.h>

#include "app/objectnames.h"
#include "app/window_fixture.h"
#include "core/files/rating.h"

namespace {

// A program folder of its own: the program, an opening of two moves that
// start-up plays, and settings that would ask before an exit (then changed
// by `edit`).
void MakeProgramFolder(const QString& folder, const std::function<void(GameState&)>& edit = {}) {
  const QString program = folder + "/morventa8";
  QVERIFY(QFile::copy(M8_BIN_DIR "/morventa8", program));
  QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
  WriteFile(folder + "/opening.pdn", "[Event \"opening\"]\r\n\r\n1. 11-15 23-19 *\r\n");
  WriteSettings(folder, [&edit](GameState& g) {
    g.Opt.AutoSave = 1;
    g.Opt.ChooseOpening = 1;
    g.Opt.BookRandom = 1;  // the opening is drawn, not chosen in a dialog
    g.Opt.ConfirmExit = 1;
    g.Opt.Notation = 1;
    // The small board fits the offscreen screen: no start-up box waits.
    g.Opt.SkinName = "Classic Small";
    g.Opt.BoardSizeCode = 0;
    if (edit) edit(g);
  });
}

// Offscreen, or on the X display given (":N").
void StartProgram(QProcess& p, const QString& folder, const QString& display = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", display.isEmpty() ? "offscreen" : "xcb");
  if (!display.isEmpty()) env.insert("DISPLAY", display);
  p.setProcessEnvironment(env);
  p.start(folder + "/morventa8", {});
  QVERIFY(p.waitForStarted(10000));
}

// The banner in the log: the settings have been read, the program runs.
bool Running(const QString& folder) { return ReadFile(folder + "/tavrin.log").contains("Morventa8"); }

// Times the program has started in the folder (the banners in its log).
int Starts(const QString& folder) { return int(ReadFile(folder + "/tavrin.log").count("\r\nMorventa8 1.58   ")); }

// Waits until `done` holds, for at most `ms` of elapsed time (a look may start
// processes of its own: the looks are not counted), or until the program `p`
// has ended, when it can no longer come. Whether `done` holds.
bool WaitWhileRunning(QProcess& p, const std::function<bool()>& done, int ms = wait_test::kWaitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (p.state() == QProcess::NotRunning || clock.elapsed() > ms) return done();
    QTest::qWait(100);  // between two looks
  }
  return true;
}

// What a program that ended early said about it.
QByteArray EndOf(QProcess& p) {
  if (p.state() != QProcess::NotRunning) return "the program runs on";
  return "the program ended with " + QByteArray::number(p.exitCode()) + ": " + p.readAllStandardError();
}

// The program's main thread sleeps in the system's wait for events: it is in
// an event loop with nothing to do (as behind a box waiting for its OK). A
// system that does not show a thread's call cannot tell: then it is taken to
// wait (the signal then comes at the end of start-up, which must end the
// program alike).
bool WaitsForEvents(QProcess& p) {
  QFile f(QStringLiteral("/proc/%1/syscall").arg(p.processId()));
  if (!f.exists()) return true;
  if (!f.open(QIODevice::ReadOnly)) return false;
  bool number = false;
  const long call = f.readAll().split(' ').value(0).trimmed().toLong(&number);
  if (!number) return false;  // "running"
#ifdef SYS_poll
  if (call == SYS_poll) return true;
#endif
  return call == SYS_ppoll;
}

// The output of a tool run to its end.
QString RunTool(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(10000)) p.kill();
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The program's main window is mapped on the X display: its start-up is over.
bool WindowShown(const QString& xwininfo, const QString& display) {
  // A line of the tree: id "name": ("morventa8" "Morventa8") geometry.
  for (const QString& line : RunTool(xwininfo, {"-display", display, "-root", "-tree"}).split('\n')) {
    if (!line.contains("\"Morventa8\")")) continue;
    const QString id = line.trimmed().section(' ', 0, 0);
    if (RunTool(xwininfo, {"-display", display, "-id", id}).contains("Map State: IsViewable")) return true;
  }
  return false;
}

// An X server of the test's own on a free display, ended (never killed, so
// that it leaves no socket behind) when the test ends, whatever failed.
class XServer {
 public:
  ~XServer() { end(); }
  // False when it did not start; the display is then "".
  bool start() {
    server_.start(QStandardPaths::findExecutable("Xvfb"),
                  {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    if (!server_.waitForStarted(10000)) return false;
    // It names the display it took on its output once it accepts clients.
    QElapsedTimer clock;
    clock.start();
    while (!server_.canReadLine() && server_.state() == QProcess::Running && clock.elapsed() < 30000)
      server_.waitForReadyRead(1000);
    const QString number = QString::fromUtf8(server_.readLine()).trimmed();
    if (!number.isEmpty()) display_ = ":" + number;
    return !display_.isEmpty();
  }
  const QString& display() const { return display_; }
  QString errors() { return QString::fromUtf8(server_.readAllStandardError()); }
  void end() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.terminate();
    server_.waitForFinished(10000);
  }

 private:
  QProcess server_;
  QString display_;
};

// The tools the display tests need.
bool HaveXTools() {
  return !QStandardPaths::findExecutable("Xvfb").isEmpty() && !QStandardPaths::findExecutable("xwininfo").isEmpty();
}

// Ends with the exit code of a program that lost its display: Qt's own, no
// crash, nothing it failed to write (such failures go to stderr).
void ExpectDisplayLost(QProcess& p) {
  const bool ended = p.waitForFinished(30000);
  if (!ended) p.kill();
  QVERIFY2(ended, "the program outlived its display");
  QCOMPARE(p.exitStatus(), QProcess::NormalExit);
  const QString errors = QString::fromUtf8(p.readAllStandardError());
  QVERIFY2(errors.contains("X11 connection broke"), qPrintable(errors));
  QVERIFY2(!errors.contains("Morventa8:"), qPrintable(errors));
  QCOMPARE(p.exitCode(), 1);
}

// The game saved in `folder` is the one in hand at the next start: the
// program, started offscreen with another opening (drawn first, then the
// saved game resumed over it) and told to stop, saves the same bytes.
void ExpectResumed(const QString& folder) {
  const QByteArray saved = ReadFile(folder + "/tavrin.sav");
  QVERIFY(!saved.isEmpty());
  WriteFile(folder + "/opening.pdn", "[Event \"opening\"]\r\n\r\n1. 9-13 22-18 *\r\n");
  const int starts = Starts(folder);
  QProcess again;
  StartProgram(again, folder);
  QVERIFY2(WaitWhileRunning(again, [&] { return Starts(folder) == starts + 1; }), EndOf(again).constData());
  QCOMPARE(::kill(static_cast<pid_t>(again.processId()), SIGTERM), 0);
  QVERIFY(again.waitForFinished(30000));
  QCOMPARE(again.exitCode(), 0);
  QCOMPARE(ReadFile(folder + "/tavrin.sav"), saved);
}

// The child of aDisplayThatDiesMidSearchLosesNoGame: the window of the
// program (as main() makes it) in the program folder argv[2], on the X
// display of $DISPLAY, playing computer against computer.
constexpr char kPlayOnDisplay[] = "--play-on-display";

int PlayOnDisplay(int argc, char** argv) {
  QApplication app(argc, argv);
  MainWindowOptions options;
  options.programFolder = QString::fromLocal8Bit(argv[2]);
  options.handleSessionEnd = true;
  MainWindow w(options);
  if (w.startupFailed() || w.programEnded()) return 2;
  w.show();
  QTimer::singleShot(0, &w, [&w] { w.findChild<QAction*>(objectnames::kComputerComputerEntry)->trigger(); });
  return app.exec();
}

// The program ends well within the time a session manager waits for it.
constexpr int kEndWithinMs = 10000;

// Every file below `folder` with its bytes.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
  QMap<QString, QByteArray> files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files.insert(path.mid(folder.size()), ReadFile(path));
  }
  return files;
}

}  // namespace

class SessionEndTest : public QObject {
  Q_OBJECT
 private slots:
  void aSignalSavesEverything_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
  }

  void aSignalSavesEverything() {
    QFETCH(int, signal);
    QTemporaryDir dir;
    MakeProgramFolder(dir.path());
    QProcess p;
    StartProgram(p, dir.path());
    QVERIFY2(WaitWhileRunning(p, [&] { return Running(dir.path()); }), EndOf(p).constData());
    QVERIFY(QFile::remove(dir.path() + "/tavrin.ini"));
    QCOMPARE(::kill(static_cast<pid_t>(p.processId()), signal), 0);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    // The settings as they were, the exit question's choice included.
    GameState g;
    SetDefaultSettings(g);
    QVERIFY(ParseSettingsText(g, ReadFile(dir.path() + "/tavrin.ini").toStdString()).accepted);
    QCOMPARE(g.Opt.AutoSave, 1);
    QCOMPARE(g.Opt.ConfirmExit, 1);
    const QByteArray saved = ReadFile(dir.path() + "/tavrin.sav");
    QVERIFY2(saved.contains("START\r\n1115\r\n2319\r\n"), saved.constData());  // the opening's two moves
    QVERIFY(QFile::exists(dir.path() + "/tavrin.rtg"));
  }

  // The X display the program shows on goes away (the server ends, as when
  // a remote session is cut): Qt ends the program at once, and the game in
  // hand, the settings and the rating are saved as a session's end saves
  // them. The next start resumes that game.
  void aDisplayThatDiesLosesNoGame() {
    if (!HaveXTools()) QSKIP("needs Xvfb and xwininfo (make test installs them)");
    QTemporaryDir dir;
    MakeProgramFolder(dir.path());
    XServer server;
    QVERIFY2(server.start(), qPrintable(server.errors()));
    QProcess p;
    StartProgram(p, dir.path(), server.display());
    // The window is up: start-up is over.
    const QString xwininfo = QStandardPaths::findExecutable("xwininfo");
    QVERIFY2(WaitWhileRunning(p, [&] { return WindowShown(xwininfo, server.display()); }), EndOf(p).constData());
    QVERIFY(QFile::remove(dir.path() + "/tavrin.ini"));
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.sav"));
    QVERIFY(!QFile::exists(dir.path() + "/tavrin.rtg"));
    server.end();
    ExpectDisplayLost(p);
    GameState g;
    SetDefaultSettings(g);
    QVERIFY(ParseSettingsText(g, ReadFile(dir.path() + "/tavrin.ini").toStdString()).accepted);
    QCOMPARE(g.Opt.AutoSave, 1);
    QCOMPARE(g.Opt.ConfirmExit, 1);
    QCOMPARE(g.Opt.BoardSizeCode, 0);
    QCOMPARE(RatingFromFileText(ReadFile(dir.path() + "/tavrin.rtg").toStdString()), kDefaultRating);
    const QByteArray saved = ReadFile(dir.path() + "/tavrin.sav");
    QVERIFY2(saved.contains("START\r\n1115\r\n2319\r\n"), saved.constData());
    ExpectResumed(dir.path());
  }

  // The display goes away while the computer plays itself: the program ends
  // inside a search (or the pause between two moves). The game as far as
  // it was played is saved, the search's move not played, and it resumes.
  void aDisplayThatDiesMidSearchLosesNoGame() {
    if (!HaveXTools()) QSKIP("needs Xvfb and xwininfo (make test installs them)");
    QTemporaryDir dir;
    MakeProgramFolder(dir.path(), [](GameState& g) {
      g.Opt.DepthMode = 0;
      g.Opt.SearchTime = 1;
    });
    XServer server;
    QVERIFY2(server.start(), qPrintable(server.errors()));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", server.display());
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {kPlayOnDisplay, dir.path()});
    QVERIFY(p.waitForStarted(10000));
    // Two computer moves in the log (each with its search block): the third
    // search, or the pause before it, is running.
    const auto computerMoves = [&dir] {
      // A search block ends with an empty line after its last iteration.
      static const QRegularExpression blockEnd("  T: \\S+\r\n\r\n");
      return QString::fromLatin1(ReadFile(dir.path() + "/tavrin.log")).count(blockEnd);
    };
    QVERIFY2(WaitWhileRunning(p, [&] { return computerMoves() >= 2; }), EndOf(p).constData());
    QVERIFY(QFile::remove(dir.path() + "/tavrin.ini"));
    server.end();
    ExpectDisplayLost(p);
    QVERIFY(QFile::exists(dir.path() + "/tavrin.ini"));
    QVERIFY(QFile::exists(dir.path() + "/tavrin.rtg"));
    // The opening and every computer move the log shows as played, one move
    // line each after START: none lost, and not the move of the search that
    // the end cut short.
    const QByteArray saved = ReadFile(dir.path() + "/tavrin.sav");
    const QByteArray moves = saved.mid(saved.indexOf("START\r\n") + 7);
    QVERIFY2(saved.contains("START\r\n1115\r\n2319\r\n"), saved.constData());
    QCOMPARE(moves.count("\r\n"), 2 + computerMoves());
    ExpectResumed(dir.path());
  }

  // A box of start-up (here: the damaged rating file) is waiting for its OK
  // when the signal comes: the box goes, start-up finishes without asking,
  // and the program saves and ends.
  void aStartUpBoxGivesWayToASignal() {
    QTemporaryDir dir;
    MakeProgramFolder(dir.path());
    WriteFile(dir.path() + "/tavrin.rtg", "not a rating\r\n");
    QProcess p;
    StartProgram(p, dir.path());
    // The damaged file is kept aside just before the box tells so; then the
    // program waits for events: the box's.
    QVERIFY2(WaitWhileRunning(p, [&] { return QFile::exists(dir.path() + "/tavrin.rtg" + kRatingKeptSuffix); }),
             EndOf(p).constData());
    QVERIFY2(WaitWhileRunning(p, [&] { return WaitsForEvents(p); }), EndOf(p).constData());
    QCOMPARE(::kill(static_cast<pid_t>(p.processId()), SIGTERM), 0);
    const bool ended = p.waitForFinished(kEndWithinMs);
    if (!ended) p.kill();
    QVERIFY2(ended, "the program waited behind its start-up box");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    // Start-up went on after the box (the settings were read after it), and
    // what it set up is saved: the settings as they were, the opening it
    // played, the rating of a fresh start.
    GameState g;
    SetDefaultSettings(g);
    QVERIFY(ParseSettingsText(g, ReadFile(dir.path() + "/tavrin.ini").toStdString()).accepted);
    QCOMPARE(g.Opt.ConfirmExit, 1);
    QCOMPARE(g.Opt.BoardSizeCode, 0);
    QVERIFY(ReadFile(dir.path() + "/tavrin.sav").contains("START\r\n1115\r\n2319\r\n"));
    QCOMPARE(RatingFromFileText(ReadFile(dir.path() + "/tavrin.rtg").toStdString()), kDefaultRating);
  }

  // The files cannot be written when the signal comes: the program shows
  // no box, writes what it can, names each failure on stderr, ends at once
  // with exit code 1 and leaves the user's files as they were.
  void anUnwritableFolderDoesNotHoldUpTheEnd_data() {
    QTest::addColumn<bool>("folderGone");
    // The folder moved away and a plain file put in its place: nothing can
    // be written there, not even by root.
    QTest::newRow("no folder") << true;
    // A folder where the saved game would go: only the game is not saved.
    QTest::newRow("saved game blocked") << false;
  }

  void anUnwritableFolderDoesNotHoldUpTheEnd() {
    QFETCH(bool, folderGone);
    QTemporaryDir dir;
    const QString folder = dir.path() + "/program";
    QVERIFY(QDir().mkpath(folder));
    MakeProgramFolder(folder);
    QProcess p;
    StartProgram(p, folder);
    QVERIFY2(WaitWhileRunning(p, [&] { return Running(folder); }), EndOf(p).constData());
    QString kept = folder;
    if (folderGone) {
      kept = dir.path() + "/moved";
      QVERIFY(QDir().rename(folder, kept));
      WriteFile(folder, "a file, not a folder");
    } else {
      QFile::remove(folder + "/tavrin.sav");
      QVERIFY(QDir().mkpath(folder + "/tavrin.sav/in-the-way"));
      QVERIFY(QFile::remove(folder + "/tavrin.ini"));
    }
    const auto before = Snapshot(kept);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::kill(static_cast<pid_t>(p.processId()), SIGTERM), 0);
    const bool ended = p.waitForFinished(kEndWithinMs);
    if (!ended) p.kill();
    QVERIFY2(ended, "the program waited behind a box at the session's end");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QString errors = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(errors.contains("tavrin.sav cannot be written"), qPrintable(errors));
    if (folderGone) {
      QVERIFY2(errors.contains("The settings could not be saved"), qPrintable(errors));
      QVERIFY2(errors.contains("The rating could not be saved"), qPrintable(errors));
      QCOMPARE(Snapshot(kept), before);
      return;
    }
    // What could be written is written; the failure is in the log too.
    auto after = Snapshot(kept);
    QVERIFY(after.contains("/tavrin.ini"));
    QVERIFY(after.contains("/tavrin.rtg"));
    const QByteArray log = after.take("/tavrin.log");
    QVERIFY2(log.contains("tavrin.sav cannot be written"), log.constData());
    QVERIFY(log.startsWith(before.value("/tavrin.log")));
    after.remove("/tavrin.ini");
    QCOMPARE(after.keys(), (QStringList{"/morventa8", "/opening.pdn", "/tavrin.rtg"}));
  }

  // A file-size limit (ulimit -f) far below the saved game is set while the
  // program runs, with the system's signal for the limit at its default
  // (which ends a program): the save fails with its reason, the program
  // goes on to its other files and ends by itself, and what it could not
  // write stays as it was, with no temporary left.
  void aFileSizeLimitFailsTheSaveAndEndsNothing() {
    QTemporaryDir dir;
    MakeProgramFolder(dir.path());
    QProcess p;
    p.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
    StartProgram(p, dir.path());
    QVERIFY2(WaitWhileRunning(p, [&] { return Running(dir.path()); }), EndOf(p).constData());
    const auto before = Snapshot(dir.path());
    const rlimit limit{64, 64};
    QCOMPARE(::prlimit(static_cast<pid_t>(p.processId()), RLIMIT_FSIZE, &limit, nullptr), 0);
    QCOMPARE(::kill(static_cast<pid_t>(p.processId()), SIGTERM), 0);
    const bool ended = p.waitForFinished(30000);
    if (!ended) p.kill();
    QVERIFY(ended);
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QString errors = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(errors.contains("tavrin.sav cannot be written"), qPrintable(errors));
    QVERIFY2(errors.contains("File too large"), qPrintable(errors));
    QVERIFY2(errors.contains("The settings could not be saved"), qPrintable(errors));
    // The rating of a fresh start is a small file within the limit: written
    // after the failures. The rest is as it was.
    auto after = Snapshot(dir.path());
    QCOMPARE(RatingFromFileText(after.take("/tavrin.rtg").toStdString()), kDefaultRating);
    QCOMPARE(after.keys().join(' '), before.keys().join(' '));
    for (const QString& name : before.keys()) QVERIFY2(after.value(name) == before.value(name), qPrintable(name));
  }
};

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kPlayOnDisplay) == 0) return PlayOnDisplay(argc, argv);
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  SessionEndTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "sessionend_test.moc"
