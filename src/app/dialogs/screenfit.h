// Dialogs larger than the screen: their controls scroll inside the dialog
// while the buttons stay in reach, and the dialog opens on the free area of
// its screen.
#pragma once

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

// Gives the bodies of `dialog` their full size and the dialog the size it
// asks for, at most the free area of its screen (frame included), and
// centres it there with its top left corner on it.
void FitOnScreen(QWidget* dialog);

}  // namespace m8
