// Start-up to a drawn board, program end, and the memory the window holds.
// Runs offscreen in a temporary program folder; the first start includes the
// creation of the application object. Goals: start-up and end each under
// 0.5 s, resident memory under 150 MB.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/mainwindow/boardview.h"
#include "app/mainwindow/mainwindow.h"

namespace {

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

void CopyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (f.isDir())
      CopyFolder(f.filePath(), to + "/" + f.fileName());
    else
      QFile::copy(f.filePath(), to + "/" + f.fileName());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QTemporaryDir dir;
  CopyFolder(QStringLiteral(M8_BIN_DIR "/variants"), dir.path() + "/variants");
  CopyFolder(QStringLiteral(M8_BIN_DIR "/skins"), dir.path() + "/skins");
  CopyFolder(QStringLiteral(M8_BIN_DIR "/sounds"), dir.path() + "/sounds");

  constexpr int kRuns = 7;
  std::vector<double> starts, ends;
  double rss = 0;
  bool first = true;
  for (int run = 0; run < kRuns; ++run) {
    if (!first) clock.restart();
    m8::MainWindowOptions o;
    o.programFolder = dir.path();
    o.availableGeometry = QRect(0, 0, 1920, 1200);  // room for the default board, whatever the screen
    auto* w = new m8::MainWindow(o);
    w->state().Opt.ConfirmExit = 0;
    w->show();
    QCoreApplication::processEvents();
    w->board()->grab();  // the board has been painted
    starts.push_back(clock.elapsed() / 1000.0);
    rss = std::max(rss, ResidentMegabytes());

    clock.restart();
    w->onExitRequested();  // writes the settings and rating files and closes
    delete w;
    QCoreApplication::processEvents();
    ends.push_back(clock.elapsed() / 1000.0);
    first = false;
  }
  const double coldStart = starts.front();
  std::sort(starts.begin() + 1, starts.end());
  std::sort(ends.begin(), ends.end());
  const double warmStart = starts[starts.size() / 2 + 1];
  const double end = ends[ends.size() / 2], worstEnd = ends.back();
  std::printf("start-up to a drawn board: first %.3f s (with the application), then median %.3f s\n", coldStart,
              warmStart);
  std::printf("program end (settings and rating written): median %.3f s, worst %.3f s\n", end, worstEnd);
  std::printf("resident memory: %.1f MB\n", rss);
  const bool ok = coldStart < 0.5 && worstEnd < 0.5 && rss < 150;
  std::printf("%s\n", ok ? "goals met" : "GOALS MISSED (0.5 s, 0.5 s, 150 MB)");
  return ok ? 0 : 1;
}
