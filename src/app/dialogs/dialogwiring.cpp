#include "app/dialogs/dialogwiring.h"

#include "app/dialogs/dlgdetails.h"
#include "app/dialogs/frmabout.h"
#include "app/dialogs/frmoptions.h"
#include "app/dialogs/frmproblem.h"
#include "app/dialogs/frmpv.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/objectnames.h"
#include "core/game/plyvaluecommand.h"
#include "core/game/problemcommand.h"

namespace m8 {

DialogWindows::DialogWindows(MainWindow& w) : QObject(&w), w_(w) { setObjectName(objectnames::kDialogWindows); }

FrmPV* DialogWindows::plyValueWindow() {
  if (!pv_) pv_ = new FrmPV(w_.state(), &w_);
  return pv_;
}

FrmProblem* DialogWindows::problemWindow() {
  if (!problem_) problem_ = new FrmProblem(w_.state(), &w_);
  return problem_;
}

void DialogWindows::refresh(View v) {
  switch (v) {
    case View::PlyValueTable: plyValueWindow()->refreshTable(); break;
    case View::PlyValueOutput: plyValueWindow()->refreshOutput(); break;
    case View::ProblemText: problemWindow()->refreshText(); break;
    default: break;
  }
}

DialogWindows* FindDialogWindows(MainWindow& w) {
  return w.findChild<DialogWindows*>("dialogWindows", Qt::FindDirectChildrenOnly);
}

void RefreshDialogs(MainWindow& w, View v) {
  if (DialogWindows* d = FindDialogWindows(w)) d->refresh(v);
}

void ConnectDialogs(MainWindow& w) {
  auto* windows = new DialogWindows(w);
  CommandSurface* c = w.commands();
  GameState& g = w.state();
  // The commands do nothing while the engine or the loader is at work.
  c->setHandler(objectnames::kOptionsEntry, "Options", [&w, &g] {
    if (g.Flow.Busy == 0) ShowOptions(w);
  });
  c->setHandler(objectnames::kPlyValueEntry, "", [windows, &g] {
    if (g.Flow.Busy != 0) return;
    windows->plyValueWindow();
    BuildPlyValueTable(g);
  });
  c->setHandler(objectnames::kDetailsEntry, "", [&w, &g] { ShowDetailsDialog(g, &w); });
  c->setHandler(objectnames::kAboutEntry, "", [&w] { ShowAbout(&w); });
  // The search shows the window at once, and its result there; closing the
  // window stops it as Cancel does.
  c->setHandler(objectnames::kProblemsEntry, "", [windows, &g] {
    if (g.Flow.Busy != 0) return;
    QPointer<FrmProblem> window = windows->problemWindow();
    window->setRunning(true);
    window->showWindow();
    SearchProblemsCommand(g);
    if (window) window->setRunning(false);
  });
}

}  // namespace m8
