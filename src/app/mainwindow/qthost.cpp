#include "app/mainwindow/qthost.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>
#include <algorithm>

#include "app/mainwindow/mainwindow.h"
#include "core/fileio.h"

namespace m8 {

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QMessageBox::Icon BoxIcon(Icon i) {
  switch (i) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Critical: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}
}  // namespace

QtHost::QtHost(MainWindow& window) : window_(window) {}
QtHost::~QtHost() = default;

void QtHost::pump() {
  if (!throttle_.due()) return;
  QCoreApplication::processEvents();
}

void QtHost::message(Icon icon, std::string_view title, std::string_view text) {
  if (hooks_.message) {
    hooks_.message(icon, Q(title), Q(text));
    return;
  }
  QMessageBox box(BoxIcon(icon), Q(title), Q(text), QMessageBox::Ok, window_.isVisible() ? &window_ : nullptr);
  box.exec();
}

bool QtHost::askYesNo(std::string_view title, std::string_view text) {
  if (hooks_.askYesNo) return hooks_.askYesNo(Q(title), Q(text));
  QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                  window_.isVisible() ? &window_ : nullptr);
  return box.exec() == QMessageBox::Yes;
}

int QtHost::choose(std::string_view title, const std::vector<std::string>& choices) {
  QMenu menu(window_.isVisible() ? &window_ : nullptr);
  menu.addSection(Q(title));
  for (size_t i = 0; i < choices.size(); ++i) menu.addAction(Q(choices[i]))->setData(static_cast<int>(i));
  const QAction* picked = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&picked](QAction* a) { picked = a; });
  const QAction* returned = menu.exec(QCursor::pos());
  if (!picked) picked = returned;
  return picked && picked->data().isValid() ? picked->data().toInt() : -1;
}

void QtHost::status(int panel, std::string_view text) { window_.setStatusText(panel, Q(text)); }

void QtHost::progress(int value, int maximum) { window_.setProgress(value, maximum); }

void QtHost::setCommandEnabled(Command c, bool enabled) { window_.setCommandEnabled(c, enabled); }

void QtHost::setCommandChecked(Command c, bool checked) { window_.setCommandChecked(c, checked); }

void QtHost::playSound(Sound s) {
  const int key = static_cast<int>(s);
  auto it = sounds_.find(key);
  if (it == sounds_.end()) {
    const char* name = s == Sound::Click ? "sounds/click.wav" : "sounds/roll.wav";
    const QString path =
        QString::fromStdString(ResolvePath(window_.state().ProgramFolder, name));
    std::unique_ptr<QSoundEffect> effect;
    if (QFileInfo::exists(path)) {
      effect = std::make_unique<QSoundEffect>();
      effect->setSource(QUrl::fromLocalFile(path));
    }
    it = sounds_.emplace(key, std::move(effect)).first;
  }
  if (it->second) it->second->play();
}

double QtHost::monotonicSeconds() { return (clock_ ? clock_() : Host::monotonicSeconds()) - held_; }

bool QtHost::askWithClockHeld(const std::function<bool()>& ask) {
  const double before = monotonicSeconds();
  const bool answer = ask();
  held_ += std::max(0.0, monotonicSeconds() - before);
  return answer;
}

void QtHost::refresh(View v) { window_.refreshView(v); }

void QtHost::fatal(std::string_view text) {
  message(Icon::Exclamation, "Error", text);
  window_.endAfterFatalError();
}

}  // namespace m8
