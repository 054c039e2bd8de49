// The secondary windows reached from the main window's menus and toolbar:
// options, ply value table, game details, About and the problem window, and
// the refreshes the core asks of the ply value table and problem windows.
#pragma once

#include <QObject>
#include <QPointer>

#include "core/host.h"

namespace m8 {

class FrmPV;
class FrmProblem;
class MainWindow;

// The non-modal windows, created on first use and kept with the main window.
class DialogWindows : public QObject {
  Q_OBJECT
 public:
  explicit DialogWindows(MainWindow& w);
  FrmPV* plyValueWindow();
  FrmProblem* problemWindow();
  void refresh(View v);

 private:
  MainWindow& w_;
  QPointer<FrmPV> pv_;
  QPointer<FrmProblem> problem_;
};

// Connects the commands of the dialogs (called once from the window's set-up).
void ConnectDialogs(MainWindow& w);
// Forwards the PlyValueTable, PlyValueOutput and ProblemText refreshes.
void RefreshDialogs(MainWindow& w, View v);
DialogWindows* FindDialogWindows(MainWindow& w);

}  // namespace m8
