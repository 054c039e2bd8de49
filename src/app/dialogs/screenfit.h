// Dialogs and windows of the program on any screen: each opens whole on the
// free area of its screen, centred over the main window, and one larger than
// the screen scrolls its controls while its buttons stay in reach.
#pragma once

#include <QRect>
#include <QScrollArea>

namespace m8 {

// A scroll area that asks for the whole size of what it holds, so that a
// dialog that fits on the screen opens without scroll bars.
class ScrollingBody : public QScrollArea {
  Q_OBJECT
 public:
  // Takes `body` as the scrolled widget, always at the size it asks for.
  explicit ScrollingBody(QWidget* body, QWidget* parent = nullptr);
  QSize sizeHint() const override;
};

// The free area (without task bars) of the screen `w` opens on: the one the
// main window it belongs to was given, else that of its screen.
QRect FreeScreenArea(const QWidget* w);

// `r` moved as little as needed to lie on `area` (its top left corner on it
// when it is larger).
QRect MovedOnto(QRect r, const QRect& area);

// Gives the bodies of `dialog` their full size and the dialog the size it
// asks for (or was given), at most the free area of its screen, frame
// included, and centres it over the window it belongs to (over the free area
// when that window is not shown), all of it on the free area.
void FitOnScreen(QWidget* dialog);

// Runs FitOnScreen every time `dialog` is shown. Every dialog and secondary
// window calls it once, when it is made.
void KeepOnScreen(QWidget* dialog);

}  // namespace m8
