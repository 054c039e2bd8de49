// The row of buttons that closes a dialog (OK, Cancel, Apply and the like),
// made the same way in every dialog.
#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <array>
#include <cstddef>

namespace m8 {

struct DialogButton {
  const char* name;          // the object name
  const char* text;          // the caption, as the dialog shows it
  bool isDefault = false;    // the button Enter presses anywhere in the dialog
  bool autoDefault = true;   // Enter presses it while it has the focus
};

// Makes one button of the row, a child of `dialog`.
QPushButton* MakeDialogButton(QWidget* dialog, const DialogButton& b);

// Makes the buttons and adds them to the end of `row`, in the order given;
// what comes before them in the row (a stretch, a progress bar, a link) is the
// caller's. Returns the buttons in the same order.
template <std::size_t N>
std::array<QPushButton*, N> AddDialogButtons(QHBoxLayout* row, QWidget* dialog, const DialogButton (&buttons)[N]) {
  std::array<QPushButton*, N> made{};
  for (std::size_t i = 0; i < N; ++i) {
    made[i] = MakeDialogButton(dialog, buttons[i]);
    row->addWidget(made[i]);
  }
  return made;
}

}  // namespace m8
