#include <QApplication>

#include "app/mainwindow/mainwindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morventa8");
  m8::MainWindow w;
  w.show();
  return app.exec();
}
