// What the window tests share: a window started in a temporary program
// folder with its message boxes answered here, and small file helpers.
#pragma once

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>

#include "app/mainwindow/boardview.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/mainwindow.h"
#include "app/wait_fixture.h"
#include "core/files/settings.h"

using namespace m8;

namespace window_test {

struct Boxes {
  int questions = 0;
  bool answer = true;
  QStringList messages;  // "title|text"
};

// `adjust`, when given, changes the options before the window starts.
inline std::unique_ptr<MainWindow> Start(const QString& folder, Boxes& boxes, int tpp = 15,
                                         const std::function<void(MainWindowOptions&)>& adjust = {}) {
  MainWindowOptions o;
  o.programFolder = folder;
  o.twipsPerPixel = tpp;
  // A desktop screen with room for every board size (the offscreen screen
  // is 800 x 600); the small-screen tests choose their own.
  o.availableGeometry = QRect(0, 0, 1920, 1200);
  o.boxes.askYesNo = [&boxes](const QString& title, const QString& text) {
    ++boxes.questions;
    if (title != "Confirmation" || text != "Are you sure you want to exit?") qWarning() << "unexpected question" << text;
    return boxes.answer;
  };
  o.boxes.message = [&boxes](Icon, const QString& title, const QString& text) {
    boxes.messages << title + "|" + text;
  };
  if (adjust) adjust(o);
  return std::make_unique<MainWindow>(o);
}

// A window whose file dialogs answer with `chosen`; every question is
// answered with `boxes.answer`.
inline std::unique_ptr<MainWindow> StartWithFiles(const QString& folder, Boxes& boxes, QString* chosen) {
  return Start(folder, boxes, 15, [&boxes, chosen](MainWindowOptions& o) {
    o.boxes.askYesNo = [&boxes](const QString&, const QString&) {
      ++boxes.questions;
      return boxes.answer;
    };
    o.fileDialog = [chosen](const QString&, const QString&, bool) { return *chosen; };
  });
}

inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A settings file with every default but the values changed by `edit`.
template <typename F>
void WriteSettings(const QString& folder, F edit) {
  GameState g;
  SetDefaultSettings(g);
  edit(g);
  const std::string text = SettingsText(g);
  WriteFile(folder + "/tavrin.ini", QByteArray::fromStdString(text));
}

inline QString DefaultSettingsText() {
  GameState g;
  SetDefaultSettings(g);
  return QString::fromStdString(SettingsText(g));
}

// Copies the files of a shipped data folder (M8_DATA_DIR/relative) into the
// same place below `folder`.
inline void CopyShipped(const QString& relative, const QString& folder) {
  const QString from = QStringLiteral(M8_DATA_DIR "/") + relative;
  QVERIFY(QDir().mkpath(folder + "/" + relative));
  for (const QString& file : QDir(from).entryList(QDir::Files))
    QVERIFY(QFile::copy(from + "/" + file, folder + "/" + relative + "/" + file));
}

inline int Px(int twips, int tpp) { return static_cast<int>(std::lround(static_cast<double>(twips) / tpp)); }

}  // namespace window_test

using namespace window_test;

