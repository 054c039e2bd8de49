#include "app/dialogs/dialogbuttons.h"

namespace m8 {

QPushButton* MakeDialogButton(QWidget* dialog, const DialogButton& b) {
  auto* button = new QPushButton(QString::fromUtf8(b.text), dialog);
  button->setObjectName(QString::fromLatin1(b.name));
  if (!b.autoDefault) button->setAutoDefault(false);
  if (b.isDefault) button->setDefault(true);
  return button;
}

}  // namespace m8
