// Link labels of the small windows: drawn blue, underlined while the pointer
// moves over them, and opened through the desktop's handler. Every window
// says itself which label a pointer movement over a widget underlines.
#pragma once

#include <QLabel>
#include <QObject>
#include <QUrl>
#include <functional>
#include <map>

namespace m8 {

// Opens a link; the windows use the desktop's handler unless a test gives
// another. The result is not looked at.
using LinkOpener = std::function<void(const QUrl&)>;
LinkOpener DesktopLinkOpener();

// Blue link text (0xC00000 in the program's colour order) or black.
void SetLinkLook(QLabel* label, bool isLink);
void SetUnderline(QLabel* label, bool on);

// Runs a handler on every pointer movement over a widget (mouse tracking is
// switched on) and on a left click. A clickable widget is also reached with
// the Tab key and runs its handler on Enter or Space.
class MouseHooks : public QObject {
 public:
  explicit MouseHooks(QObject* parent) : QObject(parent) {}
  void onMove(QWidget* w, std::function<void()> handler);
  void onClick(QWidget* w, std::function<void()> handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::map<QObject*, std::function<void()>> moves_;
  std::map<QObject*, std::function<void()>> clicks_;
};

}  // namespace m8
