// The program's main window.
#pragma once

#include <QMainWindow>
#include <memory>

#include "core/state.h"

namespace m8 {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  GameState& state() { return *state_; }

 private:
  std::unique_ptr<GameState> state_;
};

}  // namespace m8
