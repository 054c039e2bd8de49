#include <QtTest>

#include "app/mainwindow/mainwindow.h"

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void caption() {
    m8::MainWindow w;
    QCOMPARE(w.windowTitle(), QStringLiteral(" Morventa8 1.58"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
