// The window's message boxes: a text of any size opens a box that fits on
// the screen, with the whole text (up to a bound) in its scrolling details.
#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

#include "app/mainwindow/qthost.h"
#include "app/window_fixture.h"

using namespace m8;

class MessageBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void boxesFitTheScreen_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QString lines;
    for (int i = 1; i <= 2000; ++i) lines += QStringLiteral("Settings file, line %1: a warning\r\n").arg(i);
    QString words;
    for (int i = 0; i < 20000; ++i) words += QStringLiteral("word ");
    QTest::newRow("short") << QStringLiteral("Are you sure you want to exit?") << true;
    QTest::newRow("a 4 MB line") << QString(4 << 20, QLatin1Char('x')) << false;
    QTest::newRow("2000 lines") << lines << false;
    QTest::newRow("one long paragraph") << words << false;
    // Long, but a few sentences of words: whole.
    const QString folder = "/home/firstname.lastname/.local/share/Morventa8/Morventa8";
    QTest::newRow("a sentence naming folders")
        << "The program folder \"/usr/local/share/morventa8/bin\" is shared by the users of this install. "
           "Settings, rating, log and the saved game are kept in \"" + folder + "\", your own variants in \"" +
               folder + "/variants/uservariants\"."
        << true;
  }

  void boxesFitTheScreen() {
    QFETCH(QString, text);
    QFETCH(bool, whole);
    const QRect screen(0, 0, 800, 600);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), QString(), QMessageBox::Ok);
    FitMessageText(box, text, screen);
    box.show();
    QVERIFY2(box.height() <= screen.height() && box.width() <= screen.width(),
             qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
    if (whole) {
      QCOMPARE(box.text(), text);
      QVERIFY(box.detailedText().isEmpty());
      return;
    }
    QVERIFY(box.text().endsWith(QChar(0x2026)));
    QVERIFY(text.startsWith(box.text().left(20)));
    QVERIFY(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).startsWith(box.detailedText().left(200)));
    // The details open inside the screen too.
    QAbstractButton* details = nullptr;
    for (QAbstractButton* b : box.buttons())
      if (box.buttonRole(b) == QMessageBox::ActionRole) details = b;
    QVERIFY(details);
    details->click();
    QCoreApplication::processEvents();
    QVERIFY2(box.height() <= screen.height(), qPrintable(QString::number(box.height())));
  }

  // The start-up notice of a shared program folder names where the user's
  // files and variants are kept; on an 800 x 600 screen its box shows it
  // whole, none of it only under the details.
  void theDataFolderNoticeReadsWholeOnASmallScreen() {
    // Folders of the length a user has: a home folder's data folder.
    QTemporaryDir prog(QDir::tempPath() + "/m8-XXXXXX"), user(QDir::tempPath() + "/m8-XXXXXX");
    const QString data = user.path() + "/home/firstname.lastname/.local/share/Morventa8";
    WriteFile(prog.path() + "/install_manifest.txt", "/usr/local/lib/morventa8/morventa8\n");
    Boxes boxes;
    auto w = Start(prog.path(), boxes, 15, [&](MainWindowOptions& o) { o.userDataFolder = data; });
    QCOMPARE(boxes.messages.size(), 1);
    const QString text = boxes.messages[0].section('|', 1);
    QVERIFY2(text.contains(data + "/variants/uservariants"), qPrintable(text));
    const QRect screen(0, 0, 800, 600);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Morventa8"), QString(), QMessageBox::Ok);
    FitMessageText(box, text, screen);
    QCOMPARE(box.text(), text);
    QVERIFY(box.detailedText().isEmpty());
    box.show();
    QVERIFY2(box.height() <= screen.height() && box.width() <= screen.width(),
             qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
  }
};

QTEST_MAIN(MessageBoxTest)
#include "messagebox_test.moc"
