#include "app/mainwindow/mainwindow.h"

#include <QCoreApplication>

namespace m8 {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), state_(std::make_unique<GameState>()) {
  state_->ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
  setWindowTitle(QStringLiteral(" Morventa8 1.58"));
  resize(640, 480);
}

MainWindow::~MainWindow() = default;

}  // namespace m8
