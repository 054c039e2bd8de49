#include <QApplication>

#include "app/mainwindow/mainwindow.h"
#include "app/sessionend.h"

int main(int argc, char** argv) {
  // Before anything else: a SIGTERM during start-up waits for the event loop.
  m8::InstallEndSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morventa8");
  m8::MainWindow w;
  // A start-up that met a fatal error has said so and saved nothing.
  if (w.startupFailed()) return 1;
  m8::SessionEnd sessionEnd([&w] { w.endSession(); });
  w.show();
  return app.exec();
}
