// The real program told to stop by a signal (as at logout, shutdown or a
// kill): it saves the game, the settings and the rating without asking.
#include <QProcess>
#include <csignal>

#include "app/window_fixture.h"

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
    // A program folder of its own: the program, an opening of two moves that
    // start-up plays, and settings that would ask before an exit.
    QTemporaryDir dir;
    const QString program = dir.path() + "/morventa8";
    QVERIFY(QFile::copy(M8_BIN_DIR "/morventa8", program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    WriteFile(dir.path() + "/opening.pdn", "[Event \"opening\"]\r\n\r\n1. 11-15 23-19 *\r\n");
    WriteSettings(dir.path(), [](GameState& g) {
      g.Opt.AutoSave = 1;
      g.Opt.ChooseOpening = 1;
      g.Opt.BookRandom = 1;  // the opening is drawn, not chosen in a dialog
      g.Opt.ConfirmExit = 1;
      g.Opt.Notation = 1;
      // The small board fits the offscreen screen: no start-up box waits.
      g.Opt.SkinName = "Classic Small";
      g.Opt.BoardSizeCode = 0;
    });
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, {});
    QVERIFY(p.waitForStarted(10000));
    // The banner in the log: the settings have been read, the program runs.
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(dir.path() + "/tavrin.log").contains("Morventa8"), 30000);
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
};

QTEST_MAIN(SessionEndTest)
#include "sessionend_test.moc"
