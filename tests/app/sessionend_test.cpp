// The real program told to stop by a signal (as at logout, shutdown or a
// kill): it saves the game, the settings and the rating without asking, and
// it ends at once whatever it was showing and whatever it could not write.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>

#include "app/window_fixture.h"
#include "core/files/rating.h"

namespace {

// A program folder of its own: the program, an opening of two moves that
// start-up plays, and settings that would ask before an exit.
void MakeProgramFolder(const QString& folder) {
  const QString program = folder + "/morventa8";
  QVERIFY(QFile::copy(M8_BIN_DIR "/morventa8", program));
  QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
  WriteFile(folder + "/opening.pdn", "[Event \"opening\"]\r\n\r\n1. 11-15 23-19 *\r\n");
  WriteSettings(folder, [](GameState& g) {
    g.Opt.AutoSave = 1;
    g.Opt.ChooseOpening = 1;
    g.Opt.BookRandom = 1;  // the opening is drawn, not chosen in a dialog
    g.Opt.ConfirmExit = 1;
    g.Opt.Notation = 1;
    // The small board fits the offscreen screen: no start-up box waits.
    g.Opt.SkinName = "Classic Small";
    g.Opt.BoardSizeCode = 0;
  });
}

void StartProgram(QProcess& p, const QString& folder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(folder + "/morventa8", {});
  QVERIFY(p.waitForStarted(10000));
}

// The banner in the log: the settings have been read, the program runs.
bool Running(const QString& folder) { return ReadFile(folder + "/tavrin.log").contains("Morventa8"); }

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
    QTRY_VERIFY_WITH_TIMEOUT(Running(dir.path()), 30000);
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

  // A box of start-up (here: the damaged rating file) is waiting for its OK
  // when the signal comes: the box goes, start-up finishes without asking,
  // and the program saves and ends.
  void aStartUpBoxGivesWayToASignal() {
    QTemporaryDir dir;
    MakeProgramFolder(dir.path());
    WriteFile(dir.path() + "/tavrin.rtg", "not a rating\r\n");
    QProcess p;
    StartProgram(p, dir.path());
    // The damaged file is kept aside just before the box tells so.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.path() + "/tavrin.rtg" + kRatingKeptSuffix), 30000);
    QTest::qWait(300);
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
    QTRY_VERIFY_WITH_TIMEOUT(Running(folder), 30000);
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
    QTRY_VERIFY_WITH_TIMEOUT(Running(dir.path()), 30000);
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

QTEST_MAIN(SessionEndTest)
#include "sessionend_test.moc"
