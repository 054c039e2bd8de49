#include <QApplication>

#include "app/mainwindow/mainwindow.h"
#include "app/sessionend.h"
#include "core/fileio.h"

int main(int argc, char** argv) {
  // A save past the file-size limit fails with a message; the game stays.
  m8::IgnoreFileSizeSignal();
  // Before anything else: a SIGTERM during start-up waits until the window
  // hears it, which it does from its first start-up step on.
  m8::InstallEndSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morventa8");
  m8::MainWindowOptions options;
  options.handleSessionEnd = true;
  m8::MainWindow w(options);
  // A start-up that met a fatal error has said so and saved nothing.
  if (w.startupFailed()) return 1;
  // Told to stop while starting: the exit steps have run.
  if (w.programEnded()) return w.exitCode();
  w.show();
  return app.exec();
}
