// The played-move list refilled and fitted at every ply, as it is while a
// long game loads (400 plies). Goal: the whole game under 0.2 s.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <cstdio>

#include "app/mainwindow/movelistfit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QListWidget list;
  list.resize(180, 300);
  list.show();
  constexpr int kPlies = 400;
  QElapsedTimer clock;
  clock.start();
  for (int ply = 1; ply <= kPlies; ++ply) {
    list.clear();
    for (int i = 0; i < (ply + 1) / 2; ++i) {
      const int a = 1 + (i * 7) % 32, b = 1 + (i * 11) % 32, c = 1 + (i * 5) % 32;
      list.addItem(QString("%1. %2-%3  %4x%5").arg(i + 1, 3).arg(a).arg(b).arg(c).arg(1 + (c + 9) % 32));
    }
    m8::FitMoveList(&list, m8::MoveListKind::Played);
  }
  const double seconds = clock.elapsed() / 1000.0;
  const bool met = seconds < 0.2;
  std::printf("move list fitted at each of %d plies: %.3f s (goal under 0.2 s %s)\n", kPlies, seconds,
              met ? "met" : "NOT met");
  return met ? 0 : 1;
}
