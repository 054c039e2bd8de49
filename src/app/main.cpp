#include <QApplication>

#include "app/mainwindow/mainwindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morventa8");
  m8::MainWindow w;
  // A start-up that met a fatal error has said so and saved nothing.
  if (w.startupFailed()) return 1;
  w.show();
  return app.exec();
}
